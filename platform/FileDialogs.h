#pragma once
// The common open and save dialogs. Filters are written as the program's
// designs give them: "Description (*.ext)|*.ext" pairs joined by "|".

#include <QString>

namespace quillon {

struct FileDialogRequest {
    QString title;
    QString initialFolder;
    QString initialName;       // the name offered in the box (save; open may use it too)
    QString filter;            // "Quillon Files (*.qlx)|*.qlx"
    QString defaultExtension;  // "qlx" or ".qlx"; added to a chosen name without one
    bool confirmOverwrite = true;  // save only: ask before replacing an existing file
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or empty text when the user cancelled.
    virtual QString OpenFile(const FileDialogRequest& request) = 0;
    virtual QString SaveFile(const FileDialogRequest& request) = 0;
};

// "A (*.a)|*.a|B (*.b;*.c)|*.b;*.c" -> "A (*.a);;B (*.b *.c)". A description
// without its patterns in brackets gets them appended.
QString ToQtFilter(const QString& filter);

// The path with "." + extension appended when its file name has no extension
// of its own; empty paths and empty extensions are returned unchanged.
QString WithDefaultExtension(const QString& path, const QString& extension);

}  // namespace quillon
