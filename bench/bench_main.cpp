// Benchmarks of the core. The generator, the covering test and the variation test join here as
// they are built.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/messages.h"
#include "draws/bundled_draws.h"
#include "draws/draws_store.h"
#include "draws/results_import.h"
#include "game/main_ticket.h"
#include "game/row_summary.h"
#include "stats/number_counts.h"

namespace {

using namespace velmora;

class SilentMessages : public Messages {
public:
    void ShowWait(const std::string&, int) override {}
    void HideWait() override {}

protected:
    Answer Present(MessageKind, const std::string&) override { return Answer::No; }
};

std::string ReadText(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ReadFileBytes(path, bytes);
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

// Parsing the bundled Keno results file (about 10 000 lines).
void BM_ParseKenoResults(benchmark::State& state) {
    const std::string text = ReadText(BundledDrawsFolder() + "keno.csv");
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
    const ResultsParse parse = ParseResultsFile(ReadText(BundledDrawsFolder() + "keno.csv"), keno);
    const std::vector<DrawRecord> draws = Chronological(parse.draws);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountNumbers(keno, draws, 1, static_cast<int>(draws.size())));
    }
}
BENCHMARK(BM_CountNumbersKeno)->Unit(benchmark::kMillisecond);

} // namespace
