#pragma once
// What the spreadsheet and HTML exports share: the folder beside the program,
// the save dialog that remembers its name between uses, and writing a file
// whole or not at all.

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

// The folder `name` beside the program; created, one level only, when missing.
QString ExportFolder(const Paths& paths, const QString& name);

// The error box text for a file that could not be written.
QString WriteErrorText(const QString& path, const QString& reason);

// Replaces the file at path with bytes, all or nothing. On failure shows the
// error box naming the file and returns false; an existing file is then left
// as it was.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, Messages& messages);

}  // namespace quillon
