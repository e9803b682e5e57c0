#pragma once

#include <string>

#include "common/messages.h"
#include "draws/draws_download.h"
#include "settings/folders.h"
#include "settings/settings.h"

// Bringing the draws up to date from the internet: a game's database from the maker's host,
// every game's database, and the operator's results file imported into the database. The
// caller asks first whether the current work may go, and reloads the draws afterwards.
namespace velmora {

enum class UpdateResult {
    Changed, // the database file was replaced
    Kept,    // the user kept the current list (or there was nothing to change)
    Failed,  // after the message; the database is as it was
};

// "Adatbzis_letoltes": game `game`'s database from the maker's host. A downloaded file that is
// not a database of the game never replaces the current one.
UpdateResult DownloadDatabase(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                              const Settings& settings, GameId game, bool doneMessage);

// "Teljes adatbázis letöltése": every game's database, stopping at the first failure; the
// final message when all arrived. True when all arrived.
bool DownloadAllDatabases(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                          const Settings& settings);

// "Húzások naprakész listája...": the operator's results file of `game` (or the file at
// `fromUrl` when given), after the notice and the question, imported into the database.
// `importedCount` receives the draws the file held.
UpdateResult UpdateFromOperator(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                                const Settings& settings, GameId game, int currentDrawCount,
                                const std::string& fromUrl = {}, int* importedCount = nullptr);

// The sentence of a command that needs the maker's host while none is set.
inline constexpr const char* kNoHostText =
    "A program letöltési címe nincs megadva: a Velmora.ini Host kulcsa adja meg.";

} // namespace velmora
