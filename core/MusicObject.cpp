// The song-list row: its tables, its time text and its name column.
#include "core/MusicObject.h"

#include <cstdio>
#include <cstring>

#include "core/Text.h"

BagBox MakeObjectList() {
    return BagBox(nullptr, true, true, ObjectListColumn::kStrings, ObjectListColumn::kIntegers, kListInitialRows,
                  kListRowStep, kListInitialTextBytes, kListTextStep);
}

BagBox MakeScanList() {
    return BagBox(nullptr, false, false, ScanListColumn::kStrings, ScanListColumn::kIntegers, kListInitialRows,
                  kListRowStep, kListInitialTextBytes, kListTextStep);
}

// Writes value as exactly width decimal digits.
static void PutDigits(char* out, int value, int width) {
    for (int i = width - 1; i >= 0; i--) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
}

std::string FormatTimeText(const LocalTimeFields& time) {
    // Every file of a folder scan comes through here: a time within the
    // usual ranges is written digit by digit, anything else by snprintf.
    const bool usual = time.year >= 0 && time.year <= 9999 && time.month >= 0 && time.month <= 99 && time.day >= 0 &&
                       time.day <= 99 && time.hour >= 0 && time.hour <= 99 && time.minute >= 0 &&
                       time.minute <= 99 && time.second >= 0 && time.second <= 99;
    if (usual) {
        char text[] = "0000/00/00 00:00:00";
        PutDigits(text, time.year, 4);
        PutDigits(text + 5, time.month, 2);
        PutDigits(text + 8, time.day, 2);
        PutDigits(text + 11, time.hour, 2);
        PutDigits(text + 14, time.minute, 2);
        PutDigits(text + 17, time.second, 2);
        return std::string(text, sizeof text - 1);
    }
    // Room for six fields of any int value, so the text is never cut.
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return buffer;
}

std::string DateColumnText(const char* timeText) {
    // The date column skips the century: "2024/05/06 07:08:09" shows
    // "24/05/06 07:08".
    constexpr size_t kSkipped = 2;
    constexpr size_t kShown = 14;
    if (std::strlen(timeText) < kSkipped) {
        return std::string();
    }
    char buffer[kShown + 1];
    CopyBounded(buffer, timeText + kSkipped, kShown);
    return buffer;
}

std::string MakeDisplayName(const char* path, bool showExtension) {
    std::string name;
    SplitPath(path, nullptr, &name, true);
    if (!showExtension) {
        SplitExtension(name.c_str(), &name, nullptr);
    }
    return name;
}

std::string FullObjectPath(const char* location, const char* path) {
    // Inside an archive every row is a member name, whatever it holds.
    const bool inArchive = FindEitherChar(location, '>', '\0') >= 0;
    if (!inArchive && FindDriveColon(path) >= 0) {
        return path;
    }
    return std::string(location) + path;
}
