// Windows Media titles on Windows: through the runtime where it can open the
// file, through our own ASF parser where it cannot (Wine's runtime is a stub).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "analysis/SongReaders.h"
#include "analysis/WindowsMediaReader_win.h"

namespace {

std::string TitleOf(const std::string& path, std::string* comment) {
    char title[kTitleBufferBytes] = {};
    char commentBuffer[kCommentBufferBytes] = {};
    std::strncpy(title, path.c_str(), sizeof title - 1);
    ReadSongInfo(nullptr, title, commentBuffer, -1, "[なし]", true);
    *comment = commentBuffer;
    return title;
}

TEST(WindowsMediaReader, TitlesShowWhetherOrNotTheRuntimeOpensTheFile) {
    char found[MAX_PATH];
    const bool runtime = SearchPathA(nullptr, "wmvcore.dll", nullptr, MAX_PATH, found, nullptr) != 0;
    SetWindowsMediaAvailable(runtime);
    if (!runtime) {
        GTEST_SKIP() << "no Windows Media runtime on this system";
    }
    EXPECT_TRUE(InstallWindowsMediaRuntime());

    std::string comment;
    EXPECT_EQ("Don't Bring Me Down / Electric Light Orchestra", TitleOf(CorpusPath("audio/wma/asf.wma"), &comment));
    EXPECT_EQ("Right on Time / Red Hot Chili Peppers", TitleOf(CorpusPath("audio/wma/issue_57.wma"), &comment));
    // Empty Title, Author and Description: no title at all.
    EXPECT_EQ("[なし]", TitleOf(CorpusPath("audio/wma/elephant.asf"), &comment));
    EXPECT_EQ("", comment);
    SetPlatformAsfReader(nullptr);
}

TEST(WindowsMediaReader, RuntimeThatCannotOpenAFileLeavesItToTheParser) {
    if (!InstallWindowsMediaRuntime()) {
        GTEST_SKIP() << "wmvcore.dll cannot be loaded";
    }
    char title[kTitleBufferBytes] = {};
    EXPECT_EQ(kReadUnsupported,
              ReadWindowsMediaThroughRuntime("Z:\\no such folder\\x.wma", nullptr, title, nullptr));
    SetPlatformAsfReader(nullptr);
}

}  // namespace
