// The results leaving the window: the selected line on the clipboard, the
// whole table as a spreadsheet file or an HTML page, and printing through the
// Print Options dialog. Each command reads the results page as it is shown.

#include "ui/Unit1.h"

#include <QAction>
#include <QPushButton>

#include "ui/ResultsPage.h"
#include "ui/ResultsPageView.h"
#include "output/ClipboardText.h"
#include "output/HtmlExport.h"
#include "output/PrintOptions.h"
#include "output/SpreadsheetExport.h"
#include "platform/Seams.h"

namespace quillon {

void TfrmMain::ConnectOutputHandlers()
{
    const auto clipboard = Guarded([this] { btnClipboardClick(); });
    const auto print = Guarded([this] { btnPrintClick(); });
    connect(tsResults->btnClipboard, &QPushButton::clicked, this, clipboard);
    connect(Menu.CopyToClipboard1, &QAction::triggered, this, clipboard);
    connect(tsResults->btnPrint, &QPushButton::clicked, this, print);
    connect(Menu.Print1, &QAction::triggered, this, print);
    connect(Menu.ToAMicrosoftExcelFile1, &QAction::triggered, this, Guarded([this] { ToAMicrosoftExcelFile1Click(); }));
    connect(Menu.ToAnHTMLFile1, &QAction::triggered, this, Guarded([this] { ToAnHTMLFile1Click(); }));
}

void TfrmMain::btnClipboardClick() { CopyResultsToClipboard(TResultsPageView(*tsResults)); }

void TfrmMain::ToAMicrosoftExcelFile1Click() { ExportSpreadsheet(TResultsPageView(*tsResults), seams_, ExcelSave); }

void TfrmMain::ToAnHTMLFile1Click() { ExportHtml(TResultsPageView(*tsResults), seams_, SaveDialog1); }

void TfrmMain::btnPrintClick()
{
    const TResultsPageView view(*tsResults);
    TfrmPrintOptions frmPrintOptions(view, seams_, printReportRunner_, this);
    frmPrintOptions.exec();
}

}  // namespace quillon
