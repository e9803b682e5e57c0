// The file readers fed random and damaged input. This target is built with AddressSanitizer
// and UndefinedBehaviorSanitizer, so a read past the end fails the test even where it would not
// crash.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <numeric>
#include <random>

#include "common/file_io.h"
#include "conditions/condition_editor.h"
#include "conditions/filter.h"
#include "support/draws_files.h"
#include "draws/draws_store.h"
#include "draws/results_import.h"
#include "session/number_row_file.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "variation/variation_export.h"
#include "support/session_parts.h"

namespace velmora {
namespace {

using testing::SampleDraws;
using Bytes = std::vector<std::uint8_t>;

// Up to `maxSize` - 1 elements, each from `value`.
template <class T, class Value>
T Noise(std::mt19937& random, std::size_t maxSize, Value value) {
    T data(random() % maxSize, 0);
    std::generate(data.begin(), data.end(), value);
    return data;
}

// Overwrites 1..`most` elements with values from `value`, then cuts up to `maxCut` - 1 elements
// off the end.
template <class T, class Value>
void Damage(T& data, std::mt19937& random, unsigned most, std::size_t maxCut, Value value) {
    for (unsigned f = 0, flips = 1 + random() % most; f < flips; ++f) {
        data[random() % data.size()] = value();
    }
    data.resize(data.size() - random() % std::min(maxCut, data.size() + 1));
}

void ExpectPlausible(const DrawRecord& d) {
    EXPECT_TRUE(d.drawYear >= 1901 && d.drawYear <= 2050) << d.drawYear;
    EXPECT_TRUE(d.drawWeek >= 1 && d.drawWeek <= 53) << d.drawWeek;
}

// Random and damaged files never crash the loader and never load a bad record.
TEST(DrawsFileFuzz, RandomAndDamagedBytes) {
    std::mt19937 random(20261206);
    const auto byte = [&random] { return static_cast<std::uint8_t>(random()); };
    const GameId games[] = {0, 1, 2, 4, 7, 8, 17};
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        const GameId id = games[static_cast<std::size_t>(round) % std::size(games)];
        const GameInfo game = LoadGameInfo(id);
        Bytes bytes;
        if (round % 3 == 0) {
            bytes = Noise<Bytes>(random, 12000, byte);
        } else {
            bytes = SerializeDraws(SampleDraws(game, 251 + static_cast<int>(random() % 50)), id);
            Damage(bytes, random, 4, 40, byte);
        }
        std::vector<DrawRecord> draws;
        if (ParseDrawsFile(bytes, game, draws) != DrawsLoad::Loaded) {
            ASSERT_TRUE(draws.empty());
            continue;
        }
        ++loaded;
        for (const DrawRecord& d : draws) {
            ASSERT_TRUE(d.drawNo >= 1 && d.drawNo <= kMaxDrawNo) << d.drawNo;
            ExpectPlausible(d);
        }
    }
    EXPECT_GT(loaded, 0);
}

// Random and damaged results files never crash the parser, and what it accepts is in range.
TEST(ResultsImportFuzz, RandomAndDamagedText) {
    std::mt19937 random(6122026);
    const std::string alphabet = "0123456789;;;,. \r\nFtCs\xEF\xBB\xBF";
    const auto character = [&] { return alphabet[random() % alphabet.size()]; };
    // One valid file of 5/90, 6/45 and keno, each with a byte-order mark and a header line.
    const std::pair<GameId, std::string> samples[] = {
        {0, "\xEF\xBB\xBFYear;Week\r\n" + testing::OtosLine(2020, 3, "1;2;3;4;5") + "\r\n" +
                testing::OtosLine(2020, 2, "11;22;33;44;55") + "\r\n"},
        {1, "\xEF\xBB\xBFYear;Week\n2025;34;2025.08.24.;0;0 Ft;0;0;76;174 445 Ft;2435;5 445 Ft;"
            "32985;2 445 Ft;9;13;24;26;30;42\n2007;29;;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;"
            "1;2;3;4;5;6;7\n"},
        {8, "\xEF\xBB\xBF\nYear;Week\n2025;35;5;2025.08.29.;3;6;9;22;24;38;44;46;50;54;55;59;60;"
            "62;64;65;66;68;69;77\n1996;12;;;1;3;8;13;14;18;19;22;26;30;36;53;57;58;67;68;69;72;"
            "77;79\n"}};
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        const auto& [id, sample] =
            samples[static_cast<std::size_t>(round / 2) % std::size(samples)];
        std::string text = sample;
        if (round % 2 == 0) {
            text = Noise<std::string>(random, 400, character);
        } else {
            Damage(text, random, 5, text.size() + 1, character);
        }
        const GameInfo game = LoadGameInfo(id);
        const ResultsParse parse = ParseResultsFile(text, game);
        if (!parse.ok) {
            ASSERT_TRUE(parse.draws.empty());
            continue;
        }
        ++accepted;
        for (const DrawRecord& d : parse.draws) {
            ExpectPlausible(d);
            EXPECT_LE(*std::max_element(d.numbers.begin(), d.numbers.end()), game.maxNumber);
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

// The filter on a few candidate rows (ascending positions into V: the first, the last and
// random ones), with and without jumping ahead: whatever it moves stays inside V.
void RunFilter(const ConditionSet& conditions, const Bytes& v, const GameInfo& game, int n,
               const std::vector<DrawRecord>* draws, std::mt19937& random) {
    const int size = static_cast<int>(v.size());
    ConditionFilter filter;
    filter.Prepare(conditions, SzamJelzoBeallitas(v, game.maxNumber), game, n, draws);
    const int length = std::clamp(n, 1, std::min(size, kMaxRowLength));
    const auto drawCount = draws != nullptr ? static_cast<unsigned>(draws->size()) : 0u;
    Bytes all(v.size());
    std::iota(all.begin(), all.end(), std::uint8_t{0});
    for (int candidate = 0; candidate < 5 && size > 0; ++candidate) {
        Bytes row = all;
        if (candidate == 1) {
            std::reverse(row.begin(), row.end());
        } else if (candidate > 1) {
            std::shuffle(row.begin(), row.end(), random);
        }
        row.resize(static_cast<std::size_t>(length));
        std::sort(row.begin(), row.end());
        row.resize(kMaxRowLength, row.back());
        for (bool skipAhead : {false, true}) {
            Bytes positions = row;
            WalkState walk{positions.data(), length - 1,
                           static_cast<int>(random() % (drawCount + 1)), 0, skipAhead};
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
void RunConditions(const ConditionSet& conditions, const Bytes& v, const GameInfo& game, int n,
                   const std::vector<DrawRecord>* draws, std::mt19937& random) {
    RunFilter(conditions, v, game, n, draws, random);
    for (int only = 0; only < kConditionCount && !::testing::Test::HasFatalFailure(); ++only) {
        ConditionSet alone = conditions;
        const auto flags = ActiveFlags(alone);
        bool* const kept = flags[static_cast<std::size_t>(only)];
        if (*kept) {
            for (bool* flag : flags) {
                *flag = flag == kept;
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
// what it accepts is a consistent ticket whose conditions a run can use.
TEST(NumberRowFileFuzz, RandomAndDamagedRecords) {
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
    const std::int32_t extremes[] = {INT_MIN, INT_MAX, -1, 0, 1, 91};
    const std::vector<DrawRecord> allDraws = SampleDraws(game, 300);
    // The condition block follows the version, game, count, lists, number order, error points
    // and flag.
    const std::size_t block = 16 + 8 + (4 + 8) + (4 + 2) + (4 + 2) + 8 + 1;
    int accepted = 0;
    int activeAccepted = 0;
    for (int round = 0; round < 6000; ++round) {
        Bytes bytes = writer.Bytes();
        if (round % 5 == 0) {
            bytes = Noise<Bytes>(random, 600, [&] { return static_cast<std::uint8_t>(random()); });
        } else {
            // Small values, which numbers and counts may take, and sometimes an extreme integer
            // in one of the fields before the conditions or anywhere in the condition block.
            if (round % 3 != 2) {
                const std::size_t at = round % 3 == 0
                                           ? 4 * (random() % 14)
                                           : block + random() % (kConditionBlockSize - 3);
                const auto value =
                    static_cast<std::uint32_t>(extremes[random() % std::size(extremes)]);
                for (std::size_t i = 0; i < 4; ++i) {
                    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
            Damage(bytes, random, 3, 3, [&] { return static_cast<std::uint8_t>(random() % 100); });
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
        const auto count = [](const Bytes& list, std::uint8_t n) {
            return std::count(list.begin(), list.end(), n);
        };
        ASSERT_EQ(record.numbersToChoose + static_cast<int>(record.fixed.size()), game.rowLength);
        ASSERT_GE(static_cast<int>(record.selected.size()), game.rowLength - 2);
        for (const Bytes* list :
             {&record.selected, &record.fixed, &record.constant, &record.random}) {
            for (std::uint8_t n : *list) {
                ASSERT_TRUE(n >= 1 && n <= game.maxNumber) << int{n};
                ASSERT_EQ(count(*list, n), 1);
            }
        }
        for (std::uint8_t n : record.fixed) {
            ASSERT_EQ(count(record.selected, n), 0);
        }
        for (std::uint8_t n : record.constant) {
            ASSERT_EQ(count(record.selected, n), 1);
            ASSERT_EQ(count(record.random, n), 0);
        }
        for (std::uint8_t n : record.random) {
            ASSERT_EQ(count(record.selected, n), 1);
        }
        ASSERT_TRUE(record.numberOrder >= 0 && record.numberOrder <= 3);
        const int errorPoints = record.conditions.errorPoints;
        ASSERT_TRUE(errorPoints >= 0 && errorPoints < game.rowLength) << errorPoints;
        ASSERT_EQ(record.conditionsSet, record.conditions.AnyActive());
        ASSERT_TRUE(!record.conditions.hitRatio.active || context.drawsLoaded > 0);
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
    std::vector<ConditionSet> cases;
    // Every minimum (and first position, group size and count) set to `low`, every maximum (and
    // last position, group maximum and error points) to `high`.
    const std::pair<std::int32_t, std::int32_t> ranges[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
                                                            {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN},
                                                            {-1, -1},           {0, 0},
                                                            {300, 300},         {0, 300}};
    for (const auto& [low, high] : ranges) {
        ConditionSet c = AllActive();
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
            {&c.numberGroups.count, &c.errorPoints}};
        for (const auto& [minimum, maximum] : pairs) {
            *minimum = low;
            *maximum = high;
        }
        for (NumberGroupSlot& g : c.numberGroups.groups) {
            g = {low, high, low, high};
        }
        c.deviation = {true, static_cast<float>(low), static_cast<float>(high)};
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

    Bytes ninety(90);
    std::iota(ninety.begin(), ninety.end(), std::uint8_t{1});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (const Bytes& v : {Bytes{7, 3, 45, 12, 88, 21, 60, 34}, ninety, Bytes{11, 22, 33}}) {
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

// A variation file cut short or with damaged bytes loads whole or leaves nothing: no variation,
// no conditions and an empty ticket; what loads stays within the ticket.
TEST(VariationFileFuzz, TruncatedAndDamagedFiles) {
    testing::SessionParts parts(3);
    Session& session = parts.session;
    VariationDocument& variation = session.Variation();
    for (int n : {3, 8, 13, 21, 34, 55, 89}) {
        session.ClickNumber(n, MarkKind::Variation);
    }
    session.ClickNumber(40, MarkKind::Fixed);
    session.Conditions().errorPoints = 1;
    Bontas engine(parts.messages, variation.Store());
    ASSERT_TRUE(engine.BontasIndul(variation.MakeGenerationInput()));
    engine.Run();
    variation.GenerationDone(engine.Vege());
    const std::string path = parts.home.Path() + "v.top";
    ASSERT_TRUE(variation.Save(path));
    Bytes valid;
    ASSERT_TRUE(ReadFileBytes(path, kMaxVariationFileSize, valid));

    // The generation date, found by its value: the fixed clock's day.
    const double today = 46362;
    Bytes todayBytes(8);
    std::memcpy(todayBytes.data(), &today, 8);
    const auto dateAt =
        std::search(valid.begin(), valid.end(), todayBytes.begin(), todayBytes.end());
    ASSERT_NE(dateAt, valid.end());
    const double dates[] = {
        std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300,
        -1e300,       2958466,  -693594,   std::numeric_limits<double>::denorm_min()};

    std::mt19937 random(6122026);
    int loaded = 0;
    for (int round = 0; round < 1500; ++round) {
        Bytes bytes = valid;
        if (round % 3 == 2) {
            double date = dates[random() % std::size(dates)];
            if (round % 2 == 0) {
                const std::uint64_t bits = (std::uint64_t{random()} << 32) | random();
                std::memcpy(&date, &bits, 8);
            }
            std::memcpy(&bytes[static_cast<std::size_t>(dateAt - valid.begin())], &date, 8);
        } else if (round % 2 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            Damage(bytes, random, 3, 1, [&] { return static_cast<std::uint8_t>(random()); });
        }
        ASSERT_TRUE(ReplaceFile(path, bytes));
        parts.messages.QueueAnswers({Answer::Yes, Answer::Yes});
        if (session.OpenFile(path)) {
            ++loaded;
            const auto numbers = static_cast<std::uint8_t>(session.Ticket().Selected().size());
            const VariationStore& store = variation.Store();
            for (long long r = 0; r < store.Count(); ++r) {
                for (int i = 0; i < store.RowWidth(); ++i) {
                    ASSERT_LT(store.Row(r)[i], numbers);
                }
            }
            // The export writes the generation date.
            ASSERT_FALSE(ExportText(store, variation.RowSource(), ExportFormat::Html).empty());
        } else {
            ASSERT_FALSE(variation.Exists());
            ASSERT_FALSE(session.Conditions().AnyActive());
            ASSERT_EQ(session.Ticket().MarkedCount(), 0);
        }
        parts.messages.Clear();
    }
    EXPECT_GT(loaded, 0);
}

// Files just under, at and over each reader's limit, and far over it (sparse): a file within the
// limit is read and judged on its bytes, a larger one is refused unread with the open error
// (the damaged-database message for a draws database).
TEST(ReadersFuzz, SizesAroundEachLimit) {
    testing::SessionParts parts(5);
    const std::string home = parts.home.Path();
    const std::string openError = "Hiba történt a(z) " + home + "x.";
    std::mt19937 random(612);
    const std::pair<const char*, std::size_t> kinds[] = {{"tip", kMaxNumberRowFileSize},
                                                         {"top", kMaxVariationFileSize},
                                                         {"csv", kMaxImportFileSize}};
    for (const auto& [extension, limit] : kinds) {
        const std::string path = home + "x." + extension;
        for (const std::uintmax_t size :
             {std::uintmax_t{limit} - 1, std::uintmax_t{limit}, std::uintmax_t{limit} + 1,
              std::uintmax_t{limit} + 1 + random() % 4096, std::uintmax_t{1} << 40}) {
            ASSERT_TRUE(ReplaceFile(path, std::string("1;2;3;4;5\r\n")));
            std::filesystem::resize_file(path, size);
            parts.messages.Clear();
            EXPECT_FALSE(parts.session.OpenFile(path)) << extension << " " << size;
            const bool refusedUnread = parts.messages.LastText().rfind(openError, 0) == 0;
            EXPECT_EQ(refusedUnread, size > limit) << extension << " " << size;
        }
        std::filesystem::remove(path);
    }
    const GameInfo game = LoadGameInfo(0);
    const std::string database = home + "Huzas5.ldb";
    const Bytes draws = SerializeDraws(testing::FullDatabase(game), 0);
    for (const std::size_t extra :
         {std::size_t{0}, std::size_t{1}, kDrawRecordSize, std::size_t{1} << 30}) {
        ASSERT_TRUE(ReplaceFile(database, draws));
        std::filesystem::resize_file(database, draws.size() + extra);
        DrawsStore store;
        parts.messages.Clear();
        EXPECT_EQ(store.HuzasokBe(database, game, parts.messages), extra == 0) << extra;
    }
}

// Damaged and random settings files never crash the reader, and what it keeps writes out and
// reads back the same.
TEST(SettingsFileFuzz, RandomAndDamagedText) {
    testing::TempHome home;
    const ProgramFolders folders = MakeProgramFolders(home.Path());
    testing::FakeMessages messages;
    Settings written = DefaultSettings(folders);
    written.game = 3;
    const std::string valid = SettingsText(written);
    std::mt19937 random(1206);
    const std::string alphabet = "[]=;\r\n \tGameStartFolder0123456789,.-\xEF\xBB\xBF";
    const auto character = [&] { return alphabet[random() % alphabet.size()]; };
    int read = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string text = valid;
        if (round % 2 == 0) {
            text = Noise<std::string>(random, 600, character);
        } else {
            Damage(text, random, 8, 200, character);
        }
        const IniFile ini = IniFile::Parse(text);
        ASSERT_EQ(IniFile::Parse(ini.Text()).Text(), ini.Text());
        ASSERT_TRUE(ReplaceFile(folders.settingsFile, text));
        Settings settings = DefaultSettings(folders);
        if (ReadSettings(folders, settings, messages)) {
            ++read;
            ASSERT_TRUE(IsValidGame(settings.game)) << settings.game;
        }
        messages.Clear();
    }
    EXPECT_GT(read, 0);
}

} // namespace
} // namespace velmora
