#include "session/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "common/file_io.h"
#include "draws/draws_files.h"
#include "fakes/fake_messages.h"
#include "session/temp_home.h"
#include "variation/engine_runs.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using testing::Row;
using testing::StoredRows;
using testing::TempHome;
using Numbers = std::vector<std::uint8_t>;

class SessionTest : public ::testing::Test {
protected:
    void Click(std::initializer_list<int> numbers, int kind = kMarkVariation) {
        for (int n : numbers) {
            session.ClickNumber(n, kind);
        }
    }

    TempHome home;
    FakeMessages messages;
    SeededRandom random{1};
    Session session{MakeProgramFolders(home.Path()), messages, random};
};

TEST_F(SessionTest, GameSwitchAppliesTheNewGame) {
    Click({1, 2});
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.SelectGame(23));
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt számokat?");
    EXPECT_EQ(session.Game().maxNumber, 52);
    EXPECT_EQ(session.Ticket().MarkedCount(), 0);
    EXPECT_EQ(session.GetSettings().game, 23);
    EXPECT_EQ(session.MainWindowCaption(), "Ukrán 6/52 lottó  -  Velmora Personal ");
    EXPECT_TRUE(std::filesystem::is_directory(home.Path() + "Lotto/Uk652"));
}

TEST_F(SessionTest, SameGameOrDeclinedDiscardKeepsTheGame) {
    EXPECT_FALSE(session.SelectGame(0));
    EXPECT_EQ(messages.Count(), 0u);

    Click({1, 2, 3});
    session.Conditions().primes.active = true;
    messages.QueueAnswer(Answer::No);
    EXPECT_FALSE(session.SelectGame(1));
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt számokat és a feltételeket?");
    EXPECT_EQ(session.Game().gameId, 0);
    EXPECT_EQ(session.Ticket().MarkedCount(), 3);

    // An empty ticket goes without a question.
    messages.QueueAnswer(Answer::Yes);
    messages.QueueAnswer(Answer::Yes); // the conditions go with the marks
    session.ClearAll();
    messages.Clear();
    EXPECT_TRUE(session.SelectGame(1));
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(SessionTest, DiscardQuestionMentionsTheVariation) {
    session.variationExists = true;
    EXPECT_FALSE(session.AskDiscardTicket());
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt számokat és a variáció listáját?");
    session.Conditions().sum.active = true;
    session.AskDiscardTicket();
    EXPECT_EQ(messages.LastText(),
              "Biztos törli a kijelölt számokat, feltételeket és a variáció listáját?");
    session.Ticket().SetUnchanged(true);
    messages.Clear();
    EXPECT_TRUE(session.AskDiscardTicket());
    EXPECT_EQ(messages.Count(), 0u) << "an unchanged ticket may go without a question";
}

TEST_F(SessionTest, StartNeedsMoreNumbersThanARow) {
    Click({1, 2, 3, 4, 5});
    TicketCommandStates s = session.CommandStates();
    EXPECT_FALSE(s.conditionsAvailable);
    EXPECT_EQ(s.fullVariationText, "");
    Click({6});
    s = session.CommandStates();
    EXPECT_TRUE(s.conditionsAvailable);
    EXPECT_EQ(s.fullVariationText, "Teljes variáció: 6 számsor");

    session.MarkAll();
    s = session.CommandStates();
    EXPECT_EQ(s.fullVariationText, "Teljes variáció: 43 949 268 számsor");
    EXPECT_FALSE(s.markAll.enabled);
    EXPECT_EQ(s.markAll.hint, " Minden szám kijelölve. ");
}

TEST_F(SessionTest, CommandHintsFollowTheMarks) {
    TicketCommandStates s = session.CommandStates();
    EXPECT_FALSE(s.clearAll.enabled);
    EXPECT_EQ(s.clearAll.hint, " Nincs kijelölt számsor. ");
    EXPECT_EQ(s.newTicket.hint, " Nincs kijelölt számsor. ");
    EXPECT_EQ(s.clearFixed.hint, " Nincs kijelölve fix szám. ");
    EXPECT_EQ(s.markAll.hint, " Minden szám kijelölése. ");

    Click({4, 5}, kMarkConstant);
    s = session.CommandStates();
    EXPECT_FALSE(s.newTicket.enabled);
    EXPECT_EQ(s.newTicket.hint, " Csak állandó számok vannak kijelölve. ");
    EXPECT_TRUE(s.clearConstant.enabled);
    EXPECT_EQ(s.clearConstant.hint, " Állandó számok törlése. ");
    EXPECT_FALSE(s.clearVariation.enabled);
    EXPECT_EQ(s.clearAll.hint, " Számok törlése. ");
    EXPECT_EQ(s.clearAllItemHint, " Minden kijelölt szám törlése. ");

    Click({9}, kMarkFixed);
    s = session.CommandStates();
    EXPECT_TRUE(s.newTicket.enabled);
    EXPECT_EQ(s.newTicket.hint, " Új főszelvény, számsor törlése. ");
    EXPECT_EQ(s.clearFixed.hint, " Fix számok törlése. ");
}

TEST_F(SessionTest, MarkingClearsConditionsAndKeepsTheOrder) {
    session.SetNumberOrder(1);
    Click({30, 10, 20});
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{10, 20, 30}));
    session.Conditions().sum.active = true;
    session.Conditions().hitRatio.fromDraws = true;
    session.Conditions().errorPoints = 2;
    Click({5}); // declined: nothing changes
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt feltételeket?");
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{10, 20, 30}));
    EXPECT_TRUE(session.ConditionsSet());
    messages.QueueAnswer(Answer::Yes);
    Click({5});
    EXPECT_FALSE(session.ConditionsSet());
    EXPECT_FALSE(session.Conditions().AnyActive());
    EXPECT_FALSE(session.Conditions().hitRatio.fromDraws);
    EXPECT_EQ(session.Conditions().errorPoints, 0);
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{5, 10, 20, 30}));
}

TEST_F(SessionTest, NumberRowFileKeepsTicketOrderAndConditions) {
    Click({30, 10, 50, 20, 40, 60});
    Click({7}, kMarkFixed);
    Click({70}, kMarkConstant);
    session.SetNumberOrder(3);
    const Numbers saved = session.Ticket().Selected();
    ASSERT_FALSE(std::is_sorted(saved.begin(), saved.end()));
    session.Conditions().favoured = {true, 1, 3, 1, 2};
    session.Conditions().errorPoints = 1;
    const std::string path = home.Path() + "szelveny.tip";
    ASSERT_TRUE(session.SaveNumberRow(path));
    EXPECT_TRUE(session.Ticket().Unchanged());

    Session other{MakeProgramFolders(home.Path()), messages, random};
    other.SetNumberOrder(1);
    ASSERT_TRUE(other.LoadNumberRow(path));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(other.Ticket().Selected(), saved) << "neither sorted nor shuffled again";
    EXPECT_EQ(other.Ticket().Fixed(), Numbers{7});
    EXPECT_EQ(other.Ticket().Constant(), Numbers{70});
    EXPECT_EQ(other.Ticket().NumberOrder(), 3);
    EXPECT_TRUE(other.Ticket().Look(7).raised);
    EXPECT_TRUE(other.Ticket().Unchanged());
    EXPECT_TRUE(other.ConditionsSet());
    EXPECT_TRUE(other.Conditions().favoured.active);
    EXPECT_EQ(other.Conditions().errorPoints, 1);
}

TEST_F(SessionTest, FailedNumberRowLoadClearsTicketAndConditions) {
    Click({1, 2, 3, 4, 5, 6});
    session.SetNumberOrder(2);
    session.Conditions().sum.active = true;
    const std::string path = home.Path() + "rossz.tip";
    ASSERT_TRUE(ReplaceFile(path, std::string(120, '\0')));
    EXPECT_FALSE(session.LoadNumberRow(path));
    EXPECT_EQ(messages.LastText(),
              "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + path);
    EXPECT_EQ(session.Ticket().MarkedCount(), 0);
    EXPECT_FALSE(session.Ticket().Look(1).raised);
    EXPECT_EQ(session.Ticket().NumberOrder(), 0);
    EXPECT_FALSE(session.Ticket().Unchanged());
    EXPECT_FALSE(session.ConditionsSet());
    EXPECT_FALSE(session.Conditions().AnyActive());
}

TEST_F(SessionTest, HitRatioFileNeedsTheLoadedDraws) {
    std::filesystem::create_directories(session.Folders().data);
    ASSERT_TRUE(ReplaceFile(session.DatabasePath(),
                            SerializeDraws(testing::SampleDraws(session.Game(), 300), 0)));
    ASSERT_TRUE(session.LoadDraws());
    Click({1, 2, 3, 4, 5, 6});
    session.Conditions().hitRatio = {true, true, 2, 3, false, 1, 300};
    const std::string path = home.Path() + "talalat.tip";
    ASSERT_TRUE(session.SaveNumberRow(path));

    ASSERT_TRUE(session.LoadNumberRow(path));
    EXPECT_EQ(messages.Count(), 0u);
    Session withoutDraws{MakeProgramFolders(home.Path()), messages, random};
    EXPECT_FALSE(withoutDraws.LoadNumberRow(path));
    EXPECT_EQ(messages.LastText(),
              "A kijelölt állomány a húzások listájára hivatkozik.\r\rA húzások listája hiányzik.");
}

TEST_F(SessionTest, ChangesReachTheWindow) {
    int refreshes = 0;
    session.onTicketChanged = [&refreshes] { ++refreshes; };
    Click({1});
    EXPECT_GT(refreshes, 0);
}

} // namespace
} // namespace velmora

namespace velmora {
namespace {

class VariationCommandsTest : public SessionTest {
protected:
    // Marks `count` numbers and generates the plain variation of 5/90.
    void Generate(int count, const ConditionSet& conditions = {}) {
        for (int n = 1; n <= count; ++n) {
            session.ClickNumber(n, kMarkVariation);
        }
        session.Conditions() = conditions;
        ASSERT_TRUE(session.StartChecks());
        Bontas engine(messages, session.Variation());
        ASSERT_TRUE(engine.BontasIndul(session.MakeGenerationInput()));
        engine.Run();
        session.GenerationDone(engine.Vege());
        ASSERT_TRUE(session.variationExists);
    }
};

TEST_F(VariationCommandsTest, StartRefusesVariationsBeyondAHundredMillionRows) {
    session.ApplyGame(8); // Keno, 10 numbers a row
    for (int n = 1; n <= 40; ++n) {
        session.ClickNumber(n, kMarkVariation);
    }
    EXPECT_FALSE(session.StartChecks());
    EXPECT_EQ(messages.LastText(), "A teljes variáció 847 660 528 számsort igényel.\r\rAz "
                                   "aktuális verzió nem támogatja az ilyen méretű variációk "
                                   "készítését.");
    EXPECT_EQ(messages.Last().kind, MessageKind::Warning);
}

TEST_F(VariationCommandsTest, DeletingAsksUnlessSaved) {
    Generate(7);
    EXPECT_EQ(session.Variation().Count(), 21);
    EXPECT_FALSE(session.DeleteVariationCommand());
    EXPECT_EQ(messages.LastText(), "Biztos törli a variáció listáját?");
    EXPECT_TRUE(session.variationExists);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(session.DeleteVariationCommand());
    EXPECT_FALSE(session.variationExists);
    EXPECT_EQ(session.Variation().Count(), 0);

    // A saved variation goes without a question, also when a mark changes.
    Generate(0);
    session.Variation().saved = true;
    messages.Clear();
    session.ClickNumber(9, kMarkVariation);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(session.variationExists);
    EXPECT_EQ(session.Ticket().Selected().size(), 8u);
}

TEST_F(VariationCommandsTest, ChangingTheMarksAsksToDropTheVariation) {
    Generate(6);
    // Another game takes the variation with the marks.
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.SelectGame(1));
    EXPECT_FALSE(session.variationExists);
    EXPECT_EQ(session.Variation().Count(), 0);
    ASSERT_TRUE(session.SelectGame(0));
    Generate(6);
    session.ClickNumber(9, kMarkVariation);
    EXPECT_EQ(messages.LastText(), "Biztos törli a variáció listáját?");
    EXPECT_EQ(session.Ticket().Selected().size(), 6u) << "declined: the marks stay";
    EXPECT_TRUE(session.variationExists);
}

TEST_F(VariationCommandsTest, RowsAreAddedWithinTheFullVariationAndDeletedAfterAsking) {
    Generate(6); // all 6 combinations
    EXPECT_FALSE(session.BontSzamsorHozzaadasEllenorzes(1));
    EXPECT_EQ(messages.LastText(), "A teljes variációt meghaladó méretű listát akar "
                                   "létrehozni.\r\rNem bővíthető a variáció listája.");
    EXPECT_FALSE(session.BontSzamsorTorles(2, 3));
    EXPECT_EQ(messages.LastText(),
              "A törlés művelete nem visszavonható.\r\rBiztos törli a kijelölt számsor(oka)t?");
    EXPECT_EQ(session.Variation().Count(), 6);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(session.BontSzamsorTorles(2, 3));
    EXPECT_EQ(session.Variation().Count(), 4);
    EXPECT_TRUE(session.BontSzamsorHozzaadasEllenorzes(2));
    session.BontTesztHozzaadas(1, {{0, 1, 2, 3, 5}});
    EXPECT_EQ(session.Variation().Count(), 5);
    EXPECT_TRUE(session.Ticket().Extension().active);
    EXPECT_EQ(session.Variation().BlockEnds(), (std::vector<std::int32_t>{4, 5}));
    session.BontTesztHozzaadas(1, {{0, 1, 2, 3}}); // not a row of this variation
    EXPECT_EQ(session.Variation().Count(), 5);

    // A changed row needs saving again.
    session.Variation().saved = true;
    session.BontTesztHozzaadas(2, {{1, 2, 3, 4, 5}}, 0);
    EXPECT_FALSE(session.Variation().saved);
    EXPECT_EQ(StoredRows(session.Variation()).front(), (Row{1, 2, 3, 4, 5}));

    // Deleting the variation ends extension mode: a plain run may start again.
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.DeleteVariationCommand());
    EXPECT_FALSE(session.Ticket().Extension().active);
    EXPECT_TRUE(session.StartChecks());
}

TEST_F(VariationCommandsTest, RowsFollowTheirNumbersWhenTheFileOrderIsSortedAgain) {
    for (int n : {9, 3, 7, 1, 5, 2}) {
        session.ClickNumber(n, kMarkVariation);
    }
    Generate(0);
    auto numberRows = [](Session& s) {
        std::set<std::set<int>> rows;
        for (const Row& row : StoredRows(s.Variation())) {
            std::set<int> numbers;
            for (std::uint8_t position : row) {
                numbers.insert(s.Ticket().Selected()[position]);
            }
            rows.insert(numbers);
        }
        return rows;
    };
    const std::set<std::set<int>> before = numberRows(session);
    const std::string path = home.Path() + "order.top";
    ASSERT_TRUE(session.SaveVariation(path));
    // The number order field (after the header, the counts and the three lists) says ascending.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    const std::size_t order = 16 + 4 + 4 + (4 + 6) + (4 + 0) + (4 + 0);
    ASSERT_EQ(bytes[order], 0);
    bytes[order] = 1;
    ASSERT_TRUE(ReplaceFile(path, bytes));

    FakeMessages otherMessages;
    Session other(MakeProgramFolders(home.Path()), otherMessages, random);
    ASSERT_TRUE(other.OpenFile(path));
    EXPECT_EQ(other.Ticket().Selected(), (Numbers{1, 2, 3, 5, 7, 9}));
    EXPECT_EQ(numberRows(other), before);
}

TEST_F(VariationCommandsTest, VariationFilesLoadBackWhole) {
    ConditionSet conditions;
    conditions.errorPoints = 1;
    conditions.sum = {true, false, 20, 40};
    Generate(9, conditions);
    const std::string path = home.Path() + "v.top";
    ASSERT_TRUE(session.SaveVariation(path));
    EXPECT_TRUE(session.Variation().saved);

    FakeMessages otherMessages;
    Session other(MakeProgramFolders(home.Path()), otherMessages, random);
    ASSERT_TRUE(other.OpenFile(home.Path() + "v.top"));
    EXPECT_EQ(otherMessages.Count(), 0u);
    EXPECT_TRUE(other.variationExists);
    EXPECT_TRUE(other.Variation().saved);
    EXPECT_EQ(StoredRows(other.Variation()), StoredRows(session.Variation()));
    EXPECT_EQ(other.Variation().Frequencies(), session.Variation().Frequencies());
    EXPECT_EQ(other.Variation().BlockEnds(), session.Variation().BlockEnds());
    EXPECT_EQ(other.Ticket().Selected(), session.Ticket().Selected());
    EXPECT_EQ(other.Conditions().errorPoints, 1);
    EXPECT_TRUE(other.Conditions().sum.active);
    EXPECT_EQ(other.Record().generationDate, session.Record().generationDate);

    // Saving what was loaded writes the same bytes.
    std::filesystem::rename(path, home.Path() + "V2.TOP");
    ASSERT_TRUE(other.SaveVariation(path));
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> second;
    ASSERT_TRUE(ReadFileBytes(home.Path() + "V2.TOP", first));
    ASSERT_TRUE(ReadFileBytes(path, second));
    EXPECT_EQ(first, second);

    // A damaged file leaves nothing behind.
    first.resize(first.size() - 3);
    ASSERT_TRUE(ReplaceFile(path, first));
    EXPECT_FALSE(other.OpenFile(path));
    EXPECT_EQ(otherMessages.LastText(),
              "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + path);
    EXPECT_FALSE(other.variationExists);
    EXPECT_EQ(other.Variation().Count(), 0);
    EXPECT_FALSE(other.ConditionsSet());
    EXPECT_EQ(other.Ticket().MarkedCount(), 0);
}

TEST_F(VariationCommandsTest, ImportMakesTheTicketAndTheRows) {
    const std::string path = home.Path() + "rows.csv";
    ASSERT_TRUE(ReplaceFile(path, std::string("9;3;7;1;5\r\n2;4;6;8;10\r\n")));
    messages.QueueAnswer(Answer::Yes); // sorted numbers
    ASSERT_TRUE(session.OpenFile(path));
    EXPECT_EQ(messages.Log().front().text,
              "Rendezett legyen a számok sorrendje a számsorokon belül?");
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(StoredRows(session.Variation()),
              (std::vector<Row>{{0, 2, 4, 6, 8}, {1, 3, 5, 7, 9}}));
    EXPECT_EQ(session.Variation().BlockEnds(), (std::vector<std::int32_t>{2}));
    EXPECT_TRUE(session.variationExists);

    // Unsorted: the file's order stays, in the rows and on the ticket.
    ASSERT_TRUE(session.OpenFile(path));
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{9, 3, 7, 1, 5, 2, 4, 6, 8, 10}));
    EXPECT_EQ(StoredRows(session.Variation()),
              (std::vector<Row>{{0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}}));

    ASSERT_TRUE(ReplaceFile(path, std::string("1;2;3;4;5\r\n1;2;2;4;5\r\n")));
    EXPECT_FALSE(session.OpenFile(path));
    EXPECT_EQ(messages.LastText(), "2. sor 3. száma (2) ismétlődik.");
    EXPECT_FALSE(session.variationExists);
    EXPECT_EQ(session.Ticket().MarkedCount(), 0);
}

TEST_F(VariationCommandsTest, PausedVariationGoesOnFromItsFile) {
    for (int n = 1; n <= 13; ++n) {
        session.ClickNumber(n, kMarkVariation);
    }
    session.Conditions().errorPoints = 1;
    // The uninterrupted run.
    VariationStore whole;
    FakeMessages quiet;
    Bontas reference(quiet, whole);
    ASSERT_TRUE(reference.BontasIndul(session.MakeGenerationInput()));
    reference.Run();

    // Paused at the first growth question, saved, and loaded by another session.
    GenerationInput input = session.MakeGenerationInput();
    input.allowedRows = 8;
    Bontas engine(messages, session.Variation());
    messages.onPresent = [this, &engine](const FakeMessages::Shown& shown) {
        messages.QueueAnswer(shown.text.find("Folytatja a variációt?") != std::string::npos
                                 ? Answer::No
                                 : Answer::Yes);
        engine.MegszakitGombClick();
    };
    ASSERT_TRUE(engine.BontasIndul(input));
    engine.Run();
    session.GenerationDone(engine.Vege());
    messages.onPresent = nullptr;
    ASSERT_TRUE(session.VariationPaused());
    ASSERT_LT(session.Variation().Count(), whole.Count());
    const std::string path = home.Path() + "paused.top";
    ASSERT_TRUE(session.SaveVariation(path));

    FakeMessages otherMessages;
    Session other(MakeProgramFolders(home.Path()), otherMessages, random);
    ASSERT_TRUE(other.OpenFile(path));
    ASSERT_TRUE(other.VariationPaused());
    Bontas resumed(otherMessages, other.Variation());
    ASSERT_TRUE(resumed.BontasIndul(other.MakeGenerationInput()));
    resumed.Run();
    other.GenerationDone(resumed.Vege());
    EXPECT_FALSE(other.VariationPaused());
    EXPECT_EQ(StoredRows(other.Variation()), StoredRows(whole));
}

} // namespace
} // namespace velmora
