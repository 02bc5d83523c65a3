#pragma once
// Opens files and addresses with QDesktopServices.

#include <QUrl>

#include "platform/Shell.h"

namespace quillon {

class DesktopShell final : public Shell {
public:
    bool Open(const QString& target) override;
};

// The address that Open hands to the desktop: a local file for a path, the
// address itself when it carries a scheme of two or more letters (so that a
// drive letter such as "C:" still reads as a path).
QUrl ShellUrl(const QString& target);

}  // namespace quillon
