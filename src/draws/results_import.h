#pragma once

#include <string>
#include <vector>

#include "common/messages.h"
#include "draws/draws_store.h"

// The operator's results files ("otos.csv", "hatos.csv", "skandi.csv", "keno.csv"): one draw
// per line, newest first, turned into the game's draws database.
namespace velmora {

// The daily Keno's file is under a megabyte; a larger file is refused unread.
inline constexpr std::size_t kMaxResultsFileSize = 16 * 1024 * 1024;

// Fields between the week and the numbers, per game.
int SkippedFields(GameId id);

struct ResultsParse {
    bool ok = false;
    std::vector<DrawRecord> draws; // in file order (newest first), numbered 1.. in that order
    int badLine = 0;               // 1-based line of the file that stopped the parse
};

// Parses a whole results file. A byte-order mark, empty lines and header lines before the
// first data line are skipped; every later line must be a draw.
ResultsParse ParseResultsFile(const std::string& text, const GameInfo& game);

// The draws oldest first, numbered 1, 2, 3, ... in that order. A database holds at most
// 10000 draws, so only the newest 10000 are kept (the daily Keno passed that number).
std::vector<DrawRecord> Chronological(const std::vector<DrawRecord>& newestFirst);

enum class ImportOutcome {
    Imported,
    Declined,    // the user kept the current list
    BadFormat,   // the file did not parse (the database is unchanged)
    TooFewDraws, // it parsed, but into fewer draws than a database holds (unchanged too)
    SaveFailed,  // the database could not be written (the old one is unchanged)
};

// Imports `resultsText` (read from `fileName`) into the database at `databasePath`: asks before
// replacing a longer list, writes the chronological database only when the whole file parsed
// and the result loads as a database (a list too short to count as one is refused as well).
// Shows the program's messages on failure; `importedCount` receives the draws the file held.
ImportOutcome HuzasokFrissitesKenoHU(const std::string& resultsText, const std::string& fileName,
                                     const GameInfo& game, int currentDrawCount,
                                     const std::string& databasePath, Messages& messages,
                                     int* importedCount = nullptr);

// The format error shown when a results file cannot be used.
std::string ResultsFormatErrorText(const std::string& fileName);

} // namespace velmora
