#include "platform/DesktopAssociations.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>

namespace quillon {
namespace {

// group name -> (key -> value) of a desktop-entry style file, read plainly:
// QSettings would take the ";" separated lists apart in its own way.
using IniGroups = QHash<QString, QHash<QString, QString>>;

IniGroups ReadIni(const QString& path)
{
    IniGroups groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QString group;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            groups[group].insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return groups;
}

QStringList ListValue(const QString& value)
{
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QStringList EnvironmentDirs(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

// A desktop file id "vendor-app.desktop" may live as vendor/app.desktop.
QString FindDesktopFile(const QString& id, const QStringList& dataDirs)
{
    for (const QString& dir : dataDirs) {
        const QString applications = dir + QStringLiteral("/applications/");
        QString candidate = applications + id;
        if (QFileInfo::exists(candidate))
            return candidate;
        QString nested = id;
        nested.replace(QLatin1Char('-'), QLatin1Char('/'));
        candidate = applications + nested;
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

bool ProgramExists(const QString& program)
{
    if (program.isEmpty())
        return true;
    if (QDir::isAbsolutePath(program))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// A desktop file that a desktop would offer: not hidden, its TryExec present.
bool UsableEntry(const IniGroups& entry)
{
    const auto& fields = entry.value(QStringLiteral("Desktop Entry"));
    if (fields.isEmpty())
        return false;
    if (fields.value(QStringLiteral("Hidden")).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return false;
    return ProgramExists(fields.value(QStringLiteral("TryExec")));
}

}  // namespace

DesktopFolders StandardDesktopFolders()
{
    DesktopFolders folders;
    folders.configDirs << QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    folders.configDirs << EnvironmentDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    folders.dataDirs << QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    folders.dataDirs << EnvironmentDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    return folders;
}

QStringList MimeTypesForClass(const QString& className)
{
    if (className.compare(QLatin1String("Excel.Application"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("application/vnd.ms-excel")};
    return {};
}

bool MimeTypeHasApplication(const QString& mimeType, const DesktopFolders& folders)
{
    QSet<QString> names{mimeType};
    const QMimeType known = QMimeDatabase().mimeTypeForName(mimeType);
    if (known.isValid()) {
        names.insert(known.name());
        for (const QString& alias : known.aliases())
            names.insert(alias);
    }

    // mimeapps.list: defaults and added associations, minus removed ones.
    QStringList mimeappsFiles;
    for (const QString& dir : folders.configDirs)
        mimeappsFiles << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir : folders.dataDirs)
        mimeappsFiles << dir + QStringLiteral("/applications/mimeapps.list");
    QSet<QString> removed;
    QStringList associated;
    for (const QString& path : mimeappsFiles) {
        const IniGroups groups = ReadIni(path);
        for (const QString& name : names) {
            for (const QString& id : ListValue(groups.value(QStringLiteral("Removed Associations")).value(name)))
                removed.insert(id);
            associated << ListValue(groups.value(QStringLiteral("Default Applications")).value(name));
            associated << ListValue(groups.value(QStringLiteral("Added Associations")).value(name));
        }
    }
    for (const QString& id : associated) {
        if (removed.contains(id))
            continue;
        const QString file = FindDesktopFile(id, folders.dataDirs);
        if (!file.isEmpty() && UsableEntry(ReadIni(file)))
            return true;
    }

    // Desktop files that declare the type themselves.
    for (const QString& dir : folders.dataDirs) {
        const QString applications = dir + QStringLiteral("/applications");
        QDirIterator it(applications, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QString id = QDir(applications).relativeFilePath(file);
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (removed.contains(id))
                continue;
            const IniGroups entry = ReadIni(file);
            const QStringList types = ListValue(entry.value(QStringLiteral("Desktop Entry")).value(QStringLiteral("MimeType")));
            const bool listsType = std::any_of(types.begin(), types.end(),
                                               [&](const QString& type) { return names.contains(type); });
            if (listsType && UsableEntry(entry))
                return true;
        }
    }
    return false;
}

bool DesktopClassRegistered(const QString& className)
{
    const QStringList types = MimeTypesForClass(className);
    const DesktopFolders folders = StandardDesktopFolders();
    return std::any_of(types.begin(), types.end(), [&](const QString& type) {
        return MimeTypeHasApplication(type, folders);
    });
}

}  // namespace quillon
