#include "reports/slips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace velmora {
namespace {

std::vector<std::vector<int>> Rows(int count, std::vector<int> row) {
    return std::vector<std::vector<int>>(static_cast<std::size_t>(count), row);
}

TEST(Slips, NumbersLandInTheirBoxes) {
    const struct {
        GameId game;
        int slot, number;
        double x, y; // mm, from the form's table
    } cases[] = {
        {0, 0, 1, 22, 15},
        {0, 0, 90, 22 + 9 * 4.2, 15 + 8 * 4.2}, // column 10, line 9
        {0, 5, 10, 114.5 + 9 * 4.2, 56},
        {1, 7, 45, 123 + 2 * 4.2, 49.5 + 6 * 4.2}, // seven columns: column 3, line 7
        {2, 9, 35, 127.5 + 4 * 4.2, 49 + 6 * 4.2},
        {8, 1, 80, 62 + 4 * 4.2, 29.5 + 15 * 4.2}, // five columns: column 5, line 16
    };
    for (const auto& c : cases) {
        const SlipMark mark = NumberMark(LoadGameInfo(c.game), c.slot, c.number);
        EXPECT_NEAR(mark.x, c.x, 1e-9) << c.game << " " << c.number;
        EXPECT_NEAR(mark.y, c.y, 1e-9) << c.game << " " << c.number;
    }
}

TEST(Slips, FormsTheirRowsAndTheirSerials) {
    const GameInfo otos = LoadGameInfo(0);
    const auto rows = Rows(13, {1, 2, 3, 4, 90});
    EXPECT_EQ(SlipCount(0, 13), 3);
    EXPECT_EQ(SlipCount(1, 16), 2);
    EXPECT_EQ(SlipCount(8, 3), 2);
    SlipOptions options;
    const SlipPage third = SlipForm(otos, rows, 3, options);
    EXPECT_EQ(third.serial, "3. \\ 13.  -  13.");
    // Five numbers and the "Nem" joker box.
    ASSERT_EQ(third.marks.size(), 6u);
    EXPECT_NEAR(third.marks.back().x, 76.5 + 8.5, 1e-9);
    EXPECT_EQ(SlipForm(otos, rows, 1, options).marks.size(), 6u * 5 + 1);
    options.numbering = false;
    options.joker = Joker::Unmarked;
    options.fiveWeeks = true;
    options.extraJoker = true; // only with the joker
    const SlipPage plain = SlipForm(otos, rows, 3, options);
    EXPECT_TRUE(plain.serial.empty());
    ASSERT_EQ(plain.marks.size(), 6u);
    EXPECT_NEAR(plain.marks.back().x, 22, 1e-9);
    EXPECT_NEAR(plain.marks.back().y, 97, 1e-9);
}

TEST(Slips, KenoStakeAndDraws) {
    EXPECT_EQ(CorrectedDrawCount(13), 7);
    EXPECT_EQ(CorrectedDrawCount(10), 14);
    EXPECT_EQ(CorrectedDrawCount(14), 14);
    EXPECT_EQ(CorrectedDrawCount(3), 3);
    SlipOptions options;
    options.stake = 3;
    options.draws = 14;
    const SlipPage page = SlipForm(LoadGameInfo(8), Rows(1, {1, 2}), 1, options);
    // Two numbers, the field's mark, its stake and the draws.
    ASSERT_EQ(page.marks.size(), 5u);
    EXPECT_NEAR(page.marks[2].x, 24, 1e-9);
    EXPECT_NEAR(page.marks[3].y, 29.5 + 13 * 4.2, 1e-9);
    EXPECT_NEAR(page.marks[4].x, 28 + 8.5 * 7, 1e-9);
    EXPECT_NEAR(page.marks[4].y, 101.5, 1e-9);
}

// The PDF places each "x" so that its centre lies within 0.2 mm of the mark.
TEST(Slips, ThePdfPutsTheMarksAtTheirMillimetres) {
    const GameInfo otos = LoadGameInfo(0);
    SlipOptions options;
    options.joker = Joker::Unmarked;
    const SlipPage page = SlipForm(otos, Rows(1, {90}), 1, options);
    const std::string pdf = SlipsPdf({page});
    EXPECT_TRUE(pdf.starts_with("%PDF-1.4\n"));
    EXPECT_NE(pdf.find("/MediaBox [0 0 481.89 325.98]"), std::string::npos) << "170 x 115 mm";
    EXPECT_NE(pdf.find("(1. \\\\ 1.  -  1.) Tj"), std::string::npos);
    const std::size_t at = pdf.find(" Tm (x) Tj");
    ASSERT_NE(at, std::string::npos);
    const std::size_t start = pdf.rfind("1 0 0 1 ", at) + 8;
    std::istringstream numbers(pdf.substr(start, at - start));
    double tx = 0;
    double ty = 0;
    numbers >> tx >> ty;
    const double mm = 25.4 / 72;
    const double centreX = (tx + 8 * 0.25) * mm;
    const double centreY = 115 - (ty + 8 * 0.26) * mm;
    EXPECT_NEAR(centreX, 22 + 9 * 4.2, 0.2);
    EXPECT_NEAR(centreY, 15 + 8 * 4.2, 0.2);
    EXPECT_NE(pdf.find("startxref"), std::string::npos);
}

} // namespace
} // namespace velmora
