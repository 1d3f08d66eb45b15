// Drive roots, their names in the tree and the readiness check on Windows.
#include <windows.h>
#include <shellapi.h>

#include "catalogue/Drives.h"
#include "core/Text.h"

// The buffer the drive roots are read into ("A:\\" NUL ... NUL NUL).
constexpr DWORD kDriveStringsBytes = 255;

int32_t ReadDrives(BagBox* driveList) {
    driveList->Clear();
    char roots[kDriveStringsBytes + 1] = {};
    const DWORD length = GetLogicalDriveStringsA(kDriveStringsBytes, roots);
    if (length == 0 || length > kDriveStringsBytes) {
        return 0;
    }
    for (const char* root = roots; *root; root += lstrlenA(root) + 1) {
        driveList->Add({UpperAscii(root).c_str()});
    }
    return driveList->Count();
}

std::string DriveDisplayName(const char* root) {
    if (GetDriveTypeA(root) == DRIVE_CDROM) {
        return CdRomDisplayName(root);
    }
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_DISPLAYNAME)) {
        return root;
    }
    return info.szDisplayName;
}

// A drive answers when the volume query leaves no error, or only "not found"
// (a drive without a file system label still answers).
static bool DriveAnswers(const char* root) {
    SetLastError(0);
    GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
    const DWORD error = GetLastError();
    return error == 0 || error == ERROR_FILE_NOT_FOUND;
}

bool CheckDriveReady(const char* root, bool silent, void* ownerWindow) {
    const std::string message = DriveNotReadyMessage(root);
    while (!DriveAnswers(root)) {
        if (silent) {
            return false;
        }
        const int answer =
            MessageBoxA(static_cast<HWND>(ownerWindow), message.c_str(), "Quillory", MB_RETRYCANCEL | MB_ICONSTOP);
        if (answer != IDRETRY) {
            return false;
        }
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
    return true;
}
