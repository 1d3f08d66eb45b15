// quillory-cli: the catalogue on the command line (see catalogue/CliCommands.h).
#include <iostream>
#include <string>
#include <vector>

#include "catalogue/CliCommands.h"
#ifndef _WIN32
#include "core/PosixFiles.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; i++) {
#ifdef _WIN32
        args.push_back(argv[i]);
#else
        // A Unix command line is UTF-8; the catalogue's text is CP932.
        args.push_back(ProgramNameOfNative(argv[i]));
#endif
    }
    return RunCli(args, std::cout, std::cerr);
}
