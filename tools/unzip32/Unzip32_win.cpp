// UNZIP32.DLL: extracts ZIP members with zlib's inflate, to disk for the
// program's command lines and into memory for UnZipExtractMem.
#include <windows.h>

#include <ctime>
#include <string>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/ArchiversOwn.h"
#include "catalogue/archive/LzhHeader.h"

extern "C" {

WORD WINAPI UnZipGetVersion() {
    return WORD(kOwnUnzipVersion);
}

// We show no busy cursor, so every mode is accepted.
BOOL WINAPI UnZipSetCursorMode(BOOL) {
    return TRUE;
}

int WINAPI UnZip(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
    SetArchiveAvailable(kArchiveZip, true);
    return RunOwnArchiverEntry(kArchiveZip, commandLine, output, size);
}

int WINAPI
UnZipExtractMem(HWND, LPCSTR commandLine, LPBYTE buffer, DWORD size, time_t* time, LPWORD attributes, LPDWORD written) {
    if (!commandLine || (!buffer && size > 0)) {
        return kArchiverErrorCommand;
    }
    SetArchiveAvailable(kArchiveZip, true);
    ArchiveEntry entry;
    uint32_t filled = 0;
    const int result = ReadOwnArchiverMember(kArchiveZip, commandLine, buffer, size, &filled, &entry);
    if (written) {
        *written = filled;
    }
    if (result == 0 && time) {
        int64_t local = 0;
        *time = LocalSecondsOfDos(entry.dosDate, entry.dosTime, &local) ? time_t(UtcSecondsOfLocal(local)) : 0;
    }
    if (result == 0 && attributes) {
        *attributes = entry.attributes;
    }
    return result;
}

}  // extern "C"
