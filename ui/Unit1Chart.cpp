// The chart beside the results: it follows the results' filling and the
// grid's current row; the user compares lines through the "Chart" menu and
// the panel, and the chart leaves the window as a picture on the clipboard,
// a PNG or SVG file, or a printed page.

#include "ui/Unit1.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>

#include "chart/ChartPicture.h"
#include "ui/ChartPanel.h"
#include "ui/ChartReport.h"
#include "ui/ResultsPage.h"
#include "platform/Seams.h"

namespace quillon {

void TfrmMain::BuildChartPanel()
{
    ChartPanel1 = new TChartPanel(tsResults);
    tsResults->AddAnalysisPanel(ChartPanel1, QStringLiteral("Chart"));
}

void TfrmMain::ConnectChartHandlers()
{
    const auto add = Guarded([this] { AddLineToChart1Click(); });
    connect(Menu.AddLineToChart1, &QAction::triggered, this, add);
    connect(ChartPanel1->btnChartAdd, &QPushButton::clicked, this, add);
    connect(Menu.RemoveLineFromChart1, &QAction::triggered, this, Guarded([this] { RemoveLineFromChart1Click(); }));
    connect(ChartPanel1->btnCopyChart, &QPushButton::clicked, this, Guarded([this] { btnCopyChartClick(); }));
    connect(ChartPanel1->btnSaveChart, &QPushButton::clicked, this, Guarded([this] { btnSaveChartClick(); }));
    connect(ChartPanel1->btnPrintChart, &QPushButton::clicked, this, Guarded([this] { btnPrintChartClick(); }));
}

void TfrmMain::SetChartMenuForPage(bool results)
{
    // The items themselves too: a hidden menu alone would leave their keys working.
    for (QAction* item : {Menu.Chart1, Menu.AddLineToChart1, Menu.RemoveLineFromChart1}) item->setVisible(results);
}

void TfrmMain::ChartFollowsResults()
{
    ChartPanel1->FollowResults([this](const TTransmissionLine& line) { return session_.RowBasisOf(line); },
                               SelectedLine());
}

void TfrmMain::ChartFollowsSelectedLine() { ChartPanel1->SetCurrentLine(SelectedLine()); }

void TfrmMain::AddLineToChart1Click()
{
    if (ChartPanel1->AddLine(SelectedLine()) == TChartPanel::AddOutcome::Full) {
        seams_.messages.DefaultBeep();
        seams_.messages.Information(QStringLiteral("The chart compares up to %1 lines.\rRemove one to add another.")
                                        .arg(kMaxChartLines));
    }
}

void TfrmMain::RemoveLineFromChart1Click() { ChartPanel1->RemoveLine(SelectedLine()); }

void TfrmMain::btnCopyChartClick()
{
    QGuiApplication::clipboard()->setImage(TChartPicture(ChartPanel1->Plan()).Image());
}

void TfrmMain::btnSaveChartClick()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save Chart");
    if (chartSavePath_.isEmpty()) {
        request.initialFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        request.initialName = QStringLiteral("attenuation.png");
    } else {
        request.initialFolder = QFileInfo(chartSavePath_).absolutePath();
        request.initialName = QFileInfo(chartSavePath_).fileName();
    }
    request.filter = QStringLiteral("PNG Picture (*.png)|*.png|SVG Picture (*.svg)|*.svg");
    request.defaultExtension = QStringLiteral("png");
    const QString path = seams_.fileDialogs.SaveFile(request);
    if (path.isEmpty()) return;
    chartSavePath_ = path;
    if (const std::optional<QString> error = SaveChartPicture(ChartPanel1->Plan(), path))
        seams_.messages.Error(QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path) +
                              QStringLiteral(": ") + *error);
}

void TfrmMain::btnPrintChartClick()
{
    const TReport report = ChartReport(ChartPanel1->Plan(), ChartPanel1->EdgeTexts());
    if (printReportRunner_)
        printReportRunner_(report, this);
    else
        RunReportPreview(report, this);
}

}  // namespace quillon
