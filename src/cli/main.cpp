// velmora-cli: the program's core from a terminal.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/terminal_messages.h"
#include "common/hu_format.h"
#include "game/row_summary.h"

namespace {

using velmora::NumberRow;

constexpr int kExitOk = 0;
constexpr int kExitBadArguments = 2;

int Usage() {
    std::cerr << "usage:\n"
                 "  velmora-cli [--home DIR] summary N1 N2 ...\n";
    return kExitBadArguments;
}

int Summary(const std::vector<std::string>& args) {
    NumberRow row;
    for (const std::string& arg : args) {
        long long value = 0;
        if (!velmora::ParseInteger(arg, value) || value < 1 || value > 90) {
            std::cerr << "not a lottery number (1..90): " << arg << "\n";
            return kExitBadArguments;
        }
        row.push_back(static_cast<std::uint8_t>(value));
    }
    std::cout << velmora::TerminalText(velmora::SegedszelvenyInfo(row)) << "\n";
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The program folder given on the command line replaces VELMORA_HOME.
    if (args.size() >= 2 && args[0] == "--home") {
        ::setenv("VELMORA_HOME", args[1].c_str(), 1);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        return Usage();
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "summary") {
        return Summary(args);
    }
    return Usage();
}
