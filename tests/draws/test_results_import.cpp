#include "draws/results_import.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "draws/bundled_draws.h"
#include "support/draws_files.h"
#include "support/fake_messages.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using namespace testing;
using Cells = std::vector<int>;

Cells CellsOf(const DrawRecord& d, int count) {
    return Cells(d.numbers.begin(), d.numbers.begin() + count);
}

std::string ReadText(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(path, kMaxResultsFileSize, bytes)) << path;
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

// Each game's line: the fields to skip, the numbers in order with the extra number last, the
// year and week in range and every number there.
TEST(ResultsImport, LinesOfEachGame) {
    const std::string hatos = "2025;34;2025.08.24.;0;0 Ft;0;0;76;174 445 Ft;2435;5 445 Ft;32985;"
                              "2 445 Ft;";
    const std::string hatos1988 = "1988;43;;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;0;0 Ft;40;16;24;26;36;3;27";
    const std::string skandi = "1999;42;;0;0 Ft;49;192 605 Ft;3033;3 112 Ft;46684;539 Ft;30;5;8;"
                               "16;27;29;4;28;6;7;22;24;26;4";
    const std::string keno = "1996;12;;;79;3;8;13;14;18;19;22;26;30;36;53;57;58;67;68;69;72;77;1";
    // The newest files name the weekday after the week.
    const std::string weekday = "2026;23;Csütörtök;" + hatos.substr(8) + "9;13;24;26;30;42";
    struct Case {
        GameId game;
        std::string line;
        Cells cells; // empty: no draw
        int year = 0, week = 0;
    };
    const Case cases[] = {
        {0, OtosLine(2019, 8, "87;11;48;27;46"), {11, 27, 46, 48, 87}, 2019, 8},
        {1, hatos1988, {3, 16, 24, 26, 36, 40, 27}, 1988, 43},
        {2, skandi, {4, 5, 8, 16, 27, 29, 30, 4, 6, 7, 22, 24, 26, 28}, 1999, 42},
        {12,
         keno,
         {1, 3, 8, 13, 14, 18, 19, 22, 26, 30, 36, 53, 57, 58, 67, 68, 69, 72, 77, 79},
         1996,
         12},
        {0, OtosLine(1900, 3, "1;2;3;4;5"), {1, 2, 3, 4, 5}, 1995, 3}, // 1900 stands for 1995
        {0, OtosLine(1899, 3, "1;2;3;4;5"), {}},
        {0, OtosLine(2051, 3, "1;2;3;4;5"), {}},
        {0, OtosLine(2000, 54, "1;2;3;4;5"), {}},
        {0, OtosLine(2000, 0, "1;2;3;4;5"), {}},
        {0, OtosLine(2000, 5, "1;2;3;4;91"), {}},
        {0, OtosLine(2000, 5, "1;2;3;4"), {}}, // a line that lost a number is no draw
        // 6/45 lines since 2016 have no seventh field; since 2007 it may be empty.
        {1, hatos + "9;13;24;26;30;42", {9, 13, 24, 26, 30, 42, 0}, 2025, 34},
        {1, hatos + "9;13;24;26;30;42;", {9, 13, 24, 26, 30, 42, 0}, 2025, 34},
        {1, hatos + "9;13;24", {}},
        {1, weekday, {9, 13, 24, 26, 30, 42, 0}, 2026, 23},
        // Any one non-digit separator, the same on the line.
        {0, "2001,7,,a,b,c,d,e,f,g,h,5,4,3,2,1", {1, 2, 3, 4, 5}, 2001, 7},
    };
    for (const Case& c : cases) {
        const ResultsParse p = ParseResultsFile(c.line, LoadGameInfo(c.game));
        ASSERT_EQ(p.ok, !c.cells.empty()) << c.line;
        if (p.ok) {
            EXPECT_EQ(CellsOf(p.draws[0], static_cast<int>(c.cells.size())), c.cells) << c.line;
            EXPECT_EQ(p.draws[0].drawYear, c.year) << c.line;
            EXPECT_EQ(p.draws[0].drawWeek, c.week) << c.line;
        }
    }
}

TEST(ResultsImport, HeadersBeforeTheDataAndBadLinesAfter) {
    const GameInfo otos = LoadGameInfo(0);
    ResultsParse p;
    // Every kind of line end, as Windows, Unix and old Mac editors save the file.
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        const std::string text = "\xEF\xBB\xBF" + end + "Year;Week;Date" + end +
                                 OtosLine(2020, 2, "1;2;3;4;5") + end +
                                 OtosLine(2020, 1, "6;7;8;9;10") + end + end;
        p = ParseResultsFile(text, otos);
        ASSERT_TRUE(p.ok);
        ASSERT_EQ(p.draws.size(), 2u);
        EXPECT_EQ(p.draws[0].drawNo, 1);
        EXPECT_EQ(p.draws[1].drawWeek, 1);
        EXPECT_EQ(p.draws[1].numbers[4], 10);
    }

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

// Only a whole valid file with at least as many draws replaces the database, oldest first.
TEST(ResultsImport, WholeValidFileReplacesTheDatabase) {
    TempHome home;
    FakeMessages messages;
    const GameInfo game = LoadGameInfo(0);
    const std::string database = home.Path() + "Huzas5.ldb";
    int imported = 0;
    ASSERT_EQ(
        HuzasokFrissitesKenoHU(OtosFile(300), "otos.csv", game, 0, database, messages, &imported),
        ImportOutcome::Imported);
    EXPECT_EQ(imported, 300);
    EXPECT_EQ(messages.Count(), 0u);
    DrawsStore store;
    ASSERT_TRUE(store.HuzasokBe(database, game, messages));
    ASSERT_EQ(store.Count(), 300);
    EXPECT_EQ(store.At(0).drawNo, 1);
    EXPECT_EQ(store.At(0).numbers[4], 5 + 1 % 80) << "the oldest line comes first";
    EXPECT_EQ(store.At(299).drawNo, 300);
    const std::string before = ReadText(database);

    std::string bad = OtosFile(300);
    bad.insert(bad.find("\r\n", 1000) + 2, OtosLine(2020, 1, "1;2;3;4;99") + "\r\n");
    EXPECT_EQ(HuzasokFrissitesKenoHU(bad, "otos.csv", game, 300, database, messages),
              ImportOutcome::BadFormat);
    EXPECT_EQ(messages.LastText(),
              "A Szerencsejáték Zrt. honlapján elérhető otos.csv állomány formátuma megváltozott "
              "és/vagy érvénytelen adatokat tartalmaz.\r\rHasználja az \"Adatbázis frissítése\" "
              "menüpontot.");
    EXPECT_EQ(ReadText(database), before);

    // A number of 0 parses but is no valid 5/90 draw.
    std::string zero = OtosFile(300);
    zero.insert(0, OtosLine(2021, 1, "1;2;3;4;") + "\r\n");
    EXPECT_EQ(HuzasokFrissitesKenoHU(zero, "otos.csv", game, 300, database, messages),
              ImportOutcome::BadFormat);
    EXPECT_EQ(ReadText(database), before);

    // A valid file too short to count as a database never overwrites one, even when the user
    // agrees to a shorter list.
    messages.QueueAnswer(Answer::Yes);
    EXPECT_EQ(
        HuzasokFrissitesKenoHU(OtosFile(27), "otos.csv", game, 300, database, messages, &imported),
        ImportOutcome::TooFewDraws);
    EXPECT_EQ(imported, 27);
    EXPECT_EQ(ReadText(database), before);

    messages.Clear();
    EXPECT_EQ(HuzasokFrissitesKenoHU(OtosFile(299), "otos.csv", game, 300, database, messages),
              ImportOutcome::Declined);
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.LastText(), "A otos.csv állomány kevesebb húzás adatait tartalmazza, mint "
                                   "a húzások jelenleg aktuális listája.\r\rMégis felülírja a "
                                   "húzások jelenleg aktuális listáját?");
    EXPECT_EQ(ReadText(database), before);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_EQ(HuzasokFrissitesKenoHU(OtosFile(299), "otos.csv", game, 300, database, messages),
              ImportOutcome::Imported);
}

TEST(BundledDraws, RealFilesOfTheFourGames) {
    TempHome home;
    FakeMessages messages;
    const std::string folder = VELMORA_TEST_DRAWS;
    // The first and the last draw of each file: number, year and week (yyyyww), numbers.
    const auto check = [&](GameId id, const char* file, int count, int firstDate, int lastDate,
                           const Cells& firstCells, const Cells& lastCells) {
        SCOPED_TRACE(file);
        ASSERT_EQ(ImportResultsFromFile(folder + file, id, home.Path(), 0, messages),
                  ImportOutcome::Imported);
        DrawsStore store;
        ASSERT_TRUE(store.HuzasokBe(home.Path() + DatabaseFile(id), LoadGameInfo(id), messages));
        ASSERT_EQ(store.Count(), count);
        const auto summary = [](const DrawRecord& d, std::size_t cells) {
            return std::tuple(d.drawNo, d.drawYear * 100 + d.drawWeek,
                              CellsOf(d, static_cast<int>(cells)));
        };
        EXPECT_EQ(summary(store.At(0), firstCells.size()), std::tuple(1, firstDate, firstCells));
        EXPECT_EQ(summary(store.At(count - 1), lastCells.size()),
                  std::tuple(count, lastDate, lastCells));
    };
    check(0, "otos.csv", 3573, 195710, 202534, {16, 61, 71, 77, 89}, {6, 24, 77, 88, 89});
    check(1, "hatos.csv", 1738, 198843, 202534, {3, 16, 24, 26, 36, 40, 27},
          {9, 13, 24, 26, 30, 42, 0});
    check(2, "skandi.csv", 1351, 199941, 202535,
          {7, 8, 13, 16, 20, 25, 31, 12, 14, 18, 24, 31, 34, 35},
          {1, 5, 12, 14, 23, 31, 35, 12, 13, 18, 19, 24, 27, 31});
    check(8, "keno.csv", 10000, 199635, 202535, {},
          {3, 6, 9, 22, 24, 38, 44, 46, 50, 54, 55, 59, 60, 62, 64, 65, 66, 68, 69, 77});
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
