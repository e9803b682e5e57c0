#include "draws/draws_search.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

DrawRecord Draw(std::initializer_list<int> cells) {
    DrawRecord d;
    std::copy(cells.begin(), cells.end(), d.numbers.begin());
    return d;
}

TEST(DrawsSearch, HitCountsAndTheExtraClass) {
    const GameInfo hatos = LoadGameInfo(1);
    const std::vector<DrawRecord> draws = {
        Draw({1, 2, 3, 4, 5, 9, 7}),       // five and the marked extra number: "5+1"
        Draw({1, 2, 3, 4, 5, 9, 8}),       // five
        Draw({10, 11, 12, 13, 14, 15, 7}), // none: no class
        Draw({1, 2, 20, 21, 22, 23, 0}),   // two
    };
    const DrawSearchRow row{{1, 2, 3, 4, 5, 6}, 7};
    EXPECT_EQ(DrawingHits(hatos, draws[0], 0, row), kExtraClass);
    EXPECT_EQ(DrawingHits(hatos, draws[0], 1, row), kNoDrawing) << "6/45 draws once a date";
    const DrawSearchCounts counts = SearchDraws(hatos, draws, 1, 4, row);
    EXPECT_EQ(counts.hits, (std::vector<long long>{0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(counts.extraClass, 1);
    EXPECT_EQ(SearchSummaryText(hatos, 1, 4, counts),
              "1 - 4. húzások alapján.\r 6 találat:       0\r 5 + 1    :       1\r"
              " 5 találat:       1\r 4 találat:       0\r 3 találat:       0\r"
              " 2 találat:       1\r 1 találat:       0\r");
    // Without a marked extra number the draw counts among the fives.
    EXPECT_EQ(SearchDraws(hatos, draws, 1, 4, {{1, 2, 3, 4, 5, 6}, 0}).hits[4], 2);
    // A range that finds nothing.
    EXPECT_FALSE(SearchDraws(hatos, draws, 3, 3, {{40, 41}, 0}).Any());
}

TEST(DrawsSearch, SteppingThroughTheDrawingsOfALevel) {
    // 7/35: the second drawing of a date is searched too, after the first.
    const GameInfo skandi = LoadGameInfo(2);
    const std::vector<DrawRecord> draws = {
        Draw({1, 2, 3, 20, 21, 22, 23, 30, 31, 32, 33, 34, 35, 29}),
        Draw({20, 21, 22, 23, 24, 25, 26, 1, 2, 3, 27, 28, 29, 30}),
        Draw({1, 2, 3, 4, 24, 25, 26}), // no second drawing
    };
    const DrawSearchRow row{{1, 2, 3, 4, 5, 6, 7}, 0};
    const auto find = [&](int level, DrawPosition from, bool forward) {
        return FindDrawing(skandi, draws, 1, 3, row, level, from, forward);
    };
    EXPECT_EQ(find(3, {0, 0}, true), (DrawPosition{1, 0}));
    EXPECT_EQ(find(3, {1, 0}, true), (DrawPosition{2, 1})) << "the second drawing of draw 2";
    EXPECT_EQ(find(3, {2, 1}, true), std::nullopt) << "past the last one";
    EXPECT_EQ(find(3, {9, 0}, false), (DrawPosition{2, 1})) << "backwards from past the end";
    EXPECT_EQ(find(3, {2, 1}, false), (DrawPosition{1, 0}));
    EXPECT_EQ(find(kAnyHits, {1, 0}, true), (DrawPosition{2, 1}));
    EXPECT_EQ(find(4, {0, 0}, true), (DrawPosition{3, 0}));
    EXPECT_EQ(FindDrawing(skandi, draws, 1, 2, row, 4, {0, 0}, true), std::nullopt)
        << "draw 3 lies outside the range";
    const DrawSearchCounts counts = SearchDraws(skandi, draws, 1, 3, row);
    EXPECT_EQ(counts.hits, (std::vector<long long>{0, 0, 2, 1, 0, 0, 0}));
}

} // namespace
} // namespace velmora
