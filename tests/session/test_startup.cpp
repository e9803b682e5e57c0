#include "session/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/binary_io.h"
#include "common/file_io.h"
#include "support/fake_messages.h"
#include "session/exception_log.h"
#include "support/fixed_clock.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FakeMessages;
using testing::TempHome;

void WriteHeader(const std::string& path, std::vector<std::int32_t> values) {
    BinaryWriter writer;
    for (std::int32_t v : values) {
        writer.WriteI32(v);
    }
    ASSERT_TRUE(ReplaceFile(path, writer.Bytes()));
}

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

class StartupTest : public ::testing::Test {
protected:
    ProgramFolders Folders() const { return MakeProgramFolders(home.Path()); }

    TempHome home;
    FakeMessages messages;
    SeededRandom random{1};
    testing::FixedClock clock;
    Session session{Folders(), messages, random, clock};
};

TEST_F(StartupTest, FirstStartCreatesFoldersAndSettings) {
    ASSERT_TRUE(PrepareStart(session, {}));
    for (const char* folder : {"Dat", "Dat/Cache", "Back", "List"}) {
        EXPECT_TRUE(fs::is_directory(home.Path() + folder)) << folder;
    }
    EXPECT_FALSE(fs::exists(home.Path() + "01202wj3")) << "the write test cleans up";
    EXPECT_TRUE(fs::is_regular_file(home.Path() + "Velmora.ini"));
    EXPECT_TRUE(session.GetSettings().IsFirstStart());
    EXPECT_EQ(messages.Count(), 0u);

    RunLoadingStep(session);
    ASSERT_EQ(messages.Count(), 2u);
    EXPECT_EQ(messages.Log()[0].kind, MessageKind::Information);
    EXPECT_EQ(messages.Log()[0].text,
              "Új könyvtárstruktúra kialakítása.\r\r - Számsorok, variációk: " + home.Path() +
                  "Lotto/[Aktuális játék]\r - Biztonsági mentések: " + home.Path() +
                  "Back/\r - Listák, jelentések: " + home.Path() + "List/");
    EXPECT_EQ(messages.Log()[1].kind, MessageKind::Notice);
    EXPECT_EQ(messages.Log()[1].text.rfind(kMarkingHelpText, 0), 0u);
    EXPECT_FALSE(session.GetSettings().notices[kNoticeMarkingHelp]) << "answered No";
    EXPECT_TRUE(fs::is_directory(home.Path() + "Lotto"));
}

TEST_F(StartupTest, LaterStartIsQuiet) {
    ASSERT_TRUE(PrepareStart(session, {}));
    session.GetSettings().notices[kNoticeMarkingHelp] = false;
    RunLoadingStep(session);
    ASSERT_TRUE(WriteSettings(Folders(), session.GetSettings(), messages));

    FakeMessages second;
    Session next(Folders(), second, random, clock);
    ASSERT_TRUE(PrepareStart(next, {}));
    EXPECT_EQ(next.GetSettings().starts, 2);
    RunLoadingStep(next);
    EXPECT_EQ(second.Count(), 0u);
}

TEST_F(StartupTest, OldFoldersAndWorkFilesAreTidiedOnTheFirstStart) {
    fs::create_directories(home.Path() + "Otos");
    Touch(home.Path() + "Otos/mine.tip");
    Touch(home.Path() + "teszt.tip");
    Touch(home.Path() + "back3.top");
    Touch(home.Path() + "bontlist112.rtf");
    Touch(home.Path() + "keep.tip");
    ASSERT_TRUE(PrepareStart(session, {}));
    session.ApplyGame(0); // as the main window does: the current game's folder exists already
    ASSERT_TRUE(fs::is_directory(home.Path() + "Lotto/Otos"));
    RunLoadingStep(session);

    EXPECT_FALSE(fs::exists(home.Path() + "teszt.tip"));
    EXPECT_FALSE(fs::exists(home.Path() + "back3.top"));
    EXPECT_FALSE(fs::exists(home.Path() + "bontlist112.rtf"));
    EXPECT_TRUE(fs::exists(home.Path() + "List/bontlist112.rtf")) << "reports are kept";
    EXPECT_TRUE(fs::exists(home.Path() + "keep.tip"));
    EXPECT_TRUE(fs::exists(home.Path() + "Lotto/Otos/mine.tip"));
    const std::string& text = messages.Log().at(0).text;
    EXPECT_EQ(text.rfind("Előző verziók ideiglenes munkaállományai törölve.\r\r"
                         "Új könyvtárstruktúra kialakítása.\r\r"
                         "Játékok alapértelmezett könyvtárai (és azok tartalma) áthelyezve.",
                         0),
              0u);
}

TEST_F(StartupTest, ChecksThatEndTheProgram) {
    messages.QueueAnswer(Answer::No);
    EXPECT_FALSE(PrepareStart(session, {1024, true}));
    EXPECT_EQ(messages.LastText(),
              "Nincs elég szabad (RAM) memória.\rJavaslat: állítsa le a nem használt "
              "programokat.\r\rMégis elindítja a Velmora Personal programot?");
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(PrepareStart(session, {1024, true}));

    EXPECT_FALSE(PrepareStart(session, {std::nullopt, false}));
    EXPECT_EQ(messages.LastText(), "Nincs egér csatlakoztatva a számítógéphez.\r\r"
                                   "A Velmora Personal program befejezi futását.");
}

TEST(Startup, ReadOnlyMediumEndsTheProgram) {
    TempHome home;
    Touch(home.Path() + "file");
    FakeMessages messages;
    SeededRandom random(1);
    testing::FixedClock clock;
    // A folder below a plain file can never be created, whoever runs the test.
    Session session(MakeProgramFolders(home.Path() + "file/sub"), messages, random, clock);
    EXPECT_FALSE(PrepareStart(session, {}));
    EXPECT_EQ(messages.LastText(), "Nem írható adathordozóról indította a programot.\r\r"
                                   "A Velmora Personal program befejezi futását.");
}

TEST_F(StartupTest, DamagedSettingsAreReplacedByDefaults) {
    std::ofstream(home.Path() + "Velmora.ini") << "[Velmora]\nStart=3\nGame=24\nHint=0\n";
    ASSERT_TRUE(PrepareStart(session, {}));
    EXPECT_EQ(messages.LastText(), "Sérült a " + home.Path() + "Velmora.ini állománya.");
    EXPECT_EQ(session.GetSettings().game, 0);
    EXPECT_TRUE(session.GetSettings().hints);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(home.Path() + "Velmora.ini", bytes));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Game=0"), std::string::npos) << "the file is rewritten";
}

TEST_F(StartupTest, CommandLineFileChoosesTheGame) {
    bool reset = false;
    EXPECT_EQ(GameForCommandLineFile("", 4, messages, reset), 4);
    EXPECT_FALSE(reset);

    const std::string old = home.Path() + "old.top";
    WriteHeader(old, {1, 2, 0, 0, 7});
    EXPECT_EQ(GameForCommandLineFile(old, 0, messages, reset), 2);
    EXPECT_TRUE(reset);

    const std::string current = home.Path() + "cur.tip";
    WriteHeader(current, {2, 3, 0, 0, 13});
    EXPECT_EQ(GameForCommandLineFile(current, 0, messages, reset), 13);
    WriteHeader(current, {2, 3, 0, 0, 30});
    EXPECT_EQ(GameForCommandLineFile(current, 5, messages, reset), 0);
    WriteHeader(current, {2, 3, 0, 0});
    EXPECT_EQ(GameForCommandLineFile(current, 5, messages, reset), 0) << "no game number read";
    WriteHeader(current, {1, 3, 0});
    EXPECT_EQ(GameForCommandLineFile(current, 5, messages, reset), 5) << "shorter than 16 bytes";
    EXPECT_FALSE(reset);
    EXPECT_EQ(messages.Count(), 0u);

    EXPECT_EQ(GameForCommandLineFile(home.Path() + "missing.tip", 5, messages, reset), 0);
    EXPECT_EQ(messages.LastText(),
              "Hiba történt a(z) " + home.Path() + "missing.tip megnyitása során.");
}

TEST(ExceptionLog, LinesAndAppending) {
    CrashState state;
    state.time.tm_year = 126;
    state.time.tm_mon = 11;
    state.time.tm_mday = 6;
    state.time.tm_hour = 9;
    state.errorClass = "std::out_of_range";
    state.errorMessage = "vector";
    state.visibleWindows = {{"TFoablak", "Magyar 5/90 lottó"}, {"TSzelveny", "  Főszelvény"}};
    state.gameId = 1;
    state.drawCount = 2000;
    state.variationRows = 6;
    state.selectedCount = 7;
    state.constantCount = 2;
    state.fixedCount = 1;
    state.systemName = "Linux";
    state.systemVersion = "6.1";
    const auto lines = ExceptionLogLines(state);
    const std::vector<std::string> expected = {
        "2026. 12. 06. 09:00:00: std::out_of_range - vector",
        "Visible Windows: TFoablak;Magyar 5/90 lottó; TSzelveny;  Főszelvény; ",
        "Lotto: 1",
        "DataBase: 2000",
        "Variation: 6",
        "Variation N: 7",
        "Variation FN: 2",
        "Variation CN: 1",
        "Platform: Linux",
        "Platform Version: 6.1"};
    EXPECT_EQ(lines, expected);

    TempHome home;
    const std::string log = home.Path() + "VelmoraError.log";
    ASSERT_TRUE(AppendExceptionLog(log, {"a"}));
    ASSERT_TRUE(AppendExceptionLog(log, {"b", "c"}));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(log, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "a\nb\nc\n");

    const std::string text = CriticalErrorText("vector", log);
    EXPECT_EQ(
        text.rfind("Üdvözlöm!\r\rKritikus hibát észlelt a program. Hibaüzenet:\r\rvector\r\r", 0),
        0u);
    EXPECT_NE(text.find("\r" + log + "\r\r"), std::string::npos);
    const std::string last = "Leállítja a program futását? Kilép a programból?";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

} // namespace
} // namespace velmora
