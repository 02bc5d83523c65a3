// Sorting the results grid by a click on a heading: numbers by value, equal
// rows in catalogue order both ways, empty cells last; the current row, the
// connector panels, the session's lines and every output follow the order
// shown; a currency change keeps it and a new search shows catalogue order.

#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/output/PrintPdf.h"
#include "tests/ui/SearchFixture.h"
#include "output/PrintOptions.h"
#include "output/ReportEngine.h"
#include "ui/RunBudgetPanel.h"

namespace quillon {
namespace {

std::string Row(const char* begin, const char* end, const char* partNumber, const char* a, const char* b)
{
    return std::string(begin) + "|" + end + "|7/8 in|" + partNumber + "|FOAM|PE|1.2|" + a + "|" + b +
           "|3.5|40|N Female|1.05|0.05|6|-150|" + partNumber + "-C||||||";
}

// At 824-894 MHz (mid-band 859): QS-10 and QS-30 lose alike (1.64 dB/100 ft),
// so do QS-20 and QS-50 (0.97), which also cost alike; QS-40 is missing from
// the price list (no description, 0.00). The first QS-60 lies outside the band.
std::vector<std::string> SortCatalogue()
{
    return {
        FixtureCatalogue()[0],
        Row("500", "700", "QS-60", "0.05", "0.0002"),
        Row("800", "1000", "QS-10", "0.05", "0.0002"),
        Row("800", "1000", "QS-20", "0.03", "0.0001"),
        Row("800", "1000", "QS-30", "0.05", "0.0002"),
        Row("800", "1000", "QS-40", "0.08", "0.0003"),
        Row("800", "1000", "QS-50", "0.03", "0.0001"),
        Row("800", "1000", "QS-60", "0.02", "0.0001"),
    };
}

const std::vector<std::string> kSortPrices = {
    "TL|QS|QS-10|FT|Foam ten|3.00|",     "TL|QS|QS-20|FT|foam twenty|1.00|", "TL|QS|QS-30|FT|Air thirty|2.00|",
    "TL|QS|QS-50|FT|Braid fifty|1.00|", "TL|QS|QS-60|FT|Zeta sixty|4.00|",
};

const QStringList kCatalogueOrder = {"QS-10", "QS-20", "QS-30", "QS-40", "QS-50", "QS-60"};
constexpr int kAttenuation = 4, kDescription = 2, kTotalAttenuation = 6, kPricePerFoot = 12;

QString Label(const char* heading) { return (QLatin1String(heading) + QLatin1Char(':')).leftJustified(31); }

class Sorting : public SearchWindow {
protected:
    void SearchAll(const char* length = "100")
    {
        install.WriteCatalogue(SortCatalogue());
        install.WritePriceList(kSortPrices);
        install.WriteRates();
        install.RecordDataFolder();
        Open();
        SetBand("824", "894");
        query->edtLength->setText(QLatin1String(length));
        Search();
        ASSERT_EQ(CallLines(install.fakes.messages), QStringList());
        ASSERT_EQ(Column(0), kCatalogueOrder);
    }
    QHeaderView* Header() const { return results->grdSpecs->horizontalHeader(); }
    // A mouse click in the middle of the heading, scrolled into view first.
    void ClickHeading(int column)
    {
        results->grdSpecs->scrollTo(results->SpecsModel->index(0, column));
        const int x = Header()->sectionViewportPosition(column) + Header()->sectionSize(column) / 2;
        QTest::mouseClick(Header()->viewport(), Qt::LeftButton, {}, QPoint(x, Header()->height() / 2));
    }
    void ClickRow(QTableView* grid, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
    }
    // The shown order, checked against the session's lines and the indicator.
    void ExpectOrder(const QStringList& partNumbers, int column, Qt::SortOrder order)
    {
        EXPECT_EQ(Column(0), partNumbers);
        EXPECT_EQ(ResultPartNumbers(), partNumbers);  // row r shows the r-th result line
        EXPECT_EQ(Header()->sortIndicatorSection(), column);
        if (column >= 0) {
            EXPECT_EQ(Header()->sortIndicatorOrder(), order);
        }
    }
    // The current row shows the line, drawn yellow, with its connectors below
    // and its run budget beside them.
    void ExpectCurrentLine(const QString& partNumber)
    {
        const int row = results->grdSpecs->currentIndex().row();
        ASSERT_GE(row, 0);
        EXPECT_EQ(Cell(row, 0), partNumber);
        EXPECT_EQ(ColouredRows(results->SpecsModel), std::vector<int>{row});
        EXPECT_EQ(Rows(results->ConnectorsModel).value(0).section(QLatin1Char(' '), 0, 0), partNumber + "-C");
        EXPECT_EQ(results->pnlRunBudget->lblRunPartNumber->text(), partNumber);
    }
};

TEST_F(Sorting, HeadingClicksSortAndReverseWithEqualRowsInCatalogueOrderAndEmptyCellsLast)
{
    SearchAll();
    EXPECT_EQ(Header()->sortIndicatorSection(), -1);
    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    ExpectCurrentLine("QS-30");

    const struct {
        int column;
        QStringList ascending, descending;
    } cases[] = {
        {kAttenuation,
         {"QS-60", "QS-20", "QS-50", "QS-10", "QS-30", "QS-40"},
         {"QS-40", "QS-10", "QS-30", "QS-20", "QS-50", "QS-60"}},
        // Text aside from letter case; QS-40 has no description.
        {kDescription,
         {"QS-30", "QS-50", "QS-10", "QS-20", "QS-60", "QS-40"},
         {"QS-60", "QS-20", "QS-10", "QS-50", "QS-30", "QS-40"}},
        // The cheapest first; QS-20 and QS-50 cost alike.
        {kPricePerFoot,
         {"QS-40", "QS-20", "QS-50", "QS-30", "QS-10", "QS-60"},
         {"QS-60", "QS-10", "QS-30", "QS-20", "QS-50", "QS-40"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        ClickHeading(c.column);
        ExpectOrder(c.ascending, c.column, Qt::AscendingOrder);
        ExpectCurrentLine("QS-30");
        ClickHeading(c.column);
        ExpectOrder(c.descending, c.column, Qt::DescendingOrder);
        ExpectCurrentLine("QS-30");
        ClickHeading(c.column);
        ExpectOrder(c.ascending, c.column, Qt::AscendingOrder);
    }

    // The arrow keys walk the order shown, one yellow row at a time.
    ClickRow(results->grdSpecs, 0);
    ExpectCurrentLine("QS-40");
    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    ExpectCurrentLine("QS-20");

    // A currency refill keeps the order, now in pounds.
    Action("GBP1")->trigger();
    ExpectOrder({"QS-40", "QS-20", "QS-50", "QS-30", "QS-10", "QS-60"}, kPricePerFoot, Qt::AscendingOrder);
    EXPECT_EQ(Cell(5, kPricePerFoot), QStringLiteral("GBP 2.67"));  // 4.00 / 1.5
    ExpectCurrentLine("QS-20");

    // A new search, here Ctrl+G from the results page, shows catalogue order.
    QTest::keyClick(results->grdSpecs, Qt::Key_G, Qt::ControlModifier);
    ExpectOrder(kCatalogueOrder, -1, Qt::AscendingOrder);
    ClickHeading(kAttenuation);
    ExpectOrder({"QS-60", "QS-20", "QS-50", "QS-10", "QS-30", "QS-40"}, kAttenuation, Qt::AscendingOrder);
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    Search();
    ExpectOrder(kCatalogueOrder, -1, Qt::AscendingOrder);
}

// "N/A" in every row (a zero length) leaves nothing to rank: the rows show in
// catalogue order both ways, whatever order they were in before.
TEST_F(Sorting, AColumnOfNotApplicableShowsCatalogueOrderBothWays)
{
    SearchAll("0");
    ASSERT_EQ(Cell(0, kTotalAttenuation), QStringLiteral("N/A"));
    ClickHeading(kPricePerFoot);
    ClickHeading(kPricePerFoot);
    ASSERT_NE(Column(0), kCatalogueOrder);
    ClickHeading(kTotalAttenuation);
    ExpectOrder(kCatalogueOrder, kTotalAttenuation, Qt::AscendingOrder);
    ClickHeading(kTotalAttenuation);
    ExpectOrder(kCatalogueOrder, kTotalAttenuation, Qt::DescendingOrder);
}

// The clipboard, both exports and the printed list read the grid as shown.
TEST_F(Sorting, EveryOutputFollowsTheSortedGrid)
{
    install.fakes.Get().classesRoot = [](const QString& name) { return name == QStringLiteral("Excel.Application"); };
    SearchAll();
    ClickHeading(kPricePerFoot);
    const QStringList shown = {"QS-40", "QS-20", "QS-50", "QS-30", "QS-10", "QS-60"};
    ASSERT_EQ(Column(0), shown);
    ClickRow(results->grdSpecs, 1);
    ExpectCurrentLine("QS-20");

    // The clipboard copies the line in the current row with its connectors.
    results->btnClipboard->click();
    const QStringList copied = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(copied.size(), 29);
    EXPECT_EQ(copied[2], Label("Part Number") + QStringLiteral("QS-20"));
    EXPECT_EQ(copied[4], Label("Description") + QStringLiteral("foam twenty"));
    EXPECT_EQ(copied[19], Label("Part Number") + QStringLiteral("QS-20-C"));

    // The spreadsheet file and the HTML page list the rows in the order shown.
    FakeFileDialogs& dialogs = install.fakes.fileDialogs;
    QTemporaryDir exports;
    const QString folder = exports.path();
    dialogs.QueueAnswer(folder + QStringLiteral("/table"));
    window->Menu.ToAMicrosoftExcelFile1->trigger();
    dialogs.QueueAnswer(folder + QStringLiteral("/table"));
    window->Menu.ToAnHTMLFile1->trigger();
    ASSERT_EQ(BoxLines(install.fakes.messages), QStringList());

    QFile sheet(folder + QStringLiteral("/table.xls"));
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    QStringList sheetOrder;
    const QList<QByteArray> sheetLines = sheet.readAll().split('\n');
    for (qsizetype i = 1; i < sheetLines.size(); ++i)
        if (!sheetLines[i].isEmpty()) sheetOrder << QString::fromLatin1(sheetLines[i].split('\t').front());
    EXPECT_EQ(sheetOrder, shown);

    QFile page(folder + QStringLiteral("/table.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    QStringList pageOrder;
    const QRegularExpression cell(QStringLiteral("^<TR><TD>(QS-\\d+)</TD>"));
    for (const QByteArray& line : page.readAll().split('\n')) {
        const QRegularExpressionMatch match = cell.match(QString::fromLatin1(line));
        if (match.hasMatch()) pageOrder << match.captured(1);
    }
    EXPECT_EQ(pageOrder, shown);

    // The entire list printed: its data records and the PDF's rows, top to bottom.
    QTemporaryDir pdfFolder;
    const QString pdf = pdfFolder.filePath(QStringLiteral("list.pdf"));
    QStringList records;
    window->SetPrintReportRunner([&](const TReport& report, QWidget*) {
        const QString field = report.data->Fields().front().name;
        for (int r = 0; r < report.data->RecordCount(); ++r) records << report.data->Value(r, field);
        EXPECT_TRUE(RenderReportToPdf(report, pdf));
    });
    QTimer::singleShot(0, window.get(), [&] {
        auto* dialog = window->findChild<TfrmPrintOptions*>();
        ASSERT_NE(dialog, nullptr);
        dialog->rgPrintOptions->SetItemIndex(TfrmPrintOptions::EntireList);
        dialog->btnPrint->click();
        dialog->btnClose->click();
    });
    results->btnPrint->click();
    EXPECT_EQ(records, shown);
    const test::PdfText text = test::ReadPdf(pdf);
    ASSERT_EQ(text.pageCount, 1);
    QStringList printed;
    QRegularExpressionMatchIterator words = QRegularExpression(QStringLiteral("\\bQS-\\d0\\b")).globalMatch(text.PageText(1));
    while (words.hasNext()) printed << words.next().captured(0);
    EXPECT_EQ(printed, shown);
}

// The command line's part-number form hides the computed columns; the rows
// still sort by the columns shown, and the hidden ones stay hidden.
TEST_F(Sorting, CommandLineRowsSortWithTheirHiddenColumnsHidden)
{
    install.WriteCatalogue(SortCatalogue());
    install.WritePriceList(kSortPrices);
    install.WriteRates();
    install.RecordDataFolder();
    Open({QStringLiteral("QS-60")});
    ASSERT_EQ(Column(1), (QStringList{"500-700", "800-1000"}));
    for (int c = 3; c <= 11; ++c) ASSERT_TRUE(results->grdSpecs->isColumnHidden(c)) << c;

    ClickHeading(1);
    ClickHeading(1);
    EXPECT_EQ(Column(1), (QStringList{"800-1000", "500-700"}));
    EXPECT_EQ(Header()->sortIndicatorOrder(), Qt::DescendingOrder);
    for (int c = 3; c <= 11; ++c) EXPECT_TRUE(results->grdSpecs->isColumnHidden(c)) << c;
    for (int c : {0, 1, 2, 12, 13}) EXPECT_FALSE(results->grdSpecs->isColumnHidden(c)) << c;
    EXPECT_EQ(Cell(0, kPricePerFoot), QStringLiteral("$4.00"));
    EXPECT_EQ(Heading(kPricePerFoot), QStringLiteral("List Price Per Foot ($US)"));

    // The session's lines moved with their rows: the current row is the same line.
    const int row = results->grdSpecs->currentIndex().row();
    EXPECT_EQ(Cell(row, 1), QStringLiteral("500-700"));
    const TTransmissionLine* line = window->Session().ResultLineAt(row);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->BeginFrequency, 500);
}

}  // namespace
}  // namespace quillon
