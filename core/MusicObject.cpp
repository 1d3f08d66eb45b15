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

std::string FormatTimeText(const LocalTimeFields& time) {
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
