// The HTML export: the whole page for a fixed list and clock against a
// checked-in file, byte for byte, and the pieces that vary (sort rows, time
// text, WRD kinds, links of archive members, escaping).
#include "actions/HtmlExport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "SearchRowsFake.h"
#include "TestPaths.h"
#include "catalogue/FolderScan.h"
#include "catalogue/RelatedFiles.h"
#include "tools/cli/CliCommands.h"

namespace {

FakeSong Song(const char* path, std::array<std::string, kSongColumns> columns, int32_t companions) {
    FakeSong song;
    song.path = path;
    song.columns = columns;
    song.companions = companions;
    return song;
}

// Rows whose texts need escaping, widening, a 0x5C trail byte, an archive
// member and every WRD combination; row 2 is left unselected.
std::vector<FakeSong> ExportSongs() {
    return {
        Song("Tom & Jerry.mid", {"Tom & Jerry", "<Cat> \"and\" Mouse", "[なし]", "GS", "01/05/03 09:05"}, 0),
        Song("表\\ソナタ.rcp", {"ソナタ", "ｿﾅﾀ ﾃﾞｽ", "ｺﾒﾝﾄ", "SC-55", "99/12/31 23:59"}, kRelatedWrd),
        Song("skipped.mid", {"skipped", "not selected", "", "GM", "00/01/01 00:00"}, 0),
        Song("pack.lzh>dir\\song.mid", {"song", "in an archive", "[なし]", "MT-32", "02/02/02 02:02"},
             kRelatedWrd | kRelatedSry | kRelatedNbf),
        Song("wave.wav", {"wave", "[なし]", "[なし]", "", "03/03/03 03:03"}, kRelatedSry),
    };
}

HtmlListSummary ExportSummary() {
    HtmlListSummary summary;
    summary.location = "C:\\Music\\ｿﾝｸﾞ & 表\\";
    summary.totalObjects = 5;
    summary.sortKind = kSortByTitle;
    summary.sortDescending = true;
    summary.time = {2001, 5, 3, 9, 5, 7};
    return summary;
}

TEST(HtmlExport, FixedListMatchesTheGoldenFile) {
    FakeSongList list(ExportSongs());
    const std::string expected = ReadWholeFile(TestDataPath("html/export.html"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, HtmlListText(list, {0, 1, 3, 4}, ExportSummary()));

    ScratchFolder folder;
    const std::string path = folder.File("list.html");
    ASSERT_TRUE(WriteWholeFile(path, "an older, longer file that is replaced completely"));
    EXPECT_EQ(0u, WriteHtmlList(path.c_str(), list, {0, 1, 3, 4}, ExportSummary()));
    EXPECT_EQ(expected, ReadWholeFile(path));
}

TEST(HtmlExport, SortRowsFollowTheSortKind) {
    FakeSongList list(ExportSongs());
    HtmlListSummary summary = ExportSummary();
    const struct {
        int32_t kind;
        bool descending;
        const char* name;
        const char* order;  // null: no order row
    } cases[] = {
        {kSortNone, false, "ソートしない", nullptr}, {kSortNone, true, "ソートしない", nullptr},
        {kSortByName, false, "ファイル名", "昇順"},  {kSortByComment, true, "コメント", "降順"},
        {kSortBySoundModule, false, "音源", "昇順"}, {kSortByDate, true, "更新日時", "降順"},
    };
    for (const auto& c : cases) {
        summary.sortKind = c.kind;
        summary.sortDescending = c.descending;
        const std::string page = HtmlListText(list, {}, summary);
        EXPECT_NE(std::string::npos, page.find(std::string("<TH>ソート種別 :\r\n\t\t\t<TD>") + c.name + "\r\n"))
            << c.kind;
        const size_t order = page.find("<TH>ソート順序 :\r\n\t\t\t<TD>");
        if (c.order) {
            EXPECT_NE(std::string::npos, page.find(std::string("<TH>ソート順序 :\r\n\t\t\t<TD>") + c.order + "\r\n"));
        } else {
            EXPECT_EQ(std::string::npos, order) << c.kind;
        }
        EXPECT_NE(std::string::npos, page.find("<TH>選択オブジェクト数 :\r\n\t\t\t<TD>0\r\n"));
    }
}

TEST(HtmlExport, TimeTextHasNoLeadingZerosButInMinutesAndSeconds) {
    const struct {
        LocalTimeFields time;
        const char* text;
    } cases[] = {
        {{2001, 5, 3, 9, 5, 7}, "2001年 5月 3日 木曜日 9:05:07"},
        {{2000, 2, 29, 0, 0, 0}, "2000年 2月 29日 火曜日 0:00:00"},
        {{1999, 12, 31, 23, 59, 59}, "1999年 12月 31日 金曜日 23:59:59"},
        {{2024, 1, 7, 12, 30, 1}, "2024年 1月 7日 日曜日 12:30:01"},
        {{2023, 3, 4, 1, 2, 3}, "2023年 3月 4日 土曜日 1:02:03"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, HtmlTimeText(c.time));
    }
}

TEST(HtmlExport, WrdKindsAndArchiveLinks) {
    EXPECT_EQ("", WrdKindsText(0));
    EXPECT_EQ("MIMPI", WrdKindsText(kRelatedWrd));
    EXPECT_EQ("Sherry・Neo", WrdKindsText(kRelatedSry | kRelatedNbf));
    EXPECT_EQ("MIMPI・Sherry・Neo", WrdKindsText(7));

    EXPECT_EQ("C:\\a\\pack.lzh", LinkedFilePath("C:\\a\\pack.lzh>dir\\song.mid"));
    EXPECT_EQ("C:\\表\\pack.zip", LinkedFilePath("C:\\表\\pack.zip>ソ.mid"));
    EXPECT_EQ("C:\\ソ\\song.mid", LinkedFilePath("C:\\ソ\\song.mid"));
}

TEST(HtmlExport, KanaWideningFollowsTheSettingButNeverTheLink) {
    FakeSongList list({Song("ｶﾅ.mid", {"ｶﾅ", "ｶﾞｲﾄﾞ", "", "", ""}, 0)});
    HtmlListSummary summary = ExportSummary();
    summary.widenKana = false;
    std::string page = HtmlListText(list, {0}, summary);
    EXPECT_NE(std::string::npos, page.find("<TD><A HREF=\"file:///C:/Music/ｶﾅ.mid\">ｶﾅ</A>\r\n\t\t\t<TD>ｶﾞｲﾄﾞ\r\n"));
    summary.widenKana = true;
    page = HtmlListText(list, {0}, summary);
    EXPECT_NE(std::string::npos, page.find("<TD><A HREF=\"file:///C:/Music/ｶﾅ.mid\">カナ</A>\r\n\t\t\t<TD>ガイド\r\n"));
}

TEST(HtmlExportCli, WritesEveryRowOfAFolderWithItsCompanions) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("b.mid"), ReadWholeFile(TestDataPath("midi/sjis-5c-title.mid"))));
    ASSERT_TRUE(WriteWholeFile(folder.File("a.mid"), ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))));
    ASSERT_TRUE(WriteWholeFile(folder.File("b.wrd"), ReadWholeFile(TestDataPath("related/song.wrd"))));
    const std::string out = folder.File("out.html");
    std::ostringstream output;
    std::ostringstream errors;
    ASSERT_EQ(kCliSuccess, RunCli({"export-html", folder.Path(), out, "--sort", "name", "--desc"}, output, errors))
        << errors.str();
    const std::string page = ReadWholeFile(out);
    EXPECT_EQ(0u, page.find("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n"));
    EXPECT_NE(std::string::npos, page.find("<TH>選択オブジェクト数 :\r\n\t\t\t<TD>2\r\n"));
    EXPECT_NE(std::string::npos, page.find("<TD>ファイル名\r\n"));
    EXPECT_NE(std::string::npos, page.find("<TD>降順\r\n"));
    const size_t first = page.find("a.mid\">a</A>");
    const size_t second = page.find("b.mid\">b</A>\r\n\t\t\t<TD>表示ソフト能力テスト\r\n");
    ASSERT_NE(std::string::npos, first);
    ASSERT_NE(std::string::npos, second);
    EXPECT_LT(second, first);
    EXPECT_NE(std::string::npos, page.find("\t\t\t<TD>MIMPI\r\n\t\t</TR>\r\n", second));
    EXPECT_EQ(std::string::npos, page.find("MIMPI", first));  // only b has a WRD file

    EXPECT_EQ(kCliBadUsage, RunCli({"export-html", folder.Path()}, output, errors));
    EXPECT_EQ(kCliFailed, RunCli({"export-html", folder.Path(), folder.File("missing/out.html")}, output, errors));
}

}  // namespace
