#include "session/draws_update.h"

#include <filesystem>

#include "common/file_io.h"
#include "draws/bundled_draws.h"
#include "draws/draws_store.h"

namespace velmora {

namespace {

void Remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

void MakeFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

std::uint64_t SizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// The per-game notice of the maker's host, each line after a line break; empty when there is
// none or no host.
std::string OperatorNotice(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                           const Settings& settings, GameId game) {
    if (settings.downloadHost.empty()) {
        return {};
    }
    const std::string path = folders.cache + "DBError" + std::to_string(game) + ".txt";
    DownloadRequest request{NoticeUrl(settings.downloadHost, game),   path, kMaxNoticeDownload,
                            "Húzások naprakész listájának letöltése", "",   false};
    std::string notice;
    std::vector<std::uint8_t> bytes;
    if (NetAllomanyLetoltes(fetcher, messages, request) &&
        ReadFileBytes(path, kMaxNoticeDownload, bytes)) {
        std::string line;
        for (const std::uint8_t c : bytes) {
            if (c == '\n') {
                notice += "\r" + line;
                line.clear();
            } else if (c != '\r') {
                line += static_cast<char>(c);
            }
        }
        if (!line.empty()) {
            notice += "\r" + line;
        }
    }
    Remove(path);
    return notice;
}

} // namespace

UpdateResult DownloadDatabase(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                              const Settings& settings, GameId game, bool doneMessage) {
    if (settings.downloadHost.empty()) {
        messages.Error(kNoHostText);
        return UpdateResult::Failed;
    }
    MakeFolder(folders.cache);
    const std::string cached = folders.cache + DatabaseFile(game);
    const DownloadRequest request{DatabaseUrl(settings.downloadHost, game),
                                  cached,
                                  kMaxDatabaseSize,
                                  "Húzások listájának letöltése",
                                  SiteName(settings.downloadHost),
                                  true};
    if (!NetAllomanyLetoltes(fetcher, messages, request)) {
        return UpdateResult::Failed;
    }
    const std::string database = folders.data + DatabaseFile(game);
    std::vector<std::uint8_t> bytes;
    std::vector<DrawRecord> draws;
    const bool read = ReadFileBytes(cached, kMaxDatabaseSize, bytes);
    Remove(cached);
    if (!read || ParseDrawsFile(bytes, LoadGameInfo(game), draws) != DrawsLoad::Loaded) {
        messages.Error(DownloadFailedText(SiteName(settings.downloadHost)));
        return UpdateResult::Failed;
    }
    if (FileExists(database) && SizeOf(database) > bytes.size() &&
        !messages.WarningQuestion(GameName(game) +
                                  " - húzásainak letöltése.\r\rA program honlapjáról jelenleg "
                                  "letölthető lista kevesebb húzás adatait tartalmazza, mint a "
                                  "húzások jelenleg aktuális listája.\r\rMégis felülírja az "
                                  "aktuális listát?")) {
        return UpdateResult::Kept;
    }
    MakeFolder(folders.data);
    if (!ReplaceFile(database, bytes)) {
        messages.FileError("az adatbázis", "mentése");
        return UpdateResult::Failed;
    }
    if (doneMessage) {
        messages.Information(GameName(game) + " - húzások listája sikeresen letöltve.");
    }
    return UpdateResult::Changed;
}

bool DownloadAllDatabases(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                          const Settings& settings) {
    for (const GameId game : DownloadedDatabaseGames()) {
        if (DownloadDatabase(fetcher, messages, folders, settings, game, false) ==
            UpdateResult::Failed) {
            return false;
        }
    }
    messages.Information(" Adatbázis sikeresen letöltve.");
    return true;
}

UpdateResult UpdateFromOperator(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                                const Settings& settings, GameId game, int currentDrawCount,
                                const std::string& fromUrl, int* importedCount) {
    const std::string fileName = OperatorResultsFile(game);
    if (fileName.empty()) {
        return UpdateResult::Failed;
    }
    MakeFolder(folders.cache);
    const std::string url = fromUrl.empty() ? ResultsUrl(settings.operatorAddress, game) : fromUrl;
    const std::string source = fromUrl.empty() ? settings.operatorAddress : fromUrl;
    const std::string notice = OperatorNotice(fetcher, messages, folders, settings, game);
    if (!messages.Question("A Társaság honlapján elérhető " + fileName +
                           " állomány formátuma, a honlapot üzemeltetők döntése szerint "
                           "változhat.\rEz esetben sikertelen lesz az állomány feldolgozása - a "
                           "húzások listájának frissítése.\r" +
                           notice + "\rForrás: " + source + "\r\rBetölti a(z) " + fileName +
                           " állomány tartalmát?")) {
        return UpdateResult::Kept;
    }
    const std::string cached = folders.cache + fileName;
    const DownloadRequest request{
        url,           cached, kMaxResultsFileSize, "Húzások naprakész listájának letöltése",
        SiteName(url), true};
    if (!NetAllomanyLetoltes(fetcher, messages, request)) {
        return UpdateResult::Failed;
    }
    if (!FileExists(cached)) {
        messages.Error(folders.cache +
                       " könyvtár nem tartalmazza a naprakész húzások állományát.\r\r" + source);
        return UpdateResult::Failed;
    }
    MakeFolder(folders.data);
    messages.ShowWait("Húzások naprakész listájának betöltése", WaitPosition::Centre);
    int imported = 0;
    const ImportOutcome outcome =
        ImportResultsFromFile(cached, game, folders.data, currentDrawCount, messages, &imported);
    messages.HideWait();
    Remove(cached);
    if (importedCount != nullptr) {
        *importedCount = imported;
    }
    if (outcome == ImportOutcome::Declined) {
        return UpdateResult::Kept;
    }
    if (outcome != ImportOutcome::Imported) {
        return UpdateResult::Failed;
    }
    if (imported > 0) {
        messages.Information("Húzások naprakész listája sikeresen letöltve.");
    }
    return UpdateResult::Changed;
}

} // namespace velmora
