#include "variation/variation_test.h"

#include <gtest/gtest.h>

#include <random>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

VariationTestInput TestInput(const EngineRun& run, int drawn, bool conditionsMode = false) {
    VariationTestInput input;
    input.game = run.input.game;
    input.variationNumbers = run.input.variationNumbers;
    input.fixedCount = run.input.fixedCount;
    input.conditions = run.input.conditions;
    input.drawn = drawn;
    input.conditionsMode = conditionsMode;
    return input;
}

VariationTestResult Tested(const VariationTestInput& input, const VariationStore& store,
                           bool literal = false) {
    VariationTest test(input, store);
    test.BontasGepiEllenorzes(literal);
    EXPECT_TRUE(test.Finished());
    return test.Snapshot();
}

TEST(VariationTest, FullAndErrorPointVariationsGuaranteeTheirHits) {
    // 6/45, nine numbers, one fixed: rows of five, hits counted with the fixed number.
    EngineRun full(Input(FirstNumbers(9), {}, 1));
    full.input.fixedCount = 1;
    ASSERT_TRUE(full.Go());
    VariationTestResult result = Tested(TestInput(full, 5), full.store);
    EXPECT_EQ(result.total, 126u);
    EXPECT_EQ(result.all[6], 126u);
    for (const auto& kept : result.kept) {
        EXPECT_TRUE(kept.empty());
    }

    ConditionSet oneError;
    oneError.errorPoints = 1;
    EngineRun reduced(Input(FirstNumbers(12), oneError, 0));
    ASSERT_TRUE(reduced.Go());
    result = Tested(TestInput(reduced, 5), reduced.store);
    EXPECT_EQ(result.all[0] + result.all[1] + result.all[2] + result.all[3], 0u);
    EXPECT_EQ(result.all[4] + result.all[5], result.total);
    EXPECT_EQ(result.all[5], static_cast<unsigned long long>(reduced.store.Count()));
    EXPECT_EQ(result.kept[4].size(), std::min<std::size_t>(result.all[4], 1000));
}

TEST(VariationTest, FewerDrawnNumbersKeepEveryCaseAndInsertNothing) {
    EngineRun run(Input(FirstNumbers(8), {}, 0));
    ASSERT_TRUE(run.Go());
    const VariationTestInput input = TestInput(run, 3);
    const VariationTestResult result = Tested(input, run.store);
    EXPECT_EQ(result.all[3], 56u);
    EXPECT_EQ(result.kept[3].size(), 56u);
    EXPECT_FALSE(InsertAllowed(input, result, 3, 5, run.store.Count()));
}

TEST(VariationTest, RepeatedRowsAreCounted) {
    VariationStore store;
    store.Reset(5, 6);
    store.Reserve(3);
    for (Row row : {Row{0, 1, 2, 3, 4}, Row{0, 1, 2, 3, 5}, Row{0, 1, 2, 3, 4}}) {
        store.Append(row.data());
    }
    EngineRun shape(Input(FirstNumbers(6), {}, 0));
    VariationTest test(TestInput(shape, 5), store);
    test.BontasGepiEllenorzes();
    EXPECT_EQ(test.DuplicateRows(), 1);
    EXPECT_EQ(DuplicateRowsText(1),
              "1 számsor kétszer (vagy többször) szerepel a variáció listájában.\r\rLehetséges "
              "oka:\r    - Az import állománnyal beolvasott variáció tartalma.");
    const VariationTestResult result = test.Snapshot();
    EXPECT_TRUE(InsertAllowed(TestInput(shape, 5), result, 4, 5, 3));
}

// The split over threads gives the tables and the first kept cases of one thread.
TEST(VariationTest, ThreadsAgreeWithTheSingleThreadedMergeWalk) {
    std::mt19937 random(9);
    for (int round = 0; round < 6; ++round) {
        ConditionSet set;
        set.errorPoints = 1 + round % 2;
        if (round % 3 == 0) {
            set.sum = {true, false, 60, 140};
        }
        EngineRun run(Input(RandomNumbers(random, Between(random, 10, 16), 45), set, 1));
        ASSERT_TRUE(run.Go());
        for (int drawn : {5, 6}) {
            VariationTestInput input = TestInput(run, drawn, round % 2 == 0);
            const VariationTestResult literal = Tested(input, run.store, true);
            input.threads = 3;
            const VariationTestResult split = Tested(input, run.store);
            EXPECT_EQ(split.all, literal.all);
            EXPECT_EQ(split.failed, literal.failed);
            EXPECT_EQ(split.passed, literal.passed);
            EXPECT_EQ(split.kept, literal.kept);
        }
    }
}

TEST(VariationTest, ReportAndMissingRowList) {
    ConditionSet oneError;
    oneError.errorPoints = 1;
    EngineRun run(Input({3, 14, 15, 2, 65, 35}, oneError, 0));
    ASSERT_TRUE(run.Go());
    ASSERT_EQ(run.store.Count(), 1); // one row covers all six cases on four numbers
    const VariationTestInput input = TestInput(run, 5);
    const VariationTestResult result = Tested(input, run.store);
    EXPECT_EQ(BontasTesztLista(input, result),
              " Találati arányok elérésének esélyei 5 kihúzott szám esetén\r\r"
              " Tal              Minden eset\r ---   --------------------------\r"
              "  5                  1 db  16,67%\r"
              "  4                  5 db  83,33%\r"
              "  3                  0 db      0%\r"
              "  2                  0 db      0%\r"
              "  1                  0 db      0%\r"
              "  0                  0 db      0%\r");
    EXPECT_EQ(BontasTesztHianyzoLista(input, result, 4),
              "\r 5 (kihúzott szám) találat elérésével tesztelve a variációt.\r" +
                  std::string(89, '-') +
                  "\r A variációból hiányzó, 4 találatot eredményező (teszt) számsorok listája.\r"
                  "   1.   3 - 14 - 15 -  2 - 35             4.   3 - 15 -  2 - 65 - 35\r"
                  "   2.   3 - 14 - 15 - 65 - 35             5.  14 - 15 -  2 - 65 - 35\r"
                  "   3.   3 - 14 -  2 - 65 - 35\r" +
                  std::string(89, '-') + "\r Lista vége");
}

} // namespace
} // namespace velmora
