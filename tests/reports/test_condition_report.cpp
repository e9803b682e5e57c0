#include "reports/condition_report.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A 5/90 variation of 17 numbers, made by this version on 6 December 2026 at 18:30, of 100
// rows at 225 forint; number 17 in none of them.
ConditionReportInput SeventeenNumbers() {
    ConditionReportInput in;
    in.game = 0;
    for (int n = 1; n <= 17; ++n) {
        in.numbers.push_back(static_cast<std::uint8_t>(n));
        in.frequencies.push_back(n == 17 ? 0 : 30);
    }
    in.rowCount = 100;
    in.generationDate = 46362 + 18.5 / 24; // 2026-12-06 18:30
    return in;
}

// "Készült: ..." right-aligned in 30 characters, the page in 40 less the version's 7.
const std::string kHeader =
    " Velmora Personal 2.3.0.0  Készült: 2026. 12. 06. 18:30" + std::string(24, ' ') + "1/1 oldal";

TEST(ConditionReport, APlainVariation) {
    const std::vector<std::string> lines = ConditionReport(SeventeenNumbers());
    const std::vector<std::string> expected = {
        kHeader,
        std::string(90, '-'),
        "  Szelvény ára: 225 forint     Variáció költsége: 22 500 forint\r",
        "   Magyar 5/90 lottó\r  Variációra kijelölt számsor:",
        "             1 -  2 -  3 -  4 -  5 -  6 -  7 -  8 -  9 - 10 - 11 - 12 - 13 - 14 - 15 - 16",
        "            17",
        "\r  Nincs kijelölt feltétel.",
        "\r  A kijelölt feltételek miatt, az alábbi 1 szám hiányzik a variáció listájából:\r",
        "           17",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ConditionReport, ConditionParagraphs) {
    ConditionReportInput in = SeventeenNumbers();
    in.frequencies.assign(17, 1);
    in.fixed = {88, 89};
    in.price = 1.5;
    in.currency = 1;
    ConditionSet& c = in.conditions;
    c.favoured = {true, 3, 8, 2, 2};
    c.twins = {true, 1, 0};
    c.sum = {true, false, 20, 40};
    c.hitRatio = {true, false, 1, 3, false, 10, 20};
    c.decadeParity = {true, true, 1, 2, false};
    c.deviation = {true, 1.5f, 12.25f};
    const std::vector<std::string> lines = ConditionReport(in);
    const std::vector<std::string> expected = {
        kHeader,
        std::string(90, '-'),
        "  Szelvény ára: 1,5 euro     Variáció költsége: 150,00 euro\r",
        "   Magyar 5/90 lottó\r  Variációra kijelölt számsor:",
        "             1 -  2 -  3 -  4 -  5 -  6 -  7 -  8 -  9 - 10 - 11 - 12 - 13 - 14 - 15 - 16",
        "            17",
        "\r  Fix szám: 88 - 89",
        "\r  Favorizált számok feltétel.\r        A favorizált számcsoport 6 száma a(z) 3. "
        "számtól a(z) 8. számig terjed:\r          - a számcsoportból, szelvényenként pontosan "
        "2 találat lehet.",
        "\r  Számcsoport páros/páratlan aránya feltétel.\r        A páros-páratlan "
        "számcsoportok eloszlásának aránya szerint:\r          - fixen meghatározott arányban, "
        "minimum 1, maximum 2 páratlan számcsoport\r            lehet egy szelvényen.",
        "\r  Találati arány feltétel.\r        Kizárt találati arány alkalmazása:\r          - "
        "a(z) 10 - 20. sorsolások nyerőszámaival összehasonlítva a számsorokat,\r            a "
        "minimum 1, maximum 3 találatos számsorokat kizárva",
        "\r  Ikerszám feltétel.\r        Nem szerepelhet ikerszám a szelvényeken.",
        "\r  Számsor összege feltétel.\r        Egy szelvény számsorainak összege minimum 20, "
        "maximum 40 lehet.",
        "\r  Szórás feltétel.\r        Szelvényenként 1,50 - 12,25-ig terjedhet a szórás "
        "értéke.",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ConditionReport, ALongReportBreaksOnceIntoTwoPages) {
    ConditionReportInput in = SeventeenNumbers();
    in.engineNote = "Megjegyzés";
    in.interrupted = true;
    in.carriedRows = 40;
    in.conditions.twins = {true, 0, 2};
    in.conditions.primes = {true, 1, 1};
    in.conditions.mirrors = {true, 0, 1};
    const std::vector<std::string> lines = ConditionReport(in, 10);
    int headers = 0;
    int breaks = 0;
    for (const std::string& line : lines) {
        headers += line.starts_with(" Velmora Personal");
        breaks += line.find('\f') != std::string::npos;
    }
    EXPECT_EQ(headers, 2);
    EXPECT_EQ(breaks, 1) << "never a third page";
    EXPECT_TRUE(lines.front().ends_with("1/2 oldal"));
    const auto second = std::find_if(lines.begin() + 1, lines.end(), [](const std::string& l) {
        return l.starts_with(" Velmora Personal");
    });
    ASSERT_NE(second, lines.end());
    EXPECT_TRUE(second->ends_with("2/2 oldal"));
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "\r A variáció 40 számsora egy korábbi, vagy egy módosított variáció "
                        "eredménye.\r Ezekre a számsorokra, lehet nem érvényesek az alább "
                        "felsorolt feltételek."),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "\r  Prímszám feltétel.\r        Egy szelvényen, pontosan 1 darab "
                        "prímszám szerepelhet."),
              lines.end());
}

} // namespace
} // namespace velmora
