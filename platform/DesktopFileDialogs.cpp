#include "platform/DesktopFileDialogs.h"

#include <QApplication>
#include <QDir>

namespace quillon {
namespace {

QString BareExtension(const QString& extension)
{
    QString ext = extension;
    while (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return ext;
}

QString Run(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(QApplication::activeWindow());
    ConfigureFileDialog(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return {};
    return WithDefaultExtension(chosen.first(), request.defaultExtension);
}

}  // namespace

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save)
{
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    const QString filter = ToQtFilter(request.filter);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    // QFileDialog adds the suffix itself before its overwrite question, so the
    // question names the file that will really be written.
    dialog.setDefaultSuffix(BareExtension(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && request.confirmOverwrite));
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
}

QString DesktopFileDialogs::OpenFile(const FileDialogRequest& request)
{
    return Run(request, false);
}

QString DesktopFileDialogs::SaveFile(const FileDialogRequest& request)
{
    return Run(request, true);
}

}  // namespace quillon
