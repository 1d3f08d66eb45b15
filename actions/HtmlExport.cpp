// Writing the song list as an HTML page. Every text from the catalogue is
// escaped (and its half-width katakana widened when the setting asks); the
// link addresses are escaped but never widened, so they still name the file.
#include "actions/HtmlExport.h"

#include <cstdio>
#include <ctime>

#include "catalogue/FolderScan.h"
#include "catalogue/RelatedFiles.h"
#include "core/AtomicFile.h"
#include "core/Location.h"
#include "core/Text.h"

static const char* const kHeadLines[] = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">",
    "",
    "<HTML LANG=\"ja\">",
    "",
    "<HEAD>",
    "\t<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
    "\t<META HTTP-EQUIV=\"Content-Style-Type\" CONTENT=\"text/css\">",
    "\t<META NAME=\"generator\" CONTENT=\"Quillory\">",
    "\t<STYLE TYPE=\"text/css\">",
    "\t<!--",
    "\t\tBODY{COLOR:#000000;BACKGROUND-COLOR:#FFFFFF}",
    "\t\t.TABLEHEAD{BACKGROUND-COLOR:#EEFFEE;TEXT-ALIGN:CENTER}",
    "\t\tTD{TEXT-ALIGN:LEFT}",
    "\t\t.LEFT{TEXT-ALIGN:LEFT}",
    "\t-->",
    "\t</STYLE>",
    "\t<TITLE>MIDI/Audioオブジェクト一覧</TITLE>",
    "</HEAD>",
    "",
    "<BODY>",
    "\t<TABLE BORDER=\"0\">",
};

static const char* const kTableHeadLines[] = {
    "\t</TABLE>",
    "\t<HR>",
    "\t<TABLE BORDER=\"1\">",
    "\t\t<TR CLASS=\"TABLEHEAD\">",
    "\t\t\t<TH>ファイル名",
    "\t\t\t<TH>タイトル",
    "\t\t\t<TH>コメント",
    "\t\t\t<TH>音源",
    "\t\t\t<TH>更新日時",
    "\t\t\t<TH>WRD",
    "\t\t</TR>",
};

static const char* const kTailLines[] = {"\t</TABLE>", "</BODY>", "", "</HTML>"};

// Sort names by kSortNone ... kSortByDate.
static const char* const kSortNames[] = {"ソートしない", "ファイル名", "タイトル", "コメント", "音源", "更新日時"};

static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

static void AppendLine(std::string* out, const std::string& line) {
    *out += line;
    *out += "\r\n";
}

static void AppendSummaryRow(std::string* out, const char* label, const std::string& value) {
    AppendLine(out, "\t\t<TR CLASS=\"LEFT\">");
    AppendLine(out, std::string("\t\t\t<TH>") + label + " :");
    AppendLine(out, "\t\t\t<TD>" + value);
    AppendLine(out, "\t\t</TR>");
}

int WeekdayOf(int year, int month, int day) {
    static const int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) {
        return 0;
    }
    if (month < 3) {
        year--;
    }
    const int weekday = (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + day) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

std::string HtmlTimeText(const LocalTimeFields& time) {
    char text[96];
    std::snprintf(text, sizeof text, "%d年 %d月 %d日 %s曜日 %d:%02d:%02d", time.year, time.month, time.day,
                  kWeekdays[WeekdayOf(time.year, time.month, time.day)], time.hour, time.minute, time.second);
    return text;
}

std::string WrdKindsText(int32_t companionFlags) {
    static const struct {
        int32_t bit;
        const char* name;
    } kKinds[] = {{kRelatedWrd, "MIMPI"}, {kRelatedSry, "Sherry"}, {kRelatedNbf, "Neo"}};
    std::string text;
    for (const auto& kind : kKinds) {
        if (companionFlags & kind.bit) {
            if (!text.empty()) {
                text += "・";
            }
            text += kind.name;
        }
    }
    return text;
}

std::string LinkedFilePath(const std::string& fullPath) {
    return Location(fullPath).ArchivePath();
}

static void AppendSongRow(std::string* out, SongRows& rows, int32_t row, bool widenKana) {
    const auto cell = [&](int32_t column) { return HtmlEscape(rows.ColumnText(row, column).c_str(), widenKana); };
    const std::string address = HtmlEscape(FileUrl(LinkedFilePath(rows.FullPath(row)).c_str()).c_str(), false);
    AppendLine(out, "\t\t<TR>");
    AppendLine(out, "\t\t\t<TD><A HREF=\"" + address + "\">" + cell(kColumnName) + "</A>");
    for (int32_t column = kColumnTitle; column <= kColumnDate; column++) {
        AppendLine(out, "\t\t\t<TD>" + cell(column));
    }
    AppendLine(out, "\t\t\t<TD>" + WrdKindsText(rows.CompanionFlags(row)));
    AppendLine(out, "\t\t</TR>");
}

std::string HtmlListText(SongRows& rows, const std::vector<int32_t>& selected, const HtmlListSummary& summary) {
    std::string out;
    for (const char* line : kHeadLines) {
        AppendLine(&out, line);
    }
    const bool sorted = summary.sortKind >= kSortByName && summary.sortKind <= kSortByDate;
    AppendSummaryRow(&out, "フォルダ", HtmlEscape(Location(summary.location).WithoutMark().c_str(), summary.widenKana));
    AppendSummaryRow(&out, "選択オブジェクト数", std::to_string(selected.size()));
    AppendSummaryRow(&out, "総オブジェクト数", std::to_string(summary.totalObjects));
    AppendSummaryRow(&out, "ソート種別", kSortNames[sorted ? summary.sortKind + 1 : 0]);
    if (sorted) {
        AppendSummaryRow(&out, "ソート順序", summary.sortDescending ? "降順" : "昇順");
    }
    AppendSummaryRow(&out, "一覧作成日時", HtmlTimeText(summary.time));
    for (const char* line : kTableHeadLines) {
        AppendLine(&out, line);
    }
    const int32_t count = rows.RowCount();
    for (int32_t row : selected) {
        if (row >= 0 && row < count) {
            AppendSongRow(&out, rows, row, summary.widenKana);
        }
    }
    for (const char* line : kTailLines) {
        AppendLine(&out, line);
    }
    return out;
}

uint32_t WriteHtmlList(const char* path,
                       SongRows& rows,
                       const std::vector<int32_t>& selected,
                       const HtmlListSummary& summary) {
    const std::string text = HtmlListText(rows, selected, summary);
    return WriteFileAtomically(path, text.data(), text.size());
}

LocalTimeFields CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    LocalTimeFields fields = {};
    if (local) {
        fields = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                  local->tm_hour,        local->tm_min,     local->tm_sec};
    }
    return fields;
}
