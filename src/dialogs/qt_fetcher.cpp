#include "dialogs/qt_fetcher.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "dialogs/qt_messages.h"
#include "dialogs/tuzenetablak.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

constexpr int kMaxRedirects = 10;

QNetworkRequest Request(const QUrl& url, int timeoutMs) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setTransferTimeout(timeoutMs);
    return request;
}

} // namespace

QtFetcher::QtFetcher(QtMessages* messages, int timeoutSeconds, QString onlineAddress)
    : m_messages(messages), m_timeoutMs(std::max(1, timeoutSeconds) * 1000),
      m_onlineAddress(std::move(onlineAddress)) {}

FetchStatus QtFetcher::Fetch(const std::string& url, const std::string& path,
                             std::uint64_t maxBytes) {
    QFile file(ToQt(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return FetchStatus::Failed;
    }
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(Request(QUrl(ToQt(url)), m_timeoutMs));
    bool tooLarge = false;
    bool cancelled = false;
    bool writeFailed = false;
    const auto take = [&] {
        const QByteArray data = reply->readAll();
        if (static_cast<std::uint64_t>(file.size() + data.size()) > maxBytes) {
            tooLarge = true;
            reply->abort();
        } else if (file.write(data) != data.size()) {
            writeFailed = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toULongLong() > maxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, take);
    TUzenetAblak* wait = m_messages != nullptr ? m_messages->WaitWindow() : nullptr;
    if (wait != nullptr) {
        wait->SetCancel([&] {
            cancelled = true;
            reply->abort();
        });
    }
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    if (wait != nullptr) {
        wait->SetCancel({});
    }
    if (!tooLarge && !cancelled && !writeFailed) {
        take();
    }
    const bool ok = reply->error() == QNetworkReply::NoError && !tooLarge && !cancelled &&
                    !writeFailed && file.flush();
    file.close();
    reply->deleteLater();
    if (ok) {
        return FetchStatus::Done;
    }
    file.remove();
    return cancelled  ? FetchStatus::Cancelled
           : tooLarge ? FetchStatus::TooLarge
                      : FetchStatus::Failed;
}

bool QtFetcher::IsOnline() {
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        const auto reachability = QNetworkInformation::instance()->reachability();
        if (reachability == QNetworkInformation::Reachability::Online) {
            return true;
        }
        if (reachability == QNetworkInformation::Reachability::Disconnected) {
            return false;
        }
    }
    // Nothing certain from the platform: whether the configured address answers at all.
    if (m_onlineAddress.isEmpty()) {
        return false;
    }
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.head(Request(QUrl(m_onlineAddress), 10000));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    // An answer of any status means the internet was reached.
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    reply->deleteLater();
    return answered;
}

} // namespace velmora
