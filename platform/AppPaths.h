#pragma once
// The program's real paths, each overridable (a portable install, tests).

#include "platform/Paths.h"

namespace quillon {

// The environment variable that moves the settings store to another file.
inline constexpr char kSettingsFileVariable[] = "QUILLON_SETTINGS_FILE";

class AppPaths final : public Paths {
public:
    // Empty arguments take the defaults: the executable's folder, and the file
    // named by QUILLON_SETTINGS_FILE, else DefaultSettingsFile().
    explicit AppPaths(QString programFolder = {}, QString settingsFile = {});

    QString ProgramFolder() const override;
    QString SettingsFile() const override;
    // <user data folder>/Tarvex/Quillon (XDG_DATA_HOME, else ~/.local/share).
    QString UserDataFolder() const override;

    // <user config folder>/Tarvex/registry.json, shared by the maker's programs.
    static QString DefaultSettingsFile();

private:
    QString programFolder_;
    QString settingsFile_;
};

}  // namespace quillon
