#pragma once
// The main window: one window with two pages whose tabs are hidden (the query
// page and the results page), the menu, the status bar showing the hint of the
// control under the mouse, and the run's data, loaded by the start-up sequence
// when the window is created.

#include <functional>
#include <string>

#include <QMainWindow>
#include <QStringList>

#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "ui/MainMenu.h"
#include "engine/PriceList.h"
#include "output/ExportFile.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QStackedWidget;
class QStatusBar;
class QTableView;

namespace quillon {

struct Seams;
class TFreshlineDlg;
class THintTracker;
class TNewsDlg;
class TQueryValuesPage;
class TReport;
class TResultsPage;
class TShortcutRouter;

class TfrmMain final : public QMainWindow
{
    Q_OBJECT

public:
    // arguments: the command-line parameters after the program's name.
    TfrmMain(Seams& seams, QStringList arguments, QWidget* parent = nullptr);
    ~TfrmMain() override;

    static constexpr int kQueryValuesPage = 0;
    static constexpr int kResultsPage = 1;

    // Controls.
    QStackedWidget* PageControl1;  // the pages; tabs hidden, switched by the program only
    TQueryValuesPage* tsQueryValues;
    TResultsPage* tsResults;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel;  // the status bar's only panel
    TMainMenu Menu;
    // The update and news reminders, checked once at the first activation.
    TFreshlineDlg* FreshlineDlg1 = nullptr;  // DefaultProgram "QUILLON"
    TNewsDlg* NewsDlg1 = nullptr;

    // The run's data. The catalogue owns every line (AllLines) and holds the
    // band-edge lists (BeginFrequencies, EndFrequencies) for the life of the
    // window; ResultLines refers into it.
    Catalogue catalogue;
    LineList ResultLines;
    PriceList PriceListLines;
    ExchangeRates exchangeRates;  // HasExchangeRates and ExchangeRateLines
    std::string CommandLinePartNumber;
    const QStringList Arguments;

    bool HasExchangeRates() const { return exchangeRates.HasExchangeRates; }
    const Seams& seams() const { return seams_; }

    // Makes the page current and runs its set-up.
    void ShowPage(int page);
    int CurrentPage() const;

    // Which menu items show on the query page (false) or the results page (true).
    void SetMenuForPage(bool results);
    // The spreadsheet program's automation class is registered with the desktop.
    bool IsExcelRegistered() const;

    // Handlers, one per event.
    void tsQueryValuesShow();
    void tsResultsShow();
    void btnNewQueryClick();
    void btnSearchClick();
    void Image1Click();
    void About1Click();
    void Freshline1Click();
    void ViewLatestNewsFromTarvex1Click();
    void lblEmailClick();
    void OpenFile1Click();
    void SaveQuerySettingsToFile1Click();
    void btnClipboardClick();
    void btnPrintClick();
    void ToAMicrosoftExcelFile1Click();
    void ToAnHTMLFile1Click();

    // The save dialogs offer the name last chosen in them: the spreadsheet
    // export has its own; the HTML export and the query-file save share one.
    SaveDialogState ExcelSave;
    SaveDialogState SaveDialog1;
    // Runs a report of the Print Options dialog; empty: the print preview.
    std::function<void(const TReport& report, QWidget* dialog)> PrintReportRunner;

    // A command line that cannot run ended the program during start-up: the
    // window is not to be shown, and nothing is searched or stored.
    bool Terminated() const { return terminated_; }

    // Fills grdSpecs from the lines: the command-line filling when the
    // program has exactly one argument, the interactive one otherwise. An
    // error stops it at the cell it reached (the cells before stay) and goes
    // on to the caller.
    void FillResultRows(const LineList& lines);

    // The currency menu: the chosen currency is the check mark on its items.
    void US1Click(QAction* item);
    void SelectCurrency(QAction* item);
    void StoreCurrency(int tag);
    void ApplyStoredCurrency();
    // The Tag of the first checked item in menu order.
    int CheckedCurrencyTag() const;
    CurrencyCode CurrentCurrencyCode() const;
    long double ConvertPrice(long double usd) const;

    // The results page: the line at grdSpecs' current row (nullptr when the
    // row holds none), its connector types in the two lists and the part
    // numbers of the chosen types in the two part-number grids.
    TTransmissionLine* SelectedLine() const;
    void FillConnectorList(QListWidget* list, const QCheckBox* criterion, QTableView* grid, const QComboBox* combo);
    void FillPartNumberGrid(QTableView* grid, const QListWidget* list);
    void grdSpecsClick();
    void grdSpecsRowChanged(int row);
    void lstConnectorsClick();
    void lstConnectors2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildWindow();
    void ConnectHandlers();
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    // Part of start-up up to the filling of the lists; false when the files
    // were missing (the missing-files message is shown then).
    bool LoadCatalogueFiles(const QString& dataFolder, bool& catalogueLoaded);
    QString ReadDataFolder();
    void FillQueryLists();
    void CentreOnScreen();
    // The search's steps after the query ran (Unit1Search.cpp).
    void Search();
    void ConnectResultsHandlers();
    // Makes the row current in grdSpecs after a filling; the row-change
    // handler's connector lists are not refilled by this.
    void SetSpecsCurrentRow(int row);

    // Hooks the saved settings, the command line and the reminders fill in.
    void LoadSettings();
    void SaveSettings();
    void ApplyCommandLine();
    void ConnectSettingsHandlers();
    void ConnectOutputHandlers();

    Seams& seams_;
    THintTracker* hints_ = nullptr;
    TShortcutRouter* shortcuts_ = nullptr;
    bool firstShow_ = true;
    bool fillingSpecs_ = false;  // grdSpecs' current row moves because of a filling
    bool activated_ = false;  // the first activation has come
    bool terminated_ = false;
    bool settingsReady_ = false;  // the page was set up from the catalogue: SaveSettings stores it
};

}  // namespace quillon
