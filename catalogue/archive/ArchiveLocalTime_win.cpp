// The process's time zone on Windows, converted the way the system's file
// time functions do (the bias in force now).
#include <windows.h>

#include "catalogue/archive/LzhHeader.h"

static constexpr int64_t kUnixEpochFileTime = 116444736000000000LL;  // 100 ns units from 1601 to 1970

static FILETIME FileTimeOfSeconds(int64_t seconds) {
    uint64_t value = uint64_t(seconds * 10000000LL + kUnixEpochFileTime);
    FILETIME ft;
    ft.dwLowDateTime = DWORD(value);
    ft.dwHighDateTime = DWORD(value >> 32);
    return ft;
}

static int64_t SecondsOfFileTime(const FILETIME& ft) {
    uint64_t value = (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (int64_t(value) - kUnixEpochFileTime) / 10000000LL;
}

int64_t LocalSecondsOfUtc(int64_t utcSeconds) {
    FILETIME utc = FileTimeOfSeconds(utcSeconds);
    FILETIME local;
    if (!FileTimeToLocalFileTime(&utc, &local)) {
        return utcSeconds;
    }
    return SecondsOfFileTime(local);
}

int64_t UtcSecondsOfLocal(int64_t localSeconds) {
    FILETIME local = FileTimeOfSeconds(localSeconds);
    FILETIME utc;
    if (!LocalFileTimeToFileTime(&local, &utc)) {
        return localSeconds;
    }
    return SecondsOfFileTime(utc);
}
