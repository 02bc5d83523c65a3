#include "online/OnlineCommon.h"

#include <charconv>
#include <limits>
#include <string>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "engine/NumberText.h"
#include "engine/TextFile.h"
#include "platform/Seams.h"
#include "platform/TextFile.h"

namespace quillon {

OnlineError::OnlineError(QString text) : text_(std::move(text)), utf8_(text_.toUtf8()) {}

QString MakerWebServer(const Seams& seams)
{
    SettingsStore store = seams.Settings();
    QString server;
    if (store.OpenKey(QString::fromLatin1(kCommonFilesKey), true))
        server = StoredTextOrEmpty(store, QString::fromLatin1(kWebServerValue)).trimmed();
    else
        qWarning("The key %s cannot be opened: %s", kCommonFilesKey, qUtf8Printable(store.LastError()));
    while (server.endsWith(QLatin1Char('/'))) server.chop(1);
    return server.isEmpty() ? QString::fromLatin1(kDefaultWebServer) : server;
}

QString DefaultCommonFilesFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tarvex/Common Files");
}

bool FolderExists(const QString& path)
{
    return QFileInfo(path).isDir();
}

QString SharedFolder(const Seams& seams, const QString& subFolder)
{
    SettingsStore store = seams.Settings();
    QString base;
    const QString path = QString::fromLatin1(kDataFolderValue);
    if (!store.OpenKey(QString::fromLatin1(kCommonFilesKey), true))
        qWarning("The key %s cannot be opened: %s", kCommonFilesKey, qUtf8Printable(store.LastError()));
    else if (store.ValueExists(path))
        base = StoredTextOrEmpty(store, path);
    store.CloseKey();
    // Without a recorded folder (or with an empty one, which would name the
    // file system's root) the downloads go to the user's own folder, which is
    // ours to make whole.
    if (base.isEmpty()) return UserFolder(seams.paths, subFolder) + QLatin1Char('/');
    const QString folder = base + QLatin1Char('/') + subFolder + QLatin1Char('/');
    if (!FolderExists(folder)) {
        // One level only: the shared folder itself belongs to the installers.
        QDir().mkdir(folder);
    }
    return folder;
}

QString ReminderKeyPath(const QString& registryKey, const QString& leaf)
{
    QString path = QString::fromLatin1(kMakerKey) + QLatin1Char('\\');
    if (!registryKey.isEmpty()) path += registryKey + QLatin1Char('\\');
    return path + leaf;
}

bool IsNumberText(const QString& text)
{
    if (text.isEmpty()) return true;
    long double value = 0;
    return TryReadNumber(text.toStdString(), value);
}

int ReadWholeNumber(const QString& text)
{
    const std::string digits = text.trimmed().toStdString();
    std::string_view view(digits);
    if (!view.empty() && view.front() == '+') view.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (view.empty() || ec != std::errc() || end != view.data() + view.size())
        throw OnlineError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString FormatShortDate(const QDate& date)
{
    return QString::asprintf("%02d/%02d/%04d", date.month(), date.day(), date.year());
}

std::optional<QDate> ParseShortDate(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3) return std::nullopt;
    const auto number = [](const QString& part, int minDigits, int maxDigits) -> int {
        if (part.size() < minDigits || part.size() > maxDigits) return -1;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
        }
        return part.toInt();
    };
    const int month = number(parts[0], 1, 2);
    const int day = number(parts[1], 1, 2);
    const int year = number(parts[2], 4, 4);
    if (month < 0 || day < 0 || year < 1) return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid()) return std::nullopt;
    return date;
}

QDate ReadShortDate(const QString& text)
{
    const std::optional<QDate> date = ParseShortDate(text);
    if (!date) throw OnlineError(QStringLiteral("'%1' is not a valid date").arg(text));
    return *date;
}

QString ShortDateAfter(const QDate& today, qint64 days)
{
    const QDate date = today.addDays(days);
    // A date the stored form cannot hold would make every later check fail.
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        throw OnlineError(QStringLiteral("'%1' is not a valid date")
                              .arg(QStringLiteral("%1 + %2").arg(FormatShortDate(today)).arg(days)));
    return FormatShortDate(date);
}

bool IsDue(const QDateTime& now, const QDate& date)
{
    return now >= date.startOfDay();
}

QStringList ReadTextLinesOrRaise(const QString& path)
{
    const TextLines read = ReadTextLines(FilePathForEngine(path));
    if (read.Error) throw OnlineError(QStringLiteral("Cannot open file \"%1\"").arg(QDir::toNativeSeparators(path)));
    QStringList lines;
    for (const std::string& line : read.Lines)
        lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    return lines;
}

QString StoredTextOrEmpty(SettingsStore& store, const QString& name)
{
    std::optional<QString> text = store.ReadString(name);
    if (text) return *text;
    qWarning("The stored value %s cannot be read: %s", qUtf8Printable(name), qUtf8Printable(store.LastError()));
    return {};
}

void OpenKeyOrRaise(SettingsStore& store, const QString& path)
{
    if (!store.OpenKey(path, true))
        throw OnlineError(QStringLiteral("Cannot open the settings key %1: %2").arg(path, store.LastError()));
}

void WriteStringOrRaise(SettingsStore& store, const QString& name, const QString& text)
{
    if (!store.WriteString(name, text))
        throw OnlineError(QStringLiteral("Cannot store %1: %2").arg(name, store.LastError()));
}

void WriteValuesOrRaise(SettingsStore& store, const QString& path, bool keyFound,
                        const QList<SettingsValueWrite>& values)
{
    if (store.WriteValues(path, values)) return;
    if (!keyFound || values.isEmpty())
        throw OnlineError(QStringLiteral("Cannot open the settings key %1: %2").arg(path, store.LastError()));
    throw OnlineError(QStringLiteral("Cannot store %1: %2").arg(values.front().name, store.LastError()));
}

void ReminderWrites::Add(const QString& path, bool keyFound, QList<SettingsValueWrite> values)
{
    pending_.append({path, keyFound, std::move(values)});
}

void ReminderWrites::Commit(Seams& seams)
{
    const QList<Pending> pending = std::exchange(pending_, {});
    if (pending.isEmpty()) return;
    SettingsStore store = seams.Settings();
    QList<SettingsKeyWrite> keys;
    for (const Pending& write : pending) keys.append({write.path, write.values});
    if (store.WriteKeys(keys)) return;
    for (const Pending& write : pending) {
        try {
            WriteValuesOrRaise(store, write.path, write.keyFound, write.values);
        } catch (const OnlineError& error) {
            seams.messages.Error(error.Text());
        }
    }
}

void TurnReminderOff(Seams& seams, const QString& keyPath)
{
    try {
        SettingsStore store = seams.Settings();
        WriteValuesOrRaise(store, keyPath, store.KeyExists(keyPath), {{QStringLiteral("NextUpdate"), QStringLiteral("0")}});
    } catch (const OnlineError& error) {
        seams.messages.Error(error.Text());
    }
}

QString StoredIntervalText(Seams& seams, const QString& keyPath, int updateInterval)
{
    SettingsStore store = seams.Settings();
    OpenKeyOrRaise(store, keyPath);
    const QString interval = StoredTextOrEmpty(store, QStringLiteral("Interval"));
    return !interval.isEmpty() && IsNumberText(interval) ? interval : QString::number(updateInterval);
}

void StoreReminder(Seams& seams, const QString& keyPath, const QString& daysText, bool again, int updateInterval)
{
    // Convert first, so that a bad days text leaves both values as they were.
    const int days = IsNumberText(daysText) && !daysText.isEmpty() ? ReadWholeNumber(daysText) : updateInterval;
    const QString next = again ? ShortDateAfter(seams.clock.Now().date(), days) : QStringLiteral("0");
    SettingsStore store = seams.Settings();
    WriteValuesOrRaise(store, keyPath, store.KeyExists(keyPath),
                       {{QStringLiteral("NextUpdate"), next}, {QStringLiteral("Interval"), QString::number(days)}});
}

}  // namespace quillon
