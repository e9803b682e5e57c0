#include "reports/list_report.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::vector<DrawRecord> Draws(int count, int numbers) {
    std::vector<DrawRecord> draws;
    for (int i = 1; i <= count; ++i) {
        DrawRecord d;
        d.drawNo = i;
        d.drawYear = 2000;
        d.drawWeek = i % 53 + 1;
        for (int n = 0; n < numbers; ++n) {
            d.numbers[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n + 1);
        }
        draws.push_back(d);
    }
    return draws;
}

std::tm Noon() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 12;
    t.tm_min = 5;
    return t;
}

// 131 draws of the 5/90 with 65 lines a page: two draws a line, 130 on the first page and one
// on the second, each page under its header block.
TEST(ListReport, DrawsTwoALineOverTwoPages) {
    const std::vector<std::string> lines =
        DrawsListReport(LoadGameInfo(0), Draws(131, 5), Noon(), 65);
    ASSERT_EQ(lines.size(), 5u + 65u + 1u + 5u + 1u);
    EXPECT_EQ(lines[0], " Velmora Personal 2.3.0.0  Készült: 2026. 12. 06. 12:05" +
                            std::string(24, ' ') + "1/2 oldal");
    EXPECT_EQ(lines[2], " Magyar 5/90 lottó nyerőszámai");
    EXPECT_EQ(lines[3], " Húzás   Év   Hét    1.   2.   3.   4.   5.    Húzás   Év   Hét    1.   "
                        "2.   3.   4.   5.");
    EXPECT_EQ(lines[5], "      1.  2000.  2.    1 -  2 -  3 -  4 -  5       2.  2000.  3.    1 -  "
                        "2 -  3 -  4 -  5");
    EXPECT_EQ(lines[70], std::string(90, '-') + "\f\r");
    EXPECT_TRUE(lines[71].ends_with("2/2 oldal"));
    EXPECT_EQ(lines.back(), "    131.  2000. 26.    1 -  2 -  3 -  4 -  5");
}

TEST(ListReport, KenoDrawsOneALine) {
    const std::vector<std::string> lines = DrawsListReport(LoadGameInfo(8), Draws(2, 20), Noon());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], " A Magyar Kenó nyerőszámai");
    EXPECT_EQ(lines[5],
              "      1.  2000.  2.    1- 2- 3- 4- 5- 6- 7- 8- 9-10-11-12-13-14-15-16-17-18-"
              "19-20");
}

// Three rows of a 5/90 variation of seven numbers: two rows a line, each under its group of the
// column header.
TEST(ListReport, VariationRowsTwoALine) {
    VariationStore store;
    store.Reset(5, 7);
    ASSERT_TRUE(store.Reserve(3));
    for (const auto& row :
         {std::vector<std::uint8_t>{0, 1, 2, 3, 4}, {2, 3, 4, 5, 6}, {0, 2, 4, 5, 6}}) {
        store.Append(row.data());
    }
    ExportSource source;
    source.numbers = {1, 2, 3, 4, 5, 6, 70};
    const std::string title = VariationListTitle(7, 0, false, false, 3);
    EXPECT_EQ(title, "7 szám variációja 3 számsorra");
    EXPECT_EQ(VariationListTitle(12, 1, true, false, 65),
              "12 szám 1 hibapontra optimalizált variációja 65 számsorra");
    const std::vector<std::string> lines =
        VariationListReport(LoadGameInfo(0), store, source, title, Noon());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], " 7 szám variációja 3 számsorra");
    const std::string& header = lines[3];
    const std::size_t second = header.find(" Szelvény", 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_TRUE(lines[5].starts_with("         1.   1 -  2 -  3 -  4 -  5 ")) << lines[5];
    EXPECT_EQ(lines[5].substr(second), "         2.   3 -  4 -  5 -  6 - 70");
    EXPECT_EQ(lines[6], "         3.   1 -  3 -  5 -  6 - 70");
}

} // namespace
} // namespace velmora
