// Running the Windows quillory-cli.exe built beside the tests as a process of
// its own, its output going to a file.
#pragma once

#include <windows.h>

#include <string>

#include "TestPaths.h"
#include "app/WindowTestSupport_win.h"

constexpr DWORD kCliProgramDeadline = 30000;  // ms

struct CliProgramRun {
    bool finished = false;
    DWORD code = 1;
    std::string out;
};

// Runs quillory-cli.exe with its output going to a file; a run that is not
// over by the deadline is ended.
inline CliProgramRun RunCliProgram(const std::string& arguments, const std::string& outputFile) {
    CliProgramRun run;
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
    run.finished = WaitForSingleObject(process.hProcess, kCliProgramDeadline) == WAIT_OBJECT_0;
    if (!run.finished) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kCliProgramDeadline);
    }
    GetExitCodeProcess(process.hProcess, &run.code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    run.out = ReadWholeFile(outputFile);
    return run;
}
