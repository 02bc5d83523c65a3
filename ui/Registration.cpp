#include "ui/Registration.h"

#include <QDir>

#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

RegistrationResult Failed(RegistrationResult result, const SettingsStore& store, const QString& what)
{
    result.ok = false;
    result.error = what + QStringLiteral(": ") + store.LastError();
    return result;
}

}  // namespace

RegistrationResult RegisterProgram(SettingsStore& store, const QString& dataFolder, const QString& programFolder)
{
    RegistrationResult result;
    const QString path = QString::fromLatin1(kDataFolderValue);

    // The shared data folder belongs to whichever of the maker's programs came
    // first: keep one that is there.
    if (!store.OpenKey(QString::fromLatin1(kCommonFilesKey), true))
        return Failed(result, store, QStringLiteral("Cannot open the key"));
    if (store.ValueExists(path)) {
        result.done << QStringLiteral("Data folder kept: %1").arg(store.ReadString(path).value_or(QString()));
    } else {
        const QString folder = QDir::cleanPath(QDir(dataFolder).absolutePath());
        if (!store.WriteString(path, folder)) return Failed(result, store, QStringLiteral("Cannot record the data folder"));
        result.done << QStringLiteral("Data folder recorded: %1").arg(folder);
    }

    if (!store.OpenKey(QString::fromLatin1(kProgramKey), true))
        return Failed(result, store, QStringLiteral("Cannot open the key"));
    const QString folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    const std::pair<const char*, QString> values[] = {
        {"MenuCaption", QStringLiteral("QUILLON")},
        {"UpdateExe", QStringLiteral("quillon-setup.exe")},
        {"Path", folder},
        {"ExeName", QStringLiteral("quillon")},
    };
    for (const auto& [name, text] : values)
        if (!store.WriteString(QLatin1String(name), text))
            return Failed(result, store, QStringLiteral("Cannot register the program"));
    store.CloseKey();
    result.done << QStringLiteral("Program registered: %1").arg(folder);
    result.ok = true;
    return result;
}

}  // namespace quillon
