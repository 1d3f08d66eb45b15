// The Windows quillory-cli listing sub-folders of trees that lead back into
// themselves through links made on the Unix side, which Wine shows as
// folders: it finishes and lists each song once on every path that is no
// loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "FolderLoopTrees.h"
#include "app/WindowTestSupport_win.h"

namespace {

constexpr DWORD kDeadline = 30000;  // ms

struct CliRun {
    bool finished = false;
    DWORD code = 1;
    std::string out;
};

// Runs quillory-cli.exe with its output going to a file; a run that is not
// over by the deadline is ended.
CliRun RunCliProgram(const std::string& arguments, const std::string& outputFile) {
    CliRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        return run;
    }
    const std::string exe = BuildFolder() + "tools\\cli\\quillory-cli.exe";
    std::string command = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process) != 0;
    CloseHandle(output);
    if (!started) {
        return run;
    }
    run.finished = WaitForSingleObject(process.hProcess, kDeadline) == WAIT_OBJECT_0;
    if (!run.finished) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kDeadline);
    }
    GetExitCodeProcess(process.hProcess, &run.code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    run.out = ReadWholeFile(outputFile);
    return run;
}

// The first column of each printed row, sorted.
std::vector<std::string> PrintedPaths(const std::string& text) {
    std::vector<std::string> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        rows.push_back(line.substr(0, line.find_first_of("\t\r")));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(FolderLoopsCli, ListingWithSubFoldersEntersNoFolderTwiceOnOnePath) {
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(c.what);
        LoopTree tree(c);
        ASSERT_TRUE(tree.Made()) << "the links are made by the Unix ln through Wine";
        // Without its final backslash, which would escape the closing quote.
        const std::string library = tree.Base() + "lib";
        const CliRun run =
            RunCliProgram("list \"" + library + "\" --subfolders --no-cache-update", tree.File("out.txt"));
        ASSERT_TRUE(run.finished) << "still listing after " << kDeadline << " ms";
        EXPECT_EQ(0u, run.code) << run.out;
        EXPECT_EQ(c.found, PrintedPaths(run.out));
    }
}

}  // namespace
