#pragma once
// The main window's menu bar: "&File", "Currency Settings", "Chart" and "About", every
// item a named QAction (objectName = the item's name) so the page switch, the
// currency choice and the tests reach them by name. Items only: what they do
// is connected by the window.

#include <vector>

#include <QList>

class QAction;
class QMainWindow;
class QMenu;

namespace quillon {

struct TMainMenu {
    // Builds the menu bar of the window; every action belongs to the window.
    void Build(QMainWindow* window);

    QMenu* File1 = nullptr;
    QAction* OpenFile1 = nullptr;           // Ctrl+O
    QAction* SaveSettingsOnExit1 = nullptr;  // Ctrl+S, checkable, checked at start
    QAction* N1 = nullptr;                   // separator after "Save Settings On Exit"
    QAction* Print1 = nullptr;               // Ctrl+P
    QAction* CopyToClipboard1 = nullptr;     // Ctrl+C
    QAction* SaveQuerySettingsToFile1 = nullptr;  // Ctrl+Shift+S (Ctrl+S belongs to "Save Settings On Exit")
    QMenu* ExportData1Menu = nullptr;
    QAction* ExportData1 = nullptr;  // the submenu's item in "File"
    QAction* ToAMicrosoftExcelFile1 = nullptr;
    QAction* ToAnHTMLFile1 = nullptr;
    QAction* N2 = nullptr;
    QAction* GetTransmissionLines1 = nullptr;  // Ctrl+G
    QAction* NewQuery1 = nullptr;              // Ctrl+Q
    QAction* N3 = nullptr;
    QAction* ViewLatestNewsFromTarvex1 = nullptr;  // Ctrl+A
    QAction* Freshline1 = nullptr;                 // Ctrl+U
    QAction* Exit1 = nullptr;                      // Ctrl+X

    QMenu* CurrencySettings1Menu = nullptr;
    QAction* CurrencySettings1 = nullptr;  // the menu's item in the bar: hidden at start
    QAction* USDollarsUSD1 = nullptr;       // Tag 1, directly in "Currency Settings"
    QAction* US1 = nullptr;                 // Tag 1 in "North America", checked at start
    // The regional submenus in menu order ("Africa" ... "South America").
    std::vector<QMenu*> CurrencySubmenus;
    // Every currency item in menu order (37: Tag 1 twice); the Tag is the
    // action's data() and its "Tag" property.
    std::vector<QAction*> CurrencyItems;

    // Beside the designed menus, shown on the results page only: the chart's
    // comparison, for the line at the results grid's current row.
    QMenu* Chart1Menu = nullptr;
    QAction* Chart1 = nullptr;                // the menu's item in the bar
    QAction* AddLineToChart1 = nullptr;       // Ctrl+L
    QAction* RemoveLineFromChart1 = nullptr;  // Ctrl+Shift+L

    QAction* About1 = nullptr;

    // The File items with a shortcut, in menu order.
    QList<QAction*> ShortcutItems() const;
    // The currency item's Tag (0 for an action that is none).
    static int TagOf(const QAction* item);
};

}  // namespace quillon
