// ostrana-cli: the batch client of the storage server.
#include <iostream>

#include "cli/CliCommand.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr);
}
