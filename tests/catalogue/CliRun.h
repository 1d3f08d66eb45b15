// Running quillory-cli's commands inside a test: the exit code and both
// streams.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/cli/CliCommands.h"

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

inline CliRun RunTool(const std::vector<std::string>& args, CliEncoding encoding = CliEncoding::kShiftJis) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err, encoding);
    return CliRun{code, out.str(), err.str()};
}
