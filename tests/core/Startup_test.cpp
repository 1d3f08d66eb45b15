// Start-up and exit rules: greetings around the new year, the program's paths
// and the players' search path at their byte limits, desktop flags as the
// registry holds them, and the order of the exit refusals.
#include "core/Startup.h"

#include <gtest/gtest.h>

#include <string>

#include "core/CommandLine.h"

namespace {

TEST(Startup, GreetingFollowsTheDateAroundNewYear) {
    const struct {
        int month;
        int day;
        const char* title;
    } cases[] = {
        {12, 30, "Quillory"},
        {12, 31, "A HAPPY NEW YEAR ! - Quillory"},
        {1, 1, "あけましておめでとう ! - Quillory"},
        {1, 2, "あけましておめでとう ! - Quillory"},
        {1, 3, "あけましておめでとう ! - Quillory"},
        {1, 4, "Quillory"},
        {1, 31, "Quillory"},
        {2, 29, "Quillory"},
        {11, 30, "Quillory"},
        {12, 1, "Quillory"},
        {3, 1, "Quillory"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.title, GreetingTitle(c.month, c.day)) << c.month << "/" << c.day;
    }
}

// 600 bytes of "表" (95 5C): byte 511 of any even prefix is a lead byte.
std::string Kanji(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += "表";
    }
    return text;
}

TEST(Startup, ProgramFolderIsTheModulePathUpToItsLastSeparator) {
    const struct {
        std::string module;
        std::string folder;
    } cases[] = {
        {"C:\\Program Files\\Quillory\\Quillory.exe", "C:\\Program Files\\Quillory\\"},
        {"D:\\表\\ソ\\Quillory.exe", "D:\\表\\ソ\\"},
        {"D:\\能ソ.exe", "D:\\"},
        {"Quillory.exe", ""},
        {"C:\\" + std::string(600, 'a') + "\\x.exe", "C:\\" + std::string(508, 'a')},
        {"C:\\x" + Kanji(300) + "\\x.exe", "C:\\x" + Kanji(253)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.folder, ProgramFolderOf(c.module.c_str())) << c.module.size();
    }
}

TEST(Startup, WorkFileSitsInTheTemporaryFolder) {
    EXPECT_EQ("C:\\Temp\\Kadrel.$$$", WorkFilePathOf("C:\\Temp\\"));
    EXPECT_EQ("C:\\ユーザー\\ソ\\Kadrel.$$$", WorkFilePathOf("C:\\ユーザー\\ソ\\"));
    const std::string longFolder = "C:\\" + std::string(497, 't') + "\\";
    EXPECT_EQ(longFolder + "Kadrel.$$$", WorkFilePathOf(longFolder.c_str()));
    EXPECT_EQ(kStartupPathMax, WorkFilePathOf((longFolder + "x").c_str()).size());
}

TEST(Startup, SavedSearchPathKeepsTheWholeVariableLessOneSeparator) {
    // A system with many programs installed has a search path far longer
    // than a path buffer; every folder of it stays.
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += "C:\\Program Files\\Tool " + std::to_string(i) + "\\bin;";
    }
    ASSERT_GT(many.size(), 600u);
    const struct {
        std::string variable;
        std::string saved;
    } cases[] = {
        {"C:\\Windows;C:\\bin", "C:\\Windows;C:\\bin"},
        {"C:\\Windows;C:\\bin;", "C:\\Windows;C:\\bin"},
        {"C:\\Windows;;", "C:\\Windows;"},
        {";", ""},
        {"", ""},
        {"C:\\表;D:\\ソ;", "C:\\表;D:\\ソ"},
        {many, many.substr(0, many.size() - 1)},
        {"C:\\" + Kanji(3000), "C:\\" + Kanji(3000)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.saved, SavedSearchPath(c.variable.c_str())) << c.variable.size();
    }
}

TEST(Startup, ExtendedSearchPathTakesEachPlayerFolder) {
    const struct {
        const char* execPath;
        const char* path;
    } cases[] = {
        {"", "C:\\Windows;"},
        {"D:\\Players", "C:\\Windows;D:\\Players"},
        // The settings dialog adds each folder on a line of its own.
        {"D:\\Players\r\nE:\\表\\ソ", "C:\\Windows;D:\\Players;E:\\表\\ソ"},
        {"D:\\a\r\n\r\nE:\\b\r\n", "C:\\Windows;D:\\a;E:\\b"},
        {"\nD:\\a\nE:\\b\rF:\\c", "C:\\Windows;D:\\a;E:\\b;F:\\c"},
        // Folders typed on one line, as a search path is written.
        {"D:\\a;E:\\b\r\nF:\\c", "C:\\Windows;D:\\a;E:\\b;F:\\c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, ExtendedSearchPath("C:\\Windows", c.execPath)) << c.execPath;
    }
    EXPECT_EQ(";C:\\Players", ExtendedSearchPath("", "C:\\Players"));
}

TEST(Startup, ExtendedSearchPathEndsAfterTheLastWholeFolder) {
    const std::string saved(32000, 's');
    const std::string folder = "D:\\" + std::string(396, 'p');  // 400 bytes
    const struct {
        std::string execPath;
        std::string path;
    } cases[] = {
        {folder, saved + ";" + folder},
        // The second folder would end past the limit: it is left out whole.
        {folder + "\r\n" + folder, saved + ";" + folder},
        {folder + "\r\n" + folder + "\r\nE:\\x", saved + ";" + folder},
        {std::string(800, 'e'), saved},
        {"E:\\" + Kanji(400), saved},
    };
    for (const auto& c : cases) {
        const std::string path = ExtendedSearchPath(saved, c.execPath.c_str());
        EXPECT_EQ(c.path.size(), path.size());
        EXPECT_EQ(c.path, path);
        EXPECT_LE(path.size(), kSearchPathMax);
    }
    // A search path at the limit by itself is kept as it is.
    const std::string full(kSearchPathMax, 'f');
    EXPECT_EQ(full, ExtendedSearchPath(full, "D:\\Players"));
}

TEST(Startup, DesktopFlagsReadTheirNumbers) {
    const struct {
        const char* value;
        bool highColour;
        bool fullDrag;
    } cases[] = {
        {nullptr, false, false}, {"", false, false},  {"4", false, true},    {"5", true, true},
        {"16", true, true},      {" 32", true, true}, {"32bpp", true, true}, {"0", false, false},
        {"-8", false, true},     {"+8", true, true},  {"x8", false, false},  {"99999999999999", true, true},
    };
    for (const auto& c : cases) {
        const char* shown = c.value ? c.value : "(missing)";
        EXPECT_EQ(c.highColour, HighColourIconsOf(c.value)) << shown;
        EXPECT_EQ(c.fullDrag, FullWindowDragOf(c.value)) << shown;
    }
}

TEST(Startup, MinimizedWindowIsShownOnlyAfterTheStartAction) {
    EXPECT_EQ(FirstShow::kNormal, FirstShowFor(kWindowStateNormal));
    EXPECT_EQ(FirstShow::kAfterStartAction, FirstShowFor(kWindowStateMinimized));
    EXPECT_EQ(FirstShow::kMaximized, FirstShowFor(kWindowStateMaximized));
    EXPECT_EQ(FirstShow::kNormal, FirstShowFor(7));
    EXPECT_EQ(kStartPlayRandom, StartupPlayMode(kStartPlayRandom, false));
    EXPECT_EQ(kStartPlayNone, StartupPlayMode(kStartPlayRandom, true));
}

TEST(Startup, ExitRefusalsComeInOrder) {
    const struct {
        const char* name;
        ExitFlags before;
        bool editorsClose;
        ExitVerdict verdict;
        bool editorsAsked;
        bool exitingAfter;
    } cases[] = {
        {"plain close", {false, false, false, false}, true, ExitVerdict::kAllow, true, true},
        {"editor refuses", {false, false, false, false}, false, ExitVerdict::kRefusedByEditor, true, false},
        {"hand-over", {false, false, true, false}, true, ExitVerdict::kRefusedHandOver, true, false},
        {"editor before hand-over", {false, false, true, false}, false, ExitVerdict::kRefusedByEditor, true, false},
        {"busy skips editors", {true, false, false, false}, false, ExitVerdict::kAllow, false, false},
        {"busy hand-over", {true, false, true, false}, true, ExitVerdict::kRefusedHandOver, false, false},
        {"second request", {false, true, false, false}, false, ExitVerdict::kAllow, false, true},
        {"second request hand-over", {false, true, true, false}, true, ExitVerdict::kRefusedHandOver, false, false},
    };
    for (const auto& c : cases) {
        ExitFlags flags = c.before;
        bool asked = false;
        const ExitVerdict verdict = PrepareExit(&flags, [&] {
            asked = true;
            EXPECT_TRUE(flags.exiting) << c.name;
            return c.editorsClose;
        });
        EXPECT_EQ(c.verdict, verdict) << c.name;
        EXPECT_EQ(c.editorsAsked, asked) << c.name;
        EXPECT_EQ(c.exitingAfter, flags.exiting) << c.name;
        // Settings cleared by the delete command come back with a refusal.
        EXPECT_EQ(verdict != ExitVerdict::kAllow, flags.saveSettingsOnExit) << c.name;
    }
}

}  // namespace
