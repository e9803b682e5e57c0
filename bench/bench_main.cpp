// Benchmarks of the core. The generator, the covering test and the variation test join here as
// they are built; for now the marking operation and the row summary are measured.

#include <benchmark/benchmark.h>

#include "common/messages.h"
#include "game/main_ticket.h"
#include "game/row_summary.h"

namespace {

class SilentMessages : public velmora::Messages {
public:
    void ShowWait(const std::string&, int) override {}
    void HideWait() override {}

protected:
    velmora::Answer Present(velmora::MessageKind, const std::string&) override {
        return velmora::Answer::No;
    }
};

void BM_MarkAllAndClear(benchmark::State& state) {
    SilentMessages messages;
    velmora::TicketLinks links;
    velmora::MainTicket ticket(messages, links);
    ticket.Rebuild(velmora::LoadGameInfo(0));
    for (auto _ : state) {
        ticket.MarkAll();
        ticket.ClearVariationNumbers();
    }
}
BENCHMARK(BM_MarkAllAndClear);

void BM_RowSummary(benchmark::State& state) {
    for (auto _ : state) {
        velmora::NumberRow row = {7, 81, 23, 45, 12, 66};
        benchmark::DoNotOptimize(velmora::SegedszelvenyInfo(row));
    }
}
BENCHMARK(BM_RowSummary);

} // namespace
