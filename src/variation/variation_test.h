#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/bit_set_128.h"
#include "conditions/condition_set.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "variation/variation_store.h"

// The variation test: for every way d of the variation numbers can be drawn, the best hit of
// the variation's rows, tabulated per hit level, with the first cases of each level below a
// full hit kept as missing rows.
namespace velmora {

inline constexpr int kKeptCasesPerLevel = 1000;

struct VariationTestInput {
    GameInfo game;
    std::vector<std::uint8_t> variationNumbers; // V
    int fixedCount = 0;                         // F
    int drawn = 0;                              // d
    bool conditionsMode = true;                 // " Feltételek vizsgálata"
    ConditionSet conditions;
    const std::vector<DrawRecord>* draws = nullptr;
    bool drawsList = false; // the rows hold numbers, not positions
    bool extended = false;  // the variation holds added blocks
    int threads = 1;
};

// The tables of a run, also while it runs (the counters are read from another thread).
struct VariationTestResult {
    unsigned long long total = 0;           // C(N, d)
    unsigned long long examined = 0;        // cases examined
    unsigned long long passed = 0;          // cases that met every active condition
    std::vector<unsigned long long> all;    // per hit level 0 .. F + d (fixed numbers included)
    std::vector<unsigned long long> failed; // of those, the cases that failed the conditions
    // Per level below k': the first cases in enumeration order, as positions.
    std::vector<std::vector<std::vector<std::uint8_t>>> kept;
};

class VariationTest {
public:
    // `store` is read while the test runs and must not change meanwhile.
    VariationTest(const VariationTestInput& input, const VariationStore& store);
    ~VariationTest();
    VariationTest(const VariationTest&) = delete;
    VariationTest& operator=(const VariationTest&) = delete;

    // Runs the whole test on `input.threads` threads (1: on this one); returns when done or
    // stopped. `literal` runs the merge walk over every row, single-threaded: the reference.
    void BontasGepiEllenorzes(bool literal = false);
    // Also before the run has begun: it then ends at once.
    void Stop() {
        m_stopped = true;
        m_running = false;
    }
    bool Running() const { return m_running; }
    // True when the last run went through every case.
    bool Finished() const { return m_finished; }

    // The tables so far (partial while running).
    VariationTestResult Snapshot() const;
    unsigned long long Examined() const;
    unsigned long long Total() const { return m_total; }

    // Surplus rows found by a finished test with d = k' (0 otherwise).
    long long DuplicateRows() const;

    int RowLength() const { return m_k; }
    const VariationTestInput& Input() const { return m_input; }

private:
    struct Slice; // the cases one thread examines
    void RunSlice(Slice& part, bool literal);
    std::vector<std::uint8_t> RowPositions(long long r) const;

    VariationTestInput m_input;
    const VariationStore& m_store;
    int m_n = 0; // N, the variation numbers
    int m_k = 0; // k', the numbers of V in a row
    unsigned long long m_total = 0;
    std::vector<int> m_positionOf;
    std::vector<BitSet128> m_rowSets;
    std::vector<std::vector<std::uint8_t>> m_rowPositions; // for the literal walk only
    // Rebuilt by each run while another thread may read the tables.
    mutable std::mutex m_partsLock;
    std::vector<std::unique_ptr<Slice>> m_parts;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopped{false};
    bool m_finished = false;
};

// How far a running test is, and the time its rest will take judged by the time so far.
struct TestProgress {
    int percent = 0;
    double remainingMs = 0;
};
TestProgress EstimateTestProgress(unsigned long long examined, unsigned long long total,
                                  long long elapsedMs);

// A test whose rest would take longer than a day is stopped with this text.
inline constexpr long long kTestDayMs = 24LL * 3600 * 1000;
extern const char* const kTestDayLimitText;

// " + F fix" after a count of numbers when the rows carry F fixed numbers; empty without them.
std::string FixedNumbersSuffix(int fixed);

// The report of the test (`BontasTesztLista`).
std::string BontasTesztLista(const VariationTestInput& input, const VariationTestResult& result);
// The missing-row list of hit level `level` (`BontasTesztHianyzoLista`).
std::string BontasTesztHianyzoLista(const VariationTestInput& input,
                                    const VariationTestResult& result, int level);
// Whether the kept cases of `level` may be inserted into the variation.
bool InsertAllowed(const VariationTestInput& input, const VariationTestResult& result, int level,
                   int rowLength, long long storedRows);
// The error box about surplus rows; empty when there are none.
std::string DuplicateRowsText(long long surplus);

} // namespace velmora
