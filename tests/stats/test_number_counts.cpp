#include "stats/number_counts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

DrawRecord Draw(std::initializer_list<int> cells) {
    DrawRecord d;
    d.drawNo = 1;
    d.drawYear = 2000;
    d.drawWeek = 1;
    std::size_t i = 0;
    for (int c : cells) {
        d.numbers[i++] = static_cast<std::uint8_t>(c);
    }
    return d;
}

TEST(NumberCounts, ExtraNumbersCountAndNeverDrawnShowsTheRange) {
    const GameInfo hatos = LoadGameInfo(1);
    const std::vector<DrawRecord> draws = {
        Draw({1, 2, 3, 4, 5, 6, 7}),
        Draw({1, 10, 11, 12, 13, 14, 0}),
        Draw({20, 21, 22, 23, 24, 25, 1}),
    };
    const NumberCounts all = CountNumbers(hatos, draws, 1, 3);
    EXPECT_EQ(all.timesDrawn[0], 3) << "the extra number of the last draw counts";
    EXPECT_EQ(all.timesDrawn[6], 1);
    EXPECT_EQ(all.drawsSince[0], 0) << "drawn in the last draw";
    EXPECT_EQ(all.drawsSince[1], 2);
    EXPECT_EQ(all.drawsSince[9], 1);
    EXPECT_EQ(all.drawsSince[44], 3) << "never drawn: the number of draws";
    EXPECT_EQ(all.timesDrawn[44], 0);

    const NumberCounts part = CountNumbers(hatos, draws, 1, 2);
    EXPECT_EQ(part.timesDrawn[0], 2);
    EXPECT_EQ(part.drawsSince[19], 2);
    EXPECT_EQ(part.drawsSince[9], 0);
}

TEST(NumberCounts, SecondDrawOfTheDateCounts) {
    const GameInfo skandi = LoadGameInfo(2);
    const std::vector<DrawRecord> draws = {
        Draw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 35}),
        Draw({14, 15, 16, 17, 18, 19, 20, 0, 0, 0, 0, 0, 0, 0}),
    };
    const NumberCounts counts = CountNumbers(skandi, draws, 1, 2);
    EXPECT_EQ(counts.timesDrawn[34], 1);
    EXPECT_EQ(counts.drawsSince[34], 1);
    EXPECT_EQ(counts.drawsSince[13], 0);
    EXPECT_EQ(counts.timesDrawn[0], 1);
}

TEST(NumberCounts, ValuesOutsideTheGameAreIgnored) {
    // Games with an extra number load cells above MaxNumber; they must not be counted.
    const GameInfo hatos = LoadGameInfo(1);
    const NumberCounts counts = CountNumbers(hatos, {Draw({200, 2, 3, 4, 5, 6, 0})}, 1, 1);
    EXPECT_EQ(counts.timesDrawn.size(), 45u);
    EXPECT_EQ(counts.timesDrawn[1], 1);
    EXPECT_EQ(counts.drawsSince[0], 1);
}

} // namespace
} // namespace velmora
