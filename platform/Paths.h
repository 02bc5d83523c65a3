#pragma once
// Where the program lives, where its settings store is kept and where it
// writes what it makes for the user.

#include <QString>

namespace quillon {

class Paths {
public:
    virtual ~Paths() = default;
    // The folder of the program's executable, without a trailing separator;
    // the catalogue and the exchange rates live there. An installed
    // program's folder is read-only: nothing is written there.
    virtual QString ProgramFolder() const = 0;
    // The settings store's file.
    virtual QString SettingsFile() const = 0;
    // The user's own writable folder for this program: the print data files
    // and the qlx, html and xls folders. It may not exist yet (UserFolder).
    virtual QString UserDataFolder() const = 0;
};

// The folder `name` in the user's data folder (the data folder itself for an
// empty name), made with any missing parents: the whole path is the user's.
// Gives the path; when it cannot be made, the write into it that follows
// fails and names the file.
QString UserFolder(const Paths& paths, const QString& name = {});

}  // namespace quillon
