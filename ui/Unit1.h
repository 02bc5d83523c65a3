#pragma once
// The main window: one window with two pages whose tabs are hidden (the query
// page and the results page), the menu, and the status bar showing the hint
// of the control under the mouse. It holds controls and handlers; the run's
// data and what is asked of it are the session's (TSession), loaded by the
// start-up sequence when the window is created.

#include <functional>

#include <QMainWindow>
#include <QStringList>

#include "output/ExportFile.h"
#include "ui/MainMenu.h"
#include "ui/Session.h"

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
class TChartPanel;
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
    TChartPanel* ChartPanel1 = nullptr;  // the results page's "Chart" tab
    QStatusBar* StatusBar1;
    QLabel* StatusPanel;  // the status bar's only panel
    TMainMenu Menu;
    // The update and news reminders, checked once at the first activation.
    TFreshlineDlg* FreshlineDlg1 = nullptr;  // DefaultProgram "QUILLON"
    TNewsDlg* NewsDlg1 = nullptr;

    // The run's data.
    TSession& Session() { return session_; }
    const TSession& Session() const { return session_; }

    // Runs a report of the Print Options dialog; empty: the print preview.
    using ReportRunner = std::function<void(const TReport& report, QWidget* dialog)>;
    void SetPrintReportRunner(ReportRunner runner) { printReportRunner_ = std::move(runner); }

    // A command line that cannot run ended the program during start-up: the
    // window is not to be shown, and nothing is searched or stored.
    bool Terminated() const { return terminated_; }

    // Makes the page current and runs its set-up.
    void ShowPage(int page);
    int CurrentPage() const;

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
    void US1Click(QAction* item);
    void grdSpecsClick();
    void grdSpecsRowChanged(int row);
    void lstConnectorsClick();
    void lstConnectors2Click();
    void AddLineToChart1Click();
    void RemoveLineFromChart1Click();
    void btnCopyChartClick();
    void btnSaveChartClick();
    void btnPrintChartClick();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The edge of every handler: an error ends it and shows in the error box.
    template <class Handler>
    auto Guarded(Handler handler)
    {
        return [this, handler] { ShowErrorsOf(handler); };
    }
    void ShowErrorsOf(const std::function<void()>& handler);

    void BuildWindow();
    void ConnectHandlers();
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void FillQueryLists();
    void CentreOnScreen();
    // Which menu items show on the query page (false) or the results page (true).
    void SetMenuForPage(bool results);

    // The search's steps after the query ran (Unit1Search.cpp).
    void Search();
    void FillResultRows(const LineList& lines);
    // Makes the row current in grdSpecs after a filling; the row-change
    // handler's connector lists are not refilled by this.
    void SetSpecsCurrentRow(int row);

    // The results page (Unit1Results.cpp): the line at grdSpecs' current row,
    // its connector types in the two lists and the part numbers of the
    // chosen types in the two part-number grids.
    void ConnectResultsHandlers();
    TTransmissionLine* SelectedLine() const;
    void FillConnectorList(QListWidget* list, const QCheckBox* criterion, QTableView* grid, const QComboBox* combo);
    void FillPartNumberGrid(QTableView* grid, const QListWidget* list);

    // The currency menu (Unit1Currency.cpp): the chosen currency is the check
    // mark on its items.
    void SelectCurrency(QAction* item);
    void ApplyStoredCurrency();
    int CheckedCurrencyTag() const;

    // The remembered query, query files and the command line (Unit1Settings.cpp).
    void ConnectSettingsHandlers();
    void LoadSettings();
    void SaveSettings();
    void ApplyCommandLine();

    // The results leaving the window (Unit1Output.cpp).
    void ConnectOutputHandlers();

    // The chart beside the results (Unit1Chart.cpp): it follows the filling
    // and the current row; its pictures leave through the seams.
    void BuildChartPanel();
    void ConnectChartHandlers();
    void SetChartMenuForPage(bool results);
    void ChartFollowsResults();
    void ChartFollowsSelectedLine();

    Seams& seams_;
    TSession session_;
    // The save dialogs offer the name last chosen in them: the spreadsheet
    // export has its own; the HTML export and the query-file save share one.
    SaveDialogState ExcelSave;
    SaveDialogState SaveDialog1;
    QString chartSavePath_;  // the picture last saved, offered again by the next save
    ReportRunner printReportRunner_;
    THintTracker* hints_ = nullptr;
    TShortcutRouter* shortcuts_ = nullptr;
    bool firstShow_ = true;
    bool fillingSpecs_ = false;  // grdSpecs' current row moves because of a filling
    bool activated_ = false;     // the first activation has come
    bool terminated_ = false;
};

}  // namespace quillon
