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

// The whole text of 1..5 is compared by the command-line tool's summary test.
TEST(RowSummary, SingleLines) {
    struct Case {
        NumberRow row;
        std::size_t line;
        const char* text;
    };
    const Case cases[] = {
        {{33, 21, 12}, 3, " Ikerszám        :  1"},
        {{33, 21, 12}, 4, " Tükör számpár   :  1"},
        {{33, 40}, 4, " Tükör számpár   :  0"},
        {{9, 90}, 4, " Tükör számpár   :  0"}, // numbers below 10 never form a pair
        {{15, 25, 35, 47}, 10, "  -  egy számvégz:  2"},
        {{15, 25, 35, 47}, 11, "  -      számcsop:  0"},
        {{11, 21, 12, 22, 90}, 10, "  - több számvégz:  2"},
        {{11, 21, 12, 22, 90}, 11, "  - több számcsop:  2"},
        {{11, 21, 12, 22, 90}, 1, " Szórás értéke: 33,25"},
        {{11, 21, 12, 22, 90}, 2, " Terjedelem      : 80"},
    };
    for (const Case& c : cases) {
        NumberRow row = c.row;
        const std::vector<std::string> lines = Lines(SegedszelvenyInfo(row));
        ASSERT_GT(lines.size(), c.line);
        EXPECT_EQ(lines[c.line], c.text) << "row from " << int(c.row[0]);
    }
    NumberRow row = {33, 21, 12};
    SegedszelvenyInfo(row);
    EXPECT_EQ(row, (NumberRow{12, 21, 33})) << "the row is sorted in place";
    for (NumberRow few : {NumberRow{}, NumberRow{7}}) {
        EXPECT_EQ(SegedszelvenyInfo(few), "") << "fewer than two numbers";
    }
}

} // namespace
} // namespace velmora
