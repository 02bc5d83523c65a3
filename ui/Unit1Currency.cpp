// The currency menu of the main window. The chosen currency is nothing but
// the check mark on its items; it is stored in the settings when settings are
// saved on exit, and the stored one is put back by every search.

#include "ui/Unit1.h"

#include <QAction>
#include <QMenu>

namespace quillon {

void TfrmMain::US1Click(QAction* item)
{
    SelectCurrency(item);
    FillResultRows(session_.ResultLines());
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
    if (Menu.SaveSettingsOnExit1->isChecked()) session_.StoreCurrency(TMainMenu::TagOf(item));
}

void TfrmMain::ApplyStoredCurrency()
{
    const StoredCurrency stored = session_.ReadStoredCurrency();
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

}  // namespace quillon
