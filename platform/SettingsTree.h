#pragma once
// The settings store's content in memory and its JSON form on disk. Key and
// value names compare without regard to letter case and keep the spelling they
// were created with; sub-keys and values keep their creation order.

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon::settings {

struct Value {
    enum class Type { Text, Number };
    QString name;
    Type type = Type::Text;
    QString text;
    qint32 number = 0;
};

struct Key {
    QString name;
    std::vector<Value> values;
    std::vector<Key> keys;

    const Key* FindKey(const QString& name) const;
    Key* FindKey(const QString& name);
    const Value* FindValue(const QString& name) const;
    Value* FindValue(const QString& name);
};

// The deepest a key may stand below the root (a path of this many parts).
// Deep enough for any real tree, shallow enough that a crafted file cannot
// exhaust the stack; the store refuses to make a deeper key, as the reader
// would refuse the file that held it.
inline constexpr int kMaxKeyDepth = 256;

// "\Software\Tarvex" and "Software\Tarvex\" both give {"Software", "Tarvex"};
// empty parts (doubled backslashes) are skipped; no parts names the root.
QStringList SplitPath(const QString& path);

const Key* FindPath(const Key& root, const QStringList& parts);
Key* FindPath(Key& root, const QStringList& parts);
// Finds the key, creating it and any missing parents.
Key& MakePath(Key& root, const QStringList& parts);

QByteArray ToJson(const Key& root);
// The tree, or nullopt with *error saying what is wrong with the text.
std::optional<Key> FromJson(const QByteArray& json, QString* error);

}  // namespace quillon::settings
