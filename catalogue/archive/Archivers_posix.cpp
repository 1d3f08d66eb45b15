// No archiver libraries outside Windows: LZH and ZIP are read by our own code.
#include "catalogue/archive/Archivers.h"

void LoadArchivers() {
}

void FreeArchivers() {
}

void SetArchiverFolder(const std::string&) {
}

int ArchiverVersion(int) {
    return 0;
}
