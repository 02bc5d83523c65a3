#pragma once
// The user's settings store: a tree of keys holding text and 32-bit number
// values, shared by the maker's programs and kept in one JSON file.
//
// Use it as the programs always have: open a key, read or write its values,
// close it. Nothing is cached between uses: opening a key reads the file
// afresh, and every write re-reads the file under a lock, changes the one
// value and replaces the file atomically, so two running programs never lose
// each other's writes.
//
// Paths are written with backslashes, with or without a leading one; they are
// always taken from the root. Key and value names compare without regard to
// letter case and keep the spelling they were created with. Sub-keys and
// values are listed in the order they were created.
//
// The store shows nothing: failures come back as false / nullopt with
// LastError() saying why (with the system's reason for a file or folder that
// cannot be read, made or written). A damaged file is moved aside and
// reported through the problem handler (and Problems()); a file that cannot
// be read at all is reported the same way, once a run, and left alone.
//
// Writers take turns under SettingsFileLock, which a writer's death frees.

#include <chrono>
#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/SettingsTree.h"

namespace quillon {

struct SettingsProblem {
    QString file;    // the store's file
    QString keptAs;  // where the damaged file now is; empty when it could not be moved
    QString reason;  // what was wrong with it: the damage, or the system's reason it cannot be read
    // The file could not be read at all (permission denied, say): it is no
    // damage, so it was left where it is, and nothing is written over it.
    bool unreadable = false;

    // A sentence for the user.
    QString Text() const;
};

struct SettingsValueText {
    QString name;
    QString text;  // a number value as decimal text

    friend bool operator==(const SettingsValueText&, const SettingsValueText&) = default;
};

// One value for WriteValues: text, or a number when no text is given; with
// remove, the value is deleted instead (no failure when it is not there).
struct SettingsValueWrite {
    QString name;
    std::optional<QString> text;
    qint32 number = 0;
    bool remove = false;
};

// One key's values for WriteKeys.
struct SettingsKeyWrite {
    QString path;
    QList<SettingsValueWrite> values;
};

class SettingsStore {
public:
    using ProblemHandler = std::function<void(const SettingsProblem&)>;
    // Answers whether a class is registered with the desktop ("Excel.Application").
    using ClassesRootProbe = std::function<bool(const QString& name)>;

    explicit SettingsStore(QString filePath, ProblemHandler onProblem = {},
                           ClassesRootProbe classesRoot = {});

    const QString& FilePath() const { return filePath_; }

    // True exactly when the key is present; nothing is created.
    bool KeyExists(const QString& path);
    // Whether the desktop knows the class; see DesktopAssociations.h.
    bool ClassesRootKeyExists(const QString& name) const;

    // Opens the key; with create, a missing key and its missing parents are
    // made. Any key open before is closed first.
    bool OpenKey(const QString& path, bool create);
    void CloseKey();
    bool HasOpenKey() const { return keyOpen_; }

    // The open key's values. Without an open key every one of these fails.
    bool ValueExists(const QString& name) const;
    // Missing gives empty text; a number value is a failure.
    std::optional<QString> ReadString(const QString& name);
    // Missing or text values are failures. Any non-zero number reads as true.
    std::optional<qint32> ReadInteger(const QString& name);
    std::optional<bool> ReadBool(const QString& name);
    // Create or replace the value (a value of the other type is replaced too).
    bool WriteString(const QString& name, const QString& text);
    bool WriteInteger(const QString& name, qint32 value);
    bool WriteBool(const QString& name, bool value);  // 1 or 0
    // Deleting a value that is not there is no failure.
    bool DeleteValue(const QString& name);

    // Writes the values into the key at path, in order, making the key and
    // its missing parents: one locked rewrite of the file for them all, so
    // that every value is stored or none. When the file holds them already
    // as given, it is not rewritten. Needs no open key and leaves one open.
    bool WriteValues(const QString& path, const QList<SettingsValueWrite>& values);
    // The same for several keys, in order, in one locked rewrite: every value
    // of every key is stored or none.
    bool WriteKeys(const QList<SettingsKeyWrite>& keys);

    // The direct sub-keys of path, in creation order; nullopt when path is missing.
    std::optional<QStringList> SubKeyNames(const QString& path);
    // Every value of the key at path as name and text, in creation order;
    // nullopt when the key is missing.
    std::optional<QList<SettingsValueText>> ReadAllValues(const QString& path);

    // How long a write waits for another program's write before it gives up
    // (10 s unless set).
    void SetLockWait(std::chrono::milliseconds wait);

    // Why the last failing operation failed.
    const QString& LastError() const { return lastError_; }
    // Damaged files met by this store object.
    const QList<SettingsProblem>& Problems() const { return problems_; }

private:
    std::optional<settings::Key> Load(bool locked);
    bool MoveDamagedAside(const QString& reason);
    bool Modify(const std::function<bool(settings::Key&)>& change);
    const settings::Key* OpenKeyNode() const;
    bool Fail(const QString& error);

    QString filePath_;
    ProblemHandler onProblem_;
    ClassesRootProbe classesRoot_;
    std::optional<settings::Key> snapshot_;  // the tree as of the last open or write
    QStringList openPath_;
    bool keyOpen_ = false;
    QString lastError_;
    QList<SettingsProblem> problems_;
    bool reportedUnreadable_ = false;
    // Writes take milliseconds; a program that holds the lock longer than
    // this is stuck, and giving up beats freezing the window.
    std::chrono::milliseconds lockWait_{10'000};
};

}  // namespace quillon
