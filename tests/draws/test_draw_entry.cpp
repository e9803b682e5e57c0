#include "draws/draw_entry.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

DrawRecord Draw(int year, int week, std::initializer_list<int> cells = {}) {
    DrawRecord d;
    d.drawYear = year;
    d.drawWeek = week;
    std::copy(cells.begin(), cells.end(), d.numbers.begin());
    return d;
}

std::vector<DrawRecord> Weeks(std::initializer_list<std::pair<int, int>> dates) {
    std::vector<DrawRecord> draws;
    for (const auto& [year, week] : dates) {
        draws.push_back(Draw(year, week));
    }
    return draws;
}

TEST(DrawEntry, LimitsKeepTheDrawBetweenItsNeighbours) {
    struct Case {
        const char* what;
        GameId game;
        DrawEdit mode;
        std::vector<DrawRecord> draws;
        int row;
        EntryLimits expected; // yearMin, yearMax, year, weekMin, weekMax, week
    };
    const Case cases[] = {
        {"a weekly game goes on a week later",
         0,
         DrawEdit::Append,
         Weeks({{2010, 29}, {2010, 30}}),
         3,
         {2010, 2010, 2010, 30, 31, 31}},
        {"after week 52 comes week 1 of the next year",
         0,
         DrawEdit::Append,
         Weeks({{2010, 52}}),
         2,
         {2010, 2011, 2011, 1, 1, 1}},
        {"the first drawing of a week leaves the week open",
         5,
         DrawEdit::Append,
         Weeks({{2010, 10}, {2010, 10}, {2010, 11}}),
         4,
         {2010, 2010, 2010, 11, 12, 11}},
        {"a week of two drawings is full",
         5,
         DrawEdit::Append,
         Weeks({{2010, 10}, {2010, 11}, {2010, 11}}),
         4,
         {2010, 2010, 2010, 11, 12, 12}},
        {"a change stays in its year, not before the first draw",
         0,
         DrawEdit::Modify,
         Weeks({{2010, 20}, {2010, 30}, {2011, 5}}),
         2,
         {2010, 2010, 2010, 20, 53, 30}},
        {"an insertion across a year end",
         0,
         DrawEdit::Insert,
         Weeks({{2010, 50}, {2011, 2}}),
         2,
         {2010, 2011, 2011, 1, 2, 2}},
        {"an insertion before a draw of week 1",
         0,
         DrawEdit::Insert,
         Weeks({{2010, 50}, {2011, 1}}),
         2,
         {2010, 2011, 2010, 50, 53, 53}},
    };
    for (const Case& c : cases) {
        const EntryLimits l = EntryLimitsFor(c.mode, LoadGameInfo(c.game), c.draws, c.row);
        const EntryLimits& e = c.expected;
        EXPECT_EQ(std::vector<int>({l.yearMin, l.yearMax, l.year, l.weekMin, l.weekMax, l.week}),
                  std::vector<int>({e.yearMin, e.yearMax, e.year, e.weekMin, e.weekMax, e.week}))
            << c.what;
    }
    // The year field moved back to the year before: its own weeks.
    const std::vector<DrawRecord> draws = Weeks({{2010, 50}, {2011, 2}});
    const GameInfo game = LoadGameInfo(0);
    const EntryLimits back = WithYear(DrawEdit::Insert, game, draws, 2,
                                      EntryLimitsFor(DrawEdit::Insert, game, draws, 2), 2010);
    EXPECT_EQ(back.weekMin, 50);
    EXPECT_EQ(back.weekMax, 53);
    EXPECT_EQ(LimitsHint(2010, 2011), " A beállítható érték minimuma és maximuma = 2010 - 2011.  ");
}

TEST(DrawEntry, AnEnteredDrawMustFit) {
    const std::vector<DrawRecord> otos = Weeks({{2025, 33}});
    const std::vector<DrawRecord> hatos = Weeks({{2025, 33}});
    const std::vector<DrawRecord> croatian = Weeks({{2025, 33}});
    struct Case {
        const char* what;
        GameId game;
        const std::vector<DrawRecord>& draws;
        int row;
        DrawRecord entry;
        std::string message;
    };
    const Case cases[] = {
        {"a good draw", 0, otos, 2, Draw(2025, 34, {6, 24, 77, 88, 89}), ""},
        {"a week too far", 0, otos, 2, Draw(2025, 36, {6, 24, 77, 88, 89}),
         "Érvénytelen paraméter.\r\rJátékhét értékhatárok:\r    - minimum : 33\r    - maximum: 34"},
        {"another year", 0, otos, 2, Draw(2024, 34, {6, 24, 77, 88, 89}),
         "Érvénytelen paraméter.\r\rHúzás éve értékhatárok:\r    - minimum : 2025\r    - "
         "maximum: 2025"},
        {"a number missing", 0, otos, 2, Draw(2025, 34, {6, 24, 77, 88}),
         "Jelöljön ki 5 számot a számsoron."},
        {"a number twice", 0, otos, 2, Draw(2025, 34, {6, 24, 77, 88, 24}),
         "Egy szám kétszer szerepel a számsoron."},
        {"a number past the ticket", 0, otos, 2, Draw(2025, 34, {6, 24, 77, 88, 91}),
         "A számok értéke 1 és 90 között lehet."},
        {"a cell the game has not", 0, otos, 2, Draw(2025, 34, {6, 24, 77, 88, 89, 0, 0, 0, 5}),
         "Ennél a játéknál egy húzás 5 számot tartalmaz."},
        // The Hungarian 6/45 has drawn no extra number since 2007.
        {"no extra number any more", 1, hatos, 2, Draw(2025, 34, {1, 2, 3, 4, 5, 6, 7}),
         "Ennél a húzásnál nincs plusz szám."},
        {"the extra number is needed", 6, croatian, 2, Draw(2025, 34, {1, 2, 3, 4, 5, 6}),
         "Jelölje ki a plusz számot is a számsoron."},
        {"the extra number is one of the row", 6, croatian, 2,
         Draw(2025, 34, {1, 2, 3, 4, 5, 6, 6}),
         "A plusz szám 1 és 45 közötti, a számsoron nem szereplő szám."},
        {"an extra number where it belongs", 6, croatian, 2, Draw(2025, 34, {1, 2, 3, 4, 5, 6, 7}),
         ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckEntry(DrawEdit::Append, LoadGameInfo(c.game), c.draws, c.row, c.entry),
                  c.message)
            << c.what;
    }
}

TEST(DrawEntry, SecondDrawingsOfTheDate) {
    const std::vector<DrawRecord> skandi = Weeks({{2025, 33}});
    const GameInfo game2 = LoadGameInfo(2);
    EXPECT_EQ(CheckEntry(DrawEdit::Append, game2, skandi, 2,
                         Draw(2025, 34, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})),
              "");
    EXPECT_EQ(CheckEntry(DrawEdit::Append, game2, skandi, 2,
                         Draw(2025, 34, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})),
              "Jelöljön ki 7 számot a második számsoron.");
    EXPECT_TRUE(EntryHasSecondDrawing(game2, 1));
    // Game 4 drew twice a date from its draw 413 on.
    const GameInfo game4 = LoadGameInfo(4);
    EXPECT_FALSE(EntryHasSecondDrawing(game4, 412));
    EXPECT_TRUE(EntryHasSecondDrawing(game4, 413));
    EXPECT_EQ(CheckEntry(DrawEdit::Append, game4, Weeks({{2025, 33}}), 2,
                         Draw(2025, 34, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})),
              "Ennél a húzásnál nincs második számsor.");
}

} // namespace
} // namespace velmora
