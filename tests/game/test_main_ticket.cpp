#include "game/main_ticket.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_messages.h"
#include "common/numbers.h"
#include "game/ticket_appearance.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using Numbers = std::vector<std::uint8_t>;

class CountingLinks : public TicketLinks {
public:
    void ClearConditions() override { ++conditionsCleared; }
    void ExtensionRowReplaced() override { ++rowsReplaced; }
    void TicketChanged() override { ++changes; }
    int conditionsCleared = 0;
    int rowsReplaced = 0;
    int changes = 0;
};

class MainTicketTest : public ::testing::Test {
protected:
    void SetUp() override { ticket.Rebuild(LoadGameInfo(0)); }

    void MarkAll(std::initializer_list<int> numbers, MarkKind kind) {
        for (int n : numbers) {
            ticket.Click(n, kind);
        }
    }

    FakeMessages messages;
    CountingLinks links;
    MainTicket ticket{messages, links};
};

TEST_F(MainTicketTest, AtMostRowLengthMinusTwoFixedNumbers) {
    MarkAll({10, 20, 30}, MarkKind::Fixed);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(ticket.Fixed(), (Numbers{10, 20, 30}));
    EXPECT_EQ(ticket.NumbersToChoose(), 2) << "two numbers of each row still vary";
    ticket.Click(40, MarkKind::Fixed);
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Last().kind, MessageKind::Error);
    EXPECT_EQ(messages.LastText(), "Nem lehetséges több fix szám kijelölése.");
    EXPECT_EQ(ticket.Fixed(), (Numbers{10, 20, 30}));
    EXPECT_FALSE(ticket.Look(40).raised);

    MainTicket keno2(messages, links);
    keno2.Rebuild(LoadGameInfo(16));
    keno2.Click(1, MarkKind::Fixed);
    EXPECT_TRUE(keno2.Fixed().empty()) << "a two-number row has no room for a fixed number";
}

TEST_F(MainTicketTest, KindsExcludeEachOther) {
    ticket.Click(5, MarkKind::Variation);
    ticket.Click(5, MarkKind::Fixed); // a raised cell: the Shift-click tries to remove a fixed 5
    ticket.Mark(5, false, false, MarkKind::Fixed);
    EXPECT_TRUE(ticket.Fixed().empty()) << "a selected number cannot be fixed";

    ticket.Click(7, MarkKind::Fixed);
    ticket.Mark(7, false, false, MarkKind::Variation);
    ticket.Mark(7, false, false, MarkKind::Constant);
    ticket.Mark(7, false, false, MarkKind::Random);
    EXPECT_EQ(ticket.Selected(), (Numbers{5}));
    EXPECT_TRUE(ticket.Constant().empty() && ticket.Random().empty());

    ticket.Click(9, MarkKind::Constant);
    ticket.Mark(9, false, false, MarkKind::Random);
    EXPECT_TRUE(ticket.Random().empty()) << "a constant number cannot be random";
    EXPECT_EQ(ticket.Selected(), (Numbers{5, 9}));
}

TEST_F(MainTicketTest, ClicksOnMarkedNumbers) {
    // A plain click leaves fixed and constant numbers; their own kind removes them.
    ticket.Click(3, MarkKind::Fixed);
    ticket.Click(4, MarkKind::Constant);
    ticket.Click(3, MarkKind::Variation);
    ticket.Click(4, MarkKind::Variation);
    EXPECT_EQ(ticket.Fixed(), (Numbers{3}));
    EXPECT_EQ(ticket.Constant(), (Numbers{4}));
    EXPECT_TRUE(ticket.Look(3).raised && ticket.Look(4).raised);
    ticket.Click(3, MarkKind::Fixed);
    ticket.Click(4, MarkKind::Constant);
    EXPECT_TRUE(ticket.Fixed().empty() && ticket.Constant().empty() && ticket.Selected().empty());
    EXPECT_EQ(ticket.NumbersToChoose(), 5);

    // A plain click on a random number takes it off both lists.
    ticket.Mark(11, false, false, MarkKind::Random);
    ticket.Mark(12, false, false, MarkKind::Random);
    ticket.Click(1, MarkKind::Variation);
    EXPECT_EQ(ticket.Selected(), (Numbers{11, 12, 1}));
    ticket.Click(11, MarkKind::Variation);
    EXPECT_EQ(ticket.Random(), (Numbers{12}));
    EXPECT_EQ(ticket.Selected(), (Numbers{12, 1}));
    EXPECT_FALSE(ticket.Look(11).raised);

    // Removing a constant number swaps the last one into its place; the selected list keeps
    // its order.
    MarkAll({21, 22, 23, 24}, MarkKind::Constant);
    ticket.Click(22, MarkKind::Constant);
    EXPECT_EQ(ticket.Constant(), (Numbers{21, 24, 23}));
    EXPECT_EQ(ticket.Selected(), (Numbers{12, 1, 21, 23, 24}));
}

TEST_F(MainTicketTest, LooksFollowTheKindAndTheLaterLayout) {
    ticket.Click(8, MarkKind::Variation);
    EXPECT_EQ(ticket.Look(8).fontSlot, kSlotNumber);
    EXPECT_EQ(ticket.Look(8).boxSlot, kSlotMarkedBox);
    EXPECT_TRUE(ticket.Look(8).bold);
    ticket.Click(8, MarkKind::Variation);
    EXPECT_EQ(ticket.Look(8).fontSlot, kSlotMarkedNumber) << "unmarked in the marked colour";
    EXPECT_EQ(ticket.Look(8).boxSlot, kSlotUnmarkedBox);
    EXPECT_FALSE(ticket.Look(8).bold);
    ticket.Click(9, MarkKind::Fixed);
    ticket.Click(10, MarkKind::Constant);
    ticket.Mark(11, false, false, MarkKind::Random);
    ticket.ApplyLayoutLooks();
    // The unmarked 8 gets the plain number font back.
    const int fonts[] = {kSlotNumber, kSlotFixedNumber, kSlotConstantNumber, kSlotRandomNumber};
    for (int number = 8; number <= 11; ++number) {
        EXPECT_EQ(ticket.Look(number).fontSlot, fonts[number - 8]) << number;
    }
}

TEST_F(MainTicketTest, ListOnlyMarkingChangesLooksAndKeepsConditions) {
    ticket.Mark(4, true, false, MarkKind::Variation);
    EXPECT_TRUE(ticket.Look(4).raised);
    EXPECT_TRUE(ticket.Selected().empty());
    EXPECT_EQ(links.conditionsCleared, 0);
    ticket.Click(5, MarkKind::Variation);
    EXPECT_EQ(links.conditionsCleared, 1);
    EXPECT_GE(links.changes, 2);
    EXPECT_FALSE(ticket.Unchanged());
}

TEST_F(MainTicketTest, LoadedListsReplaceTheMarksAndShowTheirKinds) {
    MarkAll({1, 2, 3}, MarkKind::Variation);
    ticket.Click(4, MarkKind::Fixed);
    const int cleared = links.conditionsCleared;
    ticket.LoadLists({30, 10, 20, 40}, {5}, {20}, {40});
    EXPECT_EQ(links.conditionsCleared, cleared) << "loading keeps the loaded conditions";
    EXPECT_EQ(ticket.Selected(), (Numbers{30, 10, 20, 40}));
    EXPECT_EQ(ticket.NumbersToChoose(), 4);
    EXPECT_FALSE(ticket.Unchanged());
    for (int gone : {1, 2, 3, 4}) {
        EXPECT_FALSE(ticket.Look(gone).raised) << gone;
    }
    for (const auto& [number, font] : {std::pair{30, kSlotNumber},
                                       {10, kSlotNumber},
                                       {5, kSlotFixedNumber},
                                       {20, kSlotConstantNumber},
                                       {40, kSlotRandomNumber}}) {
        EXPECT_TRUE(ticket.Look(number).raised) << number;
        EXPECT_EQ(ticket.Look(number).fontSlot, font) << number;
    }
    // The loaded numbers behave like marked ones afterwards.
    ticket.Click(40, MarkKind::Variation);
    EXPECT_EQ(ticket.Random(), Numbers{});
    EXPECT_EQ(ticket.Selected(), (Numbers{30, 10, 20}));

    // A stored random order is kept as it is, not shuffled again.
    ticket.RestoreNumberOrder(3);
    EXPECT_EQ(ticket.Order(), NumberOrder::Random);
    EXPECT_EQ(ticket.Selected(), (Numbers{30, 10, 20}));
}

TEST_F(MainTicketTest, PaintingSkipsFixedConstantAndRepeats) {
    ticket.Click(2, MarkKind::Fixed);
    ticket.Click(3, MarkKind::Constant);
    for (int n : {1, 1, 2, 3, 4}) {
        ticket.Paint(n);
    }
    EXPECT_EQ(ticket.Selected(), (Numbers{3, 1, 4}));
    ticket.Paint(1); // a new entry into 1 after 4 toggles it off
    EXPECT_EQ(ticket.Selected(), (Numbers{3, 4}));
    ticket.ResetPainting();
    ticket.Paint(1);
    ticket.ResetPainting();
    ticket.Paint(1);
    EXPECT_EQ(ticket.Selected(), (Numbers{3, 4}));
}

TEST_F(MainTicketTest, MarkAllAndClearCommands) {
    ticket.Click(1, MarkKind::Fixed);
    ticket.Click(2, MarkKind::Constant);
    ticket.Mark(3, false, false, MarkKind::Random);
    ticket.MarkAll();
    EXPECT_EQ(ticket.MarkedCount(), 90);
    EXPECT_EQ(ticket.Selected().size(), 89u);
    const int changes = links.changes;
    ticket.MarkAll();
    EXPECT_EQ(links.changes, changes) << "nothing to do when every number is marked";

    ticket.ClearVariationNumbers();
    EXPECT_EQ(ticket.Selected(), (Numbers{2, 3}));
    ticket.NewTicket();
    EXPECT_EQ(ticket.Selected(), (Numbers{2})) << "a new ticket keeps the constant numbers";
    EXPECT_TRUE(ticket.Fixed().empty() && ticket.Random().empty());
    ticket.ClearForGameChange();
    EXPECT_EQ(ticket.MarkedCount(), 0);
}

// A random number is drawn among the free numbers only and marked as random; a full ticket
// takes none. The dialog's maximum is what the ticket, or the extended variation, still lacks.
TEST_F(MainTicketTest, RandomNumbersFillOnlyFreeBoxes) {
    SeededRandom random(7);
    for (int n = 1; n <= 89; ++n) {
        ticket.Click(n, n % 10 == 0 ? MarkKind::Constant : MarkKind::Variation);
    }
    ticket.Click(2, MarkKind::Variation);
    ticket.Click(2, MarkKind::Fixed);
    EXPECT_EQ(ticket.RandomNumbersMaximum(), 1);
    ticket.MarkRandomNumber(random);
    EXPECT_EQ(ticket.Random(), (Numbers{90})) << "the only free number";
    EXPECT_TRUE(ticket.Look(90).raised);
    ticket.MarkRandomNumber(random);
    EXPECT_EQ(ticket.MarkedCount(), 90) << "a full ticket takes none";

    ticket.ClearForGameChange();
    ticket.MarkAll();
    ticket.ClearVariationNumbers();
    for (int i = 0; i < 30; ++i) {
        ticket.MarkRandomNumber(random);
    }
    EXPECT_EQ(ticket.Random().size(), 30u);
    Numbers sorted = ticket.Random();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "never twice";
    EXPECT_EQ(ticket.RandomNumbersMaximum(), 60);
    ticket.Extension() = {true, 32, 0};
    EXPECT_EQ(ticket.RandomNumbersMaximum(), 2);
    ticket.Extension() = {true, 30, 0};
    EXPECT_EQ(ticket.RandomNumbersMaximum(), 1) << "never below one";
}

TEST_F(MainTicketTest, NumberOrders) {
    MarkAll({30, 10, 50, 20, 40}, MarkKind::Variation);
    SeededRandom random(7);
    ticket.SetNumberOrder(NumberOrder::Descending, random);
    EXPECT_EQ(ticket.Selected(), (Numbers{50, 40, 30, 20, 10}));
    const auto shuffled = [this, &random] {
        ticket.SetNumberOrder(NumberOrder::Ascending, random);
        EXPECT_EQ(ticket.Selected(), (Numbers{10, 20, 30, 40, 50}));
        SeededRandom seeded(7);
        ticket.SetNumberOrder(NumberOrder::Random, seeded);
        return ticket.Selected();
    };
    const Numbers first = shuffled();
    EXPECT_TRUE(
        std::is_permutation(first.begin(), first.end(), Numbers{10, 20, 30, 40, 50}.begin()));
    EXPECT_EQ(shuffled(), first) << "the same seed gives the same order";

    ticket.ClearVariationNumbers();
    ticket.Click(9, MarkKind::Variation);
    ticket.SetNumberOrder(NumberOrder::Random, random);
    EXPECT_EQ(ticket.Selected(), (Numbers{9}));
}

TEST_F(MainTicketTest, HeaderAndHints) {
    MarkAll({4, 6}, MarkKind::Variation);
    ticket.Click(8, MarkKind::Constant);
    ticket.Mark(9, false, false, MarkKind::Random);
    ticket.Click(77, MarkKind::Fixed);
    EXPECT_EQ(ticket.HeaderText(), " Kijelölve  :  5 szám\r"
                                   "  - fix     :  1\r"
                                   "  - állandó :  1\r"
                                   "  - véletlen:  1\r"
                                   " Számsorrend: Változatlan");
    EXPECT_EQ(ticket.CellHint(1, nullptr), " Szám: 1");
    EXPECT_EQ(ticket.CellHint(6, nullptr), " Kijelölt szám: 6\r 2. szám a számsoron belül ");
    EXPECT_EQ(ticket.CellHint(8, nullptr), " Állandó szám: 8\r 3. szám a számsoron belül ");
    EXPECT_EQ(ticket.CellHint(9, nullptr), " Véletlen szám: 9\r 4. szám a számsoron belül ");
    EXPECT_EQ(ticket.CellHint(77, nullptr),
              " Fix szám: 77\r 1. fix szám \r 5. szám a számsoron belül ");

    HintStatistics stats{1, 2345, 2345, 0, 5, false};
    EXPECT_EQ(ticket.CellHint(1, &stats), " Szám: 1\r Statisztika:\r 1 - 2 345. húzások alapján \r"
                                          " 2 345 db számsor \r 11 725 db szám");
    stats.hasExtra = true;
    stats.extraNumbers = 1200;
    EXPECT_EQ(ticket.CellHint(1, &stats).substr(ticket.CellHint(1, nullptr).size()),
              "\r Statisztika:\r 1 - 2 345. húzások alapján \r 2 345 db számsor \r"
              " 11 725 db szám\r 1 200 db plusz szám ");
}

TEST_F(MainTicketTest, ViewCaptions) {
    MarkAll({40, 12}, MarkKind::Variation);
    ticket.Click(7, MarkKind::Fixed);
    ticket.SetView(TicketView::NumberOrder);
    EXPECT_EQ(ticket.ViewCaption(), "  Számsorrend");
    EXPECT_EQ(ticket.CellCaption(40), "1.");
    EXPECT_EQ(ticket.CellCaption(12), "2.");
    EXPECT_EQ(ticket.CellCaption(7), "3.");
    EXPECT_EQ(ticket.CellCaption(1), "-");

    std::vector<int> times(90, 0);
    std::vector<int> since(90, 0);
    times[4] = 17;
    since[4] = 3;
    ticket.SetStatistics(times, since);
    ticket.SetView(TicketView::TimesDrawn);
    EXPECT_EQ(ticket.ViewCaption(), "  Hányszor húzták...");
    EXPECT_EQ(ticket.CellCaption(5), "17");
    EXPECT_EQ(ticket.CellCaption(6), "-");
    ticket.SetView(TicketView::DrawsSince);
    EXPECT_EQ(ticket.ViewCaption(), "  Hány húzás óta nem került elő...");
    EXPECT_EQ(ticket.CellCaption(5), "3");
    ticket.SetView(TicketView::Normal);
    EXPECT_EQ(ticket.CellCaption(5), "5");
}

TEST_F(MainTicketTest, ExtensionTargetsGuideTheUser) {
    MarkAll({1, 2, 3, 4, 5, 6}, MarkKind::Variation);
    ticket.Click(7, MarkKind::Fixed);
    ExtensionTargets& ext = ticket.Extension();
    ext.active = true;
    ext.selectedCount = 6;
    ext.fixedCount = 1;

    ticket.Click(8, MarkKind::Fixed);
    EXPECT_EQ(messages.LastText(), "Nem lehetséges több fix szám kijelölése.");

    const std::string oneTooMany = "1 számmal jelölt ki többet, mint a bővített variáció 6 "
                                   "száma.\r\rTöröljön 1 számot a kijelölt számsorból.";
    ticket.Click(9, MarkKind::Variation);
    EXPECT_EQ(messages.LastText(), oneTooMany);
    ticket.Click(1, MarkKind::Variation);
    EXPECT_EQ(links.rowsReplaced, 1);
    EXPECT_EQ(messages.LastText(),
              "A variáció előző számsora, az aktuális számsorral lett felcserélve.");

    ticket.Click(7, MarkKind::Fixed);
    ticket.Click(10, MarkKind::Variation);
    EXPECT_EQ(messages.LastText(), oneTooMany);
    const std::size_t shown = messages.Count();
    ticket.Click(2, MarkKind::Variation);
    EXPECT_EQ(messages.Count(), shown) << "a removal that misses a fixed number says nothing";
    ext.selectedCount = 7;
    ticket.Click(11, MarkKind::Variation);
    EXPECT_EQ(messages.LastText(), "Még 1 fix szám kijelölése szükséges.");

    ext.active = false;
    ext.committedMark = 12;
    ticket.Click(12, MarkKind::Variation);
    EXPECT_EQ(ticket.Extension().selectedCount, 0) << "committed counts are cleared";
}

TEST(MainTicketHelpers, KeysAndCombinations) {
    // Shift alone fixes, Ctrl alone makes a constant number, anything else marks plainly.
    for (int keys = 0; keys < 8; ++keys) {
        const bool shift = keys & 1, control = keys & 2, alt = keys & 4;
        const MarkKind expected = keys == 1   ? MarkKind::Fixed
                                  : keys == 2 ? MarkKind::Constant
                                              : MarkKind::Variation;
        EXPECT_EQ(MarkKindFromKeys(shift, control, alt), expected) << "keys " << keys;
    }
    EXPECT_EQ(CombinationCount(6, 5), 6);
    EXPECT_EQ(CombinationCount(90, 5), 43949268);
    EXPECT_EQ(CombinationCount(90, 10), 5720645481903LL);
    EXPECT_EQ(CombinationCount(4, 5), 0);
}

} // namespace
} // namespace velmora
