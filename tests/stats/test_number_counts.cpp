#include "stats/number_counts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

DrawRecord Draw(std::initializer_list<int> cells) {
    DrawRecord d;
    std::copy(cells.begin(), cells.end(), d.numbers.begin());
    return d;
}

TEST(NumberCounts, TimesDrawnAndDrawsSince) {
    const std::vector<DrawRecord> hatos = {Draw({1, 2, 3, 4, 5, 6, 7}),
                                           Draw({1, 10, 11, 12, 13, 14, 0}),
                                           Draw({20, 21, 22, 23, 24, 25, 1})};
    const std::vector<DrawRecord> skandi = {Draw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 35}),
                                            Draw({14, 15, 16, 17, 18, 19, 20})};
    // Games with an extra number load cells above MaxNumber; they are not counted.
    const std::vector<DrawRecord> odd = {Draw({200, 2, 3, 4, 5, 6, 0})};
    struct Case {
        const char* what;
        GameId game;
        const std::vector<DrawRecord>& draws;
        int last, number, times, since;
    };
    const Case cases[] = {
        {"the extra number of the last draw counts", 1, hatos, 3, 1, 3, 0},
        {"an extra number", 1, hatos, 3, 7, 1, 2},
        {"drawn in the first draw", 1, hatos, 3, 2, 1, 2},
        {"drawn in the middle draw", 1, hatos, 3, 10, 1, 1},
        {"never drawn: the number of draws", 1, hatos, 3, 45, 0, 3},
        {"a shorter range", 1, hatos, 2, 1, 2, 0},
        {"a shorter range, never drawn", 1, hatos, 2, 20, 0, 2},
        {"a shorter range, drawn last", 1, hatos, 2, 10, 1, 0},
        {"the second draw of the date counts", 2, skandi, 2, 35, 1, 1},
        {"the last date", 2, skandi, 2, 14, 1, 0},
        {"the first draw of the date", 2, skandi, 2, 1, 1, 1},
        {"a cell above MaxNumber", 1, odd, 1, 1, 0, 1},
        {"beside a cell above MaxNumber", 1, odd, 1, 2, 1, 0},
    };
    for (const Case& c : cases) {
        const NumberCounts counts = CountNumbers(LoadGameInfo(c.game), c.draws, 1, c.last);
        ASSERT_EQ(counts.timesDrawn.size(),
                  static_cast<std::size_t>(LoadGameInfo(c.game).maxNumber));
        EXPECT_EQ(counts.timesDrawn[static_cast<std::size_t>(c.number - 1)], c.times) << c.what;
        EXPECT_EQ(counts.drawsSince[static_cast<std::size_t>(c.number - 1)], c.since) << c.what;
    }
}

} // namespace
} // namespace velmora
