#include "game/ticket_layout.h"

#include <gtest/gtest.h>

#include "game/ticket_appearance.h"

namespace velmora {
namespace {

constexpr int kBox = 30;

// Column and row of box `number` in the grid.
std::pair<int, int> Cell(const TicketLayout& layout, int number) {
    const Rect& r = layout.boxes[static_cast<std::size_t>(number - 1)];
    return {(r.left - 3) / (kBox + 1), (r.top - 3) / (kBox + 1)};
}

TEST(TicketLayout, SlovakFiveOfThirtyFiveStartsInTheSecondColumn) {
    const TicketLayout layout = ComputeTicketLayout(LoadGameInfo(3), {kMainTicket}, kBox);
    ASSERT_EQ(layout.boxes.size(), 35u);
    EXPECT_EQ(Cell(layout, 1), std::make_pair(1, 0));
    for (int last : {5, 11, 17, 23, 29, 35}) {
        EXPECT_EQ(Cell(layout, last).first, 5) << last << " ends its row";
    }
    EXPECT_EQ(Cell(layout, 35).second, 5);
    EXPECT_EQ(layout.boxes[0], (Rect{3 + kBox + 1, 3, kBox, kBox}));
}

TEST(TicketLayout, UkrainianSixOfFiftyTwoLeavesTheLastBoxEmpty) {
    const TicketLayout layout = ComputeTicketLayout(LoadGameInfo(23), {kMainTicket}, kBox);
    ASSERT_EQ(layout.boxes.size(), 52u);
    EXPECT_EQ(Cell(layout, 47), std::make_pair(5, 7));
    EXPECT_EQ(Cell(layout, 48), std::make_pair(0, 8));
    EXPECT_EQ(Cell(layout, 52), std::make_pair(4, 8));
}

TEST(TicketLayout, MainTicketSizes) {
    const GameInfo game = LoadGameInfo(0);
    const TicketLayout layout = ComputeTicketLayout(game, {kMainTicket}, kBox);
    EXPECT_EQ(layout.clientWidth, 10 * kBox + 10 + 4);
    const int gridHeight = 9 * kBox + 9 + 4;
    EXPECT_EQ(layout.clientHeight, gridHeight + 65 + 80);
    EXPECT_FALSE(layout.reportAtRight);
    EXPECT_EQ(layout.reportPanel, (Rect{0, gridHeight, layout.clientWidth, 145}));
    EXPECT_EQ(layout.buttonPanel, Rect{});
    EXPECT_EQ(layout.boxes[10], (Rect{3, 3 + kBox + 1, kBox, kBox})) << "11 opens the second row";
}

TEST(TicketLayout, KenoDrawsListPutsTheReportOnTheRightAndDoublesTheWidth) {
    const GameInfo keno = LoadGameInfo(8);
    const TicketLayout layout =
        ComputeTicketLayout(keno, {kDrawsListTicket, true, true, true}, kBox);
    const int gridWidth = 5 * kBox + 5 + 4;
    EXPECT_TRUE(layout.reportAtRight);
    EXPECT_EQ(layout.clientWidth, 2 * gridWidth);
    EXPECT_EQ(layout.reportPanel.left, gridWidth);
    EXPECT_EQ(layout.reportPanel.width, gridWidth);
    EXPECT_EQ(layout.clientHeight, 16 * kBox + 16 + 4 + kButtonPanelHeight);
    EXPECT_EQ(layout.exitButton.top, 3);
    EXPECT_EQ(layout.deleteButton.left, layout.exitButton.left + layout.exitButton.width);

    // The main and new-draw tickets keep the panel at the bottom even for Keno.
    EXPECT_FALSE(ComputeTicketLayout(keno, {kMainTicket}, kBox).reportAtRight);
    EXPECT_FALSE(ComputeTicketLayout(keno, {kNewDrawTicket}, kBox).reportAtRight);
}

TEST(TicketLayout, TallCroatianGridReportNeverCoversTheBoxes) {
    const GameInfo game = LoadGameInfo(6);
    const TicketLayout layout = ComputeTicketLayout(game, {kVariationListTicket}, kBox);
    ASSERT_TRUE(layout.reportAtRight);
    const int gridWidth = 3 * kBox + 3 + 4;
    EXPECT_EQ(layout.reportPanel.width, 2 * gridWidth - (kBox + 4));
    for (const Rect& box : layout.boxes) {
        EXPECT_LE(box.left + box.width, layout.reportPanel.left);
    }
    EXPECT_EQ(layout.reportPanel.left + layout.reportPanel.width, layout.clientWidth);
}

TEST(TicketLayout, ReportWiderThanTheGridWidensTheTicket) {
    struct Case {
        GameId game;
        int kind;
        int minWidth;
        int width;    // the ticket's client width
        int gridLeft; // where the grid's first column starts
        int reportWidth;
    };
    const int croatian = 3 * kBox + 3 + 4; // three columns
    const int hungarian = 10 * kBox + 10 + 4;
    const Case cases[] = {
        // A narrow grid under a wide report: the ticket takes the report's width, the grid
        // stands in the middle.
        {6, kMainTicket, 200, 200, (200 - croatian) / 2, 200},
        {6, kMainTicket, croatian + 1, croatian + 1, 0, croatian + 1},
        // No wider than the grid: nothing moves.
        {6, kMainTicket, croatian, croatian, 0, croatian},
        {0, kMainTicket, 200, hungarian, 0, hungarian},
        // Beside the grid the report panel widens, the grid stays at the left.
        {6, kVariationListTicket, 400, croatian + 400, 0, 400},
        {6, kVariationListTicket, 10, croatian + 2 * croatian - (kBox + 4), 0,
         2 * croatian - (kBox + 4)},
    };
    for (const Case& c : cases) {
        TicketOptions options{c.kind};
        options.reportMinWidth = c.minWidth;
        const TicketLayout layout = ComputeTicketLayout(LoadGameInfo(c.game), options, kBox);
        SCOPED_TRACE(testing::Message()
                     << "game " << c.game << " kind " << c.kind << " min " << c.minWidth);
        EXPECT_EQ(layout.clientWidth, c.width);
        EXPECT_EQ(layout.boxes[0].left, c.gridLeft + 3);
        EXPECT_EQ(layout.reportPanel.width, c.reportWidth);
        EXPECT_EQ(layout.reportPanel.left + layout.reportPanel.width, layout.clientWidth);
        for (const Rect& box : layout.boxes) {
            EXPECT_LE(box.left + box.width, layout.clientWidth);
        }
    }
}

TEST(TicketLayout, ReportPanelHeights) {
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(0), kMainTicket), 65 + 80);
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(0), kVariationListTicket), 65 + 14 * 5 + 190);
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(1), kVariationCheckTicket), 65 + 14 * 6 + 204);
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(1), kDrawSearchTicket), 65 + 14 * 6 + 204 + 14);
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(8), kDrawsListTicket), 65 + 14 * 10 + 190);
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(17), kVariationListTicket), 65 + 14 * 5 + 190 + 14);
    EXPECT_EQ(ReportPanelHeight(LoadGameInfo(17), kMainTicket), 65 + 80 + 14);
}

} // namespace
} // namespace velmora
