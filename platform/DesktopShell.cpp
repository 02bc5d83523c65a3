#include "platform/DesktopShell.h"

#include <QDesktopServices>

namespace quillon {

QUrl ShellUrl(const QString& target)
{
    const QUrl url(target, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(target);
}

bool DesktopShell::Open(const QString& target)
{
    return QDesktopServices::openUrl(ShellUrl(target));
}

}  // namespace quillon
