// The drive texts shared by both worlds.
#include "catalogue/Drives.h"

BagBox MakeDriveList() {
    return BagBox(nullptr, true, false, 1, 0, 8, 4, 32, 16);
}

std::string CdRomDisplayName(const char* root) {
    std::string name = root;
    if (!name.empty()) {
        name.pop_back();
    }
    return "DVD/CD-ROM (" + name + ")";
}

std::string DriveNotReadyMessage(const char* root) {
    return std::string(root) + " にアクセスできません。\nデバイスの準備ができていません。";
}
