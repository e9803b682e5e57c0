#include "conditions/filter.h"

#include "conditions/condition_table.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>

namespace velmora {

namespace {

bool InRange(int value, int minimum, int maximum) {
    return value >= minimum && value <= maximum;
}

// The counts of flagged numbers in a row of k numbers that pass a parity condition.
std::pair<int, int> ParityRange(const ParityCondition& c, int k) {
    if (c.fixedRatio) {
        return c.even ? std::pair{c.minimum, c.maximum} : std::pair{k - c.maximum, k - c.minimum};
    }
    const int half = k / 2;
    if (c.even) {
        return {half + 1, k};
    }
    // More odd ones than even ones.
    return {0, k % 2 == 0 ? half - 1 : half};
}

} // namespace

void ConditionFilter::Prepare(const ConditionSet& conditions, const NumberData& data,
                              const GameInfo& game, int rowLength,
                              const std::vector<DrawRecord>* draws) {
    m_set = conditions;
    m_n = std::min(data.Size(), kMaxVariationNumbers);
    m_k = std::clamp(rowLength, 1, std::min(kMaxRowLength, std::max(m_n, 1)));
    for (int j = 0; j < m_n; ++j) {
        const auto index = static_cast<std::size_t>(j);
        m_number[index] = data.numbers[index];
        m_flags[index] = data.flags[index];
        m_decade[index] = data.decade[index];
        m_ending[index] = data.ending[index];
        m_partner[index] = static_cast<std::int16_t>(data.mirrorPartner[index]);
    }

    // A damaged file may carry values the dialog never allows; these would divide by zero or
    // read outside the tables.
    for (GroupCondition* group : {&m_set.mobile, &m_set.fixed}) {
        group->groupSize = std::max(group->groupSize, 1);
        group->maxPerGroup = std::clamp(group->maxPerGroup, 1, m_k);
    }
    FavCondition& favoured = m_set.favoured;
    favoured.first = std::clamp(favoured.first, 1, std::max(m_n, 1));
    favoured.last = std::clamp(favoured.last, favoured.first, std::max(m_n, 1));
    favoured.minHits =
        std::clamp(favoured.minHits, 0, std::min(m_k, favoured.last - favoured.first + 1));
    favoured.maxHits = std::clamp(favoured.maxHits, 0, m_k);
    m_set.numberGroups.count = std::clamp(m_set.numberGroups.count, 0, kMaxNumberGroups);
    m_set.hitRatio.minHits = std::clamp(m_set.hitRatio.minHits, 0, kMaxDrawColumns);
    m_set.hitRatio.maxHits = std::clamp(m_set.hitRatio.maxHits, 0, kMaxDrawColumns);

    // The active conditions in their test order, each with the bit it sets; the hit ratio only
    // with draws to compare against.
    m_testCount = 0;
    std::array<const ConditionInfo*, kConditionCount> byOrder{};
    for (const ConditionInfo& info : ConditionTable()) {
        byOrder[info.testOrder] = &info;
    }
    for (const ConditionInfo* info : byOrder) {
        const bool usable = info->id != Condition::HitRatio || draws != nullptr;
        if (IsActive(m_set, info->id) && usable) {
            m_tests[static_cast<std::size_t>(m_testCount++)] = {info->id, info->passedBit};
        }
    }

    m_nextAtLeast.assign(static_cast<std::size_t>((m_n + 1) * kNumberSlots),
                         static_cast<std::uint8_t>(m_n));
    m_nextAtMost.assign(m_nextAtLeast.size(), static_cast<std::uint8_t>(m_n));
    for (int j = m_n - 1; j >= 0; --j) {
        for (int x = 0; x < kNumberSlots; ++x) {
            const auto at = static_cast<std::size_t>(j * kNumberSlots + x);
            const auto after = at + kNumberSlots;
            const int number = m_number[static_cast<std::size_t>(j)];
            m_nextAtLeast[at] = number >= x ? static_cast<std::uint8_t>(j) : m_nextAtLeast[after];
            m_nextAtMost[at] = number <= x ? static_cast<std::uint8_t>(j) : m_nextAtMost[after];
        }
    }

    PrepareBounds();

    m_firstDrawing.clear();
    m_secondDrawing.clear();
    m_hitEnd = 0;
    if (!m_set.hitRatio.active || draws == nullptr) {
        m_set.hitRatio.active = false;
        return;
    }
    // The second drawing of a date starts at cell 7 (7/35: seven numbers, Slovak 6/49: six).
    const bool twoDrawings = game.gameId == 2 || game.gameId == 4;
    const int cells = std::min(game.drawnCount, 7);
    m_firstDrawing.reserve(draws->size());
    for (const DrawRecord& draw : *draws) {
        BitSet128 first;
        BitSet128 second;
        for (int c = 0; c < game.drawnCount && c < kMaxDrawColumns; ++c) {
            first.Add(draw.numbers[static_cast<std::size_t>(c)] - 1);
        }
        for (int c = 0; twoDrawings && c < cells; ++c) {
            second.Add(draw.numbers[static_cast<std::size_t>(7 + c)] - 1);
        }
        m_firstDrawing.push_back(first);
        if (twoDrawings) {
            m_secondDrawing.push_back(second);
        }
    }
    const int count = static_cast<int>(draws->size());
    m_hitEnd = std::clamp(m_set.hitRatio.lastDraw, 0, count);
}

void ConditionFilter::AddCountBound(std::uint16_t reachedBefore, int minimum, int maximum,
                                    const std::array<bool, kMaxVariationNumbers>& counted) {
    CountBound& bound = m_countBounds[static_cast<std::size_t>(m_countBoundCount++)];
    bound.minimum = minimum;
    bound.maximum = maximum;
    bound.reachedBefore = reachedBefore;
    bound.countedFrom[static_cast<std::size_t>(m_n)] = 0;
    for (int j = m_n - 1; j >= 0; --j) {
        const auto at = static_cast<std::size_t>(j);
        bound.countedFrom[at] =
            static_cast<std::uint8_t>(bound.countedFrom[at + 1] + (counted[at] ? 1 : 0));
    }
}

// The bounds of the conditions whose value over a row is a count or a sum, and of the group
// conditions, each with the bits of the tests before it.
void ConditionFilter::PrepareBounds() {
    m_countBoundCount = 0;
    m_windows.clear();
    m_sumBounds = false;
    const ConditionSet& s = m_set;
    auto withFlag = [this](std::uint8_t flag) {
        std::array<bool, kMaxVariationNumbers> counted{};
        for (int j = 0; j < m_n; ++j) {
            counted[static_cast<std::size_t>(j)] = (m_flags[static_cast<std::size_t>(j)] & flag);
        }
        return counted;
    };
    auto within = [this](int first, int last) { // 1-based positions first..last
        std::array<bool, kMaxVariationNumbers> counted{};
        for (int j = 0; j < m_n; ++j) {
            counted[static_cast<std::size_t>(j)] = InRange(j + 1, first, last);
        }
        return counted;
    };
    std::uint16_t before = 0;
    for (int t = 0; t < m_testCount; ++t) {
        const Step& step = m_tests[static_cast<std::size_t>(t)];
        switch (step.test) {
        case Condition::Favoured:
            AddCountBound(before, s.favoured.minHits, s.favoured.maxHits,
                          within(s.favoured.first, s.favoured.last));
            break;
        case Condition::Span:
            AddCountBound(before, m_k, m_k, within(s.span.first, s.span.last));
            break;
        case Condition::NumberGroups:
            for (int g = 0; g < s.numberGroups.count; ++g) {
                const NumberGroupSlot& slot = s.numberGroups.groups[static_cast<std::size_t>(g)];
                AddCountBound(before, slot.minHits, slot.maxHits, within(slot.first, slot.last));
            }
            break;
        case Condition::DecadeParity: {
            const auto [low, high] = ParityRange(s.decadeParity, m_k);
            AddCountBound(before, low, high, withFlag(kFlagEvenDecade));
            break;
        }
        case Condition::EndingParity: {
            const auto [low, high] = ParityRange(s.endingParity, m_k);
            AddCountBound(before, low, high, withFlag(kFlagEven));
            break;
        }
        case Condition::Twins:
            AddCountBound(before, s.twins.minimum, s.twins.maximum, withFlag(kFlagTwin));
            break;
        case Condition::Primes:
            AddCountBound(before, s.primes.minimum, s.primes.maximum, withFlag(kFlagPrime));
            break;
        case Condition::Mobile:
            m_windows.push_back({true, s.mobile.maxPerGroup, s.mobile.groupSize, before});
            break;
        case Condition::Fixed:
            m_windows.push_back({false, s.fixed.maxPerGroup, s.fixed.groupSize, before});
            break;
        case Condition::Sum:
            m_sumBounds = true;
            m_sumReachedBefore = before;
            break;
        default:
            break;
        }
        before |= step.bit;
    }

    m_ascending = true;
    for (int j = 1; j < m_n; ++j) {
        m_ascending = m_ascending && m_number[static_cast<std::size_t>(j)] >
                                         m_number[static_cast<std::size_t>(j - 1)];
    }
    if (!m_sumBounds) {
        return;
    }
    // From each position on, the numbers in order: the r smallest and the r largest of them.
    constexpr int kWidth = kMaxRowLength + 1;
    m_leastSum.assign(static_cast<std::size_t>((m_n + 1) * kWidth), 0);
    m_greatestSum.assign(m_leastSum.size(), 0);
    std::vector<int> sorted;
    for (int j = m_n; j >= 0; --j) {
        const int available = m_n - j;
        for (int r = 0; r < kWidth; ++r) {
            const auto at = static_cast<std::size_t>(j * kWidth + r);
            if (r > available) {
                m_leastSum[at] = std::numeric_limits<int>::max() / 2;
                m_greatestSum[at] = std::numeric_limits<int>::min() / 2;
                continue;
            }
            m_leastSum[at] = std::accumulate(sorted.begin(), sorted.begin() + r, 0);
            m_greatestSum[at] = std::accumulate(sorted.end() - r, sorted.end(), 0);
        }
        if (j > 0) {
            sorted.insert(
                std::upper_bound(sorted.begin(), sorted.end(),
                                 static_cast<int>(m_number[static_cast<std::size_t>(j - 1)])),
                m_number[static_cast<std::size_t>(j - 1)]);
        }
    }
}

PrefixOutlook ConditionFilter::Outlook(const std::uint8_t* p, int level) const {
    const int open = m_k - 1 - level; // the places still to fill
    const int next = p[level] + 1;    // the first position they may take
    const int available = m_n - next;
    for (int b = 0; b < m_countBoundCount; ++b) {
        const CountBound& bound = m_countBounds[static_cast<std::size_t>(b)];
        if ((m_passed & bound.reachedBefore) != bound.reachedBefore) {
            continue;
        }
        const std::uint8_t* from = bound.countedFrom.data();
        int count = 0;
        for (int i = 0; i <= level; ++i) {
            count += from[p[i]] - from[p[i] + 1];
        }
        const int counted = from[next];
        const int least = count + std::max(0, open - (available - counted));
        const int most = count + std::min(open, counted);
        if (most < bound.minimum || least > bound.maximum) {
            return PrefixOutlook::Fails;
        }
    }
    for (const Window& window : m_windows) {
        const int i = level - window.span;
        if (i < 0 || (m_passed & window.reachedBefore) != window.reachedBefore) {
            continue;
        }
        const bool together = window.mobile ? p[level] - p[i] < window.size
                                            : p[level] / window.size == p[i] / window.size;
        if (together) {
            return PrefixOutlook::Fails;
        }
    }
    if (m_sumBounds && (m_passed & m_sumReachedBefore) == m_sumReachedBefore) {
        int sum = 0;
        for (int i = 0; i <= level; ++i) {
            sum += m_number[p[i]];
        }
        const auto at = static_cast<std::size_t>(next * (kMaxRowLength + 1) + open);
        const SumCondition& c = m_set.sum;
        if (sum + m_leastSum[at] > c.maximum) {
            // With ascending numbers a larger place only raises the least sum.
            return m_ascending ? PrefixOutlook::FailsOnward : PrefixOutlook::Fails;
        }
        if (sum + m_greatestSum[at] < c.minimum) {
            return PrefixOutlook::Fails;
        }
    }
    return PrefixOutlook::Open;
}

// A failing sum moves the walk on to the next last position whose number can bring the sum
// within its limits; every last position passed over fails the sum, and the candidate itself
// reached this test, so neither the rows nor the reached conditions change.
bool ConditionFilter::Sum(WalkState& walk) const {
    std::uint8_t* p = walk.positions;
    int sum = 0;
    for (int i = 0; i < m_k; ++i) {
        sum += m_number[p[i]];
    }
    const SumCondition& c = m_set.sum;
    if (InRange(sum, c.minimum, c.maximum)) {
        return true;
    }
    if (walk.skipAhead && walk.cursor == m_k - 1) {
        const int last = m_k - 1;
        const int rest = sum - m_number[p[last]];
        const bool below = sum < c.minimum;
        const long long bound = below ? c.minimum : c.maximum;
        const auto target = static_cast<int>(
            std::clamp(bound - rest, 0LL, static_cast<long long>(kNumberSlots - 1)));
        const std::vector<std::uint8_t>& next = below ? m_nextAtLeast : m_nextAtMost;
        const int q = next[static_cast<std::size_t>((p[last] + 1) * kNumberSlots + target)];
        if (q < m_n) {
            p[last] = static_cast<std::uint8_t>(q - 1); // the next step yields position q
        } else {
            walk.cursor = last - 1; // no last position can bring the sum within its limits
        }
    }
    return false;
}

BitSet128 ConditionFilter::RowMask(const std::uint8_t* p) const {
    BitSet128 mask;
    for (int i = 0; i < m_k; ++i) {
        mask.Add(m_number[p[i]] - 1);
    }
    return mask;
}

bool ConditionFilter::Favoured(WalkState& walk) const {
    const FavCondition& c = m_set.favoured;
    std::uint8_t* p = walk.positions;
    int count = 0;
    for (int i = 0; i < m_k; ++i) {
        count += (p[i] + 1 >= c.first && p[i] + 1 <= c.last) ? 1 : 0;
    }
    if (count < c.minHits) {
        if (walk.skipAhead) {
            const int a = c.minHits;
            if (p[0] >= c.last) {
                // The smallest position lies beyond the group: no later row reaches it.
                walk.cursor = -1;
            } else if (a > 0 && p[m_k - a] < c.first - 1) {
                // Jump to the first row that keeps p[0 .. k'-a-1] and puts its last a numbers on
                // the first a positions of the group; the generator's next step raises the last
                // position by one, so it is left one below its target.
                for (int j = 0; j < a; ++j) {
                    p[m_k - a + j] = static_cast<std::uint8_t>(c.first - 1 + j);
                }
                p[m_k - 1] = static_cast<std::uint8_t>(p[m_k - 1] - 1);
                walk.cursor = m_k - 1;
            }
        }
        return false;
    }
    return count <= c.maxHits;
}

bool ConditionFilter::Parity(const std::uint8_t* p, std::uint8_t flag,
                             const ParityCondition& c) const {
    const auto [low, high] = ParityRange(c, m_k);
    return InRange(CountFlag(p, flag), low, high);
}

bool ConditionFilter::Repeat(const std::uint8_t* p,
                             const std::array<std::uint8_t, kMaxVariationNumbers>& cls,
                             const RepeatCondition& c) const {
    std::array<std::uint8_t, 10> counts{};
    for (int i = 0; i < m_k; ++i) {
        ++counts[cls[p[i]] % 10];
    }
    int total = 0;
    if (c.oneGroup) {
        int repeatedClasses = 0;
        for (std::uint8_t count : counts) {
            if (count >= 2) {
                ++repeatedClasses;
                total = count - 1;
            }
        }
        if (repeatedClasses > 1) {
            return false; // a second repeating class
        }
    } else {
        int distinct = 0;
        for (std::uint8_t count : counts) {
            distinct += count > 0 ? 1 : 0;
        }
        total = m_k - distinct;
    }
    return InRange(total, c.minimum, c.maximum);
}

bool ConditionFilter::Mirrors(const std::uint8_t* p) const {
    const CountCondition& c = m_set.mirrors;
    int pairs = 0;
    for (int i = 0; i + 1 < m_k; ++i) {
        if ((m_flags[p[i]] & kFlagMirror) == 0) {
            continue;
        }
        for (int j = i + 1; j < m_k; ++j) {
            if (m_partner[p[j]] == p[i] && ++pairs > c.maximum) {
                return false;
            }
        }
    }
    return pairs >= c.minimum;
}

bool ConditionFilter::Deviation(const std::uint8_t* p) const {
    double sum = 0;
    for (int i = 0; i < m_k; ++i) {
        sum += m_number[p[i]];
    }
    const double mean = sum / m_k;
    double squares = 0;
    for (int i = 0; i < m_k; ++i) {
        const double d = m_number[p[i]] - mean;
        squares += d * d;
    }
    const double s = std::sqrt(squares / (m_k - 1));
    return s >= static_cast<double>(m_set.deviation.minimum) &&
           s <= static_cast<double>(m_set.deviation.maximum);
}

namespace {

// The first draw from `from` on (before `end`) whose hit count with the row lies within
// minimum..maximum, or `end`. Built twice, so that processors with a popcount instruction use
// it; this loop is what a hit-ratio condition costs per candidate.
__attribute__((target_clones("popcnt", "default"))) int
FirstReached(const BitSet128* masks, int from, int end, std::uint64_t low, std::uint64_t high,
             int minimum, int maximum) {
    const auto span = static_cast<unsigned>(maximum - minimum);
    for (int c = from; c < end; ++c) {
        const int hits =
            __builtin_popcountll(low & masks[c].low) + __builtin_popcountll(high & masks[c].high);
        if (static_cast<unsigned>(hits - minimum) <= span) {
            return c;
        }
    }
    return end;
}

} // namespace

bool ConditionFilter::HitRatio(WalkState& walk) const {
    const HitRatioCondition& c = m_set.hitRatio;
    const BitSet128 row = RowMask(walk.positions);
    walk.drawCursor = std::max(walk.drawCursor, 0);
    if (c.maxHits < c.minHits) {
        walk.drawCursor = std::max(walk.drawCursor, m_hitEnd);
        return !c.searched;
    }
    if (m_secondDrawing.empty()) {
        walk.drawCursor = FirstReached(m_firstDrawing.data(), walk.drawCursor, m_hitEnd, row.low,
                                       row.high, c.minHits, c.maxHits);
        walk.drawSet = 0;
        return walk.drawCursor < m_hitEnd ? c.searched : !c.searched;
    }
    while (walk.drawCursor < m_hitEnd) {
        const auto index = static_cast<std::size_t>(walk.drawCursor);
        if (InRange(CommonCount(row, m_firstDrawing[index]), c.minHits, c.maxHits)) {
            walk.drawSet = 0;
            return c.searched;
        }
        if (InRange(CommonCount(row, m_secondDrawing[index]), c.minHits, c.maxHits)) {
            walk.drawSet = 1;
            return c.searched;
        }
        ++walk.drawCursor;
    }
    return !c.searched;
}

bool ConditionFilter::FeltVizsgSkandi(const std::uint8_t* positions, int drawCursor) const {
    if (drawCursor < 0 || drawCursor >= static_cast<int>(m_secondDrawing.size())) {
        return true;
    }
    const int hits =
        CommonCount(RowMask(positions), m_secondDrawing[static_cast<std::size_t>(drawCursor)]);
    return !InRange(hits, m_set.hitRatio.minHits, m_set.hitRatio.maxHits);
}

bool ConditionFilter::Passes(Condition test, WalkState& walk) const {
    const std::uint8_t* p = walk.positions;
    const ConditionSet& s = m_set;
    switch (test) {
    case Condition::Mobile: {
        const int k = s.mobile.groupSize;
        const int m = s.mobile.maxPerGroup;
        for (int i = 0; i + m < m_k; ++i) {
            if (p[i + m] - p[i] < k) {
                return false;
            }
        }
        return true;
    }
    case Condition::Fixed: {
        const int k = s.fixed.groupSize;
        const int m = s.fixed.maxPerGroup;
        for (int i = 0; i + m < m_k; ++i) {
            if (p[i + m] / k == p[i] / k) {
                return false;
            }
        }
        return true;
    }
    case Condition::Favoured:
        return Favoured(walk);
    case Condition::DecadeParity:
        return Parity(p, kFlagEvenDecade, s.decadeParity);
    case Condition::DecadeRepeat:
        return Repeat(p, m_decade, s.decadeRepeat);
    case Condition::EndingParity:
        return Parity(p, kFlagEven, s.endingParity);
    case Condition::EndingRepeat:
        return Repeat(p, m_ending, s.endingRepeat);
    case Condition::Sum:
        return Sum(walk);
    case Condition::Twins:
        return InRange(CountFlag(p, kFlagTwin), s.twins.minimum, s.twins.maximum);
    case Condition::Mirrors:
        return Mirrors(p);
    case Condition::Deviation:
        return Deviation(p);
    case Condition::Span:
        for (int i = 0; i < m_k; ++i) {
            if (!InRange(p[i] + 1, s.span.first, s.span.last)) {
                return false;
            }
        }
        return true;
    case Condition::Primes:
        return InRange(CountFlag(p, kFlagPrime), s.primes.minimum, s.primes.maximum);
    case Condition::NumberGroups:
        for (int g = 0; g < s.numberGroups.count; ++g) {
            const NumberGroupSlot& slot = s.numberGroups.groups[static_cast<std::size_t>(g)];
            int count = 0;
            for (int i = 0; i < m_k; ++i) {
                count += InRange(p[i] + 1, slot.first, slot.last) ? 1 : 0;
            }
            if (!InRange(count, slot.minHits, slot.maxHits)) {
                return false;
            }
        }
        return true;
    case Condition::HitRatio:
        return HitRatio(walk);
    }
    return true;
}

int ConditionFilter::CountFlag(const std::uint8_t* p, std::uint8_t flag) const {
    int count = 0;
    for (int i = 0; i < m_k; ++i) {
        count += (m_flags[p[i]] & flag) ? 1 : 0;
    }
    return count;
}

bool ConditionFilter::FeltVizsgalat(WalkState& walk) {
    // Only the active conditions, in their fixed order, prepared once per run.
    for (int t = 0; t < m_testCount; ++t) {
        const Step& step = m_tests[static_cast<std::size_t>(t)];
        if (!Passes(step.test, walk)) {
            return false;
        }
        m_passed |= step.bit;
    }
    return true;
}

bool ConditionFilter::SumOnlyOverAscendingNumbers() const {
    if (m_testCount != 1 || m_tests[0].test != Condition::Sum) {
        return false;
    }
    for (int j = 1; j < m_n; ++j) {
        if (m_number[static_cast<std::size_t>(j)] <= m_number[static_cast<std::size_t>(j - 1)]) {
            return false;
        }
    }
    return true;
}

bool ConditionFilter::SumRun(const std::uint8_t* positions, int& first, int& last) {
    int rest = 0;
    for (int i = 0; i + 1 < m_k; ++i) {
        rest += m_number[positions[i]];
    }
    const SumCondition& c = m_set.sum;
    // The last number must lie within minimum - rest .. maximum - rest; the numbers ascend, so
    // the positions that give it are one run, found in the tables of the next positions.
    const long long low = static_cast<long long>(c.minimum) - rest;
    const long long high = static_cast<long long>(c.maximum) - rest;
    if (first > last) {
        return false;
    }
    if (high < m_number[static_cast<std::size_t>(first)]) {
        first = last + 1;
        return true;
    }
    if (low > 1) {
        const int target =
            static_cast<int>(std::min(low, static_cast<long long>(kNumberSlots - 1)));
        first =
            low > kNumberSlots - 1
                ? m_n
                : std::max(
                      first,
                      static_cast<int>(
                          m_nextAtLeast[static_cast<std::size_t>(first * kNumberSlots + target)]));
    }
    if (high < kNumberSlots - 1) {
        // The first position past the run: the first whose number is above `high`.
        const int beyond = m_nextAtLeast[static_cast<std::size_t>(first * kNumberSlots +
                                                                  static_cast<int>(high) + 1)];
        last = std::min(last, beyond - 1);
    }
    if (first <= last) {
        m_passed |= m_tests[0].bit;
    }
    return false;
}

std::string BontStatVizsg(const std::vector<std::uint8_t>& missingNumbers, std::uint16_t passed) {
    if (missingNumbers.empty()) {
        return {};
    }
    std::string text;
    if (passed != 0) {
        text += "     A kijelölt feltételek miatt, az alábbi\r";
    }
    text += "   " + std::to_string(missingNumbers.size()) +
            " szám hiányzik a variáció listájából:    \r" + std::string(50, '-') + "\r";
    for (std::size_t i = 0; i < missingNumbers.size(); ++i) {
        if (i > 0 && i % 8 == 0) {
            text += "\r";
        }
        text += (missingNumbers[i] < 10 ? "      " : "    ") + std::to_string(missingNumbers[i]);
    }
    return text;
}

} // namespace velmora
