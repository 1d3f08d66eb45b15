// quillory-cli: the catalogue on the command line (see catalogue/CliCommands.h).
#include <cstdlib>
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
#ifdef _WIN32
    // A Japanese console shows code page 932, the catalogue's own text.
    const CliEncoding encoding = CliEncoding::kShiftJis;
#else
    const CliEncoding encoding = EncodingOfLocale(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
#endif
    return RunCli(args, std::cout, std::cerr, encoding);
}
