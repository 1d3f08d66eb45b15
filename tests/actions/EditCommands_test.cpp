// Which file an Edit command opens for a song and with what, and the page
// the shell's properties window opens on.
#include "actions/EditCommands.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestPaths.h"
#include "actions/FileOps.h"
#include "analysis/FileTypes.h"
#include "analysis/MpegReader.h"

namespace {

std::string CatalogueForm(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

class EditTargetTest : public ::testing::Test {
   protected:
    void Put(const char* name) {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), "x")) << name;
    }
    std::string Song(const char* name) const {
        return CatalogueForm(folder_.File(name));
    }
    std::string NameOf(const std::string& path) const {
        return path.substr(path.find_last_of('\\') + 1);
    }
    ScratchFolder folder_;
};

TEST_F(EditTargetTest, ScriptsAreFoundInTheirOrderWithTheirClass) {
    Put("a.mid");
    Put("a.nbf");
    Put("a.sry");
    EditTarget target;
    ASSERT_TRUE(FindEditTarget(EditWhat::kWrdScript, Song("a.mid"), "", &target));
    EXPECT_EQ("a.sry", NameOf(target.path));
    EXPECT_EQ(EditorClass::kSherryWrd, target.kind);

    Put("a.WRD");
    ASSERT_TRUE(FindEditTarget(EditWhat::kWrdScript, Song("a.mid"), "", &target));
    EXPECT_EQ("a.WRD", NameOf(target.path));
    EXPECT_EQ(EditorClass::kWrd, target.kind);

    Put("b.mid");
    Put("b.nbf");
    ASSERT_TRUE(FindEditTarget(EditWhat::kWrdScript, Song("b.mid"), "", &target));
    EXPECT_EQ(EditorClass::kNeoWrd, target.kind);

    Put("c.mid");
    Put("c.txt");
    EXPECT_FALSE(FindEditTarget(EditWhat::kWrdScript, Song("c.mid"), "", &target));
}

TEST_F(EditTargetTest, DocumentsIncludeTheUsersOwnExtension) {
    Put("song.mid");
    Put("song.me");
    EditTarget target;
    EXPECT_FALSE(FindEditTarget(EditWhat::kDocument, Song("song.mid"), "", &target));
    ASSERT_TRUE(FindEditTarget(EditWhat::kDocument, Song("song.mid"), "me", &target));
    EXPECT_EQ("song.me", NameOf(target.path));
    EXPECT_EQ(EditorClass::kText, target.kind);

    Put("SONG.TXT");
    ASSERT_TRUE(FindEditTarget(EditWhat::kDocument, Song("song.mid"), "", &target));
    EXPECT_EQ("SONG.TXT", NameOf(target.path));

    ASSERT_TRUE(FindEditTarget(EditWhat::kSong, Song("song.mid"), "", &target));
    EXPECT_EQ(Song("song.mid"), target.path);
    EXPECT_EQ(EditorClass::kMidi, target.kind);
    EXPECT_FALSE(FindEditTarget(EditWhat::kSong, "", "", &target));
}

TEST(EditorChoice, EachClassTakesItsOwnSettings) {
    EditorSettings editor;
    editor.wrdChain = false;
    editor.sherryWrdFilename = "C:\\Tools\\sherry.exe";
    editor.neoWrdAction = "edit";
    EditorLaunch midi = ChooseEditor(editor, EditorClass::kMidi);
    EXPECT_TRUE(midi.viaShell);
    EXPECT_EQ("edit", midi.verb);
    EditorLaunch wrd = ChooseEditor(editor, EditorClass::kWrd);
    EXPECT_FALSE(wrd.viaShell);
    EXPECT_EQ("notepad.exe", wrd.program);
    EXPECT_EQ("C:\\Tools\\sherry.exe", ChooseEditor(editor, EditorClass::kSherryWrd).program);
    EXPECT_EQ("edit", ChooseEditor(editor, EditorClass::kNeoWrd).verb);
    EXPECT_EQ("open", ChooseEditor(editor, EditorClass::kText).verb);

    EXPECT_EQ("\"C:\\Program Files\\ed.exe\" \"D:\\曲\\a b.mid\"",
              EditorCommandLine("C:\\Program Files\\ed.exe", "D:\\曲\\a b.mid"));
    EXPECT_EQ("\"ed.exe\" -x \"a.txt\"", EditorCommandLine("\"ed.exe\" -x", "a.txt"));
}

TEST(ShellPropertyPages, AudioKindsChooseTagPagesOnlyWhenAsked) {
    uint32_t error = 0;
    SongOpenRequest request;
    request.flags = 0;
    std::unique_ptr<SongFile> v2 = OpenSongFile(CorpusPath("audio/mp3/id3v2.3.mp3").c_str(), request, &error);
    ASSERT_TRUE(v2) << error;
    const int kind = DetectMp3TagKind(*v2);
    EXPECT_EQ("ID3v2", ShellPropertyPage(1, kKindMpeg, kind, "概要"));
    EXPECT_EQ("ID3v1(*)", ShellPropertyPage(1, kKindRiffMpeg, kMp3TagNone, "概要"));
    EXPECT_EQ("mp3infp", ShellPropertyPage(1, kKindOgg, kMp3TagNone, "概要"));
    EXPECT_EQ("mp3infp", ShellPropertyPage(1, kKindWave, kMp3TagNone, "概要"));
    EXPECT_EQ("概要", ShellPropertyPage(1, kKindMidi, kMp3TagNone, "概要"));
    EXPECT_EQ("セキュリティ", ShellPropertyPage(0, kKindMpeg, kind, "セキュリティ"));
    EXPECT_EQ("", ShellPropertyPage(2, kKindOgg, kMp3TagNone, ""));
}

TEST(TreeItemPaths, FoldersListsAndDrivesGiveTheirFileSystemPath) {
    EXPECT_EQ("C:\\曲集", TreeItemFilePath("C:\\曲集\\"));
    EXPECT_EQ("C:\\", TreeItemFilePath("C:\\"));
    EXPECT_EQ("C:\\l\\お気に入り.lst", TreeItemFilePath("C:\\l\\お気に入り.lst>"));
    // A trail byte 0x5C ends "表" and is not a separator.
    EXPECT_EQ("C:\\表", TreeItemFilePath("C:\\表"));
    EXPECT_EQ("好き.lst", ListFileNameOf("好き"));
    EXPECT_EQ("好き.LST", ListFileNameOf("好き.LST"));
    EXPECT_EQ("a.lst.txt.lst", ListFileNameOf("a.lst.txt"));
}

}  // namespace
