#include "variation/variation_export.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

// Two rows of five: positions over the numbers 1..10, or the numbers of two draws.
VariationStore TwoRows(bool drawsList) {
    VariationStore store;
    store.Reset(5, 10);
    store.Reserve(2);
    for (Row row : drawsList ? std::vector<Row>{{1, 2, 3, 4, 90}, {3, 4, 5, 6, 7}}
                             : std::vector<Row>{{0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}}) {
        drawsList ? store.AppendRaw(row.data()) : store.Append(row.data());
    }
    return store;
}

TEST(VariationExport, EveryFormatExactly) {
    struct Case {
        ExportFormat format;
        bool fixed; // one fixed number, 11
        bool drawsList;
        std::string text;
    };
    using enum ExportFormat;
    const Case cases[] = {
        {Tmb, false, false, "Array(1,2,3,4,5,6,7,8,9,10);\r\n"},
        {Tmb, true, false, "Array(1,2,3,4,5,11,6,7,8,9,10,11);\r\n"},
        {Csv, true, false, "1;2;3;4;5;11\r\n6;7;8;9;10;11\r\n"},
        {Txt, false, false, " 1 -  2 -  3 -  4 -  5\r\n 6 -  7 -  8 -  9 - 10\r\n"},
        {Txt, true, false, " 1 -  2 -  3 -  4 -  5 - 11\r\n 6 -  7 -  8 -  9 - 10 - 11\r\n"},
        // A draws-list row is a whole draw: its numbers as they are, no fixed number after them.
        {Tmb, true, true, "Array(1,2,3,4,90,3,4,5,6,7);\r\n"},
        {Csv, true, true, "1;2;3;4;90\r\n3;4;5;6;7\r\n"},
        {Txt, true, true, " 1 -  2 -  3 -  4 - 90\r\n 3 -  4 -  5 -  6 -  7\r\n"},
        {Html, false, false,
         "<!DOCTYPE HTML>\r\n<html>\r\n<head>\r\n<meta name=\"generator\" content=\"Velmora "
         "Personal 2.3.0.0 - 2026. 12. 06.\" />\r\n<meta charset=\"utf-8\">\r\n<title>Ötöslottó"
         "</title>\r\n<style type=\"text/css\"> ol li {font-family:\"Courier New\", Courier, "
         "monospace; white-space:pre; font-size:14px; margin-left:30px;}</style>\r\n</head>\r\n"
         "<body>\r\n<ol>\r\n<li>   1 -  2 -  3 -  4 -  5</li>\r\n<li>   6 -  7 -  8 -  9 - "
         "10</li>\r\n</ol>\r\n</body>\r\n</html>\r\n"},
    };
    for (const Case& c : cases) {
        ExportSource source;
        source.numbers = FirstNumbers(10);
        source.fixed = c.fixed ? std::vector<std::uint8_t>{11} : std::vector<std::uint8_t>{};
        source.drawsList = c.drawsList;
        source.gameName = "Ötöslottó";
        source.versionText = "2.3.0.0";
        source.dateText = ShortDateText(46362);
        EXPECT_EQ(ExportText(TwoRows(c.drawsList), source, c.format), c.text) << c.text;
    }
}

TEST(VariationImport, ReadsRowsAndSkipsHeadersAndBlankLines) {
    // With every kind of line end, and a byte-order mark before the header or the first row.
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        for (const std::string start : {"", "\xEF\xBB\xBF"}) {
            for (const std::string& header : {"Számsorok" + end + end, std::string()}) {
                const std::string text = start + header + "1;2;3;4;5" + end +
                                         " 6 -  7 -  8 -  9 - 10" + end + "3;4;5;6;7";
                const ImportedRows rows = ParseImport(text, 5, 90, "x.csv");
                ASSERT_TRUE(rows.ok) << text << rows.error << rows.lineError;
                EXPECT_EQ(rows.numbers, FirstNumbers(10));
                EXPECT_EQ(rows.rows,
                          (std::vector<Row>{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {3, 4, 5, 6, 7}}));
            }
        }
    }
}

// A generation date read from a damaged file names no day: no date is shown.
// A date's second drawing may become a row long after its first (another combination reached
// it): it is found by its numbers among the draws stored before it. A row no draw holds any
// more (the draws were edited since) has no draw.
TEST(VariationExport, TheDrawOfEachDrawsListRow) {
    std::vector<DrawRecord> draws(2);
    draws[0].drawNo = 7;
    draws[1].drawNo = 9;
    const Row first = {1, 2, 3, 4, 5, 6, 7};
    const Row second = {8, 9, 10, 11, 12, 13, 14};
    const Row other = {20, 21, 22, 23, 24, 25, 26};
    std::copy(first.begin(), first.end(), draws[0].numbers.begin());
    std::copy(second.begin(), second.end(), draws[0].numbers.begin() + kSecondDrawingCell);
    std::copy(other.begin(), other.end(), draws[1].numbers.begin());
    VariationStore store;
    store.Reset(7, 35);
    store.Reserve(4);
    for (const Row& row : {second, other, first, Row{30, 31, 32, 33, 34, 35, 29}}) {
        store.AppendRaw(row.data());
    }
    store.drawIds = {7, 9, -1};
    EXPECT_EQ(RowDraws(store, draws), (std::vector<std::int32_t>{7, 9, 7, 0}));
    store.drawIds = {7, 9, 11, 12, -1};
    EXPECT_EQ(RowDraws(store, {}), (std::vector<std::int32_t>{7, 9, 11, 12}))
        << "one row a stored draw: the draws are not needed";
}

TEST(VariationExport, DateTextOfDamagedDayNumbers) {
    EXPECT_EQ(ShortDateText(46362), "2026. 12. 06.");
    for (double damaged : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 2958466.0}) {
        EXPECT_EQ(ShortDateText(damaged), "") << damaged;
    }
}

TEST(VariationImport, ReportsTheFirstBadLine) {
    const std::string line2 = "A kijelölt állomány 2. sora érvénytelen formátumú, vagy nem az "
                              "aktuális játékhoz tartozik.";
    const std::string invalid = "Érvénytelen formátumú állomány.\r\rx.csv";
    const std::pair<std::string, std::string> cases[] = {
        {"1;2;3;4;5\r\n1;2;3;4;5;6\r\n", line2},
        {"1;2;3;4;5\r\n001;002;003;004;006\r\n", line2}, // more than 2k digits
        {"1;2;3;4;5 6\r\n", "Nem az aktuális játékhoz tartozó állomány.\r\rx.csv"},
        {"1;2;3;4;5\r\n6;7;7;8;9\r\n", "2. sor 3. száma (7) ismétlődik."},
        {"0;1;2;3;4\r\n", "1. sor 1. száma (0) érvénytelen tartományba esik."},
        {"1;2;3;4;91\r\n", "1. sor 5. száma (91) érvénytelen tartományba esik."},
        // Only RowLength numbers in all: no variation can be made of them.
        {"1;2;3;4;5\r\n5;4;3;2;1\r\n", invalid},
        {"header only\r\n", invalid},
    };
    for (const auto& [text, error] : cases) {
        const ImportedRows rows = ParseImport(text, 5, 90, "x.csv");
        EXPECT_FALSE(rows.ok) << text;
        EXPECT_EQ(rows.error.empty() ? ImportLineErrorText(rows.lineError) : rows.error, error)
            << text;
    }
}

} // namespace
} // namespace velmora
