#include "stats/statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velmora {
namespace {

using Table = std::vector<std::vector<std::int32_t>>;

DrawRecord Draw(std::initializer_list<int> cells) {
    DrawRecord d;
    std::copy(cells.begin(), cells.end(), d.numbers.begin());
    return d;
}

// Two 5/90 draws worked by hand: 1 2 3 4 5 and 1 11 12 22 25.
const std::vector<DrawRecord>& TwoDraws() {
    static const std::vector<DrawRecord> draws = {Draw({1, 2, 3, 4, 5}), Draw({1, 11, 12, 22, 25})};
    return draws;
}

StatResult Compute(StatKind kind, const StatSamples& samples, int maxNumber = 90) {
    StatResult result;
    EXPECT_TRUE(SampleStatistic(kind, samples, maxNumber, result));
    return result;
}

TEST(Statistics, HistogramsOfTwoDrawsAsWorkedByHand) {
    const StatSamples samples = DrawSamples(LoadGameInfo(0), TwoDraws(), 1, 2);
    ASSERT_EQ(samples.Count(), 2);
    const struct {
        StatKind kind;
        Table table;
    } cases[] = {
        // Even decades: five and three; even numbers: two and two.
        {StatKind::DrawsEvenOdd, {{0, 0, 0, 0, 1, 0, 1}, {0, 0, 0, 2, 0, 0, 0}}},
        // Decades: 1..5 is one group with four repeats; 11 12 / 22 25 two groups of one
        // repeat each. Last digits: none; 1 11 / 12 22, two groups.
        {StatKind::DrawsRepetition,
         {{0, 0, 0, 0, 0, 1, 0},
          {0, 0, 0, 1, 0, 0, 0},
          {0, 1, 0, 0, 0, 0, 0},
          {0, 0, 0, 1, 0, 0, 0}}},
        // Twins 0 and 2 (11, 22); no mirror pair; primes 2 3 5 and 11.
        {StatKind::DrawsEvents,
         {{0, 1, 0, 1, 0, 0, 0}, {0, 2, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 1, 0, 0}}},
        // Each draw shares the number 1 with the other: one hit, at best.
        {StatKind::DrawsHitRatios, {{2, 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        const StatResult result = Compute(c.kind, samples);
        EXPECT_EQ(result.table, c.table) << static_cast<int>(c.kind);
        EXPECT_EQ(result.samples, 2);
    }
    EXPECT_EQ(Compute(StatKind::DrawsEvents, samples).totals, (std::array<long long, 3>{2, 0, 4}));
}

TEST(Statistics, DiagramsSpanTheirTheoreticalRange) {
    const StatSamples samples = DrawSamples(LoadGameInfo(0), TwoDraws(), 1, 2);
    const struct {
        StatKind kind;
        int first, last;              // the bars' values
        std::vector<int> hits;        // the values the two draws reach
        double theoryMin, theoryMean; // of the quantity
    } cases[] = {
        {StatKind::DrawsSum, 15, 440, {15, 71}, 15, 227.5},
        // 1..5 has deviation 1.58; 1 11 12 22 25: isqrt((5 * 1375 - 71 * 71) div 20) = 9.
        {StatKind::DrawsDeviation, 1, 47, {1, 9}, 1.5811388, 0},
        {StatKind::DrawsSpread, 4, 89, {4, 24}, 4, 46.5},
    };
    for (const auto& c : cases) {
        const StatResult result = Compute(c.kind, samples);
        ASSERT_FALSE(result.bars.empty());
        EXPECT_EQ(result.bars.front()[0], c.first);
        EXPECT_EQ(result.bars.back()[0], c.last);
        EXPECT_EQ(static_cast<int>(result.bars.size()), c.last - c.first + 1);
        for (const auto& bar : result.bars) {
            const bool hit = std::find(c.hits.begin(), c.hits.end(), bar[0]) != c.hits.end();
            EXPECT_EQ(bar[1], hit ? 1 : 0) << static_cast<int>(c.kind) << " at " << bar[0];
        }
        EXPECT_EQ(result.samples, 2);
        EXPECT_NEAR(result.theoryMin, c.theoryMin, 1e-6);
        if (c.theoryMean != 0) {
            EXPECT_DOUBLE_EQ(result.theoryMean, c.theoryMean);
        }
    }
    EXPECT_DOUBLE_EQ(Compute(StatKind::DrawsSum, samples).actualMean, 43);
}

TEST(Statistics, SamplesFollowTheDrawingsOfEachGame) {
    // 7/35 draws twice a date; the second drawing is a sample only when present and whole.
    const std::vector<DrawRecord> skandi = {
        Draw({1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5, 6, 7}),
        Draw({8, 9, 10, 11, 12, 13, 14}),
        Draw({8, 9, 10, 11, 12, 13, 99, 15, 16, 17, 18, 19, 20, 21}),
    };
    const StatSamples samples = DrawSamples(LoadGameInfo(2), skandi, 1, 3);
    EXPECT_EQ(samples.Count(), 4);
    EXPECT_EQ(samples.secondSet, (std::vector<std::uint8_t>{0, 1, 0, 1}));
    // The two drawings of a date are compared only with their own kind: the first date's
    // identical drawings do not hit each other.
    EXPECT_EQ(Compute(StatKind::DrawsHitRatios, samples, 35).table,
              (Table{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}));
    // 6/49 of game 4 draws twice a date with an extra number each: cells 1..6 and 8..13.
    const StatSamples slovak =
        DrawSamples(LoadGameInfo(4), {Draw({1, 2, 3, 4, 5, 6, 40, 7, 8, 9, 10, 11, 12, 41})}, 1, 1);
    EXPECT_EQ(slovak.numbers, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    // 6/45: the extra number (cell 7) is no part of a sample.
    const StatSamples hatos = DrawSamples(LoadGameInfo(1), {Draw({1, 2, 3, 4, 5, 6, 7})}, 1, 1);
    EXPECT_EQ(hatos.numbers, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    // An empty range and a range past the draws give no samples.
    EXPECT_EQ(DrawSamples(LoadGameInfo(0), TwoDraws(), 2, 1).Count(), 0);
    EXPECT_EQ(DrawSamples(LoadGameInfo(0), TwoDraws(), 2, 9).Count(), 1);
    EXPECT_EQ(Compute(StatKind::DrawsRepetition, StatSamples{5, {}, {}}).table,
              Table(4, std::vector<std::int32_t>(7, 0)));
}

TEST(Statistics, HitRatiosCountARepeatedNumberEachTime) {
    // A damaged draw may hold a number twice: it hits as often as it occurs.
    StatSamples samples;
    samples.k = 3;
    samples.numbers = {1, 2, 3, 1, 1, 9};
    // 1 1 9 against 1 2 3: two hits; 1 2 3 against 1 1 9: one hit.
    EXPECT_EQ(Compute(StatKind::DrawsHitRatios, samples).table, (Table{{1, 1}, {1, 1}, {0, 0}}));
}

// Many samples in two drawings, some holding a number twice: the pairs counted on every core
// give the table a plain comparison of every pair gives.
TEST(Statistics, HitRatiosOfManySamplesMatchAPlainComparison) {
    std::mt19937 random(11);
    StatSamples samples;
    samples.k = 6;
    for (int s = 0; s < 1500; ++s) {
        for (int i = 0; i < samples.k; ++i) {
            samples.numbers.push_back(static_cast<std::uint8_t>(1 + random() % 20));
        }
        samples.secondSet.push_back(static_cast<std::uint8_t>(s % 3 == 0));
    }
    Table expected(6, std::vector<std::int32_t>(2, 0));
    for (long long i = 0; i < samples.Count(); ++i) {
        const std::uint8_t* a = samples.Sample(i);
        std::vector<int> hist(7, 0);
        for (long long j = 0; j < samples.Count(); ++j) {
            if (samples.secondSet[static_cast<std::size_t>(i)] !=
                samples.secondSet[static_cast<std::size_t>(j)]) {
                continue;
            }
            const std::uint8_t* b = samples.Sample(j);
            int h = 0;
            for (int p = 0; p < 6; ++p) {
                h += std::find(a, a + 6, b[p]) != a + 6;
            }
            ++hist[static_cast<std::size_t>(h)];
        }
        --hist[6];
        int best = 0;
        for (int h = 1; h <= 6; ++h) {
            if (hist[static_cast<std::size_t>(h)] != 0) {
                ++expected[static_cast<std::size_t>(h - 1)][0];
                best = h;
            }
        }
        if (best > 0) {
            ++expected[static_cast<std::size_t>(best - 1)][1];
        }
    }
    EXPECT_EQ(Compute(StatKind::VariationHitRatios, samples, 20).table, expected);
}

TEST(Statistics, VariationRowsAreSamplesOfTheirNumbers) {
    VariationStore store;
    store.Reset(3, 4);
    ASSERT_TRUE(store.Reserve(3));
    for (const auto& row : {std::vector<std::uint8_t>{0, 1, 2}, {0, 1, 3}, {0, 1, 9}}) {
        store.Append(row.data());
    }
    ExportSource source;
    source.numbers = {10, 20, 30, 40};
    source.fixed = {45};
    const StatSamples samples = VariationSamples(LoadGameInfo(1), store, source);
    // The row naming a position past the ticket is left out; the fixed number is no part.
    EXPECT_EQ(samples.numbers, (std::vector<std::uint8_t>{10, 20, 30, 10, 20, 40}));
    const StatResult frequency = Compute(StatKind::VariationFrequency, samples, 45);
    EXPECT_EQ(frequency.bars,
              (std::vector<std::array<std::int32_t, 2>>{{10, 2}, {20, 2}, {30, 1}, {40, 1}}));
    EXPECT_EQ(frequency.samples, 2);
}

TEST(Statistics, AStoppedStatisticSaysSo) {
    const StatSamples samples = DrawSamples(LoadGameInfo(0), TwoDraws(), 1, 2);
    StatProgress progress;
    progress.running = false;
    StatResult result;
    EXPECT_FALSE(SampleStatistic(StatKind::DrawsSum, samples, 90, result, &progress));
    progress.running = true;
    EXPECT_TRUE(SampleStatistic(StatKind::DrawsSum, samples, 90, result, &progress));
    EXPECT_EQ(progress.processed, 3) << "one step a sample, and the one that stopped";
}

TEST(Statistics, TheCacheKeepsOnlyFinishedResultsAndResetsBySource) {
    StatCache cache;
    int runs = 0;
    const auto finish = [&runs](StatResult& result) {
        ++runs;
        result.samples = 7;
        return true;
    };
    const auto stop = [&runs](StatResult&) {
        ++runs;
        return false;
    };
    EXPECT_EQ(cache.Get(StatKind::DrawsSum, stop), nullptr);
    EXPECT_EQ(cache.Find(StatKind::DrawsSum), nullptr) << "a stopped run fills nothing";
    ASSERT_NE(cache.Get(StatKind::DrawsSum, finish), nullptr);
    EXPECT_EQ(cache.Get(StatKind::DrawsSum, finish)->samples, 7);
    EXPECT_EQ(runs, 2) << "the second time the stored result is shown";
    cache.Get(StatKind::VariationSum, finish);
    cache.Get(StatKind::TimesDrawn, finish);
    cache.Reset(StatSource::Variation);
    EXPECT_EQ(cache.Find(StatKind::VariationSum), nullptr);
    EXPECT_NE(cache.Find(StatKind::DrawsSum), nullptr);
    EXPECT_NE(cache.Find(StatKind::TimesDrawn), nullptr);
    cache.Reset(StatSource::Database);
    EXPECT_EQ(cache.Find(StatKind::DrawsSum), nullptr);
    EXPECT_NE(cache.Find(StatKind::TimesDrawn), nullptr);
    cache.ResetAll();
    EXPECT_EQ(cache.Find(StatKind::TimesDrawn), nullptr);
    EXPECT_EQ(ResetText(StatSource::MainTicket), "Főszelvény - tárolt lekérdezések törölve.");
    EXPECT_EQ(SourceOf(StatKind::DrawsSpread), StatSource::Database);
    EXPECT_EQ(SourceOf(StatKind::VariationFrequency), StatSource::Variation);
}

TEST(Statistics, NumberFlags) {
    const NumberFlags flags = MakeNumberFlags(90);
    EXPECT_EQ(flags.mirrorPartner[12], 21);
    EXPECT_EQ(flags.mirrorPartner[21], 12);
    EXPECT_EQ(flags.mirrorPartner[19], 0) << "91 is past 90";
    EXPECT_EQ(flags.mirrorPartner[10], 0);
    EXPECT_EQ(flags.mirrorPartner[11], 0);
    EXPECT_TRUE(flags.evenDecade[25] && !flags.evenDecade[15]);
    EXPECT_TRUE(flags.prime[89] && !flags.prime[1] && !flags.prime[91 - 10]);
    EXPECT_TRUE(flags.twin[33] && !flags.twin[30]);
}

} // namespace
} // namespace velmora
