#include "session/session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "support/draws_files.h"
#include "support/engine_runs.h"
#include "support/session_parts.h"

namespace velmora {
namespace {

using testing::SessionParts;
using Numbers = std::vector<std::uint8_t>;

class SessionTest : public ::testing::Test, public SessionParts {
protected:
    void Click(std::initializer_list<int> numbers, MarkKind kind = MarkKind::Variation) {
        for (int n : numbers) {
            session.ClickNumber(n, kind);
        }
    }
    // The plain variation of the marked numbers.
    void Generate() {
        VariationDocument& variation = session.Variation();
        ASSERT_EQ(variation.StartChecks(), StartCheck::Go);
        Bontas engine(messages, variation.Store());
        ASSERT_TRUE(engine.BontasIndul(variation.MakeGenerationInput()));
        engine.Run();
        variation.GenerationDone(engine.Vege());
        ASSERT_TRUE(variation.Exists());
    }
    void LoadSampleDraws(int count) {
        std::filesystem::create_directories(session.Folders().data);
        ASSERT_TRUE(ReplaceFile(session.DatabasePath(),
                                SerializeDraws(testing::SampleDraws(session.Game(), count), 0)));
        ASSERT_TRUE(session.LoadDraws());
    }
};

TEST_F(SessionTest, GameSwitchAsksAndAppliesTheNewGame) {
    EXPECT_FALSE(session.SelectGame(0)) << "the current game again";
    Click({1, 2, 3});
    session.Conditions().primes.active = true;
    EXPECT_FALSE(session.SelectGame(1));
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt számokat és a feltételeket?");
    EXPECT_EQ(session.Ticket().MarkedCount(), 3) << "declined: the marks stay";

    session.Conditions().primes.active = false;
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.SelectGame(23));
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt számokat?");
    EXPECT_EQ(session.Game().maxNumber, 52);
    EXPECT_EQ(session.Ticket().MarkedCount(), 0);
    EXPECT_EQ(session.GetSettings().game, 23);
    EXPECT_EQ(session.MainWindowCaption(), "Ukrán 6/52 lottó  -  Velmora Personal ");
    EXPECT_TRUE(std::filesystem::is_directory(home.Path() + "Lotto/Uk652"));

    // An empty ticket goes without a question; a variation goes with the marks.
    messages.Clear();
    EXPECT_TRUE(session.SelectGame(0));
    EXPECT_EQ(messages.Count(), 0u);
    Click({1, 2, 3, 4, 5, 6});
    Generate();
    messages.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.SelectGame(1));
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt számokat és a variáció listáját?");
    EXPECT_FALSE(session.Variation().Exists());
}

TEST_F(SessionTest, DiscardQuestionNamesWhatGoes) {
    Click({1, 2, 3, 4, 5, 6});
    Generate();
    session.Conditions().sum.active = true;
    EXPECT_FALSE(session.AskDiscardTicket());
    EXPECT_EQ(messages.LastText(),
              "Biztos törli a kijelölt számokat, feltételeket és a variáció listáját?");
    session.Ticket().SetUnchanged(true);
    messages.Clear();
    EXPECT_TRUE(session.AskDiscardTicket());
    EXPECT_EQ(messages.Count(), 0u) << "an unchanged ticket may go without a question";
}

TEST_F(SessionTest, ChangingTheMarksDropsConditionsAndVariationAfterAsking) {
    session.SetNumberOrder(NumberOrder::Ascending);
    Click({30, 10, 20});
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{10, 20, 30}));
    session.Conditions().sum.active = true;
    session.Conditions().hitRatio.fromDraws = true;
    session.Conditions().errorPoints = 2;
    Click({5});
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt feltételeket?");
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{10, 20, 30})) << "declined";
    messages.QueueAnswer(Answer::Yes);
    Click({5});
    EXPECT_FALSE(session.Conditions().AnyActive());
    EXPECT_FALSE(session.Conditions().hitRatio.fromDraws);
    EXPECT_EQ(session.Conditions().errorPoints, 0);
    EXPECT_EQ(session.Ticket().Selected(), (Numbers{5, 10, 20, 30}));

    // An unsaved variation is asked about; a saved one goes without a word.
    Click({40, 50});
    Generate();
    Click({60});
    EXPECT_EQ(messages.LastText(), "Biztos törli a variáció listáját?");
    EXPECT_TRUE(session.Variation().Exists()) << "declined: the variation stays";
    session.Variation().Store().saved = true;
    messages.Clear();
    Click({60});
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(session.Variation().Exists());

    // Both at once, in one question.
    Generate();
    session.Conditions().sum.active = true;
    Click({70});
    EXPECT_EQ(messages.LastText(), "Biztos törli a kijelölt feltételeket és a variáció listáját?");
}

TEST_F(SessionTest, AnExtensionKeepsItsRowsAndAsksAboutTheConditionsItsOwnWay) {
    Click({1, 2, 3, 4, 5, 6, 7});
    Generate();
    session.Variation().AddRows(AddMode::CheckRow, {{0, 1, 2, 3, 6}});
    ASSERT_TRUE(session.Ticket().Extension().active);
    session.Conditions().sum.active = true;
    session.ClearVariationNumbers();
    EXPECT_EQ(messages.LastText(),
              "Az aktuális variáció számsorának módosítását végzi.\rHa módosítja a kijelölt "
              "számsort, a program törli a beállított feltételeket. \r\rMégis módosítja a "
              "számsort?");
    EXPECT_EQ(session.Ticket().Selected().size(), 7u) << "declined";
    session.Conditions().sum.active = false;
    Click({7});
    EXPECT_TRUE(session.Variation().Exists()) << "an extension's rows stay while marks change";
}

TEST_F(SessionTest, NumberRowFileKeepsTicketOrderAndConditions) {
    Click({30, 10, 50, 20, 40, 60});
    Click({7}, MarkKind::Fixed);
    Click({70}, MarkKind::Constant);
    session.SetNumberOrder(NumberOrder::Random);
    const Numbers saved = session.Ticket().Selected();
    ASSERT_FALSE(std::is_sorted(saved.begin(), saved.end()));
    session.Conditions().favoured = {true, 1, 3, 1, 2};
    session.Conditions().errorPoints = 1;
    const std::string path = home.Path() + "szelveny.TIP";
    ASSERT_TRUE(session.SaveNumberRow(path));
    EXPECT_TRUE(session.Ticket().Unchanged());

    testing::FakeMessages quiet;
    const auto other = Another(quiet);
    other->SetNumberOrder(NumberOrder::Ascending);
    ASSERT_TRUE(other->OpenFile(path)) << "the extension is read in any case";
    EXPECT_EQ(quiet.Count(), 0u);
    EXPECT_EQ(other->Ticket().Selected(), saved) << "neither sorted nor shuffled again";
    EXPECT_EQ(other->Ticket().Fixed(), Numbers{7});
    EXPECT_EQ(other->Ticket().Constant(), Numbers{70});
    EXPECT_EQ(other->Ticket().Order(), NumberOrder::Random);
    EXPECT_TRUE(other->Ticket().Look(7).raised);
    EXPECT_TRUE(other->Ticket().Unchanged());
    EXPECT_TRUE(other->Conditions().favoured.active);
    EXPECT_EQ(other->Conditions().errorPoints, 1);

    // A failed load clears the ticket and the conditions.
    ASSERT_TRUE(ReplaceFile(path, std::string(120, '\0')));
    EXPECT_FALSE(other->LoadNumberRow(path));
    EXPECT_EQ(quiet.LastText(),
              "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + path);
    EXPECT_EQ(other->Ticket().MarkedCount(), 0);
    EXPECT_FALSE(other->Ticket().Look(7).raised);
    EXPECT_EQ(other->Ticket().Order(), NumberOrder::Unchanged);
    EXPECT_FALSE(other->Ticket().Unchanged());
    EXPECT_FALSE(other->Conditions().AnyActive());
}

// A file larger than its kind can be is refused with the open error before it is read (these are
// sparse: they take no disk space, but reading one would need 64 GB of memory).
TEST_F(SessionTest, FilesLargerThanTheirKindAreRefusedUnread) {
    for (const char* name : {"big.tip", "big.TOP", "big.csv", "big.txt"}) {
        const std::string path = home.Path() + name;
        ASSERT_TRUE(ReplaceFile(path, std::string("1;2;3;4;5\r\n")));
        std::filesystem::resize_file(path, std::uintmax_t{1} << 36);
        messages.Clear();
        EXPECT_FALSE(session.OpenFile(path)) << name;
        EXPECT_EQ(messages.LastText(), "Hiba történt a(z) " + path + " megnyitása során.") << name;
        EXPECT_EQ(session.Ticket().MarkedCount(), 0) << name;
        std::filesystem::remove(path);
    }
}

TEST_F(SessionTest, HitRatioFileNeedsTheLoadedDraws) {
    LoadSampleDraws(300);
    Click({1, 2, 3, 4, 5, 6});
    session.Conditions().hitRatio = {true, true, 2, 3, false, 1, 300};
    const std::string path = home.Path() + "talalat.tip";
    ASSERT_TRUE(session.SaveNumberRow(path));
    ASSERT_TRUE(session.LoadNumberRow(path));
    EXPECT_EQ(messages.Count(), 0u);

    testing::FakeMessages quiet;
    EXPECT_FALSE(Another(quiet)->LoadNumberRow(path));
    EXPECT_EQ(quiet.LastText(),
              "A kijelölt állomány a húzások listájára hivatkozik.\r\rA húzások listája hiányzik.");
}

TEST_F(SessionTest, TicketStatisticsFollowTheDrawRange) {
    EXPECT_FALSE(session.TicketHintStatistics()) << "no draws, no statistics";
    LoadSampleDraws(260);
    session.Ranges().SetHuzSzamaElso(251);
    session.SetTicketView(TicketView::TimesDrawn);
    const auto stats = session.TicketHintStatistics();
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->firstDraw, 251);
    EXPECT_EQ(stats->lastDraw, 260);
    EXPECT_EQ(stats->samples, 10);
    int drawn = 0;
    for (int n = 1; n <= 90; ++n) {
        const std::string caption = session.Ticket().CellCaption(n);
        drawn += caption == "-" ? 0 : std::stoi(caption);
    }
    EXPECT_EQ(drawn, 10 * 5) << "ten draws of five numbers in the range";
}

TEST_F(SessionTest, ChangesReachTheWindow) {
    int refreshes = 0;
    session.onTicketChanged = [&refreshes] { ++refreshes; };
    Click({1});
    EXPECT_GT(refreshes, 0);
}

} // namespace
} // namespace velmora
