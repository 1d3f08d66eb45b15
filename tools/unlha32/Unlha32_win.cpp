// UNLHA32.DLL: extracts LZH members with our own decoder for the command
// lines the program issues ("e" and "x" with a destination folder).
#include <windows.h>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiversOwn.h"

extern "C" {

WORD WINAPI UnlhaGetVersion() {
    return WORD(kOwnUnlhaVersion);
}

// We show no busy cursor, so every mode is accepted.
BOOL WINAPI UnlhaSetCursorMode(BOOL) {
    return TRUE;
}

int WINAPI Unlha(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
    SetArchiveAvailable(kArchiveLzh, true);
    return RunOwnArchiverEntry(kArchiveLzh, commandLine, output, size);
}

}  // extern "C"
