#pragma once

#include <string>
#include <vector>

#include "common/messages.h"
#include "common/program_location.h"
#include "draws/results_import.h"
#include "settings/folders.h"

// The results files shipped with the program, from which the Hungarian games' databases are
// built when a program folder has none yet.
namespace velmora {

// The games with a bundled results file (game 8 builds the database all Keno games share).
const std::vector<GameId>& BundledGames();

// Where the bundled results files of the program at `location` are: share/velmora/draws/ of an
// installed program, "draws/" beside a portable one's executable, else the source tree's (a test
// or benchmark executable has no copy of its own).
std::string BundledDrawsFolder(const ProgramLocation& location);
// The same for the running executable.
std::string BundledDrawsFolder();

// Builds every missing database of the bundled games; returns how many were built.
int BuildMissingDatabases(const ProgramFolders& folders, const std::string& bundledFolder,
                          Messages& messages);

// Imports one results file into the database of `game` in `dataFolder`.
ImportOutcome ImportResultsFromFile(const std::string& resultsPath, GameId game,
                                    const std::string& dataFolder, int currentDrawCount,
                                    Messages& messages, int* importedCount = nullptr);

} // namespace velmora
