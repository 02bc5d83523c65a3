#pragma once
// What the maker's installer leaves in the settings store, done for a build
// tree: the shared data folder (holding the price list) when none is recorded
// yet, and the program's own registration, which the update window lists.

#include <QString>
#include <QStringList>

namespace quillon {

class SettingsStore;

struct RegistrationResult {
    bool ok = false;
    QStringList done;  // one line per value written or kept, for the user
    QString error;     // why it failed
};

// dataFolder: the folder holding M_lom.dat, recorded only when the store has
// no "Common Files" path yet. programFolder: where the quillon program lives.
RegistrationResult RegisterProgram(SettingsStore& store, const QString& dataFolder, const QString& programFolder);

}  // namespace quillon
