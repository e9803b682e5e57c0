#pragma once

#include <string>
#include <vector>

#include "common/messages.h"
#include "draws/results_import.h"
#include "settings/folders.h"

// The results files shipped with the program, from which the Hungarian games' databases are
// built when a program folder has none yet.
namespace velmora {

// The games with a bundled results file (game 8 builds the database all Keno games share).
const std::vector<GameId>& BundledGames();

// Where the bundled results files are: "draws/" beside the executable, else the source tree's.
std::string BundledDrawsFolder();

// Builds every missing database of the bundled games; returns how many were built.
int BuildMissingDatabases(const ProgramFolders& folders, const std::string& bundledFolder,
                          Messages& messages);

// Imports one results file into the database of `game` in `dataFolder`.
ImportOutcome ImportResultsFromFile(const std::string& resultsPath, GameId game,
                                    const std::string& dataFolder, int currentDrawCount,
                                    Messages& messages, int* importedCount = nullptr);

} // namespace velmora
