#include "draws/draw_ranges.h"

#include <gtest/gtest.h>

#include "support/draws_files.h"
#include "support/fake_messages.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using testing::SampleDraws;

TEST(DrawRanges, ResetCoversAllDraws) {
    DrawRanges ranges;
    ranges.SetHuzSzamaElso(5);
    ranges.SetLHuzSzamaUtolso(9);
    ranges.Reset(1234);
    EXPECT_EQ(ranges.GetHuzSzamaElso(), 1);
    EXPECT_EQ(ranges.GetHuzSzamaUtolso(), 1234);
    EXPECT_EQ(ranges.GetLHuzSzamaElso(), 1);
    EXPECT_EQ(ranges.GetLHuzSzamaUtolso(), 1234);
    EXPECT_EQ(ranges.HitRatio().last, 1234);
    EXPECT_EQ(ranges.GetBontSzamsorUtolso(), 1);
    ranges.Set(RangeMode::Database, {3, 7});
    EXPECT_EQ(ranges.GetLHuzSzamaElso(), 3);
    EXPECT_EQ(ranges.Get(RangeMode::Database).last, 7);
    EXPECT_EQ(ranges.Get(RangeMode::TicketStatistics).last, 1234);
}

TEST(DrawRanges, SamplesAndExtraNumbers) {
    const GameInfo skandi = LoadGameInfo(2);
    auto draws = SampleDraws(skandi, 10);
    draws[4].numbers[7] = 0; // no second draw on that date
    RangeCounts counts = CountRange(skandi, draws, 1, 10);
    EXPECT_EQ(counts.samples, 19);
    EXPECT_EQ(counts.extraNumbers, 0);
    EXPECT_EQ(CountRange(skandi, draws, 6, 5).samples, 0) << "an empty range";
    DrawRanges ranges;
    ranges.Reset(10);
    ranges.Set(RangeMode::Database, {5, 6});
    EXPECT_EQ(ranges.GetAktHuzSzama(RangeMode::Database, skandi, draws), 3);
    EXPECT_EQ(ranges.GetAktHuzSzama(RangeMode::TicketStatistics, skandi, draws), 19);
    EXPECT_EQ(ranges.GetAktPluszSzam(RangeMode::Database, skandi, draws), 0);

    const GameInfo slovak = LoadGameInfo(4);
    auto slovakDraws = SampleDraws(slovak, 4);
    slovakDraws[0].numbers[13] = 0; // second draw without its extra number
    slovakDraws[1].numbers[6] = 0;  // first draw without its extra number
    slovakDraws[2].numbers[7] = 0;  // no second draw, but its extra number cell is set
    counts = CountRange(slovak, slovakDraws, 1, 4);
    EXPECT_EQ(counts.samples, 7);
    EXPECT_EQ(counts.extraNumbers, 6);

    const GameInfo hatos = LoadGameInfo(1);
    auto hatosDraws = SampleDraws(hatos, 5);
    hatosDraws[2].numbers[6] = 0;
    counts = CountRange(hatos, hatosDraws, 2, 4);
    EXPECT_EQ(counts.samples, 3);
    EXPECT_EQ(counts.extraNumbers, 2);
}

TEST(DrawRanges, FirstFieldLimits) {
    FakeMessages messages;
    EXPECT_TRUE(CheckFirstField("12", 99, 100, RangeMode::TicketStatistics, messages).valid);
    EXPECT_EQ(messages.Count(), 0u);

    FieldCheck check = CheckFirstField("0", 99, 100, RangeMode::TicketStatistics, messages);
    EXPECT_FALSE(check.valid);
    EXPECT_EQ(check.value, 1);
    EXPECT_EQ(messages.Last().kind, MessageKind::RangeError);
    EXPECT_EQ(messages.LastText(), "Érvénytelen paraméter.\r\rElső húzás sorszáma értékhatárok:\r"
                                   "    - minimum : 1\r    - maximum: 99");
    EXPECT_EQ(CheckFirstField("", 99, 100, RangeMode::TicketStatistics, messages).value, 1);
    EXPECT_EQ(CheckFirstField("150", 99, 80, RangeMode::TicketStatistics, messages).value, 79);
    EXPECT_EQ(CheckFirstField("150", 99, 80, RangeMode::DeleteRows, messages).value, 80);
    EXPECT_EQ(messages.Count(), 4u);
}

TEST(DrawRanges, LastFieldLimits) {
    FakeMessages messages;
    EXPECT_TRUE(CheckLastField("100", 1, 100, messages).valid);
    FieldCheck check = CheckLastField("101", 1, 100, messages);
    EXPECT_FALSE(check.valid);
    EXPECT_EQ(check.value, 100);
    EXPECT_EQ(messages.LastText(), "Érvénytelen paraméter.\r\rUtolsó húzás sorszáma "
                                   "értékhatárok:\r    - minimum : 2\r    - maximum: 100");
    CheckLastField("0", 10, 100, messages, false);
    EXPECT_EQ(messages.Count(), 1u) << "a hidden dialog corrects without a message";
    check = CheckLastField("10", 10, 100, messages);
    EXPECT_FALSE(check.valid) << "a range holds at least two draws";
    EXPECT_EQ(check.value, 11);
    EXPECT_EQ(CheckLastField("", 10, 100, messages).value, 11);
}

} // namespace
} // namespace velmora
