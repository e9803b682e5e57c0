// The generator against the reference loop, in one run: the plain 5/90 ticket of all 90
// numbers with a sum of 200..250, and with no condition at all, each run in a process of its
// own so that its peak resident memory is its own.

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
};

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

Measured Generate(bool sum) {
    GenerationInput input;
    input.game = LoadGameInfo(0);
    for (int x = 1; x <= 90; ++x) {
        input.variationNumbers.push_back(static_cast<std::uint8_t>(x));
    }
    input.conditions.sum = {sum, false, 200, 250};
    AgreeingMessages messages;
    VariationStore store;
    Bontas engine(messages, store);
    const auto start = std::chrono::steady_clock::now();
    engine.BontasIndul(input);
    engine.Run();
    store.ShrinkToFit();
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), store.Count(), 0};
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

void Report(const char* what, const Measured& engine, const Measured& reference) {
    const double table = static_cast<double>(engine.rows) * 5 / 1024.0;
    std::printf("%s\n  generator: %.1f ms, %lld rows, peak %.1f MB (%.2f x the %.1f MB row table)\n"
                "  reference: %.1f ms, %lld rows\n  ratio: %.2f\n",
                what, engine.ms, engine.rows, engine.peakKb / 1024.0,
                table > 0 ? engine.peakKb / table : 0.0, table / 1024.0, reference.ms,
                reference.rows, reference.ms > 0 ? engine.ms / reference.ms : 0.0);
}

} // namespace

int main() {
    Report("5/90, all 90 numbers, sum 200..250", InChild([] { return Generate(true); }),
           Reference("200 250"));
    Report("5/90, all 90 numbers, no condition", InChild([] { return Generate(false); }),
           Reference("15 440"));
    return 0;
}
