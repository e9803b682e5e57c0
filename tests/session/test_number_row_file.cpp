#include "session/number_row_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <optional>
#include <tuple>

#include "common/file_io.h"
#include "support/fake_messages.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using testing::TempHome;
using Numbers = std::vector<std::uint8_t>;
using Bytes = std::vector<std::uint8_t>;

const std::string kName = "szamsor.tip";
const std::string kBadFile =
    "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\rszamsor.tip";
const std::string kReadError = "Hiba történt a számsor állományának betöltése során.";
const std::string kOtherGame = "Nem az aktuális játékhoz tartozó állomány.\r\rszamsor.tip";

ConditionSet SampleConditions() {
    ConditionSet c;
    c.errorPoints = 2;
    c.favoured = {true, 1, 5, 1, 2};
    c.mobile = {true, 3, 2};
    c.decadeParity = {true, false, 2, 3, false};
    c.endingRepeat = {true, true, 0, 1};
    c.sum = {true, false, 100, 200};
    c.deviation = {true, 10.25f, 30.5f};
    c.numberGroups.active = true;
    c.numberGroups.count = 2;
    c.numberGroups.groups[1] = {3, 6, 1, 2};
    c.options.frequencyDistribution = true;
    c.options.optimised = true;
    return c;
}

Bytes BlockOf(const ConditionSet& conditions) {
    BinaryWriter w;
    WriteConditionBlock(conditions, w);
    return w.Bytes();
}

// The record's layout, field by field, so that a test can write what the program never would. As
// it stands it is what the program writes for a 5/90 ticket with every list filled: 3 numbers to
// choose beside 2 fixed ones.
struct RawRecord {
    std::array<std::int32_t, 4> version{2, 3, 0, 0};
    std::int32_t game = 0;
    std::int32_t numbersToChoose = 3;
    Numbers selected{7, 3, 45, 12, 88, 21, 60, 34};
    Numbers fixed{9, 50};
    Numbers constant{45, 12};
    Numbers random{88, 21};
    std::optional<std::int32_t> selectedCount, fixedCount, constantCount, randomCount;
    std::int32_t order = 3;
    std::int32_t errorPoints = 2;
    std::uint8_t conditionsFlag = 1;
    Bytes conditions = BlockOf(SampleConditions());
    std::uint8_t frequency = 1;
    std::uint8_t optimised = 1;
    bool withRandom = true;
    bool withFrequency = true;
    bool withTag = true;

    Bytes Build() const {
        BinaryWriter w;
        for (std::int32_t v : version) {
            w.WriteI32(v);
        }
        w.WriteI32(game);
        w.WriteI32(numbersToChoose);
        const auto list = [&w](const Numbers& numbers, std::optional<std::int32_t> count) {
            w.WriteI32(count.value_or(static_cast<std::int32_t>(numbers.size())));
            w.WriteBytes(numbers);
        };
        list(selected, selectedCount);
        list(fixed, fixedCount);
        list(constant, constantCount);
        w.WriteI32(order);
        w.WriteI32(errorPoints);
        w.WriteU8(conditionsFlag);
        w.WriteBytes(conditions);
        if (withRandom) {
            list(random, randomCount);
        }
        if (withFrequency) {
            w.WriteU8(frequency);
        }
        if (withTag) {
            w.WriteShortString("Velmora Personal", 30);
            w.WriteU8(optimised);
        }
        return w.Bytes();
    }
};

// A record of major version 1 (5/90 was game 5 then) without the product tag, with the 212-byte
// condition record and the two draw-range integers of those files.
RawRecord OldRecord(std::array<std::int32_t, 4> version = {1, 4, 0, 0}) {
    RawRecord old;
    old.version = version;
    old.game = 5;
    old.withTag = false;
    old.conditions = Bytes(212 + 8, 0);
    // Error points 4 (overruled by the checked field before the record), the favoured numbers
    // 2..4 with 1..2 hits, and the twins.
    for (auto [offset, value] :
         {std::pair{0, 4}, {4, 1}, {8, 2}, {12, 4}, {16, 1}, {20, 2}, {172, 1}, {180, 1}}) {
        old.conditions[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
    }
    return old;
}

Bytes Written(const NumberRowRecord& record) {
    BinaryWriter w;
    WriteNumberRowRecord(record, w);
    return w.Bytes();
}

class NumberRowFileTest : public ::testing::Test {
protected:
    bool Read(const Bytes& bytes, NumberRowRecord& record, int draws = 0, GameId game = 0) {
        BinaryReader reader(bytes);
        const bool ok = ReadNumberRowRecord(
            reader, NumberRowContext{LoadGameInfo(game), draws, kName}, messages, record);
        consumed = reader.Position();
        return ok;
    }
    bool Read(const Bytes& bytes, int draws = 0) {
        NumberRowRecord record;
        return Read(bytes, record, draws);
    }

    FakeMessages messages;
    std::size_t consumed = 0;
};

TEST_F(NumberRowFileTest, RoundTripIsByteForByte) {
    const RawRecord raw;
    const Bytes file = raw.Build();
    NumberRowRecord read;
    ASSERT_TRUE(Read(file, read));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(consumed, file.size());
    EXPECT_EQ(std::tie(read.selected, read.fixed, read.constant, read.random),
              std::tie(raw.selected, raw.fixed, raw.constant, raw.random))
        << "the saved order is kept";
    EXPECT_EQ(read.numberOrder, 3);
    EXPECT_TRUE(read.conditionsSet);
    EXPECT_TRUE(read.conditions.options.frequencyDistribution);
    EXPECT_TRUE(read.conditions.options.optimised);
    EXPECT_EQ(Written(read), file);
    read.conditionsSet = false;
    EXPECT_EQ(Written(read)[56], 0) << "no condition set";

    // The two options have bytes of their own.
    RawRecord apart;
    apart.frequency = 0;
    ASSERT_TRUE(Read(apart.Build(), read));
    EXPECT_FALSE(read.conditions.options.frequencyDistribution);
    EXPECT_TRUE(read.conditions.options.optimised);
}

TEST_F(NumberRowFileTest, ShortFilesAndTruncationsFailCleanly) {
    for (const Bytes& full : {RawRecord{}.Build(), OldRecord().Build()}) {
        ASSERT_TRUE(Read(full));
        for (std::size_t length = 0; length < full.size(); ++length) {
            messages.Clear();
            ASSERT_FALSE(Read(Bytes(full.begin(), full.begin() + static_cast<long>(length))))
                << length;
            ASSERT_EQ(messages.Count(), 1u) << length;
            EXPECT_EQ(messages.Last().kind, MessageKind::Error);
            EXPECT_EQ(messages.LastText(), length < 100 ? kBadFile : kReadError) << length;
        }
    }
    // A variation file goes on after the record: the reader stops exactly at its end.
    Bytes longer = RawRecord{}.Build();
    const std::size_t recordSize = longer.size();
    longer.insert(longer.end(), 50, 0xEE);
    ASSERT_TRUE(Read(longer));
    EXPECT_EQ(consumed, recordSize);
}

TEST_F(NumberRowFileTest, OlderLayouts) {
    // Major version 1: the random numbers since 1.2.3.0, the frequency option since 1.3.1.0.
    struct Layout {
        std::array<std::int32_t, 4> version;
        bool random;
        bool frequency;
    };
    for (const Layout& layout :
         {Layout{{1, 2, 2, 9}, false, false}, Layout{{1, 2, 3, 0}, true, false},
          Layout{{1, 3, 0, 9}, true, false}, Layout{{1, 3, 1, 0}, true, true}}) {
        SCOPED_TRACE(layout.version[1] * 100 + layout.version[2] * 10 + layout.version[3]);
        RawRecord old = OldRecord(layout.version);
        old.errorPoints = 1;
        old.withRandom = layout.random;
        old.withFrequency = layout.frequency;
        if (!layout.random) {
            old.selected = {7, 3, 45, 12, 60, 34};
        }
        NumberRowRecord read;
        read.conditions.options.frequencyDistribution = true; // left from an earlier ticket
        read.conditions.options.optimised = true;
        ASSERT_TRUE(Read(old.Build(), read));
        EXPECT_EQ(messages.Count(), 0u);
        EXPECT_EQ(consumed, old.Build().size());
        EXPECT_EQ(read.random, layout.random ? old.random : Numbers{});
        EXPECT_EQ(read.conditions.options.frequencyDistribution, layout.frequency);
        EXPECT_FALSE(read.conditions.options.optimised);
        EXPECT_EQ(read.conditions.errorPoints, 1);
        EXPECT_TRUE(read.conditions.favoured.active);
        EXPECT_EQ(read.conditions.favoured.last, 4);
        EXPECT_TRUE(read.conditions.twins.active);
        EXPECT_TRUE(read.conditionsSet);
    }

    // Major version 2: up to 2.0.1.6 the deviation limits are integers; before 2.2 the number
    // groups are absent.
    Bytes block = BlockOf(SampleConditions());
    block.resize(197);
    const std::size_t deviation = 1 + 20 + 12 + 12 + 16 + 12 + 24 + 16 + 12 + 12 + 12 + 12;
    std::fill(block.begin() + deviation + 4, block.begin() + deviation + 12, 0);
    block[deviation + 4] = 10;
    block[deviation + 8] = 30;
    RawRecord old;
    old.version = {2, 0, 1, 6};
    old.conditions = block;
    NumberRowRecord read;
    ASSERT_TRUE(Read(old.Build(), read));
    EXPECT_EQ(consumed, old.Build().size());
    EXPECT_FLOAT_EQ(read.conditions.deviation.minimum, 10.0f);
    EXPECT_FLOAT_EQ(read.conditions.deviation.maximum, 30.0f);
    EXPECT_FALSE(read.conditions.numberGroups.active);
    EXPECT_TRUE(read.conditions.favoured.active);
}

// Each change of the record: whether it loads, with how many draws, and the one message it
// gives (none where empty).
TEST_F(NumberRowFileTest, RangeAndConsistencyChecks) {
    const auto set = [](Numbers RawRecord::*list, Numbers value) {
        return [list, value](RawRecord& r) { r.*list = value; };
    };
    const auto sixOf45 = [](RawRecord& r) {
        r.game = 1;
        r.numbersToChoose = 4;
        r.selected = {7, 3, 45, 12, 21, 34, 40};
        r.fixed = {9, 30};
        r.random = {21};
    };
    const auto version = [](std::array<std::int32_t, 4> value) {
        return [value](RawRecord& r) { r.version = value; };
    };
    const auto edge = [](RawRecord& r) {
        r.errorPoints = 4;
        r.selected = {1, 2, 3};
        r.constant = r.random = {};
    };
    const auto hitRatio = [](RawRecord& r) {
        ConditionSet conditions = SampleConditions();
        conditions.hitRatio = {true, true, 3, 5, false, 1, 300};
        r.conditions = BlockOf(conditions);
    };
    const auto newer = [](const std::string& version) {
        return "Aktuális verzió: Velmora Personal 2.3.0.0\r\rA Velmora Personal " + version +
               " verzió állományát tölti be...\r\rA most beolvasott állomány olyan adatokat "
               "tartalmazhat, amelyeket nem tud értelmezni az aktuális verzió.\r\rJavaslat: "
               "frissítse a programot.";
    };
    struct Case {
        const char* what;
        std::function<void(RawRecord&)> change;
        std::string message; // empty: none
        MessageKind kind = MessageKind::Error;
        bool loads = false;
        int draws = 0;
    };
    const Case cases[] = {
        {"major version 0", [](RawRecord& r) { r.version[0] = 0; }, kBadFile},
        {"no numbers to choose", [](RawRecord& r) { r.numbersToChoose = 0; }, kBadFile},
        {"more to choose than a row", [](RawRecord& r) { r.numbersToChoose = 6; }, kBadFile},
        {"too few selected", [](RawRecord& r) { r.selectedCount = 2; }, kBadFile},
        {"more selected than numbers", [](RawRecord& r) { r.selectedCount = 91; }, kBadFile},
        {"huge selected count", [](RawRecord& r) { r.selectedCount = INT_MAX; }, kBadFile},
        {"negative selected count", [](RawRecord& r) { r.selectedCount = -1; }, kBadFile},
        {"selected 0", [](RawRecord& r) { r.selected[2] = 0; }, kBadFile},
        {"selected 91", [](RawRecord& r) { r.selected[2] = 91; }, kBadFile},
        {"selected twice", [](RawRecord& r) { r.selected[1] = 7; }, kBadFile},
        {"fixed twice", set(&RawRecord::fixed, {9, 9}), kBadFile},
        {"fixed also selected", set(&RawRecord::fixed, {9, 60}), kBadFile},
        {"fixed 91", set(&RawRecord::fixed, {9, 91}), kBadFile},
        {"negative constant count", [](RawRecord& r) { r.constantCount = -1; }, kBadFile},
        {"huge constant count", [](RawRecord& r) { r.constantCount = INT_MAX; }, kBadFile},
        {"constant not selected", set(&RawRecord::constant, {45, 1}), kBadFile},
        {"constant twice", set(&RawRecord::constant, {45, 45}), kBadFile},
        {"order 4", [](RawRecord& r) { r.order = 4; }, kBadFile},
        {"order -1", [](RawRecord& r) { r.order = -1; }, kBadFile},
        {"error points of a whole row", [](RawRecord& r) { r.errorPoints = 5; }, kBadFile},
        {"negative error points", [](RawRecord& r) { r.errorPoints = -1; }, kBadFile},
        {"huge random count", [](RawRecord& r) { r.randomCount = 1000; }, kBadFile},
        {"random not selected", set(&RawRecord::random, {88, 2}), kBadFile},
        {"random also constant", set(&RawRecord::random, {88, 45}), kBadFile},
        {"one number more to choose", [](RawRecord& r) { r.numbersToChoose = 4; }, kOtherGame},
        {"hostile fixed count", [](RawRecord& r) { r.fixedCount = INT_MIN; }, kOtherGame},
        {"major 1 numbering the games from 0", [](RawRecord& r) { r = OldRecord(), r.game = 0; },
         kOtherGame},
        {"a 6/45 ticket", sixOf45, kOtherGame},
        {"RowLength - 2 selected and RowLength - 1 error points", edge, "", MessageKind::Error,
         true},
        // A newer version loads after the notice; the build number counts as well.
        {"newer", version({2, 4, 1, 0}), newer("2.4.1.0"), MessageKind::Warning, true},
        {"newer build", version({2, 3, 0, 1}), newer("2.3.0.1"), MessageKind::Warning, true},
        // The hit ratio needs the draws up to the last of its range.
        {"hit ratio without draws", hitRatio,
         "A kijelölt állomány a húzások listájára hivatkozik.\r\rA húzások listája hiányzik."},
        {"hit ratio over the draws loaded", hitRatio, "", MessageKind::Error, true, 300},
        {"hit ratio past the draws", hitRatio,
         "A kijelölt állomány olyan adatbázisra hivatkozik, ami nem létezik.\r\r"
         "A találati arányok feltételhez tartozóan, a korábban beállított húzások száma több "
         "mint amit a jelenlegi húzások listája tartalmaz.\r\r"
         "Mégis betölti a korábbi beállításokat?",
         MessageKind::WarningQuestion, false, 299},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RawRecord raw;
        c.change(raw);
        messages.Clear();
        EXPECT_EQ(Read(raw.Build(), c.draws), c.loads);
        ASSERT_EQ(messages.Count(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(messages.LastText(), c.message);
            EXPECT_EQ(messages.Last().kind, c.kind);
        }
    }

    // What the 6/45 ticket and the newer file hold.
    RawRecord raw;
    sixOf45(raw);
    NumberRowRecord read;
    EXPECT_TRUE(Read(raw.Build(), read, 0, 1));
    raw = RawRecord{};
    version({2, 4, 1, 0})(raw);
    ASSERT_TRUE(Read(raw.Build(), read));
    EXPECT_EQ(read.selected, raw.selected);
    EXPECT_EQ(read.fileVersion.minor, 4);

    // Past the draws, the question answered Yes: the stored range stays.
    raw = RawRecord{};
    hitRatio(raw);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(Read(raw.Build(), read, 299));
    EXPECT_EQ(read.conditions.hitRatio.lastDraw, 300);
    // Without the conditions-set flag the stored conditions do not count.
    raw.conditionsFlag = 0;
    messages.Clear();
    ASSERT_TRUE(Read(raw.Build(), read, 0));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(read.conditionsSet);
    EXPECT_FALSE(read.conditions.AnyActive());
}

TEST_F(NumberRowFileTest, FileLayerMessages) {
    TempHome home;
    NumberRowRecord record;
    EXPECT_FALSE(
        LoadNumberRow(home.Path() + "nincs.tip", {LoadGameInfo(0), 0, kName}, messages, record));
    EXPECT_EQ(messages.LastText(),
              "Hiba történt a(z) " + home.Path() + "nincs.tip megnyitása során.");

    EXPECT_FALSE(SaveNumberRow(home.Path() + "nincs/a.tip", record, messages));
    EXPECT_EQ(messages.LastText(), "Hiba történt a számsor állományának mentése során.");
    EXPECT_EQ(messages.Last().kind, MessageKind::Error);
}

TEST(BusyFile, ExistingFileThatCannotBeOpenedIsBusy) {
    TempHome home;
    FakeMessages messages;
    const std::string missing = home.Path() + "lista.txt";
    EXPECT_TRUE(IsFileFree(missing, messages));
    EXPECT_FALSE(std::filesystem::exists(missing)) << "the check creates nothing";

    ASSERT_TRUE(ReplaceFile(missing, std::string("tartalom")));
    EXPECT_TRUE(IsFileFree(missing, messages));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(missing, kMaxNumberRowFileSize, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "tartalom");
    EXPECT_EQ(messages.Count(), 0u);

    // A folder of that name exists and cannot be opened as a file, whoever runs the test.
    const std::string folder = home.Path() + "foglalt.rtf";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(IsFileFree(folder, messages));
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Last().kind, MessageKind::Error);
    EXPECT_EQ(messages.LastText(),
              "Foglalt állomány.\r\rAz alábbi néven és útvonalon lett megnyitva:\r    " + folder +
                  "      \r\rNevezze át és/vagy zárja be a már megnyitott állományt.");
}

} // namespace
} // namespace velmora
