// The generator against the reference loop, in one run: the plain 5/90 ticket of all 90
// numbers with a sum of 200..250, and with no condition at all, each run in a process of its
// own so that its peak resident memory is its own. Every generator case runs once more with
// the walk's shortcuts off (every prefix descended into, every last position examined alone),
// and the two row tables are compared.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "variation/bontas.h"

using namespace velmora;

namespace {

// Says Yes to every question (the growth questions of a large run).
class AgreeingMessages : public Messages {
public:
    void ShowWait(const std::string&, WaitPosition) override {}
    void HideWait() override {}

protected:
    Answer Present(MessageKind, const std::string&) override { return Answer::Yes; }
};

struct Measured {
    double ms = 0;
    long long rows = 0;
    long peakKb = 0;
    std::uint64_t digest = 0; // of the row table, in order
};

std::uint64_t Digest(const VariationStore& store) {
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    const auto width = static_cast<std::size_t>(store.RowWidth());
    for (long long r = 0; r < store.Count(); ++r) {
        const std::uint8_t* row = store.Row(r);
        for (std::size_t i = 0; i < width; ++i) {
            hash = (hash ^ row[i]) * 1099511628211ULL;
        }
    }
    return hash;
}

// Runs `work` in a child process; its time, its rows and its peak resident memory.
template <typename Work>
Measured InChild(Work work) {
    int ends[2];
    if (pipe(ends) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        const Measured measured = work();
        if (write(ends[1], &measured, sizeof measured) != sizeof measured) {
            _exit(1);
        }
        _exit(0);
    }
    close(ends[1]);
    Measured measured;
    if (read(ends[0], &measured, sizeof measured) != sizeof measured) {
        measured = {};
    }
    close(ends[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    measured.peakKb = usage.ru_maxrss;
    return measured;
}

GenerationInput Ticket(GameId game, int numbers) {
    GenerationInput input;
    input.game = LoadGameInfo(game);
    for (int x = 1; x <= numbers; ++x) {
        input.variationNumbers.push_back(static_cast<std::uint8_t>(x));
    }
    input.allowedRows = 100'000'000;
    return input;
}

Measured Generate(const GenerationInput& input, bool shortcuts) {
    return InChild([&input, shortcuts] {
        AgreeingMessages messages;
        VariationStore store;
        Bontas engine(messages, store);
        engine.useLastLevelRuns = shortcuts;
        engine.usePrefixBounds = shortcuts;
        const auto start = std::chrono::steady_clock::now();
        engine.BontasIndul(input);
        engine.Run();
        store.ShrinkToFit();
        const auto end = std::chrono::steady_clock::now();
        return Measured{std::chrono::duration<double, std::milli>(end - start).count(),
                        store.Count(), 0, Digest(store)};
    });
}

// The reference loop's own report: "rows: R  combinations: C  ms: T".
Measured Reference(const std::string& arguments) {
    const std::string command = std::string(VELMORA_REFERENCE_LOOP) + " " + arguments;
    return InChild([&command] {
        Measured measured;
        if (FILE* out = popen(command.c_str(), "r")) {
            unsigned long long combinations = 0;
            if (std::fscanf(out, "rows: %lld  combinations: %llu  ms: %lf", &measured.rows,
                            &combinations, &measured.ms) != 3) {
                measured = {};
            }
            pclose(out);
        }
        return measured;
    });
}

void Report(const char* what, const GenerationInput& input, const Measured* reference) {
    const Measured engine = Generate(input, true);
    const Measured plain = Generate(input, false);
    const double table =
        static_cast<double>(engine.rows) * static_cast<double>(input.game.rowLength) / 1024.0;
    std::printf("%s\n  generator: %.1f ms, %lld rows, peak %.1f MB", what, engine.ms, engine.rows,
                engine.peakKb / 1024.0);
    if (table >= 1024) { // the ratio means little beside the program's own few megabytes
        std::printf(" (%.2f x the %.1f MB row table)", engine.peakKb / table, table / 1024.0);
    }
    std::printf("\n  shortcuts off: %.1f ms, %lld rows, identical rows: %s\n", plain.ms, plain.rows,
                engine.rows == plain.rows && engine.digest == plain.digest ? "yes" : "NO");
    if (reference != nullptr) {
        std::printf("  reference: %.1f ms, %lld rows\n  ratio: %.2f\n", reference->ms,
                    reference->rows, reference->ms > 0 ? engine.ms / reference->ms : 0.0);
    }
}

} // namespace

int main() {
    GenerationInput sum = Ticket(0, 90);
    sum.conditions.sum = {true, false, 200, 250};
    const Measured sumReference = Reference("200 250");
    Report("5/90, all 90 numbers, sum 200..250", sum, &sumReference);

    const Measured plainReference = Reference("15 440");
    Report("5/90, all 90 numbers, no condition", Ticket(0, 90), &plainReference);

    GenerationInput several = Ticket(0, 90);
    several.conditions.sum = {true, false, 200, 250};
    several.conditions.endingParity = {true, true, 2, 3, true};
    several.conditions.primes = {true, 0, 1};
    several.conditions.span = {true, 5, 80};
    Report("5/90, all 90 numbers, sum 200..250, 2..3 even, 0..1 primes, span 5..80", several,
           nullptr);

    GenerationInput reduced = Ticket(1, 25);
    reduced.conditions.errorPoints = 1;
    Report("6/45, 25 numbers, one error point", reduced, nullptr);

    GenerationInput reducedSum = Ticket(1, 25);
    reducedSum.conditions.errorPoints = 1;
    reducedSum.conditions.sum = {true, false, 60, 100};
    Report("6/45, 25 numbers, one error point, sum 60..100", reducedSum, nullptr);
    return 0;
}
