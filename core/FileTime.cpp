// The time text of a file time, shared by both worlds.
#include "core/FileTime.h"

std::string TimeTextOfFileTime(uint64_t fileTime) {
    return FormatTimeText(LocalTimeOfFileTime(fileTime));
}
