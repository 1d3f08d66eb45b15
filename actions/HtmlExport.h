// The song list written as an HTML 4.0 page: a summary of the location, the
// counts, the sort and the time of writing, then one table row per selected
// song whose name links to the song file. Shift_JIS text, CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actions/SongRows.h"
#include "core/MusicObject.h"

// Everything the summary table shows besides the rows.
struct HtmlListSummary {
    std::string location;      // folder ending in '\\', or list file path (a trailing '>' is dropped)
    int32_t totalObjects = 0;  // rows the list holds
    int32_t sortKind = -1;     // kSortNone ... kSortByDate
    bool sortDescending = false;
    LocalTimeFields time = {};  // local time of writing
    bool widenKana = true;      // the "ChangeHtmlKana" setting
};

// Day of the week of a date, 0 for Sunday to 6 for Saturday.
int WeekdayOf(int year, int month, int day);

// "2001年 5月 3日 木曜日 9:05:07": year, month, day and hour without leading
// zeros, minute and second with two digits.
std::string HtmlTimeText(const LocalTimeFields& time);

// "MIMPI", "Sherry" and "Neo" for the WRD companion bits 1, 2 and 4, joined
// by "・"; empty when none is set.
std::string WrdKindsText(int32_t companionFlags);

// The file a row links to: the song's full path, or for an archive member
// ("archive>member") the archive's path.
std::string LinkedFilePath(const std::string& fullPath);

// The whole page for the given rows (list order positions) of rows.
std::string HtmlListText(SongRows& rows, const std::vector<int32_t>& selected, const HtmlListSummary& summary);

// Writes the page to path, replacing any file there only once it is written
// completely. Returns 0, or the error number.
uint32_t WriteHtmlList(const char* path,
                       SongRows& rows,
                       const std::vector<int32_t>& selected,
                       const HtmlListSummary& summary);

// The local time now.
LocalTimeFields CurrentLocalTime();
