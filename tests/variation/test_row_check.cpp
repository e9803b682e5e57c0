#include "variation/row_check.h"

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

// Every row of k of the positions 0..n-1, stored; the numbers are 1..n (position + 1), with
// the fixed numbers given.
struct FullVariation {
    FullVariation(int n, int k, std::vector<std::uint8_t> fixed = {}) {
        store.Reset(k, n);
        const std::vector<Row> rows = AllRows(n, k);
        store.Reserve(static_cast<long long>(rows.size()));
        for (const Row& row : rows) {
            store.Append(row.data());
        }
        source.numbers = FirstNumbers(n);
        source.fixed = std::move(fixed);
    }
    VariationStore store;
    ExportSource source;
};

long long Choose(int n, int k) {
    return k < 0 || k > n ? 0 : Binomial(n, k);
}

// Against a marked row of 6 of the 12 numbers, every level counts the rows that share exactly
// that many numbers with it; a plus number takes the rows with all but one and the plus away
// from their level; marking more or fewer numbers than a row holds shifts the levels so that
// the best reachable count is the top level.
TEST(RowCheck, CountsPerLevelAgainstTheCheckRow) {
    const FullVariation v(12, 6);
    const RowSets rows(v.store, v.source);
    ASSERT_EQ(rows.Count(), 924);
    struct Case {
        std::vector<std::uint8_t> marked;
        int plus;
        std::vector<long long> levels; // 1 .. 6
        long long plusLevel;
    };
    const Case cases[] = {
        {{1, 2, 3, 4, 5, 6}, 0, {36, 225, 400, 225, 36, 1}, 0},
        // The plus number 7: of the 36 rows with five of the six, 6 hold 7.
        {{1, 2, 3, 4, 5, 6, 7}, 7, {36, 225, 400, 225, 30, 1}, 6},
        // Seven marked: seven hits are impossible, so six is the top level and the rows with
        // one hit fall below the table.
        {{1, 2, 3, 4, 5, 6, 7},
         0,
         {Choose(7, 2) * Choose(5, 4), Choose(7, 3) * Choose(5, 3), Choose(7, 4) * Choose(5, 2),
          Choose(7, 5) * Choose(5, 1), Choose(7, 6), 0},
         0},
        // Five marked: every row stands one level above its hits, as the sixth number of a
        // row could be anything.
        {{1, 2, 3, 4, 5},
         0,
         {Choose(7, 6), Choose(5, 1) * Choose(7, 5), Choose(5, 2) * Choose(7, 4),
          Choose(5, 3) * Choose(7, 3), Choose(5, 4) * Choose(7, 2), Choose(5, 5) * Choose(7, 1)},
         0},
        // A number outside the variation counts as marked but no row holds it.
        {{1, 2, 3, 4, 5, 40},
         0,
         {Choose(5, 1) * Choose(7, 5), Choose(5, 2) * Choose(7, 4), Choose(5, 3) * Choose(7, 3),
          Choose(5, 4) * Choose(7, 2), Choose(5, 5) * Choose(7, 1), 0},
         0},
        // Nothing marked: nothing counted.
        {{}, 0, {0, 0, 0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        const CheckRow check{c.marked, c.plus};
        const CheckCounts counts = CountHits(rows, check, 6, true);
        EXPECT_EQ(counts.levels, c.levels) << c.marked.size() << " plus " << c.plus;
        EXPECT_EQ(counts.plusLevel, c.plusLevel) << c.marked.size() << " plus " << c.plus;
        // The search asks the same of each row.
        std::vector<long long> levels(6, 0);
        long long plusLevel = 0;
        for (long long r = 0; r < rows.Count(); ++r) {
            const int level = RowHitLevel(rows.Row(r), check, 6, true);
            if (level == -1) {
                ++plusLevel;
            } else if (level >= 1) {
                ++levels[static_cast<std::size_t>(std::min(level, 6) - 1)];
            }
        }
        EXPECT_EQ(levels, c.levels);
        EXPECT_EQ(plusLevel, c.plusLevel);
        // The search finds as many rows of each level, forward and backward.
        const auto found = [&](int level, bool forward) {
            long long n = 0;
            for (long long r = forward ? 0 : rows.Count() - 1;
                 (r = FindRowAtLevel(rows, check, 6, true, level, r, forward)) >= 0;
                 r += forward ? 1 : -1) {
                ++n;
            }
            return n;
        };
        for (int level = 1; level <= 6; ++level) {
            EXPECT_EQ(found(level, level % 2 == 0), c.levels[static_cast<std::size_t>(level - 1)]);
        }
        EXPECT_EQ(found(-1, true), c.plusLevel);
        long long all = c.plusLevel;
        for (long long n : c.levels) {
            all += n;
        }
        EXPECT_EQ(found(kAnyLevel, false), all);
    }
    // Without a plus number in the game the marked plus is an ordinary number.
    const CheckCounts plain = CountHits(rows, {{1, 2, 3, 4, 5, 7}, 7}, 6, false);
    EXPECT_EQ(plain.plusLevel, 0);
    EXPECT_EQ(plain.levels, (std::vector<long long>{36, 225, 400, 225, 36, 1}));
}

// The hit profile of a row: how many rows share each count of numbers with it, itself not
// counted; fixed numbers are in every row; a repeated row shows as a full hit.
TEST(RowCheck, HitProfileOfTheSelectedRow) {
    FullVariation v(12, 6);
    RowSets rows(v.store, v.source);
    EXPECT_EQ(rows.HitProfile(0, 6), (std::vector<long long>{36, 225, 400, 225, 36, 0}));

    // Two fixed numbers: every row shares them, so nothing is below two hits.
    FullVariation fixed(8, 3, {30, 31});
    const RowSets withFixed(fixed.store, fixed.source);
    EXPECT_EQ(withFixed.HitProfile(0, 5),
              (std::vector<long long>{0, Choose(5, 3), Choose(3, 1) * Choose(5, 2),
                                      Choose(3, 2) * Choose(5, 1), 0}));

    // A row stored twice (an imported file): the full-hit entry is 1.
    const Row again(v.store.Row(5), v.store.Row(5) + 6);
    v.store.Reserve(v.store.Count() + 1);
    v.store.Append(again.data());
    const RowSets repeated(v.store, v.source);
    EXPECT_EQ(repeated.HitProfile(5, 6).back(), 1);
    EXPECT_EQ(repeated.HitProfile(6, 6).back(), 0);
    // Out of range: nothing is read.
    EXPECT_EQ(repeated.HitProfile(-1, 6), (std::vector<long long>(6, 0)));
    EXPECT_EQ(repeated.HitProfile(repeated.Count(), 6), (std::vector<long long>(6, 0)));
}

TEST(RowCheck, TextsAsTheWindowsShowThem) {
    CheckCounts counts;
    counts.levels = {1, 2, 3, 4, 5};
    counts.plusLevel = 7;
    EXPECT_EQ(CheckCountsText(counts, 5, true),
              " » 5 találat:       5\r » 4 + 1    :       7\r » 4 találat:       4\r"
              " » 3 találat:       3\r » 2 találat:       2\r » 1 találat:       1\r");
    EXPECT_EQ(HitProfileText(12, {0, 1, 2}, false),
              "  Variáció 12. számsora\r Telitalálat esetén \r » 3 találat:       2\r"
              " » 2 találat:       1\r » 1 találat:       0\r");
    EXPECT_EQ(HitProfileText(1, {0}, true).rfind("  Példabontás 1. számsora\r", 0), 0u);
}

} // namespace
} // namespace velmora
