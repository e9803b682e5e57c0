// velmora-cli: the program's core from a terminal.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/terminal_messages.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "common/platform.h"
#include "draws/bundled_draws.h"
#include "draws/draws_store.h"
#include "game/row_summary.h"
#include "settings/folders.h"

namespace {

using namespace velmora;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

int Usage() {
    std::cerr << "usage:\n"
                 "  velmora-cli summary N1 N2 ...\n"
                 "  velmora-cli [--home DIR] [--yes] draws import GAME FILE.csv\n"
                 "GAME is the game number 0..23 (0 = 5/90, 1 = 6/45, 2 = 7/35, 8..16 = Keno).\n";
    return kExitBadArguments;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
    return ParseInteger(text, value) && value >= low && value <= high;
}

int Summary(const std::vector<std::string>& args) {
    NumberRow row;
    for (const std::string& arg : args) {
        long long value = 0;
        if (!ParseNumber(arg, 1, 90, value)) {
            std::cerr << "not a lottery number (1..90): " << arg << "\n";
            return kExitBadArguments;
        }
        row.push_back(static_cast<std::uint8_t>(value));
    }
    std::cout << TerminalText(SegedszelvenyInfo(row)) << "\n";
    return kExitOk;
}

int DrawsImport(const std::vector<std::string>& args, Messages& messages) {
    long long game = 0;
    if (args.size() != 2 || !ParseNumber(args[0], 0, kGameCount - 1, game)) {
        return Usage();
    }
    const GameId id = static_cast<GameId>(game);
    if (OperatorResultsFile(id).empty()) {
        std::cerr << GameName(id) << " has no results file to import.\n";
        return kExitBadArguments;
    }
    const ProgramFolders folders = MakeProgramFolders(ProgramFolderPath());
    if (!FolderExists(folders.data) && !std::filesystem::create_directories(folders.data)) {
        std::cerr << "cannot create " << folders.data << "\n";
        return kExitFailed;
    }
    const GameInfo info = LoadGameInfo(id);
    DrawsStore current;
    current.HuzasokBe(folders.data + DatabaseFile(id), info, messages);
    int imported = 0;
    const ImportOutcome outcome =
        ImportResultsFromFile(args[1], id, folders.data, current.Count(), messages, &imported);
    if (outcome != ImportOutcome::Imported) {
        return kExitFailed;
    }
    DrawsStore loaded;
    if (!loaded.HuzasokBe(folders.data + DatabaseFile(id), info, messages)) {
        std::cerr << "imported " << imported << " draws; a database of fewer than 250 draws "
                  << "counts as missing\n";
        return kExitFailed;
    }
    const DrawRecord& first = loaded.At(0);
    const DrawRecord& last = loaded.At(loaded.Count() - 1);
    std::cout << "draws: " << loaded.Count() << "  first: " << first.drawYear << "/"
              << first.drawWeek << "  last: " << last.drawYear << "/" << last.drawWeek
              << "  file: " << folders.data + DatabaseFile(id) << "\n";
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool answerYes = false;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--home" && i + 1 < args.size()) {
            // The program folder given here replaces VELMORA_HOME.
            ::setenv("VELMORA_HOME", args[++i].c_str(), 1);
        } else if (args[i] == "--yes") {
            answerYes = true;
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.empty()) {
        return Usage();
    }
    TerminalMessages messages(std::cerr, answerYes);
    const std::string command = rest[0];
    if (command == "summary") {
        return Summary({rest.begin() + 1, rest.end()});
    }
    if (command == "draws" && rest.size() >= 2 && rest[1] == "import") {
        return DrawsImport({rest.begin() + 2, rest.end()}, messages);
    }
    return Usage();
}
