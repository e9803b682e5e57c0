#include "conditions/filter.h"

#include "common/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace velmora {
namespace {

std::vector<std::uint8_t> Range(int first, int last) {
    std::vector<std::uint8_t> v;
    for (int x = first; x <= last; ++x) {
        v.push_back(static_cast<std::uint8_t>(x));
    }
    return v;
}

// Runs the filter once on `row` (positions) and returns its answer.
struct Harness {
    Harness(const std::vector<std::uint8_t>& v, int n, const ConditionSet& set, GameId game = 0,
            const std::vector<DrawRecord>* draws = nullptr)
        : data(SzamJelzoBeallitas(v, LoadGameInfo(game).maxNumber)), rowLength(n) {
        filter.Prepare(set, data, LoadGameInfo(game), n, draws);
    }
    // The generator starts every candidate at the first draw of the hit-ratio range, with its
    // cursor on the last position; `cursor` lets a test see what the filter leaves there.
    bool Test(std::vector<std::uint8_t> row, int drawCursor = -1, int cursor = -2) {
        positions = std::move(row);
        walk.positions = positions.data();
        walk.cursor = cursor == -2 ? rowLength - 1 : cursor;
        walk.drawCursor = drawCursor >= 0 ? drawCursor : firstDraw - 1;
        return filter.FeltVizsgalat(walk);
    }
    int firstDraw = 1;
    NumberData data;
    int rowLength;
    ConditionFilter filter;
    std::vector<std::uint8_t> positions;
    WalkState walk;
};

// Each condition's own rule is compared with a plain reading on random rows below; these tests
// look at what the plain reading cannot: the draws walk, the second drawing and the skips.

std::vector<DrawRecord> Draws(const std::vector<std::vector<int>>& rows) {
    std::vector<DrawRecord> draws;
    for (const auto& row : rows) {
        DrawRecord d;
        d.drawNo = static_cast<int>(draws.size()) + 1;
        d.drawYear = 2000;
        d.drawWeek = 1;
        for (std::size_t i = 0; i < row.size(); ++i) {
            d.numbers[i] = static_cast<std::uint8_t>(row[i]);
        }
        draws.push_back(d);
    }
    return draws;
}

TEST(Filter, HitRatioExcludedStopsAtTheMatchingDraw) {
    std::vector<std::vector<int>> rows;
    for (int i = 0; i < 10; ++i) {
        rows.push_back({50 + i, 60 + i, 70 + i, 80, 90});
    }
    rows[6] = {1, 2, 3, 4, 5};
    rows[2] = {1, 2, 3, 4, 90}; // four hits only
    const auto draws = Draws(rows);
    ConditionSet set;
    set.hitRatio = {true, false, 5, 5, false, 1, 10}; // "Kizárt" 5..5
    Harness h(Range(1, 20), 5, set, 0, &draws);
    EXPECT_FALSE(h.Test({0, 1, 2, 3, 4}));
    EXPECT_EQ(h.walk.drawCursor, 6);
    EXPECT_TRUE(h.Test({0, 1, 2, 3, 5}));
    EXPECT_EQ(h.walk.drawCursor, 10);
    EXPECT_EQ(h.filter.PassedConditions(), InfoOf(Condition::HitRatio).passedBit);

    set.hitRatio = {true, true, 4, 5, false, 1, 10}; // "Keresett" 4..5
    Harness searched(Range(1, 20), 5, set, 0, &draws);
    EXPECT_TRUE(searched.Test({0, 1, 2, 3, 4}));
    EXPECT_EQ(searched.walk.drawCursor, 2);
    // The draws-list walk: the next call starts after the stored draw.
    EXPECT_TRUE(searched.Test({0, 1, 2, 3, 4}, 3));
    EXPECT_EQ(searched.walk.drawCursor, 6);
    EXPECT_FALSE(searched.Test({0, 1, 2, 3, 4}, 7));
    // Only draws up to the last one of the range count.
    set.hitRatio.lastDraw = 6;
    Harness early(Range(1, 20), 5, set, 0, &draws);

    EXPECT_FALSE(early.Test({0, 1, 2, 3, 4}, 3)) << "draw 7 lies beyond the range";
    EXPECT_EQ(early.walk.drawCursor, 6);
}

TEST(Filter, SecondDrawingOfTheDate) {
    // 7/35: cells 0..6 the machine drawing, 7..13 the hand drawing.
    const auto draws = Draws({{20, 21, 22, 23, 24, 25, 26, 1, 2, 3, 4, 5, 6, 7},
                              {8, 9, 10, 11, 12, 13, 14, 30, 31, 32, 33, 34, 35, 29}});
    ConditionSet set;
    set.hitRatio = {true, true, 7, 7, false, 1, 2};
    Harness h(Range(1, 35), 7, set, 2, &draws);
    EXPECT_TRUE(h.Test({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(h.walk.drawCursor, 0);
    EXPECT_EQ(h.walk.drawSet, 1);
    EXPECT_FALSE(h.filter.FeltVizsgSkandi(h.positions.data(), 0)) << "reached on the second";
    EXPECT_TRUE(h.filter.FeltVizsgSkandi(h.positions.data(), 1));
    EXPECT_FALSE(h.Test({0, 1, 2, 3, 4, 5, 7}));
}

TEST(Filter, FavouredGroupJumpsAhead) {
    ConditionSet set;
    set.favoured = {true, 10, 15, 2, 5};
    Harness h(Range(1, 20), 5, set);
    h.walk.skipAhead = true;
    EXPECT_FALSE(h.Test({0, 1, 2, 3, 4}, -1, 2));
    // The generator's next step raises the last position by one.
    ++h.positions[4];
    EXPECT_EQ(h.positions, (std::vector<std::uint8_t>{0, 1, 2, 9, 10}));
    EXPECT_EQ(h.walk.cursor, 4) << "the jump leaves the cursor on the last position";

    h.walk.skipAhead = true;
    EXPECT_FALSE(h.Test({15, 16, 17, 18, 19}));
    EXPECT_EQ(h.walk.cursor, -1) << "the first position lies beyond the group";

    // A row whose last a positions already reach the group start is left alone.
    EXPECT_FALSE(h.Test({0, 1, 2, 9, 16}, -1, 2));
    EXPECT_EQ(h.positions, (std::vector<std::uint8_t>{0, 1, 2, 9, 16}));
    EXPECT_EQ(h.walk.cursor, 2) << "nothing moved";

    // Values no dialog allows (a damaged file) are kept inside the ticket.
    ConditionSet wild;
    wild.favoured = {true, 300, 400, 2, 5};
    wild.hitRatio = {false, true, -2147483647 - 1, 2147483647, false, 1, 1};
    Harness damaged(Range(1, 20), 5, wild);
    damaged.walk.skipAhead = true;
    damaged.Test({0, 1, 2, 3, 4});
    for (std::uint8_t position : damaged.positions) {
        EXPECT_LT(position, 20);
    }

    Harness off(Range(1, 20), 5, set);
    EXPECT_FALSE(off.Test({0, 1, 2, 3, 4}));
    EXPECT_EQ(off.positions, (std::vector<std::uint8_t>{0, 1, 2, 3, 4})) << "no skip when off";
}

TEST(Filter, MissingNumbersReport) {
    EXPECT_EQ(BontStatVizsg({}, 1), "");
    const std::string text = BontStatVizsg({3, 14, 5, 16, 7, 18, 9, 20, 1}, 0x0002);
    EXPECT_EQ(text, "     A kijelölt feltételek miatt, az alábbi\r"
                    "   9 szám hiányzik a variáció listájából:    \r" +
                        std::string(50, '-') +
                        "\r      3    14      5    16      7    18      9    20\r      1");
    EXPECT_EQ(BontStatVizsg({44}, 0).rfind("   1 szám hiányzik", 0), 0u);
}

// A plain reading of every condition, written without the filter's shortcuts.
bool Reference(const ConditionSet& s, const std::vector<std::uint8_t>& v,
               const std::vector<std::uint8_t>& p) {
    const int n = static_cast<int>(p.size());
    std::vector<int> x;
    for (std::uint8_t q : p) {
        x.push_back(v[q]);
    }
    const auto between = [](double value, double lo, double hi) {
        return value >= lo && value <= hi;
    };
    const auto count = [n](auto pred) {
        int c = 0;
        for (int i = 0; i < n; ++i) {
            c += pred(i) ? 1 : 0;
        }
        return c;
    };
    const auto positionsIn = [&](int first, int last) {
        return count([&](int i) { return p[i] + 1 >= first && p[i] + 1 <= last; });
    };
    // No window of K consecutive positions, and no block of K from position 1, holds more than M.
    for (int start = 0; start < 90; ++start) {
        const int block = start * s.fixed.groupSize;
        if ((s.mobile.active &&
             positionsIn(start + 1, start + s.mobile.groupSize) > s.mobile.maxPerGroup) ||
            (s.fixed.active &&
             positionsIn(block + 1, block + s.fixed.groupSize) > s.fixed.maxPerGroup)) {
            return false;
        }
    }
    const auto parity = [&](const ParityCondition& c, auto isEven) {
        const int e = count(isEven);
        // "Több": more numbers of the chosen kind than of the other.
        return c.fixedRatio ? between(c.even ? e : n - e, c.minimum, c.maximum)
                            : (c.even ? 2 * e > n : 2 * e < n);
    };
    const auto repeat = [&](const RepeatCondition& c, auto classOf) {
        std::vector<int> counts(10, 0);
        for (int value : x) {
            ++counts[static_cast<std::size_t>(classOf(value))];
        }
        int repeated = 0;
        int largest = 0;
        int total = 0;
        for (int k : counts) {
            repeated += k >= 2 ? 1 : 0;
            largest = std::max(largest, k - 1);
            total += std::max(k - 1, 0);
        }
        return (!c.oneGroup || repeated <= 1) &&
               between(c.oneGroup ? largest : total, c.minimum, c.maximum);
    };
    const int sum = std::accumulate(x.begin(), x.end(), 0);
    const double mean = static_cast<double>(sum) / n;
    double squares = 0;
    for (int value : x) {
        squares += (value - mean) * (value - mean);
    }
    int mirrors = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            mirrors += x[i] > 9 && x[j] > 9 && x[i] != x[j] && x[i] / 10 == x[j] % 10 &&
                       x[i] % 10 == x[j] / 10;
        }
    }
    bool groups = true;
    for (int g = 0; s.numberGroups.active && g < s.numberGroups.count; ++g) {
        const NumberGroupSlot& slot = s.numberGroups.groups[static_cast<std::size_t>(g)];
        groups = groups && between(positionsIn(slot.first, slot.last), slot.minHits, slot.maxHits);
    }
    const auto decade = [&x](int i) { return (x[i] / 10) % 2 == 0; };
    const auto even = [&x](int i) { return x[i] % 2 == 0; };
    const auto twin = [&x](int i) { return x[i] / 10 == x[i] % 10; };
    const auto prime = [&x](int i) { return IsPrimeNumber(x[i]); };
    const FavCondition& f = s.favoured;
    return groups && (!f.active || between(positionsIn(f.first, f.last), f.minHits, f.maxHits)) &&
           (!s.decadeParity.active || parity(s.decadeParity, decade)) &&
           (!s.decadeRepeat.active || repeat(s.decadeRepeat, [](int k) { return k / 10; })) &&
           (!s.endingParity.active || parity(s.endingParity, even)) &&
           (!s.endingRepeat.active || repeat(s.endingRepeat, [](int k) { return k % 10; })) &&
           (!s.sum.active || between(sum, s.sum.minimum, s.sum.maximum)) &&
           (!s.twins.active || between(count(twin), s.twins.minimum, s.twins.maximum)) &&
           (!s.mirrors.active || between(mirrors, s.mirrors.minimum, s.mirrors.maximum)) &&
           (!s.deviation.active ||
            between(std::sqrt(squares / (n - 1)), s.deviation.minimum, s.deviation.maximum)) &&
           (!s.span.active || positionsIn(s.span.first, s.span.last) == n) &&
           (!s.primes.active || between(count(prime), s.primes.minimum, s.primes.maximum));
}

ConditionSet RandomSet(std::mt19937& random, int n, int size) {
    auto pick = [&random](int lo, int hi) {
        return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
    };
    auto coin = [&random]() { return random() % 3 == 0; };
    ConditionSet s;
    s.mobile = {coin(), pick(2, 6), pick(1, n - 1)};
    s.fixed = {coin(), pick(2, 8), pick(1, n - 1)};
    // Within the limits the conditions dialog allows.
    const int first = pick(1, size);
    const int last = pick(first, size);
    const int most = pick(0, std::min(n, last - first + 1));
    s.favoured = {coin(), first, last, pick(0, most), most};
    s.decadeParity = {coin(), coin(), pick(0, 2), pick(2, n), coin()};
    s.decadeRepeat = {coin(), coin(), pick(0, 1), pick(1, 3)};
    s.endingParity = {coin(), coin(), pick(0, 2), pick(2, n), coin()};
    s.endingRepeat = {coin(), coin(), pick(0, 1), pick(1, 3)};
    s.sum = {coin(), false, pick(20, 150), pick(150, 300)};
    s.twins = {coin(), 0, pick(0, 2)};
    s.mirrors = {coin(), 0, pick(0, 2)};
    s.deviation = {coin(), static_cast<float>(pick(0, 15)), static_cast<float>(pick(15, 40))};
    const int spanFirst = pick(1, size / 2);
    s.span = {coin(), spanFirst, pick(spanFirst + n, size)};
    s.primes = {coin(), pick(0, 1), pick(1, n)};
    s.numberGroups.active = coin();
    s.numberGroups.count = pick(1, 3);
    for (int g = 0; g < 3; ++g) {
        const int a = pick(1, size - 1);
        s.numberGroups.groups[static_cast<std::size_t>(g)] = {a, pick(a, size), 0, pick(1, n)};
    }
    return s;
}

TEST(FilterCrossCheck, AgreesWithAPlainReadingOnRandomRows) {
    std::mt19937 random(31337);
    int passed = 0;
    for (int round = 0; round < 300; ++round) {
        // A shuffled ticket of 12..40 numbers of 5/90, rows of 5 or 6.
        std::vector<std::uint8_t> all = Range(1, 90);
        std::shuffle(all.begin(), all.end(), random);
        const int size = 12 + static_cast<int>(random() % 29);
        std::vector<std::uint8_t> v(all.begin(), all.begin() + size);
        const int n = 5 + static_cast<int>(random() % 2);
        const ConditionSet set = RandomSet(random, n, size);
        Harness h(v, n, set);
        for (int r = 0; r < 200; ++r) {
            std::vector<std::uint8_t> positions;
            std::vector<std::uint8_t> pool = Range(0, size - 1);
            std::shuffle(pool.begin(), pool.end(), random);
            positions.assign(pool.begin(), pool.begin() + n);
            std::sort(positions.begin(), positions.end());
            const bool expected = Reference(set, v, positions);
            ASSERT_EQ(h.Test(positions), expected) << "round " << round << " row " << r;
            passed += expected ? 1 : 0;
        }
    }
    EXPECT_GT(passed, 1000) << "the random sets must let a fair share of rows through";
}

} // namespace
} // namespace velmora
