// File times as the song list shows them: a file time in local time written
// as "YYYY/MM/DD hh:mm:ss". Each world converts to local time its own way.
#pragma once

#include <cstdint>
#include <string>

#include "core/MusicObject.h"

// Calendar fields of a file time (100 ns units since 1601 UTC) in local time.
LocalTimeFields LocalTimeOfFileTime(uint64_t fileTime);

// The timeText of a file time: FormatTimeText of its local time.
std::string TimeTextOfFileTime(uint64_t fileTime);
