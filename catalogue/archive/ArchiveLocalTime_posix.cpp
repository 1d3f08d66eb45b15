// The process's time zone outside Windows, for LZH level-2 times and the
// times archive listings report.
#include <ctime>

#include "catalogue/archive/LzhHeader.h"

int64_t LocalSecondsOfUtc(int64_t utcSeconds) {
    time_t t = time_t(utcSeconds);
    struct tm local;
    if (!localtime_r(&t, &local)) {
        return utcSeconds;
    }
    return utcSeconds + local.tm_gmtoff;
}

int64_t UtcSecondsOfLocal(int64_t localSeconds) {
    // The offset in force at about that time; exact except within the hour
    // a clock change repeats or skips.
    return localSeconds - (LocalSecondsOfUtc(localSeconds) - localSeconds);
}
