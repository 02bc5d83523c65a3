// The remembered query against a real settings store file.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "tests/persist/TestPrinters.h"
#include "persist/RegistrySettings.h"
#include "platform/SettingsStore.h"

using namespace quillon;

namespace {

const QString kKey = QString::fromLatin1(kSettingsKey);

// Every value different from the window's defaults, and flags in no simple pattern.
StoredQuery Sample()
{
    StoredQuery q;
    q.Save = true;
    q.BeginningFrequency = QStringLiteral("806");
    q.EndingFrequency = QStringLiteral("960");
    q.MaxLoss = QStringLiteral("3.5");
    q.Length = QString();
    q.Connector1 = QStringLiteral("N Male");
    q.Connector2 = QStringLiteral("7-16 DIN Female");
    q.Meters = true;
    q.Feet = false;
    q.Air = false;
    q.Foam = true;
    q.EW = false;
    q.Braided = true;
    q.ByFrequency = true;
    q.ByLoss = true;
    q.ByC1 = false;
    q.ByC2 = true;
    q.VSWR = QStringLiteral("1.5");
    return q;
}

// What loading the saved query gives, in the order the window applies it.
std::vector<LoadedValue> ExpectedLoad(const StoredQuery& q)
{
    using enum StoredValue;
    return {
        {Save, {}, q.Save},
        {BeginningFrequency, q.BeginningFrequency, false},
        {EndingFrequency, q.EndingFrequency, false},
        {MaxLoss, q.MaxLoss, false},
        {Length, q.Length, false},
        {VSWR, q.VSWR, false},
        {Connector1, q.Connector1, false},
        {Connector2, q.Connector2, false},
        {Meters, {}, q.Meters},
        {Feet, {}, q.Feet},
        {Air, {}, q.Air},
        {Foam, {}, q.Foam},
        {EW, {}, q.EW},
        {Braided, {}, q.Braided},
        {ByFrequency, {}, q.ByFrequency},
        {ByLoss, {}, q.ByLoss},
        {ByC1, {}, q.ByC1},
        {ByC2, {}, q.ByC2},
    };
}

class RegistrySettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // A fresh store object, reading the file anew, as each caller makes one.
    SettingsStore Store() { return SettingsStore(file); }

    void Save(const StoredQuery& query)
    {
        SettingsStore store = Store();
        ASSERT_TRUE(SaveSettings(store, query));
    }

    LoadedSettings Load()
    {
        SettingsStore store = Store();
        return LoadSettings(store);
    }

    // Changes the stored key the way another program or a user could.
    void Edit(const std::function<void(SettingsStore&)>& change)
    {
        SettingsStore store = Store();
        ASSERT_TRUE(store.OpenKey(kKey, false));
        change(store);
    }

    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("Tarvex/registry.json"));
};

TEST_F(RegistrySettingsTest, FirstRunCreatesAllEighteenValuesInWriteOrderWithTheirTypes)
{
    Save(Sample());

    SettingsStore store = Store();
    const auto values = store.ReadAllValues(kKey);
    ASSERT_TRUE(values.has_value());
    QStringList shown;  // creation order is write order
    for (const SettingsValueText& value : *values)
        shown << value.name + QLatin1Char('=') + value.text;
    EXPECT_EQ(shown, (QStringList{"BeginningFrequency=806", "EndingFrequency=960", "MaxLoss=3.5", "Length=",
                                  "Connector1=N Male", "Connector2=7-16 DIN Female", "Meters=1", "Feet=0", "Air=0",
                                  "Foam=1", "EW=0", "Braided=1", "ByFrequency=1", "ByLoss=1", "ByC1=0", "ByC2=1",
                                  "VSWR=1.5", "Save=1"}));

    ASSERT_TRUE(store.OpenKey(kKey, false));
    for (const LoadedValue& expected : ExpectedLoad(Sample())) {
        const QString name = StoredValueName(expected.Name);
        SCOPED_TRACE(name.toStdString());
        if (IsStoredFlag(expected.Name)) {
            EXPECT_EQ(store.ReadInteger(name), expected.Flag ? 1 : 0);
            EXPECT_EQ(store.ReadString(name), std::nullopt);  // a number, not text
        } else {
            EXPECT_EQ(store.ReadString(name), expected.Text);
            EXPECT_EQ(store.ReadInteger(name), std::nullopt);
        }
    }
}

TEST_F(RegistrySettingsTest, LoadingGivesBackEveryValueInApplyingOrder)
{
    // Each flag gets its own on/off pattern over four saves (the bits of its
    // position), so that two flags swapped anywhere show.
    const std::vector<bool StoredQuery::*> flags{&StoredQuery::Meters, &StoredQuery::Feet, &StoredQuery::Air,
                                                 &StoredQuery::Foam, &StoredQuery::EW, &StoredQuery::Braided,
                                                 &StoredQuery::ByFrequency, &StoredQuery::ByLoss,
                                                 &StoredQuery::ByC1, &StoredQuery::ByC2};
    std::vector<StoredQuery> queries{Sample()};
    for (unsigned bit = 0; bit < 4; ++bit) {
        StoredQuery q;
        for (std::size_t i = 0; i < flags.size(); ++i)
            q.*flags[i] = (((i + 1) >> bit) & 1u) != 0;
        q.Save = true;
        q.BeginningFrequency = QStringLiteral("1");
        q.EndingFrequency = QStringLiteral("2");
        q.MaxLoss = QStringLiteral("3");
        q.Length = QStringLiteral("4");
        q.Connector1 = QStringLiteral("C1");
        q.Connector2 = QStringLiteral("C2");
        q.VSWR = QStringLiteral("5");
        queries.push_back(q);
    }
    for (std::size_t i = 0; i < queries.size(); ++i) {
        SCOPED_TRACE(i);
        Save(queries[i]);
        const LoadedSettings loaded = Load();
        EXPECT_TRUE(loaded.KeyFound);
        EXPECT_EQ(loaded.FailedAt, std::nullopt);
        EXPECT_EQ(loaded.Values, ExpectedLoad(queries[i]));
    }
}

TEST_F(RegistrySettingsTest, WithoutTheKeyNothingIsLoadedOrCreated)
{
    LoadedSettings loaded = Load();
    EXPECT_FALSE(loaded.KeyFound);
    EXPECT_TRUE(loaded.Values.empty());
    EXPECT_FALSE(QFileInfo::exists(file));

    // Another program's key beside ours changes nothing.
    {
        SettingsStore store = Store();
        ASSERT_TRUE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Common Files"), true));
        ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/srv/tarvex")));
    }
    loaded = Load();
    EXPECT_FALSE(loaded.KeyFound);
    EXPECT_TRUE(loaded.Values.empty());
    SettingsStore store = Store();
    EXPECT_FALSE(store.KeyExists(kKey));
}

TEST_F(RegistrySettingsTest, SaveOffRestoresOnlyTheCheckMark)
{
    StoredQuery query = Sample();
    query.Save = false;
    Save(query);
    const LoadedSettings loaded = Load();
    EXPECT_TRUE(loaded.KeyFound);
    EXPECT_EQ(loaded.FailedAt, std::nullopt);
    EXPECT_EQ(loaded.Values, (std::vector<LoadedValue>{{StoredValue::Save, {}, false}}));
}

TEST_F(RegistrySettingsTest, LoadingStopsAtTheFirstValueItCannotRead)
{
    struct Case {
        const char* what;
        std::function<void(SettingsStore&)> change;
        std::size_t read;  // values read before the failure
        StoredValue failedAt;
    };
    const std::vector<Case> cases{
        {"no Save", [](SettingsStore& s) { s.DeleteValue(QStringLiteral("Save")); }, 0, StoredValue::Save},
        {"Save as text", [](SettingsStore& s) { s.WriteString(QStringLiteral("Save"), QStringLiteral("1")); }, 0,
         StoredValue::Save},
        {"VSWR as a number", [](SettingsStore& s) { s.WriteInteger(QStringLiteral("VSWR"), 2); }, 5,
         StoredValue::VSWR},
        {"Connector1 as a number", [](SettingsStore& s) { s.WriteInteger(QStringLiteral("Connector1"), 7); }, 6,
         StoredValue::Connector1},
        {"no Feet", [](SettingsStore& s) { s.DeleteValue(QStringLiteral("Feet")); }, 9, StoredValue::Feet},
        {"ByLoss as text", [](SettingsStore& s) { s.WriteString(QStringLiteral("ByLoss"), QStringLiteral("1")); },
         15, StoredValue::ByLoss},
        {"no ByC2", [](SettingsStore& s) { s.DeleteValue(QStringLiteral("ByC2")); }, 17, StoredValue::ByC2},
    };
    const std::vector<LoadedValue> all = ExpectedLoad(Sample());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Save(Sample());
        Edit(c.change);
        const LoadedSettings loaded = Load();
        EXPECT_TRUE(loaded.KeyFound);
        EXPECT_EQ(loaded.FailedAt, c.failedAt);
        // What was read before the failure is kept, in order.
        EXPECT_EQ(loaded.Values, std::vector<LoadedValue>(all.begin(), all.begin() + std::ptrdiff_t(c.read)));
    }
}

TEST_F(RegistrySettingsTest, TextsComeBackAsStoredExceptAnEmptyVswr)
{
    struct Case {
        const char* what;
        std::function<void(SettingsStore&)> change;
        LoadedValue expected;
    };
    const std::vector<Case> cases{
        {"missing length reads empty", [](SettingsStore& s) { s.DeleteValue(QStringLiteral("Length")); },
         {StoredValue::Length, QString(), false}},
        {"empty VSWR", [](SettingsStore& s) { s.WriteString(QStringLiteral("VSWR"), QString()); },
         {StoredValue::VSWR, QStringLiteral("1.1"), false}},
        {"missing VSWR", [](SettingsStore& s) { s.DeleteValue(QStringLiteral("VSWR")); },
         {StoredValue::VSWR, QStringLiteral("1.1"), false}},
        // Not empty, so not the default: the entry box judges it.
        {"blank VSWR", [](SettingsStore& s) { s.WriteString(QStringLiteral("VSWR"), QStringLiteral(" ")); },
         {StoredValue::VSWR, QStringLiteral(" "), false}},
        {"text untrimmed, unconverted",
         [](SettingsStore& s) { s.WriteString(QStringLiteral("MaxLoss"), QStringLiteral(" 3.50 ")); },
         {StoredValue::MaxLoss, QStringLiteral(" 3.50 "), false}},
        {"any non-zero number is on", [](SettingsStore& s) { s.WriteInteger(QStringLiteral("Air"), -5); },
         {StoredValue::Air, {}, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Save(Sample());
        Edit(c.change);
        const LoadedSettings loaded = Load();
        EXPECT_EQ(loaded.FailedAt, std::nullopt);
        ASSERT_EQ(loaded.Values.size(), 18u);
        const auto found = std::find_if(loaded.Values.begin(), loaded.Values.end(),
                                        [&](const LoadedValue& v) { return v.Name == c.expected.Name; });
        ASSERT_NE(found, loaded.Values.end());
        EXPECT_EQ(*found, c.expected);
    }
}

TEST_F(RegistrySettingsTest, SavingReplacesTheQueryAndLeavesTheCurrencyAlone)
{
    {
        SettingsStore store = Store();
        ASSERT_TRUE(store.OpenKey(kKey, true));
        ASSERT_TRUE(store.WriteInteger(QStringLiteral("Currency"), 4));
        ASSERT_TRUE(store.WriteString(QStringLiteral("VSWR"), QStringLiteral("9")));
    }
    Save(Sample());
    StoredQuery second = Sample();
    second.Save = false;
    second.Connector1 = QStringLiteral("BNC");
    Save(second);

    SettingsStore store = Store();
    const auto values = store.ReadAllValues(kKey);
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), 19);
    EXPECT_EQ(values->at(0), (SettingsValueText{QStringLiteral("Currency"), QStringLiteral("4")}));
    EXPECT_EQ(values->at(1), (SettingsValueText{QStringLiteral("VSWR"), QStringLiteral("1.5")}));
    ASSERT_TRUE(store.OpenKey(kKey, false));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Currency")), 4);
    EXPECT_EQ(store.ReadString(QStringLiteral("Connector1")), QStringLiteral("BNC"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Save")), 0);
}

TEST_F(RegistrySettingsTest, TheCurrencyIsStoredBesideTheQueryAndReadBackWithItsRules)
{
    // Nothing stored yet: no key, whatever the rates.
    for (const bool rates : {true, false}) {
        SettingsStore store = Store();
        const StoredCurrency stored = ReadStoredCurrency(store, rates);
        EXPECT_FALSE(stored.KeyFound);
        EXPECT_EQ(stored.Tag, std::nullopt);
    }

    struct Case {
        const char* what;
        std::function<void(SettingsStore&)> change;
        std::optional<int> withRates;     // the Tag with the exchange-rate file
        std::optional<int> withoutRates;  // and without it
    };
    const Case cases[] = {
        {"stored Tag", [](SettingsStore& s) { ASSERT_TRUE(StoreCurrency(s, 20)); }, 20, 1},
        {"no value", [](SettingsStore& s) { ASSERT_TRUE(s.DeleteValue(QStringLiteral("Currency"))); }, std::nullopt, 1},
        {"text value", [](SettingsStore& s) { ASSERT_TRUE(s.WriteString(QStringLiteral("Currency"), "20")); },
         std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Save(Sample());
        {
            SettingsStore store = Store();
            ASSERT_TRUE(StoreCurrency(store, 17));
        }
        Edit(c.change);
        SettingsStore store = Store();
        const StoredCurrency withRates = ReadStoredCurrency(store, true);
        EXPECT_TRUE(withRates.KeyFound);
        EXPECT_EQ(withRates.Tag, c.withRates);
        EXPECT_EQ(ReadStoredCurrency(store, false).Tag, c.withoutRates);
        // The query beside it is untouched.
        EXPECT_EQ(Load().Values, ExpectedLoad(Sample()));
    }
}

TEST_F(RegistrySettingsTest, AStoreThatCannotBeWrittenIsQuiet)
{
    // The store's folder cannot be made: its parent is a regular file.
    const QString blocker = folder.filePath(QStringLiteral("blocker"));
    QFile block(blocker);
    ASSERT_TRUE(block.open(QIODevice::WriteOnly));
    block.close();
    SettingsStore store(blocker + QStringLiteral("/Tarvex/registry.json"));
    EXPECT_FALSE(SaveSettings(store, Sample()));
    EXPECT_FALSE(StoreCurrency(store, 20));
    EXPECT_FALSE(store.HasOpenKey());
    const LoadedSettings loaded = LoadSettings(store);
    EXPECT_FALSE(loaded.KeyFound);
    EXPECT_TRUE(loaded.Values.empty());
}

}  // namespace

namespace {

// Each stored value lands on its own control of the page; Save is the menu's.
TEST(StoredValues, GoOntoTheirControls)
{
    using P = PageControl;
    const std::pair<StoredValue, std::optional<PageControl>> map[] = {
        {StoredValue::Save, std::nullopt},
        {StoredValue::BeginningFrequency, P::BeginningFrequency},
        {StoredValue::EndingFrequency, P::EndingFrequency},
        {StoredValue::MaxLoss, P::MaxLoss},
        {StoredValue::Length, P::Length},
        {StoredValue::Connector1, P::Connector1},
        {StoredValue::Connector2, P::Connector2},
        {StoredValue::Meters, P::Meters},
        {StoredValue::Feet, P::Feet},
        {StoredValue::Air, P::Air},
        {StoredValue::Foam, P::Foam},
        {StoredValue::EW, P::Waveguide},
        {StoredValue::Braided, P::Braided},
        {StoredValue::ByFrequency, P::ByFrequency},
        {StoredValue::ByLoss, P::ByLoss},
        {StoredValue::ByC1, P::ByConnector1},
        {StoredValue::ByC2, P::ByConnector2},
        {StoredValue::VSWR, P::Vswr},
    };
    for (const auto& [stored, control] : map)
        EXPECT_EQ(PageControlOf(stored), control) << StoredValueName(stored).toStdString();
}

}  // namespace
