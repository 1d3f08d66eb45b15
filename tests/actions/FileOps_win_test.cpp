// Copy, move, delete and the clipboard in real scratch folders under Wine;
// every message box and overwrite question is answered by the test's host.
#include "actions/FileOps_win.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "actions/Clipboard_win.h"
#include "actions/DragDrop_win.h"
#include "analysis/FileTypes.h"

namespace {

using Names = std::vector<std::string>;

struct Shown {
    std::string text;
    std::string caption;
    UINT type;
};

// Answers questions from queues and records what was shown.
class ScriptedHost : public FileOpsHost {
   public:
    ScriptedHost() : FileOpsHost(nullptr) {
    }
    int ShowMessage(const std::string& text, const std::string& caption, UINT type) override {
        shown.push_back({text, caption, type});
        if (answers.empty()) {
            return IDOK;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    OverwriteAnswer AskOverwrite(bool, const std::string& destination, int32_t* mode) override {
        asked.push_back(destination);
        EXPECT_EQ(presetSeen.empty() ? kOverwriteIfNewer : presetSeen.back(), *mode);
        presetSeen.push_back(overwriteMode);
        *mode = overwriteMode;
        return overwriteAnswer;
    }
    void OpenProgress(const char*) override {
    }
    void ShowProgress(const std::string& name, int32_t percent) override {
        progress.push_back(name + " " + std::to_string(percent));
    }
    bool ProgressCancelled() override {
        return false;
    }
    void CloseProgress() override {
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
    Names asked;
    Names progress;
    std::vector<int32_t> presetSeen;
    int32_t overwriteMode = kOverwriteIfNewer;
    OverwriteAnswer overwriteAnswer = OverwriteAnswer::kOk;
};

void SetWriteTime(const std::string& path, uint64_t time) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    FILETIME ft = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &ft));
    CloseHandle(file);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class FileOpsWinTest : public ::testing::Test {
   protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(source_.MakeFolder("src"));
        ASSERT_TRUE(target_.MakeFolder("dst"));
        for (const char* name : {"song.mid", "SONG.TXT", "pic1.mag", "表.mag"}) {
            Make(Src(name), "x");
        }
        Make(Src("song.wrd"), "@MAG(pic1.mag)\r\n@MAG(表.mag)\r\n");
    }
    void TearDown() override {
        OleUninitialize();
    }
    void Make(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(WriteWholeFile(path, bytes)) << path;
    }
    std::string Src(const std::string& name) const {
        return source_.File("src\\" + name);
    }
    std::string Dst(const std::string& name = "") const {
        return target_.File("dst\\" + name);
    }
    Names Collected(bool withoutRelated) const {
        Names files;
        EXPECT_TRUE(CollectFiles({{Src("song.mid"), kKindMidi}}, withoutRelated, &files, nullptr));
        return files;
    }
    ScratchFolder source_;
    ScratchFolder target_;
    ScriptedHost host_;
};

TEST_F(FileOpsWinTest, CopyTakesRelatedFilesUnlessWithoutRelatedAndMoveEmptiesTheSource) {
    struct Case {
        bool withoutRelated;
        bool move;
        Names arrived;
    } cases[] = {
        {true, false, {"song.mid"}},
        {false, false, {"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "表.mag"}},
        {false, true, {"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "表.mag"}},
    };
    for (const Case& c : cases) {
        for (const char* name : {"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "表.mag"}) {
            DeleteFileA(Dst(name).c_str());
        }
        const Names files = Collected(c.withoutRelated);
        ASSERT_TRUE(CopyOrMoveFiles(host_, files, Dst(), c.move));
        Names arrived;
        for (const char* name : {"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "表.mag"}) {
            if (Exists(Dst(name))) {
                arrived.push_back(name);
            }
            EXPECT_EQ(c.move, !Exists(Src(name))) << name;
        }
        EXPECT_EQ(c.arrived, arrived);
        EXPECT_TRUE(host_.shown.empty());
    }
    EXPECT_EQ("表.mag 100", host_.progress.back());
}

TEST_F(FileOpsWinTest, OverwriteModesDecideByTimeAndAllAsksOnce) {
    struct Case {
        int32_t mode;
        OverwriteAnswer answer;
        Names replaced;  // of old.mid (destination older) and new.mid (destination newer)
        size_t questions;
    } cases[] = {
        {kOverwriteIfNewer, OverwriteAnswer::kOk, {"old.mid"}, 2},
        {kOverwriteAlways, OverwriteAnswer::kOk, {"old.mid", "new.mid"}, 2},
        {kOverwriteNever, OverwriteAnswer::kOk, {}, 2},
        {kOverwriteIfNewer, OverwriteAnswer::kAll, {"old.mid"}, 1},
        {kOverwriteAlways, OverwriteAnswer::kAll, {"old.mid", "new.mid"}, 1},
    };
    const uint64_t day = 864000000000ull;
    const uint64_t base = 130000000000000000ull;
    for (const Case& c : cases) {
        Names files;
        for (const char* name : {"old.mid", "new.mid"}) {
            Make(Src(name), "source");
            SetWriteTime(Src(name), base);
            Make(Dst(name), "target");
            files.push_back(Src(name));
        }
        SetWriteTime(Dst("old.mid"), base - day);
        SetWriteTime(Dst("new.mid"), base);  // equally new is not replaced in mode 0
        ScriptedHost host;
        host.overwriteMode = c.mode;
        host.overwriteAnswer = c.answer;
        EXPECT_EQ(!c.replaced.empty(), CopyOrMoveFiles(host, files, Dst(), false));
        EXPECT_EQ(c.questions, host.asked.size()) << c.mode;
        for (const char* name : {"old.mid", "new.mid"}) {
            const bool replaced = std::find(c.replaced.begin(), c.replaced.end(), name) != c.replaced.end();
            EXPECT_EQ(replaced ? "source" : "target", ReadWholeFile(Dst(name))) << name << " mode " << c.mode;
        }
    }
    ScriptedHost cancelling;
    cancelling.overwriteAnswer = OverwriteAnswer::kCancel;
    EXPECT_FALSE(CopyOrMoveFiles(cancelling, {Src("old.mid"), Src("new.mid")}, Dst(), false));
    EXPECT_EQ(1u, cancelling.asked.size());
}

TEST_F(FileOpsWinTest, TheModeChosenLastPresetsTheNextTransfer) {
    Make(Src("a.mid"), "source");
    Make(Dst("a.mid"), "target");
    ScriptedHost host;
    host.overwriteMode = kOverwriteNever;
    EXPECT_FALSE(CopyOrMoveFiles(host, {Src("a.mid")}, Dst(), false));
    host.overwriteMode = kOverwriteAlways;  // the second question must come preset to "しない"
    EXPECT_TRUE(CopyOrMoveFiles(host, {Src("a.mid")}, Dst(), false));
    EXPECT_EQ((std::vector<int32_t>{kOverwriteNever, kOverwriteAlways}), host.presetSeen);
    EXPECT_EQ("source", ReadWholeFile(Dst("a.mid")));
}

TEST_F(FileOpsWinTest, SameFileDropReportsCode1235AndCancelStops) {
    Make(Src("a.mid"), "a");
    host_.answers = {IDOK, IDCANCEL};
    EXPECT_FALSE(CopyOrMoveFiles(host_, {Src("song.mid"), Src("a.mid"), Src("pic1.mag")}, source_.File("src"), false));
    ASSERT_EQ(2u, host_.shown.size());
    EXPECT_EQ("書き込みを中止しました。(1235)\n\nコピー先は同じファイルです。", host_.shown[0].text);
    EXPECT_EQ("Quillory", host_.shown[0].caption);
    EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONERROR), host_.shown[0].type);
    EXPECT_EQ(2u, host_.progress.size());  // the third file was never reached

    ScriptedHost mover;
    EXPECT_FALSE(CopyOrMoveFiles(mover, {Src("a.mid")}, source_.File("SRC\\"), true));
    ASSERT_EQ(1u, mover.shown.size());
    EXPECT_EQ("書き込みを中止しました。(1235)\n\n移動先は同じファイルです。", mover.shown[0].text);
    EXPECT_TRUE(Exists(Src("a.mid")));
}

TEST_F(FileOpsWinTest, MissingSourceIsReportedAndOkGoesOn) {
    EXPECT_TRUE(CopyOrMoveFiles(host_, {Src("gone.mid"), Src("song.mid")}, Dst(), false));
    ASSERT_EQ(1u, host_.shown.size());
    EXPECT_EQ("ファイルがありません。(2)", host_.shown[0].text);
    EXPECT_TRUE(Exists(Dst("song.mid")));
}

TEST_F(FileOpsWinTest, DeleteGoesToTheRecycleBinOrAway) {
    // Wine's recycle bin is the freedesktop trash of HOME; without its folders
    // Wine deletes outright.
    // Wine names the Unix home "\\??\\Z:\\...".
    const char* home = std::getenv("WINEHOMEDIR");
    ASSERT_TRUE(home && std::string(home).compare(0, 4, "\\??\\") == 0);
    std::string trash = std::string(home + 4);
    for (const char* part : {"\\.local", "\\share", "\\Trash"}) {
        trash += part;
        CreateDirectoryA(trash.c_str(), nullptr);
    }
    CreateDirectoryA((trash + "\\files").c_str(), nullptr);
    CreateDirectoryA((trash + "\\info").c_str(), nullptr);
    for (bool recycler : {true, false}) {
        const std::string name = recycler ? "recycled-表.mid" : "deleted.mid";
        Make(Src(name), "x");
        EXPECT_TRUE(DeleteFiles(host_, {{Src(name)}}, recycler));
        EXPECT_FALSE(Exists(Src(name)));
    }
    EXPECT_TRUE(Exists(trash + "\\files\\recycled-表.mid"));
    EXPECT_FALSE(Exists(trash + "\\files\\deleted.mid"));
    EXPECT_FALSE(DeleteFiles(host_, {{Src("gone.mid")}}, false));
    ASSERT_EQ(1u, host_.shown.size());
    EXPECT_EQ("ファイルがありません。(2)", host_.shown[0].text);
}

TEST_F(FileOpsWinTest, TreeItemsAreCreatedRenamedWithTheirCacheAndDeleted) {
    EXPECT_EQ(0u, CreateFolderIn(Dst(), "新しいフォルダ"));
    EXPECT_EQ(183u, CreateFolderIn(Dst(), "新しいフォルダ"));
    Make(Dst("新しいフォルダ\\inside.mid"), "x");

    // A folder that still holds files cannot be removed outright.
    EXPECT_FALSE(DeleteTreeItem(host_, Dst("新しいフォルダ\\"), false, false));
    ASSERT_EQ(2u, host_.shown.size());
    EXPECT_EQ("新しいフォルダ を削除します。", host_.shown[0].text);
    EXPECT_EQ("フォルダを削除 - Quillory", host_.shown[0].caption);
    EXPECT_EQ("ディレクトリが空ではありません。(145)", host_.shown[1].text);
    EXPECT_TRUE(DeleteTreeItem(host_, Dst("新しいフォルダ\\"), false, true));
    EXPECT_FALSE(Exists(Dst("新しいフォルダ")));

    Make(Dst("ソ.lst"), "[Kadrel File List]\r\n");
    Make(Dst("_ソ.cac"), "cache");
    EXPECT_EQ(0u, RenameItem(Dst("ソ.lst"), "表.lst", true));
    EXPECT_TRUE(Exists(Dst("表.lst")));
    EXPECT_EQ("cache", ReadWholeFile(Dst("_表.cac")));
    EXPECT_FALSE(Exists(Dst("_ソ.cac")));
    host_.answers = {IDCANCEL};
    EXPECT_FALSE(DeleteTreeItem(host_, Dst("表.lst"), true, false));
    EXPECT_TRUE(Exists(Dst("表.lst")));
    EXPECT_TRUE(DeleteTreeItem(host_, Dst("表.lst"), true, false));
    EXPECT_FALSE(Exists(Dst("表.lst")));
    EXPECT_FALSE(Exists(Dst("_表.cac")));
}

// A typed name names one item in the tree item's own folder: separators
// and "." or ".." would create or move it somewhere else. A '\\' inside a
// double-byte character ("ソ" is 83 5C) is no separator.
TEST_F(FileOpsWinTest, TypedNamesNeverLeaveTheirFolder) {
    ASSERT_EQ(0u, CreateFolderIn(Dst(), "inner"));
    for (const char* name : {"..\\escaped", "sub\\x", "../escaped", "..", ".", ""}) {
        EXPECT_EQ(kErrorInvalidName, CreateFolderIn(Dst("inner"), name)) << name;
    }
    EXPECT_FALSE(Exists(Dst("escaped")));
    Make(Dst("inner\\a.lst"), "[Kadrel File List]\r\n");
    EXPECT_EQ(kErrorInvalidName, RenameItem(Dst("inner\\a.lst"), "..\\a.lst", true));
    EXPECT_EQ(kErrorInvalidName, RenameItem(Dst("inner"), "..\\moved", false));
    EXPECT_TRUE(Exists(Dst("inner\\a.lst")));
    EXPECT_FALSE(Exists(Dst("a.lst")));
    EXPECT_FALSE(Exists(Dst("moved")));
    EXPECT_EQ(0u, CreateFolderIn(Dst("inner"), "ソ"));
    EXPECT_EQ(0u, RenameItem(Dst("inner\\a.lst"), "ソ.lst", true));
}

TEST_F(FileOpsWinTest, ClipboardCarriesBothFormatsAndPasteCopies) {
    const Names files = Collected(true);
    const Names strings = {Src("song.mid"), "D:\\set.lzh>x/ソ.mid"};
    ASSERT_TRUE(PutOnClipboard(files, strings));
    IDataObject* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(OleGetClipboard(&data)));
    Names backFiles;
    Names backStrings;
    EXPECT_TRUE(ReadDropFiles(data, &backFiles));
    EXPECT_TRUE(ReadPrivateStrings(data, &backStrings));
    data->Release();
    EXPECT_EQ(files, backFiles);
    EXPECT_EQ(strings, backStrings);

    ASSERT_TRUE(PasteFromClipboard(host_, Dst()));
    EXPECT_EQ("x", ReadWholeFile(Dst("song.mid")));
    EXPECT_TRUE(Exists(Src("song.mid")));
}

// Ejecting where the platform cannot: every step that fails is reported in
// a "取り出し - Quillory" box and nothing is claimed.
TEST_F(FileOpsWinTest, EjectReportsWhatTheSystemRefuses) {
    char unused = 0;
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y' && unused == 0; ++letter) {
        if (!(drives & (1u << (letter - 'A')))) {
            unused = letter;
        }
    }
    ASSERT_NE(0, unused);
    ScriptedHost missing;
    EXPECT_FALSE(EjectDisk(missing, std::string(1, unused) + ":"));
    ASSERT_EQ(1u, missing.shown.size());
    EXPECT_EQ(0u, missing.shown[0].text.find(std::string(1, unused) + ": にアクセスできません。("));
    EXPECT_EQ("取り出し - Quillory", missing.shown[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), missing.shown[0].type);

    // The system drive is no removable disk: whatever step refuses it says so.
    ScriptedHost fixed;
    fixed.answers = {IDCANCEL};
    EXPECT_FALSE(EjectDisk(fixed, "C:"));
    ASSERT_FALSE(fixed.shown.empty());
    for (const Shown& box : fixed.shown) {
        EXPECT_EQ("取り出し - Quillory", box.caption);
    }
}

TEST_F(FileOpsWinTest, DriveItemOffersOnlyThePrivateFormat) {
    IDataObject* data = CreateSongDataObject(TreeItemDropFiles("C:\\"), TreeItemPrivateStrings("C:\\", false));
    ASSERT_NE(nullptr, data);
    Names files;
    Names strings;
    EXPECT_FALSE(ReadDropFiles(data, &files));
    EXPECT_TRUE(ReadPrivateStrings(data, &strings));
    EXPECT_EQ((Names{"C:\\*.*"}), strings);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), TransferDroppedFiles(host_, Dst(), data, false, false, nullptr));
    data->Release();
}

TEST_F(FileOpsWinTest, TreeDropAsksFirstAndReportsTheEffect) {
    Make(Src("l.lst"), "[Kadrel File List]\r\n");
    IDataObject* data = CreateSongDataObject({Src("song.mid"), Src("l.lst")}, {});
    ASSERT_NE(nullptr, data);
    host_.answers = {IDCANCEL};
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), TransferDroppedFiles(host_, Dst(), data, true, true, nullptr));
    ASSERT_EQ(1u, host_.shown.size());
    EXPECT_EQ("選択されたオブジェクトを " + Dst() + " に移動します。", host_.shown[0].text);
    EXPECT_EQ("移動 - Quillory", host_.shown[0].caption);
    EXPECT_TRUE(Exists(Src("song.mid")));
    bool listFiles = false;
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), TransferDroppedFiles(host_, Dst(), data, true, true, &listFiles));
    EXPECT_TRUE(listFiles);
    EXPECT_FALSE(Exists(Src("song.mid")));
    EXPECT_TRUE(Exists(Dst("l.lst")));
    data->Release();
}

}  // namespace
