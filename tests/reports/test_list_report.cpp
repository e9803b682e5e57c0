#include "reports/list_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/file_io.h"
#include "draws/results_import.h"

namespace velmora {
namespace {

std::tm Noon() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 12;
    t.tm_min = 5;
    return t;
}

// The first `count` draws of a game from its bundled results file, oldest first.
std::vector<DrawRecord> BundledDraws(GameId game, const char* file, std::size_t count) {
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadFile(std::string(VELMORA_TEST_DRAWS) + file, 16 << 20, bytes), FileRead::Read);
    const ResultsParse parse =
        ParseResultsFile(std::string(bytes.begin(), bytes.end()), LoadGameInfo(game));
    EXPECT_TRUE(parse.ok) << file;
    std::vector<DrawRecord> draws = Chronological(parse.draws);
    draws.resize(std::min(count, draws.size()));
    return draws;
}

std::vector<DrawRecord> Synthetic(int count, int numbers) {
    std::vector<DrawRecord> draws;
    for (int i = 1; i <= count; ++i) {
        DrawRecord d;
        d.drawNo = i;
        d.drawYear = 2000;
        d.drawWeek = i % 53 + 1;
        for (int n = 0; n < numbers; ++n) {
            d.numbers[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n + 1);
        }
        draws.push_back(d);
    }
    return draws;
}

// A variation store holding `rows` (positions, or numbers in a draws-list variation).
VariationStore Store(int width, int numbers, const std::vector<std::vector<std::uint8_t>>& rows) {
    VariationStore store;
    store.Reset(width, numbers);
    EXPECT_TRUE(store.Reserve(static_cast<long long>(rows.size())));
    for (const auto& row : rows) {
        store.AppendRaw(row.data());
    }
    return store;
}

// Compares a report with its expected file, line by line; VELMORA_UPDATE_EXPECTED=1 writes
// the file instead (to be read through before it is committed).
void ExpectFile(const std::vector<std::string>& lines, const std::string& name) {
    const std::string path = std::string(VELMORA_TEST_EXPECTED) + name;
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    if (std::getenv("VELMORA_UPDATE_EXPECTED") != nullptr) {
        std::ofstream(path, std::ios::binary) << text;
        return;
    }
    std::vector<std::uint8_t> expected;
    ASSERT_EQ(ReadFile(path, 1 << 20, expected), FileRead::Read) << path;
    EXPECT_EQ(text, std::string(expected.begin(), expected.end())) << name;
}

// One report of each form: the draws list of each layout family (pairs of draws, an extra
// number, the two drawings of a date, Keno's one draw a line) and the variation list by row
// length, with fixed numbers and with the draw column of a draws-list variation.
TEST(ListReport, EachFormMatchesItsExpectedFile) {
    const std::tm now = Noon();
    ExpectFile(DrawsListReport(LoadGameInfo(0), BundledDraws(0, "otos.csv", 5), now),
               "draws_5_90.txt");
    ExpectFile(DrawsListReport(LoadGameInfo(1), BundledDraws(1, "hatos.csv", 4), now),
               "draws_6_45.txt");
    ExpectFile(DrawsListReport(LoadGameInfo(2), BundledDraws(2, "skandi.csv", 3), now),
               "draws_7_35.txt");
    ExpectFile(DrawsListReport(LoadGameInfo(8), BundledDraws(8, "keno.csv", 3), now),
               "draws_keno.txt");

    ExportSource five;
    five.numbers = {1, 2, 3, 4, 5, 6, 70};
    const VariationStore fiveRows =
        Store(5, 7, {{0, 1, 2, 3, 4}, {2, 3, 4, 5, 6}, {0, 2, 4, 5, 6}});
    ExpectFile(VariationListReport(LoadGameInfo(0), fiveRows, five,
                                   VariationListTitle(7, 0, false, false, 3), now),
               "variation_5_90.txt");

    ExportSource six;
    six.numbers = {3, 9, 17, 22, 31, 40, 45};
    six.fixed = {11};
    const VariationStore sixRows = Store(5, 7, {{0, 1, 2, 3, 4}, {1, 2, 3, 5, 6}});
    ExpectFile(VariationListReport(LoadGameInfo(1), sixRows, six,
                                   VariationListTitle(7, 1, true, false, 2), now),
               "variation_6_45_fixed.txt");

    // A 7/35 draws-list variation: draw 12's two drawings, then draw 40.
    ExportSource drawn;
    drawn.drawsList = true;
    drawn.rowDraws = {12, 12, 40};
    const VariationStore drawnRows = Store(
        7, 35, {{1, 4, 9, 16, 25, 30, 35}, {2, 3, 5, 7, 11, 13, 17}, {6, 8, 10, 12, 14, 20, 33}});
    ExpectFile(VariationListReport(LoadGameInfo(2), drawnRows, drawn,
                                   VariationListTitle(10, 0, false, false, 3), now),
               "variation_7_35_draws.txt");

    ExportSource keno;
    for (int n = 1; n <= 12; ++n) {
        keno.numbers.push_back(static_cast<std::uint8_t>(n * 6));
    }
    const VariationStore kenoRows =
        Store(10, 12, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11}});
    GameInfo tenNumbers = LoadGameInfo(8);
    tenNumbers.rowLength = 10;
    ExpectFile(VariationListReport(tenNumbers, kenoRows, keno,
                                   VariationListTitle(12, 0, false, true, 2), now),
               "variation_keno_10.txt");
}

// Page boundaries: 130 draws of the 5/90 fill one page of 65 lines two a line, the 131st
// opens a second page under its own header block; the variation list pages the same way.
TEST(ListReport, PagesBreakAtTheirBoundaries) {
    const std::vector<std::string> full =
        DrawsListReport(LoadGameInfo(0), Synthetic(130, 5), Noon(), 65);
    EXPECT_EQ(full.size(), 5u + 65u);
    EXPECT_TRUE(full[0].ends_with("1/1 oldal"));
    const std::vector<std::string> lines =
        DrawsListReport(LoadGameInfo(0), Synthetic(131, 5), Noon(), 65);
    ASSERT_EQ(lines.size(), 5u + 65u + 1u + 5u + 1u);
    EXPECT_TRUE(lines[0].ends_with("1/2 oldal"));
    EXPECT_EQ(lines[70], std::string(90, '-') + "\f\r");
    EXPECT_TRUE(lines[71].ends_with("2/2 oldal"));
    EXPECT_EQ(lines.back(), "    131.  2000. 26.    1 -  2 -  3 -  4 -  5");
    EXPECT_EQ(DrawsListReport(LoadGameInfo(8), Synthetic(66, 20), Noon(), 65).size(),
              5u + 65u + 1u + 5u + 1u)
        << "Keno: one draw a line";

    std::vector<std::vector<std::uint8_t>> rows(5, {0, 1, 2, 3, 4});
    ExportSource source;
    source.numbers = {1, 2, 3, 4, 5};
    const std::vector<std::string> variation =
        VariationListReport(LoadGameInfo(0), Store(5, 5, rows), source, "t", Noon(), 2);
    ASSERT_EQ(variation.size(), 5u + 2u + 1u + 5u + 1u) << "four rows on the first page";
    EXPECT_TRUE(variation.back().starts_with("         5.")) << variation.back();
    EXPECT_TRUE(variation.front().ends_with("1/2 oldal"));
}

TEST(ListReport, VariationTitles) {
    EXPECT_EQ(VariationListTitle(7, 0, false, false, 3), "7 szám variációja 3 számsorra");
    EXPECT_EQ(VariationListTitle(12, 1, true, false, 65),
              "12 szám 1 hibapontra optimalizált variációja 65 számsorra");
    EXPECT_EQ(VariationListTitle(20, 2, false, true, 1500),
              "20 szám 2 hibapontos példabontása 1 500 számsorra");
}

} // namespace
} // namespace velmora
