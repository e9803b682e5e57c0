#include "cli/command_line.h"

#include <new>
#include <sstream>
#include <stdexcept>

#include "common/program_location.h"

namespace velmora::cli {

const std::vector<Option> kGlobalOptions = {
    {"--home", "DIR", "the program folder to use (instead of VELMORA_HOME or the program's own)"},
    {"--yes", nullptr, "answer Yes to the program's questions (they are answered No otherwise)"},
    {"--help", nullptr, "show this text"},
};

const char* const kGameNumbers =
    "GAME is a game number 0..23 (0 = 5/90, 1 = 6/45, 2 = 7/35, 8..16 = Keno)";

std::string Invocation::Value(const std::string& option) const {
    const auto it = options.find(option);
    return it == options.end() ? std::string() : it->second;
}

std::vector<std::string> Invocation::Values(const std::string& option) const {
    std::vector<std::string> values;
    const auto [first, last] = options.equal_range(option);
    for (auto it = first; it != last; ++it) {
        values.push_back(it->second);
    }
    return values;
}

std::string Synopsis(const Command& command) {
    std::string text = "velmora-cli [--home DIR] [--yes] " + std::string(command.name);
    if (*command.arguments != '\0') {
        text += " " + std::string(command.arguments);
    }
    for (const Option& option : command.options) {
        const std::string word =
            option.name + (option.value != nullptr ? " " + std::string(option.value) : "");
        text += option.required ? " " + word : " [" + word + "]";
    }
    return text;
}

namespace {

void ListOptions(std::ostringstream& text, const std::vector<Option>& options) {
    for (const Option& option : options) {
        std::string name = option.name;
        if (option.value != nullptr) {
            name += " " + std::string(option.value);
        }
        text << "  " << name << std::string(name.size() < 20 ? 20 - name.size() : 1, ' ')
             << option.help << "\n";
    }
}

const Option* FindOption(const std::vector<Option>& options, const std::string& name) {
    for (const Option& option : options) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

// The command whose name starts `words` at `at`; the longer name wins ("draws import").
const Command* FindCommand(const std::vector<Command>& table, const std::vector<std::string>& words,
                           std::size_t at, std::size_t& used) {
    const Command* found = nullptr;
    for (const Command& command : table) {
        std::istringstream name(command.name);
        std::string word;
        std::size_t count = 0;
        bool matches = true;
        while (name >> word) {
            if (at + count >= words.size() || words[at + count] != word) {
                matches = false;
                break;
            }
            ++count;
        }
        if (matches && (found == nullptr || count > used)) {
            found = &command;
            used = count;
        }
    }
    return found;
}

} // namespace

std::string Usage(const std::vector<Command>& table) {
    std::ostringstream text;
    text << "usage:\n";
    for (const Command& command : table) {
        text << "  " << Synopsis(command) << "\n";
    }
    text << "\ncommands:\n";
    for (const Command& command : table) {
        const std::string name = command.name;
        text << "  " << name << std::string(name.size() < 14 ? 14 - name.size() : 1, ' ')
             << command.summary << "\n";
    }
    text << "\noptions of every command:\n";
    ListOptions(text, kGlobalOptions);
    text << "\n"
         << kGameNumbers << ".\n"
         << "\"velmora-cli COMMAND --help\" explains a command. Exit status: 0 done, 1 refused "
            "or failed (the message on stderr), 2 usage.\n";
    return text.str();
}

std::string CommandHelp(const Command& command) {
    std::ostringstream text;
    text << "usage: " << Synopsis(command) << "\n\n" << command.summary << "\n";
    if (!command.options.empty()) {
        text << "\noptions:\n";
        ListOptions(text, command.options);
    }
    text << "\noptions of every command:\n";
    ListOptions(text, kGlobalOptions);
    return text.str();
}

int RunCommandLine(const std::vector<Command>& table, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
    Invocation invocation;
    std::string home;
    bool help = false;
    std::vector<std::string> rest;
    // The options of every command may stand anywhere.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--home") {
            // An empty folder name would silently mean the program's own folder.
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                err << "--home needs a folder\n" << Usage(table);
                return kExitUsage;
            }
            home = args[++i];
        } else if (args[i] == "--yes") {
            invocation.answerYes = true;
        } else if (args[i] == "--help") {
            help = true;
        } else {
            rest.push_back(args[i]);
        }
    }
    std::size_t used = 0;
    invocation.command = rest.empty() ? nullptr : FindCommand(table, rest, 0, used);
    if (invocation.command == nullptr) {
        if (help && rest.empty()) {
            out << Usage(table);
            return kExitOk;
        }
        if (!rest.empty()) {
            err << "unknown command: " << rest.front() << "\n";
        }
        err << Usage(table);
        return kExitUsage;
    }
    const Command& command = *invocation.command;
    if (help) {
        out << CommandHelp(command);
        return kExitOk;
    }
    for (std::size_t i = used; i < rest.size(); ++i) {
        const std::string& word = rest[i];
        if (word.size() > 2 && word.rfind("--", 0) == 0) {
            const Option* option = FindOption(command.options, word);
            if (option == nullptr || (option->value != nullptr && i + 1 >= rest.size())) {
                err << (option == nullptr ? "unknown option: " : "missing value: ") << word << "\n"
                    << CommandHelp(command);
                return kExitUsage;
            }
            invocation.options.emplace(word, option->value != nullptr ? rest[++i] : "");
        } else {
            invocation.arguments.push_back(word);
        }
    }
    const int count = static_cast<int>(invocation.arguments.size());
    bool complete = count >= command.minArguments &&
                    (command.maxArguments < 0 || count <= command.maxArguments);
    for (const Option& option : command.options) {
        complete = complete && (!option.required || invocation.Has(option.name));
    }
    if (!complete) {
        err << CommandHelp(command);
        return kExitUsage;
    }
    invocation.folders = MakeProgramFolders(CurrentProgramLocation(home));
    TerminalMessages messages(err, invocation.answerYes);
    invocation.messages = &messages;
    invocation.out = &out;
    invocation.err = &err;
    try {
        return command.run(invocation);
    } catch (const std::bad_alloc&) {
        messages.NoMemory();
    } catch (const std::exception& error) {
        err << command.name << " failed: " << error.what() << "\n";
    }
    return kExitFailed;
}

} // namespace velmora::cli
