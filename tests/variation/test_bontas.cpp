// The variation engine against oracles and against its own plain counterparts (the literal
// merge walk for the bit-set covering, the default bounds for the condition bounds), and its
// runs: pause and resume, extensions and overwrite, frequency distribution, the draws list,
// growth of the row table and the texts.
#include "variation/bontas.h"

#include <map>
#include <set>

#include "common/numbers.h"
#include "conditions/condition_table.h"
#include "conditions/filter.h"
#include "settings/settings.h"
#include "support/engine_runs.h"
#include "variation/variation_export.h"

namespace velmora {
namespace {

using namespace testing;

// Without error points the variation is every passing combination in lexicographic order, also
// when the numbers are not ascending on the ticket (the sum skips ahead over last positions).
TEST(Bontas, PlainVariationIsEveryPassingRowInOrder) {
    std::mt19937 random(31);
    for (int round = 0; round < 14; ++round) {
        const std::vector<std::uint8_t> numbers =
            round == 0 ? FirstNumbers(12) : RandomNumbers(random, 14, 90);
        ConditionSet set;
        const int low = round == 0 ? 30 : Between(random, 60, 260);
        set.sum = {true, false, low, low + (round == 0 ? 10 : Between(random, 0, 60))};
        set.mobile = {round % 2 == 1, 3, 2};
        EngineRun run(Input(numbers, set));
        ASSERT_TRUE(run.Go());
        std::vector<Row> expected;
        std::vector<bool> seen(numbers.size(), false);
        for (const Row& row : AllRows(static_cast<int>(numbers.size()), 5)) {
            int sum = 0;
            bool mobile = true;
            for (std::size_t i = 0; i < 5; ++i) {
                sum += numbers[row[i]];
                mobile = mobile && (i < 2 || !set.mobile.active || row[i] - row[i - 2] >= 3);
            }
            if (mobile && sum >= set.sum.minimum && sum <= set.sum.maximum) {
                expected.push_back(row);
                for (std::uint8_t p : row) {
                    seen[p] = true;
                }
            }
        }
        SCOPED_TRACE(::testing::Message() << "round " << round);
        EXPECT_EQ(StoredRows(run.store), expected);
        EXPECT_EQ(run.messages.Count(), 0u);
        // The numbers no row holds are named after a run that stored rows.
        std::vector<std::uint8_t> missing;
        for (std::size_t p = 0; p < numbers.size(); ++p) {
            if (!seen[p]) {
                missing.push_back(numbers[p]);
            }
        }
        EXPECT_EQ(run.outcome.missingNumbersText,
                  expected.empty() ? "" : BontStatVizsg(missing, run.engine.PassedConditions()));
        if (round == 0) {
            EXPECT_EQ(run.engine.PassedConditions(), InfoOf(Condition::Sum).passedBit);
        }
    }
}

// A reduced variation has a row sharing at least k - h positions with every combination and no
// row covered by an earlier one; the optimised run is one step stricter. The greedy passes and
// their two-step refill after a covered candidate are the program's own and a different refill
// still covers, so the rows are pinned as well.
TEST(Bontas, ReducedVariationsCoverEveryCombination) {
    struct Case {
        int h;
        bool optimised;
        std::size_t count;
        Row second, last;
    };
    const Case cases[] = {
        {1, false, 65, {6, 8, 9, 10, 11}, {5, 7, 8, 10, 11}},
        {1, true, 792, {0, 5, 6, 7, 8}, {7, 8, 9, 10, 11}}, // only identical rows cover: all
        {2, false, 10, {6, 8, 9, 10, 11}, {4, 5, 7, 9, 10}},
        {2, true, 63, {0, 5, 6, 7, 8}, {6, 8, 9, 10, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "h " << c.h << " optimised " << c.optimised);
        ConditionSet set;
        set.errorPoints = c.h;
        set.options.optimised = c.optimised;
        EngineRun run(Input(FirstNumbers(12), set));
        ASSERT_TRUE(run.Go());
        const std::vector<Row> rows = StoredRows(run.store);
        ASSERT_EQ(rows.size(), c.count);
        EXPECT_EQ(rows[0], (Row{0, 1, 2, 3, 4}));
        EXPECT_EQ(rows[1], c.second);
        EXPECT_EQ(rows.back(), c.last);
        const int needed = 5 - c.h + (c.optimised ? 1 : 0);
        ExpectCovers(rows, 12, 5, needed);
        for (std::size_t a = 0; a < rows.size(); ++a) {
            for (std::size_t b = a + 1; b < rows.size(); ++b) {
                ASSERT_LT(Common(rows[a], rows[b]), needed) << "rows " << a << " and " << b;
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
        const std::vector<std::uint8_t> numbers = RandomNumbers(random, Between(random, 9, 16), 45);
        const int fixedCount = static_cast<int>(random() % 2);
        std::vector<std::vector<Row>> results;
        for (bool literal : {true, false}) {
            EngineRun run(Input(numbers, set, 1));
            run.input.fixedCount = fixedCount;
            run.engine.useLiteralCovering = literal;
            ASSERT_TRUE(run.Go());
            results.push_back(StoredRows(run.store));
        }
        ASSERT_FALSE(results[0].empty());
        EXPECT_EQ(results[1], results[0]) << "round " << round;
    }
}

TEST(Bontas, ConditionBoundsSkipOnlyRowsTheConditionsReject) {
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
        for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) {
            EXPECT_LE(lower[i], upper[i]);
            EXPECT_TRUE(i == 0 || lower[i - 1] < lower[i]);
            tightened += lower[i] != i ? 1 : 0;
            tightened += upper[i] != n - k + static_cast<int>(i) ? 1 : 0;
        }
    }
    EXPECT_GT(tightened, 100) << "the bounds should be tightened in many rounds";
}

// The walk's shortcuts (the last positions of a prefix stored as one run, prefixes whose
// completions all fail passed over whole) change nothing a run produces: the rows in their
// order, the counts, the reached conditions, the texts of the end, also from a resume position
// and in reduced variations.
TEST(Bontas, ShortcutsOfTheWalkChangeNothingARunProduces) {
    std::mt19937 random(77);
    long long skipped = 0;
    int runs = 0;
    for (int round = 0; round < 240; ++round) {
        const GameId game = static_cast<GameId>(round % 3);
        const int k = LoadGameInfo(game).rowLength;
        const int n = Between(random, k, k + 12);
        ConditionSet set = RandomConditions(random, round, n, k);
        set.errorPoints = round % 7 == 5 ? 1 : 0;
        std::vector<std::uint8_t> numbers = RandomNumbers(random, n, LoadGameInfo(game).maxNumber);
        if (round % 5 != 2) {
            std::sort(numbers.begin(), numbers.end());
        }
        GenerationInput input = Input(numbers, set, game);
        if (round % 5 == 1) {
            // Going on from a paused position in the middle of the walk.
            input.resume.paused = true;
            for (int i = 0; i < k; ++i) {
                input.resume.position.push_back(
                    static_cast<std::uint8_t>(i + (i == 0 ? Between(random, 0, n - k) : 0)));
            }
            for (int i = 1; i < k; ++i) {
                input.resume.position[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
                    std::max<int>(input.resume.position[static_cast<std::size_t>(i)],
                                  input.resume.position[static_cast<std::size_t>(i - 1)] + 1));
            }
        }
        EngineRun fast(input, 1'000'000);
        EngineRun plain(input, 1'000'000);
        plain.engine.useLastLevelRuns = false;
        plain.engine.usePrefixBounds = false;
        if (input.resume.paused) {
            fast.store.Reset(k, n);
            plain.store.Reset(k, n);
        }
        const bool ranFast = fast.Go();
        const bool ranPlain = plain.Go();
        SCOPED_TRACE(::testing::Message() << "round " << round);
        ASSERT_EQ(ranFast, ranPlain);
        EXPECT_EQ(StoredRows(fast.store), StoredRows(plain.store));
        EXPECT_EQ(fast.store.Frequencies(), plain.store.Frequencies());
        EXPECT_EQ(fast.engine.PassedConditions(), plain.engine.PassedConditions());
        EXPECT_EQ(fast.outcome.emptyResultText, plain.outcome.emptyResultText);
        EXPECT_EQ(fast.outcome.missingNumbersText, plain.outcome.missingNumbersText);
        EXPECT_EQ(fast.outcome.finished, plain.outcome.finished);
        EXPECT_EQ(plain.engine.SkippedPrefixes(), 0);
        skipped += fast.engine.SkippedPrefixes();
        runs += fast.engine.SkippedPrefixes() > 0 ? 1 : 0;
    }
    EXPECT_GT(runs, 60) << "prefixes should be passed over in many rounds (" << skipped << ")";
}

TEST(Bontas, TwinsTightenTheBoundsOnlyWhenTheMarksHoldEnough) {
    ConditionSet set;
    set.twins = {true, 2, 3}; // one twin number among the marks: no row can pass
    EngineRun run(Input({1, 2, 3, 4, 5, 6, 11}, set));
    ASSERT_TRUE(run.Go());
    EXPECT_EQ(run.engine.LowerBounds(), (Row{0, 1, 2, 3, 4}));
    EXPECT_EQ(run.store.Count(), 0);

    EngineRun twins(Input({1, 3, 5, 6, 11, 7, 22}, set));
    ASSERT_TRUE(twins.Go());
    EXPECT_EQ(twins.engine.LowerBounds(), (Row{0, 1, 2, 4, 6})); // 11 at 4, 22 at 6
    EXPECT_EQ(twins.store.Count(), 10);                          // both, and 3 of the other 5
}

TEST(Bontas, GrowthAsksBeforeTakingMoreRoom) {
    const std::string over = "A variáció mérete meghaladja az engedélyezett szelvényszámot.\r\r";
    const std::map<MessageKind, std::string> texts = {
        {MessageKind::WarningQuestion, over + "Engedélyezi a szabad memória lefoglalását?\r\r"
                                              "Folytatja a variáció készítését?"},
        {MessageKind::Question, over + "Megduplázza a variáció számára fenntartott memória "
                                       "méretét?\r\rFolytatja a variáció készítését?"},
        {MessageKind::Error, "Nincs elegendő szabad memória (RAM) a variáció befejezéséhez."},
    };
    using enum MessageKind;
    struct Case {
        const char* what;
        int numbers, yes; // the questions answered Yes
        bool sum, finished;
        long long allowed, freeMemory, rows; // free memory 0: no limit
        std::vector<MessageKind> shown;
    };
    constexpr long long kAllowed = kDefaultAllowedRows;
    const Case cases[] = {
        {"as many numbers as a row", 5, 0, false, true, 10, 0, 1, {}},
        // Without conditions every combination will come: the full count is asked for at once.
        {"plain", 9, 1, false, true, 10, 0, 126, {WarningQuestion}},
        // With conditions the room doubles while doubling stays below the full count.
        {"doubling", 9, 4, true, true, 10, 0, 126, {Question, Question, Question, WarningQuestion}},
        {"refused", 9, 0, false, false, 10, 0, 10, {WarningQuestion}}, // the rows so far stay
        // Doubling 10 rows of 5 bytes needs 10 * 5 * 4 * 2 bytes by the program's estimate.
        {"little memory", 10, 0, true, false, 10, 300, 10, {Error}},
        {"full ticket", 90, 0, false, false, kAllowed, 0, kAllowed, {WarningQuestion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ConditionSet set;
        set.sum = {c.sum, false, 15, 45};
        EngineRun run(Input(FirstNumbers(c.numbers), set), c.allowed);
        for (int i = 0; i < c.yes; ++i) {
            run.messages.QueueAnswer(Answer::Yes);
        }
        if (c.freeMemory > 0) {
            run.input.freeMemory = [&c] { return c.freeMemory; };
        }
        ASSERT_TRUE(run.Go());
        EXPECT_EQ(run.engine.TotalCombinations(), CombinationCount(c.numbers, 5));
        EXPECT_EQ(run.store.Count(), c.rows);
        ASSERT_EQ(run.messages.Count(), c.shown.size());
        for (std::size_t i = 0; i < c.shown.size(); ++i) {
            EXPECT_EQ(run.messages.Log()[i].kind, c.shown[i]);
            EXPECT_EQ(run.messages.Log()[i].text, texts.at(c.shown[i]));
        }
        EXPECT_EQ(run.outcome.finished, c.finished);
        // A finished run is one block; a stopped one is no variation.
        EXPECT_EQ(run.store.BlockEnds(),
                  c.finished ? std::vector<std::int32_t>{static_cast<std::int32_t>(c.rows)}
                             : std::vector<std::int32_t>{});
    }
}

TEST(Bontas, HeadlineNoticeAndEmptyResultTexts) {
    const std::string rethink = "\r\rGondolja újra a feltételek párosítását, illetve az\r"
                                "alkalmazott logikai és/vagy numerikus értékeket.";
    ConditionSet set;
    set.twins = {true, 0, 5};
    set.sum = {true, true, 3, 3};
    set.deviation = {true, 1.0f, 1.0f};
    EngineRun none(Input(FirstNumbers(10), set));
    ASSERT_TRUE(none.Go());
    EXPECT_EQ(none.store.Count(), 0);
    // The twins come after the sum: no row reached them, so they are listed too.
    EXPECT_EQ(none.outcome.emptyResultText,
              "Az alábbi feltételek nem teljesültek:\r\r     »  Ikerszámok\r     »  Számsor "
              "összege\r     »  Szórás - jelöljön ki egy tartományt" +
                  rethink);

    set = {};
    set.errorPoints = 2;
    set.sum = {true, false, 200, 210}; // five of ten small numbers never reach it
    EngineRun fixed(Input(FirstNumbers(10), set));
    fixed.input.fixedCount = 1; // 5/90 with one fixed number: rows of 4
    ASSERT_TRUE(fixed.Go());
    EXPECT_EQ(fixed.engine.Headline(), "10 szám 2 hibapontos variációja 4 számra");
    EXPECT_EQ(fixed.engine.StartNoticeText(),
              "10 szám 2 hibapontos variációját készíti 4 számra.\rCsak akkor lehetséges a(z) 3 "
              "vagy több találat elérése,\rha a fix számot is eltalálja.");
    EXPECT_EQ(fixed.outcome.emptyResultText,
              "Az alábbi feltételek nem teljesültek:\r\r     »  Számsor összege\r\rA fix számok "
              "nem vesznek részt a variációban." +
                  rethink);
}

enum class Interrupt { PauseAndKeep, PauseAndGoOn, Stop };

// Interrupts the run when the first growth question is answered, and answers the pause question.
struct InterruptedRun : EngineRun {
    InterruptedRun(const GenerationInput& in, Interrupt how, long long allowed)
        : EngineRun(in, allowed) {
        messages.onPresent = [this, how](const FakeMessages::Shown& shown) {
            if (shown.text.rfind("A variáció mérete", 0) == 0) {
                messages.QueueAnswer(Answer::Yes);
                if (!interrupted) {
                    how == Interrupt::Stop ? engine.RequestStop() : engine.RequestPause();
                    interrupted = true;
                }
            } else if (shown.text.find("Folytatja a variációt?") != std::string::npos) {
                messages.QueueAnswer(how == Interrupt::PauseAndGoOn ? Answer::Yes : Answer::No);
            }
        };
    }
    bool interrupted = false;
};

// A paused run resumed, or one that goes on after the pause question, gives the rows of an
// uninterrupted run; a stop leaves no variation (the frequency distribution skips its closing
// pass and asks nothing more).
TEST(Bontas, PauseResumeAndStop) {
    struct Case {
        int errorPoints;
        bool optimised, sum, frequency;
        Interrupt how;
    };
    using enum Interrupt;
    const Case cases[] = {
        {0, false, true, false, PauseAndKeep},  {1, false, false, false, PauseAndKeep},
        {1, false, true, false, PauseAndKeep},  {2, true, false, false, PauseAndKeep},
        {1, false, false, false, PauseAndGoOn}, {1, false, false, false, Stop},
        {1, false, false, true, Stop},
    };
    const std::vector<std::uint8_t> numbers = {3, 8, 14, 15, 21, 27, 33, 40, 41, 52, 60, 71, 88};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "h " << c.errorPoints << " sum " << c.sum << " frequency " << c.frequency
                     << " interrupt " << static_cast<int>(c.how));
        ConditionSet set;
        set.errorPoints = c.errorPoints;
        set.options.optimised = c.optimised;
        set.options.frequencyDistribution = c.frequency;
        set.sum = {c.sum, false, 120, 260};
        InterruptedRun first(Input(numbers, set), c.how, c.frequency ? 4 : 8);
        ASSERT_TRUE(first.Go());
        if (c.how == Stop) {
            EXPECT_FALSE(first.outcome.finished);
            EXPECT_FALSE(first.outcome.paused);
            EXPECT_TRUE(first.store.BlockEnds().empty());
            EXPECT_EQ(first.outcome.emptyResultText, "");
            EXPECT_EQ(first.messages.Count(), 1u) << "no pause question after a stop";
            continue;
        }
        EngineRun whole(Input(numbers, set));
        ASSERT_TRUE(whole.Go());
        ASSERT_TRUE(first.outcome.finished);
        EXPECT_EQ(first.outcome.paused, c.how == PauseAndKeep);
        if (c.how == PauseAndKeep) {
            EXPECT_LT(first.store.Count(), whole.store.Count());
            EXPECT_EQ(first.messages.Log().back().kind, MessageKind::Question);
            EXPECT_EQ(first.messages.LastText(),
                      "Ha elmenti a felfüggesztett variációt és azt később vissza tölti,\ra "
                      "variációt ott folytatja a program, ahol most megszakította.\r\rFolytatja "
                      "a variációt?");
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
        }
        EXPECT_EQ(StoredRows(first.store), StoredRows(whole.store));
        EXPECT_EQ(first.store.Frequencies(), whole.store.Frequencies());
    }
}

// However large the allowed size, the store reserves no more rows than 95 per cent of the
// free memory holds at four bytes a number.
TEST(Bontas, TheAllowedSizeIsLoweredToWhatTheMemoryHolds) {
    std::vector<std::uint8_t> all;
    for (int n = 1; n <= 90; ++n) {
        all.push_back(static_cast<std::uint8_t>(n));
    }
    EngineRun run(Input(all, ConditionSet{}), 1'000'000'000'000LL);
    run.input.freeMemory = [] { return 2'000'000LL; };
    ASSERT_TRUE(run.engine.BontasIndul(run.input));
    EXPECT_EQ(run.store.Capacity(), 95000); // 1 900 000 bytes / (5 x 4)
    EXPECT_EQ(OptimalVariationRows(2'000'000, 10), 47500);
}

// Runs an extension of `conditions` over the rows of `run`.
GenerationOutcome Extend(EngineRun& run, const ConditionSet& conditions) {
    GenerationInput input = Input(run.input.variationNumbers, conditions);
    input.extension = true;
    Bontas engine(run.messages, run.store);
    EXPECT_TRUE(engine.BontasIndul(input));
    engine.Run();
    return engine.Vege();
}

TEST(Bontas, ExtensionNeverRepeatsARowAndClosesABlock) {
    const std::vector<std::uint8_t> numbers = {2, 5, 9, 13, 17, 23, 29, 31, 37, 44};
    ConditionSet set;
    set.sum = {true, false, 60, 90};
    EngineRun run(Input(numbers, set));
    ASSERT_TRUE(run.Go());
    const long long before = run.store.Count();
    ASSERT_GT(before, 0);
    set.sum = {true, false, 80, 110};
    ASSERT_TRUE(Extend(run, set).finished);
    const std::vector<Row> rows = StoredRows(run.store);
    EXPECT_EQ(std::set<Row>(rows.begin(), rows.end()).size(), rows.size());
    // Exactly the rows of 60..110, the old ones first.
    set.sum = {true, false, 60, 110};
    EngineRun all(Input(numbers, set));
    ASSERT_TRUE(all.Go());
    EXPECT_EQ(static_cast<long long>(rows.size()), all.store.Count());
    EXPECT_EQ(run.store.BlockEnds(),
              (std::vector<std::int32_t>{static_cast<std::int32_t>(before),
                                         static_cast<std::int32_t>(rows.size())}));
    EXPECT_EQ(run.store.baseCount, before);
    EXPECT_EQ(run.store.savedBaseCount, before);
}

TEST(Bontas, OverwriteKeepsEveryNewRowWithinTheHitLevel) {
    ConditionSet set;
    set.errorPoints = 2;
    EngineRun run(Input({1, 4, 9, 16, 25, 36, 49, 64, 81, 7, 14}, set));
    ASSERT_TRUE(run.Go());
    const std::size_t before = static_cast<std::size_t>(run.store.Count());
    set.errorPoints = 1;
    set.options.overwrite = true;
    set.options.overwriteHits = 3;
    set.options.itemised = false;
    set.options.overwriteWithErrorPoints = true;
    ASSERT_TRUE(Extend(run, set).finished);
    const std::vector<Row> rows = StoredRows(run.store);
    ASSERT_GT(rows.size(), before);
    for (std::size_t a = before; a < rows.size(); ++a) {
        for (std::size_t b = 0; b < rows.size(); ++b) {
            ASSERT_TRUE(a == b || Common(rows[a], rows[b]) <= 3) << "rows " << a << ", " << b;
        }
    }
}

TEST(Bontas, ItemisedOverwriteRaisesItsLimitCycleByCycle) {
    ConditionSet set;
    set.sum = {true, false, 28, 28}; // one row: the five smallest
    EngineRun run(Input({2, 3, 5, 7, 11, 13, 17, 19, 23, 29}, set));
    ASSERT_TRUE(run.Go());
    ASSERT_EQ(run.store.Count(), 1);

    set = {};
    set.errorPoints = 1;
    set.options.overwrite = true;
    set.options.overwriteHits = 2;
    set.options.itemised = true;
    set.options.itemisedFrom = 1;
    set.options.itemisedTo = 4;
    GenerationInput input = Input(run.input.variationNumbers, set);
    input.extension = true;
    Bontas engine(run.messages, run.store);
    ASSERT_TRUE(engine.BontasIndul(input));
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

TEST(Bontas, FrequencyDistributionCoversAndSpreadsTheNumbers) {
    std::mt19937 random(5);
    long long spreadTotal = 0;
    long long plainTotal = 0;
    const auto spreadOf = [](const std::vector<std::uint32_t>& f) {
        return *std::max_element(f.begin(), f.end()) - *std::min_element(f.begin(), f.end());
    };
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
        // The greedy sweep favours the first numbers; the rotation evens them out.
        set.options.frequencyDistribution = false;
        EngineRun plain(Input(spread.input.variationNumbers, set, 1));
        ASSERT_TRUE(plain.Go());
        spreadTotal += spreadOf(spread.store.Frequencies());
        plainTotal += spreadOf(plain.store.Frequencies());
    }
    EXPECT_LT(spreadTotal, plainTotal);
}

DrawRecord Draw(int id, std::initializer_list<int> first, std::initializer_list<int> second = {}) {
    DrawRecord draw;
    draw.drawNo = id;
    std::copy(first.begin(), first.end(), draw.numbers.begin());
    std::copy(second.begin(), second.end(), draw.numbers.begin() + 7);
    return draw;
}

// Each draw of the range that the marks reach at the hit ratio is a row, once; of a game with
// two drawings a date, each drawing that reaches it.
TEST(Bontas, DrawsListStoresEachDrawTheMarksReach) {
    const std::vector<DrawRecord> draws = {
        Draw(1, {1, 2, 3, 4, 5}), Draw(2, {10, 20, 30, 40, 50}), Draw(3, {1, 2, 60, 70, 80}),
        Draw(4, {3, 4, 5, 6, 7}), Draw(5, {11, 12, 13, 14, 15}), Draw(6, {1, 2, 3, 88, 89})};
    ConditionSet set;
    set.hitRatio = {true, true, 2, 5, true, 1, 5}; // draws 1..5, at least two hits
    EngineRun run(Input({1, 2, 3, 4, 5, 6, 7, 9}, set));
    run.input.draws = &draws;
    ASSERT_TRUE(run.Go());
    EXPECT_TRUE(run.engine.DrawsList());
    EXPECT_EQ(StoredRows(run.store),
              (std::vector<Row>{{1, 2, 3, 4, 5}, {1, 2, 60, 70, 80}, {3, 4, 5, 6, 7}}));
    EXPECT_EQ(run.store.drawIds, (std::vector<std::int32_t>{1, 3, 4, -1}));
    EXPECT_EQ(run.store.drawSetCounts, (std::vector<std::int32_t>{1, 1, 1, 0}));
    EXPECT_EQ(run.outcome.missingNumbersText, BontStatVizsg({9}, run.engine.PassedConditions()));

    // An excluded ratio (five hits in draws 1..2) stores no draw, not even the one after them.
    set.hitRatio = {true, false, 5, 5, true, 1, 2};
    EngineRun excluded(Input({20, 21, 22, 23, 24, 25}, set));
    excluded.input.draws = &draws;
    ASSERT_TRUE(excluded.Go());
    EXPECT_EQ(excluded.store.Count(), 0);

    const std::vector<DrawRecord> skandi = {
        Draw(1, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 8, 9, 10, 11, 12}),
        Draw(2, {20, 21, 22, 23, 24, 25, 26}, {1, 2, 3, 30, 31, 32, 33}),
        Draw(3, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7})};
    set.hitRatio = {true, true, 2, 7, true, 1, 3};
    EngineRun two(Input({1, 2, 3, 4, 5, 6, 7, 8}, set, 2));
    two.input.draws = &skandi;
    ASSERT_TRUE(two.Go());
    EXPECT_EQ(StoredRows(two.store), (std::vector<Row>{{1, 2, 3, 4, 5, 6, 7},
                                                       {1, 2, 8, 9, 10, 11, 12},
                                                       {1, 2, 3, 30, 31, 32, 33},
                                                       {1, 2, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(two.store.drawIds, (std::vector<std::int32_t>{1, 2, 3, -1}));
    EXPECT_EQ(two.store.drawSetCounts, (std::vector<std::int32_t>{2, 1, 1, 0}));

    // The list and its report show the draw of each row.
    EXPECT_EQ(RowDraws(run.store, draws), (std::vector<std::int32_t>{1, 3, 4}));
    EXPECT_EQ(RowDraws(two.store, skandi), (std::vector<std::int32_t>{1, 1, 2, 3}));
}

} // namespace
} // namespace velmora
