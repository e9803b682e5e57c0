#pragma once

#include <QString>

#include "draws/draws_download.h"

namespace velmora {

class QtMessages;

// Downloads with Qt's network access: HTTPS, redirects followed up to ten, a stalled transfer
// given up after the timeout, the size limit kept while the data arrives. The window thread
// goes on meanwhile (a local event loop), and the message window's "Mégse" stops the transfer.
class QtFetcher : public Fetcher {
public:
    // `messages` may be null (no "Mégse" then); `onlineAddress` answers IsOnline where the
    // platform does not tell.
    QtFetcher(QtMessages* messages, int timeoutSeconds, QString onlineAddress);
    FetchStatus Fetch(const std::string& url, const std::string& path,
                      std::uint64_t maxBytes) override;
    bool IsOnline() override;

private:
    QtMessages* m_messages;
    int m_timeoutMs;
    QString m_onlineAddress;
};

} // namespace velmora
