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

QString WriteErrorText(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

// Runs the request to its end in a local event loop, writing the body of a
// successful response into the file piece by piece.
TransferFacts Transfer(QNetworkAccessManager& manager, const QUrl& url, WholeFileWriter& file,
                       const DownloadProgress& progress, std::chrono::milliseconds stallTimeout)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // An older cached copy of an installer is no update.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // The bytes as the server holds them, so Content-Length counts what we store.
    request.setRawHeader("Accept-Encoding", "identity");

    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    TransferFacts facts;
    facts.http = IsHttp(url);

    QEventLoop loop;
    QTimer stallTimer;
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(stallTimeout);
    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, [&] { facts.redirected = true; });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        stallTimer.start();
        const QByteArray data = reply->readAll();
        // Bodies of redirects and error pages are not the file.
        const int status = StatusOf(*reply);
        if (facts.http && (status < 200 || status >= 300)) return;
        if (!facts.writeError.isEmpty()) return;
        if (const auto failure = file.Append(data)) {
            facts.writeError = failure->Reason;
            reply->abort();
            return;
        }
        facts.stored += data.size();
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        stallTimer.start();
        if (progress) progress(received, total);
    });
    QObject::connect(&stallTimer, &QTimer::timeout, &loop, [&] {
        facts.stalled = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    stallTimer.start();
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    stallTimer.stop();

    facts.httpStatus = StatusOf(*reply);
    facts.reasonPhrase = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (reply->error() != QNetworkReply::NoError) facts.networkError = reply->errorString();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid()) facts.contentLength = length.toLongLong();
    return facts;
}

}  // namespace

std::optional<QString> ClassifyTransfer(const TransferFacts& facts, const QString& path,
                                        std::chrono::milliseconds stallTimeout)
{
    if (facts.stalled) {
        const double seconds = static_cast<double>(stallTimeout.count()) / 1000.0;
        return QStringLiteral("No data received for %1 seconds").arg(seconds);
    }
    if (!facts.writeError.isEmpty()) return WriteErrorText(path, facts.writeError);
    if (!facts.networkError.isEmpty()) return facts.networkError;
    if (facts.http && (facts.httpStatus < 200 || facts.httpStatus >= 300))
        return QStringLiteral("The server answered %1 %2").arg(facts.httpStatus).arg(facts.reasonPhrase);
    if (!facts.redirected && facts.contentLength && *facts.contentLength != facts.stored)
        return QStringLiteral("The transfer broke off after %1 of %2 bytes")
            .arg(facts.stored)
            .arg(*facts.contentLength);
    return std::nullopt;
}

HttpNetwork::HttpNetwork(std::chrono::milliseconds stallTimeout) : stallTimeout_(stallTimeout) {}

HttpNetwork::~HttpNetwork() = default;

DownloadResult HttpNetwork::DownloadToFile(const QUrl& url, const QString& path, const DownloadProgress& progress)
{
    DownloadResult result;
    if (!url.isValid() || url.isEmpty()) {
        result.error = QStringLiteral("Invalid address \"%1\"").arg(url.toString());
        return result;
    }
    // Written beside the target and put in place only on commit, so a failed
    // download never leaves a partial file or an error page at path; an
    // uncommitted writer throws its temporary file away when it goes.
    WholeFileWriter file(path);
    if (const auto failure = file.Open()) {
        result.error = WriteErrorText(path, failure->Reason);
        return result;
    }
    if (!manager_) manager_ = std::make_unique<QNetworkAccessManager>();

    const TransferFacts facts = Transfer(*manager_, url, file, progress, stallTimeout_);
    result.httpStatus = facts.httpStatus;
    if (std::optional<QString> error = ClassifyTransfer(facts, path, stallTimeout_))
        result.error = *error;
    else if (const auto failure = file.Commit())
        result.error = WriteErrorText(path, failure->Reason);
    else
        result.ok = true;
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
