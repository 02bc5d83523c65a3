#include "persist/RegistrySettings.h"

#include <array>

#include "engine/Search.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

// Where each value lives in a StoredQuery (a text or a flag) and on the page.
struct Field {
    StoredValue name;
    const char* storeName;
    QString StoredQuery::*text;
    bool StoredQuery::*flag;
    std::optional<PageControl> control;
};

using P = PageControl;

constexpr std::array kFields{
    Field{StoredValue::Save, "Save", nullptr, &StoredQuery::Save, std::nullopt},
    Field{StoredValue::BeginningFrequency, "BeginningFrequency", &StoredQuery::BeginningFrequency, nullptr,
          P::BeginningFrequency},
    Field{StoredValue::EndingFrequency, "EndingFrequency", &StoredQuery::EndingFrequency, nullptr, P::EndingFrequency},
    Field{StoredValue::MaxLoss, "MaxLoss", &StoredQuery::MaxLoss, nullptr, P::MaxLoss},
    Field{StoredValue::Length, "Length", &StoredQuery::Length, nullptr, P::Length},
    Field{StoredValue::Connector1, "Connector1", &StoredQuery::Connector1, nullptr, P::Connector1},
    Field{StoredValue::Connector2, "Connector2", &StoredQuery::Connector2, nullptr, P::Connector2},
    Field{StoredValue::Meters, "Meters", nullptr, &StoredQuery::Meters, P::Meters},
    Field{StoredValue::Feet, "Feet", nullptr, &StoredQuery::Feet, P::Feet},
    Field{StoredValue::Air, "Air", nullptr, &StoredQuery::Air, P::Air},
    Field{StoredValue::Foam, "Foam", nullptr, &StoredQuery::Foam, P::Foam},
    Field{StoredValue::EW, "EW", nullptr, &StoredQuery::EW, P::Waveguide},
    Field{StoredValue::Braided, "Braided", nullptr, &StoredQuery::Braided, P::Braided},
    Field{StoredValue::ByFrequency, "ByFrequency", nullptr, &StoredQuery::ByFrequency, P::ByFrequency},
    Field{StoredValue::ByLoss, "ByLoss", nullptr, &StoredQuery::ByLoss, P::ByLoss},
    Field{StoredValue::ByC1, "ByC1", nullptr, &StoredQuery::ByC1, P::ByConnector1},
    Field{StoredValue::ByC2, "ByC2", nullptr, &StoredQuery::ByC2, P::ByConnector2},
    Field{StoredValue::VSWR, "VSWR", &StoredQuery::VSWR, nullptr, P::Vswr},
};

const Field& FieldOf(StoredValue value)
{
    for (const Field& field : kFields)
        if (field.name == value)
            return field;
    return kFields.front();  // unreachable: every value has its field
}

using enum StoredValue;

// Save goes last: a save interrupted before it leaves the stored check mark as it was.
constexpr std::array kWriteOrder{BeginningFrequency, EndingFrequency, MaxLoss, Length, Connector1, Connector2,
                                 Meters, Feet, Air, Foam, EW, Braided, ByFrequency, ByLoss, ByC1, ByC2, VSWR,
                                 Save};

// The order in which the window applies them: lists, entry boxes, then the
// flags, whose click rules settle in this order.
constexpr std::array kReadOrder{Save, BeginningFrequency, EndingFrequency, MaxLoss, Length, VSWR, Connector1,
                                Connector2, Meters, Feet, Air, Foam, EW, Braided, ByFrequency, ByLoss, ByC1,
                                ByC2};

bool Write(SettingsStore& store, const StoredQuery& query, StoredValue value)
{
    const Field& field = FieldOf(value);
    const QString name = QString::fromLatin1(field.storeName);
    return field.text ? store.WriteString(name, query.*field.text) : store.WriteBool(name, query.*field.flag);
}

// The value as read, or nothing when the store refused it.
std::optional<LoadedValue> Read(SettingsStore& store, StoredValue value)
{
    const Field& field = FieldOf(value);
    const QString name = QString::fromLatin1(field.storeName);
    if (field.flag) {
        const std::optional<bool> flag = store.ReadBool(name);
        if (!flag)
            return std::nullopt;
        return LoadedValue{value, {}, *flag};
    }
    std::optional<QString> text = store.ReadString(name);
    if (!text)
        return std::nullopt;
    if (value == VSWR && text->isEmpty())
        *text = QString::fromLatin1(kDefaultVswr);
    return LoadedValue{value, *text, false};
}

}  // namespace

QString StoredValueName(StoredValue value) { return QString::fromLatin1(FieldOf(value).storeName); }

bool IsStoredFlag(StoredValue value) { return FieldOf(value).flag != nullptr; }

std::optional<PageControl> PageControlOf(StoredValue value) { return FieldOf(value).control; }

StoredQuery StoredQueryFromPage(const QueryPage& page, bool save)
{
    const auto text = [](const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); };
    StoredQuery query;
    query.Save = save;
    query.BeginningFrequency = text(page.BeginningFrequency);
    query.EndingFrequency = text(page.EndingFrequency);
    query.MaxLoss = text(page.MaxLoss);
    query.Length = text(page.Length);
    query.Connector1 = text(page.Connector1);
    query.Connector2 = text(page.Connector2);
    query.Meters = page.Meters;
    query.Feet = !page.Meters;
    query.Air = page.Air;
    query.Foam = page.Foam;
    query.EW = page.Waveguide;
    query.Braided = page.Braided;
    query.ByFrequency = page.ByFrequency;
    query.ByLoss = page.ByLoss;
    query.ByC1 = page.ByConnector1;
    query.ByC2 = page.ByConnector2;
    query.VSWR = text(page.Vswr);
    return query;
}

bool SaveSettings(SettingsStore& store, const StoredQuery& query)
{
    if (!store.OpenKey(QString::fromLatin1(kSettingsKey), true))
        return false;
    bool written = true;
    for (const StoredValue value : kWriteOrder) {
        if (!Write(store, query, value)) {
            written = false;
            break;
        }
    }
    store.CloseKey();
    return written;
}

bool StoreCurrency(SettingsStore& store, int tag)
{
    return store.OpenKey(QString::fromLatin1(kSettingsKey), true) &&
           store.WriteInteger(QString::fromLatin1(kCurrencyValue), tag);
}

StoredCurrency ReadStoredCurrency(SettingsStore& store, bool hasExchangeRates)
{
    StoredCurrency stored;
    const QString key = QString::fromLatin1(kSettingsKey);
    stored.KeyFound = store.KeyExists(key);
    if (!stored.KeyFound || !store.OpenKey(key, false)) return stored;
    if (hasExchangeRates) {
        if (const std::optional<qint32> tag = store.ReadInteger(QString::fromLatin1(kCurrencyValue))) stored.Tag = *tag;
    } else {
        stored.Tag = 1;
    }
    store.CloseKey();
    return stored;
}

LoadedSettings LoadSettings(SettingsStore& store)
{
    LoadedSettings loaded;
    if (!store.OpenKey(QString::fromLatin1(kSettingsKey), false))
        return loaded;
    loaded.KeyFound = true;
    for (const StoredValue value : kReadOrder) {
        std::optional<LoadedValue> read = Read(store, value);
        if (!read) {
            loaded.FailedAt = value;
            break;
        }
        loaded.Values.push_back(*read);
        // With the check mark off only the mark itself comes back.
        if (value == Save && !read->Flag)
            break;
    }
    store.CloseKey();
    return loaded;
}

}  // namespace quillon
