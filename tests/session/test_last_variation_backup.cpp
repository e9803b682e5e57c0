#include "session/last_variation_backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/file_io.h"
#include "session/session.h"
#include "support/engine_runs.h"
#include "support/session_parts.h"

namespace velmora {
namespace {

using testing::SessionParts;
using Numbers = std::vector<std::uint8_t>;

class BackupTest : public ::testing::Test, public SessionParts {
protected:
    BackupTest() {
        // The conditions' clearing backs up and deletes as the main window wires it.
        ConditionEditor::Hooks hooks;
        hooks.backupLastVariation = [this] { session.Backup().BackUp(); };
        hooks.deleteVariation = [this] { session.Variation().Delete(); };
        hooks.confirmVariationDelete = [this] { return session.Variation().AskThenDelete(); };
        session.Editor().SetHooks(std::move(hooks));
    }
    // Marks `numbers` and makes their variation, unsaved.
    void MakeVariation(std::initializer_list<int> numbers) {
        for (int n : numbers) {
            session.ClickNumber(n, MarkKind::Variation);
        }
        VariationDocument& variation = session.Variation();
        ASSERT_EQ(variation.StartChecks(), StartCheck::Go);
        Bontas engine(messages, variation.Store());
        ASSERT_TRUE(engine.BontasIndul(variation.MakeGenerationInput()));
        engine.Run();
        variation.GenerationDone(engine.Vege());
        ASSERT_TRUE(variation.Exists()) << messages.LastText();
    }
    std::vector<testing::Row> Rows() const {
        return testing::StoredRows(session.Variation().Store());
    }
    std::string Slot(const char* name) const { return home.Path() + "Back/" + name; }
    bool Restore() {
        messages.QueueAnswer(Answer::Yes);
        return session.Backup().Restore(session);
    }
};

// Every loss of an unsaved variation writes it to the game's backup file first, and
// "Visszatöltés" brings back its ticket and its rows.
TEST_F(BackupTest, EveryLossIsBackedUpAndRestored) {
    const struct {
        const char* loss;
        std::function<void(Session&)> lose;
    } losses[] = {
        {"game switch",
         [](Session& s) {
             ASSERT_TRUE(s.SelectGame(1));
             ASSERT_TRUE(s.SelectGame(0));
         }},
        {"new ticket", [](Session& s) { ASSERT_TRUE(s.NewTicket()); }},
        {"clearing the ticket", [](Session& s) { s.ClearAll(); }},
        {"deleting the variation", [](Session& s) { ASSERT_TRUE(s.Variation().DeleteCommand()); }},
        {"a changed mark", [](Session& s) { s.ClickNumber(40, MarkKind::Variation); }},
        {"clearing the conditions", [](Session& s) { ASSERT_TRUE(s.Editor().ClearButtonClick()); }},
    };
    for (const auto& c : losses) {
        SCOPED_TRACE(c.loss);
        std::filesystem::remove_all(home.Path() + "Back");
        session.ApplyGame(0);
        MakeVariation({3, 5, 8, 13, 21, 34});
        const std::vector<testing::Row> rows = Rows();
        const Numbers marks = session.Ticket().Selected();
        for (int i = 0; i < 4; ++i) {
            messages.QueueAnswer(Answer::Yes);
        }
        c.lose(session);
        ASSERT_FALSE(session.Variation().Exists());
        ASSERT_TRUE(std::filesystem::exists(Slot("backOtos.top")));
        EXPECT_EQ(session.Commands().State(Command::Restore).hint,
                  " Utolsó (nem elmentett) variáció visszatöltése. ");
        ASSERT_TRUE(session.Commands().State(Command::Restore).enabled);

        messages.Clear();
        ASSERT_TRUE(Restore());
        EXPECT_EQ(session.Ticket().Selected(), marks);
        EXPECT_EQ(Rows(), rows);
        EXPECT_FALSE(session.Ticket().Unchanged()) << "a restored ticket counts as changed";
        EXPECT_EQ(messages.WaitTexts().back(), "Biztonsági másolat visszatöltése");
        messages.Clear();
    }
}

// A second restore returns to the state the first one replaced, and a third to the backup
// again: the two files change places each time.
TEST_F(BackupTest, RestoringAgainReturnsToTheStateBefore) {
    MakeVariation({1, 2, 3, 4, 5, 6});
    const std::vector<testing::Row> first = Rows();
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.Variation().DeleteCommand());
    MakeVariation({10, 11, 12, 13, 14, 15, 16});
    const Numbers second = session.Ticket().Selected();
    const std::vector<testing::Row> secondRows = Rows();

    ASSERT_TRUE(Restore());
    EXPECT_EQ(Rows(), first);
    ASSERT_TRUE(Restore());
    EXPECT_EQ(session.Ticket().Selected(), second);
    EXPECT_EQ(Rows(), secondRows);
    ASSERT_TRUE(Restore());
    EXPECT_EQ(Rows(), first);
    EXPECT_FALSE(std::filesystem::exists(Slot("backOtos2.top"))) << "the swap file goes";
}

// Which file a backup is, and when none is written: a saved variation is in its own file;
// with no previous state the restore is done once.
TEST_F(BackupTest, KindsFilesAndStates) {
    EXPECT_EQ(session.Commands().State(Command::Restore).hint,
              " Nincs visszatöltésre alkalmas állomány. ");
    EXPECT_FALSE(session.Commands().State(Command::Restore).enabled);

    MakeVariation({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(session.Variation().Save(home.Path() + "saved.top"));
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.Variation().DeleteCommand());
    EXPECT_FALSE(std::filesystem::exists(Slot("backOtos.top"))) << "saved: nothing lost";

    // The number row and the conditions only, in the "tip" file, when asked for.
    session.GetSettings().backupKind = "tip";
    session.ApplyGame(0);
    MakeVariation({7, 8, 9, 10, 11, 12});
    session.Conditions().primes = {true, 0, 3};
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.Variation().DeleteCommand());
    ASSERT_TRUE(std::filesystem::exists(Slot("backOtos.tip")));
    EXPECT_EQ(session.Commands().State(Command::Restore).hint,
              " Utolsó (nem elmentett) variáció számsorának és feltételeinek visszatöltése. ");
    session.Conditions().DeactivateAll();
    ASSERT_TRUE(Restore());
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(session.Conditions().primes.active);
    EXPECT_FALSE(session.Variation().Exists()) << "only the number row comes back";
    EXPECT_EQ(session.Commands().State(Command::Restore).hint, " Visszatöltés sikeres. ");
    EXPECT_FALSE(session.Commands().State(Command::Restore).enabled);

    // More than 100 000 rows are backed up as the number row even when "top" is asked for;
    // the restore looks for the "top" file and finds none.
    session.GetSettings().backupKind = "top";
    session.ApplyGame(0);
    std::filesystem::remove_all(home.Path() + "Back");
    std::initializer_list<int> thirty = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                         11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                         21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    messages.QueueAnswer(Answer::Yes); // past the largest permitted variation
    MakeVariation(thirty);
    ASSERT_EQ(session.Variation().Store().Count(), 142506);
    EXPECT_EQ(session.Backup().EffectiveKind(), "tip");
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.Variation().DeleteCommand());
    EXPECT_TRUE(std::filesystem::exists(Slot("backOtos.tip")));
    EXPECT_FALSE(session.Backup().LookUp());
}

// A damaged or foreign backup is refused with its message and the current state stays.
TEST_F(BackupTest, ADamagedBackupLeavesTheCurrentState) {
    std::filesystem::create_directories(home.Path() + "Back");
    ASSERT_TRUE(ReplaceFile(Slot("backOtos.top"), std::string("not a variation")));
    ASSERT_TRUE(session.Backup().LookUp());
    MakeVariation({1, 2, 3, 4, 5, 6});
    const std::vector<testing::Row> rows = Rows();
    EXPECT_FALSE(Restore());
    ASSERT_GE(messages.Log().size(), 2u);
    EXPECT_TRUE(messages.Log()[messages.Log().size() - 2].text.starts_with(
        "Érvénytelen, sérült vagy foglalt állomány."));
    EXPECT_EQ(messages.LastText(), "Másolat visszatöltése sikertelen.");
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{1, 2, 3, 4, 5, 6}));
}

} // namespace
} // namespace velmora
