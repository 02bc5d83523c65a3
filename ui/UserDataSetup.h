#pragma once
// What an installed program does for its user before the window opens, when
// the launcher asks for it: a shared data folder holding the price list, and
// the program's registration. The program does it in its own process, with
// the settings store and message boxes the window uses, so that a damaged
// settings file reaches the user in the program's own warning box instead of
// being moved aside unseen by a helper.
//
// The data folder the launcher gives is its own to look after: when it goes
// missing it is made again and seeded, and a newer packaged price list
// replaces the user's copy while that copy is still the one seeded (a copy
// changed by a pricing update or by hand is kept). A folder recorded by
// someone else (the user, another of the maker's programs) is never created,
// filled or replaced: when it is missing, the window's missing-files message
// says so.

#include <QString>
#include <QStringList>

namespace quillon {

class SettingsStore;
struct Seams;

// Environment variables the launcher sets: the folder of the packaged price
// list, and optionally the data folder to give a user who has none recorded
// (default: DefaultSharedDataFolder()).
inline constexpr char kPackagedDataVariable[] = "QUILLON_PACKAGED_DATA";
inline constexpr char kDataFolderVariable[] = "QUILLON_DATA_FOLDER";

struct DataSetupRequest {
    QString packagedFolder;     // holds the packaged M_lom.dat
    QString defaultDataFolder;  // given to the user when no data folder is recorded
    QString programFolder;      // registered as the program's folder
};

struct DataSetupResult {
    bool ok = false;
    QStringList done;  // one line per step, for the user
    QString error;     // why it failed
};

// <user data folder>/Tarvex/Common Files: where the maker's programs share
// their data on this platform.
QString DefaultSharedDataFolder();

DataSetupResult SetUpUserData(SettingsStore& store, const DataSetupRequest& request);

// A damaged settings file met by any store of these seams is reported in a
// warning box (the store has moved it aside by then).
void ReportSettingsProblems(Seams& seams);

// Runs SetUpUserData when the launcher asked for it (kPackagedDataVariable
// set), and takes the variables out of the environment so that programs this
// one starts do not inherit them. A failure is written to standard error:
// the window then reports what it misses itself. Returns false on failure.
bool SetUpForLauncher(Seams& seams);

}  // namespace quillon
