// The file readers fed random and damaged input. This target is built with AddressSanitizer
// and UndefinedBehaviorSanitizer, so a read past the end fails the test even where it would not
// crash.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <numeric>
#include <random>

#include "common/file_io.h"
#include "conditions/condition_editor.h"
#include "conditions/filter.h"
#include "support/draws_files.h"
#include "draws/draws_store.h"
#include "draws/results_import.h"
#include "support/fake_messages.h"
#include "session/number_row_file.h"
#include "session/session.h"
#include "support/session_parts.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using testing::OtosLine;
using testing::SampleDraws;

// Random and mutated files never crash the loader and never load a bad record.
TEST(DrawsFileFuzz, RandomAndMutatedBytes) {
    std::mt19937 random(20261206);
    const std::vector<GameId> games = {0, 1, 2, 4, 7, 8, 17};
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        const GameId id = games[static_cast<std::size_t>(round) % games.size()];
        const GameInfo game = LoadGameInfo(id);
        std::vector<std::uint8_t> bytes;
        if (round % 3 == 0) {
            bytes.resize(random() % 12000);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random());
            }
        } else {
            bytes = SerializeDraws(SampleDraws(game, 251 + static_cast<int>(random() % 50)), id);
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int f = 0; f < flips; ++f) {
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
            }
            bytes.resize(bytes.size() - random() % 40);
        }
        std::vector<DrawRecord> draws;
        if (ParseDrawsFile(bytes, game, draws) == DrawsLoad::Loaded) {
            ++loaded;
            for (const DrawRecord& d : draws) {
                ASSERT_GE(d.drawNo, 1);
                ASSERT_LE(d.drawNo, kMaxDrawNo);
                ASSERT_GE(d.drawYear, 1901);
                ASSERT_LE(d.drawYear, 2050);
                ASSERT_GE(d.drawWeek, 1);
                ASSERT_LE(d.drawWeek, 53);
            }
        } else {
            ASSERT_TRUE(draws.empty());
        }
    }
    EXPECT_GT(loaded, 0);
}

// Random and mutated results files never crash the parser, and what it accepts is in range.
TEST(ResultsImportFuzz, RandomAndMutatedText) {
    std::mt19937 random(6122026);
    const std::string alphabet = "0123456789;;;,. \r\nFtCs\xEF\xBB\xBF";
    const std::vector<GameId> games = {0, 1, 8};
    // One valid file per game above, each with a byte-order mark and a header line.
    const std::vector<std::string> samples = {
        "\xEF\xBB\xBFYear;Week\r\n" + OtosLine(2020, 3, "1;2;3;4;5") + "\r\n" +
            OtosLine(2020, 2, "11;22;33;44;55") + "\r\n",
        "\xEF\xBB\xBFYear;Week\n2025;34;2025.08.24.;0;0 Ft;0;0;76;174 445 Ft;2435;5 445 Ft;32985;"
        "2 445 Ft;9;13;24;26;30;42\n2007;29;;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;1;2;3;4;5;6;7\n",
        "\xEF\xBB\xBF\nYear;Week\n2025;35;5;2025.08.29.;3;6;9;22;24;38;44;46;50;54;55;59;60;62;64;"
        "65;66;68;69;77\n1996;12;;;1;3;8;13;14;18;19;22;26;30;36;53;57;58;67;68;69;72;77;79\n"};
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text.resize(random() % 400);
            for (char& c : text) {
                c = alphabet[random() % alphabet.size()];
            }
        } else {
            text = samples[static_cast<std::size_t>(round / 2) % samples.size()];
            for (int f = 0; f < 1 + static_cast<int>(random() % 5); ++f) {
                text[random() % text.size()] = alphabet[random() % alphabet.size()];
            }
            text.resize(random() % (text.size() + 1));
        }
        const GameInfo game =
            LoadGameInfo(games[static_cast<std::size_t>(round / 2) % games.size()]);
        const ResultsParse parse = ParseResultsFile(text, game);
        if (!parse.ok) {
            ASSERT_TRUE(parse.draws.empty());
            continue;
        }
        ++accepted;
        for (const DrawRecord& d : parse.draws) {
            ASSERT_GE(d.drawYear, 1901);
            ASSERT_LE(d.drawYear, 2050);
            ASSERT_GE(d.drawWeek, 1);
            ASSERT_LE(d.drawWeek, 53);
            for (std::uint8_t n : d.numbers) {
                ASSERT_LE(n, game.maxNumber);
            }
        }
    }
    EXPECT_GT(accepted, 0);
}

// Every condition active with parameters the dialog could have set for a 5/90 ticket.
ConditionSet AllActive() {
    ConditionSet c;
    c.favoured = {true, 2, 6, 1, 2};
    c.mobile = {true, 3, 2};
    c.fixed = {true, 4, 2};
    c.decadeParity = {true, true, 1, 2, true};
    c.decadeRepeat = {true, true, 0, 1};
    c.hitRatio = {true, true, 1, 3, false, 1, 200};
    c.endingParity = {true, true, 1, 1, false};
    c.endingRepeat = {true, false, 0, 2};
    c.sum = {true, false, 30, 150};
    c.twins = {true, 0, 1};
    c.mirrors = {true, 0, 1};
    c.deviation = {true, 1.5f, 40.0f};
    c.span = {true, 1, 8};
    c.primes = {true, 0, 2};
    c.numberGroups.active = true;
    c.numberGroups.count = 2;
    c.numberGroups.groups[0] = {1, 4, 0, 2};
    c.numberGroups.groups[1] = {5, 8, 0, 2};
    return c;
}

// The active flags in the order of the records.
std::array<bool*, kConditionCount> ActiveFlags(ConditionSet& c) {
    return {&c.favoured.active,     &c.mobile.active,       &c.fixed.active,
            &c.decadeParity.active, &c.decadeRepeat.active, &c.hitRatio.active,
            &c.endingParity.active, &c.endingRepeat.active, &c.sum.active,
            &c.twins.active,        &c.mirrors.active,      &c.deviation.active,
            &c.span.active,         &c.primes.active,       &c.numberGroups.active};
}

// The filter on a few candidate rows (ascending positions into V), with and without jumping
// ahead: whatever it moves stays inside V.
void RunFilter(const ConditionSet& conditions, const std::vector<std::uint8_t>& v,
               const GameInfo& game, int n, const std::vector<DrawRecord>* draws,
               std::mt19937& random) {
    const int size = static_cast<int>(v.size());
    ConditionFilter filter;
    filter.Prepare(conditions, SzamJelzoBeallitas(v, game.maxNumber), game, n, draws);
    const int length = std::clamp(n, 1, std::min(size, kMaxRowLength));
    const int drawCount = draws != nullptr ? static_cast<int>(draws->size()) : 0;
    std::vector<std::uint8_t> all(static_cast<std::size_t>(size));
    std::iota(all.begin(), all.end(), std::uint8_t{0});
    for (int candidate = 0; candidate < 5 && size > 0; ++candidate) {
        std::vector<std::uint8_t> row = all;
        if (candidate == 1) {
            std::reverse(row.begin(), row.end()); // the last row of the walk
        } else if (candidate > 1) {
            std::shuffle(row.begin(), row.end(), random);
        }
        row.resize(static_cast<std::size_t>(length));
        std::sort(row.begin(), row.end());
        row.resize(kMaxRowLength, row.back());
        for (bool skipAhead : {false, true}) {
            std::vector<std::uint8_t> positions = row;
            const auto drawCursor = static_cast<int>(random() % (drawCount + 1u));
            WalkState walk{positions.data(), length - 1, drawCursor, 0, skipAhead};
            filter.FeltVizsgalat(walk);
            filter.FeltVizsgSkandi(positions.data(), walk.drawCursor);
            for (int i = 0; i < length; ++i) {
                ASSERT_LT(positions[static_cast<std::size_t>(i)], size) << "position " << i;
            }
            ASSERT_GE(walk.cursor, -1);
            ASSERT_LT(walk.cursor, length);
        }
    }
}

// Damaged conditions through what a generation run does with them: the filter with all of them
// and with each alone (so that every test is reached, not only the first that refuses), and the
// dialog's checks before generation. The sanitizers watch the arithmetic and the table reads.
void RunConditions(const ConditionSet& conditions, const std::vector<std::uint8_t>& v,
                   const GameInfo& game, int n, const std::vector<DrawRecord>* draws,
                   std::mt19937& random) {
    RunFilter(conditions, v, game, n, draws, random);
    for (int only = 0; only < kConditionCount && !::testing::Test::HasFatalFailure(); ++only) {
        ConditionSet alone = conditions;
        const auto flags = ActiveFlags(alone);
        if (*flags[static_cast<std::size_t>(only)]) {
            for (bool* flag : flags) {
                *flag = flag == flags[static_cast<std::size_t>(only)];
            }
            RunFilter(alone, v, game, n, draws, random);
        }
    }

    ConditionSet set = conditions;
    testing::FakeMessages messages; // answers every question No
    std::array<bool, kNoticeCount> notices{};
    ConditionEditor editor(set, messages, notices);
    ConditionContext context;
    context.variationNumbers = v;
    context.maxNumber = game.maxNumber;
    context.rowLength = game.rowLength;
    context.variationRowLength = n;
    context.hasDatabase = draws != nullptr;
    context.drawCount = draws != nullptr ? static_cast<int>(draws->size()) : 0;
    context.hitRatioFirst = conditions.hitRatio.firstDraw;
    context.hitRatioLast = conditions.hitRatio.lastDraw;
    editor.Prepare(context);
    // Every refusal is told, and a question answered No refuses.
    const bool passed = editor.CheckBeforeGeneration();
    ASSERT_EQ(passed, messages.Count() == 0);
}

// Damaged number-row records never crash the reader, every refusal is told to the user, and
// what it accepts is a consistent ticket.
TEST(NumberRowFileFuzz, RandomAndMutatedRecords) {
    std::mt19937 random(15122026);
    const GameInfo game = LoadGameInfo(0);
    NumberRowRecord sample;
    sample.numbersToChoose = 3;
    sample.selected = {7, 3, 45, 12, 88, 21, 60, 34};
    sample.fixed = {9, 50};
    sample.constant = {45, 12};
    sample.random = {88, 21};
    sample.conditions = AllActive();
    sample.conditionsSet = true;
    BinaryWriter writer;
    WriteNumberRowRecord(sample, writer);
    const std::vector<std::int32_t> extremes = {INT_MIN, INT_MAX, -1, 0, 1, 91};
    const std::vector<DrawRecord> allDraws = SampleDraws(game, 300);
    // The condition block follows the lists, the number order and the error points.
    const std::size_t block = 16 + 8 + (4 + sample.selected.size()) + (4 + sample.fixed.size()) +
                              (4 + sample.constant.size()) + 8 + 1;
    int accepted = 0;
    int activeAccepted = 0;
    for (int round = 0; round < 6000; ++round) {
        std::vector<std::uint8_t> bytes = writer.Bytes();
        if (round % 5 == 0) {
            bytes.resize(random() % 600);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random());
            }
        } else {
            for (int f = 0; f < 1 + static_cast<int>(random() % 3); ++f) {
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random() % 100);
            }
            if (round % 3 != 2) {
                // An extreme value in one of the integer fields before the conditions, or
                // anywhere in the condition block.
                const std::size_t at = round % 3 == 0
                                           ? 4 * (random() % 14)
                                           : block + random() % (kConditionBlockSize - 3);
                const auto value = static_cast<std::uint32_t>(extremes[random() % extremes.size()]);
                for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
                    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
            bytes.resize(bytes.size() - random() % 3);
        }
        testing::FakeMessages messages;
        if (round % 2 == 0) {
            messages.QueueAnswer(Answer::Yes);
        }
        NumberRowRecord record;
        BinaryReader reader(bytes);
        const NumberRowContext context{game, static_cast<int>(random() % 300), "f.tip"};
        if (!ReadNumberRowRecord(reader, context, messages, record)) {
            ASSERT_GT(messages.Count(), 0u);
            continue;
        }
        ++accepted;
        const auto has = [](const std::vector<std::uint8_t>& list, std::uint8_t n) {
            return std::find(list.begin(), list.end(), n) != list.end();
        };
        ASSERT_EQ(record.numbersToChoose + static_cast<int>(record.fixed.size()), game.rowLength);
        ASSERT_GE(static_cast<int>(record.selected.size()), game.rowLength - 2);
        for (const auto* list :
             {&record.selected, &record.fixed, &record.constant, &record.random}) {
            for (std::uint8_t n : *list) {
                ASSERT_GE(n, 1);
                ASSERT_LE(n, game.maxNumber);
                ASSERT_EQ(std::count(list->begin(), list->end(), n), 1);
            }
        }
        for (std::uint8_t n : record.fixed) {
            ASSERT_FALSE(has(record.selected, n));
        }
        for (std::uint8_t n : record.constant) {
            ASSERT_TRUE(has(record.selected, n));
            ASSERT_FALSE(has(record.random, n));
        }
        for (std::uint8_t n : record.random) {
            ASSERT_TRUE(has(record.selected, n));
        }
        ASSERT_GE(record.numberOrder, 0);
        ASSERT_LE(record.numberOrder, 3);
        ASSERT_GE(record.conditions.errorPoints, 0);
        ASSERT_LT(record.conditions.errorPoints, game.rowLength);
        ASSERT_EQ(record.conditionsSet, record.conditions.AnyActive());
        if (record.conditions.hitRatio.active) {
            ASSERT_GT(context.drawsLoaded, 0);
        }
        const std::vector<DrawRecord> draws(allDraws.begin(),
                                            allDraws.begin() + context.drawsLoaded);
        RunConditions(record.conditions, record.selected, game, record.numbersToChoose,
                      context.drawsLoaded > 0 ? &draws : nullptr, random);
        if (HasFatalFailure()) {
            return;
        }
        activeAccepted += record.conditions.AnyActive() ? 1 : 0;
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(activeAccepted, accepted / 4) << "the conditions must be reached";
}

// Values no dialog allows, passed straight to the filter and the dialog's checks.
TEST(ConditionsFuzz, ExtremeParameters) {
    std::mt19937 random(28122026);
    const GameInfo game = LoadGameInfo(0);
    const std::vector<DrawRecord> draws = SampleDraws(game, 260);
    // Every minimum (and first position, group size and count) set to `low`, every maximum (and
    // last position, group maximum and error points) to `high`.
    const auto extremes = [](ConditionSet& c, std::int32_t low, std::int32_t high) {
        const std::pair<std::int32_t*, std::int32_t*> pairs[] = {
            {&c.favoured.first, &c.favoured.last},
            {&c.favoured.minHits, &c.favoured.maxHits},
            {&c.mobile.groupSize, &c.mobile.maxPerGroup},
            {&c.fixed.groupSize, &c.fixed.maxPerGroup},
            {&c.decadeParity.minimum, &c.decadeParity.maximum},
            {&c.decadeRepeat.minimum, &c.decadeRepeat.maximum},
            {&c.hitRatio.minHits, &c.hitRatio.maxHits},
            {&c.hitRatio.firstDraw, &c.hitRatio.lastDraw},
            {&c.endingParity.minimum, &c.endingParity.maximum},
            {&c.endingRepeat.minimum, &c.endingRepeat.maximum},
            {&c.sum.minimum, &c.sum.maximum},
            {&c.twins.minimum, &c.twins.maximum},
            {&c.mirrors.minimum, &c.mirrors.maximum},
            {&c.span.first, &c.span.last},
            {&c.primes.minimum, &c.primes.maximum},
            {&c.numberGroups.count, &c.errorPoints},
        };
        for (const auto& [minimum, maximum] : pairs) {
            *minimum = low;
            *maximum = high;
        }
        for (NumberGroupSlot& g : c.numberGroups.groups) {
            g = {low, high, low, high};
        }
        c.deviation = {true, static_cast<float>(low), static_cast<float>(high)};
    };
    std::vector<ConditionSet> cases;
    const std::pair<std::int32_t, std::int32_t> ranges[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
                                                            {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN},
                                                            {-1, -1},           {0, 0},
                                                            {300, 300},         {0, 300}};
    for (const auto& [low, high] : ranges) {
        ConditionSet c = AllActive();
        extremes(c, low, high);
        for (bool choice : {true, false}) { // "Fix", "páros", "Egy", "Keresett" or the others
            c.sum.fixedSum = c.decadeParity.fixedRatio = c.endingParity.fixedRatio = choice;
            c.decadeParity.even = c.endingParity.even = choice;
            c.decadeRepeat.oneGroup = c.endingRepeat.oneGroup = c.hitRatio.searched = choice;
            cases.push_back(c);
        }
    }
    // Single damaged values among sensible ones.
    ConditionSet c = AllActive();
    c.favoured = {true, 300, 300, 300, 300}; // positions beyond V
    cases.push_back(c);
    c.favoured = {true, 1, 300, 300, INT_MAX};
    cases.push_back(c);
    c = AllActive();
    c.mobile.groupSize = c.fixed.groupSize = 0;
    cases.push_back(c);
    c = AllActive();
    c.numberGroups.count = 1000;
    cases.push_back(c);
    c = AllActive();
    for (const auto& [min, max] : {std::pair{INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {-5, 25}}) {
        c.hitRatio.minHits = min;
        c.hitRatio.maxHits = max;
        c.hitRatio.searched = !c.hitRatio.searched;
        cases.push_back(c);
    }
    c = AllActive();
    c.deviation = {true, -std::numeric_limits<float>::infinity(),
                   std::numeric_limits<float>::quiet_NaN()};
    cases.push_back(c);

    std::vector<std::uint8_t> ninety(90);
    std::iota(ninety.begin(), ninety.end(), std::uint8_t{1});
    const std::vector<std::vector<std::uint8_t>> tickets = {
        {7, 3, 45, 12, 88, 21, 60, 34}, ninety, {11, 22, 33}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (const auto& v : tickets) {
            for (int n : {1, 3, 5}) {
                SCOPED_TRACE("case " + std::to_string(i) + ", |V| " + std::to_string(v.size()) +
                             ", n " + std::to_string(n));
                RunConditions(cases[i], v, game, n, &draws, random);
                RunConditions(cases[i], v, game, n, nullptr, random);
                if (HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}

// A variation file cut short or with flipped bytes loads whole or leaves nothing: no variation,
// no conditions and an empty ticket; what loads stays within the ticket.
TEST(VariationFileFuzz, TruncatedAndFlippedFiles) {
    testing::SessionParts parts(3);
    Session& session = parts.session;
    testing::FakeMessages& messages = parts.messages;
    VariationDocument& variation = session.Variation();
    for (int n : {3, 8, 13, 21, 34, 55, 89}) {
        session.ClickNumber(n, MarkKind::Variation);
    }
    session.ClickNumber(40, MarkKind::Fixed);
    session.Conditions().errorPoints = 1;
    Bontas engine(messages, variation.Store());
    ASSERT_TRUE(engine.BontasIndul(variation.MakeGenerationInput()));
    engine.Run();
    variation.GenerationDone(engine.Vege());
    const std::string path = parts.home.Path() + "v.top";
    ASSERT_TRUE(variation.Save(path));
    std::vector<std::uint8_t> valid;
    ASSERT_TRUE(ReadFileBytes(path, valid));

    std::mt19937 random(6122026);
    int loaded = 0;
    for (int round = 0; round < 1500; ++round) {
        std::vector<std::uint8_t> bytes = valid;
        if (round % 2 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            for (int f = 0; f < 1 + static_cast<int>(random() % 3); ++f) {
                bytes[random() % bytes.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
            }
        }
        ASSERT_TRUE(ReplaceFile(path, bytes));
        messages.QueueAnswers({Answer::Yes, Answer::Yes});
        if (session.OpenFile(path)) {
            ++loaded;
            const auto numbers = static_cast<std::uint8_t>(session.Ticket().Selected().size());
            const VariationStore& store = variation.Store();
            for (long long r = 0; r < store.Count(); ++r) {
                for (int i = 0; i < store.RowWidth(); ++i) {
                    ASSERT_LT(store.Row(r)[i], numbers);
                }
            }
        } else {
            ASSERT_FALSE(variation.Exists());
            ASSERT_FALSE(session.Conditions().AnyActive());
            ASSERT_EQ(session.Ticket().MarkedCount(), 0);
        }
        messages.Clear();
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
} // namespace velmora
