// Local time of a file time outside Windows, through the C library's zone.
#include <ctime>

#include "core/FileTime.h"

LocalTimeFields LocalTimeOfFileTime(uint64_t fileTime) {
    const uint64_t kEpochDifference = 11644473600ULL;  // seconds from 1601 to 1970
    const uint64_t seconds = fileTime / 10000000ULL;
    const time_t unixTime = seconds >= kEpochDifference ? time_t(seconds - kEpochDifference) : 0;
    struct tm fields = {};
    localtime_r(&unixTime, &fields);
    return LocalTimeFields{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                           fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}
