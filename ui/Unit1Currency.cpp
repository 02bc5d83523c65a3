// The currency menu of the main window. The chosen currency is nothing but
// the check mark on its items; it is stored in the settings when settings are
// saved on exit, and the stored one is put back by every search.

#include "ui/Unit1.h"

#include <QAction>
#include <QMenu>

#include "persist/RegistrySettings.h"
#include "platform/Seams.h"

namespace quillon {

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
    if (!quillon::StoreCurrency(store, tag))
        qWarning("The chosen currency could not be stored: %s", qUtf8Printable(store.LastError()));
}

void TfrmMain::ApplyStoredCurrency()
{
    SettingsStore store = seams_.Settings();
    const StoredCurrency stored = ReadStoredCurrency(store, HasExchangeRates());
    if (!stored.KeyFound) {
        // Nothing stored yet: US dollars in "North America"; items of other
        // submenus keep their marks.
        if (auto* northAmerica = qobject_cast<QMenu*>(Menu.US1->parent()))
            for (QAction* item : northAmerica->actions()) item->setChecked(item == Menu.US1);
        return;
    }
    if (!stored.Tag) return;  // unreadable: the marks stay
    for (QAction* item : Menu.CurrencyItems) {
        if (TMainMenu::TagOf(item) == *stored.Tag) {
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
