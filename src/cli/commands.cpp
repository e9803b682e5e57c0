// The commands of velmora-cli: each runs the program's own operation on the program's files and
// prints what the window shows.

#include "cli/commands.h"

#include "cli/draws_commands.h"
#include "cli/online_commands.h"
#include "cli/stats_command.h"
#include "cli/ticket_command.h"

#include <mutex>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <ostream>
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
#include "session/minimise_variation.h"
#include "session/session.h"
#include "session/startup.h"
#include "reports/condition_report.h"
#include "reports/list_report.h"
#include "reports/rtf_writer.h"
#include "reports/slips.h"
#include "session/report_input.h"
#include "variation/bontas.h"
#include "variation/row_check.h"
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
    *invocation.err << name << " takes a number " << low << ".." << high << ": "
                    << invocation.Value(name) << "\n";
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
    const std::string extension = LowerExtension(path);
    if (extension != "tip" && extension != "top" && extension != "csv" && extension != "txt") {
        *invocation.err << "the program opens .tip, .top, .csv and .txt files, not: " << path
                        << "\n";
        return nullptr;
    }
    Messages& messages = *invocation.messages;
    // The game is read from the file's header quietly: opening the file reports its faults.
    std::ostream nowhere(nullptr);
    TerminalMessages quiet(nowhere, false);
    bool headerRead = false;
    const GameId game = GameForCommandLineFile(path, 0, quiet, headerRead);
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

// The files a command writes: each is checked before the first is written, so a refused
// command leaves every file as it was.
struct Outputs {
    std::string variation; // --out
    std::string exported;  // --export, or the export command's file

    // What can be known before the variation exists: the export's format and that both files
    // may be written.
    bool Check(std::ostream& err) const {
        if (!exported.empty() && !FormatOf(exported)) {
            err << "export to .csv, .txt, .html or .tmb: " << exported << "\n";
            return false;
        }
        for (const std::string* path : {&variation, &exported}) {
            if (!path->empty() && !CanReplaceFile(*path)) {
                err << "cannot write " << *path
                    << " (its folder is missing or read-only, or it is not a regular file)\n";
                return false;
            }
        }
        return true;
    }
};

// Writes the variation as asked: a variation file and/or an export.
bool WriteOutputs(Session& session, const Outputs& outputs, std::ostream& err) {
    const std::string& out = outputs.variation;
    const std::string& exportPath = outputs.exported;
    if (!outputs.Check(err)) {
        return false;
    }
    if (!out.empty() && session.Variation().Store().Count() > kMaxFileRows) {
        err << "a variation file holds at most " << kMaxFileRows << " rows\n";
        return false;
    }
    if (!out.empty() && !session.Variation().Save(out)) {
        return false;
    }
    return exportPath.empty() || session.Variation().Export(exportPath, *FormatOf(exportPath));
}

// Runs the engine for the session's ticket to its end; false when the run stopped or made no
// row (after the message that says why).
bool RunGeneration(Session& session, Messages& messages, Bontas& engine, long long& ms,
                   std::ostream& err) {
    VariationDocument& variation = session.Variation();
    if (variation.StartChecks() != StartCheck::Go) {
        return false;
    }
    if (!engine.BontasIndul(variation.MakeGenerationInput())) {
        err << "The ticket holds too few numbers for a variation.\n";
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
        return false;
    }
    if (!outcome.missingNumbersText.empty()) {
        messages.Warning(outcome.missingNumbersText);
    }
    return true;
}

int Summary(Invocation& invocation) {
    NumberRow row;
    for (const std::string& arg : invocation.arguments) {
        long long value = 0;
        if (!ParseNumber(arg, 1, 90, value)) {
            *invocation.err << "not a lottery number (1..90): " << arg << "\n";
            return kExitUsage;
        }
        row.push_back(static_cast<std::uint8_t>(value));
    }
    *invocation.out << TerminalText(SegedszelvenyInfo(row)) << "\n";
    return kExitOk;
}

int DrawsImport(Invocation& invocation) {
    std::ostream& err = *invocation.err;
    long long game = 0;
    if (!ParseNumber(invocation.arguments[0], 0, kGameCount - 1, game)) {
        err << "GAME is a game number 0.." << kGameCount - 1 << "\n";
        return kExitUsage;
    }
    const GameId id = static_cast<GameId>(game);
    if (OperatorResultsFile(id).empty()) {
        err << GameName(id) << " has no results file to import.\n";
        return kExitUsage;
    }
    Messages& messages = *invocation.messages;
    const ProgramFolders& folders = invocation.folders;
    const std::string database = folders.data + DatabaseFile(id);
    std::error_code error;
    if (!FolderExists(folders.data) && !std::filesystem::create_directories(folders.data, error)) {
        err << "cannot create " << folders.data << ": " << error.message() << "\n";
        return kExitFailed;
    }
    if (!CanReplaceFile(database)) {
        err << "cannot write " << database << "\n";
        return kExitFailed;
    }
    const GameInfo info = LoadGameInfo(id);
    DrawsStore current;
    current.HuzasokBe(database, info, messages);
    int imported = 0;
    const ImportOutcome outcome = ImportResultsFromFile(invocation.arguments[1], id, folders.data,
                                                        current.Count(), messages, &imported);
    if (outcome == ImportOutcome::TooFewDraws) {
        err << invocation.arguments[1] << " holds " << imported
            << " draws; a database of fewer than 250 draws counts as missing\n";
    }
    if (outcome != ImportOutcome::Imported) {
        return kExitFailed;
    }
    DrawsStore loaded;
    if (!loaded.HuzasokBe(database, info, messages)) {
        return kExitFailed; // the message has been shown
    }
    const DrawRecord& first = loaded.At(0);
    const DrawRecord& last = loaded.At(loaded.Count() - 1);
    *invocation.out << "draws: " << loaded.Count() << "  first: " << first.drawYear << "/"
                    << first.drawWeek << "  last: " << last.drawYear << "/" << last.drawWeek
                    << "  file: " << database << "\n";
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
    std::ostream& out = *invocation.out;
    out << "game: " << GameName(session.Game().gameId) << "\n"
        << "selected: " << Numbers(ticket.Selected()) << "\n"
        << "fixed: " << Numbers(ticket.Fixed()) << "\n"
        << "constant: " << Numbers(ticket.Constant()) << "\n"
        << "random: " << Numbers(ticket.Random()) << "\n"
        << "number order: " << NumberOrderName(ticket.Order()) << "\n"
        << "error points: " << conditions.errorPoints << "\n";
    if (conditions.options.frequencyDistribution) {
        out << "option: frequency distribution\n";
    }
    if (conditions.options.optimised) {
        out << "option: optimised\n";
    }
    bool any = false;
    for (const ConditionInfo& info : ConditionTable()) {
        if (IsActive(conditions, info.id)) {
            out << info.key << ": " << info.describe(conditions) << "\n";
            any = true;
        }
    }
    if (!any) {
        out << "conditions: none\n";
    }
    return kExitOk;
}

int Generate(Invocation& invocation) {
    std::ostream& err = *invocation.err;
    const Outputs outputs{invocation.Value("--out"), invocation.Value("--export")};
    if (!outputs.Check(err)) {
        return kExitFailed;
    }
    Messages& messages = *invocation.messages;
    SeededRandom random(1);
    const std::unique_ptr<Session> session =
        LoadTicket(invocation, invocation.arguments[0], random);
    if (!session) {
        return kExitFailed;
    }
    VariationDocument& variation = session->Variation();
    // A finished variation is made again from its ticket; a paused one goes on.
    if (!variation.Paused()) {
        variation.Delete();
    }
    Bontas engine(messages, variation.Store());
    long long ms = 0;
    if (!RunGeneration(*session, messages, engine, ms, err)) {
        return kExitFailed;
    }
    if (!WriteOutputs(*session, outputs, err)) {
        return kExitFailed;
    }
    const VariationStore& store = variation.Store();
    std::ostream& out = *invocation.out;
    if (invocation.Has("--print-rows")) {
        const ExportSource source = variation.RowSource();
        std::vector<int> numbers;
        for (long long r = 0; r < store.Count(); ++r) {
            RowNumbers(store, source, r, numbers);
            std::string line;
            for (int number : numbers) {
                line += (line.empty() ? "" : " ") + std::to_string(number);
            }
            out << line << "\n";
        }
    }
    out << "rows: " << store.Count() << "  combinations: " << engine.TotalCombinations()
        << "  ms: " << ms << "\n";
    return kExitOk;
}

// The progress line of a running test, in the window's words.
std::string TestProgressLine(long long elapsedMs, const TestProgress& progress) {
    const std::string remaining = progress.remainingMs > static_cast<double>(kTestDayMs)
                                      ? "több mint 1 nap"
                                      : FormatElapsed(std::llround(progress.remainingMs));
    return "Időtartam: " + FormatElapsed(elapsedMs) + "  Hátralévő: " + remaining + "  " +
           std::to_string(progress.percent) + "%";
}

// Runs the test on a worker thread while this one prints its progress on `err` as the window
// shows it. A test that would take more than a day is stopped, as the window stops it, unless
// `force`. False when it was stopped.
bool RunTestWithProgress(VariationTest& test, bool force, std::ostream& err, Messages& messages) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kTick = std::chrono::milliseconds(100);
    constexpr int kTicksPerReport = 50; // a line every five seconds, the first after one
    constexpr int kTicksBeforeEstimate = 10;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            test.BontasGepiEllenorzes();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    const Clock::time_point start = Clock::now();
    bool tooLong = false;
    for (int tick = 1; !done; ++tick) {
        std::this_thread::sleep_for(kTick);
        if (done || tick < kTicksBeforeEstimate ||
            (tick - kTicksBeforeEstimate) % kTicksPerReport) {
            continue;
        }
        const long long elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        const TestProgress progress = EstimateTestProgress(test.Examined(), test.Total(), elapsed);
        err << TestProgressLine(elapsed, progress) << "\n";
        if (progress.remainingMs > static_cast<double>(kTestDayMs) && !force) {
            tooLong = true;
            test.Stop();
        }
    }
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (tooLong) {
        messages.Warning(kTestDayLimitText);
        err << "--force runs it all the same\n";
    }
    return test.Finished();
}

int Test(Invocation& invocation) {
    std::ostream& err = *invocation.err;
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
        if (!RunGeneration(*session, messages, engine, ms, err) || !variation.Exists()) {
            return kExitFailed;
        }
    }
    if (drawn < variation.TestDrawnMinimum() || drawn > variation.TestDrawnMaximum()) {
        err << "the drawn count must lie within " << variation.TestDrawnMinimum() << ".."
            << variation.TestDrawnMaximum() << "\n";
        return kExitUsage;
    }
    const VariationTestInput input = variation.MakeTestInput(
        static_cast<int>(drawn), !invocation.Has("--no-conditions"), static_cast<int>(threads));
    VariationTest test(input, variation.Store());
    if (!RunTestWithProgress(test, invocation.Has("--force"), err, messages)) {
        return kExitFailed;
    }
    const VariationTestResult result = test.Snapshot();
    std::ostream& out = *invocation.out;
    out << TerminalText(BontasTesztLista(input, result)) << "\n";
    const std::string duplicates = DuplicateRowsText(test.DuplicateRows());
    if (!duplicates.empty()) {
        messages.Error(duplicates);
    }
    if (level < 0) {
        level = std::min<long long>(drawn, test.RowLength()) - 1;
    }
    out << TerminalText(BontasTesztHianyzoLista(input, result, static_cast<int>(level))) << "\n";
    return kExitOk;
}

// A variation of a file, or null after the message of a file without one.
std::unique_ptr<Session> LoadVariation(const Invocation& invocation, RandomSource& random) {
    std::unique_ptr<Session> session = LoadTicket(invocation, invocation.arguments[0], random);
    if (session && !session->Variation().Exists()) {
        *invocation.err << "no variation in " << invocation.arguments[0] << "\n";
        return nullptr;
    }
    return session;
}

int Rows(Invocation& invocation) {
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadVariation(invocation, random);
    if (!session) {
        return kExitFailed;
    }
    const VariationStore& store = session->Variation().Store();
    long long from = 1;
    long long to = store.Count();
    if (!NumberOption(invocation, "--from", 1, store.Count(), from) ||
        !NumberOption(invocation, "--to", from, store.Count(), to)) {
        return kExitUsage;
    }
    const ExportSource source = session->Variation().RowSource();
    std::vector<int> numbers;
    std::ostream& out = *invocation.out;
    for (long long line = from; line <= to; ++line) {
        RowNumbers(store, source, line - 1, numbers);
        out << line << ":";
        for (int n : numbers) {
            out << " " << n;
        }
        out << "\n";
    }
    return kExitOk;
}

int CheckRowCommand(Invocation& invocation) {
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadVariation(invocation, random);
    if (!session) {
        return kExitFailed;
    }
    const GameInfo& game = session->Game();
    const bool gameHasPlus = game.extraCount == 1;
    CheckRow check;
    // "--row N1 N2 ...": the option takes N1, the others follow the file's name.
    std::vector<std::string> texts = invocation.Values("--row");
    texts.insert(texts.end(), invocation.arguments.begin() + 1, invocation.arguments.end());
    for (const std::string& text : texts) {
        long long n = 0;
        if (!ParseNumber(text, 1, game.maxNumber, n)) {
            *invocation.err << "not a number of 1.." << game.maxNumber << ": " << text << "\n";
            return kExitUsage;
        }
        check.numbers.push_back(static_cast<std::uint8_t>(n));
    }
    long long plus = 0;
    if (invocation.Has("--plus") &&
        (!gameHasPlus || !NumberOption(invocation, "--plus", 1, game.maxNumber, plus))) {
        *invocation.err << (gameHasPlus ? "" : "this game has no plus number\n");
        return kExitUsage;
    }
    if (plus != 0) {
        check.plus = static_cast<int>(plus);
        check.numbers.push_back(static_cast<std::uint8_t>(plus));
    }
    std::vector<std::uint8_t> sorted = check.numbers;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.empty() || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        *invocation.err << "--row takes distinct numbers\n";
        return kExitUsage;
    }
    const RowSets rows(session->Variation().Store(), session->Variation().RowSource());
    const CheckCounts counts = CountHits(rows, check, game.rowLength, gameHasPlus);
    *invocation.out << TerminalText(CheckCountsText(counts, game.rowLength, gameHasPlus));
    return kExitOk;
}

// An edit of a variation file's rows ("Rendezés", the list's row deletion), saved as another
// file. `edit` returns kExitOk when the rows changed, else the exit status after its message.
int EditRows(Invocation& invocation, const std::function<int(VariationDocument&)>& edit) {
    const Outputs outputs{invocation.Value("--out"), ""};
    if (!outputs.Check(*invocation.err)) {
        return kExitFailed;
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadVariation(invocation, random);
    if (!session) {
        return kExitFailed;
    }
    VariationDocument& variation = session->Variation();
    const int edited = edit(variation);
    if (edited != kExitOk) {
        return edited;
    }
    if (!WriteOutputs(*session, outputs, *invocation.err)) {
        return kExitFailed;
    }
    *invocation.out << "rows: " << variation.Store().Count() << "\n";
    return kExitOk;
}

int Sort(Invocation& invocation) {
    return EditRows(invocation, [](VariationDocument& variation) {
        return variation.SortRows() ? kExitOk : kExitFailed;
    });
}

int DeleteRowsCommand(Invocation& invocation) {
    return EditRows(invocation, [&invocation](VariationDocument& variation) {
        const long long count = variation.Store().Count();
        const bool lastBlock = invocation.Has("--last-block");
        long long from = 1;
        long long to = count;
        if (!NumberOption(invocation, "--from", 1, count, from) ||
            !NumberOption(invocation, "--to", from, count, to)) {
            return kExitUsage;
        }
        if (!lastBlock && from == 1 && to == count) {
            *invocation.err << "--from and --to cover every row: nothing would be left to save\n";
            return kExitUsage;
        }
        return variation.DeleteRows(from, to, lastBlock) ? kExitOk : kExitFailed;
    });
}

// "Variáció minimalizálása...": the search with a time limit, its progress a line a second,
// the smaller variation saved once the variation test confirms it.
int Minimise(Invocation& invocation) {
    long long seconds = 30;
    long long threads = std::max(1U, std::thread::hardware_concurrency());
    long long seed = 0;
    if (!NumberOption(invocation, "--seconds", 1, 86400, seconds) ||
        !NumberOption(invocation, "--threads", 1, 256, threads) ||
        !NumberOption(invocation, "--seed", 0, 1'000'000'000'000LL, seed)) {
        return kExitUsage;
    }
    const Outputs outputs{invocation.Value("--out"), ""};
    if (!outputs.Check(*invocation.err)) {
        return kExitFailed;
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadVariation(invocation, random);
    if (!session) {
        return kExitFailed;
    }
    VariationDocument& variation = session->Variation();
    MinimiseJob job;
    std::string refusal;
    if (!PrepareMinimise(variation, job, refusal)) {
        invocation.messages->Warning(refusal);
        return kExitFailed;
    }
    job.input.seconds = static_cast<double>(seconds);
    job.input.threads = static_cast<int>(threads);
    if (invocation.Has("--seed")) {
        job.input.seed = static_cast<std::uint64_t>(seed);
    }
    MinimiserProgress progress;
    const auto start = std::chrono::steady_clock::now();
    MinimiserResult result;
    std::thread search([&] { result = MinimiseRows(job.input, progress); });
    std::ostream& out = *invocation.out;
    std::mutex done;
    bool finished = false;
    std::thread reporter([&] {
        for (int tick = 1;; ++tick) {
            for (int wait = 0; wait < 10; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                const std::lock_guard<std::mutex> lock(done);
                if (finished) {
                    return;
                }
            }
            const std::lock_guard<std::mutex> lock(done);
            out << "second " << tick << "  rows now: " << progress.rowsNow
                << "  uncovered: " << progress.uncoveredNow << "  best: " << progress.best
                << std::endl;
        }
    });
    search.join();
    {
        const std::lock_guard<std::mutex> lock(done);
        finished = true;
    }
    reporter.join();
    const long long before = static_cast<long long>(job.input.rows.size());
    const MinimiseVerdict verdict =
        JudgeMinimised(variation, job, result, static_cast<int>(threads));
    ApplyMinimised(variation, result, verdict, *invocation.messages);
    if (verdict == MinimiseVerdict::Refused) {
        return kExitFailed;
    }
    if (!WriteOutputs(*session, outputs, *invocation.err)) {
        return kExitFailed;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    out << "rows: " << variation.Store().Count() << "  before: " << before
        << "  lower-bound: " << job.lowerBound << "  ms: " << ms << "\n";
    return kExitOk;
}

int Report(Invocation& invocation) {
    const std::string out = invocation.Value("--out");
    const std::string kind = LowerExtension(out);
    if (!out.empty() && kind != "rtf" && kind != "txt") {
        *invocation.err << "the report is written as .rtf or .txt: " << out << "\n";
        return kExitUsage;
    }
    if (!out.empty() && !CanReplaceFile(out)) {
        *invocation.err << "cannot write " << out << "\n";
        return kExitFailed;
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session =
        LoadTicket(invocation, invocation.arguments[0], random);
    if (!session) {
        return kExitFailed;
    }
    const std::vector<std::string> lines = ConditionReport(ReportInputOf(*session));
    if (out.empty()) {
        *invocation.out << PlainText(lines);
        return kExitOk;
    }
    // The file as the information window prints it: 8 points.
    const std::string text = kind == "rtf" ? RtfDocument(lines, 8) : PlainText(lines);
    if (!ReplaceFile(out, text)) {
        invocation.messages->Error("Az állomány létrehozása nem sikerült:\r\r" + out);
        return kExitFailed;
    }
    return kExitOk;
}

int ListReport(Invocation& invocation) {
    const std::string out = invocation.Value("--out");
    const std::string kind = LowerExtension(out);
    long long game = 0;
    if (!NumberOption(invocation, "--draws", 0, kGameCount - 1, game)) {
        return kExitUsage;
    }
    if (!out.empty() && kind != "rtf" && kind != "txt") {
        *invocation.err << "the report is written as .rtf or .txt: " << out << "\n";
        return kExitUsage;
    }
    if (!out.empty() && !CanReplaceFile(out)) {
        *invocation.err << "cannot write " << out << "\n";
        return kExitFailed;
    }
    if (invocation.Has("--draws") == !invocation.arguments.empty()) {
        *invocation.err << "list either a variation file or --draws GAME\n";
        return kExitUsage;
    }
    std::vector<std::string> lines;
    if (!invocation.arguments.empty()) {
        SeededRandom random(1);
        const std::unique_ptr<Session> session = LoadVariation(invocation, random);
        if (!session) {
            return kExitFailed;
        }
        const VariationDocument& variation = session->Variation();
        lines = VariationListReport(session->Game(), variation.Store(), variation.RowSource(),
                                    variation.ListTitle(), kClock.Now());
    } else {
        const GameInfo info = LoadGameInfo(static_cast<GameId>(game));
        DrawsStore store;
        if (!store.HuzasokBe(invocation.folders.data + DatabaseFile(info.gameId), info,
                             *invocation.messages)) {
            *invocation.err << "no draws database of " << GameName(info.gameId) << "\n";
            return kExitFailed;
        }
        lines = DrawsListReport(info, store.Draws(), kClock.Now());
    }
    if (out.empty()) {
        *invocation.out << PlainText(lines);
        return kExitOk;
    }
    if (!ReplaceFile(out, kind == "rtf" ? RtfDocument(lines, 8) : PlainText(lines))) {
        invocation.messages->Error("Az állomány létrehozása nem sikerült:\r\r" + out);
        return kExitFailed;
    }
    return kExitOk;
}

int Slips(Invocation& invocation) {
    const std::string pdf = invocation.Value("--pdf");
    if (LowerExtension(pdf) != "pdf") {
        *invocation.err << "--pdf names the .pdf file to write\n";
        return kExitUsage;
    }
    long long stake = 1;
    long long draws = 1;
    if (!NumberOption(invocation, "--stake", 1, 5, stake) ||
        !NumberOption(invocation, "--draws", 1, 14, draws)) {
        return kExitUsage;
    }
    SlipOptions options;
    const std::string joker = invocation.Has("--joker") ? invocation.Value("--joker") : "no";
    if (joker != "yes" && joker != "no" && joker != "none") {
        *invocation.err << "--joker takes yes, no or none\n";
        return kExitUsage;
    }
    options.joker = joker == "yes" ? Joker::Yes : joker == "no" ? Joker::No : Joker::Unmarked;
    options.numbering = !invocation.Has("--no-numbering");
    options.stake = static_cast<int>(stake);
    options.draws = CorrectedDrawCount(static_cast<int>(draws));
    options.fiveWeeks = invocation.Has("--five-weeks");
    options.extraJoker = invocation.Has("--extra-joker") && options.joker == Joker::Yes;
    if (!CanReplaceFile(pdf)) {
        *invocation.err << "cannot write " << pdf << "\n";
        return kExitFailed;
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session = LoadVariation(invocation, random);
    if (!session) {
        return kExitFailed;
    }
    const GameInfo& game = session->Game();
    Messages& messages = *invocation.messages;
    const VariationDocument& variation = session->Variation();
    if (!HasSlips(game.gameId)) {
        messages.Warning("A kiválasztott játék esetében nem elérhető a funkció.");
        return kExitFailed;
    }
    if (game.isKeno) {
        options.fiveWeeks = false;
        options.extraJoker = false;
    }
    if (variation.Paused() && !messages.Question("Mégis kitölti a szelvényeket?")) {
        return kExitFailed;
    }
    const long long count = variation.Store().Count();
    if (count > kMaxSlipRows) {
        messages.Warning("Több mint 1000 számsor nyomtatását kérte.\r\rAz aktuális verzió ezt nem "
                         "teszi lehetővé.");
        return kExitFailed;
    }
    const long long forms = SlipCount(game.gameId, count);
    long long from = 1;
    long long to = forms;
    if (!NumberOption(invocation, "--from", 1, forms, from) ||
        !NumberOption(invocation, "--to", from, forms, to)) {
        return kExitUsage;
    }
    if (invocation.Has("--test-page")) {
        from = to = 1;
    }
    if (to - from + 1 > kMaxSlipForms) {
        messages.Error("Több mint 100 segédsorsjegy kitöltésére tett kísérletet.\r\rAz aktuális "
                       "verzió ezt nem teszi lehetővé.\r\rJavaslat:\r- Használja a \"Nyomtatási "
                       "tartomány\" beállításának lehetőségét.\r  Nyomtatandó oldalak "
                       "(segédsorsjegyek) száma: 1-30-ig, 31-60-ig stb.");
        return kExitFailed;
    }
    if (to - from + 1 > kSlipFormsWarning &&
        !messages.WarningQuestion(
            "Több mint 30 segédsorsjegy kitöltésére készül.\r\rJavaslat:\r- Ellenőrizze a "
            "nyomtató tálcájába helyezett segédsorsjegyek számát, pozícióját.\r- Használja a "
            "\"Nyomtatási tartomány\" beállításának lehetőségét. Nyomtatandó oldalak "
            "(segédsorsjegyek) száma: 1-30-ig, 31-60-ig stb.\r\rMégis folytatja a nyomtatást?")) {
        return kExitFailed;
    }
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(count));
    const ExportSource source = variation.RowSource();
    for (long long r = 0; r < count; ++r) {
        RowNumbers(variation.Store(), source, r, rows[static_cast<std::size_t>(r)]);
    }
    std::vector<SlipPage> pages;
    for (long long form = from; form <= to; ++form) {
        pages.push_back(SlipForm(game, rows, form, options));
    }
    if (!ReplaceFile(pdf, SlipsPdf(pages))) {
        messages.Error("Az állomány létrehozása nem sikerült:\r\r" + pdf);
        return kExitFailed;
    }
    *invocation.out << "forms: " << pages.size() << "\n";
    return kExitOk;
}

int Import(Invocation& invocation) {
    long long game = -1;
    if (!NumberOption(invocation, "--game", 0, kGameCount - 1, game)) {
        return kExitUsage;
    }
    const Outputs outputs{invocation.Value("--out"), ""};
    if (!outputs.Check(*invocation.err)) {
        return kExitFailed;
    }
    SeededRandom random(1);
    Session session(invocation.folders, *invocation.messages, random, kClock);
    session.ApplyGame(static_cast<GameId>(game));
    if (!session.Variation().Import(invocation.arguments[0]) ||
        !WriteOutputs(session, outputs, *invocation.err)) {
        return kExitFailed;
    }
    *invocation.out << "rows: " << session.Variation().Store().Count()
                    << "  numbers: " << session.Ticket().Selected().size() << "\n";
    return kExitOk;
}

int Export(Invocation& invocation) {
    const Outputs outputs{"", invocation.arguments[1]};
    if (!outputs.Check(*invocation.err)) {
        return kExitFailed;
    }
    SeededRandom random(1);
    const std::unique_ptr<Session> session =
        LoadTicket(invocation, invocation.arguments[0], random);
    if (!session) {
        return kExitFailed;
    }
    if (!session->Variation().Exists()) {
        *invocation.err << "no variation in " << invocation.arguments[0] << "\n";
        return kExitFailed;
    }
    if (!WriteOutputs(*session, outputs, *invocation.err)) {
        return kExitFailed;
    }
    *invocation.out << "rows: " << session->Variation().Store().Count() << "\n";
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
        {"draws update",
         "GAME",
         "imports game GAME's up-to-date results file from the operator (or from --from URL), "
         "as \"Húzások naprakész listája...\" does",
         1,
         1,
         {{"--from", "URL", "the results file's address instead of the operator's"}},
         DrawsUpdate},
        {"draws download",
         "GAME|all",
         "downloads game GAME's database, or every game's, from the program's download host",
         1,
         1,
         {{"--host", "URL", "the download host instead of the one in Velmora.ini"}},
         DrawsDownload},
        {"draws list",
         "GAME",
         "prints the draws of game GAME's database: number, year, week: numbers + extra number",
         1,
         1,
         {{"--first", "A", "the first draw (default 1)"},
          {"--last", "B", "the last draw (default the last)"}},
         DrawsList},
        {"draws add",
         "GAME YEAR WEEK N1 N2 ...",
         "appends a draw as the draw entry does (the second drawing's numbers follow the first's)",
         3,
         -1,
         {{"--extra", "E", "the extra number (given again: the second drawing's)"}},
         DrawsAdd},
        {"draws search",
         "GAME N1 N2 ...",
         "counts the draws by the numbers they hold of a row, as the draws search does",
         2,
         -1,
         {{"--extra", "E", "the extra number, for a game that has one"},
          {"--first", "A", "the first draw of the range (default 1)"},
          {"--last", "B", "the last draw of the range (default the last)"}},
         DrawsSearch},
        {"ticket",
         "",
         "marks a ticket, sets its conditions as the conditions dialog does, saves it",
         0,
         0,
         {{"--game", "GAME", "the game number 0..23", true},
          {"--numbers", "LIST", "the variation numbers: 1-20,25", true},
          {"--fixed", "LIST", "fixed numbers"},
          {"--constant", "LIST", "constant numbers"},
          {"--error-points", "H", "the variation's error points"},
          {"--optimised", nullptr, "the optimised choice of rows (2 or more error points)"},
          {"--set", "FIELD=VALUE", "a condition's field, as --fields names it (repeatable)"},
          {"--fields", nullptr, "list every field with its limits for these numbers"},
          {"--out", "T.tip", "the number-row file to write"}},
         Ticket},
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
          {"--threads", "T", "threads to use (default: every core)"},
          {"--force", nullptr, "run a test that would take more than a day"}},
         Test},
        {"rows",
         "VAR.top",
         "prints the variation's rows as the list shows them: line, numbers, fixed numbers",
         1,
         1,
         {{"--from", "A", "the first line (default 1)"},
          {"--to", "B", "the last line (default the last)"}},
         Rows},
        {"check-row",
         "VAR.top",
         "counts the variation's rows per hit level against a row, as the check ticket does",
         1,
         -1,
         {{"--row", "N1 N2 ...", "the numbers marked on the check ticket", true},
          {"--plus", "P", "the plus number, for a game that has one"}},
         CheckRowCommand},
        {"sort",
         "VAR.top",
         "sorts the variation's rows as \"Rendezés\" does and saves them",
         1,
         1,
         {{"--out", "V2.top", "the variation file to write", true}},
         Sort},
        {"delete-rows",
         "VAR.top",
         "deletes rows as the list's \"Törlés\" does (--yes answers its question) and saves",
         1,
         1,
         {{"--from", "A", "the first row to delete (default 1)"},
          {"--to", "B", "the last row to delete (default the last)"},
          {"--last-block", nullptr, "delete the rows added last instead (\"Bővítmény törlése\")"},
          {"--out", "V2.top", "the variation file to write", true}},
         DeleteRowsCommand},
        {"minimize",
         "VAR.top",
         "searches a variation with fewer rows and the same guarantee, as \"Variáció "
         "minimalizálása...\" does, and saves it",
         1,
         1,
         {{"--out", "V2.top", "the variation file to write", true},
          {"--seconds", "S", "the time limit (default 30)"},
          {"--threads", "T", "searches to run side by side (default: every core)"},
          {"--seed", "X", "a reproducible search: its length is counted in moves, not time"}},
         Minimise},
        {"report",
         "VAR.top|TICKET.tip",
         "prints the condition report of the information window, or writes it as .rtf or .txt",
         1,
         1,
         {{"--out", "FILE", "the file to write: FILE.rtf or FILE.txt"}},
         Report},
        {"list-report",
         "[VAR.top]",
         "prints the variation's or game GAME's list report, or writes it as .rtf or .txt",
         0,
         1,
         {{"--draws", "GAME", "list the draws of this game instead of a variation"},
          {"--out", "FILE", "the file to write: FILE.rtf or FILE.txt"}},
         ListReport},
        {"slips",
         "VAR.top",
         "fills the operator's slips with the variation's rows, as a PDF of one page a form",
         1,
         1,
         {{"--pdf", "OUT.pdf", "the PDF to write", true},
          {"--from", "S", "the first form (default 1)"},
          {"--to", "T", "the last form (default the last)"},
          {"--joker", "yes|no|none", "the joker box to mark (default no)"},
          {"--no-numbering", nullptr, "no serial text on the forms"},
          {"--stake", "N", "Keno: the stake, 1..5"},
          {"--draws", "D", "Keno: the number of draws, 1..7 or 14"},
          {"--five-weeks", nullptr, "mark the five-week box"},
          {"--extra-joker", nullptr, "mark the additional joker box (with --joker yes)"},
          {"--test-page", nullptr, "the first form only"}},
         Slips},
        {"import",
         "FILE.csv|FILE.txt",
         "reads a csv or txt file as a variation (--yes sorts each row)",
         1,
         1,
         {{"--game", "GAME", "the game number 0..23 (0 = 5/90, 1 = 6/45, 2 = 7/35, 8..16 = Keno)",
           true},
          {"--out", "VAR.top", "the variation file to write", true}},
         Import},
        {"stats",
         "GAME KIND",
         "one statistic (KIND 1..17) of the draws or of a variation, as one JSON object",
         2,
         2,
         {{"--first", "A", "the first draw of the range (default 1)"},
          {"--last", "B", "the last draw of the range (default the last)"},
          {"--top", "VAR.top", "the variation of the variation kinds 3, 10..16"},
          {"--csv", nullptr, "the table as CSV instead of JSON"}},
         Stats},
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
