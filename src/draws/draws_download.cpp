#include "draws/draws_download.h"

#include <filesystem>

namespace velmora {

namespace {

void Remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::string WithoutTrailingSlash(std::string text) {
    while (!text.empty() && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string DownloadFailedText(const std::string& site) {
    return "Sikertelen az állomány letöltése.\r\rLehetséges okai:\r  - tűzfal tiltja a program "
           "csatlakozását\r  - nem elérhető a " +
           site + "\r  - már/még nem létezik a keresett állomány";
}

bool NetAllomanyLetoltes(Fetcher& fetcher, Messages& messages, const DownloadRequest& request) {
    if (!request.caption.empty()) {
        messages.ShowWait(request.caption, WaitPosition::Centre);
    }
    Remove(request.path);
    const FetchStatus status = fetcher.Fetch(request.url, request.path, request.maxBytes);
    if (!request.caption.empty()) {
        messages.HideWait();
    }
    if (status == FetchStatus::Done) {
        return true;
    }
    Remove(request.path); // a broken transfer leaves nothing in the cache
    if (status == FetchStatus::Cancelled) {
        return false;
    }
    if (request.reportNoConnection && !fetcher.IsOnline()) {
        messages.Error(kNoConnectionText);
    } else if (!request.site.empty()) {
        messages.Error(DownloadFailedText(request.site));
    }
    return false;
}

std::string DatabaseUrl(const std::string& host, GameId game) {
    return WithoutTrailingSlash(host) + "/hu/download/Database/" + DatabaseFile(game);
}

std::string NoticeUrl(const std::string& host, GameId game) {
    return WithoutTrailingSlash(host) + "/hu/download/Database/DBError" + std::to_string(game) +
           ".txt";
}

std::string ResultsUrl(const std::string& operatorAddress, GameId game) {
    return WithoutTrailingSlash(operatorAddress) + "/" + OperatorResultsFile(game);
}

std::string SiteName(const std::string& url) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t end = url.find('/', start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

const std::vector<GameId>& DownloadedDatabaseGames() {
    static const std::vector<GameId> games = {0, 1,  2,  3,  4,  5,  6,  7,
                                              8, 17, 18, 19, 20, 21, 22, 23};
    return games;
}

} // namespace velmora
