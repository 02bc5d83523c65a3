#include "ui/UserDataSetup.h"

#include <cstdio>
#include <optional>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "engine/DataSet.h"
#include "platform/Seams.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"
#include "platform/TextFile.h"
#include "ui/Registration.h"

namespace quillon {
namespace {

const QString kCommonFiles = QString::fromLatin1(kCommonFilesKey);
const QString kPathValue = QString::fromLatin1(kDataFolderValue);
const QString kLauncher = QString::fromLatin1(kLauncherKey);
const QString kGivenFolderValue = QString::fromLatin1(kLauncherDataFolderValue);
const QString kSeededValue = QString::fromLatin1(kSeededPriceListValue);
const QString kPriceListName = QString::fromLatin1(kPriceListFileName);

QString CleanFolder(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

// Reads a text value of a key, empty when the key or the value is missing.
std::optional<QString> ReadText(SettingsStore& store, const QString& key, const QString& name)
{
    if (!store.KeyExists(key) || !store.OpenKey(key, false) || !store.ValueExists(name)) {
        store.CloseKey();
        return QString();
    }
    const std::optional<QString> text = store.ReadString(name);
    store.CloseKey();
    return text;
}

std::optional<QByteArray> ReadWhole(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

QString Checksum(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// All or nothing: a half-written price list would be worse than the old one.
bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error)
{
    if (const std::optional<FileWriteError> failed = WriteWholeFile(path, bytes)) {
        error = QStringLiteral("Cannot write %1: %2").arg(failed->File, failed->Reason);
        return false;
    }
    return true;
}

DataSetupResult Fail(DataSetupResult result, const QString& error)
{
    result.ok = false;
    result.error = error;
    return result;
}

}  // namespace

QString DefaultSharedDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tarvex/Common Files");
}

DataSetupResult SetUpUserData(SettingsStore& store, const DataSetupRequest& request)
{
    DataSetupResult result;
    const std::optional<QString> recorded = ReadText(store, kCommonFiles, kPathValue);
    const std::optional<QString> given = ReadText(store, kLauncher, kGivenFolderValue);
    const std::optional<QString> seeded = ReadText(store, kLauncher, kSeededValue);
    if (!recorded || !given || !seeded)
        return Fail(result, QStringLiteral("Cannot read the settings: %1").arg(store.LastError()));

    const QString defaultFolder = CleanFolder(request.defaultDataFolder);
    const QString folder = recorded->isEmpty() ? defaultFolder : CleanFolder(*recorded);
    // The default folder counts as the launcher's also when an earlier
    // launcher recorded it without keeping a record of its own.
    const bool ours = recorded->isEmpty() || folder == defaultFolder ||
                      (!given->isEmpty() && folder == CleanFolder(*given));
    if (!ours) {
        result.done << (QFileInfo(folder).isDir()
                            ? QStringLiteral("Data folder kept: %1").arg(folder)
                            : QStringLiteral("Data folder missing, left for its owner: %1").arg(folder));
        const RegistrationResult registration = RegisterProgram(store, folder, request.programFolder);
        result.done << registration.done;
        if (!registration.ok) return Fail(result, registration.error);
        result.ok = true;
        return result;
    }

    QString error;
    const std::optional<QByteArray> packaged =
        ReadWhole(QDir(request.packagedFolder).filePath(kPriceListName), error);
    if (!packaged) return Fail(result, error);
    const QString packagedSum = Checksum(*packaged);
    if (!QDir().mkpath(folder)) return Fail(result, QStringLiteral("Cannot create the data folder %1").arg(folder));

    // The user's copy may be spelt M_LOM.DAT; the program finds it so, and so
    // must this, or a second copy would hide it.
    const QString priceList =
        QFile::decodeName(QByteArray::fromStdString(FileInFolder(FilePathForEngine(folder), kPriceListFileName)));
    QString seededSum = *seeded;
    if (!QFileInfo::exists(priceList)) {
        if (!WriteWhole(priceList, *packaged, error)) return Fail(result, error);
        seededSum = packagedSum;
        result.done << QStringLiteral("Price list seeded: %1").arg(priceList);
    } else {
        const std::optional<QByteArray> current = ReadWhole(priceList, error);
        if (!current) return Fail(result, error);
        const QString currentSum = Checksum(*current);
        if (currentSum == packagedSum) {
            // Already the packaged one, whoever put it there.
            seededSum = packagedSum;
            result.done << QStringLiteral("Price list current: %1").arg(priceList);
        } else if (!seededSum.isEmpty() && currentSum == seededSum) {
            if (!WriteWhole(priceList, *packaged, error)) return Fail(result, error);
            seededSum = packagedSum;
            result.done << QStringLiteral("Price list brought up to date: %1").arg(priceList);
        } else {
            result.done << QStringLiteral("Price list kept, changed since it was seeded: %1").arg(priceList);
        }
    }

    if (!store.OpenKey(kLauncher, true) || !store.WriteString(kGivenFolderValue, folder) ||
        !store.WriteString(kSeededValue, seededSum)) {
        store.CloseKey();
        return Fail(result, QStringLiteral("Cannot record the data folder: %1").arg(store.LastError()));
    }
    store.CloseKey();
    const RegistrationResult registration = RegisterProgram(store, folder, request.programFolder);
    result.done << registration.done;
    if (!registration.ok) return Fail(result, registration.error);
    result.ok = true;
    return result;
}

void ReportSettingsProblems(Seams& seams)
{
    seams.onSettingsProblem = [&seams](const SettingsProblem& problem) { seams.messages.Warning(problem.Text()); };
}

bool SetUpForLauncher(Seams& seams)
{
    const QString packaged = qEnvironmentVariable(kPackagedDataVariable);
    const QString dataFolder = qEnvironmentVariable(kDataFolderVariable);
    qunsetenv(kPackagedDataVariable);
    qunsetenv(kDataFolderVariable);
    if (packaged.isEmpty()) return true;

    SettingsStore store = seams.Settings();
    const DataSetupResult result = SetUpUserData(
        store, {packaged, dataFolder.isEmpty() ? DefaultSharedDataFolder() : dataFolder, seams.paths.ProgramFolder()});
    if (!result.ok) std::fprintf(stderr, "quillon: setting up the user's data failed: %s\n", qPrintable(result.error));
    return result.ok;
}

}  // namespace quillon
