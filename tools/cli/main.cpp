// quillory-cli: the catalogue on the command line (see catalogue/CliCommands.h).
#include <iostream>
#include <string>
#include <vector>

#include "catalogue/CliCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr);
}
