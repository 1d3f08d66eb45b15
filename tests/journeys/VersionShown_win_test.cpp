// The one version of the program where a user meets it: the version dialog
// and the version resource Explorer's properties show for each exe and DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "QuilloryVersion.h"
#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

using VersionJourney = Journey;

TEST_F(VersionJourney, VersionDialogShowsTheVersion) {
    ASSERT_TRUE(Start(""));
    Menu(kCmdVersion);
    const ShownBox box = WaitForBox();
    ASSERT_TRUE(box.window);
    EXPECT_NE(std::string::npos, box.text.find(std::string("Quillory バージョン ") + kProgramVersion)) << box.text;
    EXPECT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(Close());
}

// "1.2.3" as the fixed part of a version resource holds it.
void VersionNumbers(const char* text, DWORD* high, DWORD* low) {
    unsigned major = 0, minor = 0, patch = 0;
    sscanf(text, "%u.%u.%u", &major, &minor, &patch);
    *high = MAKELONG(minor, major);
    *low = MAKELONG(0, patch);
}

TEST_F(VersionJourney, EveryShippedFileCarriesTheVersionForExplorer) {
    DWORD high = 0;
    DWORD low = 0;
    VersionNumbers(kProgramVersion, &high, &low);
    for (const char* file :
         {"bin\\Quillory.exe", "bin\\UNLHA32.DLL", "bin\\UNZIP32.DLL", "tools\\cli\\quillory-cli.exe"}) {
        SCOPED_TRACE(file);
        const std::string path = BuildPath() + file;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_NE(0u, size) << "no version resource";
        std::string block(size, '\0');
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedBytes = 0;
        ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &fixedBytes));
        EXPECT_EQ(high, fixed->dwFileVersionMS);
        EXPECT_EQ(low, fixed->dwFileVersionLS);
        EXPECT_EQ(high, fixed->dwProductVersionMS);
        for (const char* name : {"FileVersion", "ProductVersion"}) {
            char* text = nullptr;
            UINT textBytes = 0;
            const std::string key = std::string("\\StringFileInfo\\041104b0\\") + name;
            ASSERT_TRUE(VerQueryValueA(&block[0], key.c_str(), reinterpret_cast<void**>(&text), &textBytes)) << name;
            EXPECT_STREQ(kProgramVersion, text) << name;
        }
    }
}

}  // namespace
