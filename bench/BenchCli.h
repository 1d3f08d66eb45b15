// Timing quillory-cli's list command inside a benchmark.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchSongs.h"
#include "tools/cli/CliCommands.h"

namespace bench {

// Runs "quillory-cli list location [option]"; the time in ms, or -1 when it
// failed or listed other than rows songs.
inline double TimeCliList(const std::string& location, int rows, const char* option = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    std::vector<std::string> args = {"list", location};
    if (option) {
        args.push_back(option);
    }
    const Clock::time_point start = Clock::now();
    const int code = RunCli(args, out, err);
    const double ms = MillisecondsSince(start);
    int listed = 0;
    for (char c : out.str()) {
        listed += c == '\n';
    }
    if (code != kCliSuccess || listed != rows) {
        std::fprintf(stderr, "list of %s failed (%d rows): %s\n", location.c_str(), listed, err.str().c_str());
        return -1;
    }
    return ms;
}

}  // namespace bench
