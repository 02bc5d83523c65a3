#include "ui/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "engine/Currencies.h"
#include "ui/QtText.h"

namespace quillon {
namespace {

QAction* Item(QMenu* menu, const char* name, const char* caption, const char* shortcut = nullptr)
{
    QAction* action = menu->addAction(QLatin1String(caption));
    action->setObjectName(QLatin1String(name));
    if (shortcut != nullptr) action->setShortcut(QKeySequence(QLatin1String(shortcut)));
    return action;
}

QAction* Separator(QMenu* menu, const char* name)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

// "Middle East" -> "MiddleEast1", the designer's way of naming menu items.
QString SubmenuName(std::string_view caption)
{
    QString name = FromEngine(caption);
    name.remove(QLatin1Char(' '));
    return name + QLatin1Char('1');
}

}  // namespace

void TMainMenu::Build(QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->menuAction()->setObjectName(QStringLiteral("File1Item"));
    OpenFile1 = Item(File1, "OpenFile1", "&Open File", "Ctrl+O");
    SaveSettingsOnExit1 = Item(File1, "SaveSettingsOnExit1", "Save Settings On Exit", "Ctrl+S");
    SaveSettingsOnExit1->setCheckable(true);
    SaveSettingsOnExit1->setChecked(true);
    N1 = Separator(File1, "N1");
    Print1 = Item(File1, "Print1", "Print", "Ctrl+P");
    CopyToClipboard1 = Item(File1, "CopyToClipboard1", "Copy To Clipboard", "Ctrl+C");
    SaveQuerySettingsToFile1 = Item(File1, "SaveQuerySettingsToFile1", "Save Query Settings To File", "Ctrl+Shift+S");
    ExportData1Menu = File1->addMenu(QStringLiteral("Export Data"));
    ExportData1Menu->setObjectName(QStringLiteral("ExportData1Menu"));
    ExportData1 = ExportData1Menu->menuAction();
    ExportData1->setObjectName(QStringLiteral("ExportData1"));
    ToAMicrosoftExcelFile1 = Item(ExportData1Menu, "ToAMicrosoftExcelFile1", "To A Microsoft Excel File");
    ToAnHTMLFile1 = Item(ExportData1Menu, "ToAnHTMLFile1", "To An HTML File");
    N2 = Separator(File1, "N2");
    GetTransmissionLines1 = Item(File1, "GetTransmissionLines1", "Get Transmission Lines", "Ctrl+G");
    NewQuery1 = Item(File1, "NewQuery1", "New Query", "Ctrl+Q");
    N3 = Separator(File1, "N3");
    ViewLatestNewsFromTarvex1 = Item(File1, "ViewLatestNewsFromTarvex1", "View Latest News From &Tarvex", "Ctrl+A");
    Freshline1 = Item(File1, "Freshline1", "Freshline", "Ctrl+U");
    Exit1 = Item(File1, "Exit1", "Exit", "Ctrl+X");

    CurrencySettings1Menu = bar->addMenu(QStringLiteral("Currency Settings"));
    CurrencySettings1Menu->setObjectName(QStringLiteral("CurrencySettings1Menu"));
    CurrencySettings1 = CurrencySettings1Menu->menuAction();
    CurrencySettings1->setObjectName(QStringLiteral("CurrencySettings1"));
    CurrencySettings1->setVisible(false);
    CurrencySubmenus.clear();
    CurrencyItems.clear();
    for (const CurrencyItem& currency : CurrencyMenu()) {
        QMenu* menu = CurrencySettings1Menu;
        if (!currency.Submenu.empty()) {
            const QString caption = FromEngine(currency.Submenu);
            if (CurrencySubmenus.empty() || CurrencySubmenus.back()->title() != caption) {
                QMenu* submenu = CurrencySettings1Menu->addMenu(caption);
                submenu->setObjectName(SubmenuName(currency.Submenu) + QStringLiteral("Menu"));
                submenu->menuAction()->setObjectName(SubmenuName(currency.Submenu));
                CurrencySubmenus.push_back(submenu);
            }
            menu = CurrencySubmenus.back();
        }
        QAction* item = menu->addAction(FromEngine(currency.Caption));
        item->setObjectName(FromEngine(currency.ItemName));
        item->setCheckable(true);
        // A currency is one of a set: an action in an exclusive group is
        // drawn with a radio mark. One group per item, not one for all: the
        // two US-dollar items are one currency and carry the mark together,
        // which a shared exclusive group would not allow; SelectCurrency
        // moves the mark.
        auto* oneOfASet = new QActionGroup(item);
        oneOfASet->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        oneOfASet->addAction(item);
        item->setData(currency.Tag);
        item->setProperty("Tag", currency.Tag);
        CurrencyItems.push_back(item);
    }
    USDollarsUSD1 = CurrencyItems.front();
    for (QAction* item : CurrencyItems)
        if (item->objectName() == QLatin1String("US1")) US1 = item;
    US1->setChecked(true);

    Chart1Menu = bar->addMenu(QStringLiteral("Chart"));
    Chart1Menu->setObjectName(QStringLiteral("Chart1Menu"));
    Chart1 = Chart1Menu->menuAction();
    Chart1->setObjectName(QStringLiteral("Chart1"));
    AddLineToChart1 = Item(Chart1Menu, "AddLineToChart1", "Add Line To Chart", "Ctrl+L");
    RemoveLineFromChart1 = Item(Chart1Menu, "RemoveLineFromChart1", "Remove Line From Chart", "Ctrl+Shift+L");
    // Out of sight until the results page shows.
    for (QAction* item : {Chart1, AddLineToChart1, RemoveLineFromChart1}) item->setVisible(false);

    About1 = bar->addAction(QStringLiteral("About"));
    About1->setObjectName(QStringLiteral("About1"));
}

QList<QAction*> TMainMenu::ShortcutItems() const
{
    QList<QAction*> items;
    for (QAction* item : {OpenFile1, SaveSettingsOnExit1, Print1, CopyToClipboard1, SaveQuerySettingsToFile1,
                          GetTransmissionLines1, NewQuery1, ViewLatestNewsFromTarvex1, Freshline1, Exit1})
        items << item;
    return items;
}

int TMainMenu::TagOf(const QAction* item)
{
    return item == nullptr ? 0 : item->property("Tag").toInt();
}

}  // namespace quillon
