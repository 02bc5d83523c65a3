#pragma once
// Downloading a file from the maker's server, and whether the computer is online.

#include <functional>

#include <QString>
#include <QUrl>

namespace quillon {

struct DownloadResult {
    bool ok = false;
    QString error;        // why it failed, for a log or a detail line; empty on success
    int httpStatus = 0;   // the final response's status, 0 when none arrived

    explicit operator bool() const { return ok; }
};

// Bytes received so far and the expected total (-1 while unknown).
using DownloadProgress = std::function<void(qint64 received, qint64 total)>;

class Network {
public:
    virtual ~Network() = default;
    // Fetches url into path and returns when done. On success the complete
    // body is at path; on failure path is as it was before the call (an older
    // file of that name is kept, nothing partial is left there).
    virtual DownloadResult DownloadToFile(const QUrl& url, const QString& path,
                                          const DownloadProgress& progress = {}) = 0;
    virtual bool IsConnected() = 0;
};

}  // namespace quillon
