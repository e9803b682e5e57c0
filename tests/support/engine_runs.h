#pragma once

// Shared by the engine tests: running a generation and looking at its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "support/fake_messages.h"
#include "variation/bontas.h"

namespace velmora::testing {

using Row = std::vector<std::uint8_t>;

inline std::vector<std::uint8_t> FirstNumbers(int count) {
    std::vector<std::uint8_t> v(static_cast<std::size_t>(count));
    std::iota(v.begin(), v.end(), 1);
    return v;
}

inline std::vector<Row> StoredRows(const VariationStore& store) {
    std::vector<Row> rows;
    for (long long r = 0; r < store.Count(); ++r) {
        rows.emplace_back(store.Row(r), store.Row(r) + store.RowWidth());
    }
    return rows;
}

inline int Common(const Row& a, const Row& b) {
    int common = 0;
    for (std::uint8_t x : a) {
        common += std::count(b.begin(), b.end(), x) > 0 ? 1 : 0;
    }
    return common;
}

// Every combination of `n` positions taken `k` at a time, in lexicographic order.
inline std::vector<Row> AllRows(int n, int k) {
    std::vector<Row> rows;
    std::vector<bool> taken(static_cast<std::size_t>(n), false);
    std::fill(taken.begin(), taken.begin() + k, true);
    do {
        rows.emplace_back();
        for (int i = 0; i < n; ++i) {
            if (taken[static_cast<std::size_t>(i)]) {
                rows.back().push_back(static_cast<std::uint8_t>(i));
            }
        }
    } while (std::prev_permutation(taken.begin(), taken.end()));
    return rows;
}

// Every k-combination of 0..n-1 shares at least `needed` positions with some row.
inline void ExpectCovers(const std::vector<Row>& rows, int n, int k, int needed) {
    for (const Row& candidate : AllRows(n, k)) {
        int best = 0;
        for (const Row& row : rows) {
            best = std::max(best, Common(candidate, row));
        }
        ASSERT_GE(best, needed);
    }
}

struct EngineRun {
    explicit EngineRun(const GenerationInput& in, long long allowed = kDefaultAllowedRows)
        : input(in) {
        input.allowedRows = allowed;
    }
    bool Go() {
        if (!engine.BontasIndul(input)) {
            return false;
        }
        engine.Run();
        outcome = engine.Vege();
        return true;
    }
    GenerationInput input;
    FakeMessages messages;
    VariationStore store;
    Bontas engine{messages, store};
    GenerationOutcome outcome;
};

inline GenerationInput Input(std::vector<std::uint8_t> numbers, const ConditionSet& conditions,
                             GameId game = 0) {
    GenerationInput input;
    input.game = LoadGameInfo(game);
    input.variationNumbers = std::move(numbers);
    input.conditions = conditions;
    return input;
}

inline int Between(std::mt19937& random, int low, int high) {
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
}

// `count` different numbers of 1..maxNumber in a random order.
inline std::vector<std::uint8_t> RandomNumbers(std::mt19937& random, int count, int maxNumber) {
    std::vector<std::uint8_t> v = FirstNumbers(maxNumber);
    std::shuffle(v.begin(), v.end(), random);
    v.resize(static_cast<std::size_t>(count));
    return v;
}

// A random set of conditions over n numbers and rows of k: the sum alone (which the walk
// settles in runs of last positions), or several conditions, some of which bound prefixes.
inline ConditionSet RandomConditions(std::mt19937& random, int round, int n, int k) {
    ConditionSet set;
    const int low = Between(random, k, 30 * k);
    const bool sum = round % 4 != 0;
    set.sum = {sum, round % 2 == 0, low, low + Between(random, 0, 40 * k)};
    if (round % 3 == 0) {
        return set; // the sum alone, or nothing
    }
    auto half = [&random] { return random() % 2 == 0; };
    const int first = Between(random, 1, n);
    set.favoured = {half(), first, Between(random, first, n), Between(random, 0, 2),
                    Between(random, 1, k)};
    set.span = {half() && half(), Between(random, 1, 3), Between(random, n - 3, n)};
    set.mobile = {half() && half(), Between(random, 2, 5), Between(random, 1, 3)};
    set.fixed = {half() && half(), Between(random, 2, 5), Between(random, 1, 3)};
    set.decadeParity = {half(), half(), Between(random, 0, k), Between(random, 0, k), half()};
    set.endingParity = {half(), half(), Between(random, 0, k), Between(random, 0, k), half()};
    set.twins = {half() && half(), 0, Between(random, 0, 2)};
    set.primes = {half(), Between(random, 0, 2), Between(random, 1, k)};
    set.decadeRepeat = {half() && half(), half(), 0, Between(random, 0, 2)};
    set.mirrors = {half() && half(), 0, 1};
    set.numberGroups.active = half();
    set.numberGroups.count = Between(random, 1, 3);
    for (int g = 0; g < set.numberGroups.count; ++g) {
        const int a = Between(random, 1, n);
        set.numberGroups.groups[static_cast<std::size_t>(g)] = {
            a, Between(random, a, n), Between(random, 0, 2), Between(random, 1, k)};
    }
    return set;
}

} // namespace velmora::testing
