#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/version.h"
#include "conditions/condition_set.h"
#include "game/game_catalogue.h"

// The condition report ("Információk"): the price and cost of the variation, its numbers, the
// warnings of an interrupted or altered variation, a paragraph for every active condition and
// the marked numbers no row holds, as the lines of one or two pages.
namespace velmora {

// Lines of one page in ordinary use.
inline constexpr int kReportLinesPerPage = 71;

// " forint", " euro", " kuna", " lei", " dinar", " hrivnya"
const char* CurrencyName(int currency);

struct ConditionReportInput {
    GameId game = 0;
    std::vector<std::uint8_t> numbers; // the variation numbers, in the ticket's order
    std::vector<std::uint8_t> fixed;
    ConditionSet conditions;
    long long rowCount = 0;
    std::vector<std::uint32_t> frequencies; // rows holding each position of `numbers`
    int currency = 0;
    double price = 225;
    ProgramVersion version = kProgramVersion; // of the program that made the variation
    double generationDate = 0;                // days since 30 December 1899, with the time
    std::string engineNote;                   // the engine's note of its last run
    bool interrupted = false;
    long long carriedRows = 0; // rows of an earlier or altered variation
    bool partialList = false;  // the list shows only part of the variation
    int drawCount = 0;         // draws in the database
};

// The report's lines (a line may hold "\r" breaks). A report longer than a page is built
// again as two pages: one page break, and every header says "n/2".
std::vector<std::string> ConditionReport(const ConditionReportInput& input,
                                         int linesPerPage = kReportLinesPerPage);

} // namespace velmora
