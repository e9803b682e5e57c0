#include "session/command_model.h"

#include <gtest/gtest.h>

#include "support/session_parts.h"

namespace velmora {
namespace {

class CommandModelTest : public ::testing::Test, public testing::SessionParts {
protected:
    void Click(std::initializer_list<int> numbers, MarkKind kind = MarkKind::Variation) {
        for (int n : numbers) {
            session.ClickNumber(n, kind);
        }
    }
    CommandState State(Command command) const { return session.Commands().State(command); }
    // Enabled state and hint of each command, in one comparison.
    void Expect(std::initializer_list<std::tuple<Command, bool, const char*>> expected) {
        for (const auto& [command, enabled, hint] : expected) {
            const CommandState state = State(command);
            EXPECT_EQ(state.enabled, enabled) << static_cast<int>(command);
            EXPECT_EQ(state.hint, hint) << static_cast<int>(command);
        }
    }
};

TEST_F(CommandModelTest, TicketCommandsFollowTheMarks) {
    Expect({{Command::ClearMenu, false, " Nincs kijelölt számsor. "},
            {Command::ClearAll, false, " Nincs kijelölt számsor. "},
            {Command::NewTicket, false, " Nincs kijelölt számsor. "},
            {Command::ClearFixed, false, " Nincs kijelölve fix szám. "},
            {Command::ClearConstant, false, " Nincs kijelölve állandó szám. "},
            {Command::ClearRandom, false, " Nincs kijelölve véletlen szám. "},
            {Command::MarkAll, true, " Minden szám kijelölése. "},
            {Command::SaveAs, false, " Nincs elmentésre váró adat. "},
            {Command::Start, false, " Nincs kijelölt számsor. "},
            {Command::VariationMenu, false, ""}});

    Click({4, 5}, MarkKind::Constant);
    Expect({{Command::NewTicket, false, " Csak állandó számok vannak kijelölve. "},
            {Command::ClearConstant, true, " Állandó számok törlése. "},
            {Command::ClearVariation, false, ""},
            {Command::ClearMenu, true, " Számok törlése. "},
            {Command::ClearAll, true, " Minden kijelölt szám törlése. "}});

    Click({9}, MarkKind::Fixed);
    Expect({{Command::NewTicket, true, " Új főszelvény, számsor törlése. "},
            {Command::ClearFixed, true, " Fix számok törlése. "}});

    session.MarkAll();
    Expect({{Command::MarkAll, false, " Minden szám kijelölve. "}});
    EXPECT_EQ(session.Commands().FullVariationText(), "Teljes variáció: 2 441 626 számsor");
}

TEST_F(CommandModelTest, StartNeedsMoreNumbersThanARow) {
    Click({1, 2, 3, 4, 5});
    EXPECT_FALSE(session.Commands().ConditionsAvailable());
    EXPECT_EQ(session.Commands().FullVariationText(), "");
    Click({6});
    EXPECT_TRUE(session.Commands().ConditionsAvailable());
    EXPECT_EQ(session.Commands().FullVariationText(), "Teljes variáció: 6 számsor");
    Expect({{Command::Start, true, " Variáció készítése. "},
            {Command::VariationMenu, true, ""},
            {Command::SaveAs, true, " Számsor, variáció, export állományok mentése. "},
            {Command::SaveNumberRow, true, " Számsor és feltételek mentése. "},
            {Command::Test, false, ""},
            {Command::SaveVariation, false, ""}});
}

TEST_F(CommandModelTest, AFinishedVariationIsTestedAndMadeAgainOnlyAfterAChange) {
    Click({1, 2, 3, 4, 5, 6, 7});
    Expect({{Command::ToggleExtension, false, " Nincs kész variáció. "}});
    VariationDocument& variation = session.Variation();
    variation.Store().Reset(5, 7);
    ASSERT_TRUE(variation.Store().Reserve(1));
    const std::uint8_t row[] = {0, 1, 2, 3, 4};
    variation.Store().Append(row);
    Expect({{Command::Start, false, " A variáció elkészült. "},
            {Command::VariationMenu, true, ""},
            {Command::Test, true, " Variáció tesztje. "},
            {Command::SaveVariation, true, ""},
            {Command::DeleteVariation, true, ""},
            {Command::ToggleExtension, true, " Számsor módosítása és/vagy a variáció bővítése. "},
            {Command::Open, true, " Számsor, variáció, import állomány betöltése. "},
            {Command::CommitExtension, false, ""},
            {Command::UndoExtension, false, ""}});
    // In extension mode the variation goes on, and nothing may replace it.
    session.Ticket().Extension().active = true;
    Expect(
        {{Command::Start, true, " Variáció készítése. "},
         {Command::ToggleExtension, true, " Számsor módosításának, variáció bővítésének tiltása. "},
         {Command::Open, false, " Aktív a variáció bővítése opció - a funkció nem elérhető.  "}});
}

TEST_F(CommandModelTest, DrawCommandsNeedTheDraws) {
    for (Command command :
         {Command::TicketRange, Command::ViewTimesDrawn, Command::ViewDrawsSince}) {
        EXPECT_FALSE(State(command).enabled);
        EXPECT_EQ(State(command).hint, " Hiányzik a húzások listája. ");
    }
}

} // namespace
} // namespace velmora
