// Extraction of a song's related members.
#include "catalogue/archive/Archivers.h"

int ExtractRelatedMembers(const std::vector<std::string>& memberPaths,
                          const char* destinationFolder,
                          void* ownerWindow,
                          ExtractPurpose purpose) {
    int result = 0;
    for (const std::string& path : memberPaths) {
        const int one = ExtractMember(path.c_str(), destinationFolder, ownerWindow, purpose);
        if (result == 0) {
            result = one;
        }
    }
    return result;
}
