#pragma once
// Whether a desktop application is set up to open a kind of file. This is how
// the program learns that a spreadsheet program ("Excel.Application") is
// there to open its exported .xls files.

#include <QString>
#include <QStringList>

namespace quillon {

// The freedesktop.org folders, most important first.
struct DesktopFolders {
    QStringList configDirs;  // where mimeapps.list lives ($XDG_CONFIG_HOME, $XDG_CONFIG_DIRS)
    QStringList dataDirs;    // holding applications/ ($XDG_DATA_HOME, $XDG_DATA_DIRS)
};

DesktopFolders StandardDesktopFolders();

// The MIME types that a registered class stands for; empty for a class the
// program does not know ("Excel.Application" -> application/vnd.ms-excel).
QStringList MimeTypesForClass(const QString& className);

// True when mimeapps.list names an installed application for the type (or one
// of its aliases), or an installed application's desktop file lists it.
bool MimeTypeHasApplication(const QString& mimeType, const DesktopFolders& folders);

// The settings store's classes-root question, answered from the desktop.
bool DesktopClassRegistered(const QString& className);

}  // namespace quillon
