#include "variation/bontas.h"

#include "common/numbers.h"
#include "conditions/condition_table.h"

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

// A run over the first `numbers` numbers of a game.
struct Generation : EngineRun {
    Generation(int numbers, int fixedCount, const ConditionSet& conditions, GameId game = 0,
               long long allowed = kDefaultAllowedRows)
        : EngineRun(Input(FirstNumbers(numbers), conditions, game), allowed) {
        input.fixedCount = fixedCount;
    }
};

TEST(Bontas, CombinationCounts) {
    EXPECT_EQ(CombinationCount(90, 5), 43949268);
    EXPECT_EQ(CombinationCount(80, 10), 1646492110120LL);
    EXPECT_EQ(CombinationCount(35, 2), 35 * 34 / 2);
    EXPECT_EQ(CombinationCount(7, 7), 1);
}

TEST(Bontas, AsManyNumbersAsARowGiveOneRow) {
    Generation run(5, 0, {});
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.engine.TotalCombinations(), 1);
    ASSERT_EQ(run.store.Count(), 1);
    EXPECT_EQ(StoredRows(run.store)[0], (Row{0, 1, 2, 3, 4}));
    EXPECT_EQ(run.store.BlockEnds(), (std::vector<std::int32_t>{1}));
}

TEST(Bontas, PlainVariationIsEveryPassingRowInOrder) {
    ConditionSet set;
    set.sum = {true, false, 30, 40};
    Generation run(12, 0, set);
    ASSERT_TRUE(run.Go());
    std::vector<Row> expected;
    for (const Row& row : AllRows(12, 5)) {
        int sum = 0;
        for (std::uint8_t p : row) {
            sum += p + 1;
        }
        if (sum >= 30 && sum <= 40) {
            expected.push_back(row);
        }
    }
    EXPECT_EQ(StoredRows(run.store), expected);
    EXPECT_EQ(run.engine.PassedConditions(), InfoOf(Condition::Sum).passedBit);
    EXPECT_EQ(run.messages.Count(), 0u);
}

TEST(Bontas, ErrorPointsCoverEveryCombination) {
    for (int h : {1, 2}) {
        for (bool optimised : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "h " << h << " optimised " << optimised);
            ConditionSet set;
            set.errorPoints = h;
            set.options.optimised = optimised;
            Generation run(11, 0, set);
            ASSERT_TRUE(run.Go());
            const std::vector<Row> rows = StoredRows(run.store);
            ASSERT_FALSE(rows.empty());
            // Optimised with one error point is a full variation: only identical rows cover.
            if (!optimised || h == 2) {
                EXPECT_LT(static_cast<long long>(rows.size()), run.engine.TotalCombinations());
            } else {
                EXPECT_EQ(static_cast<long long>(rows.size()), run.engine.TotalCombinations());
            }
            // The optimised run is one step stricter: an (h-1)-error-point variation.
            const int needed = 5 - h + (optimised ? 1 : 0);
            ExpectCovers(rows, 11, 5, needed);
            // The greedy passes never store a row covered by an earlier one.
            for (std::size_t a = 0; a < rows.size(); ++a) {
                for (std::size_t b = a + 1; b < rows.size(); ++b) {
                    ASSERT_LT(Common(rows[a], rows[b]), needed) << "rows " << a << " and " << b;
                }
            }
        }
    }
}

TEST(Bontas, FastCoveringTestKeepsEveryDecisionOfTheMergeWalk) {
    std::mt19937 random(77);
    for (int round = 0; round < 24; ++round) {
        ConditionSet set;
        set.errorPoints = 1 + round % 2;
        set.options.optimised = round % 4 >= 2;
        if (round % 3 == 0) {
            set.sum = {true, false, 40, 120};
        }
        const int numbers = 9 + static_cast<int>(random() % 8);
        const int fixedCount = static_cast<int>(random() % 2);
        std::vector<std::uint8_t> v(45);
        std::iota(v.begin(), v.end(), 1);
        std::shuffle(v.begin(), v.end(), random);
        v.resize(static_cast<std::size_t>(numbers));

        std::vector<std::vector<Row>> results;
        for (bool literal : {true, false}) {
            Generation run(numbers, fixedCount, set, 1);
            run.input.variationNumbers = v;
            run.engine.useLiteralCovering = literal;
            ASSERT_TRUE(run.Go());
            results.push_back(StoredRows(run.store));
        }
        ASSERT_FALSE(results[0].empty());
        EXPECT_EQ(results[1], results[0]) << "round " << round;
    }
}

TEST(Bontas, GrowthAsksBeforeTakingMoreRoom) {
    // Without conditions every combination will come: the full count is asked for at once.
    Generation plain(9, 0, {}, 0, 10);
    plain.messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(plain.Go());
    EXPECT_EQ(plain.store.Count(), 126);
    ASSERT_EQ(plain.messages.Count(), 1u);
    EXPECT_EQ(plain.messages.Last().kind, MessageKind::WarningQuestion);
    EXPECT_EQ(plain.messages.LastText(),
              "A variáció mérete meghaladja az engedélyezett szelvényszámot.\r\rEngedélyezi a "
              "szabad memória lefoglalását?\r\rFolytatja a variáció készítését?");

    // With conditions the room doubles while doubling stays below the full count.
    ConditionSet set;
    set.sum = {true, false, 15, 45};
    Generation doubling(9, 0, set, 0, 10);
    doubling.messages.QueueAnswers({Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
    ASSERT_TRUE(doubling.Go());
    EXPECT_EQ(doubling.store.Count(), 126);
    ASSERT_EQ(doubling.messages.Count(), 4u); // 10 -> 20 -> 40 -> 80 -> all 126
    EXPECT_EQ(doubling.messages.Log()[0].kind, MessageKind::Question);
    EXPECT_EQ(doubling.messages.Log()[0].text,
              "A variáció mérete meghaladja az engedélyezett szelvényszámot.\r\rMegduplázza a "
              "variáció számára fenntartott memória méretét?\r\rFolytatja a variáció "
              "készítését?");
    EXPECT_EQ(doubling.messages.Log()[3].kind, MessageKind::WarningQuestion);

    // No stops the run; the rows so far stay.
    Generation refused(9, 0, {}, 0, 10);
    ASSERT_TRUE(refused.Go());
    EXPECT_EQ(refused.store.Count(), 10);
    EXPECT_FALSE(refused.engine.Running());
}

TEST(Bontas, EmptyResultNamesTheConditionsNoRowPassed) {
    ConditionSet set;
    set.twins = {true, 0, 5};
    set.sum = {true, true, 3, 3};
    set.deviation = {true, 1.0f, 1.0f};
    Generation run(10, 0, set);
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.store.Count(), 0);
    // The twins come after the sum: no row reached them, so they are listed too.
    EXPECT_EQ(run.outcome.emptyResultText,
              "Az alábbi feltételek nem teljesültek:\r\r     »  Ikerszámok\r     »  Számsor "
              "összege\r     »  Szórás - "
              "jelöljön ki egy tartományt\r\rGondolja újra a feltételek párosítását, illetve "
              "az\ralkalmazott logikai és/vagy numerikus értékeket.");
}

} // namespace
} // namespace velmora
