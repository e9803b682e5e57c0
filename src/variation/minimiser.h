#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "conditions/condition_set.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"

// Fewer rows for the same guarantee: a local search over the rows of a reduced variation
// (simulated annealing, one row changed by one position at a time) that keeps, for every
// candidate, how many rows share enough positions with it. Every row it holds passes the
// conditions, and a variation it returns covers every candidate that passes them.
namespace velmora {

using MinimiserRow = std::vector<std::uint8_t>; // ascending positions into V

// The candidates (the k'-subsets of N positions, indexed by their colex rank) that pass the
// conditions: the ones a variation must cover and the only ones it may hold. Without an
// active condition every candidate passes.
std::vector<std::uint8_t> PassingCandidates(const ConditionSet& conditions,
                                            const std::vector<std::uint8_t>& variationNumbers,
                                            const GameInfo& game, int k,
                                            const std::vector<DrawRecord>* draws);

// The colex rank of ascending positions: the index of the combination among C(N, k).
unsigned long long ColexRank(const std::uint8_t* positions, int k);

// The fewest rows any variation of N numbers in rows of k' can hold when every k'-row must
// share at least `needed` positions with one of its rows, as far as it is known without
// conditions: exact where the answer is plain, otherwise the counting bound (the candidates
// divided by the candidates one row covers).
long long CoveringLowerBound(int n, int k, int needed);

// The largest problem the search takes: the candidates it keeps counts for.
inline constexpr unsigned long long kMaxMinimiserCandidates = 5'000'000;

struct MinimiserInput {
    int n = 0;                      // N
    int k = 0;                      // k'
    int needed = 0;                 // the positions a row must share with a candidate to cover it
    std::vector<MinimiserRow> rows; // the variation to improve, covering every candidate
    std::vector<std::uint8_t> passing; // PassingCandidates; empty: every candidate
    double seconds = 30;               // wall time, unless a seed is given
    int threads = 1; // searches on alternating schedules, the best kept (within 1 GB of counts)
    std::optional<std::uint64_t> seed; // reproducible: the budget is counted in moves
    long long stopAt = 0;              // ends as soon as a variation this small is found
};

// Read from other threads while the search runs.
struct MinimiserProgress {
    std::atomic<long long> rowsNow{0};      // the rows of the first search's current state
    std::atomic<long long> uncoveredNow{0}; // the candidates that state leaves uncovered
    std::atomic<long long> best{0};         // the fewest rows of a complete variation so far
    std::atomic<long long> moves{0};        // moves tried, all searches
    std::atomic<bool> stop{false};          // ends the search; the best so far is kept
};

struct MinimiserResult {
    std::vector<MinimiserRow> rows; // ascending; the input's rows when nothing smaller was found
    bool improved = false;
    long long moves = 0;
};

// The moves of one second of a seeded search, per search: what makes it reproducible.
inline constexpr long long kSeededMovesPerSecond = 1'000'000;

// Runs the search; returns when the time or the moves are spent, the goal is reached or
// `progress.stop` is set. An input that does not cover every passing candidate, or a problem
// over kMaxMinimiserCandidates, returns the input's rows unimproved.
MinimiserResult MinimiseRows(const MinimiserInput& input, MinimiserProgress& progress);

// Whether `rows` cover every passing candidate (every row sharing `needed` positions).
bool CoversEveryCandidate(int n, int k, int needed, const std::vector<MinimiserRow>& rows,
                          const std::vector<std::uint8_t>& passing);

} // namespace velmora
