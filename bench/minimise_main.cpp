// The minimiser on the reduced variations whose smallest known sizes are published: the
// greedy variation, then the minimised one, against the best known size, within a time limit
// on every core (or until the best known size is reached).
//   velmora_bench_minimise [seconds] [threads]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "variation/bontas.h"
#include "variation/minimiser.h"

using namespace velmora;

namespace {

class SilentMessages : public Messages {
public:
    void ShowWait(const std::string&, WaitPosition) override {}
    void HideWait() override {}

protected:
    Answer Present(MessageKind, const std::string&) override { return Answer::Yes; }
};

// The greedy variation of N numbers of the game whose rows hold k numbers, h error points.
GenerationInput Ticket(int n, int k, int h) {
    const GameId game = k == 5 ? 0 : k == 6 ? 1 : 2;
    GenerationInput input;
    input.game = LoadGameInfo(game);
    for (int x = 1; x <= n; ++x) {
        input.variationNumbers.push_back(static_cast<std::uint8_t>(x));
    }
    input.conditions.errorPoints = h;
    return input;
}

std::vector<MinimiserRow> Greedy(const GenerationInput& input) {
    SilentMessages messages;
    VariationStore store;
    Bontas engine(messages, store);
    engine.BontasIndul(input);
    engine.Run();
    std::vector<MinimiserRow> rows;
    for (long long r = 0; r < store.Count(); ++r) {
        rows.emplace_back(store.Row(r), store.Row(r) + store.RowWidth());
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30;
    const int threads =
        argc > 2 ? std::atoi(argv[2]) : static_cast<int>(std::thread::hardware_concurrency());
    struct Case {
        int n, k, h;
        long long bestKnown;
    };
    const Case cases[] = {
        {12, 5, 1, 35}, {16, 5, 1, 152}, {11, 6, 1, 22}, {12, 6, 2, 6}, {10, 7, 1, 8}};
    std::printf("N, k', h: greedy rows -> minimised rows (best known, counting bound), seconds\n");
    for (const Case& c : cases) {
        MinimiserInput input;
        input.n = c.n;
        input.k = c.k;
        input.needed = c.k - c.h;
        input.rows = Greedy(Ticket(c.n, c.k, c.h));
        input.seconds = seconds;
        input.threads = threads;
        input.stopAt = c.bestKnown;
        MinimiserProgress progress;
        const auto start = std::chrono::steady_clock::now();
        const MinimiserResult result = MinimiseRows(input, progress);
        const double spent =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double above = 100.0 * static_cast<double>(result.rows.size() - c.bestKnown) /
                             static_cast<double>(c.bestKnown);
        std::printf("%d, %d, %d: %zu -> %zu rows (best known %lld, %+.0f%%; bound %lld), %.1f s, "
                    "%lld moves\n",
                    c.n, c.k, c.h, input.rows.size(), result.rows.size(), c.bestKnown, above,
                    CoveringLowerBound(c.n, c.k, c.k - c.h), spent, result.moves);
        std::fflush(stdout);
    }

    // With a condition: 6/45, the 20 odd numbers 1..39, sum 90..150, one error point. The rows to
    // cover and the rows allowed are the ones whose sum lies within the limits.
    GenerationInput ticket = Ticket(20, 6, 1);
    for (int i = 0; i < 20; ++i) {
        ticket.variationNumbers[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(2 * i + 1);
    }
    ticket.conditions.sum = {true, false, 90, 150};
    MinimiserInput input;
    input.n = 20;
    input.k = 6;
    input.needed = 5;
    input.rows = Greedy(ticket);
    input.passing =
        PassingCandidates(ticket.conditions, ticket.variationNumbers, ticket.game, 6, nullptr);
    input.seconds = seconds;
    input.threads = threads;
    MinimiserProgress progress;
    const auto start = std::chrono::steady_clock::now();
    const MinimiserResult result = MinimiseRows(input, progress);
    const double spent =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "20 odd numbers, 6, 1, sum 90..150: %zu -> %zu rows (guarantee %s), %.1f s, %lld moves\n",
        input.rows.size(), result.rows.size(),
        CoversEveryCandidate(20, 6, 5, result.rows, input.passing) ? "kept" : "BROKEN", spent,
        result.moves);
    return 0;
}
