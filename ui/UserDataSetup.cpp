#include "ui/UserDataSetup.h"

#include <cstdio>
#include <optional>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/Seams.h"
#include "platform/SettingsStore.h"
#include "ui/Registration.h"

namespace quillon {
namespace {

const QString kCommonFilesKey = QStringLiteral("\\Software\\Tarvex\\Common Files");
// The launcher's own record: the data folder it gave, and a checksum of the
// price list it last put there.
const QString kLauncherKey = QStringLiteral("\\Software\\Tarvex\\Quillon\\Launcher");
const QString kPathValue = QStringLiteral("Path");
const QString kDataFolderValue = QStringLiteral("DataFolder");
const QString kSeededPriceListValue = QStringLiteral("SeededPriceList");
const QString kPriceListName = QStringLiteral("M_lom.dat");

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
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
    const std::optional<QString> recorded = ReadText(store, kCommonFilesKey, kPathValue);
    const std::optional<QString> given = ReadText(store, kLauncherKey, kDataFolderValue);
    const std::optional<QString> seeded = ReadText(store, kLauncherKey, kSeededPriceListValue);
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

    const QString priceList = QDir(folder).filePath(kPriceListName);
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

    if (!store.OpenKey(kLauncherKey, true) || !store.WriteString(kDataFolderValue, folder) ||
        !store.WriteString(kSeededPriceListValue, seededSum)) {
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
