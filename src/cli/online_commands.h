#pragma once

#include <string>

#include "cli/command_line.h"
#include "draws/draws_download.h"

namespace velmora::cli {

// Downloads through the curl program (HTTP and HTTPS, redirects followed, a timeout and a size
// limit), run directly, without a shell.
class CurlFetcher : public Fetcher {
public:
    CurlFetcher(int timeoutSeconds, std::string onlineAddress);
    FetchStatus Fetch(const std::string& url, const std::string& path,
                      std::uint64_t maxBytes) override;
    bool IsOnline() override;

private:
    int m_timeout;
    std::string m_onlineAddress;
};

// "velmora-cli draws update GAME [--from URL]": the operator's results file imported.
int DrawsUpdate(Invocation& invocation);
// "velmora-cli draws download GAME|all [--host URL]": databases from the maker's host.
int DrawsDownload(Invocation& invocation);

} // namespace velmora::cli
