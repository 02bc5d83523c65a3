// The results leaving the window: the selected line on the clipboard, the
// whole table as a spreadsheet file or an HTML page, and printing through the
// Print Options dialog. Each command reads the results page as it is shown.

#include "ui/Unit1.h"

#include <QAction>
#include <QPushButton>

#include "ui/ResultsPage.h"
#include "ui/ResultsPageView.h"
#include "ui/ShowErrors.h"
#include "output/ClipboardText.h"
#include "output/HtmlExport.h"
#include "output/PrintOptions.h"
#include "output/SpreadsheetExport.h"
#include "platform/Seams.h"

namespace quillon {

void TfrmMain::ConnectOutputHandlers()
{
    const auto handle = [this](void (TfrmMain::*handler)()) {
        return [this, handler] { ShowErrors(seams_.messages, [this, handler] { (this->*handler)(); }); };
    };
    connect(tsResults->btnClipboard, &QPushButton::clicked, this, handle(&TfrmMain::btnClipboardClick));
    connect(Menu.CopyToClipboard1, &QAction::triggered, this, handle(&TfrmMain::btnClipboardClick));
    connect(tsResults->btnPrint, &QPushButton::clicked, this, handle(&TfrmMain::btnPrintClick));
    connect(Menu.Print1, &QAction::triggered, this, handle(&TfrmMain::btnPrintClick));
    connect(Menu.ToAMicrosoftExcelFile1, &QAction::triggered, this, handle(&TfrmMain::ToAMicrosoftExcelFile1Click));
    connect(Menu.ToAnHTMLFile1, &QAction::triggered, this, handle(&TfrmMain::ToAnHTMLFile1Click));
}

void TfrmMain::btnClipboardClick() { CopyResultsToClipboard(TResultsPageView(*tsResults)); }

void TfrmMain::ToAMicrosoftExcelFile1Click() { ExportSpreadsheet(TResultsPageView(*tsResults), seams_, ExcelSave); }

void TfrmMain::ToAnHTMLFile1Click() { ExportHtml(TResultsPageView(*tsResults), seams_, SaveDialog1); }

void TfrmMain::btnPrintClick()
{
    const TResultsPageView view(*tsResults);
    TfrmPrintOptions frmPrintOptions(view, seams_, PrintReportRunner, this);
    frmPrintOptions.exec();
}

}  // namespace quillon
