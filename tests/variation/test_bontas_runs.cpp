// Runs of the engine beyond a single plain pass: the condition bounds, pause and resume,
// extensions, overwrite, the frequency-distribution run and the draws-list variation.
#include <set>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

TEST(BontasBounds, SkipOnlyRowsTheConditionsReject) {
    std::mt19937 random(2024);
    int tightened = 0;
    for (int round = 0; round < 160; ++round) {
        const int n = Between(random, 7, 16);
        const int k = 5;
        ConditionSet set;
        set.errorPoints = round % 5 == 4 ? 1 : 0;
        switch (round % 6) {
        case 0: {
            const int a = Between(random, 1, n);
            const int b = Between(random, a, n);
            const int low = Between(random, 0, std::min(2, b - a + 1));
            set.favoured = {true, a, b, low, Between(random, low, k)};
            break;
        }
        case 1:
            set.mobile = {true, Between(random, 2, 4), Between(random, 1, 3)};
            break;
        case 2:
            set.fixed = {true, Between(random, 2, 5), Between(random, 1, 3)};
            break;
        case 3:
            set.twins = {true, Between(random, 0, 2), 3};
            set.primes = {true, Between(random, 0, 3), 5};
            break;
        case 4: {
            const int first = Between(random, 1, n / 2);
            set.span = {true, first, Between(random, first, n)};
            break;
        }
        default:
            set.favoured = {true, 1, Between(random, 1, n), 0, Between(random, 0, 3)};
            set.mobile = {true, 3, 2};
            break;
        }
        // Twins and primes need numbers of their kind among the marks.
        std::vector<std::uint8_t> numbers = RandomNumbers(random, n, 90);
        if (round % 6 == 3) {
            numbers[0] = 11;
            numbers[1] = 2;
            std::sort(numbers.begin(), numbers.end());
            numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
            if (static_cast<int>(numbers.size()) < k) {
                continue;
            }
        }
        EngineRun bounded(Input(numbers, set));
        EngineRun open(Input(numbers, set));
        open.engine.useConditionBounds = false;
        ASSERT_TRUE(bounded.Go());
        ASSERT_TRUE(open.Go());
        SCOPED_TRACE(::testing::Message() << "round " << round);
        EXPECT_EQ(StoredRows(bounded.store), StoredRows(open.store));
        // Skipping rejected rows can only keep a condition from being reached.
        EXPECT_EQ(bounded.engine.PassedConditions() & ~open.engine.PassedConditions(), 0);
        const Row& lower = bounded.engine.LowerBounds();
        const Row& upper = bounded.engine.UpperBounds();
        for (int i = 0; i < k; ++i) {
            EXPECT_LE(lower[static_cast<std::size_t>(i)], upper[static_cast<std::size_t>(i)]);
            if (i > 0) {
                EXPECT_LT(lower[static_cast<std::size_t>(i - 1)],
                          lower[static_cast<std::size_t>(i)]);
            }
            tightened += lower[static_cast<std::size_t>(i)] != i ? 1 : 0;
            tightened += upper[static_cast<std::size_t>(i)] != n - k + i ? 1 : 0;
        }
    }
    EXPECT_GT(tightened, 100) << "the bounds should be tightened in many rounds";
}

TEST(BontasBounds, TwinsAndPrimesTightenOnlyWhenTheMarksHoldEnough) {
    ConditionSet set;
    set.twins = {true, 2, 3}; // the marks hold one twin number: no row can pass
    EngineRun run(Input({1, 2, 3, 4, 5, 6, 11}, set));
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.engine.LowerBounds(), (Row{0, 1, 2, 3, 4}));
    EXPECT_EQ(run.store.Count(), 0);

    set.twins = {true, 2, 3};
    EngineRun twins(Input({1, 3, 5, 6, 11, 7, 22}, set));
    ASSERT_TRUE(twins.Go());
    EXPECT_EQ(twins.engine.LowerBounds(), (Row{0, 1, 2, 4, 6})); // 11 at 4, 22 at 6
    EXPECT_EQ(twins.store.Count(), 10);                          // both, and 3 of the other 5
}

// Pauses the run when the first growth question is answered, and answers the pause question.
struct PausingRun : EngineRun {
    PausingRun(const GenerationInput& in, Answer pauseAnswer) : EngineRun(in, 8) {
        messages.onPresent = [this, pauseAnswer](const FakeMessages::Shown& shown) {
            if (shown.text.rfind("A variáció mérete", 0) == 0) {
                messages.QueueAnswer(Answer::Yes);
                if (!paused) {
                    engine.RequestPause();
                    paused = true;
                }
            } else if (shown.text.find("Folytatja a variációt?") != std::string::npos) {
                messages.QueueAnswer(pauseAnswer);
            }
        };
    }
    bool paused = false;
};

TEST(BontasPause, ResumingGivesTheRowsOfAnUninterruptedRun) {
    struct Case {
        int errorPoints;
        bool optimised;
        bool sum;
    };
    const std::vector<std::uint8_t> numbers = {3, 8, 14, 15, 21, 27, 33, 40, 41, 52, 60, 71, 88};
    for (const Case& c : {Case{0, false, true}, Case{1, false, false}, Case{1, false, true},
                          Case{2, true, false}}) {
        SCOPED_TRACE(::testing::Message() << "h " << c.errorPoints << " sum " << c.sum);
        ConditionSet set;
        set.errorPoints = c.errorPoints;
        set.options.optimised = c.optimised;
        if (c.sum) {
            set.sum = {true, false, 120, 260};
        }
        EngineRun whole(Input(numbers, set));
        ASSERT_TRUE(whole.Go());

        PausingRun first(Input(numbers, set), Answer::No);
        ASSERT_TRUE(first.Go());
        ASSERT_TRUE(first.outcome.finished);
        ASSERT_TRUE(first.outcome.paused);
        EXPECT_LT(first.store.Count(), whole.store.Count());
        EXPECT_EQ(first.messages.Log().back().kind, MessageKind::Question);
        EXPECT_EQ(first.messages.LastText(),
                  "Ha elmenti a felfüggesztett variációt és azt később vissza tölti,\ra "
                  "variációt ott folytatja a program, ahol most megszakította.\r\rFolytatja a "
                  "variációt?");

        // The paused rows stay; the next run goes on from the resume position.
        GenerationInput again = Input(numbers, set);
        again.resume = first.outcome.resume;
        Bontas resumed(first.messages, first.store);
        first.messages.onPresent = nullptr;
        first.messages.QueueAnswers({Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
        ASSERT_TRUE(resumed.BontasIndul(again));
        resumed.Run();
        const GenerationOutcome done = resumed.Vege();
        EXPECT_TRUE(done.finished);
        EXPECT_FALSE(done.paused);
        EXPECT_EQ(StoredRows(first.store), StoredRows(whole.store));
        EXPECT_EQ(first.store.Frequencies(), whole.store.Frequencies());
    }
}

TEST(BontasPause, YesGoesOnAndStopLeavesNoFinishedVariation) {
    ConditionSet set;
    set.errorPoints = 1;
    const std::vector<std::uint8_t> numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EngineRun whole(Input(numbers, set));
    ASSERT_TRUE(whole.Go());
    PausingRun goesOn(Input(numbers, set), Answer::Yes);
    ASSERT_TRUE(goesOn.Go());
    EXPECT_TRUE(goesOn.outcome.finished);
    EXPECT_FALSE(goesOn.outcome.paused);
    EXPECT_EQ(StoredRows(goesOn.store), StoredRows(whole.store));

    EngineRun stopped(Input(numbers, set), 8);
    stopped.messages.onPresent = [&stopped](const FakeMessages::Shown&) {
        stopped.messages.QueueAnswer(Answer::Yes);
        stopped.engine.RequestStop();
    };
    ASSERT_TRUE(stopped.Go());
    EXPECT_FALSE(stopped.outcome.finished);
    EXPECT_FALSE(stopped.outcome.paused);
    EXPECT_TRUE(stopped.store.BlockEnds().empty());
    EXPECT_EQ(stopped.outcome.emptyResultText, "");
}

TEST(BontasExtension, NeverRepeatsARowAndClosesABlock) {
    const std::vector<std::uint8_t> numbers = {2, 5, 9, 13, 17, 23, 29, 31, 37, 44};
    ConditionSet low;
    low.sum = {true, false, 60, 90};
    EngineRun run(Input(numbers, low));
    ASSERT_TRUE(run.Go());
    const long long before = run.store.Count();
    ASSERT_GT(before, 0);

    ConditionSet wider;
    wider.sum = {true, false, 80, 110};
    GenerationInput extension = Input(numbers, wider);
    extension.extension = true;
    Bontas engine(run.messages, run.store);
    ASSERT_TRUE(engine.BontasIndul(extension));
    engine.Run();
    const GenerationOutcome outcome = engine.Vege();
    ASSERT_TRUE(outcome.finished);
    const std::vector<Row> rows = StoredRows(run.store);
    std::set<Row> distinct(rows.begin(), rows.end());
    EXPECT_EQ(distinct.size(), rows.size());
    // Exactly the rows of 60..110, the old ones first.
    EngineRun all(Input(numbers, [] {
        ConditionSet set;
        set.sum = {true, false, 60, 110};
        return set;
    }()));
    ASSERT_TRUE(all.Go());
    EXPECT_EQ(static_cast<long long>(rows.size()), all.store.Count());
    EXPECT_EQ(run.store.BlockEnds(),
              (std::vector<std::int32_t>{static_cast<std::int32_t>(before),
                                         static_cast<std::int32_t>(rows.size())}));
    EXPECT_EQ(run.store.baseCount, before);
    EXPECT_EQ(run.store.savedBaseCount, before);
}

TEST(BontasExtension, OverwriteKeepsEveryNewRowWithinTheHitLevel) {
    const std::vector<std::uint8_t> numbers = {1, 4, 9, 16, 25, 36, 49, 64, 81, 7, 14};
    ConditionSet base;
    base.errorPoints = 2;
    EngineRun run(Input(numbers, base));
    ASSERT_TRUE(run.Go());
    const long long before = run.store.Count();

    ConditionSet set;
    set.errorPoints = 1;
    set.options.overwrite = true;
    set.options.overwriteHits = 3;
    set.options.itemised = false;
    set.options.overwriteWithErrorPoints = true;
    GenerationInput overwrite = Input(numbers, set);
    overwrite.extension = true;
    Bontas engine(run.messages, run.store);
    ASSERT_TRUE(engine.BontasIndul(overwrite));
    engine.Run();
    ASSERT_TRUE(engine.Vege().finished);
    const std::vector<Row> rows = StoredRows(run.store);
    ASSERT_GT(static_cast<long long>(rows.size()), before);
    for (std::size_t a = static_cast<std::size_t>(before); a < rows.size(); ++a) {
        for (std::size_t b = 0; b < rows.size(); ++b) {
            if (a != b) {
                ASSERT_LE(Common(rows[a], rows[b]), 3) << "rows " << a << " and " << b;
            }
        }
    }
}

TEST(BontasFrequency, CoversEveryCombinationAndSpreadsTheNumbers) {
    std::mt19937 random(5);
    long long spreadTotal = 0;
    long long plainTotal = 0;
    for (int round = 0; round < 8; ++round) {
        const int n = round == 0 ? 7 : Between(random, 8, 13); // N = k' + 1 first
        ConditionSet set;
        set.errorPoints = 1 + round % 2;
        set.options.optimised = round % 4 == 3;
        set.options.frequencyDistribution = true;
        EngineRun spread(Input(RandomNumbers(random, n, 45), set, 1));
        ASSERT_TRUE(spread.Go());
        SCOPED_TRACE(::testing::Message() << "round " << round << " n " << n);
        const int needed = 6 - set.errorPoints + (set.options.optimised ? 1 : 0);
        ExpectCovers(StoredRows(spread.store), n, 6, needed);

        set.options.frequencyDistribution = false;
        EngineRun plain(spread.input);
        plain.input.conditions = set;
        ASSERT_TRUE(plain.Go());
        // The greedy sweep favours the first numbers; the rotation evens them out.
        const auto spreadOf = [](const std::vector<std::uint32_t>& f) {
            return *std::max_element(f.begin(), f.end()) - *std::min_element(f.begin(), f.end());
        };
        spreadTotal += spreadOf(spread.store.Frequencies());
        plainTotal += spreadOf(plain.store.Frequencies());
    }
    EXPECT_LT(spreadTotal, plainTotal);
}

TEST(BontasFrequency, StopEndsWithoutTheClosingPass) {
    ConditionSet set;
    set.errorPoints = 1;
    set.options.frequencyDistribution = true;
    EngineRun run(Input({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, set), 4);
    run.messages.onPresent = [&run](const FakeMessages::Shown&) {
        run.messages.QueueAnswer(Answer::Yes);
        run.engine.RequestStop();
    };
    ASSERT_TRUE(run.Go());
    EXPECT_FALSE(run.outcome.finished);
    EXPECT_EQ(run.messages.Count(), 1u) << "no pause question after a stop";
}

DrawRecord Draw(int id, std::initializer_list<int> first, std::initializer_list<int> second = {}) {
    DrawRecord draw;
    draw.drawNo = id;
    int cell = 0;
    for (int n : first) {
        draw.numbers[static_cast<std::size_t>(cell++)] = static_cast<std::uint8_t>(n);
    }
    cell = 7;
    for (int n : second) {
        draw.numbers[static_cast<std::size_t>(cell++)] = static_cast<std::uint8_t>(n);
    }
    return draw;
}

TEST(BontasDrawsList, StoresEachDrawTheMarksReachOnce) {
    const std::vector<DrawRecord> draws = {
        Draw(1, {1, 2, 3, 4, 5}), Draw(2, {10, 20, 30, 40, 50}), Draw(3, {1, 2, 60, 70, 80}),
        Draw(4, {3, 4, 5, 6, 7}), Draw(5, {11, 12, 13, 14, 15}), Draw(6, {1, 2, 3, 88, 89}),
    };
    ConditionSet set;
    set.hitRatio = {true, true, 2, 5, true, 1, 5}; // draws 1..5, at least two hits
    GenerationInput input = Input({1, 2, 3, 4, 5, 6, 7}, set);
    input.draws = &draws;
    EngineRun run(input);
    ASSERT_TRUE(run.Go());
    EXPECT_TRUE(run.engine.DrawsList());
    EXPECT_EQ(run.store.RowWidth(), 5);
    std::set<Row> rows;
    for (const Row& row : StoredRows(run.store)) {
        EXPECT_TRUE(rows.insert(row).second) << "a draw stored twice";
    }
    EXPECT_EQ(rows, (std::set<Row>{{1, 2, 3, 4, 5}, {1, 2, 60, 70, 80}, {3, 4, 5, 6, 7}}));
    EXPECT_EQ(run.store.drawIds, (std::vector<std::int32_t>{1, 3, 4, -1}));
    // Numbers no stored draw holds.
    EXPECT_EQ(run.outcome.missingNumbersText.empty(), true);
}

TEST(BontasDrawsList, TwoDrawingsOfADateAreStoredWhenBothReachTheRatio) {
    const std::vector<DrawRecord> draws = {
        Draw(1, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 8, 9, 10, 11, 12}),
        Draw(2, {20, 21, 22, 23, 24, 25, 26}, {1, 2, 3, 30, 31, 32, 33}),
        Draw(3, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7}),
    };
    ConditionSet set;
    set.hitRatio = {true, true, 2, 7, true, 1, 3};
    GenerationInput input = Input({1, 2, 3, 4, 5, 6, 7, 8}, set, 2);
    input.draws = &draws;
    EngineRun run(input);
    ASSERT_TRUE(run.Go());
    std::multiset<Row> rows;
    for (const Row& row : StoredRows(run.store)) {
        rows.insert(row);
    }
    EXPECT_EQ(rows, (std::multiset<Row>{{1, 2, 3, 4, 5, 6, 7},
                                        {1, 2, 8, 9, 10, 11, 12},
                                        {1, 2, 3, 30, 31, 32, 33},
                                        {1, 2, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(run.store.drawSetCounts, (std::vector<std::int32_t>{2, 1, 1, 0}));
}

TEST(BontasGrowth, FullTicketAsksForTheWholeVariationAtTheAllowedCount) {
    std::vector<std::uint8_t> all(90);
    std::iota(all.begin(), all.end(), 1);
    EngineRun run(Input(all, {}));
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.engine.TotalCombinations(), 43949268);
    EXPECT_EQ(run.store.Count(), kDefaultAllowedRows);
    ASSERT_EQ(run.messages.Count(), 1u);
    EXPECT_EQ(run.messages.Last().kind, MessageKind::WarningQuestion);
    EXPECT_FALSE(run.outcome.finished);
}

TEST(BontasGrowth, TooLittleFreeMemoryStopsTheRun) {
    ConditionSet set;
    set.sum = {true, false, 15, 45};
    EngineRun run(Input({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, set), 10);
    // Doubling 10 rows of 5 bytes needs 10 * 5 * 4 * 2 bytes by the program's estimate.
    run.input.freeMemory = [] { return 300LL; };
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.store.Count(), 10);
    ASSERT_EQ(run.messages.Count(), 1u);
    EXPECT_EQ(run.messages.Last().kind, MessageKind::Error);
    EXPECT_EQ(run.messages.LastText(),
              "Nincs elegendő szabad memória (RAM) a variáció befejezéséhez.");
    EXPECT_FALSE(run.outcome.finished);
}

TEST(BontasTexts, HeadlineNoticeAndEmptyErrorPointResult) {
    ConditionSet set;
    set.errorPoints = 2;
    set.sum = {true, false, 200, 210}; // five of ten small numbers never reach it
    GenerationInput input = Input({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, set);
    input.fixedCount = 1; // 5/90 with one fixed number: rows of 4
    EngineRun run(input);
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.engine.Headline(), "10 szám 2 hibapontos variációja 4 számra");
    EXPECT_EQ(run.engine.StartNoticeText(),
              "10 szám 2 hibapontos variációját készíti 4 számra.\rCsak akkor lehetséges a(z) 3 "
              "vagy több találat elérése,\rha a fix számot is eltalálja.");
    EXPECT_EQ(run.outcome.emptyResultText,
              "Az alábbi feltételek nem teljesültek:\r\r     »  Számsor összege\r\rA fix számok "
              "nem vesznek részt a variációban.\r\rGondolja újra a feltételek párosítását, "
              "illetve az\ralkalmazott logikai és/vagy numerikus értékeket.");

    set.sum = {true, false, 10, 40};
    set.errorPoints = 0;
    EngineRun plain(Input({1, 2, 3, 4, 5, 6, 7}, set));
    ASSERT_TRUE(plain.Go());
    EXPECT_EQ(plain.engine.StartNoticeText(),
              "7 szám 0 hibapontos variációját készíti 5 számra.\rCsak akkor lehetséges a(z) 5 "
              "találat elérése,\rha a fix számot is eltalálja.");
}

TEST(BontasExtension, ItemisedOverwriteRaisesItsLimitCycleByCycle) {
    const std::vector<std::uint8_t> numbers = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
    ConditionSet base;
    base.sum = {true, false, 28, 28}; // one row: the five smallest
    EngineRun run(Input(numbers, base));
    ASSERT_TRUE(run.Go());
    const long long before = run.store.Count();
    ASSERT_EQ(before, 1);

    ConditionSet set;
    set.errorPoints = 1;
    set.options.overwrite = true;
    set.options.overwriteHits = 2;
    set.options.itemised = true;
    set.options.itemisedFrom = 1;
    set.options.itemisedTo = 4;
    GenerationInput overwrite = Input(numbers, set);
    overwrite.extension = true;
    Bontas engine(run.messages, run.store);
    ASSERT_TRUE(engine.BontasIndul(overwrite));
    EXPECT_EQ(engine.MegszakitasUzenet(true),
              "2 találati arányra, 1 - 4 esetig írja felül a variációt.\rA(z) 1. eset "
              "vizsgálatánál tartott a program.\rAz utoljára tárolt számsor 1 esetben ért el 2 "
              "találati arányt.\r\rFolytatja a variációt?");
    engine.Run();
    const GenerationOutcome outcome = engine.Vege();
    ASSERT_TRUE(outcome.finished);
    // Limit 1: rows meeting at most one row on two numbers; limit 2 admits one more; limits 3
    // and 4 find nothing, so 2 is the limit reached.
    EXPECT_EQ(
        StoredRows(run.store),
        (std::vector<Row>{{0, 1, 2, 3, 4}, {0, 1, 5, 6, 7}, {2, 3, 5, 8, 9}, {4, 6, 7, 8, 9}}));
    EXPECT_EQ(outcome.itemisedFrom, 2);
    EXPECT_NE(engine.MegszakitasUzenet(false).find(
                  "\r\rA jelenlegi beállítások mellett, nem valószínű további találatok "
                  "elérése.\r\rMégis folytatja a variációt?"),
              std::string::npos);
}

// The sum skips over last positions that cannot bring the sum within its limits also when the
// numbers are not in ascending order on the ticket.
TEST(BontasSum, ShuffledNumbersGiveEveryPassingRow) {
    std::mt19937 random(31);
    for (int round = 0; round < 12; ++round) {
        const std::vector<std::uint8_t> numbers = RandomNumbers(random, 14, 90);
        ConditionSet set;
        const int low = Between(random, 60, 260);
        set.sum = {true, false, low, low + Between(random, 0, 60)};
        set.mobile = {round % 2 == 0, 3, 2};
        EngineRun run(Input(numbers, set));
        ASSERT_TRUE(run.Go());
        std::vector<Row> expected;
        for (const Row& row : AllRows(14, 5)) {
            int sum = 0;
            for (std::uint8_t p : row) {
                sum += numbers[p];
            }
            bool mobile = true;
            for (int i = 0; i + 2 < 5 && set.mobile.active; ++i) {
                mobile =
                    mobile &&
                    row[static_cast<std::size_t>(i + 2)] - row[static_cast<std::size_t>(i)] >= 3;
            }
            if (mobile && sum >= set.sum.minimum && sum <= set.sum.maximum) {
                expected.push_back(row);
            }
        }
        EXPECT_EQ(StoredRows(run.store), expected) << "round " << round;
    }
}

TEST(BontasDrawsList, AnExcludedRatioStoresNoDrawOutsideTheRange) {
    const std::vector<DrawRecord> draws = {Draw(1, {1, 2, 3, 4, 5}), Draw(2, {6, 7, 8, 9, 10}),
                                           Draw(3, {11, 12, 13, 14, 15})};
    ConditionSet set;
    set.hitRatio = {true, false, 5, 5, true, 1, 2}; // excluded: five hits in draws 1..2
    GenerationInput input = Input({20, 21, 22, 23, 24, 25}, set);
    input.draws = &draws;
    EngineRun run(input);
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.store.Count(), 0);
}

} // namespace
} // namespace velmora
