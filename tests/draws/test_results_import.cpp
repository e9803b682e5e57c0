#include "draws/results_import.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "draws/bundled_draws.h"
#include "support/draws_files.h"
#include "support/fake_messages.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using testing::FakeMessages;
using testing::OtosLine;
using testing::TempHome;
using Cells = std::vector<int>;

Cells CellsOf(const DrawRecord& d, int count) {
    return Cells(d.numbers.begin(), d.numbers.begin() + count);
}

std::string ReadText(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
    return std::string(bytes.begin(), bytes.end());
}

// `count` lines, newest first.
std::string OtosFile(int count) {
    std::string text;
    for (int i = count; i >= 1; --i) {
        text +=
            OtosLine(1990 + i / 52, 1 + i % 52, "1;2;3;4;" + std::to_string(5 + i % 80)) + "\r\n";
    }
    return text;
}

TEST(ResultsImport, EachGameSkipsItsFields) {

    ResultsParse p = ParseResultsFile(OtosLine(2019, 8, "87;11;48;27;46"), LoadGameInfo(0));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CellsOf(p.draws[0], 5), (Cells{11, 27, 46, 48, 87}));
    EXPECT_EQ(p.draws[0].drawYear, 2019);
    EXPECT_EQ(p.draws[0].drawWeek, 8);

    p = ParseResultsFile("1988;43;;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;40;16;24;26;36;3;27",
                         LoadGameInfo(1));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CellsOf(p.draws[0], 7), (Cells{3, 16, 24, 26, 36, 40, 27}))
        << "the extra number stays last";

    p = ParseResultsFile("1999;42;;0;0 Ft;49;192 605 Ft;3033;3 112 Ft;46684;539 Ft;"
                         "30;5;8;16;27;29;4;28;6;7;22;24;26;4",
                         LoadGameInfo(2));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CellsOf(p.draws[0], 14), (Cells{4, 5, 8, 16, 27, 29, 30, 4, 6, 7, 22, 24, 26, 28}));

    p = ParseResultsFile("1996;12;;;79;3;8;13;14;18;19;22;26;30;36;53;57;58;67;68;69;72;77;1",
                         LoadGameInfo(12));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.draws[0].numbers[0], 1);
    EXPECT_EQ(p.draws[0].numbers[19], 79);
}

TEST(ResultsImport, YearWeekAndEmptyFields) {
    const GameInfo otos = LoadGameInfo(0);
    ResultsParse p = ParseResultsFile(OtosLine(1900, 3, "1;2;3;4;5"), otos);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.draws[0].drawYear, 1995);
    EXPECT_FALSE(ParseResultsFile(OtosLine(1899, 3, "1;2;3;4;5"), otos).ok);
    EXPECT_FALSE(ParseResultsFile(OtosLine(2051, 3, "1;2;3;4;5"), otos).ok);
    EXPECT_FALSE(ParseResultsFile(OtosLine(2000, 54, "1;2;3;4;5"), otos).ok);
    EXPECT_FALSE(ParseResultsFile(OtosLine(2000, 0, "1;2;3;4;5"), otos).ok);
    EXPECT_FALSE(ParseResultsFile(OtosLine(2000, 5, "1;2;3;4;91"), otos).ok);

    // 6/45 lines since 2016 have no seventh field; since 2007 it may be empty.
    const GameInfo hatos = LoadGameInfo(1);
    for (const char* tail : {"9;13;24;26;30;42", "9;13;24;26;30;42;"}) {
        p = ParseResultsFile(std::string("2025;34;2025.08.24.;0;0 Ft;0;0;76;174 445 Ft;2435;"
                                         "5 445 Ft;32985;2 445 Ft;") +
                                 tail,
                             hatos);
        ASSERT_TRUE(p.ok) << tail;
        EXPECT_EQ(CellsOf(p.draws[0], 7), (Cells{9, 13, 24, 26, 30, 42, 0}));
    }
    // A line that lost some of its numbers is no draw.
    EXPECT_FALSE(ParseResultsFile("2025;34;2025.08.24.;0;0 Ft;0;0;76;174 445 Ft;2435;5 445 Ft;"
                                  "32985;2 445 Ft;9;13;24",
                                  hatos)
                     .ok);
    EXPECT_FALSE(ParseResultsFile(OtosLine(2000, 5, "1;2;3;4"), otos).ok);

    // The newest files name the weekday after the week.
    p = ParseResultsFile("2026;23;Csütörtök;2026.06.04.;0;0 Ft;0;0;76;174 445 Ft;2435;5 445 Ft;"
                         "32985;2 445 Ft;9;13;24;26;30;42",
                         hatos);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CellsOf(p.draws[0], 6), (Cells{9, 13, 24, 26, 30, 42}));

    // Any one non-digit separator, the same on the line.
    p = ParseResultsFile("2001,7,,a,b,c,d,e,f,g,h,5,4,3,2,1", otos);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(CellsOf(p.draws[0], 5), (Cells{1, 2, 3, 4, 5}));
}

TEST(ResultsImport, HeadersBeforeTheDataAndBadLinesAfter) {
    const GameInfo otos = LoadGameInfo(0);
    const std::string text = "\xEF\xBB\xBF\r\nYear;Week;Date\r\n" + OtosLine(2020, 2, "1;2;3;4;5") +
                             "\r\n" + OtosLine(2020, 1, "6;7;8;9;10") + "\r\n\r\n";
    ResultsParse p = ParseResultsFile(text, otos);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.draws.size(), 2u);
    EXPECT_EQ(p.draws[0].drawNo, 1);
    EXPECT_EQ(p.draws[1].drawWeek, 1);

    const std::vector<DrawRecord> oldestFirst = Chronological(p.draws);
    EXPECT_EQ(oldestFirst[0].drawWeek, 1);
    EXPECT_EQ(oldestFirst[0].drawNo, 1);
    EXPECT_EQ(oldestFirst[1].drawNo, 2);

    p = ParseResultsFile(
        OtosLine(2020, 2, "1;2;3;4;5") + "\nYear;Week\n" + OtosLine(2020, 1, "1;2;3;4;5"), otos);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.badLine, 2);
    EXPECT_FALSE(ParseResultsFile("Year;Week\n\n", otos).ok);
}

class ResultsImportTest : public ::testing::Test {
protected:
    std::string Database() const { return home.Path() + "Huzas5.ldb"; }

    TempHome home;
    FakeMessages messages;
    GameInfo game = LoadGameInfo(0);
};

TEST_F(ResultsImportTest, WholeFileReplacesTheDatabase) {
    int imported = 0;
    ASSERT_EQ(
        HuzasokFrissitesKenoHU(OtosFile(300), "otos.csv", game, 0, Database(), messages, &imported),
        ImportOutcome::Imported);
    EXPECT_EQ(imported, 300);
    EXPECT_EQ(messages.Count(), 0u);
    DrawsStore store;
    ASSERT_TRUE(store.HuzasokBe(Database(), game, messages));
    ASSERT_EQ(store.Count(), 300);
    EXPECT_EQ(store.At(0).drawNo, 1);
    EXPECT_EQ(store.At(0).numbers[4], 5 + 1 % 80) << "the oldest line comes first";
    EXPECT_EQ(store.At(299).drawNo, 300);
}

TEST_F(ResultsImportTest, BadLineOrFewerLinesLeaveTheDatabaseAlone) {
    ASSERT_EQ(HuzasokFrissitesKenoHU(OtosFile(300), "otos.csv", game, 0, Database(), messages),
              ImportOutcome::Imported);
    const std::string before = ReadText(Database());

    std::string bad = OtosFile(300);
    bad.insert(bad.find("\r\n", 1000) + 2, OtosLine(2020, 1, "1;2;3;4;99") + "\r\n");
    EXPECT_EQ(HuzasokFrissitesKenoHU(bad, "otos.csv", game, 300, Database(), messages),
              ImportOutcome::BadFormat);
    EXPECT_EQ(messages.LastText(),
              "A Szerencsejáték Zrt. honlapján elérhető otos.csv állomány formátuma megváltozott "
              "és/vagy érvénytelen adatokat tartalmaz.\r\rHasználja az \"Adatbázis frissítése\" "
              "menüpontot.");
    EXPECT_EQ(ReadText(Database()), before);

    // A number of 0 parses but is no valid 5/90 draw.
    std::string zero = OtosFile(300);
    zero.insert(0, OtosLine(2021, 1, "1;2;3;4;") + "\r\n");
    EXPECT_EQ(HuzasokFrissitesKenoHU(zero, "otos.csv", game, 300, Database(), messages),
              ImportOutcome::BadFormat);
    EXPECT_EQ(ReadText(Database()), before);

    messages.Clear();
    EXPECT_EQ(HuzasokFrissitesKenoHU(OtosFile(299), "otos.csv", game, 300, Database(), messages),
              ImportOutcome::Declined);
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.LastText(), "A otos.csv állomány kevesebb húzás adatait tartalmazza, mint "
                                   "a húzások jelenleg aktuális listája.\r\rMégis felülírja a "
                                   "húzások jelenleg aktuális listáját?");
    EXPECT_EQ(ReadText(Database()), before);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_EQ(HuzasokFrissitesKenoHU(OtosFile(299), "otos.csv", game, 300, Database(), messages),
              ImportOutcome::Imported);
}

struct RealFile {
    GameId game;
    const char* file;
    int draws;
    int firstYear, firstWeek, lastYear, lastWeek;
    Cells firstCells;
    Cells lastCells;
};

TEST(BundledDraws, RealFilesOfTheFourGames) {
    const std::vector<RealFile> files = {
        {0, "otos.csv", 3573, 1957, 10, 2025, 34, {16, 61, 71, 77, 89}, {6, 24, 77, 88, 89}},
        {1,
         "hatos.csv",
         1738,
         1988,
         43,
         2025,
         34,
         {3, 16, 24, 26, 36, 40, 27},
         {9, 13, 24, 26, 30, 42, 0}},
        {2,
         "skandi.csv",
         1351,
         1999,
         41,
         2025,
         35,
         {7, 8, 13, 16, 20, 25, 31, 12, 14, 18, 24, 31, 34, 35},
         {1, 5, 12, 14, 23, 31, 35, 12, 13, 18, 19, 24, 27, 31}},
        {8, "keno.csv", 10000, 1996, 35, 2025, 35, {}, {3,  6,  9,  22, 24, 38, 44, 46, 50, 54,
                                                        55, 59, 60, 62, 64, 65, 66, 68, 69, 77}},
    };
    TempHome home;
    FakeMessages messages;
    const std::string folder = VELMORA_TEST_DRAWS;
    for (const RealFile& f : files) {
        SCOPED_TRACE(f.file);
        ASSERT_EQ(ImportResultsFromFile(folder + f.file, f.game, home.Path(), 0, messages),
                  ImportOutcome::Imported);
        const GameInfo game = LoadGameInfo(f.game);
        DrawsStore store;
        ASSERT_TRUE(store.HuzasokBe(home.Path() + DatabaseFile(f.game), game, messages));
        ASSERT_EQ(store.Count(), f.draws);
        const DrawRecord& first = store.At(0);
        const DrawRecord& last = store.At(store.Count() - 1);
        EXPECT_EQ(first.drawNo, 1);
        EXPECT_EQ(last.drawNo, f.draws);
        EXPECT_EQ(first.drawYear, f.firstYear);
        EXPECT_EQ(first.drawWeek, f.firstWeek);
        EXPECT_EQ(last.drawYear, f.lastYear);
        EXPECT_EQ(last.drawWeek, f.lastWeek);
        if (!f.firstCells.empty()) {
            EXPECT_EQ(CellsOf(first, static_cast<int>(f.firstCells.size())), f.firstCells);
        }
        EXPECT_EQ(CellsOf(last, static_cast<int>(f.lastCells.size())), f.lastCells);
    }
    EXPECT_EQ(messages.Count(), 0u);

    // Building the missing databases of a new program folder uses the same files.
    TempHome fresh;
    const ProgramFolders folders = MakeProgramFolders(fresh.Path());
    std::filesystem::create_directories(folders.data);
    EXPECT_EQ(BuildMissingDatabases(folders, folder, messages), 4);
    EXPECT_EQ(BuildMissingDatabases(folders, folder, messages), 0) << "only missing ones";
    EXPECT_TRUE(FileExists(folders.data + "Keno.ldb"));
}

} // namespace
} // namespace velmora
