#pragma once
// Open and save dialogs shown with QFileDialog, parented to the active window.

#include <QFileDialog>

#include "platform/FileDialogs.h"

namespace quillon {

class DesktopFileDialogs final : public FileDialogs {
public:
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;
};

// The dialog set up for the request, not yet shown (tests look at it).
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save);

}  // namespace quillon
