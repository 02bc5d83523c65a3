#include "online/Downloads.h"

#include <exception>

#include <QApplication>
#include <QProgressDialog>

#include "platform/Seams.h"

namespace quillon {

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    Restore();
}

void WaitCursor::Restore()
{
    if (!active_) return;
    active_ = false;
    QApplication::restoreOverrideCursor();
}

DownloadIndicator::DownloadIndicator(QWidget* parent, const QString& label)
    : dialog_(new QProgressDialog(label, QString(), 0, 0, parent))
{
    dialog_->setObjectName(QStringLiteral("dlgDownloadProgress"));
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    // Quick downloads finish before the window would show.
    dialog_->setMinimumDuration(500);
    dialog_->setValue(0);
}

DownloadIndicator::~DownloadIndicator()
{
    delete dialog_.data();
}

DownloadProgress DownloadIndicator::Callback()
{
    QPointer<QProgressDialog> dialog = dialog_;
    return [dialog](qint64 received, qint64 total) {
        if (!dialog) return;
        if (total > 0) {
            // The bar counts kilobytes so that large installers fit an int.
            const int maximum = static_cast<int>(qMin<qint64>(total / 1024 + 1, 1 << 30));
            dialog->setMaximum(maximum);
            dialog->setValue(static_cast<int>(qMin<qint64>(received / 1024, maximum)));
            if (received >= total) dialog->setValue(maximum);
        } else {
            dialog->setMaximum(0);  // size unknown: a busy bar
        }
    };
}

DownloadResult DownloadWithIndicator(Seams& seams, QWidget* parent, const QUrl& url, const QString& path,
                                     const QString& label)
{
    DownloadIndicator indicator(parent, label);
    try {
        return seams.network.DownloadToFile(url, path, indicator.Callback());
    } catch (const std::exception& fault) {
        DownloadResult failed;
        failed.error = QString::fromLocal8Bit(fault.what());
        return failed;
    }
}

}  // namespace quillon
