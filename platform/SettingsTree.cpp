#include "platform/SettingsTree.h"

#include <cmath>
#include <limits>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillon::settings {
namespace {

// Marks the file as ours, so that a stray JSON file is not taken for the store.
const QLatin1String kFormatName("Quillon settings store");
constexpr int kFormatVersion = 1;

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

template <typename Item, typename Range>
Item* FindNamed(Range& items, const QString& name)
{
    for (auto& item : items) {
        if (SameName(item.name, name))
            return &item;
    }
    return nullptr;
}

QJsonObject KeyToJson(const Key& key)
{
    QJsonArray values;
    for (const Value& value : key.values) {
        QJsonObject entry{{QStringLiteral("name"), value.name}};
        if (value.type == Value::Type::Text)
            entry.insert(QStringLiteral("text"), value.text);
        else
            entry.insert(QStringLiteral("number"), value.number);
        values.append(entry);
    }
    QJsonArray keys;
    for (const Key& sub : key.keys)
        keys.append(KeyToJson(sub));
    return QJsonObject{{QStringLiteral("name"), key.name},
                       {QStringLiteral("values"), values},
                       {QStringLiteral("keys"), keys}};
}

bool ValueFromJson(const QJsonValue& json, Value& value, QString& error)
{
    const QJsonObject object = json.toObject();
    if (!json.isObject() || !object.value(QStringLiteral("name")).isString()) {
        error = QStringLiteral("a value without a name");
        return false;
    }
    value.name = object.value(QStringLiteral("name")).toString();
    const QJsonValue text = object.value(QStringLiteral("text"));
    const QJsonValue number = object.value(QStringLiteral("number"));
    if (text.isString() && number.isUndefined()) {
        value.type = Value::Type::Text;
        value.text = text.toString();
        return true;
    }
    if (number.isDouble() && text.isUndefined()) {
        // 32-bit numbers only; one above the signed range is read as the
        // unsigned number it was written as, so it wraps as it would there.
        // Range and wholeness first: converting a number beyond the 64-bit
        // range to an integer is undefined.
        const double d = number.toDouble();
        if (std::isfinite(d) && d >= static_cast<double>(std::numeric_limits<qint32>::min())
            && d <= static_cast<double>(std::numeric_limits<quint32>::max()) && d == std::trunc(d)) {
            value.type = Value::Type::Number;
            value.number = static_cast<qint32>(static_cast<quint32>(static_cast<qint64>(d)));
            return true;
        }
    }
    error = QStringLiteral("the value \"%1\" is neither text nor a 32-bit number").arg(value.name);
    return false;
}

bool KeyFromJson(const QJsonValue& json, Key& key, int depth, QString& error)
{
    if (depth > kMaxKeyDepth) {
        error = QStringLiteral("keys nested too deeply");
        return false;
    }
    const QJsonObject object = json.toObject();
    if (!json.isObject() || !object.value(QStringLiteral("name")).isString()
        || !object.value(QStringLiteral("values")).isArray()
        || !object.value(QStringLiteral("keys")).isArray()) {
        error = QStringLiteral("a key without name, values and keys");
        return false;
    }
    key.name = object.value(QStringLiteral("name")).toString();
    const QJsonArray values = object.value(QStringLiteral("values")).toArray();
    key.values.reserve(static_cast<std::size_t>(values.size()));
    for (const QJsonValue& entry : values) {
        Value value;
        if (!ValueFromJson(entry, value, error))
            return false;
        key.values.push_back(std::move(value));
    }
    const QJsonArray keys = object.value(QStringLiteral("keys")).toArray();
    key.keys.reserve(static_cast<std::size_t>(keys.size()));
    for (const QJsonValue& entry : keys) {
        Key sub;
        if (!KeyFromJson(entry, sub, depth + 1, error))
            return false;
        key.keys.push_back(std::move(sub));
    }
    return true;
}

}  // namespace

const Key* Key::FindKey(const QString& name) const { return FindNamed<const Key>(keys, name); }
Key* Key::FindKey(const QString& name) { return FindNamed<Key>(keys, name); }
const Value* Key::FindValue(const QString& name) const { return FindNamed<const Value>(values, name); }
Value* Key::FindValue(const QString& name) { return FindNamed<Value>(values, name); }

QStringList SplitPath(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

const Key* FindPath(const Key& root, const QStringList& parts)
{
    const Key* key = &root;
    for (const QString& part : parts) {
        key = key->FindKey(part);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

Key* FindPath(Key& root, const QStringList& parts)
{
    return const_cast<Key*>(FindPath(static_cast<const Key&>(root), parts));
}

Key& MakePath(Key& root, const QStringList& parts)
{
    Key* key = &root;
    for (const QString& part : parts) {
        Key* sub = key->FindKey(part);
        if (sub == nullptr) {
            key->keys.push_back(Key{part, {}, {}});
            sub = &key->keys.back();
        }
        key = sub;
    }
    return *key;
}

QByteArray ToJson(const Key& root)
{
    const QJsonObject document{{QStringLiteral("format"), kFormatName},
                               {QStringLiteral("version"), kFormatVersion},
                               {QStringLiteral("root"), KeyToJson(root)}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

std::optional<Key> FromJson(const QByteArray& json, QString* error)
{
    QString problem;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    Key root;
    if (document.isNull()) {
        problem = QStringLiteral("not valid JSON (%1 at byte %2)")
                      .arg(parseError.errorString())
                      .arg(parseError.offset);
    } else if (!document.isObject()
               || document.object().value(QStringLiteral("format")).toString() != kFormatName) {
        problem = QStringLiteral("not a settings store file");
    } else if (document.object().value(QStringLiteral("version")).toInt() != kFormatVersion) {
        problem = QStringLiteral("a settings store of an unknown version");
    } else if (KeyFromJson(document.object().value(QStringLiteral("root")), root, 0, problem)) {
        return root;
    }
    if (error != nullptr)
        *error = problem;
    return std::nullopt;
}

}  // namespace quillon::settings
