#include "variation/variation_export.h"

#include <gtest/gtest.h>

#include "support/engine_runs.h"

namespace velmora {
namespace {

using namespace testing;

// Two rows of five positions over the numbers 1..10.
VariationStore TwoRows() {
    VariationStore store;
    store.Reset(5, 10);
    store.Reserve(2);
    for (Row row : {Row{0, 1, 2, 3, 4}, Row{5, 6, 7, 8, 9}}) {
        store.Append(row.data());
    }
    return store;
}

ExportSource Source(std::vector<std::uint8_t> fixed = {}) {
    ExportSource source;
    source.numbers = FirstNumbers(10);
    source.fixed = std::move(fixed);
    source.gameName = "Ötöslottó";
    source.versionText = "2.3.0.0";
    source.dateText = ShortDateText(46362);
    return source;
}

TEST(VariationExport, EveryFormatExactly) {
    const VariationStore store = TwoRows();
    EXPECT_EQ(ExportText(store, Source(), ExportFormat::Tmb), "Array(1,2,3,4,5,6,7,8,9,10);\r\n");
    EXPECT_EQ(ExportText(store, Source({11}), ExportFormat::Tmb),
              "Array(1,2,3,4,5,11,6,7,8,9,10,11);\r\n");
    EXPECT_EQ(ExportText(store, Source({11}), ExportFormat::Csv),
              "1;2;3;4;5;11\r\n6;7;8;9;10;11\r\n");
    EXPECT_EQ(ExportText(store, Source(), ExportFormat::Txt),
              " 1 -  2 -  3 -  4 -  5\r\n 6 -  7 -  8 -  9 - 10\r\n");
    EXPECT_EQ(ShortDateText(46362), "2026. 12. 06.");
    EXPECT_EQ(ExportText(store, Source(), ExportFormat::Html),
              "<!DOCTYPE HTML>\r\n<html>\r\n<head>\r\n<meta name=\"generator\" content=\"Velmora "
              "Personal 2.3.0.0 - 2026. 12. 06.\" />\r\n<meta charset=\"utf-8\">\r\n"
              "<title>Ötöslottó</title>\r\n<style type=\"text/css\"> ol li {font-family:\"Courier "
              "New\", Courier, monospace; white-space:pre; font-size:14px; "
              "margin-left:30px;}</style>\r\n</head>\r\n<body>\r\n<ol>\r\n"
              "<li>   1 -  2 -  3 -  4 -  5</li>\r\n<li>   6 -  7 -  8 -  9 - 10</li>\r\n"
              "</ol>\r\n</body>\r\n</html>\r\n");
}

TEST(VariationImport, ReadsRowsAndSkipsHeadersAndBlankLines) {
    const ImportedRows rows = ParseImport(
        "Számsorok\r\n\r\n1;2;3;4;5\r\n 6 -  7 -  8 -  9 - 10\r\n3;4;5;6;7", 5, 90, "x.csv");
    ASSERT_TRUE(rows.ok) << rows.error << rows.lineError;
    EXPECT_EQ(rows.numbers, FirstNumbers(10));
    EXPECT_EQ(rows.rows, (std::vector<Row>{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {3, 4, 5, 6, 7}}));
}

TEST(VariationImport, ReportsTheFirstBadLine) {
    auto error = [](const std::string& text) {
        const ImportedRows rows = ParseImport(text, 5, 90, "x.csv");
        EXPECT_FALSE(rows.ok);
        return rows.error.empty() ? ImportLineErrorText(rows.lineError) : rows.error;
    };
    EXPECT_EQ(error("1;2;3;4;5\r\n1;2;3;4;5;6\r\n"),
              "A kijelölt állomány 2. sora érvénytelen formátumú, vagy nem az aktuális játékhoz "
              "tartozik.");
    EXPECT_EQ(error("1;2;3;4;5 6\r\n"), "Nem az aktuális játékhoz tartozó állomány.\r\rx.csv");
    EXPECT_EQ(error("1;2;3;4;5\r\n6;7;7;8;9\r\n"), "2. sor 3. száma (7) ismétlődik.");
    EXPECT_EQ(error("0;1;2;3;4\r\n"), "1. sor 1. száma (0) érvénytelen tartományba esik.");
    EXPECT_EQ(error("1;2;3;4;91\r\n"), "1. sor 5. száma (91) érvénytelen tartományba esik.");
    // Only RowLength numbers in all: no variation can be made of them.
    EXPECT_EQ(error("1;2;3;4;5\r\n5;4;3;2;1\r\n"), "Érvénytelen formátumú állomány.\r\rx.csv");
    EXPECT_EQ(error("header only\r\n"), "Érvénytelen formátumú állomány.\r\rx.csv");
}

} // namespace
} // namespace velmora
