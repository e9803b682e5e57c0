// The commands of velmora-cli: each runs the program's own operation on the program's files and
// prints what the window shows.

#include "cli/commands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "common/clock.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "conditions/condition_table.h"
#include "draws/bundled_draws.h"
#include "draws/draws_store.h"
#include "game/row_summary.h"
#include "session/session.h"
#include "session/startup.h"
#include "variation/bontas.h"
#include "variation/variation_export.h"
#include "variation/variation_test.h"

namespace velmora::cli {

namespace {

const SystemClock kClock;

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
    return ParseInteger(text, value) && value >= low && value <= high;
}

// A number option within low..high; `value` stays as it is when the option is not given.
// False after the message.
bool NumberOption(const Invocation& invocation, const std::string& name, long long low,
                  long long high, long long& value) {
    if (!invocation.Has(name)) {
        return true;
    }
    if (ParseNumber(invocation.Value(name), low, high, value)) {
        return true;
    }
    std::cerr << name << " takes a number " << low << ".." << high << ": " << invocation.Value(name)
              << "\n";
    return false;
}

std::string Numbers(const std::vector<std::uint8_t>& list) {
    std::string text;
    for (std::uint8_t n : list) {
        text += (text.empty() ? "" : " ") + std::to_string(n);
    }
    return text.empty() ? "-" : text;
}

// A session of the program folder with a number-row or variation file loaded for the file's own
// game, or null after the messages of a file that cannot be used.
std::unique_ptr<Session> LoadTicket(const Invocation& invocation, const std::string& path,
                                    RandomSource& random) {
    Messages& messages = *invocation.messages;
    bool headerRead = false;
    const GameId game = GameForCommandLineFile(path, 0, messages, headerRead);
    if (!headerRead && !FileExists(path)) {
        return nullptr; // the open error has been shown
    }
    auto session = std::make_unique<Session>(invocation.folders, messages, random, kClock);
    session->ApplyGame(game);
    session->LoadDraws();
    if (!session->OpenFile(path)) {
        return nullptr;
    }
    return session;
}

// The export format named by a file's extension.
std::optional<ExportFormat> FormatOf(const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == "csv") {
        return ExportFormat::Csv;
    }
    if (extension == "txt") {
        return ExportFormat::Txt;
    }
    if (extension == "html") {
        return ExportFormat::Html;
    }
    if (extension == "tmb") {
        return ExportFormat::Tmb;
    }
    return std::nullopt;
}

// Every output named on the command line is checked before the first is written.
bool CheckOutputs(const Session& session, const std::string& out, const std::string& exportPath) {
    if (!out.empty() && session.Variation().Store().Count() > kMaxFileRows) {
        std::cerr << "a variation file holds at most " << kMaxFileRows << " rows\n";
        return false;
    }
    if (!exportPath.empty() && !FormatOf(exportPath)) {
        std::cerr << "export to .csv, .txt, .html or .tmb: " << exportPath << "\n";
        return false;
    }
    return true;
}

// Writes the variation as asked: a variation file and/or an export.
bool WriteOutputs(Session& session, const std::string& out, const std::string& exportPath) {
    if (!CheckOutputs(session, out, exportPath)) {
        return false;
    }
    if (!out.empty() && !session.Variation().Save(out)) {
        return false;
    }
    return exportPath.empty() || session.Variation().Export(exportPath, *FormatOf(exportPath));
}

// Runs the engine for the session's ticket to its end; false when nothing was made or the run
// stopped.
bool RunGeneration(Session& session, Messages& messages, Bontas& engine, long long& ms) {
    VariationDocument& variation = session.Variation();
    if (!variation.StartChecks()) {
        return false;
    }
    if (!engine.BontasIndul(variation.MakeGenerationInput())) {
        std::cerr << "The ticket holds too few numbers for a variation.\n";
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    engine.Run();
    ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
             .count();
    const GenerationOutcome outcome = engine.Vege();
    variation.GenerationDone(outcome);
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

int Summary(Invocation& invocation) {
    NumberRow row;
    for (const std::string& arg : invocation.arguments) {
        long long value = 0;
        if (!ParseNumber(arg, 1, 90, value)) {
            std::cerr << "not a lottery number (1..90): " << arg << "\n";
            return kExitUsage;
        }
        row.push_back(static_cast<std::uint8_t>(value));
    }
    std::cout << TerminalText(SegedszelvenyInfo(row)) << "\n";
    return kExitOk;
}

int DrawsImport(Invocation& invocation) {
    long long game = 0;
    if (!ParseNumber(invocation.arguments[0], 0, kGameCount - 1, game)) {
        std::cerr << "GAME is a game number 0.." << kGameCount - 1 << "\n";
        return kExitUsage;
    }
    const GameId id = static_cast<GameId>(game);
    if (OperatorResultsFile(id).empty()) {
        std::cerr << GameName(id) << " has no results file to import.\n";
        return kExitUsage;
    }
    Messages& messages = *invocation.messages;
    const ProgramFolders& folders = invocation.folders;
    std::error_code error;
    if (!FolderExists(folders.data) && !std::filesystem::create_directories(folders.data, error)) {
        std::cerr << "cannot create " << folders.data << "\n";
        return kExitFailed;
    }
    const GameInfo info = LoadGameInfo(id);
    DrawsStore current;
    current.HuzasokBe(folders.data + DatabaseFile(id), info, messages);
    int imported = 0;
    const ImportOutcome outcome = ImportResultsFromFile(invocation.arguments[1], id, folders.data,
                                                        current.Count(), messages, &imported);
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

int Check(Invocation& invocation) {
    SeededRandom random(1);
    const std::unique_ptr<Session> loaded = LoadTicket(invocation, invocation.arguments[0], random);
    if (!loaded) {
        return kExitFailed;
    }
    const Session& session = *loaded;
    const MainTicket& ticket = session.Ticket();
    const ConditionSet& conditions = session.Conditions();
    std::cout << "game: " << GameName(session.Game().gameId) << "\n"
              << "selected: " << Numbers(ticket.Selected()) << "\n"
              << "fixed: " << Numbers(ticket.Fixed()) << "\n"
              << "constant: " << Numbers(ticket.Constant()) << "\n"
              << "random: " << Numbers(ticket.Random()) << "\n"
              << "number order: " << NumberOrderName(ticket.Order()) << "\n"
              << "error points: " << conditions.errorPoints << "\n";
    if (conditions.options.frequencyDistribution) {
        std::cout << "option: frequency distribution\n";
    }
    if (conditions.options.optimised) {
        std::cout << "option: optimised\n";
    }
    bool any = false;
    for (const ConditionInfo& info : ConditionTable()) {
        if (IsActive(conditions, info.id)) {
            std::cout << info.key << ": " << info.describe(conditions) << "\n";
            any = true;
        }
    }
    if (!any) {
        std::cout << "conditions: none\n";
    }
    return kExitOk;
}

int Generate(Invocation& invocation) {
    const std::string out = invocation.Value("--out");
    const std::string exportPath = invocation.Value("--export");
    Messages& messages = *invocation.messages;
    SeededRandom random(1);
    const std::unique_ptr<Session> session =
        LoadTicket(invocation, invocation.arguments[0], random);
    if (!session || !CheckOutputs(*session, "", exportPath)) {
        return kExitFailed;
    }
    VariationDocument& variation = session->Variation();
    // A finished variation is made again from its ticket; a paused one goes on.
    if (!variation.Paused()) {
        variation.Delete();
    }
    Bontas engine(messages, variation.Store());
    long long ms = 0;
    if (!RunGeneration(*session, messages, engine, ms)) {
        return kExitFailed;
    }
    const VariationStore& store = variation.Store();
    if (invocation.Has("--print-rows")) {
        const ExportSource source = variation.RowSource();
        std::vector<int> numbers;
        for (long long r = 0; r < store.Count(); ++r) {
            RowNumbers(store, source, r, numbers);
            std::string line;
            for (int number : numbers) {
                line += (line.empty() ? "" : " ") + std::to_string(number);
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

int Test(Invocation& invocation) {
    long long drawn = -1;
    long long level = -1;
    long long threads = std::max(1U, std::thread::hardware_concurrency());
    if (!NumberOption(invocation, "--drawn", 1, 90, drawn) ||
        !NumberOption(invocation, "--level", 0, 10, level) ||
        !NumberOption(invocation, "--threads", 1, 256, threads)) {
        return kExitUsage;
    }
    Messages& messages = *invocation.messages;
    SeededRandom random(1);
    const std::unique_ptr<Session> session =
        LoadTicket(invocation, invocation.arguments[0], random);
    if (!session) {
        return kExitFailed;
    }
    VariationDocument& variation = session->Variation();
    if (!variation.Exists()) {
        Bontas engine(messages, variation.Store());
        long long ms = 0;
        if (!RunGeneration(*session, messages, engine, ms) || !variation.Exists()) {
            return kExitFailed;
        }
    }
    if (drawn < variation.TestDrawnMinimum() || drawn > variation.TestDrawnMaximum()) {
        std::cerr << "the drawn count must lie within " << variation.TestDrawnMinimum() << ".."
                  << variation.TestDrawnMaximum() << "\n";
        return kExitUsage;
    }
    const VariationTestInput input = variation.MakeTestInput(
        static_cast<int>(drawn), !invocation.Has("--no-conditions"), static_cast<int>(threads));
    VariationTest test(input, variation.Store());
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

int Import(Invocation& invocation) {
    long long game = -1;
    if (!NumberOption(invocation, "--game", 0, kGameCount - 1, game)) {
        return kExitUsage;
    }
    const std::string out = invocation.Value("--out");
    SeededRandom random(1);
    Session session(invocation.folders, *invocation.messages, random, kClock);
    session.ApplyGame(static_cast<GameId>(game));
    if (!session.Variation().Import(invocation.arguments[0]) || !WriteOutputs(session, out, "")) {
        return kExitFailed;
    }
    std::cout << "rows: " << session.Variation().Store().Count()
              << "  numbers: " << session.Ticket().Selected().size() << "\n";
    return kExitOk;
}

int Export(Invocation& invocation) {
    SeededRandom random(1);
    const std::unique_ptr<Session> session =
        LoadTicket(invocation, invocation.arguments[0], random);
    if (!session) {
        return kExitFailed;
    }
    if (!session->Variation().Exists()) {
        std::cerr << "no variation in " << invocation.arguments[0] << "\n";
        return kExitFailed;
    }
    if (!WriteOutputs(*session, "", invocation.arguments[1])) {
        return kExitFailed;
    }
    std::cout << "rows: " << session->Variation().Store().Count() << "\n";
    return kExitOk;
}

} // namespace

const std::vector<Command>& CommandTable() {
    static const std::vector<Command> table = {
        {"summary",
         "N1 N2 ...",
         "describes a number row as a secondary ticket does",
         0,
         -1,
         {},
         Summary},
        {"draws import",
         "GAME FILE.csv",
         "builds game GAME's draws database from the operator's results file",
         2,
         2,
         {},
         DrawsImport},
        {"check",
         "TICKET.tip|VAR.top",
         "loads a number-row file and prints its marks and conditions",
         1,
         1,
         {},
         Check},
        {"generate",
         "TICKET.tip|VAR.top",
         "makes the variation as Start does (a paused one goes on)",
         1,
         1,
         {{"--print-rows", nullptr, "print each row's numbers, one row a line"},
          {"--out", "VAR.top", "save the variation file"},
          {"--export", "FILE", "write an export file: .csv, .txt, .html or .tmb"}},
         Generate},
        {"test",
         "VAR.top|TICKET.tip",
         "tests the hits the variation guarantees",
         1,
         1,
         {{"--drawn", "D", "how many of the variation numbers are drawn", true},
          {"--no-conditions", nullptr, "test without the conditions"},
          {"--level", "L", "the hit level of the missing-row list (default: one below full)"},
          {"--threads", "T", "threads to use (default: every core)"}},
         Test},
        {"import",
         "FILE.csv|FILE.txt",
         "reads a csv or txt file as a variation (--yes sorts each row)",
         1,
         1,
         {{"--game", "GAME", "the game number 0..23 (0 = 5/90, 1 = 6/45, 2 = 7/35, 8..16 = Keno)",
           true},
          {"--out", "VAR.top", "the variation file to write", true}},
         Import},
        {"export",
         "VAR.top FILE",
         "writes a variation file as .csv, .txt, .html or .tmb",
         2,
         2,
         {},
         Export},
    };
    return table;
}

} // namespace velmora::cli
