#pragma once
// What the spreadsheet and HTML exports share: their folder in the user's
// data folder, the save dialog that remembers its name between uses, and
// writing the file with the error box that names it.

#include <QByteArray>
#include <QString>

namespace quillon {

class Messages;
class Paths;

// A save dialog lives as long as the main window and offers the name last
// chosen in it. The HTML export shares its dialog with the query-file save
// and clears the name before each use; the spreadsheet export has its own.
struct SaveDialogState {
    QString lastName;
};

// The folder `name` in the user's data folder, made when missing (the
// program's own folder is not the user's to write).
QString ExportFolder(const Paths& paths, const QString& name);

// Replaces the file at path with bytes, all or nothing. On failure shows the
// error box naming the file and the reason, and returns false; an existing
// file is then left as it was.
bool WriteExportFile(const QString& path, const QByteArray& bytes, Messages& messages);

}  // namespace quillon
