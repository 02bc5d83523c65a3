#include "platform/HttpNetwork.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include "platform/TextFile.h"

namespace quillon {
namespace {

bool IsHttp(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

int StatusOf(const QNetworkReply& reply)
{
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A non-loopback interface that is up and has an address a router could use.
bool AnyInterfaceOnline()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = iface.addressEntries();
        for (const QNetworkAddressEntry& entry : entries) {
            const QHostAddress ip = entry.ip();
            if (!ip.isLoopback() && !ip.isLinkLocal())
                return true;
        }
    }
    return false;
}

}  // namespace

HttpNetwork::HttpNetwork(std::chrono::milliseconds stallTimeout) : stallTimeout_(stallTimeout) {}

HttpNetwork::~HttpNetwork() = default;

DownloadResult HttpNetwork::DownloadToFile(const QUrl& url, const QString& path,
                                           const DownloadProgress& progress)
{
    DownloadResult result;
    if (!url.isValid() || url.isEmpty()) {
        result.error = QStringLiteral("Invalid address \"%1\"").arg(url.toString());
        return result;
    }

    // Written beside the target and put in place only on commit, so a failed
    // download never leaves a partial file or an error page at path.
    WholeFileWriter file(path);
    if (const auto failure = file.Open()) {
        result.error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), failure->Reason);
        return result;
    }

    if (!manager_)
        manager_ = std::make_unique<QNetworkAccessManager>();

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // An older cached copy of an installer is no update.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    // The bytes as the server holds them, so Content-Length counts what we store.
    request.setRawHeader("Accept-Encoding", "identity");

    std::unique_ptr<QNetworkReply> reply(manager_->get(request));

    QEventLoop loop;
    QTimer stallTimer;
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(stallTimeout_);
    bool stalled = false;
    QString writeError;
    qint64 stored = 0;
    // After a redirect Qt may still report an earlier hop's Content-Length;
    // a short body then shows as a broken transfer, which Qt reports itself.
    bool redirected = false;
    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, [&] { redirected = true; });

    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        stallTimer.start();
        const QByteArray data = reply->readAll();
        // Bodies of redirects and error pages are not the file.
        const int status = StatusOf(*reply);
        if (IsHttp(url) && (status < 200 || status >= 300))
            return;
        if (!writeError.isEmpty())
            return;
        if (const auto failure = file.Append(data)) {
            writeError = failure->Reason;
            reply->abort();
            return;
        }
        stored += data.size();
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop,
                     [&](qint64 received, qint64 total) {
                         stallTimer.start();
                         if (progress)
                             progress(received, total);
                     });
    QObject::connect(&stallTimer, &QTimer::timeout, &loop, [&] {
        stalled = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    stallTimer.start();
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    stallTimer.stop();

    result.httpStatus = StatusOf(*reply);
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (stalled) {
        result.error = QStringLiteral("No data received for %1 seconds")
                           .arg(static_cast<double>(stallTimeout_.count()) / 1000.0);
    } else if (!writeError.isEmpty()) {
        result.error = QStringLiteral("Cannot write %1: %2")
                           .arg(QDir::toNativeSeparators(path), writeError);
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = reply->errorString();
    } else if (IsHttp(url) && (result.httpStatus < 200 || result.httpStatus >= 300)) {
        result.error = QStringLiteral("The server answered %1 %2")
                           .arg(result.httpStatus)
                           .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute)
                                    .toString());
    } else if (!redirected && length.isValid() && length.toLongLong() != stored) {
        result.error = QStringLiteral("The transfer broke off after %1 of %2 bytes")
                           .arg(stored)
                           .arg(length.toLongLong());
    } else if (const auto failure = file.Commit()) {
        result.error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), failure->Reason);
    } else {
        result.ok = true;
    }
    // An uncommitted writer throws its temporary file away when it goes.
    return result;
}

bool HttpNetwork::IsConnected()
{
    // The glib backend needs no D-Bus; the default one does and fails without it.
    static const bool loaded =
        QNetworkInformation::instance() != nullptr
        || QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (loaded && QNetworkInformation::instance() != nullptr) {
        switch (QNetworkInformation::instance()->reachability()) {
        case QNetworkInformation::Reachability::Online:
        case QNetworkInformation::Reachability::Site:
            return true;
        case QNetworkInformation::Reachability::Disconnected:
        case QNetworkInformation::Reachability::Local:
            return false;
        case QNetworkInformation::Reachability::Unknown:
            break;
        }
    }
    return AnyInterfaceOnline();
}

}  // namespace quillon
