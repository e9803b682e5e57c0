#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/bit_set_128.h"
#include "conditions/condition_set.h"
#include "conditions/condition_table.h"
#include "conditions/number_data.h"
#include "draws/draws_store.h"
#include "game/game_catalogue.h"

// The test of one candidate row against every active condition: the generator's inner loop.
namespace velmora {

inline constexpr int kMaxVariationNumbers = 90;
inline constexpr int kMaxRowLength = 10;

// The part of a generation run the filter reads and may move: the candidate row (ascending
// positions into the variation numbers), the generator's level cursor and the draw cursor.
// What the first places of a candidate row allow: some completion may pass, none can, or none
// can nor any prefix that differs only in a larger last place.
enum class PrefixOutlook { Open, Fails, FailsOnward };

struct WalkState {
    std::uint8_t* positions = nullptr;
    int cursor = 0;     // the row position the generator advances next; -1 ends the walk
    int drawCursor = 0; // 0-based index of the next draw the hit-ratio test examines
    int drawSet = 0;    // 0: the ratio was reached on the draw's first drawing, 1: its second
    bool skipAhead = false;
};

class ConditionFilter {
public:
    // Takes a copy of everything a run needs: the active conditions, the per-position data of
    // the variation numbers and, for the hit ratio, the draws. Out-of-range parameters (from a
    // damaged file) are clamped so that no test can misbehave.
    void Prepare(const ConditionSet& conditions, const NumberData& data, const GameInfo& game,
                 int rowLength, const std::vector<DrawRecord>* draws);

    // True when the candidate row passes every active condition.
    bool FeltVizsgalat(WalkState& walk);
    // Against the second drawing of draw `drawCursor` (games with two drawings a date): false
    // when the hit count lies within the ratio's limits.
    bool FeltVizsgSkandi(const std::uint8_t* positions, int drawCursor) const;

    std::uint16_t PassedConditions() const { return m_passed; }

    // Whether the sum is the only test, over variation numbers that ascend with their
    // positions: then the last positions that pass after a prefix are one run.
    bool SumOnlyOverAscendingNumbers() const;
    // Narrows `first`..`last` (positions for the last place of the row, whose other places
    // hold the prefix in `positions`) to the run that passes the sum, and counts the sum as
    // reached when the run is not empty. Only where SumOnlyOverAscendingNumbers holds.
    // True when even the smallest last number is too large: so is every later prefix that
    // differs only in its last place.
    bool SumRun(const std::uint8_t* positions, int& first, int& last);
    // Whether some condition bounds what the completions of a prefix can reach.
    bool JudgesPrefixes() const {
        return m_countBoundCount > 0 || m_sumBounds || !m_windows.empty();
    }
    // The prefix p[0..level] (level below k' - 1): Fails only when every completion fails a
    // condition whose earlier tests have all been reached already, so that skipping the
    // completions changes neither the rows nor the reached conditions.
    PrefixOutlook Outlook(const std::uint8_t* p, int level) const;
    // The conditions as the tests read them (parameters out of range clamped).
    const ConditionSet& Conditions() const { return m_set; }
    void ClearPassedConditions() { m_passed = 0; }

private:
    struct Step {
        Condition test = Condition::Sum;
        std::uint16_t bit = 0;
    };

    [[gnu::always_inline]] inline bool Passes(Condition test, WalkState& walk) const;
    int CountFlag(const std::uint8_t* p, std::uint8_t flag) const;
    bool Favoured(WalkState& walk) const;
    [[gnu::always_inline]] inline bool Sum(WalkState& walk) const;
    bool Parity(const std::uint8_t* p, std::uint8_t flag, const ParityCondition& c) const;
    bool Repeat(const std::uint8_t* p, const std::array<std::uint8_t, kMaxVariationNumbers>& cls,
                const RepeatCondition& c) const;
    bool Mirrors(const std::uint8_t* p) const;
    bool Deviation(const std::uint8_t* p) const;
    bool HitRatio(WalkState& walk) const;
    BitSet128 RowMask(const std::uint8_t* p) const;
    void PrepareBounds();
    void AddCountBound(std::uint16_t reachedBefore, int minimum, int maximum,
                       const std::array<bool, kMaxVariationNumbers>& counted);

    // A condition that wants the count of a row's numbers with some property (a flag, a range
    // of positions) within minimum..maximum. The count of a prefix and of the counted positions
    // still open give the least and the greatest count its completions can reach.
    struct CountBound {
        std::array<std::uint8_t, kMaxVariationNumbers + 1> countedFrom{}; // at positions >= j
        int minimum = 0;
        int maximum = 0;
        std::uint16_t reachedBefore = 0; // the bits of the tests before the condition
    };
    // A group condition: no `span` + 1 consecutive places of a row may fall within one group.
    struct Window {
        bool mobile = false; // positions closer than `size`; otherwise the same fixed block
        int span = 1;
        int size = 1;
        std::uint16_t reachedBefore = 0;
    };

    ConditionSet m_set;
    int m_k = 0; // k', the numbers of V in a row
    int m_n = 0; // N = |V|
    std::array<std::uint8_t, kMaxVariationNumbers> m_number{};
    std::array<std::uint8_t, kMaxVariationNumbers> m_flags{};
    std::array<std::uint8_t, kMaxVariationNumbers> m_decade{};
    std::array<std::uint8_t, kMaxVariationNumbers> m_ending{};
    std::array<std::int16_t, kMaxVariationNumbers> m_partner{};
    std::vector<BitSet128> m_firstDrawing;
    std::vector<BitSet128> m_secondDrawing; // empty unless the game draws twice a date
    int m_hitEnd = 0; // 0-based end (exclusive) of the hit-ratio range; the run sets the start
    // For each position j and number x: the first position from j on whose number is at least
    // (at most) x, or N. They let a walk pass over last positions whose sum must fail.
    static constexpr int kNumberSlots = 92;
    std::vector<std::uint8_t> m_nextAtLeast;
    std::vector<std::uint8_t> m_nextAtMost;
    std::array<CountBound, 6 + kMaxNumberGroups> m_countBounds{};
    int m_countBoundCount = 0;
    std::vector<Window> m_windows;
    // The least and the greatest sum of r numbers at positions j and after, at
    // j * (kMaxRowLength + 1) + r (numbers out of reach: a sum no bound can pass).
    bool m_sumBounds = false;
    bool m_ascending = false;
    std::uint16_t m_sumReachedBefore = 0;
    std::vector<int> m_leastSum;
    std::vector<int> m_greatestSum;
    std::uint16_t m_passed = 0;
    std::array<Step, kConditionCount> m_tests{};
    int m_testCount = 0;
};

// The numbers of V that no stored row contains, as the end of a run reports them; empty when
// none is missing.
std::string BontStatVizsg(const std::vector<std::uint8_t>& missingNumbers, std::uint16_t passed);

} // namespace velmora
