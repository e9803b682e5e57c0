// The minimiser against a brute-force check of the guarantee: every candidate that passes the
// conditions shares enough positions with a row, every row passes them, also when the search
// is stopped at any moment; a seed makes it reproducible; the lower bounds by hand.
#include "variation/minimiser.h"

#include <set>
#include <thread>

#include "common/numbers.h"
#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

int Common(const Row& a, const Row& b) {
    int common = 0;
    for (std::uint8_t x : a) {
        common += std::count(b.begin(), b.end(), x) > 0 ? 1 : 0;
    }
    return common;
}

std::vector<Row> RowsOf(const VariationStore& store) {
    std::vector<Row> rows = StoredRows(store);
    for (Row& row : rows) {
        std::sort(row.begin(), row.end());
    }
    return rows;
}

// Every `wanted` row shares `needed` positions with one of `rows`.
void ExpectGuarantee(const std::vector<Row>& rows, const std::vector<Row>& wanted, int needed) {
    for (const Row& candidate : wanted) {
        const bool covered = std::any_of(rows.begin(), rows.end(), [&](const Row& row) {
            return Common(row, candidate) >= needed;
        });
        ASSERT_TRUE(covered) << "a candidate is left uncovered";
    }
}

struct Case {
    GenerationInput input;
    int k = 0;
    int needed = 0;
    std::vector<Row> passing; // the plain variation: every row that passes the conditions
    std::vector<Row> greedy;  // the error-point variation
};

Case MakeCase(std::mt19937& random, int round) {
    Case c;
    const GameId game = static_cast<GameId>(round % 3);
    c.k = LoadGameInfo(game).rowLength;
    const int n = Between(random, c.k + 2, c.k + 6);
    ConditionSet set = round % 2 == 0 ? ConditionSet{} : RandomConditions(random, round, n, c.k);
    std::vector<std::uint8_t> numbers = RandomNumbers(random, n, LoadGameInfo(game).maxNumber);
    std::sort(numbers.begin(), numbers.end());
    EngineRun plain(Input(numbers, set, game));
    plain.Go();
    c.passing = RowsOf(plain.store);
    set.errorPoints = Between(random, 1, 2);
    c.input = Input(numbers, set, game);
    EngineRun reduced(c.input);
    reduced.Go();
    c.greedy = RowsOf(reduced.store);
    c.needed = c.k - set.errorPoints;
    return c;
}

MinimiserInput SearchInput(const Case& c, double seconds, int threads) {
    MinimiserInput input;
    input.n = static_cast<int>(c.input.variationNumbers.size());
    input.k = c.k;
    input.needed = c.needed;
    input.rows = c.greedy;
    input.passing =
        PassingCandidates(c.input.conditions, c.input.variationNumbers, c.input.game, c.k, nullptr);
    input.seconds = seconds;
    input.threads = threads;
    return input;
}

TEST(Minimiser, ResultsKeepTheGuaranteeAndPassTheConditions) {
    std::mt19937 random(5);
    int improved = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        const Case c = MakeCase(random, round);
        if (c.greedy.empty()) {
            continue;
        }
        MinimiserInput input = SearchInput(c, 0.05, 1 + round % 2);
        input.seed = static_cast<std::uint64_t>(round);
        // The candidates the search must cover are exactly the rows of the plain variation.
        const unsigned long long all = Binomial(input.n, input.k);
        std::set<unsigned long long> passingRanks;
        for (const Row& row : c.passing) {
            passingRanks.insert(ColexRank(row.data(), c.k));
        }
        for (unsigned long long rank = 0; rank < all; ++rank) {
            const bool passes = input.passing.empty() || input.passing[rank] != 0;
            ASSERT_EQ(passes, passingRanks.count(rank) == 1) << "rank " << rank;
        }
        MinimiserProgress progress;
        const MinimiserResult result = MinimiseRows(input, progress);
        ASSERT_LE(result.rows.size(), c.greedy.size());
        EXPECT_EQ(result.improved, result.rows.size() < c.greedy.size());
        ExpectGuarantee(result.rows, c.passing, c.needed);
        for (const Row& row : result.rows) {
            ASSERT_EQ(passingRanks.count(ColexRank(row.data(), c.k)), 1U) << "a row fails";
        }
        improved += result.improved ? 1 : 0;
        // Without one of its rows the variation may or may not cover: the check agrees with
        // the brute force.
        std::vector<Row> fewer = result.rows;
        fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(random() % fewer.size()));
        bool coversAll = true;
        for (const Row& candidate : c.passing) {
            coversAll = coversAll && std::any_of(fewer.begin(), fewer.end(), [&](const Row& row) {
                            return Common(row, candidate) >= c.needed;
                        });
        }
        EXPECT_EQ(CoversEveryCandidate(input.n, input.k, c.needed, fewer, input.passing),
                  coversAll);
    }
    EXPECT_GT(improved, 10) << "the search should find smaller variations";
}

TEST(Minimiser, AStopAtAnyMomentKeepsACompleteVariation) {
    std::mt19937 random(11);
    GenerationInput generation = Input(FirstNumbers(16), ConditionSet{});
    generation.conditions.errorPoints = 1;
    EngineRun greedy(generation);
    ASSERT_TRUE(greedy.Go());
    Case c;
    c.input = generation;
    c.k = 5;
    c.needed = 4;
    c.greedy = RowsOf(greedy.store);
    EngineRun plain(Input(FirstNumbers(16), ConditionSet{}));
    ASSERT_TRUE(plain.Go());
    c.passing = RowsOf(plain.store);
    for (int round = 0; round < 6; ++round) {
        MinimiserInput input = SearchInput(c, 60, 2);
        MinimiserProgress progress;
        std::thread stopper([&progress, &random] {
            std::this_thread::sleep_for(std::chrono::milliseconds(Between(random, 0, 300)));
            progress.stop = true;
        });
        const MinimiserResult result = MinimiseRows(input, progress);
        stopper.join();
        ASSERT_LE(result.rows.size(), c.greedy.size());
        EXPECT_EQ(static_cast<long long>(result.rows.size()), progress.best.load());
        ExpectGuarantee(result.rows, c.passing, c.needed);
    }
}

TEST(Minimiser, ASeedMakesTheSearchReproducibleAndABadStartIsKept) {
    std::mt19937 random(3);
    const Case c = MakeCase(random, 0);
    std::vector<std::vector<Row>> results;
    for (int run = 0; run < 2; ++run) {
        MinimiserInput input = SearchInput(c, 0.2, 2);
        input.seed = 42;
        MinimiserProgress progress;
        results.push_back(MinimiseRows(input, progress).rows);
    }
    EXPECT_LT(results[0].size(), c.greedy.size());
    EXPECT_EQ(results[0], results[1]);

    // Rows that do not cover every candidate are not a variation to improve.
    MinimiserInput input = SearchInput(c, 0.2, 1);
    input.rows.pop_back();
    MinimiserProgress progress;
    const MinimiserResult kept = MinimiseRows(input, progress);
    EXPECT_FALSE(kept.improved);
    EXPECT_EQ(kept.rows.size(), input.rows.size());
}

TEST(Minimiser, LowerBoundsAndRanks) {
    const struct {
        int n, k, needed;
        long long bound;
    } bounds[] = {
        // The counting bound: C(N, k') over the candidates one row covers, rounded up.
        {12, 5, 4, 22}, // 792 / 36
        {16, 5, 4, 78}, // 4368 / 56
        {11, 6, 5, 15}, // 462 / 31
        {12, 6, 4, 4},  // 924 / 262
        {10, 7, 6, 6},  // 120 / 22
        // Exact: only a row itself covers, or any row covers every other.
        {10, 5, 5, 252},
        {7, 5, 3, 1},
        {8, 5, 3, 2}, // 56 / (10 * 3 + 5 * 3 + 1) rounded up
    };
    for (const auto& b : bounds) {
        EXPECT_EQ(CoveringLowerBound(b.n, b.k, b.needed), b.bound) << b.n << " " << b.k;
    }
    // Ranks number the combinations 0 .. C(N, k') - 1, one each.
    std::set<unsigned long long> ranks;
    for (int a = 0; a < 9; ++a) {
        for (int b = a + 1; b < 9; ++b) {
            for (int c = b + 1; c < 9; ++c) {
                for (int d = c + 1; d < 9; ++d) {
                    const std::uint8_t row[] = {
                        static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
                        static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(d)};
                    ranks.insert(ColexRank(row, 4));
                }
            }
        }
    }
    EXPECT_EQ(ranks.size(), 126U);
    EXPECT_EQ(*ranks.rbegin(), 125U);
}

} // namespace
} // namespace velmora
