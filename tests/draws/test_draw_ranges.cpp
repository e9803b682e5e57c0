#include "draws/draw_ranges.h"

#include <gtest/gtest.h>

#include "support/draws_files.h"
#include "support/fake_messages.h"

namespace velmora {
namespace {

using namespace testing;

// One sample a draw and one more for a second draw of the date; extra numbers alongside.
TEST(DrawRanges, SamplesAndExtraNumbers) {
    struct Case {
        GameId game;
        int draws;
        std::vector<std::pair<std::size_t, std::size_t>> cleared; // draw, cell
        int first, last, samples, extras;
    };
    const Case cases[] = {
        {2, 10, {{4, 7}}, 1, 10, 19, 0}, // no second draw on one date
        {2, 10, {{4, 7}}, 5, 6, 3, 0},
        {2, 10, {}, 6, 5, 0, 0}, // an empty range
        // Second draw without its extra number; first draw without it; no second draw, but its
        // extra number cell is set.
        {4, 4, {{0, 13}, {1, 6}, {2, 7}}, 1, 4, 7, 6},
        {1, 5, {{2, 6}}, 2, 4, 3, 2},
    };
    for (const Case& c : cases) {
        const GameInfo game = LoadGameInfo(c.game);
        std::vector<DrawRecord> draws = SampleDraws(game, c.draws);
        for (const auto& [draw, cell] : c.cleared) {
            draws[draw].numbers[cell] = 0;
        }
        const RangeCounts counts = CountRange(game, draws, c.first, c.last);
        SCOPED_TRACE(::testing::Message() << "game " << c.game << " " << c.first << ".." << c.last);
        EXPECT_EQ(counts.samples, c.samples);
        EXPECT_EQ(counts.extraNumbers, c.extras);
        // Reset spans all draws; the range of the mode asked for is counted.
        DrawRanges ranges;
        ranges.Set(RangeMode::TicketStatistics, {2, 3});
        ranges.Set(RangeMode::DeleteRows, {2, 3});
        ranges.Reset(c.draws);
        for (RangeMode mode : {RangeMode::TicketStatistics, RangeMode::HitRatio}) {
            EXPECT_EQ(ranges.Get(mode).first, 1);
            EXPECT_EQ(ranges.Get(mode).last, c.draws);
        }
        EXPECT_EQ(ranges.GetBontSzamsorUtolso(), 1) << "the row ranges start over";
        ranges.Set(RangeMode::Database, {c.first, c.last});
        EXPECT_EQ(ranges.GetLHuzSzamaElso(), c.first);
        EXPECT_EQ(ranges.GetAktHuzSzama(RangeMode::Database, game, draws), c.samples);
        EXPECT_EQ(ranges.GetAktPluszSzam(RangeMode::Database, game, draws), c.extras);
        EXPECT_EQ(ranges.GetAktHuzSzama(RangeMode::TicketStatistics, game, draws),
                  CountRange(game, draws, 1, c.draws).samples);
    }
}

TEST(DrawRanges, FieldChecksCorrectTheValueAndShowTheLimits) {
    struct Case {
        const char* text;
        bool lastField, valid;
        int limitA, limitB, value; // limits: the maximum and the last value, or the first and count
        RangeMode mode = RangeMode::TicketStatistics;
    };
    const Case cases[] = {
        {"12", false, true, 99, 100, 12},
        {"0", false, false, 99, 100, 1},
        {"", false, false, 99, 100, 1},
        {"150", false, false, 99, 80, 79}, // one below the last field
        {"150", false, false, 99, 80, 80, RangeMode::DeleteRows},
        {"100", true, true, 1, 100, 100},
        {"101", true, false, 1, 100, 100},
        {"10", true, false, 10, 100, 11}, // a range holds at least two draws
        {"", true, false, 10, 100, 11},
        {"10", true, true, 10, 100, 10, RangeMode::DeleteRows}, // one row is a range of rows
        {"9", true, false, 10, 100, 10, RangeMode::InsertRows},
    };
    for (const Case& c : cases) {
        FakeMessages messages;
        const FieldCheck check =
            c.lastField ? CheckLastField(c.text, c.limitA, c.limitB, c.mode, messages)
                        : CheckFirstField(c.text, c.limitA, c.limitB, c.mode, messages);
        EXPECT_EQ(check.valid, c.valid) << c.text;
        EXPECT_EQ(check.value, c.value) << c.text;
        ASSERT_EQ(messages.Count(), c.valid ? 0u : 1u) << c.text;
        if (!c.valid) {
            EXPECT_EQ(messages.Last().kind, MessageKind::RangeError);
            const std::string lowest = IsRowRange(c.mode) ? "1" : "2";
            EXPECT_EQ(messages.LastText(),
                      c.lastField ? "Érvénytelen paraméter.\r\rUtolsó húzás sorszáma "
                                    "értékhatárok:\r    - minimum : " +
                                        lowest + "\r    - maximum: 100"
                                  : "Érvénytelen paraméter.\r\rElső húzás sorszáma "
                                    "értékhatárok:\r    - minimum : 1\r    - maximum: 99");
        }
    }
    FakeMessages messages;
    EXPECT_EQ(CheckLastField("0", 10, 100, RangeMode::Database, messages, false).value, 11);
    EXPECT_EQ(messages.Count(), 0u) << "a hidden dialog corrects without a message";
}

} // namespace
} // namespace velmora
