#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quillon {

AppPaths::AppPaths(QString programFolder, QString settingsFile)
    : programFolder_(std::move(programFolder)), settingsFile_(std::move(settingsFile))
{
}

QString AppPaths::ProgramFolder() const
{
    if (!programFolder_.isEmpty())
        return QDir::cleanPath(programFolder_);
    return QCoreApplication::applicationDirPath();
}

QString AppPaths::SettingsFile() const
{
    if (!settingsFile_.isEmpty())
        return settingsFile_;
    const QString fromEnvironment = qEnvironmentVariable(kSettingsFileVariable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return DefaultSettingsFile();
}

QString AppPaths::UserDataFolder() const
{
    // Beside the maker's shared "Common Files", as the settings store sits
    // in the config folder's "Tarvex".
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tarvex/Quillon");
}

QString UserFolder(const Paths& paths, const QString& name)
{
    const QString folder = name.isEmpty() ? paths.UserDataFolder() : QDir(paths.UserDataFolder()).filePath(name);
    QDir().mkpath(folder);
    return folder;
}

QString AppPaths::DefaultSettingsFile()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/Tarvex/registry.json");
}

}  // namespace quillon
