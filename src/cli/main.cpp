// velmora-cli: the program's core from a terminal.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"

// Every command's errors are reported by RunCommandLine; this is the last line for the rest.
int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return velmora::cli::RunCommandLine(velmora::cli::CommandTable(), args, std::cout,
                                            std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "velmora-cli: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "velmora-cli: unknown error\n";
    }
    return velmora::cli::kExitFailed;
}
