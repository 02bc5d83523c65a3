#pragma once
// What the update and news services share: the maker's web server setting,
// the shared download folders, reminder dates and day counts, and the error
// that ends an operation and is shown in the standard error box.

#include <exception>
#include <optional>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "platform/Seams.h"
#include "platform/SettingsKeys.h"

namespace quillon {

struct Seams;
class SettingsStore;

// Marks a flag for as long as a scope lasts and puts back what it held
// before, however the scope ends (an exception included): a reminder or a
// window that is busy stays usable after any failure.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = before_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

// Ends the current operation; the component that started it shows Text() in
// the standard error box and goes on.
class OnlineError : public std::exception {
public:
    explicit OnlineError(QString text);
    const QString& Text() const { return text_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString text_;
    QByteArray utf8_;
};

// A text value in the key the maker's programs share (kCommonFilesKey): the
// web server's address, such as "http://www.tarvex.example" (scheme and host,
// optionally a port, no trailing slash). A company mirror or a test points the
// programs elsewhere by changing it.
inline constexpr char kWebServerValue[] = "WebServer";
inline constexpr char kDefaultWebServer[] = "http://www.tarvex.example";

// The web server's address without a trailing slash: the stored value when it
// is not blank, the maker's own address otherwise.
QString MakerWebServer(const Seams& seams);

// The shared folder "Path" + "/" + subFolder + "/" (always ending in "/"); a
// missing one is created, its last level only. When "Path" is missing or
// empty, the same sub-folder of the user's data folder (Paths), made whole.
// Failing to make it is not reported here (the download into it fails and
// says so).
QString SharedFolder(const Seams& seams, const QString& subFolder);
// The user's own data folder for the maker's shared files, which the
// launcher records when no program has stored "Path":
// <generic data location>/Tarvex/Common Files.
QString DefaultCommonFilesFolder();
// True when path names an existing directory.
bool FolderExists(const QString& path);

// "\Software\Tarvex\" + registryKey + "\" + leaf, or "\Software\Tarvex\" +
// leaf when registryKey is empty.
QString ReminderKeyPath(const QString& registryKey, const QString& leaf);

// A stored or entered day count passes when it is empty or reads as a number
// ("." as decimal separator). Shows nothing.
bool IsNumberText(const QString& text);
// The whole number a day count holds; raises "'%s' is not a valid integer
// value" for anything else ("2.5", "1E1", "abc", out of range).
int ReadWholeNumber(const QString& text);

// Reminder dates are "mm/dd/yyyy": month, day and four-digit year with
// leading zeros, whatever the user's locale.
QString FormatShortDate(const QDate& date);
// Reads "m/d/yyyy" with one or two digits for month and day; nullopt for any
// other text or an impossible date.
std::optional<QDate> ParseShortDate(const QString& text);
// As ParseShortDate, raising "'%s' is not a valid date" on failure.
QDate ReadShortDate(const QString& text);
// The date that lies days after today, as stored text; raises when it falls
// outside the years the stored form can hold.
QString ShortDateAfter(const QDate& today, qint64 days);
// A stored date stands for midnight at the start of its day.
bool IsDue(const QDateTime& now, const QDate& date);

// A text file as lines split at CR, LF or CR LF, decoded as every input file is
// (UTF-8 when it is valid UTF-8, Windows-1252 otherwise);
// raises "Cannot open file "<path>"" when it cannot be read.
QStringList ReadTextLinesOrRaise(const QString& path);

// A text value of the open key, or empty text when the store cannot give it
// (a number stored under the name, a damaged store): the caller goes on with
// its default, and the failure is logged.
QString StoredTextOrEmpty(SettingsStore& store, const QString& name);

// Write helpers that raise the store's own reason when a write fails, so a
// lost setting never passes silently.
void OpenKeyOrRaise(SettingsStore& store, const QString& path);
void WriteStringOrRaise(SettingsStore& store, const QString& name, const QString& text);
// Writes the texts (and removals) into the key at path in one write of the
// store, making the key when keyFound is false. A refusal raises what the
// first step raised when each was a write of its own: the key's making
// (OpenKeyOrRaise), else the first value (WriteStringOrRaise).
void WriteValuesOrRaise(SettingsStore& store, const QString& path, bool keyFound,
                        const QList<SettingsValueWrite>& values);

// The first dates of reminders checked one after another at a start, written
// together in one rewrite of the store. Add gathers; Commit writes what was
// gathered and shows a failure in the error box. When the one write is
// refused, each is written again on its own, so each shows the reason it
// would have shown alone. A reminder that goes on to prompt commits first,
// so the store holds the earlier dates before anything else happens.
class ReminderWrites {
public:
    void Add(const QString& path, bool keyFound, QList<SettingsValueWrite> values);
    void Commit(Seams& seams);

private:
    struct Pending {
        QString path;
        bool keyFound = false;
        QList<SettingsValueWrite> values;
    };
    QList<Pending> pending_;
};

// The reminder steps the update and news reminders share, over their key.
// "Don't ask me again.": NextUpdate = "0"; a store failure shows its reason.
void TurnReminderOff(Seams& seams, const QString& keyPath);
// The days text a window opens with: the stored Interval when it passes the
// number test, else the component's own interval.
QString StoredIntervalText(Seams& seams, const QString& keyPath, int updateInterval);
// After the window: N from the days text (or the component's interval);
// NextUpdate = today + N when "again" is ticked, else "0"; Interval = N.
// A days text that is no whole number raises before anything is written.
void StoreReminder(Seams& seams, const QString& keyPath, const QString& daysText, bool again, int updateInterval);

}  // namespace quillon
