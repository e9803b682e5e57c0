// velmora-cli: the program's core from a terminal.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/terminal_messages.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "common/platform.h"
#include "draws/bundled_draws.h"
#include "draws/draws_store.h"
#include "conditions/filter.h"
#include "game/row_summary.h"
#include "session/session.h"
#include "session/startup.h"
#include "settings/folders.h"
#include "variation/bontas.h"
#include "variation/variation_test.h"

namespace {

using namespace velmora;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

int Usage() {
    std::cerr
        << "usage:\n"
           "  velmora-cli summary N1 N2 ...\n"
           "  velmora-cli [--home DIR] [--yes] draws import GAME FILE.csv\n"
           "  velmora-cli [--home DIR] [--yes] check TICKET.tip\n"
           "  velmora-cli [--home DIR] [--yes] generate TICKET.tip|VAR.top [--print-rows]\n"
           "              [--out VAR.top] [--export FILE.csv|.txt|.html|.tmb]\n"
           "  velmora-cli [--home DIR] [--yes] import FILE.csv|.txt --game GAME --out VAR.top\n"
           "  velmora-cli [--home DIR] [--yes] export VAR.top FILE.csv|.txt|.html|.tmb\n"
           "A paused VAR.top goes on from where it was paused; --yes sorts imported rows.\n"
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

std::string Numbers(const std::vector<std::uint8_t>& list) {
    std::string text;
    for (std::uint8_t n : list) {
        text += (text.empty() ? "" : " ") + std::to_string(n);
    }
    return text.empty() ? "-" : text;
}

std::string Range(long long low, long long high) {
    return std::to_string(low) + "-" + std::to_string(high);
}

// One line for each active condition, in the order of the condition set.
std::vector<std::string> ConditionLines(const ConditionSet& c) {
    std::vector<std::string> lines;
    if (c.favoured.active) {
        lines.push_back("favoured: positions " + Range(c.favoured.first, c.favoured.last) +
                        ", hits " + Range(c.favoured.minHits, c.favoured.maxHits));
    }
    if (c.mobile.active) {
        lines.push_back("mobile groups: size " + std::to_string(c.mobile.groupSize) + ", at most " +
                        std::to_string(c.mobile.maxPerGroup) + " per group");
    }
    if (c.fixed.active) {
        lines.push_back("fixed groups: size " + std::to_string(c.fixed.groupSize) + ", at most " +
                        std::to_string(c.fixed.maxPerGroup) + " per group");
    }
    const auto parity = [&lines](const char* name, const ParityCondition& p) {
        if (p.active) {
            lines.push_back(std::string(name) + ": " + (p.fixedRatio ? "fixed" : "several") + ", " +
                            (p.even ? "even" : "odd") + " " + Range(p.minimum, p.maximum));
        }
    };
    const auto repeat = [&lines](const char* name, const RepeatCondition& r) {
        if (r.active) {
            lines.push_back(std::string(name) + ": " +
                            (r.oneGroup ? "one group" : "several groups") + ", " +
                            Range(r.minimum, r.maximum));
        }
    };
    parity("decade even/odd", c.decadeParity);
    repeat("decade repetition", c.decadeRepeat);
    if (c.hitRatio.active) {
        lines.push_back(std::string("hit ratio: ") +
                        (c.hitRatio.searched ? "searched" : "excluded") + ", hits " +
                        Range(c.hitRatio.minHits, c.hitRatio.maxHits) + ", rows from " +
                        (c.hitRatio.fromDraws ? "draws" : "variation") + ", draws " +
                        Range(c.hitRatio.firstDraw, c.hitRatio.lastDraw));
    }
    parity("ending even/odd", c.endingParity);
    repeat("ending repetition", c.endingRepeat);
    if (c.sum.active) {
        lines.push_back(std::string("sum: ") + (c.sum.fixedSum ? "fixed" : "mobile") + ", " +
                        Range(c.sum.minimum, c.sum.maximum));
    }
    const auto count = [&lines](const char* name, const CountCondition& n) {
        if (n.active) {
            lines.push_back(std::string(name) + ": " + Range(n.minimum, n.maximum));
        }
    };
    count("twin numbers", c.twins);
    count("mirror pairs", c.mirrors);
    if (c.deviation.active) {
        std::ostringstream text;
        text << std::fixed << std::setprecision(2) << "standard deviation: " << c.deviation.minimum
             << "-" << c.deviation.maximum;
        lines.push_back(text.str());
    }
    if (c.span.active) {
        lines.push_back("span: positions " + Range(c.span.first, c.span.last));
    }
    count("primes", c.primes);
    if (c.numberGroups.active) {
        std::string line = "number groups:";
        const int groups = std::clamp(c.numberGroups.count, 0, kMaxNumberGroups);
        for (int g = 0; g < groups; ++g) {
            const NumberGroupSlot& slot = c.numberGroups.groups[static_cast<std::size_t>(g)];
            line += std::string(g == 0 ? " " : "; ") + "positions " + Range(slot.first, slot.last) +
                    ", hits " + Range(slot.minHits, slot.maxHits);
        }
        lines.push_back(line);
    }
    return lines;
}

// Loads a number-row file into the game it belongs to and prints what it holds.
// A session of the home folder with the ticket file loaded for the file's own game, or null
// after the messages of a file that cannot be used.
std::unique_ptr<Session> LoadTicket(const std::string& path, Messages& messages,
                                    RandomSource& random) {
    bool headerRead = false;
    const GameId game = GameForCommandLineFile(path, 0, messages, headerRead);
    if (!headerRead && !FileExists(path)) {
        return nullptr; // the open error has been shown
    }
    auto session =
        std::make_unique<Session>(MakeProgramFolders(ProgramFolderPath()), messages, random);
    session->ApplyGame(game);
    session->LoadDraws();
    if (!session->OpenFile(path)) {
        return nullptr;
    }
    return session;
}

// The export format named by a file's extension.
std::optional<ExportFormat> FormatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".csv") {
        return ExportFormat::Csv;
    }
    if (extension == ".txt") {
        return ExportFormat::Txt;
    }
    if (extension == ".html") {
        return ExportFormat::Html;
    }
    if (extension == ".tmb") {
        return ExportFormat::Tmb;
    }
    return std::nullopt;
}

// Writes the variation as asked: a variation file and/or an export.
bool WriteOutputs(Session& session, const std::string& out, const std::string& exportPath) {
    if (!out.empty() && session.Variation().Count() > kMaxFileRows) {
        std::cerr << "a variation file holds at most " << kMaxFileRows << " rows\n";
        return false;
    }
    if (!out.empty() && !session.SaveVariation(out)) {
        return false;
    }
    if (!exportPath.empty()) {
        const std::optional<ExportFormat> format = FormatOf(exportPath);
        if (!format) {
            std::cerr << "export to .csv, .txt, .html or .tmb: " << exportPath << "\n";
            return false;
        }
        return session.ExportVariation(exportPath, *format);
    }
    return true;
}

int Check(const std::vector<std::string>& args, Messages& messages) {
    if (args.size() != 1) {
        return Usage();
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> loaded = LoadTicket(args[0], messages, random);
    if (!loaded) {
        return kExitFailed;
    }
    const Session& session = *loaded;
    const GameId game = session.Game().gameId;
    const MainTicket& ticket = session.Ticket();
    const ConditionSet& conditions = session.Conditions();
    std::cout << "game: " << GameName(game) << "\n"
              << "selected: " << Numbers(ticket.Selected()) << "\n"
              << "fixed: " << Numbers(ticket.Fixed()) << "\n"
              << "constant: " << Numbers(ticket.Constant()) << "\n"
              << "random: " << Numbers(ticket.Random()) << "\n"
              << "number order: "
              << kNumberOrderNames[static_cast<std::size_t>(ticket.NumberOrder())] << "\n"
              << "error points: " << conditions.errorPoints << "\n";
    if (conditions.options.frequencyDistribution) {
        std::cout << "option: frequency distribution\n";
    }
    if (conditions.options.optimised) {
        std::cout << "option: optimised\n";
    }
    const std::vector<std::string> lines =
        session.ConditionsSet() ? ConditionLines(conditions) : std::vector<std::string>{};
    if (lines.empty()) {
        std::cout << "conditions: none\n";
    }
    for (const std::string& line : lines) {
        std::cout << line << "\n";
    }
    return kExitOk;
}

// Runs the engine for the session's ticket to its end; false when nothing was made or the run
// stopped.
bool RunGeneration(Session& session, Messages& messages, Bontas& engine, long long& ms) {
    if (!session.StartChecks()) {
        return false;
    }
    if (!engine.BontasIndul(session.MakeGenerationInput())) {
        std::cerr << "The ticket holds too few numbers for a variation.\n";
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    engine.Run();
    ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
             .count();
    const GenerationOutcome outcome = engine.Vege();
    session.GenerationDone(outcome);
    if (!outcome.finished) {
        return false; // stopped: the variation is unfinished
    }
    if (!outcome.emptyResultText.empty()) {
        messages.Error(outcome.emptyResultText);
    } else if (!outcome.missingNumbersText.empty()) {
        messages.Warning(outcome.missingNumbersText);
    }
    return true;
}

int Generate(const std::vector<std::string>& args, Messages& messages) {
    std::string path;
    std::string out;
    std::string exportPath;
    bool printRows = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--print-rows") {
            printRows = true;
        } else if (arg == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (arg == "--export" && i + 1 < args.size()) {
            exportPath = args[++i];
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            return Usage();
        }
    }
    if (path.empty()) {
        return Usage();
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadTicket(path, messages, random);
    if (!session) {
        return kExitFailed;
    }
    // A finished variation is made again from its ticket; a paused one goes on.
    if (!session->VariationPaused()) {
        session->DeleteVariation();
    }
    Bontas engine(messages, session->Variation());
    long long ms = 0;
    if (!RunGeneration(*session, messages, engine, ms)) {
        return kExitFailed;
    }
    const std::vector<std::uint8_t>& numbers = session->Ticket().Selected();
    const VariationStore& store = session->Variation();
    if (printRows) {
        const std::vector<std::uint8_t>& fixed = session->Ticket().Fixed();
        std::string line;
        for (long long r = 0; r < store.Count(); ++r) {
            line.clear();
            const std::uint8_t* row = store.Row(r);
            for (int i = 0; i < store.RowWidth(); ++i) {
                // A row taken from the draws list holds the numbers themselves.
                const int number = engine.DrawsList() ? row[i] : numbers[row[i]];
                line += (i > 0 ? " " : "") + std::to_string(number);
            }
            for (std::uint8_t f : fixed) {
                line += engine.DrawsList() ? "" : " " + std::to_string(f);
            }
            std::cout << line << "\n";
        }
    }
    if (!WriteOutputs(*session, out, exportPath)) {
        return kExitFailed;
    }
    std::cout << "rows: " << store.Count() << "  combinations: " << engine.TotalCombinations()
              << "  ms: " << ms << "\n";
    return kExitOk;
}

int Test(const std::vector<std::string>& args, Messages& messages) {
    std::string path;
    long long drawn = -1;
    long long level = -1;
    long long threads = std::max(1U, std::thread::hardware_concurrency());
    bool conditionsMode = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--drawn" && i + 1 < args.size()) {
            if (!ParseNumber(args[++i], 1, 90, drawn)) {
                return Usage();
            }
        } else if (arg == "--level" && i + 1 < args.size()) {
            if (!ParseNumber(args[++i], 0, 10, level)) {
                return Usage();
            }
        } else if (arg == "--threads" && i + 1 < args.size()) {
            if (!ParseNumber(args[++i], 1, 256, threads)) {
                return Usage();
            }
        } else if (arg == "--no-conditions") {
            conditionsMode = false;
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            return Usage();
        }
    }
    if (path.empty() || drawn < 0) {
        return Usage();
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadTicket(path, messages, random);
    if (!session) {
        return kExitFailed;
    }
    if (session->Variation().Count() == 0) {
        Bontas engine(messages, session->Variation());
        long long ms = 0;
        if (!RunGeneration(*session, messages, engine, ms) || session->Variation().Count() == 0) {
            return kExitFailed;
        }
    }
    if (drawn < session->TestDrawnMinimum() || drawn > session->TestDrawnMaximum()) {
        std::cerr << "the drawn count must lie within " << session->TestDrawnMinimum() << ".."
                  << session->TestDrawnMaximum() << "\n";
        return kExitBadArguments;
    }
    const VariationTestInput input =
        session->MakeTestInput(static_cast<int>(drawn), conditionsMode, static_cast<int>(threads));
    VariationTest test(input, session->Variation());
    test.BontasGepiEllenorzes();
    const VariationTestResult result = test.Snapshot();
    std::cout << TerminalText(BontasTesztLista(input, result)) << "\n";
    const std::string duplicates = DuplicateRowsText(test.DuplicateRows());
    if (!duplicates.empty()) {
        messages.Error(duplicates);
    }
    if (level < 0) {
        level = std::min<long long>(drawn, test.RowLength()) - 1;
    }
    std::cout << TerminalText(BontasTesztHianyzoLista(input, result, static_cast<int>(level)))
              << "\n";
    return kExitOk;
}

int Import(const std::vector<std::string>& args, Messages& messages) {
    std::string path;
    std::string out;
    long long game = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--game" && i + 1 < args.size()) {
            if (!ParseNumber(args[++i], 0, kGameCount - 1, game)) {
                return Usage();
            }
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (path.empty()) {
            path = args[i];
        } else {
            return Usage();
        }
    }
    if (path.empty() || out.empty() || game < 0) {
        return Usage();
    }
    SeededRandom random(1);
    Session session(MakeProgramFolders(ProgramFolderPath()), messages, random);
    session.ApplyGame(static_cast<GameId>(game));
    if (!session.ImportVariation(path) || !WriteOutputs(session, out, "")) {
        return kExitFailed;
    }
    std::cout << "rows: " << session.Variation().Count()
              << "  numbers: " << session.Ticket().Selected().size() << "\n";
    return kExitOk;
}

int Export(const std::vector<std::string>& args, Messages& messages) {
    if (args.size() != 2) {
        return Usage();
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadTicket(args[0], messages, random);
    if (!session) {
        return kExitFailed;
    }
    if (session->Variation().Count() == 0) {
        std::cerr << "no variation in " << args[0] << "\n";
        return kExitFailed;
    }
    if (!WriteOutputs(*session, "", args[1])) {
        return kExitFailed;
    }
    std::cout << "rows: " << session->Variation().Count() << "\n";
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
    if (command == "generate") {
        return Generate({rest.begin() + 1, rest.end()}, messages);
    }
    if (command == "test") {
        return Test({rest.begin() + 1, rest.end()}, messages);
    }
    if (command == "import") {
        return Import({rest.begin() + 1, rest.end()}, messages);
    }
    if (command == "export") {
        return Export({rest.begin() + 1, rest.end()}, messages);
    }
    if (command == "check") {
        return Check({rest.begin() + 1, rest.end()}, messages);
    }
    return Usage();
}
