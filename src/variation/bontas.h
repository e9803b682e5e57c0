#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/bit_set_128.h"
#include "common/messages.h"
#include "conditions/condition_set.h"
#include "conditions/filter.h"
#include "conditions/number_data.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"
#include "variation/variation_store.h"

// The variation engine: enumerates the combinations of the variation numbers in lexicographic
// order, lets the conditions and the error-point test judge each, and stores the accepted ones.
// It runs on a worker thread; the window reads its counters and sets its stop and pause flags.
namespace velmora {

inline constexpr long long kDefaultAllowedRows = 100000;
inline constexpr long long kRowLimit = 100000000;

// What a run is built from.
struct GenerationInput {
    GameInfo game;
    std::vector<std::uint8_t> variationNumbers; // V, in the main ticket's order
    int fixedCount = 0;
    ConditionSet conditions;
    const std::vector<DrawRecord>* draws = nullptr;
    long long allowedRows = kDefaultAllowedRows;
    // Free physical memory for the growth checks; unknown = no limit.
    long long availableMemory = -1;
};

class Bontas {
public:
    Bontas(Messages& messages, VariationStore& store);

    // C(n, k) as the engine computes it (rounded from floating point, as a signed 64-bit value).
    static long long TeljBontSzelvszam(int n, int k);

    // Prepares a run: sizes, bounds, the store, the filter. False when nothing can run.
    bool BontasIndul(const GenerationInput& input);
    // The pass driver: one pass without error points, the passes of the reduced variation
    // otherwise. Returns when the run is complete or stopped.
    void Start();
    // One enumeration pass; true when it ran to its end.
    bool BontasGeneralas();
    // The error-point acceptance test of the current candidate (rejecting may move the walk).
    // It gives the decisions of the merge walk over the stored rows, newest first, on a bit set
    // of each row's positions; `useLiteralCovering` runs the merge walk itself (tests and
    // benchmarks compare the two).
    bool HibapontosBontas();
    bool useLiteralCovering = false;

    // Stop button: the run ends as stopped.
    void BontasMegszakitasa() { m_running = false; }
    bool Running() const { return m_running; }
    long long StoredRows() const { return m_storedRows.load(std::memory_order_relaxed); }
    long long TotalCombinations() const { return m_total; }
    int RowLength() const { return m_k; }
    std::uint16_t PassedConditions() const { return m_filter.PassedConditions(); }
    // The text of the error box shown when a finished run stored nothing; empty otherwise.
    std::string EmptyResultText() const;
    // The positions of V that no stored row contains, as numbers.
    std::vector<std::uint8_t> MissingNumbers() const;

private:
    bool BontasTarol();
    bool LiteralCovering(int allowance);
    bool FastCovering(int allowance);
    bool Grow();
    void SkipCovered(int j);

    Messages& m_messages;
    VariationStore& m_store;
    GenerationInput m_input;
    NumberData m_data;
    ConditionFilter m_filter;
    bool m_conditionsActive = false;
    int m_n = 0;    // N, the variation numbers
    int m_k = 0;    // k', the row length enumerated
    int m_last = 0; // k' - 1
    int m_h = 0;    // error points
    long long m_total = 0;
    // Each stored row's positions as a bit set, kept while the covering test needs them.
    static BitSet128 SetOf(const std::uint8_t* row, int width);
    std::vector<BitSet128> m_rowSets;
    std::vector<std::uint8_t> m_position;
    std::vector<std::uint8_t> m_lower;
    std::vector<std::uint8_t> m_upper;
    WalkState m_walk;
    int m_passCounter = 0;
    int m_passLevel = 0;
    bool m_morePasses = false;
    std::atomic<bool> m_running{false};
    std::atomic<long long> m_storedRows{0};
};

} // namespace velmora
