#pragma once
// A download as the user sees it: the hourglass cursor while it runs and a
// small progress window that shows how far it has come.

#include <memory>

#include <QPointer>
#include <QString>
#include <QUrl>

#include "platform/Network.h"

class QProgressDialog;
class QWidget;

namespace quillon {

struct Seams;

// The hourglass from construction until Restore() or destruction, whichever
// comes first; the cursor is restored exactly once.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Restore();

private:
    bool active_ = true;
};

// A progress window without a cancel button that comes up only when a
// download takes a moment; it never takes input away from anything.
class DownloadIndicator {
public:
    DownloadIndicator(QWidget* parent, const QString& label);
    ~DownloadIndicator();
    DownloadIndicator(const DownloadIndicator&) = delete;
    DownloadIndicator& operator=(const DownloadIndicator&) = delete;

    DownloadProgress Callback();

private:
    QPointer<QProgressDialog> dialog_;
};

// Downloads url to path through the network seam with the progress window
// up. A fault thrown by the network counts as a failure. The caller keeps the
// hourglass up.
DownloadResult DownloadWithIndicator(Seams& seams, QWidget* parent, const QUrl& url, const QString& path,
                                     const QString& label);

}  // namespace quillon
