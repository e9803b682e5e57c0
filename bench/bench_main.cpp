// Benchmarks of the core. The generator, the covering test and the variation test join here as
// they are built.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <utility>

#include <filesystem>
#include <algorithm>
#include <numeric>
#include <random>

#include "common/file_io.h"
#include "common/messages.h"
#include "conditions/filter.h"
#include "draws/bundled_draws.h"
#include "draws/draws_editor.h"
#include "draws/draws_search.h"
#include "draws/draws_store.h"
#include "draws/results_import.h"
#include "game/main_ticket.h"
#include "game/row_summary.h"
#include "settings/ini_file.h"
#include "stats/number_counts.h"
#include "stats/statistics.h"
#include "variation/bontas.h"
#include "variation/row_check.h"
#include "variation/variation_export.h"
#include "variation/variation_test.h"

namespace {

using namespace velmora;

class SilentMessages : public Messages {
public:
    void ShowWait(const std::string&, WaitPosition) override {}
    void HideWait() override {}

protected:
    Answer Present(MessageKind, const std::string&) override { return Answer::No; }
};

// Says Yes to every question (the growth questions of a large run).
class AgreeingMessages : public SilentMessages {
protected:
    Answer Present(MessageKind, const std::string&) override { return Answer::Yes; }
};

std::string ReadResultsText(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ReadFileBytes(path, kMaxResultsFileSize, bytes);
    return std::string(bytes.begin(), bytes.end());
}

void BM_MarkAllAndClear(benchmark::State& state) {
    SilentMessages messages;
    TicketLinks links;
    MainTicket ticket(messages, links);
    ticket.Rebuild(LoadGameInfo(0));
    for (auto _ : state) {
        ticket.MarkAll();
        ticket.ClearVariationNumbers();
    }
}
BENCHMARK(BM_MarkAllAndClear);

void BM_RowSummary(benchmark::State& state) {
    for (auto _ : state) {
        NumberRow row = {7, 81, 23, 45, 12, 66};
        benchmark::DoNotOptimize(SegedszelvenyInfo(row));
    }
}
BENCHMARK(BM_RowSummary);

// Reading a settings file of N keys, one section: the time per key stays flat as N grows (a
// hand-edited file of 200 000 keys once took 49 s at start-up).
void BM_ParseSettingsKeys(benchmark::State& state) {
    std::string text = "[Velmora]\n";
    for (long long i = 0; i < state.range(0); ++i) {
        text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    }
    for (auto _ : state) {
        const IniFile ini = IniFile::Parse(text);
        benchmark::DoNotOptimize(ini.ReadInteger("velmora", "key0", 0));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseSettingsKeys)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

// Parsing the bundled Keno results file (about 10 000 lines).
void BM_ParseKenoResults(benchmark::State& state) {
    const std::string text = ReadResultsText(BundledDrawsFolder() + "keno.csv");
    const GameInfo keno = LoadGameInfo(kFirstKeno);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseResultsFile(text, keno));
    }
}
BENCHMARK(BM_ParseKenoResults)->Unit(benchmark::kMillisecond);

// Loading the Keno database from its file, as a game switch does.
void BM_LoadKenoDatabase(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "velmora-bench";
    std::filesystem::create_directories(folder);
    SilentMessages messages;
    const std::string data = folder.string() + "/";
    ImportResultsFromFile(BundledDrawsFolder() + "keno.csv", kFirstKeno, data, 0, messages);
    const GameInfo keno = LoadGameInfo(kFirstKeno);
    DrawsStore store;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.HuzasokBe(data + "Keno.ldb", keno, messages));
    }
    state.counters["draws"] = store.Count();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadKenoDatabase)->Unit(benchmark::kMillisecond);

void BM_CountNumbersKeno(benchmark::State& state) {
    SilentMessages messages;
    const GameInfo keno = LoadGameInfo(kFirstKeno);
    const ResultsParse parse =
        ParseResultsFile(ReadResultsText(BundledDrawsFolder() + "keno.csv"), keno);
    const std::vector<DrawRecord> draws = Chronological(parse.draws);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountNumbers(keno, draws, 1, static_cast<int>(draws.size())));
    }
}
BENCHMARK(BM_CountNumbersKeno)->Unit(benchmark::kMillisecond);

// The bundled Keno draws, numbered as a database holds them.
std::vector<DrawRecord> KenoDraws() {
    const GameInfo keno = LoadGameInfo(kFirstKeno);
    std::vector<DrawRecord> draws = Chronological(
        ParseResultsFile(ReadResultsText(BundledDrawsFolder() + "keno.csv"), keno).draws);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        draws[i].drawNo = static_cast<std::int32_t>(i + 1);
    }
    return draws;
}

// The draws search of ten numbers over every Keno draw (target: 5 ms).
void BM_SearchKenoDraws(benchmark::State& state) {
    const GameInfo keno = LoadGameInfo(kFirstKeno);
    const std::vector<DrawRecord> draws = KenoDraws();
    const DrawSearchRow row{{3, 11, 19, 27, 35, 43, 51, 59, 67, 75}, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(SearchDraws(keno, draws, 1, static_cast<int>(draws.size()), row));
    }
}
BENCHMARK(BM_SearchKenoDraws)->Unit(benchmark::kMillisecond);

// Inserting a draw near the start of every Keno draw, undone and redone (target: 10 ms each).
void BM_UndoRedoKenoInsert(benchmark::State& state) {
    DrawsStore store;
    store.MutableDraws() = KenoDraws();
    store.MutableDraws().pop_back(); // a full database takes only appends
    DrawRanges ranges;
    ranges.Reset(store.Count());
    DrawsEditor editor(store, ranges);
    if (!editor.Insert(2, store.At(0))) {
        state.SkipWithError("nothing inserted");
        return;
    }
    for (auto _ : state) {
        editor.Undo();
        editor.Redo();
    }
}
BENCHMARK(BM_UndoRedoKenoInsert)->Unit(benchmark::kMillisecond);

// Saving every Keno draw through a temporary file (target: 20 ms).
void BM_SaveKenoDatabase(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "velmora-bench-save";
    std::filesystem::create_directories(folder);
    SilentMessages messages;
    DrawsStore store;
    store.MutableDraws() = KenoDraws();
    const std::string path = (folder / "Keno.ldb").string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.AdatbazisMentese(path, false, messages));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveKenoDatabase)->Unit(benchmark::kMillisecond);

// Every draws statistic over all bundled Keno draws (target: 20 ms each), by kind.
void BM_KenoDrawStatistic(benchmark::State& state) {
    const GameInfo keno = LoadGameInfo(kFirstKeno);
    const ResultsParse parse =
        ParseResultsFile(ReadResultsText(BundledDrawsFolder() + "keno.csv"), keno);
    const std::vector<DrawRecord> draws = Chronological(parse.draws);
    const auto kind = static_cast<StatKind>(state.range(0));
    const StatSamples samples = DrawSamples(keno, draws, 1, static_cast<int>(draws.size()));
    StatResult result;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SampleStatistic(kind, samples, keno.maxNumber, result));
    }
    state.counters["samples"] = static_cast<double>(samples.Count());
}
BENCHMARK(BM_KenoDrawStatistic)->DenseRange(4, 9)->Arg(17)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// Walks every combination of `size` numbers taken `n` at a time through the filter.
void RunFilter(benchmark::State& state, const ConditionSet& set, int size, int n,
               const std::vector<DrawRecord>* draws) {
    std::vector<std::uint8_t> v;
    for (int x = 1; x <= size; ++x) {
        v.push_back(static_cast<std::uint8_t>(x * 3 % 91 == 0 ? x : x * 3 % 91));
    }
    const NumberData data = SzamJelzoBeallitas(v, 90);
    ConditionFilter filter;
    filter.Prepare(set, data, LoadGameInfo(0), n, draws);
    std::vector<std::uint8_t> p(static_cast<std::size_t>(n));
    long long candidates = 0;
    long long passed = 0;
    for (auto _ : state) {
        std::iota(p.begin(), p.end(), 0);
        while (true) {
            WalkState walk{p.data(), n - 1, set.hitRatio.firstDraw - 1, 0, false};
            passed += filter.FeltVizsgalat(walk) ? 1 : 0;
            ++candidates;
            int i = n - 1;
            while (i >= 0 && p[static_cast<std::size_t>(i)] == size - n + i) {
                --i;
            }
            if (i < 0) {
                break;
            }
            ++p[static_cast<std::size_t>(i)];
            for (int j = i + 1; j < n; ++j) {
                p[static_cast<std::size_t>(j)] =
                    static_cast<std::uint8_t>(p[static_cast<std::size_t>(j - 1)] + 1);
            }
        }
    }
    state.SetItemsProcessed(candidates);
    state.counters["passed%"] =
        100.0 * static_cast<double>(passed) / static_cast<double>(candidates);
}

// Every structural condition active and loose enough that most rows reach the last test.
ConditionSet StructuralConditions() {
    ConditionSet s;
    s.mobile = {true, 3, 2};
    s.fixed = {true, 10, 4};
    s.favoured = {true, 1, 30, 0, 5};
    s.decadeParity = {true, true, 0, 5, true};
    s.decadeRepeat = {true, false, 0, 4};
    s.endingParity = {true, true, 0, 5, true};
    s.endingRepeat = {true, false, 0, 4};
    s.sum = {true, false, 5, 450};
    s.twins = {true, 0, 5};
    s.mirrors = {true, 0, 2};
    s.deviation = {true, 0.0f, 100.0f};
    s.span = {true, 1, 30};
    s.primes = {true, 0, 5};
    s.numberGroups.active = true;
    s.numberGroups.count = 2;
    s.numberGroups.groups[0] = {1, 15, 0, 5};
    s.numberGroups.groups[1] = {16, 30, 0, 5};
    return s;
}

void BM_FilterStructural(benchmark::State& state) {
    RunFilter(state, StructuralConditions(), 30, 5, nullptr);
}
BENCHMARK(BM_FilterStructural)->Unit(benchmark::kMillisecond);

// A hit ratio over the 3 573 bundled 5/90 draws: "Kizárt" 4..5 scans the whole range for most
// rows.
void BM_FilterHitRatio(benchmark::State& state) {
    const GameInfo game = LoadGameInfo(0);
    const std::vector<DrawRecord> draws = Chronological(
        ParseResultsFile(ReadResultsText(BundledDrawsFolder() + "otos.csv"), game).draws);
    ConditionSet set;
    set.hitRatio = {true, false, 4, 5, false, 1, static_cast<std::int32_t>(draws.size())};
    RunFilter(state, set, 30, 5, &draws);
}
BENCHMARK(BM_FilterHitRatio)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The full 5/90 ticket with a sum of 200..250: the engine against five nested loops that sum
// and append the passing rows, side by side.
GenerationInput FullTicketWithSum() {
    GenerationInput input;
    input.game = LoadGameInfo(0);
    for (int x = 1; x <= 90; ++x) {
        input.variationNumbers.push_back(static_cast<std::uint8_t>(x));
    }
    input.conditions.sum = {true, false, 200, 250};
    input.allowedRows = 20000000;
    return input;
}

void BM_GenerateSum200To250(benchmark::State& state) {
    SilentMessages messages;
    const GenerationInput input = FullTicketWithSum();
    long long rows = 0;
    for (auto _ : state) {
        VariationStore store;
        Bontas engine(messages, store);
        engine.BontasIndul(input);
        engine.Run();
        rows = store.Count();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_GenerateSum200To250)->Unit(benchmark::kMillisecond);

void BM_NestedLoopsSum200To250(benchmark::State& state) {
    long long rows = 0;
    for (auto _ : state) {
        std::vector<std::uint8_t> table;
        table.reserve(20000000ULL * 5);
        for (int a = 0; a < 86; ++a) {
            for (int b = a + 1; b < 87; ++b) {
                for (int c = b + 1; c < 88; ++c) {
                    for (int d = c + 1; d < 89; ++d) {
                        for (int e = d + 1; e < 90; ++e) {
                            const int sum = a + b + c + d + e + 5;
                            if (sum >= 200 && sum <= 250) {
                                table.insert(table.end(), {static_cast<std::uint8_t>(a),
                                                           static_cast<std::uint8_t>(b),
                                                           static_cast<std::uint8_t>(c),
                                                           static_cast<std::uint8_t>(d),
                                                           static_cast<std::uint8_t>(e)});
                            }
                        }
                    }
                }
            }
        }
        rows = static_cast<long long>(table.size() / 5);
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_NestedLoopsSum200To250)->Unit(benchmark::kMillisecond);

// Error-point variations with the covering test as written (newest row first, merge walk)
// and in its bit-set form, side by side: N numbers of 5/90 (k' = 5) or 6/45 (k' = 6).
void BM_ErrorPoints(benchmark::State& state) {
    SilentMessages messages;
    GenerationInput input;
    input.game = LoadGameInfo(state.range(3) == 5 ? 0 : 1);
    for (int x = 1; x <= state.range(0); ++x) {
        input.variationNumbers.push_back(static_cast<std::uint8_t>(x));
    }
    input.conditions.errorPoints = static_cast<std::int32_t>(state.range(1));
    long long rows = 0;
    for (auto _ : state) {
        VariationStore store;
        Bontas engine(messages, store);
        // 1: the merge walk as written; 0: the bit-set form.
        engine.useLiteralCovering = state.range(2) == 1;
        engine.BontasIndul(input);
        engine.Run();
        rows = store.Count();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
void ErrorPointCases(benchmark::internal::Benchmark* b) {
    for (int k : {5, 6}) {
        for (auto [n, h] : {std::pair{20, 1}, {20, 2}, {25, 1}, {25, 2}, {30, 2}}) {
            for (int literal : {1, 0}) {
                b->Args({n, h, literal, k});
            }
        }
    }
}
BENCHMARK(BM_ErrorPoints)
    ->ArgNames({"N", "h", "literal", "k"})
    ->Apply(ErrorPointCases)
    ->Unit(benchmark::kMillisecond);

// A million rows of a 6/45 variation over 33 numbers (the first million of C(33, 6)), as the
// list window and the check ticket see them. Targets: the row sets built (the list opens)
// within 0.5 s, the check ticket's counts within 50 ms, a row's hit profile within 20 ms.
const VariationStore& MillionRows() {
    static VariationStore store = [] {
        VariationStore rows;
        rows.Reset(6, 33);
        rows.Reserve(1000000);
        std::uint8_t p[6] = {0, 1, 2, 3, 4, 5};
        for (long long r = 0; r < 1000000; ++r) {
            rows.Append(p);
            int i = 5;
            while (i >= 0 && p[i] == 33 - 6 + i) {
                --i;
            }
            if (i < 0) {
                break; // every combination made
            }
            ++p[i];
            for (int j = i + 1; j < 6; ++j) {
                p[j] = static_cast<std::uint8_t>(p[j - 1] + 1);
            }
        }
        return rows;
    }();
    return store;
}

ExportSource ThirtyThreeNumbers() {
    ExportSource source;
    for (int n = 1; n <= 33; ++n) {
        source.numbers.push_back(static_cast<std::uint8_t>(n));
    }
    return source;
}

void BM_ListRowSets(benchmark::State& state) {
    const VariationStore& store = MillionRows();
    const ExportSource source = ThirtyThreeNumbers();
    for (auto _ : state) {
        RowSets rows(store, source);
        benchmark::DoNotOptimize(rows.Count());
    }
}
BENCHMARK(BM_ListRowSets)->Unit(benchmark::kMillisecond);

void BM_CheckTicketCounts(benchmark::State& state) {
    const RowSets rows(MillionRows(), ThirtyThreeNumbers());
    const CheckRow check{{3, 8, 13, 21, 27, 33}, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountHits(rows, check, 6, true));
    }
}
BENCHMARK(BM_CheckTicketCounts)->Unit(benchmark::kMillisecond);

void BM_ListHitProfile(benchmark::State& state) {
    const RowSets rows(MillionRows(), ThirtyThreeNumbers());
    for (auto _ : state) {
        benchmark::DoNotOptimize(rows.HitProfile(123456, 6));
    }
}
BENCHMARK(BM_ListHitProfile)->Unit(benchmark::kMillisecond);

// The worst search: the next row of a level no row after the start reaches (a full scan).
void BM_ListSearchNextRow(benchmark::State& state) {
    const RowSets rows(MillionRows(), ThirtyThreeNumbers());
    const CheckRow check{{1, 2, 3, 4, 5, 6}, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindRowAtLevel(rows, check, 6, true, 6, 1, true));
    }
}
BENCHMARK(BM_ListSearchNextRow)->Unit(benchmark::kMillisecond);

// "Rendezés" then "Eredeti sorrend" on the million rows in a shuffled order (target: the sort
// within 1 s).
void BM_SortAndRestoreMillionRows(benchmark::State& state) {
    const VariationStore& rows = MillionRows();
    std::vector<long long> order(static_cast<std::size_t>(rows.Count()));
    std::iota(order.begin(), order.end(), 0LL);
    std::shuffle(order.begin(), order.end(), std::mt19937(5));
    VariationStore shuffled;
    shuffled.Reset(6, 33);
    shuffled.Reserve(rows.Count());
    for (long long r : order) {
        shuffled.Append(rows.Row(r));
    }
    for (auto _ : state) {
        shuffled.Sort();
        shuffled.RestoreOriginalOrder();
    }
}
BENCHMARK(BM_SortAndRestoreMillionRows)->Unit(benchmark::kMillisecond);

// Every variation statistic over the million rows (target: 200 ms each on one core), by kind;
// hit ratios are refused at this size.
void BM_MillionRowStatistic(benchmark::State& state) {
    ExportSource source = ThirtyThreeNumbers();
    const StatSamples samples = VariationSamples(LoadGameInfo(1), MillionRows(), source);
    const auto kind = static_cast<StatKind>(state.range(0));
    StatResult result;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SampleStatistic(kind, samples, 45, result));
    }
}
BENCHMARK(BM_MillionRowStatistic)
    ->Arg(3)
    ->Arg(10)
    ->Arg(11)
    ->Arg(13)
    ->Arg(14)
    ->Arg(15)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);

// The variation test side by side: the merge walk over every row on one thread, and the
// bit-set scan that stops at the best possible hit, split over two threads.
//   0: the full 6-of-16 variation (8 008 rows), d = 6
//   1: a one-error-point 6/45 variation of 25 numbers, d = 6
//   2: the same, d = 5
//   3: 5/90, 22 numbers with a sum condition 50..160 (a plain variation of most of
//      C(22, 5) = 26 334 rows), d = 5
void BM_VariationTest(benchmark::State& state) {
    SilentMessages messages;
    GenerationInput input;
    const int which = static_cast<int>(state.range(0));
    input.game = LoadGameInfo(which == 3 ? 0 : 1);
    const int numbers = which == 0 ? 16 : which == 3 ? 22 : 25;
    for (int x = 1; x <= numbers; ++x) {
        input.variationNumbers.push_back(static_cast<std::uint8_t>(x * (which == 3 ? 4 : 1)));
    }
    if (which == 1 || which == 2) {
        input.conditions.errorPoints = 1;
    }
    if (which == 3) {
        input.conditions.sum = {true, false, 150, 300};
    }
    VariationStore store;
    Bontas engine(messages, store);
    engine.BontasIndul(input);
    engine.Run();
    VariationTestInput test;
    test.game = input.game;
    test.variationNumbers = input.variationNumbers;
    test.conditions = input.conditions;
    test.drawn = which == 0 || which == 1 ? 6 : 5;
    test.conditionsMode = true;
    test.threads = 2;
    const bool literal = state.range(1) == 1;
    unsigned long long cases = 0;
    for (auto _ : state) {
        VariationTest run(test, store);
        run.BontasGepiEllenorzes(literal);
        cases = run.Examined();
    }
    state.counters["rows"] = static_cast<double>(store.Count());
    state.counters["cases"] = static_cast<double>(cases);
}
BENCHMARK(BM_VariationTest)
    ->ArgNames({"case", "literal"})
    ->ArgsProduct({{0, 1, 2, 3}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Peak memory of a plain variation of about ten million rows (5/90, sum 210..245:
// 10 618 534 rows), from the default allowed row count upwards: the row table grows by
// doubling, so the peak holds the old and the new table while the rows move.
long long PeakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stoll(line.substr(6));
        }
    }
    return 0;
}
long long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stoll(line.substr(6));
        }
    }
    return 0;
}

void BM_PeakMemoryTenMillionRows(benchmark::State& state) {
    AgreeingMessages messages;
    GenerationInput input = FullTicketWithSum();
    input.conditions.sum = {true, false, 210, 245};
    input.allowedRows = kDefaultAllowedRows;
    long long rows = 0;
    long long peak = 0;
    long long table = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to the current size
        const long long before = ResidentKilobytes();
        VariationStore store;
        Bontas engine(messages, store);
        engine.BontasIndul(input);
        engine.Run();
        engine.Vege();
        rows = store.Count();
        table = ResidentKilobytes() - before;
        peak = PeakResidentKilobytes() - before;
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["table_MB"] = static_cast<double>(table) / 1024.0;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
    state.counters["bytes_per_row"] =
        static_cast<double>(table) * 1024.0 / static_cast<double>(rows);
}
BENCHMARK(BM_PeakMemoryTenMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
