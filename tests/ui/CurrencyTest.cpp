// The currency menu on the results page: choosing a currency refills the
// prices of the grid and of both part-number grids, the US-dollar twins go
// together, and the stored currency comes back at every search.

#include <QMenu>
#include <QStyleOptionMenuItem>

#include "tests/ui/SearchFixture.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

const QString kSettingsKey = QStringLiteral("\\Software\\Tarvex\\Quillon\\Settings");

class Currency : public SearchWindow {
protected:
    // QXF-050 (806-960 MHz, 2.15 USD per foot) with the 4.3-10 Female and
    // TNC Male part numbers in the two grids.
    void SearchOneDemoLine()
    {
        SetBand("824", "894");
        query->chkConnector->setChecked(true);
        query->cbxConnector->setCurrentText(QStringLiteral("4.3-10 Female"));
        query->chkConnector2->setChecked(true);
        query->cbxConnector2->setCurrentText(QStringLiteral("TNC Male"));
        Search();
        ASSERT_EQ(CallLines(install.fakes.messages), QStringList());
        ASSERT_EQ(ResultPartNumbers(), QStringList{"QXF-050"});
    }
    QStringList Checked() const
    {
        QStringList names;
        for (const QAction* item : window->Menu.CurrencyItems)
            if (item->isChecked()) names << item->objectName();
        return names;
    }
    // The price cells and headings of the grid and both part-number grids.
    QStringList Prices() const
    {
        auto heading = [](const TPartNumberModel* m) { return m->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(); };
        QStringList prices = {Heading(12), Cell(0, 12), Heading(13), Cell(0, 13), heading(results->ConnectorsModel)};
        for (const TPartNumberModel* model : {results->ConnectorsModel, results->Connectors2Model}) {
            if (model == results->Connectors2Model) prices << heading(model);
            for (int r = 0; r < model->rowCount(); ++r)
                prices << model->data(model->index(r, 2), Qt::DisplayRole).toString();
        }
        return prices;
    }
    std::optional<qint32> StoredCurrency() const
    {
        SettingsStore store(install.SettingsFile());
        if (!store.OpenKey(kSettingsKey, false)) return std::nullopt;
        return store.ReadInteger(QStringLiteral("Currency"));
    }
    void StoreCurrency(qint32 tag) const
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(kSettingsKey, true));
        ASSERT_TRUE(store.WriteInteger(QStringLiteral("Currency"), tag));
    }
};

const QStringList kUsd = {"List Price Per Foot (USD)", "USD 2.15", "List Price Per Meter (USD)", "USD 7.05",
                          "Price (USD)", "USD 44.00", "USD 55.00", "Price (USD)", "USD 22.00", "USD 28.60"};
// At 1.5 USD to the pound: 2.15 / 1.5 = 1.4333 per foot, x 3.2808 = 4.7025 per metre;
// 44 / 1.5 = 29.333, 55 / 1.5 = 36.667, 22 / 1.5 = 14.667, 28.60 / 1.5 = 19.067.
const QStringList kGbp = {"List Price Per Foot (GBP)", "GBP 1.43", "List Price Per Meter (GBP)", "GBP 4.70",
                          "Price (GBP)", "GBP 29.33", "GBP 36.67", "Price (GBP)", "GBP 14.67", "GBP 19.07"};

TEST_F(Currency, ChoosingACurrencyRefillsEveryPrice)
{
    install.WriteDemoData({"usd|2|", "GBP|1.5|", "USD|3|"});
    Open();
    window->Menu.SaveSettingsOnExit1->setChecked(false);
    SearchOneDemoLine();
    EXPECT_EQ(Checked(), QStringList{"US1"});
    EXPECT_EQ(Prices(), kUsd);

    // The end #2 list keeps its choice through the refill.
    QListWidget* list = results->lstConnectors2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    ASSERT_EQ(results->Connectors2Model->rowCount(), 6);

    Action("GBP1")->trigger();
    EXPECT_EQ(Checked(), QStringList{"GBP1"});
    QStringList gbp = Prices();
    EXPECT_EQ(gbp.mid(0, 7), kGbp.mid(0, 7));
    EXPECT_EQ(gbp.at(7), QStringLiteral("Price (GBP)"));
    EXPECT_EQ(gbp.at(8), QStringLiteral("GBP 18.67"));  // N Male, 28.00 USD
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("N Male"));
    EXPECT_EQ(results->grdSpecs->currentIndex().row(), 0);
    EXPECT_EQ(ColouredRows(results->SpecsModel), std::vector<int>{0});

    // Either US-dollar item checks both, and no rate is looked up (the file's USD line would give 3).
    for (const char* item : {"USDollarsUSD1", "US1"}) {
        SCOPED_TRACE(item);
        Action("GBP1")->trigger();
        Action(item)->trigger();
        EXPECT_EQ(Checked(), (QStringList{"USDollarsUSD1", "US1"}));
        EXPECT_EQ(Cell(0, 12), QStringLiteral("USD 2.15"));
    }
    EXPECT_EQ(StoredCurrency(), std::nullopt);  // not saved on exit: nothing stored
    EXPECT_TRUE(install.fakes.messages.Calls().empty());
}

// What a menu draws for an item: the kind of its mark and whether it is set.
class MenuLook : public QMenu {
public:
    QStyleOptionMenuItem Look(const QAction* item) const
    {
        QStyleOptionMenuItem option;
        initStyleOption(&option, item);
        return option;
    }
};

// A currency is one of a set, so its mark is a radio mark; the two US-dollar
// items still carry it together, and choosing the marked item keeps it.
TEST_F(Currency, ItemsShowRadioMarksAndTheUsDollarTwinsShareTheirs)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SearchOneDemoLine();
    const MenuLook menu;
    for (const QAction* item : window->Menu.CurrencyItems)
        EXPECT_EQ(menu.Look(item).checkType, QStyleOptionMenuItem::Exclusive) << item->objectName().toStdString();

    Action("USDollarsUSD1")->trigger();
    Action("US1")->trigger();  // the marked one, chosen again
    QStringList marked;
    for (const QAction* item : window->Menu.CurrencyItems)
        if (menu.Look(item).checked) marked << item->objectName();
    EXPECT_EQ(marked, (QStringList{"USDollarsUSD1", "US1"}));
    Action("GBP1")->trigger();
    EXPECT_EQ(Checked(), QStringList{"GBP1"});
}

TEST_F(Currency, StoredCurrencyWinsAtTheNextSearchWhenSettingsAreNotSaved)
{
    install.WriteDemoData({"GBP|1.5|", "EUR|1.25|"});
    StoreCurrency(17);  // EUR
    Open();
    SearchOneDemoLine();
    EXPECT_EQ(Checked(), QStringList{"Euro1"});
    EXPECT_EQ(Cell(0, 12), QStringLiteral("EUR 1.72"));  // 2.15 / 1.25

    window->Menu.SaveSettingsOnExit1->setChecked(false);
    Action("GBP1")->trigger();
    EXPECT_EQ(Prices(), kGbp);
    EXPECT_EQ(StoredCurrency(), 17);

    QTest::keyClick(results->grdSpecs, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Checked(), QStringList{"Euro1"});
    EXPECT_EQ(Cell(0, 12), QStringLiteral("EUR 1.72"));
    EXPECT_EQ(Heading(12), QStringLiteral("List Price Per Foot (EUR)"));
}

TEST_F(Currency, SavedChoiceIsStoredAtOnceAndSurvivesTheNextSearch)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    ASSERT_TRUE(window->Menu.SaveSettingsOnExit1->isChecked());
    SearchOneDemoLine();
    EXPECT_EQ(StoredCurrency(), std::nullopt);  // no key yet: US1 keeps its mark, nothing written
    Action("GBP1")->trigger();
    EXPECT_EQ(StoredCurrency(), 20);
    QTest::keyClick(results->grdSpecs, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Checked(), QStringList{"GBP1"});
    EXPECT_EQ(Prices(), kGbp);
    Action("USDollarsUSD1")->trigger();
    EXPECT_EQ(StoredCurrency(), 1);
}

struct StoredCase {
    const char* name;
    bool rates;
    bool key;              // the settings key exists
    const char* value;     // "Currency" as stored: a number, a text ("t:...") or nullptr
    QStringList checked;   // after choosing GBP (save off) and searching again
    const char* price;     // column 13 of the first row then
};

void PrintTo(const StoredCase& c, std::ostream* out) { *out << c.name; }

class StoredCurrencyAtSearch : public Currency, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredCurrencyAtSearch, PutsTheMarksBack)
{
    const StoredCase& c = GetParam();
    install.WriteDemoData({"GBP|1.5|", "CAD|0.5|"});
    if (!c.rates) QFile::remove(install.ProgramFolder() + QStringLiteral("/xcngrate.dat"));
    if (c.key) {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(kSettingsKey, true));
        const QString value = QLatin1String(c.value != nullptr ? c.value : "");
        if (value.startsWith(QStringLiteral("t:"))) {
            ASSERT_TRUE(store.WriteString(QStringLiteral("Currency"), value.mid(2)));
        } else if (!value.isEmpty()) {
            ASSERT_TRUE(store.WriteInteger(QStringLiteral("Currency"), value.toInt()));
        }
    }
    Open();
    window->Menu.SaveSettingsOnExit1->setChecked(false);
    SetBand("806", "960");
    SetKinds(false, true, false, false);
    query->chkConnector->setChecked(true);
    query->cbxConnector->setCurrentText(QStringLiteral("4.3-10 Female"));
    // A choice in another submenu and one in "North America".
    Action("GBP1")->trigger();
    Action("Canada1")->setChecked(true);
    Search();
    EXPECT_EQ(Checked(), c.checked);
    ASSERT_EQ(ResultPartNumbers(), QStringList{"QXF-050"});
    EXPECT_EQ(Cell(0, 12), QLatin1String(c.price));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredCurrencyAtSearch,
    ::testing::Values(
        StoredCase{"stored_tag", true, true, "35", {"Brazil1"}, "BRL 2.15"},  // no BRL rate: 1
        StoredCase{"stored_usd", true, true, "1", {"USDollarsUSD1", "US1"}, "USD 2.15"},
        StoredCase{"unknown_tag", true, true, "99", {"GBP1", "Canada1"}, "GBP 1.43"},
        StoredCase{"value_missing", true, true, nullptr, {"GBP1", "Canada1"}, "GBP 1.43"},
        StoredCase{"value_is_text", true, true, "t:20", {"GBP1", "Canada1"}, "GBP 1.43"},
        // Without a key only "North America" falls back to US1; the pound, first in menu order, stays.
        StoredCase{"no_key", true, false, nullptr, {"GBP1", "US1"}, "GBP 1.43"},
        // Without rates every price is in US dollars and the stored Tag is not read.
        StoredCase{"no_rates", false, true, "20", {"USDollarsUSD1", "US1"}, "USD 2.15"},
        StoredCase{"no_rates_value_is_text", false, true, "t:x", {"USDollarsUSD1", "US1"}, "USD 2.15"}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillon
