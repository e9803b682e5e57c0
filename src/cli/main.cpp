// velmora-cli: the program's core from a terminal.

#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::cli::RunCommandLine(velmora::cli::CommandTable(), args, std::cout, std::cerr);
}
