#include "session/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/binary_io.h"
#include "common/file_io.h"
#include "session/exception_log.h"
#include "support/session_parts.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FakeMessages;

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

class StartupTest : public ::testing::Test {
protected:
    testing::SessionParts parts;
    const std::string home = parts.home.Path();
    FakeMessages& messages = parts.messages;
    Session& session = parts.session;
};

TEST_F(StartupTest, FirstStartCreatesFoldersAndSettingsThenALaterStartIsQuiet) {
    ASSERT_TRUE(PrepareStart(session, {}));
    for (const char* folder : {"Dat", "Dat/Cache", "Back", "List"}) {
        EXPECT_TRUE(fs::is_directory(home + folder)) << folder;
    }
    EXPECT_FALSE(fs::exists(home + "01202wj3")) << "the write test cleans up";
    EXPECT_TRUE(fs::is_regular_file(home + "Velmora.ini"));
    EXPECT_TRUE(session.GetSettings().IsFirstStart());
    EXPECT_EQ(messages.Count(), 0u);

    RunLoadingStep(session);
    ASSERT_EQ(messages.Count(), 2u);
    EXPECT_EQ(messages.Log()[0].kind, MessageKind::Information);
    EXPECT_EQ(messages.Log()[0].text,
              "Új könyvtárstruktúra kialakítása.\r\r - Számsorok, variációk: " + home +
                  "Lotto/[Aktuális játék]\r - Biztonsági mentések: " + home +
                  "Back/\r - Listák, jelentések: " + home + "List/");
    EXPECT_EQ(messages.Log()[1].kind, MessageKind::Notice);
    EXPECT_EQ(messages.Log()[1].text.rfind(kMarkingHelpText, 0), 0u);
    EXPECT_FALSE(session.GetSettings().notices[kNoticeMarkingHelp]) << "answered No";
    EXPECT_TRUE(fs::is_directory(home + "Lotto"));

    ASSERT_TRUE(WriteSettings(session.Folders(), session.GetSettings(), messages));
    FakeMessages second;
    const auto next = parts.Another(second);
    ASSERT_TRUE(PrepareStart(*next, {}));
    EXPECT_EQ(next->GetSettings().starts, 2);
    RunLoadingStep(*next);
    EXPECT_EQ(second.Count(), 0u);
}

// The manual is looked for by the program; a start that found none says so and goes on.
TEST_F(StartupTest, MissingManualIsReportedAndTheStartGoesOn) {
    StartEnvironment environment;
    environment.helpIndex = home + "help/index.html";
    ASSERT_TRUE(PrepareStart(session, environment));
    EXPECT_EQ(messages.Count(), 0u);
    environment.helpIndex = "";
    ASSERT_TRUE(PrepareStart(session, environment));
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Log()[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages.Log()[0].text, "Hiányzik a Súgó állománya.");
}

TEST_F(StartupTest, OldFoldersAndWorkFilesAreTidiedOnTheFirstStart) {
    fs::create_directories(home + "Otos");
    for (const char* file :
         {"Otos/mine.tip", "teszt.tip", "back3.top", "bontlist112.rtf", "keep.tip"}) {
        Touch(home + file);
    }
    ASSERT_TRUE(PrepareStart(session, {}));
    session.ApplyGame(0); // as the main window does: the current game's folder exists already
    ASSERT_TRUE(fs::is_directory(home + "Lotto/Otos"));
    RunLoadingStep(session);

    for (const char* gone : {"teszt.tip", "back3.top", "bontlist112.rtf"}) {
        EXPECT_FALSE(fs::exists(home + gone)) << gone;
    }
    for (const char* kept : {"List/bontlist112.rtf", "keep.tip", "Lotto/Otos/mine.tip"}) {
        EXPECT_TRUE(fs::exists(home + kept)) << kept;
    }
    EXPECT_EQ(messages.Log().at(0).text.rfind(
                  "Előző verziók ideiglenes munkaállományai törölve.\r\r"
                  "Új könyvtárstruktúra kialakítása.\r\r"
                  "Játékok alapértelmezett könyvtárai (és azok tartalma) áthelyezve.",
                  0),
              0u);
}

TEST_F(StartupTest, ChecksThatEndTheProgram) {
    messages.QueueAnswer(Answer::No);
    EXPECT_FALSE(PrepareStart(session, {1024, true, std::nullopt}));
    EXPECT_EQ(messages.LastText(),
              "Nincs elég szabad (RAM) memória.\rJavaslat: állítsa le a nem használt "
              "programokat.\r\rMégis elindítja a Velmora Personal programot?");
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(PrepareStart(session, {1024, true, std::nullopt}));

    EXPECT_FALSE(PrepareStart(session, {std::nullopt, false, std::nullopt}));
    EXPECT_EQ(messages.LastText(), "Nincs egér csatlakoztatva a számítógéphez.\r\r"
                                   "A Velmora Personal program befejezi futását.");

    // A folder below a plain file can never be created, whoever runs the test.
    Touch(home + "file");
    Session readOnly(MakeProgramFolders(home + "file/sub"), messages, parts.random, parts.clock);
    EXPECT_FALSE(PrepareStart(readOnly, {}));
    EXPECT_EQ(messages.LastText(), "Nem írható adathordozóról indította a programot.\r\r"
                                   "A Velmora Personal program befejezi futását.");
}

TEST_F(StartupTest, DamagedSettingsAreReplacedByDefaults) {
    std::ofstream(home + "Velmora.ini") << "[Velmora]\nStart=3\nGame=24\nHint=0\n";
    ASSERT_TRUE(PrepareStart(session, {}));
    EXPECT_EQ(messages.LastText(), "Sérült a " + home + "Velmora.ini állománya.");
    EXPECT_EQ(session.GetSettings().game, 0);
    EXPECT_TRUE(session.GetSettings().hints);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(home + "Velmora.ini", kMaxSettingsFileSize, bytes));
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("Game=0"), std::string::npos)
        << "the file is rewritten";
}

TEST_F(StartupTest, CommandLineFileChoosesTheGame) {
    // The file's first integers, the game (older files count from 5) or the game given.
    struct Case {
        std::vector<std::int32_t> header;
        GameId given, expected;
        bool reset;
    };
    const Case cases[] = {
        {{1, 2, 0, 0, 7}, 0, 2, true},  {{2, 3, 0, 0, 13}, 0, 13, true},
        {{2, 3, 0, 0, 30}, 5, 0, true}, {{2, 3, 0, 0}, 5, 0, true}, // no game number read
        {{1, 3, 0}, 5, 5, false},                                   // shorter than 16 bytes
    };
    const std::string path = home + "file.tip";
    for (const Case& c : cases) {
        BinaryWriter writer;
        for (std::int32_t v : c.header) {
            writer.WriteI32(v);
        }
        ASSERT_TRUE(ReplaceFile(path, writer.Bytes()));
        bool reset = !c.reset;
        EXPECT_EQ(GameForCommandLineFile(path, c.given, messages, reset), c.expected)
            << ::testing::PrintToString(c.header);
        EXPECT_EQ(reset, c.reset) << ::testing::PrintToString(c.header);
    }
    bool reset = true;
    EXPECT_EQ(GameForCommandLineFile("", 4, messages, reset), 4);
    EXPECT_FALSE(reset);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(GameForCommandLineFile(home + "missing.tip", 5, messages, reset), 0);
    EXPECT_EQ(messages.LastText(), "Hiba történt a(z) " + home + "missing.tip megnyitása során.");
}

TEST(ExceptionLog, LinesAndAppending) {
    const CrashState state{
        .time = testing::FixedClock().Now(),
        .errorClass = "std::out_of_range",
        .errorMessage = "vector",
        .visibleWindows = {{"TFoablak", "Magyar 5/90 lottó"}, {"TSzelveny", "  Főszelvény"}},
        .gameId = 1,
        .drawCount = 2000,
        .drawsList = std::nullopt,
        .variationRows = 6,
        .variationList = std::nullopt,
        .selectedCount = 7,
        .constantCount = 2,
        .fixedCount = 1,
        .systemName = "Linux",
        .systemVersion = "6.1"};
    const std::vector<std::string> expected = {
        "2026. 12. 06. 06:27:50: std::out_of_range - vector",
        "Visible Windows: TFoablak;Magyar 5/90 lottó; TSzelveny;  Főszelvény; ",
        "Lotto: 1",
        "DataBase: 2000",
        "Variation: 6",
        "Variation N: 7",
        "Variation FN: 2",
        "Variation CN: 1",
        "Platform: Linux",
        "Platform Version: 6.1"};
    EXPECT_EQ(ExceptionLogLines(state), expected);

    testing::TempHome home;
    const std::string log = home.Path() + "VelmoraError.log";
    ASSERT_TRUE(AppendExceptionLog(log, {"a"}));
    ASSERT_TRUE(AppendExceptionLog(log, {"b", "c"}));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(log, 4096, bytes));
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
