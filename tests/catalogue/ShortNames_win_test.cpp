// Songs whose names code page 932 cannot write (emoji, Korean, accented
// Latin, U+301C): the system's ANSI listing gives such a name with '?' in
// it, which opens nothing. The catalogue reaches them by the short (8.3)
// name the file system gives them, and shows the long name as the code page
// allows in the name column.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "tests/catalogue/CliRun.h"

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(size_t(MultiByteToWideChar(932, 0, text.c_str(), -1, &wide[0], int(wide.size()))) - 1);
    return wide;
}

std::string CodePage(const std::wstring& text) {
    std::string bytes(text.size() * 2 + 1, '\0');
    bytes.resize(size_t(WideCharToMultiByte(932, 0, text.c_str(), -1, &bytes[0], int(bytes.size()), nullptr, nullptr)) -
                 1);
    return bytes;
}

bool WriteWide(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return ok;
}

// The short name the file system gives the file, in the code page.
std::string ShortName(const std::wstring& path) {
    wchar_t shortPath[MAX_PATH] = {};
    if (GetShortPathNameW(path.c_str(), shortPath, MAX_PATH) == 0) {
        return std::string();
    }
    const std::wstring whole = shortPath;
    return CodePage(whole.substr(whole.find_last_of(L'\\') + 1));
}

TEST(ShortNames, SongsWithoutACodePageNameAreListedReadAndReachedByTheirShortNames) {
    ScratchFolder folder;
    const std::wstring wideFolder = Wide(folder.Path());
    const std::string song = ReadWholeFile(TestDataPath("midi/sjis-5c-title.mid"));
    const std::wstring names[] = {L"曲♪\u00F1\u20AC\U0001F600", L"\uD55C\uAD6D\uC5B4", L"\u6CE2\u301C\u7DDA", L"plain"};
    std::vector<std::string> expected;
    for (const std::wstring& name : names) {
        const std::wstring path = wideFolder + name + L".mid";
        ASSERT_TRUE(WriteWide(path, song));
        // Shown as the code page writes the long name; reached by the short
        // one where the long one has no form (a plain name is its own).
        const std::string shown = CodePage(name);
        const bool unwritable = shown.find('?') != std::string::npos;
        const std::string rowPath = unwritable ? ShortName(path) : shown + ".mid";
        ASSERT_FALSE(rowPath.empty());
        expected.push_back(rowPath + "\t" + shown + "\t表示ソフト能力テスト\t");
    }
    const CliRun run = RunTool({"list", folder.Path(), "--no-cache-update"});
    ASSERT_EQ(0, run.code) << run.err;
    for (const std::string& row : expected) {
        EXPECT_NE(std::string::npos, run.out.find(row)) << row << "\n" << run.out;
    }
}

}  // namespace
