// Outside Windows there is one tree of folders: "/" is the only drive, and
// it is always ready.
#include "catalogue/Drives.h"

int32_t ReadDrives(BagBox* driveList) {
    driveList->Clear();
    driveList->Add({"/"});
    return driveList->Count();
}

std::string DriveDisplayName(const char* root) {
    return root;
}

bool CheckDriveReady(const char*, bool, void*) {
    return true;
}
