// The chart tab of the results page on the demo data: it follows the current
// row and the query's units with the band-edge figures beside it, compares up
// to eight lines through the Chart menu's keys and the panel, switches to a
// logarithmic axis, draws the loss criterion's level, and leaves the window
// on the clipboard, as PNG and SVG files and on paper.

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QListWidget>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QRadioButton>
#include <QScatterSeries>
#include <QSvgRenderer>
#include <QTableView>
#include <QTabWidget>
#include <QValueAxis>

#include "chart/ChartPicture.h"
#include "engine/AnalysisColumns.h"
#include "engine/NumberText.h"
#include "output/ReportEngine.h"
#include "tests/output/PrintPdf.h"
#include "tests/ui/SearchFixture.h"
#include "ui/ChartPanel.h"
#include "ui/RunBudgetPanel.h"

namespace quillon {
namespace {

class Chart : public SearchWindow {
protected:
    TChartPanel* Panel() const { return window->ChartPanel1; }

    void OpenDemo()
    {
        install.WriteDemoData({"GBP|1.5|"});
        Open();
    }
    void SearchDemo(const char* beginning, const char* ending, const char* length = "200", bool feet = true)
    {
        SetBand(beginning, ending);
        query->edtLength->setText(QLatin1String(length));
        (feet ? query->rbFeet : query->rbMeters)->setChecked(true);
        Search();
        ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage) << CallLines(install.fakes.messages).join('|').toStdString();
    }
    // The labels the legend shows, in order, with the chart tab on show: out
    // of sight the chart waits to be drawn until it is shown.
    QStringList Legend() const
    {
        results->tabAnalysis->setCurrentWidget(Panel());
        QStringList labels;
        // The legend lays its markers out (and shows them) on its next layout pass.
        QCoreApplication::processEvents();
        for (QLegendMarker* marker : Panel()->chtAttenuation->chart()->legend()->markers())
            if (marker->isVisible()) labels << marker->label();
        return labels;
    }
    QStringList PartNumbersInLegend() const
    {
        QStringList labels = Legend();
        labels.removeAll(QStringLiteral("Query Band"));
        labels.removeAll(QStringLiteral("Loss Limit"));
        return labels;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(results->grdSpecs, Qt::Key(key), modifiers);
    }
    // The user's mouse on the chart tab's controls, with the tab on show.
    void Click(QWidget* control)
    {
        results->tabAnalysis->setCurrentWidget(Panel());
        ASSERT_TRUE(control->isVisible());
        // Near the left, where a check box has its box.
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
    }
    void ClickRow(QTableView* grid, int row)
    {
        const QModelIndex cell = grid->model()->index(row, 0);
        grid->scrollTo(cell);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        ASSERT_EQ(grid->currentIndex().row(), row);
    }
    void ChooseComparedLine(int row)
    {
        results->tabAnalysis->setCurrentWidget(Panel());
        QListWidget* list = Panel()->lstChartLines;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    const TTransmissionLine* Line(int row) const { return window->Session().ResultLines().at(static_cast<std::size_t>(row)); }
    // The index of the current line's curve in the chart.
    int CurrentCurve() const
    {
        const ChartPlan& plan = Panel()->Plan();
        for (std::size_t i = 0; i < plan.Curves.size(); ++i)
            if (plan.Curves[i].Current) return static_cast<int>(i);
        return -1;
    }
    double MidBandMark(int curve) const
    {
        const QScatterSeries* mark = Panel()->Series().MidBands.at(static_cast<std::size_t>(curve));
        EXPECT_NE(mark, nullptr);
        return mark == nullptr ? 0 : mark->at(0).y();
    }
    QStringList Edges() const
    {
        return {Panel()->lblEdgeStart->text(), Panel()->lblEdgeEnd->text(), Panel()->lblEdgeWorst->text(),
                Panel()->lblEdgeInsertionLoss->text(), Panel()->lblEdgeEfficiency->text()};
    }
};

TEST_F(Chart, TabFollowsTheCurrentRowWithItsMidBandMarkAndBandEdges)
{
    OpenDemo();
    SearchDemo("1850", "1990");
    ASSERT_EQ(results->tabAnalysis->tabText(results->tabAnalysis->indexOf(Panel())), QStringLiteral("Chart"));
    ASSERT_GT(results->SpecsModel->rowCount(), 5);
    InteractiveFillInputs inputs;
    inputs.BeginningFrequency = "1850";
    inputs.EndingFrequency = "1990";
    inputs.Length = "200";
    const RowBasis basis = InteractiveRowBasis(inputs, std::nullopt);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        if (row > 0) Key(Qt::Key_Down);
        ASSERT_EQ(results->grdSpecs->currentIndex().row(), row);
        EXPECT_EQ(Panel()->CurrentLine(), Line(row));
        EXPECT_EQ(PartNumbersInLegend(), QStringList{Cell(row, 0)});
        EXPECT_EQ(QString::fromStdString(FormatFixed2(MidBandMark(CurrentCurve()))), Cell(row, 4));  // column 5
        EXPECT_EQ(Panel()->Series().MidBands.at(0)->at(0).x(), 1920);
        // The band-edge figures are the engine's cells for the row's line.
        const auto cells = EdgeCells(*Line(row), basis);
        EXPECT_EQ(Panel()->gbxBandEdges->title(), QStringLiteral("Band Edges: ") + Cell(row, 0) +
                                                      QStringLiteral(", 1850-1990 MHz"));
        EXPECT_EQ(Edges()[0], QStringLiteral("At 1850 MHz: %1 dB/100 ft").arg(QString::fromStdString(cells[0])));
        EXPECT_EQ(Edges()[1], QStringLiteral("At 1990 MHz: %1 dB/100 ft").arg(QString::fromStdString(cells[1])));
        EXPECT_EQ(Edges()[3],
                  QStringLiteral("Insertion loss over 200 ft: %1 dB").arg(QString::fromStdString(cells[2])));
    }
    // The query band is shaded; no loss criterion, no level.
    ASSERT_NE(Panel()->Series().Band, nullptr);
    EXPECT_EQ(Panel()->Series().Band->upperSeries()->at(0).x(), 1850);
    EXPECT_EQ(Panel()->Series().Band->upperSeries()->at(1).x(), 1990);
    EXPECT_EQ(Panel()->Series().MaxLoss, nullptr);

    // QXW-A13 (A = 1360, B = 750) worked by hand: 0.94735 dB/100 ft at 1850 MHz,
    // 0.87803 at 1990; the start is the worse edge; over 200 ft with both
    // connectors 2.03072 dB, an efficiency of 10^(-0.203072) = 62.65 %.
    const int waveguide = static_cast<int>(ResultPartNumbers().indexOf(QStringLiteral("QXW-A13")));
    ASSERT_GE(waveguide, 0);
    ClickRow(results->grdSpecs, waveguide);
    EXPECT_EQ(Edges(), (QStringList{"At 1850 MHz: 0.95 dB/100 ft", "At 1990 MHz: 0.88 dB/100 ft",
                                    "Worst: 0.95 dB/100 ft at 1850 MHz", "Insertion loss over 200 ft: 2.03 dB",
                                    "Efficiency: 62.65 %"}));

    // In metres the chart and the figures follow the query's units: column 6.
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    SearchDemo("1850", "1990", "200", false);
    ClickRow(results->grdSpecs, waveguide);
    EXPECT_EQ(Panel()->Series().Value->titleText(), QStringLiteral("Attenuation (dB/100m)"));
    EXPECT_EQ(QString::fromStdString(FormatFixed2(MidBandMark(CurrentCurve()))), Cell(waveguide, 5));
    // 0.94735 x 3.2808 = 3.10808; 3.10808 x 2 + 0.13601 = 6.35217 dB; 23.16 %.
    EXPECT_EQ(Edges(), (QStringList{"At 1850 MHz: 3.11 dB/100m", "At 1990 MHz: 2.88 dB/100m",
                                    "Worst: 3.11 dB/100m at 1850 MHz", "Insertion loss over 200 m: 6.35 dB",
                                    "Efficiency: 23.16 %"}));

    // A zero length: "N/A" for the run's figures, as the results show.
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    SearchDemo("1850", "1990", "0");
    ClickRow(results->grdSpecs, waveguide);
    ASSERT_EQ(Cell(waveguide, 7), QStringLiteral("N/A"));
    EXPECT_EQ(Edges().mid(3), (QStringList{"Insertion loss: N/A", "Efficiency: N/A"}));
}

// A waveguide whose band reaches below its cut-off: the curve starts above
// it, with no point at or below it, and the mark still equals column 5.
// Stepping through the rows with another tab on show leaves the chart as it
// was drawn; the tab, once shown, draws the row then current.
TEST_F(Chart, OutOfSightTheChartIsDrawnWhenShown)
{
    OpenDemo();
    SearchDemo("1850", "1990");
    ASSERT_GT(results->SpecsModel->rowCount(), 3);
    results->tabAnalysis->setCurrentWidget(Panel());
    ASSERT_EQ(PartNumbersInLegend(), QStringList{Cell(0, 0)});
    QChart* chart = Panel()->chtAttenuation->chart();
    ASSERT_FALSE(chart->series().isEmpty());
    chart->series().constFirst()->setObjectName(QStringLiteral("drawn for row 0"));

    results->tabAnalysis->setCurrentWidget(results->pnlRunBudget);
    ASSERT_FALSE(Panel()->isVisible());
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    ASSERT_EQ(results->grdSpecs->currentIndex().row(), 2);
    // What the panel knows follows at once: the line, its figures, the plan that outputs use.
    EXPECT_EQ(Panel()->CurrentLine(), Line(2));
    EXPECT_EQ(Panel()->gbxBandEdges->title(), QStringLiteral("Band Edges: ") + Cell(2, 0) +
                                                  QStringLiteral(", 1850-1990 MHz"));
    const int curve = CurrentCurve();
    ASSERT_GE(curve, 0);
    const std::optional<ChartPoint> mark = Panel()->Plan().Curves[static_cast<std::size_t>(curve)].MidBand;
    ASSERT_TRUE(mark.has_value());
    EXPECT_EQ(QString::fromStdString(FormatFixed2(mark->Value)), Cell(2, 4));
    EXPECT_EQ(Panel()->Plan().Curves[static_cast<std::size_t>(curve)].PartNumber, Cell(2, 0).toStdString());
    EXPECT_EQ(chart->series().constFirst()->objectName(), QStringLiteral("drawn for row 0"));

    results->tabAnalysis->setCurrentWidget(Panel());
    EXPECT_NE(chart->series().constFirst()->objectName(), QStringLiteral("drawn for row 0"));
    EXPECT_EQ(PartNumbersInLegend(), QStringList{Cell(2, 0)});
}

TEST_F(Chart, NoPointAtOrBelowAWaveguidesCutOff)
{
    std::vector<std::string> rows = FixtureCatalogue();
    rows.push_back("500|3000|EW 1 GHz|ZW-10|EW|PE|4.6|1000|2500|11|1500|EIA Flange|1.05|0.05|6|-150|ZW-10-C||||||");
    install.WriteAll();
    install.WriteCatalogue(rows);
    Open();
    SetKinds(false, false, true, false);
    SetBand("1800", "2200");
    Search();
    ASSERT_EQ(ResultPartNumbers(), (QStringList{"ZW-10"}));
    int points = 0;
    for (const QLineSeries* run : Panel()->Series().Curves.at(0))
        for (const QPointF& p : run->points()) {
            EXPECT_GT(p.x(), 1000);
            ++points;
        }
    EXPECT_EQ(points, 160);  // of 201 over 500-3000 MHz, the 41 up to 1000 MHz have no value
    EXPECT_EQ(MidBandMark(0), 2.5);  // f = 2A: B / 1000
    EXPECT_EQ(Cell(0, 4), QStringLiteral("2.50"));
    // u = ln(1800 / 1000 - 1) = -0.22314; 2.5 x e^(u (0.09557 u - 0.13127)) = 2.58659.
    EXPECT_EQ(Edges()[0], QStringLiteral("At 1800 MHz: 2.59 dB/100 ft"));
}

TEST_F(Chart, ComparesUpToEightLinesWithTheirPartNumbersInTheLegend)
{
    OpenDemo();
    SearchDemo("824", "894");
    const int rows = results->SpecsModel->rowCount();
    ASSERT_GT(rows, 9);
    QStringList added;
    for (int row = 0; row < 8; ++row) {
        if (row > 0) Key(Qt::Key_Down);
        Key(Qt::Key_L, Qt::ControlModifier);
        added << Cell(row, 0);
        EXPECT_EQ(PartNumbersInLegend(), added);
        EXPECT_EQ(Panel()->lstChartLines->count(), row + 1);
    }
    Key(Qt::Key_L, Qt::ControlModifier);  // already compared: nothing changes
    EXPECT_EQ(Panel()->ComparedLines().size(), 8u);
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    for (int i = 0; i < 8; ++i) {
        const QLineSeries* curve = Panel()->Series().Curves.at(static_cast<std::size_t>(i)).at(0);
        EXPECT_EQ(curve->pen().color(), ChartLineColour(i));
        EXPECT_EQ(curve->pen().widthF() > 2, i == 7) << "only the current line is drawn bolder";
    }

    // A ninth line: the chart is full; it says so and leaves the current line out.
    Key(Qt::Key_Down);
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(CallLines(install.fakes.messages),
              (QStringList{"Beep", "Information: The chart compares up to 8 lines.\rRemove one to add another."}));
    EXPECT_EQ(PartNumbersInLegend(), added);
    EXPECT_EQ(CurrentCurve(), -1);

    // Ctrl+Shift+L removes the current row's line; the panel removes the chosen one.
    install.fakes.messages.Clear();
    Key(Qt::Key_Up);
    Key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    added.removeAt(7);
    // The current line is no longer compared, but there is room for it again: drawn last.
    EXPECT_EQ(PartNumbersInLegend(), added + QStringList{Cell(7, 0)});
    ChooseComparedLine(2);
    Click(Panel()->btnChartRemove);
    added.removeAt(2);
    EXPECT_EQ(PartNumbersInLegend(), added + QStringList{Cell(7, 0)});
    ASSERT_EQ(Panel()->lstChartLines->count(), 6);
    EXPECT_TRUE(Panel()->lstChartLines->item(2)->text().startsWith(added[2] + QStringLiteral(" (")));
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());

    // The panel's Add button adds the current row's line as the menu does.
    Click(Panel()->btnChartAdd);
    EXPECT_EQ(Panel()->ComparedLines().back(), Line(7));

    // On the query page the chart's keys do nothing.
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    const std::size_t compared = Panel()->ComparedLines().size();
    query->edtLength->setFocus();
    QTest::keyClick(query->edtLength, Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(query->edtLength, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Panel()->ComparedLines().size(), compared);
}

TEST_F(Chart, LogarithmicAxisAndTheLossCriterionsLevel)
{
    OpenDemo();
    query->chkInsertionLoss->setChecked(true);
    query->edtMaxLoss->setText(QStringLiteral("6"));
    SearchDemo("1850", "1990", "200");
    // 6 dB over 200 ft: 3 dB/100 ft, with every listed line below it.
    ASSERT_NE(Panel()->Series().MaxLoss, nullptr);
    EXPECT_EQ(Panel()->Series().MaxLoss->at(0).y(), 3);
    EXPECT_TRUE(Legend().contains(QStringLiteral("Loss Limit")));
    EXPECT_LT(MidBandMark(CurrentCurve()), 3);

    EXPECT_NE(qobject_cast<QValueAxis*>(Panel()->Series().Frequency), nullptr);
    Click(Panel()->chkLogFrequency);
    auto* log = qobject_cast<QLogValueAxis*>(Panel()->Series().Frequency);
    ASSERT_NE(log, nullptr);
    const QList<QPointF> points = Panel()->Series().Curves.at(0).at(0)->points();
    ASSERT_EQ(points.size(), kChartCurvePoints);
    EXPECT_NEAR(points[1].x() / points[0].x(), points[200].x() / points[199].x(), 1e-9);
    EXPECT_EQ(Panel()->Series().MaxLoss->at(0).y(), 3);  // the level stays
    // The switch holds for other rows and later searches until switched back.
    Key(Qt::Key_Down);
    EXPECT_NE(qobject_cast<QLogValueAxis*>(Panel()->Series().Frequency), nullptr);
    Click(Panel()->chkLogFrequency);
    EXPECT_NE(qobject_cast<QValueAxis*>(Panel()->Series().Frequency), nullptr);

    // In metres: 6 dB over 200 m is 3 dB/100 m.
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    SearchDemo("1850", "1990", "200", false);
    ASSERT_NE(Panel()->Series().MaxLoss, nullptr);
    EXPECT_EQ(Panel()->Series().MaxLoss->at(0).y(), 3);
    // The criterion off: no level.
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    query->chkInsertionLoss->setChecked(false);
    SearchDemo("1850", "1990", "200");
    EXPECT_EQ(Panel()->Series().MaxLoss, nullptr);
}

// A command line computes over each line's own band: the mark is the row's
// column 5, nothing is shaded, and without a length there is no mark and no run.
TEST_F(Chart, CommandLineRowsStandOnTheLinesOwnBand)
{
    install.WriteDemoData({});
    Open({QStringLiteral("QXW-A13|200|F")});
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    EXPECT_EQ(QString::fromStdString(FormatFixed2(MidBandMark(0))), Cell(0, 4));
    EXPECT_EQ(Panel()->Series().Band, nullptr);
    EXPECT_EQ(Edges()[3], QStringLiteral("Insertion loss over 200 ft: 2.03 dB"));
    window.reset();

    Open({QStringLiteral("QXW-A13")});
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    EXPECT_EQ(Panel()->Series().MidBands.at(0), nullptr);
    EXPECT_EQ(Panel()->Plan().Curves.at(0).Segments.at(0).size(), static_cast<std::size_t>(kChartCurvePoints));
    EXPECT_EQ(Edges(), (QStringList{"At 1850 MHz: 0.95 dB/100 ft", "At 1990 MHz: 0.88 dB/100 ft",
                                    "Worst: 0.95 dB/100 ft at 1850 MHz", "Insertion loss: N/A", "Efficiency: N/A"}));
}

TEST_F(Chart, CopiesSavesAsPngAndSvgAndPrints)
{
    OpenDemo();
    SearchDemo("1850", "1990");
    Key(Qt::Key_L, Qt::ControlModifier);
    Key(Qt::Key_Down);
    const QImage expected = TChartPicture(Panel()->Plan()).Image();

    QGuiApplication::clipboard()->clear();
    Click(Panel()->btnCopyChart);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.convertToFormat(expected.format()), expected);

    const QDir folder(install.DataFolder());
    FakeFileDialogs& dialogs = install.fakes.fileDialogs;
    dialogs.QueueAnswer(folder.filePath(QStringLiteral("lines")));  // the dialog adds ".png"
    Click(Panel()->btnSaveChart);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const FileDialogRequest& first = dialogs.Requests()[0].request;
    EXPECT_EQ(dialogs.Requests()[0].kind, FileDialogKind::Save);
    EXPECT_EQ(first.title, QStringLiteral("Save Chart"));
    EXPECT_EQ(first.filter, QStringLiteral("PNG Picture (*.png)|*.png|SVG Picture (*.svg)|*.svg"));
    EXPECT_EQ(first.initialName, QStringLiteral("attenuation.png"));
    const QImage saved(folder.filePath(QStringLiteral("lines.png")));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(expected.format()), expected);

    dialogs.QueueAnswer(folder.filePath(QStringLiteral("lines.svg")));
    Click(Panel()->btnSaveChart);
    EXPECT_EQ(dialogs.Requests()[1].request.initialName, QStringLiteral("lines.png"));  // the last one offered
    EXPECT_EQ(dialogs.Requests()[1].request.initialFolder, install.DataFolder());
    QSvgRenderer svg(folder.filePath(QStringLiteral("lines.svg")));
    EXPECT_TRUE(svg.isValid());
    QFile svgFile(folder.filePath(QStringLiteral("lines.svg")));
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svgText = svgFile.readAll();
    EXPECT_TRUE(svgText.contains(Cell(0, 0).toLatin1()));
    EXPECT_TRUE(svgText.contains(Cell(1, 0).toLatin1()));

    // Cancelled: nothing written, nothing said. A folder that is not there: the error box.
    dialogs.QueueAnswer(QString());
    Click(Panel()->btnSaveChart);
    const QString nowhere = folder.filePath(QStringLiteral("missing/lines.png"));
    dialogs.QueueAnswer(nowhere);
    Click(Panel()->btnSaveChart);
    const QStringList boxes = BoxLines(install.fakes.messages);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Error: Unable to write to ") + QDir::toNativeSeparators(nowhere) +
                                    QStringLiteral(": ")))
        << boxes[0].toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));

    // Printing: one page with the heading, the chart and the band-edge figures.
    const QString pdf = folder.filePath(QStringLiteral("chart.pdf"));
    QString printed;
    window->SetPrintReportRunner([&](const TReport& report, QWidget*) {
        printed = report.name;
        EXPECT_TRUE(RenderReportToPdf(report, pdf));
    });
    Click(Panel()->btnPrintChart);
    EXPECT_EQ(printed, QStringLiteral("rptChart"));
    ASSERT_GT(QFileInfo(pdf).size(), 10000);
    const test::PdfText text = test::ReadPdf(pdf);
    ASSERT_EQ(text.pageCount, 1);
    const QString page = text.PageText(1);
    EXPECT_TRUE(page.contains(QStringLiteral("Attenuation Against Frequency")));
    for (const QString& figure : Panel()->EdgeTexts()) EXPECT_TRUE(page.contains(figure)) << figure.toStdString();
}

}  // namespace
}  // namespace quillon
