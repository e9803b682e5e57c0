#include "game/row_summary.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\r', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

TEST(RowSummary, FirstFiveNumbersWholeText) {
    NumberRow row = {5, 3, 1, 4, 2};
    const std::string text = SegedszelvenyInfo(row);
    EXPECT_EQ(text, " Számsor összege:  15\r"
                    " Szórás értéke:  1,58\r"
                    " Terjedelem      :  5\r"
                    " Ikerszám        :  0\r"
                    " Tükör számpár   :  0\r"
                    " Prímszám        :  3\r"
                    " Páros\r"
                    "  - számvégződés :  2\r"
                    "  - számcsoport  :  5\r"
                    " Ismétlődés\r"
                    "  -      számvégz:  0\r"
                    "  -  egy számcsop:  4");
    EXPECT_EQ(row, (NumberRow{1, 2, 3, 4, 5})) << "the row is sorted in place";
}

TEST(RowSummary, TwinsAndMirrorPairs) {
    NumberRow row = {33, 21, 12};
    const auto lines = Lines(SegedszelvenyInfo(row));
    EXPECT_EQ(lines[3], " Ikerszám        :  1");
    EXPECT_EQ(lines[4], " Tükör számpár   :  1");
    NumberRow single = {33, 40};
    EXPECT_EQ(Lines(SegedszelvenyInfo(single))[4], " Tükör számpár   :  0");
    // 9 and 90 would mirror by digits but numbers below 10 never form a pair.
    NumberRow small = {9, 90};
    EXPECT_EQ(Lines(SegedszelvenyInfo(small))[4], " Tükör számpár   :  0");
}

TEST(RowSummary, RepeatedEndingsAndGroups) {
    NumberRow one = {15, 25, 35, 47};
    auto lines = Lines(SegedszelvenyInfo(one));
    EXPECT_EQ(lines[10], "  -  egy számvégz:  2");
    EXPECT_EQ(lines[11], "  -      számcsop:  0");

    NumberRow several = {11, 21, 12, 22, 90};
    lines = Lines(SegedszelvenyInfo(several));
    EXPECT_EQ(lines[10], "  - több számvégz:  2");
    EXPECT_EQ(lines[11], "  - több számcsop:  2");
    EXPECT_EQ(lines[1], " Szórás értéke: 33,25");
    EXPECT_EQ(lines[2], " Terjedelem      : 80");
}

TEST(RowSummary, FewerThanTwoNumbersGiveNothing) {
    NumberRow empty;
    EXPECT_EQ(SegedszelvenyInfo(empty), "");
    NumberRow one = {7};
    EXPECT_EQ(SegedszelvenyInfo(one), "");
}

} // namespace
} // namespace velmora
