#include "reports/slips.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/pdf_ink.h"
#include "support/slip_samples.h"
#include "support/temp_home.h"

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

// Every "x" of every form type lands with the centre of its ink within 0.2 mm of its mark,
// measured on the PDF rendered at 600 dpi.
TEST(Slips, ThePdfPutsTheInkAtTheMarks) {
    const std::vector<SlipPage> pages = testing::CornerForms();
    const std::string pdf = SlipsPdf(pages);
    EXPECT_TRUE(pdf.starts_with("%PDF-1.4\n"));
    EXPECT_NE(pdf.find("/MediaBox [0 0 481.89 325.98]"), std::string::npos) << "170 x 115 mm";
    EXPECT_NE(pdf.find("(1. \\\\ 1.  -  6.) Tj"), std::string::npos);
    testing::TempHome home;
    std::ofstream(home.Path() + "slips.pdf", std::ios::binary) << pdf;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const testing::InkPage page =
            testing::RenderPdfPage(home.Path() + "slips.pdf", static_cast<int>(p) + 1, kSlipWidthMm,
                                   kSlipHeightMm, home.Path() + "page");
        ASSERT_GT(page.width, 0) << "pdftoppm renders the page";
        for (const SlipMark& mark : pages[p].marks) {
            const auto ink = testing::InkCentre(page, {mark.x, mark.y}, 1.2);
            ASSERT_TRUE(ink.has_value()) << "form " << p << " at " << mark.x << ", " << mark.y;
            EXPECT_NEAR(ink->x, mark.x, 0.2) << "form " << p << " at " << mark.y;
            EXPECT_NEAR(ink->y, mark.y, 0.2) << "form " << p << " at " << mark.x;
        }
    }
}

} // namespace
} // namespace velmora
