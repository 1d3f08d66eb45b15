// UNLHA32.DLL: extracts LZH members with our own decoder for the command
// lines the program issues ("e" and "x" with a destination folder).
#include <windows.h>

#include <cstring>
#include <string>

#include "catalogue/ArchiveKind.h"
#include "catalogue/ArchiverCommand.h"
#include "catalogue/ArchiversOwn.h"
#include "core/Text.h"

// Copies the messages into the caller's buffer of size bytes, cut on a
// character boundary and terminated.
static void CopyOutput(const std::string& text, LPSTR output, DWORD size) {
    if (output && size > 0) {
        CopyBounded(output, text.c_str(), size - 1);
    }
}

extern "C" {

WORD WINAPI UnlhaGetVersion() {
    return WORD(kOwnUnlhaVersion);
}

// We show no busy cursor, so every mode is accepted.
BOOL WINAPI UnlhaSetCursorMode(BOOL) {
    return TRUE;
}

int WINAPI Unlha(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
    if (!commandLine) {
        return kArchiverErrorCommand;
    }
    SetArchiveAvailable(kArchiveLzh, true);
    std::string messages;
    const int result = RunOwnArchiver(kArchiveLzh, commandLine, &messages);
    CopyOutput(messages, output, size);
    return result;
}

}  // extern "C"
