#include "platform/SettingsStore.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include "platform/DesktopAssociations.h"
#include "platform/SettingsLock.h"

namespace quillon {

using settings::Key;
using settings::Value;

namespace {

enum class FileState { Missing, Read, Unreadable };

struct FileContent {
    FileState state = FileState::Missing;
    QByteArray bytes;
    QString error;
};

FileContent ReadStoreFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileState::Unreadable, {}, file.errorString()};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {FileState::Unreadable, {}, file.errorString()};
    return {FileState::Read, std::move(bytes), {}};
}

// An unreadable file stays unreadable from one store object to the next: the
// user hears of it once a run, not at every read, and again only after it
// was readable in between.
QMutex unreadableMutex;
QSet<QString> unreadableReported;

bool FirstReportOfUnreadable(const QString& file)
{
    const QMutexLocker locker(&unreadableMutex);
    if (unreadableReported.contains(file))
        return false;
    unreadableReported.insert(file);
    return true;
}

void ForgetUnreadable(const QString& file)
{
    const QMutexLocker locker(&unreadableMutex);
    unreadableReported.remove(file);
}

// Writes the whole file under a temporary name and renames it over the old
// one; 0, or the system's error number. Only the lock's holder writes, so the
// temporary name is fixed and a killed writer's leftover is simply replaced.
// (QSaveFile is not used: with its write buffer, a write that stops short on
// a full disk surfaces only when it flushes at commit, which Qt 6.4 takes for
// success and renames the cut-off file over the store.)
int ReplaceFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".new";
    struct stat existing {};
    const mode_t mode = ::stat(target.constData(), &existing) == 0 ? (existing.st_mode & 07777) : 0666;
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return errno;
    int reason = 0;
    for (qsizetype done = 0; done < bytes.size() && reason == 0;) {
        const ssize_t written = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written > 0)
            done += written;
        else if (written < 0 && errno != EINTR)
            reason = errno;
        else if (written == 0)
            reason = EIO;
    }
    if (reason == 0 && ::fsync(fd) != 0)
        reason = errno;
    if (::close(fd) != 0 && reason == 0)
        reason = errno;
    if (reason == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        reason = errno;
    if (reason != 0)
        ::unlink(temporary.constData());
    return reason;
}

Value& ValueFor(Key& key, const QString& name)
{
    if (Value* value = key.FindValue(name))
        return *value;
    key.values.push_back(Value{name, Value::Type::Text, {}, 0});
    return key.values.back();
}

QString TooDeep(const QString& path, qsizetype depth)
{
    return QStringLiteral("The key %1 is %2 keys deep; the settings store holds keys at most %3 deep")
        .arg(path)
        .arg(depth)
        .arg(settings::kMaxKeyDepth);
}

// Sets the value; false when it held that already.
bool Assign(Value& value, const SettingsValueWrite& write)
{
    const Value::Type type = write.text ? Value::Type::Text : Value::Type::Number;
    const QString text = write.text.value_or(QString());
    const qint32 number = write.text ? 0 : write.number;
    if (value.type == type && value.text == text && value.number == number)
        return false;
    value.type = type;
    value.text = text;
    value.number = number;
    return true;
}

}  // namespace

QString SettingsProblem::Text() const
{
    const QString shownFile = QDir::toNativeSeparators(file);
    if (unreadable) {
        return QStringLiteral("The settings file %1 cannot be read (%2). It has been left as it is; "
                              "settings cannot be read or saved until it can be read.")
            .arg(shownFile, reason);
    }
    if (keptAs.isEmpty()) {
        return QStringLiteral("The settings file %1 is damaged (%2) and could not be moved "
                              "aside. Settings cannot be read or saved until it is repaired "
                              "or removed.")
            .arg(shownFile, reason);
    }
    return QStringLiteral("The settings file %1 was damaged (%2). It has been kept as %3 and "
                          "the settings start afresh.")
        .arg(shownFile, reason, QDir::toNativeSeparators(keptAs));
}

SettingsStore::SettingsStore(QString filePath, ProblemHandler onProblem,
                             ClassesRootProbe classesRoot)
    : filePath_(std::move(filePath)),
      onProblem_(std::move(onProblem)),
      classesRoot_(std::move(classesRoot))
{
}

bool SettingsStore::Fail(const QString& error)
{
    lastError_ = error;
    return false;
}

void SettingsStore::SetLockWait(std::chrono::milliseconds wait)
{
    lockWait_ = wait;
}

std::optional<Key> SettingsStore::Load(bool locked)
{
    const FileContent content = ReadStoreFile(filePath_);
    if (content.state != FileState::Unreadable)
        ForgetUnreadable(filePath_);
    if (content.state == FileState::Missing)
        return Key{};
    if (content.state == FileState::Unreadable) {
        // Not readable is not damaged: what it holds is unknown, so it stays
        // where it is and nothing is written over it.
        SettingsProblem problem{filePath_, {}, content.error, true};
        if (!reportedUnreadable_) {
            reportedUnreadable_ = true;
            problems_.append(problem);
            if (FirstReportOfUnreadable(filePath_) && onProblem_)
                onProblem_(problem);
        }
        Fail(problem.Text());
        return std::nullopt;
    }
    QString reason;
    if (auto tree = settings::FromJson(content.bytes, &reason))
        return tree;
    if (!locked) {
        // Judge the file again under the lock, so that two programs meeting
        // the same damage do not both move it aside.
        SettingsFileLock lock(filePath_);
        QString error;
        if (!lock.Acquire(lockWait_, &error)) {
            Fail(error);
            return std::nullopt;
        }
        return Load(true);
    }
    if (!MoveDamagedAside(reason))
        return std::nullopt;
    return Key{};
}

bool SettingsStore::MoveDamagedAside(const QString& reason)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString keptAs = filePath_ + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(keptAs); ++n)
        keptAs = filePath_ + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);

    SettingsProblem problem{filePath_, {}, reason};
    const bool moved = QFile::rename(filePath_, keptAs);
    if (moved)
        problem.keptAs = keptAs;
    problems_.append(problem);
    if (onProblem_)
        onProblem_(problem);
    if (!moved)
        return Fail(problem.Text());
    return true;
}

bool SettingsStore::Modify(const std::function<bool(Key&)>& change)
{
    const QString folder = QFileInfo(filePath_).absolutePath();
    std::error_code madeFolder;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), madeFolder);
    if (madeFolder) {
        return Fail(QStringLiteral("Cannot create the folder %1: %2")
                        .arg(QDir::toNativeSeparators(folder), QString::fromStdString(madeFolder.message())));
    }

    SettingsFileLock lock(filePath_);
    QString error;
    if (!lock.Acquire(lockWait_, &error))
        return Fail(error);
    std::optional<Key> tree = Load(true);
    if (!tree)
        return false;
    if (change(*tree)) {
        const QByteArray json = settings::ToJson(*tree);
        if (const int reason = ReplaceFile(filePath_, json)) {
            return Fail(QStringLiteral("Cannot write the settings file %1: %2")
                            .arg(QDir::toNativeSeparators(filePath_), qt_error_string(reason)));
        }
    }
    snapshot_ = std::move(tree);
    lastError_.clear();
    return true;
}

const Key* SettingsStore::OpenKeyNode() const
{
    if (!keyOpen_ || !snapshot_)
        return nullptr;
    return settings::FindPath(*snapshot_, openPath_);
}

bool SettingsStore::KeyExists(const QString& path)
{
    const std::optional<Key> tree = Load(false);
    return tree && settings::FindPath(*tree, settings::SplitPath(path)) != nullptr;
}

bool SettingsStore::ClassesRootKeyExists(const QString& name) const
{
    return classesRoot_ ? classesRoot_(name) : DesktopClassRegistered(name);
}

bool SettingsStore::OpenKey(const QString& path, bool create)
{
    CloseKey();
    const QStringList parts = settings::SplitPath(path);
    if (create && parts.size() > settings::kMaxKeyDepth) {
        // The file could not be read back: refuse it before anything is written.
        return Fail(TooDeep(path, parts.size()));
    }
    snapshot_ = Load(false);
    if (!snapshot_)
        return false;
    if (settings::FindPath(*snapshot_, parts) == nullptr) {
        if (!create)
            return Fail(QStringLiteral("The key %1 does not exist").arg(path));
        if (!Modify([&](Key& root) {
                const bool missing = settings::FindPath(root, parts) == nullptr;
                settings::MakePath(root, parts);
                return missing;
            }))
            return false;
    }
    openPath_ = parts;
    keyOpen_ = true;
    lastError_.clear();
    return true;
}

void SettingsStore::CloseKey()
{
    keyOpen_ = false;
    openPath_.clear();
    snapshot_.reset();
}

bool SettingsStore::ValueExists(const QString& name) const
{
    const Key* key = OpenKeyNode();
    return key != nullptr && key->FindValue(name) != nullptr;
}

std::optional<QString> SettingsStore::ReadString(const QString& name)
{
    const Key* key = OpenKeyNode();
    if (key == nullptr) {
        Fail(QStringLiteral("No key is open"));
        return std::nullopt;
    }
    const Value* value = key->FindValue(name);
    if (value == nullptr)
        return QString();
    if (value->type != Value::Type::Text) {
        Fail(QStringLiteral("The value %1 is a number, not text").arg(name));
        return std::nullopt;
    }
    return value->text;
}

std::optional<qint32> SettingsStore::ReadInteger(const QString& name)
{
    const Key* key = OpenKeyNode();
    if (key == nullptr) {
        Fail(QStringLiteral("No key is open"));
        return std::nullopt;
    }
    const Value* value = key->FindValue(name);
    if (value == nullptr) {
        Fail(QStringLiteral("The value %1 does not exist").arg(name));
        return std::nullopt;
    }
    if (value->type != Value::Type::Number) {
        Fail(QStringLiteral("The value %1 is text, not a number").arg(name));
        return std::nullopt;
    }
    return value->number;
}

std::optional<bool> SettingsStore::ReadBool(const QString& name)
{
    const std::optional<qint32> number = ReadInteger(name);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

bool SettingsStore::WriteString(const QString& name, const QString& text)
{
    if (!keyOpen_)
        return Fail(QStringLiteral("No key is open"));
    return Modify([&](Key& root) {
        Value& value = ValueFor(settings::MakePath(root, openPath_), name);
        value.type = Value::Type::Text;
        value.text = text;
        value.number = 0;
        return true;
    });
}

bool SettingsStore::WriteInteger(const QString& name, qint32 number)
{
    if (!keyOpen_)
        return Fail(QStringLiteral("No key is open"));
    return Modify([&](Key& root) {
        Value& value = ValueFor(settings::MakePath(root, openPath_), name);
        value.type = Value::Type::Number;
        value.text.clear();
        value.number = number;
        return true;
    });
}

bool SettingsStore::WriteBool(const QString& name, bool value)
{
    return WriteInteger(name, value ? 1 : 0);
}

bool SettingsStore::DeleteValue(const QString& name)
{
    if (!keyOpen_)
        return Fail(QStringLiteral("No key is open"));
    return Modify([&](Key& root) {
        Key* key = settings::FindPath(root, openPath_);
        if (key == nullptr)
            return false;
        const auto found = std::find_if(key->values.begin(), key->values.end(), [&](const Value& v) {
            return v.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == key->values.end())
            return false;
        key->values.erase(found);
        return true;
    });
}

namespace {

// Writes the values into the key at parts, making it; true when the tree changed.
bool ApplyWrites(Key& root, const QStringList& parts, const QList<SettingsValueWrite>& values)
{
    bool changed = settings::FindPath(root, parts) == nullptr;
    Key& key = settings::MakePath(root, parts);
    for (const SettingsValueWrite& write : values) {
        if (write.remove) {
            const auto found = std::find_if(key.values.begin(), key.values.end(), [&](const Value& v) {
                return v.name.compare(write.name, Qt::CaseInsensitive) == 0;
            });
            if (found != key.values.end()) {
                key.values.erase(found);
                changed = true;
            }
            continue;
        }
        const bool created = key.FindValue(write.name) == nullptr;
        changed = Assign(ValueFor(key, write.name), write) || created || changed;
    }
    return changed;
}

}  // namespace

bool SettingsStore::WriteValues(const QString& path, const QList<SettingsValueWrite>& values)
{
    return WriteKeys({{path, values}});
}

bool SettingsStore::WriteKeys(const QList<SettingsKeyWrite>& keys)
{
    QList<QStringList> paths;
    for (const SettingsKeyWrite& key : keys) {
        paths << settings::SplitPath(key.path);
        if (paths.back().size() > settings::kMaxKeyDepth) {
            return Fail(TooDeep(key.path, paths.back().size()));
        }
    }
    return Modify([&](Key& root) {
        bool changed = false;
        for (qsizetype k = 0; k < keys.size(); ++k)
            changed = ApplyWrites(root, paths[k], keys[k].values) || changed;
        return changed;
    });
}

std::optional<QStringList> SettingsStore::SubKeyNames(const QString& path)
{
    const std::optional<Key> tree = Load(false);
    if (!tree)
        return std::nullopt;
    const Key* key = settings::FindPath(*tree, settings::SplitPath(path));
    if (key == nullptr) {
        Fail(QStringLiteral("The key %1 does not exist").arg(path));
        return std::nullopt;
    }
    QStringList names;
    for (const Key& sub : key->keys)
        names << sub.name;
    return names;
}

std::optional<QList<SettingsValueText>> SettingsStore::ReadAllValues(const QString& path)
{
    const std::optional<Key> tree = Load(false);
    if (!tree)
        return std::nullopt;
    const Key* key = settings::FindPath(*tree, settings::SplitPath(path));
    if (key == nullptr) {
        Fail(QStringLiteral("The key %1 does not exist").arg(path));
        return std::nullopt;
    }
    QList<SettingsValueText> values;
    for (const Value& value : key->values) {
        values.append({value.name, value.type == Value::Type::Text ? value.text
                                                                   : QString::number(value.number)});
    }
    return values;
}

}  // namespace quillon
