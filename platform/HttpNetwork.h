#pragma once
// Downloads with QNetworkAccessManager, run to completion in a local event loop.

#include <chrono>
#include <memory>

#include "platform/Network.h"

#include <optional>

#include <QString>

class QNetworkAccessManager;

namespace quillon {

// What a finished transfer left behind, as the request saw it.
struct TransferFacts {
    bool stalled = false;              // nothing arrived for the stall timeout
    QString writeError;                // why the body could not be written; empty when it could
    QString networkError;              // Qt's report of a broken transfer; empty when none
    bool http = true;                  // an http(s) address, whose status counts
    int httpStatus = 0;                // the final response's status, 0 when none arrived
    QString reasonPhrase;              // the final response's reason phrase
    bool redirected = false;           // at least one redirect was followed
    std::optional<qint64> contentLength;  // the length the response announced
    qint64 stored = 0;                 // the body's bytes written
};

// Whether the body may be put in place: nothing when it is complete, else
// why not. The first of these counts: a stall, a write failure, Qt's report,
// a status outside 2xx, a body shorter or longer than announced (after a
// redirect Qt may still report an earlier hop's length, so it is not
// compared then; a short body shows as Qt's own report instead).
std::optional<QString> ClassifyTransfer(const TransferFacts& facts, const QString& path,
                                        std::chrono::milliseconds stallTimeout);

class HttpNetwork final : public Network {
public:
    // A transfer that receives nothing for this long counts as broken.
    static constexpr std::chrono::milliseconds kDefaultStallTimeout{60'000};

    explicit HttpNetwork(std::chrono::milliseconds stallTimeout = kDefaultStallTimeout);
    ~HttpNetwork() override;

    DownloadResult DownloadToFile(const QUrl& url, const QString& path,
                                  const DownloadProgress& progress = {}) override;
    bool IsConnected() override;

    void SetStallTimeout(std::chrono::milliseconds timeout) { stallTimeout_ = timeout; }

private:
    std::unique_ptr<QNetworkAccessManager> manager_;
    std::chrono::milliseconds stallTimeout_;
};

}  // namespace quillon
