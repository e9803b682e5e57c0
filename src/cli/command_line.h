#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/terminal_messages.h"
#include "settings/folders.h"

// The command table of velmora-cli and the one parser that reads every command line against it.
// The usage texts are made from the table.
namespace velmora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Option {
    const char* name;  // "--out"
    const char* value; // "VAR.top"; null for a switch
    const char* help;
    bool required = false;
};

struct Invocation;

struct Command {
    const char* name;      // one or two words: "generate", "draws import"
    const char* arguments; // the positional arguments as the usage shows them
    const char* summary;   // what the command does, in one line
    int minArguments;
    int maxArguments; // -1: no limit
    std::vector<Option> options;
    int (*run)(Invocation& invocation);
};

// A parsed command line.
struct Invocation {
    const Command* command = nullptr;
    ProgramFolders folders; // --home, else VELMORA_HOME, else CurrentProgramLocation()
    bool answerYes = false; // --yes
    std::vector<std::string> arguments;
    // The given options in their order; a switch maps to "". An option may be given again.
    std::multimap<std::string, std::string> options;
    TerminalMessages* messages = nullptr;
    std::ostream* out = nullptr; // what the command prints
    std::ostream* err = nullptr; // its messages

    bool Has(const std::string& option) const { return options.count(option) > 0; }
    // The first value of an option, or "".
    std::string Value(const std::string& option) const;
    // Every value of an option, in the order given.
    std::vector<std::string> Values(const std::string& option) const;
};

// The options every command takes, before or after the command's name.
extern const std::vector<Option> kGlobalOptions;
// What GAME means in every command's arguments.
extern const char* const kGameNumbers;

// Runs the command line `args` (without the program name) against `table`: "--help" and
// "COMMAND --help" print the usage to `out` and return 0; a line that does not fit the table
// prints the usage to `err` and returns 2. An exception that escapes a command is reported on
// `err` and returns 1.
int RunCommandLine(const std::vector<Command>& table, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

// One command's usage line: "velmora-cli [--home DIR] [--yes] NAME ARGUMENTS [OPTIONS]".
std::string Synopsis(const Command& command);
// The synopsis of every command.
std::string Usage(const std::vector<Command>& table);
// The synopsis of one command with its options explained.
std::string CommandHelp(const Command& command);

} // namespace velmora::cli
