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

QString AppPaths::DefaultSettingsFile()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/Tarvex/registry.json");
}

}  // namespace quillon
