#pragma once
// Downloads with QNetworkAccessManager, run to completion in a local event loop.

#include <chrono>
#include <memory>

#include "platform/Network.h"

class QNetworkAccessManager;

namespace quillon {

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
