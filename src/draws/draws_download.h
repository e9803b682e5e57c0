#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/messages.h"
#include "game/game_catalogue.h"

// Fetching files from the internet into the download cache: the addresses of the maker's
// databases and the operator's results files, one download routine with its messages, and the
// fetcher it runs on (Qt's network in the window, curl on the command line, a stub in tests).
namespace velmora {

enum class FetchStatus {
    Done,
    Failed,    // no connection, no site, no file, a broken transfer or the timeout
    TooLarge,  // longer than the limit of its kind
    Cancelled, // the user pressed "Mégse"
};

// Fetches one address into a file. Implementations follow redirects (within a limit), give up
// after a timeout, and stop at `maxBytes`; on anything but Done they leave no file behind.
class Fetcher {
public:
    virtual ~Fetcher() = default;
    virtual FetchStatus Fetch(const std::string& url, const std::string& path,
                              std::uint64_t maxBytes) = 0;
    // Whether the internet can be reached at all (asked only to word a failure).
    virtual bool IsOnline() = 0;
};

// The largest file of each kind a download takes.
inline constexpr std::uint64_t kMaxNoticeDownload = 64 * 1024;
inline constexpr std::uint64_t kMaxVersionDownload = 4 * 1024;
inline constexpr std::uint64_t kMaxInstallerDownload = 512ull * 1024 * 1024;

struct DownloadRequest {
    std::string url;
    std::string path; // where the file lands (in the cache)
    std::uint64_t maxBytes = 0;
    std::string caption; // the message window's text meanwhile; empty: none
    std::string site;    // named by the failure message; empty: no message
    bool reportNoConnection = false;
};

// "NetAllomanyLetoltes" after its discard question: the caption in the message window, the
// old file deleted, the fetch, and the failure messages. True when the file is there.
bool NetAllomanyLetoltes(Fetcher& fetcher, Messages& messages, const DownloadRequest& request);

// "Sikertelen az állomány letöltése. ..." naming `site`.
std::string DownloadFailedText(const std::string& site);
inline constexpr const char* kNoConnectionText = "Nincs Internet-kapcsolat.";

// Addresses on the maker's host (`host` without a trailing '/') and on the operator's site
// (`operatorAddress`, the folder of the results files, ending with '/').
std::string DatabaseUrl(const std::string& host, GameId game);
std::string NoticeUrl(const std::string& host, GameId game);
std::string ResultsUrl(const std::string& operatorAddress, GameId game);
// The host part of an address ("https://example.org/a/b" gives "example.org"), for messages.
std::string SiteName(const std::string& url);

// The games whose databases "Teljes adatbázis letöltése" fetches, in order: 0..8 and 17..23
// (the Keno games 9..16 share game 8's file).
const std::vector<GameId>& DownloadedDatabaseGames();

} // namespace velmora
