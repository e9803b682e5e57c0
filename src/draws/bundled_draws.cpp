#include "draws/bundled_draws.h"

#include "common/file_io.h"
#include "common/program_location.h"

namespace velmora {

const std::vector<GameId>& BundledGames() {
    static const std::vector<GameId> games = {0, 1, 2, kFirstKeno};
    return games;
}

std::string BundledDrawsFolder(const ProgramLocation& location) {
    if (location.installed || FolderExists(location.bundledDraws)) {
        return location.bundledDraws;
    }
#ifdef VELMORA_SOURCE_DRAWS
    return VELMORA_SOURCE_DRAWS;
#else
    return location.bundledDraws;
#endif
}

std::string BundledDrawsFolder() {
    return BundledDrawsFolder(CurrentProgramLocation());
}

ImportOutcome ImportResultsFromFile(const std::string& resultsPath, GameId game,
                                    const std::string& dataFolder, int currentDrawCount,
                                    Messages& messages, int* importedCount) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(resultsPath, kMaxResultsFileSize, bytes)) {
        messages.Error(OpenErrorText(resultsPath));
        return ImportOutcome::BadFormat;
    }
    const std::string text(bytes.begin(), bytes.end());
    const std::string fileName = OperatorResultsFile(game);
    return HuzasokFrissitesKenoHU(text, fileName.empty() ? resultsPath : fileName,
                                  LoadGameInfo(game), currentDrawCount,
                                  dataFolder + DatabaseFile(game), messages, importedCount);
}

int BuildMissingDatabases(const ProgramFolders& folders, const std::string& bundledFolder,
                          Messages& messages) {
    int built = 0;
    for (GameId game : BundledGames()) {
        const std::string database = folders.data + DatabaseFile(game);
        const std::string results = bundledFolder + OperatorResultsFile(game);
        if (FileExists(database) || !FileExists(results)) {
            continue;
        }
        if (ImportResultsFromFile(results, game, folders.data, 0, messages) ==
            ImportOutcome::Imported) {
            ++built;
        }
    }
    return built;
}

} // namespace velmora
