// Local time of a file time on Windows. Archive members carry a file time
// made from their stored local time, so converting back gives that time.
#include <windows.h>

#include "core/FileTime.h"

LocalTimeFields LocalTimeOfFileTime(uint64_t fileTime) {
    FILETIME utc;
    utc.dwLowDateTime = DWORD(fileTime);
    utc.dwHighDateTime = DWORD(fileTime >> 32);
    FILETIME local;
    SYSTEMTIME fields = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &fields)) {
        return LocalTimeFields{1601, 1, 1, 0, 0, 0};
    }
    return LocalTimeFields{fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute, fields.wSecond};
}
