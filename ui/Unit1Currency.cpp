// The currency menu of the main window. The chosen currency is nothing but
// the check mark on its items; it is stored in the settings when settings are
// saved on exit, and the stored one is put back by every search.

#include "ui/Unit1.h"

#include <QAction>
#include <QMenu>

#include "platform/Seams.h"

namespace quillon {
namespace {

const QString kSettingsKey = QStringLiteral("\\Software\\Tarvex\\Quillon\\Settings");
const QString kCurrencyValue = QStringLiteral("Currency");

}  // namespace

void TfrmMain::US1Click(QAction* item)
{
    SelectCurrency(item);
    FillResultRows(ResultLines);
    lstConnectorsClick();
    lstConnectors2Click();
}

void TfrmMain::SelectCurrency(QAction* item)
{
    for (QAction* other : Menu.CurrencyItems) other->setChecked(false);
    item->setChecked(true);
    // The two US-dollar items are one currency.
    if (item == Menu.US1) Menu.USDollarsUSD1->setChecked(true);
    if (item == Menu.USDollarsUSD1) Menu.US1->setChecked(true);
    if (Menu.SaveSettingsOnExit1->isChecked()) StoreCurrency(TMainMenu::TagOf(item));
}

void TfrmMain::StoreCurrency(int tag)
{
    // The choice still holds for this run when the store cannot keep it.
    SettingsStore store = seams_.Settings();
    if (store.OpenKey(kSettingsKey, true)) store.WriteInteger(kCurrencyValue, tag);
}

void TfrmMain::ApplyStoredCurrency()
{
    SettingsStore store = seams_.Settings();
    if (!store.KeyExists(kSettingsKey)) {
        // Nothing stored yet: US dollars in "North America"; items of other
        // submenus keep their marks.
        if (auto* northAmerica = qobject_cast<QMenu*>(Menu.US1->parent()))
            for (QAction* item : northAmerica->actions()) item->setChecked(item == Menu.US1);
        return;
    }
    if (!store.OpenKey(kSettingsKey, false)) return;
    int tag = 1;
    // Without exchange rates every price is in US dollars, whatever was stored.
    if (HasExchangeRates()) {
        const std::optional<qint32> stored = store.ReadInteger(kCurrencyValue);
        if (!stored) return;  // missing or not a number: the marks stay
        tag = *stored;
    }
    store.CloseKey();
    for (QAction* item : Menu.CurrencyItems) {
        if (TMainMenu::TagOf(item) == tag) {
            SelectCurrency(item);
            return;
        }
    }
}

int TfrmMain::CheckedCurrencyTag() const
{
    for (const QAction* item : Menu.CurrencyItems)
        if (item->isChecked()) return TMainMenu::TagOf(item);
    return 1;  // not reached: one item always carries the mark
}

CurrencyCode TfrmMain::CurrentCurrencyCode() const
{
    return quillon::CurrentCurrencyCode(exchangeRates, CheckedCurrencyTag());
}

long double TfrmMain::ConvertPrice(long double usd) const
{
    return quillon::ConvertPrice(exchangeRates, CheckedCurrencyTag(), usd);
}

}  // namespace quillon
