// quillory-cli end to end through RunCli: listing a folder and a list file,
// the title cache it creates and keeps, and its errors.
#include "tools/cli/CliCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "QuilloryVersion.h"
#include "TestPaths.h"
#include "core/Cp932.h"
#include "core/SongFile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#endif

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class CliTest : public ::testing::Test {
   protected:
    void SetUp() override {
        Copy("midi/sjis-disp.rmi", "disp.rmi");
        Copy("midi/conductor-format1.mid", "song.mid");
        Copy("audio/sjis-5c-trail.mp3", "tag.mp3");
    }
    void Copy(const std::string& fixture, const std::string& name) {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), ReadWholeFile(TestDataPath(fixture)))) << fixture;
    }
    std::string Cache() const {
        return folder_.File("_Kadrel.cac");
    }
    ScratchFolder folder_;
};

TEST_F(CliTest, ListPrintsTheSongListAndRefreshesOnlyACacheThatIsThere) {
    const CliRun run = RunTool({"list", folder_.Path()});
    ASSERT_EQ(kCliSuccess, run.code) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(0u, lines[0].find("disp.rmi\tdisp\tソフト表示\t[なし]\t"));
    EXPECT_EQ(0u, lines[1].find("song.mid\tsong\tConductor Song\t[なし]\t"));
    EXPECT_EQ(0u, lines[2].find("tag.mp3\ttag\t表示ソフト / 能登\t予定表\tMPEG\t"));
    // Opening a folder makes no cache in the program's window either.
    EXPECT_TRUE(ReadWholeFile(Cache()).empty());
    ASSERT_EQ(kCliSuccess, RunTool({"cache", "new", folder_.Path()}).code);
    ASSERT_TRUE(WriteWholeFile(folder_.File("new.mid"), ReadWholeFile(folder_.File("song.mid"))));
    const CliRun refreshed = RunTool({"list", folder_.Path()});
    ASSERT_EQ(kCliSuccess, refreshed.code) << refreshed.err;
    ASSERT_EQ(4u, Lines(refreshed.out).size());
    const std::string cache = ReadWholeFile(Cache());
    ASSERT_GT(cache.size(), 32u);
    EXPECT_EQ(0, cache.compare(0, 24, std::string("Kadrel Title Cache 0004\0", 24)));
    EXPECT_NE(std::string::npos, cache.find("Conductor Song"));

    EXPECT_NE(std::string::npos, cache.find("new.mid"));

    // A warm run prints the same from the cache and leaves the file alone.
    const CliRun warm = RunTool({"list", folder_.Path()});
    EXPECT_EQ(refreshed.out, warm.out);
    EXPECT_EQ(cache, ReadWholeFile(Cache()));
}

TEST_F(CliTest, OptionsSelectPlayerSortAndEncoding) {
    const CliRun wrd =
        RunTool({"list", folder_.Path(), "--player", "2", "--sort", "name", "--desc", "--no-cache-update"});
    ASSERT_EQ(kCliSuccess, wrd.code) << wrd.err;
    const std::vector<std::string> lines = Lines(wrd.out);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(0u, lines[0].find("song.mid\t"));
    EXPECT_EQ(0u, lines[1].find("disp.rmi\t"));
    EXPECT_TRUE(ReadWholeFile(Cache()).empty()) << "no cache without the update";

    const CliRun utf8 = RunTool({"list", folder_.Path(), "--utf8", "--sort", "title"});
    ASSERT_EQ(kCliSuccess, utf8.code);
    EXPECT_NE(std::string::npos, utf8.out.find("\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88"));  // ソフト in UTF-8
}

TEST_F(CliTest, ListFileLocationListsItsEntries) {
    ASSERT_TRUE(WriteWholeFile(folder_.File("best.lst"), "[Kadrel File List]\r\nsong.mid\r\n;tag.mp3\r\n"));
    const CliRun run = RunTool({"list", folder_.File("best.lst")});
    ASSERT_EQ(kCliSuccess, run.code) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("song.mid\tsong\tConductor Song"));
    EXPECT_TRUE(ReadWholeFile(folder_.File("_best.cac")).empty());
    ASSERT_EQ(kCliSuccess, RunTool({"cache", "new", folder_.File("best.lst")}).code);
    EXPECT_FALSE(ReadWholeFile(folder_.File("_best.cac")).empty());
}

TEST_F(CliTest, CacheCommandsCreateUpdateAndDelete) {
    EXPECT_EQ(kCliSuccess, RunTool({"cache", "new", folder_.Path()}).code);
    const std::string made = ReadWholeFile(Cache());
    EXPECT_NE(std::string::npos, made.find("ソフト表示"));
    EXPECT_EQ(kCliSuccess, RunTool({"cache", "update", folder_.Path()}).code);
    EXPECT_EQ(made, ReadWholeFile(Cache()));
    EXPECT_EQ(kCliSuccess, RunTool({"cache", "delete", folder_.Path()}).code);
    EXPECT_TRUE(ReadWholeFile(Cache()).empty());
    EXPECT_EQ(kCliFailed, RunTool({"cache", "delete", folder_.Path()}).code);
}

TEST_F(CliTest, InfoShowsTheSongInformation) {
    const CliRun run = RunTool({"info", folder_.File("song.mid")});
    ASSERT_EQ(kCliSuccess, run.code) << run.err;
    for (const char* line : {"タイトル : Conductor Song\n", "形式 : 標準 MIDIファイル (Format1)\n", "テンポ : 150\n",
                             "拍子 : 6/8\n", "WRDファイル : なし\n"}) {
        EXPECT_NE(std::string::npos, run.out.find(line)) << line;
    }
    const CliRun mp3 = RunTool({"info", folder_.File("tag.mp3")});
    EXPECT_NE(std::string::npos, mp3.out.find("アーティスト : 能登\n"));
    EXPECT_NE(std::string::npos, mp3.out.find("トラック数 : -\n"));
}

TEST_F(CliTest, ErrorsGiveMessagesAndExitCodes) {
    const struct {
        std::vector<std::string> args;
        int code;
        const char* message;
    } cases[] = {
        {{}, kCliBadUsage, "usage"},
        {{"play"}, kCliBadUsage, "unknown command"},
        {{"list", "x", "--bogus"}, kCliBadUsage, "unknown option"},
        {{"list", "x", "--player", "42"}, kCliBadUsage, "unknown player"},
        {{"list", "x", "--sort", "size"}, kCliBadUsage, "unknown sort"},
        {{"list", "x", "--sort"}, kCliBadUsage, "missing value"},
        {{"cache", "purge", "x"}, kCliBadUsage, "unknown cache action"},
        {{"list", "/nonexistent/quillory"}, kCliFailed, "no such folder"},
        {{"list", "/nonexistent/x.lst"}, kCliFailed, "cannot read the list file"},
        {{"info", "/nonexistent/x.mid"}, kCliFailed, "no such file"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunTool(c.args);
        EXPECT_EQ(c.code, run.code) << c.message;
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
    ASSERT_TRUE(WriteWholeFile(folder_.File("bad.lst"), "[Not A List]\r\nsong.mid\r\n"));
    const CliRun notList = RunTool({"list", folder_.File("bad.lst")});
    EXPECT_EQ(kCliFailed, notList.code);
    EXPECT_NE(std::string::npos, notList.err.find("not a list file"));
}

#ifndef _WIN32
// True when a new file can be made in the folder: a read-only mode does not
// stop the superuser.
bool CanCreateFileIn(const std::string& folder) {
    const std::string probe = folder + "probe";
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
}

// list and export-html of a location whose stale cache the file system
// refuses to replace: every song is listed with its title ("name\ttitle"
// rows), the failure is a warning, and the old cache file keeps its bytes.
void ExpectListedDespiteUnwritableCache(const std::string& location,
                                        const std::string& cache,
                                        const std::vector<std::string>& rows,
                                        const std::string& htmlPath) {
    const std::string old = ReadWholeFile(cache);
    ASSERT_FALSE(old.empty());
    const CliRun run = RunTool({"list", location});
    EXPECT_EQ(kCliSuccess, run.code);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(rows.size(), lines.size()) << run.out;
    for (size_t i = 0; i < rows.size(); i++) {
        EXPECT_NE(std::string::npos, lines[i].find("\t" + rows[i] + "\t")) << lines[i];
    }
    EXPECT_NE(std::string::npos, run.err.find("タイトルキャッシュを書き込めません。")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("warning")) << run.err;
    EXPECT_EQ(old, ReadWholeFile(cache));

    const CliRun exported = RunTool({"export-html", location, htmlPath});
    EXPECT_EQ(kCliSuccess, exported.code);
    EXPECT_NE(std::string::npos, exported.err.find("warning")) << exported.err;
    const std::string html = ReadWholeFile(htmlPath);
    for (const std::string& row : rows) {
        const std::string title = row.substr(row.find('\t') + 1);
        EXPECT_NE(std::string::npos, html.find(title)) << title;
    }
    EXPECT_EQ(old, ReadWholeFile(cache));
}

TEST_F(CliTest, UnwritableCacheIsAWarningAndTheSongsAreStillListed) {
    ScratchFolder elsewhere;
    for (const char* name : {"a.mid", "b.mid"}) {
        Copy("midi/conductor-format1.mid", name);
    }

    // A folder made read-only after its cache was written, then given a new song.
    ASSERT_EQ(kCliSuccess, RunTool({"cache", "new", folder_.Path()}).code);
    Copy("midi/conductor-format1.mid", "c.mid");
    ASSERT_EQ(0, chmod(folder_.Path().c_str(), 0555));
    if (CanCreateFileIn(folder_.Path())) {
        std::printf("read-only folder case not run: the mode does not stop this user\n");
    } else {
        const std::vector<std::string> rows = {"a\tConductor Song", "b\tConductor Song",    "c\tConductor Song",
                                               "disp\tソフト表示",  "song\tConductor Song", "tag\t表示ソフト / 能登"};
        ExpectListedDespiteUnwritableCache(folder_.Path(), Cache(), rows, elsewhere.File("folder.html"));
    }
    ASSERT_EQ(0, chmod(folder_.Path().c_str(), 0755));

    // A list file whose cache name just fits a file name, so that the
    // writer's temporary name beside it, a few bytes longer, does not (this
    // stops every user). Its old cache is the one a short-named list made.
    const std::string stem(248, 'l');
    ASSERT_TRUE(WriteWholeFile(folder_.File("short.lst"), "[Kadrel File List]\r\na.mid\r\n"));
    ASSERT_EQ(kCliSuccess, RunTool({"cache", "new", folder_.File("short.lst")}).code);
    const std::string longCache = folder_.File("_" + stem + ".cac");
    ASSERT_TRUE(WriteWholeFile(longCache, ReadWholeFile(folder_.File("_short.cac"))));
    ASSERT_TRUE(WriteWholeFile(folder_.File(stem + ".lst"), "[Kadrel File List]\r\na.mid\r\nb.mid\r\n"));
    ExpectListedDespiteUnwritableCache(folder_.File(stem + ".lst"), longCache,
                                       {"a\tConductor Song", "b\tConductor Song"}, elsewhere.File("list.html"));
}

// Makes folders under base, one inside the other, so that the deepest one's
// path (with its separator) is exactly length bytes long; returns that path.
std::string MakeNestedFolder(const std::string& base, size_t length) {
    std::string path = base;
    while (path.size() + 1 < length) {
        // Each step is a name and '/', at most 100 bytes; none leaves a
        // single byte for the last one.
        size_t step = std::min<size_t>(length - path.size(), 100);
        if (length - path.size() - step == 1) {
            step--;
        }
        path += "n" + std::string(step - 2, 'a') + "/";
        EXPECT_EQ(0, mkdir(path.c_str(), 0755)) << path.size();
    }
    return path;
}

TEST_F(CliTest, PathsLongerThanTheProgramsPathsAreReportedNeverCut) {
    ScratchFolder elsewhere;
    ASSERT_TRUE(folder_.MakeFolder("deep"));
    const std::string deep = MakeNestedFolder(folder_.File("deep/"), kMaxPathBytes + 90);
    ASSERT_EQ(kMaxPathBytes + 90, deep.size());
    ASSERT_TRUE(WriteWholeFile(deep + "song.mid", ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))));
    ASSERT_TRUE(WriteWholeFile(deep + "x.lst", "[Kadrel File List]\r\nsong.mid\r\n"));
    const std::vector<std::string> commands[] = {
        {"list", deep},
        {"list", deep + "x.lst"},
        {"info", deep + "song.mid"},
        {"cache", "new", deep},
        {"export-html", deep, elsewhere.File("deep.html")},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const CliRun run = RunTool(args);
        EXPECT_EQ(kCliFailed, run.code);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(std::string::npos, run.err.find("ファイル名または拡張子が長すぎます。(206)")) << run.err;
    }
    EXPECT_TRUE(ReadWholeFile(elsewhere.File("deep.html")).empty());

    // A folder that fits, holding a song whose path does not: cut to the
    // limit, that path would name the song beside it.
    const std::string fits = MakeNestedFolder(folder_.Path(), kMaxPathBytes - 9);
    ASSERT_EQ(kMaxPathBytes - 9, fits.size());
    ASSERT_TRUE(WriteWholeFile(fits + "decoy.mid", ReadWholeFile(TestDataPath("midi/sjis-5c-title.mid"))));
    ASSERT_TRUE(WriteWholeFile(fits + "decoy.mid2.mid", ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))));
    const CliRun run = RunTool({"list", fits});
    EXPECT_EQ(kCliSuccess, run.code) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(2u, lines.size()) << run.out;
    EXPECT_NE(std::string::npos, lines[0].find("\tdecoy\t表示ソフト能力テスト\t")) << lines[0];
    EXPECT_NE(std::string::npos, lines[1].find("\tdecoy.mid2\t[ファイルを読めません]\t")) << lines[1];
    const CliRun info = RunTool({"info", fits + "decoy.mid2.mid"});
    EXPECT_EQ(kCliFailed, info.code);
    EXPECT_NE(std::string::npos, info.err.find("(206)")) << info.err;
}
#endif

TEST_F(CliTest, HelpAndVersionPrintToTheOutputAndSucceed) {
    const std::vector<std::string> asks[] = {
        {"--help"}, {"-h"}, {"list", folder_.Path(), "--help"}, {"cache", "-h"}, {"info", "--utf8", "-h"}};
    for (const std::vector<std::string>& args : asks) {
        SCOPED_TRACE(args[0]);
        const CliRun run = RunTool(args);
        EXPECT_EQ(kCliSuccess, run.code);
        EXPECT_EQ(0u, run.out.find("usage: quillory-cli list LOCATION")) << run.out;
        EXPECT_NE(std::string::npos, run.out.find("--sjis")) << run.out;
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
    const CliRun version = RunTool({"--version"});
    EXPECT_EQ(kCliSuccess, version.code);
    EXPECT_EQ("quillory-cli " + std::string(kProgramVersion) + "\n", version.out);
    EXPECT_TRUE(version.err.empty()) << version.err;
    // Neither lists the folder nor makes its cache.
    EXPECT_TRUE(ReadWholeFile(Cache()).empty());
}

TEST_F(CliTest, EncodingFollowsTheLocaleUnlessAnOptionChooses) {
    const struct {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        CliEncoding encoding;
    } locales[] = {
        {nullptr, nullptr, "ja_JP.UTF-8", CliEncoding::kUtf8},
        {nullptr, nullptr, "C.utf8", CliEncoding::kUtf8},
        {nullptr, "en_GB.UTF-8@euro", nullptr, CliEncoding::kUtf8},
        {"", "", "ja_JP.UTF-8", CliEncoding::kUtf8},  // empty ones count as unset
        {"C", nullptr, "ja_JP.UTF-8", CliEncoding::kShiftJis},
        {nullptr, "ja_JP.SJIS", "ja_JP.UTF-8", CliEncoding::kShiftJis},
        {nullptr, nullptr, "ja_JP.eucJP", CliEncoding::kShiftJis},
        {nullptr, nullptr, "POSIX", CliEncoding::kShiftJis},
        {nullptr, nullptr, nullptr, CliEncoding::kShiftJis},
    };
    for (const auto& locale : locales) {
        EXPECT_EQ(locale.encoding, EncodingOfLocale(locale.lcAll, locale.lcCtype, locale.lang))
            << (locale.lcAll ? locale.lcAll : "-") << " " << (locale.lcCtype ? locale.lcCtype : "-") << " "
            << (locale.lang ? locale.lang : "-");
    }

    const std::string utf8Soft = "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88";  // ソフト
    const std::string utf8Missing = "\xE3\x81\xAA\xE3\x81\x84";           // ない
    const CliRun list = RunTool({"list", folder_.Path()}, CliEncoding::kUtf8);
    ASSERT_EQ(kCliSuccess, list.code) << list.err;
    EXPECT_NE(std::string::npos, list.out.find(utf8Soft)) << list.out;
    EXPECT_EQ(std::string::npos, list.out.find("ソフト")) << list.out;
    const CliRun info = RunTool({"info", folder_.File("song.mid")}, CliEncoding::kUtf8);
    EXPECT_NE(std::string::npos, info.out.find("\xE3\x82\xBF\xE3\x82\xA4\xE3\x83\x88\xE3\x83\xAB : Conductor Song\n"))
        << info.out;  // タイトル
    // Messages follow too: the Japanese name of a missing folder comes back as typed.
    const CliRun missing = RunTool({"list", folder_.File("ない")}, CliEncoding::kUtf8);
    EXPECT_EQ(kCliFailed, missing.code);
    EXPECT_NE(std::string::npos, missing.err.find(utf8Missing + "\\: no such folder")) << missing.err;

    const CliRun sjis = RunTool({"list", folder_.Path(), "--sjis"}, CliEncoding::kUtf8);
    EXPECT_NE(std::string::npos, sjis.out.find("ソフト")) << sjis.out;
    EXPECT_EQ(std::string::npos, sjis.out.find(utf8Soft)) << sjis.out;
    const CliRun sjisMissing = RunTool({"list", folder_.File("ない"), "--sjis"}, CliEncoding::kUtf8);
    EXPECT_NE(std::string::npos, sjisMissing.err.find("ない\\: no such folder")) << sjisMissing.err;
    // The last choice wins.
    const CliRun last = RunTool({"list", folder_.Path(), "--sjis", "--utf8"});
    EXPECT_EQ(list.out, last.out);
}

TEST_F(CliTest, ProgressCountsEachEntryOnceAndUtf8RowsMatchTheShiftJisOnes) {
    // 5,000 more songs: one progress line at 5,000 entries, none at 10,000.
    for (int i = 0; i < 5000; i++) {
        ASSERT_TRUE(WriteWholeFile(folder_.File("曲" + std::to_string(i) + ".mid"), ""));
    }
    const CliRun sjis = RunTool({"list", folder_.Path(), "--no-cache-update"});
    ASSERT_EQ(kCliSuccess, sjis.code) << sjis.err;
    EXPECT_NE(std::string::npos, sjis.err.find("5000 entries scanned")) << sjis.err;
    EXPECT_EQ(std::string::npos, sjis.err.find("10000 entries scanned")) << sjis.err;
    // The UTF-8 rows are the same rows, whole lines, however they were cut on the way.
    const CliRun utf8 = RunTool({"list", folder_.Path(), "--no-cache-update"}, CliEncoding::kUtf8);
    ASSERT_EQ(kCliSuccess, utf8.code) << utf8.err;
    EXPECT_EQ(Cp932ToUtf8(sjis.out.c_str()), utf8.out);
    EXPECT_EQ(Lines(sjis.out).size(), Lines(utf8.out).size());
}

#ifndef _WIN32
// The program itself, started the way a shell starts it; its exit code and
// what it printed.
CliRun RunProgram(const std::string& environment, const std::string& arguments) {
    const std::string command = environment + " '" QUILLORY_CLI_PROGRAM "' " + arguments + " 2>/dev/null";
    CliRun run{-1, "", ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A name the code page cannot write comes out with "?" where the characters
// were; with no short name to reach it by, the song says plainly that it
// cannot be read, and never takes the title of a song the "?" would match.
TEST_F(CliTest, ANameOutsideTheCodePageReadsAsUnreadableNotAsAnotherSong) {
    const std::string song = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
    const std::string folder = SystemPath(folder_.Path());
    for (const char* name : {"/\xED\x95\x9C\xEA\xB5\xAD.mid", "/ab.mid"}) {  // 한국.mid, ab.mid
        FILE* file = std::fopen((folder + name).c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fwrite(song.data(), 1, song.size(), file);
        std::fclose(file);
    }
    const CliRun list = RunTool({"list", folder_.Path(), "--no-cache-update"});
    ASSERT_EQ(kCliSuccess, list.code) << list.err;
    bool unwritableSeen = false;
    for (const std::string& row : Lines(list.out)) {
        if (row.compare(0, 6, "??.mid") == 0) {
            unwritableSeen = true;
            EXPECT_NE(std::string::npos, row.find("\t[ファイルを読めません]\t")) << row;
        } else if (row.compare(0, 6, "ab.mid") == 0) {
            EXPECT_NE(std::string::npos, row.find("\tConductor Song\t")) << row;
        }
    }
    EXPECT_TRUE(unwritableSeen) << list.out;
}

TEST_F(CliTest, TheProgramWritesUtf8UnderAUtf8Locale) {
    const std::string folder = "'" + SystemPath(folder_.Path()) + "'";
    const CliRun utf8 = RunProgram("env -u LC_CTYPE -u LANG LC_ALL=C.UTF-8", "list " + folder);
    EXPECT_EQ(kCliSuccess, utf8.code);
    EXPECT_NE(std::string::npos, utf8.out.find("\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88")) << utf8.out;  // ソフト
    const CliRun sjis = RunProgram("env -u LC_CTYPE -u LANG LC_ALL=C", "list " + folder);
    EXPECT_EQ(kCliSuccess, sjis.code);
    EXPECT_NE(std::string::npos, sjis.out.find("ソフト")) << sjis.out;
    const CliRun help = RunProgram("env", "--help");
    EXPECT_EQ(kCliSuccess, help.code);
    EXPECT_EQ(0u, help.out.find("usage: quillory-cli")) << help.out;
}
#endif

}  // namespace
