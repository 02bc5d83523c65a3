// Printing: the rows and records a print takes, the data files, the text
// pipeline, and the two layouts rendered to PDF and read back with pdftotext.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

#include "tests/output/PrintPdf.h"
#include "output/PrintData.h"
#include "output/PrintOptions.h"
#include "output/ReportEngine.h"
#include "output/ReportLayouts.h"
#include "platform/Fakes.h"

namespace quillon {
namespace {

using test::MmToPt;
using test::PdfText;
using test::ReadPdf;
using MessageKindOfRecord = decltype(MessageRecord{}.kind);

// ------------------------------------------------------------------ fixtures

class PrintResults final : public ResultsView {
public:
    GridSnapshot grid;
    std::array<GridSnapshot, 2> partNumbers;
    std::array<QString, 2> connectorTypes;

    GridSnapshot SpecsGrid() const override { return grid; }
    GridSnapshot PartNumbers(int end) const override { return partNumbers.at(end - 1); }
    QString SelectedConnectorType(int end) const override { return connectorTypes.at(end - 1); }
};

// Row n (from 1) of an invented results grid; every cell differs from every
// other row's and column's, so a value under the wrong caption shows.
QStringList SpecsRow(int n)
{
    const QString s = QString::number(n);
    return {"QX-" + s + "-50", "806-96" + s,   "Foam coax number " + s, "85" + s,          "2." + s + "1",
            "7." + s + "2",    "3." + s + "3", "4." + s + "4",          "58." + s + "5",   "40." + s + "6",
            "1." + s + "7",    "0." + s + "8", "USD 2." + s + "9",      "USD 9." + s + "0"};
}

GridSnapshot SpecsGrid(int rowCount, int currentRow)
{
    GridSnapshot grid;
    for (int c = 1; c <= kSpecsFieldCount; ++c) grid.headings << "Heading " + QString::number(c);
    for (int n = 1; n <= rowCount; ++n) grid.rows << SpecsRow(n);
    grid.currentRow = currentRow;
    return grid;
}

GridSnapshot PartNumberGrid(const QList<QStringList>& rows, int currentRow)
{
    GridSnapshot grid;
    grid.headings = QStringList{"Part Number", "Description", "Price (USD)"};
    grid.rows = rows;
    grid.currentRow = currentRow;
    return grid;
}

// Every word lies inside the 6.35 mm margins (18 pt of the 612 x 792 pt page).
void ExpectInsideMargins(const PdfText& pdf)
{
    for (const test::PdfWord& w : pdf.words) {
        EXPECT_GE(w.xMin, 18.0 - 0.1) << w.text.toStdString() << " on page " << w.page;
        EXPECT_LE(w.xMax, 612.0 - 18.0 + 0.1) << w.text.toStdString() << " on page " << w.page;
        EXPECT_GE(w.yMin, 18.0 - 0.1) << w.text.toStdString() << " on page " << w.page;
        EXPECT_LE(w.yMax, 792.0 - 18.0 + 0.1) << w.text.toStdString() << " on page " << w.page;
    }
}

// Counts report runs and renders each into a PDF, keeping a copy of the data
// file as it was while the report ran.
struct PdfRunner {
    QString folder;
    int runs = 0;
    QString lastPdf;
    QByteArray lastData;

    TfrmPrintOptions::ReportRunner Get()
    {
        return [this](const TReport& report, QWidget*) {
            ++runs;
            lastPdf = QDir(folder).filePath(QStringLiteral("%1-%2.pdf").arg(report.name).arg(runs));
            QFile data(report.data->FileName());
            lastData = data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray();
            ASSERT_TRUE(RenderReportToPdf(report, lastPdf));
        };
    }
};

class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rootDir.isValid());
        ASSERT_TRUE(outDir.isValid());
        runner.folder = outDir.path();
        // The program's folder is never made: the data files go to the user's.
        seams = std::make_unique<FakeSeams>(rootDir.filePath("program"), rootDir.filePath("store.json"));
        seams->paths.SetUserDataFolder(rootDir.filePath("user"));
        seams->clock.SetNow(QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)));
    }

    std::unique_ptr<TfrmPrintOptions> OpenDialog()
    {
        auto dialog = std::make_unique<TfrmPrintOptions>(view, seams->Get(), runner.Get());
        dialog->show();
        return dialog;
    }

    std::unique_ptr<TfrmPrintOptions> PrintWith(int item)
    {
        auto dialog = OpenDialog();
        dialog->rgPrintOptions->Item(item)->click();
        QTest::mouseClick(dialog->btnPrint, Qt::LeftButton);
        return dialog;
    }

    void TearDown() override { EXPECT_FALSE(QFileInfo::exists(rootDir.filePath("program"))); }

    QString ListFile() const { return rootDir.filePath("user/list.qlx"); }
    QString SelectedFile() const { return rootDir.filePath("user/selected.qlx"); }

    QTemporaryDir rootDir;
    QTemporaryDir outDir;
    PrintResults view;
    PdfRunner runner;
    std::unique_ptr<FakeSeams> seams;
};

// ------------------------------------------------- rows, records, data files

TEST(PrintRows, CurrentPageTakesAllRowsUnderSevenElseSixFromTheCurrentOne)
{
    struct Case {
        int rows;
        int current;
        QList<int> expected;
    };
    const Case cases[] = {
        {0, -1, {}},
        {6, 4, {0, 1, 2, 3, 4, 5}},  // under 7: all, whatever the current row
        {6, 0, {0, 1, 2, 3, 4, 5}},
        {7, 0, {0, 1, 2, 3, 4, 5}},   // 7 or more: six from the current one
        {10, 2, {2, 3, 4, 5, 6, 7}},  // current row 3 prints rows 3 to 8
        {10, 4, {4, 5, 6, 7, 8, 9}},  // the window ends on the last row
        {10, 7, {7, 8, 9}},           // rows past the last are left out
        {10, 9, {9}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CurrentPageRows(c.rows, c.current), c.expected) << c.rows << " rows, current " << c.current;
}

TEST(PrintRows, EntireListPagesAreRowsBySevenRoundedUp)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {7, 1}, {8, 2}, {35, 5}, {36, 6}, {43, 7}};
    for (auto [rows, pages] : cases) EXPECT_EQ(EntireListPages(rows), pages) << rows << " rows";
    EXPECT_EQ(LongReportQuestion(6),
              "The report you are about to print is over 6 pages long.\r"
              "Are you sure you want to continue?");
}

TEST(PrintRecords, EveryFieldEndsWithABarAndTheLineWithCrLfInUtf8)
{
    EXPECT_EQ(EncodeRecord({"QXB-050", QString::fromUtf8("caf\u00e9 | bar \u03a9"), ""}),
              QByteArray("QXB-050|caf\xc3\xa9 | bar \xce\xa9||\r\n"));
    EXPECT_EQ(EncodeRecord({}), QByteArray("\r\n"));
}

TEST(PrintRecords, SelectedRecordHas22FieldsAndEmptyOnesForAMissingSelection)
{
    PrintResults view;
    view.grid = SpecsGrid(3, 1);
    view.partNumbers[0] = PartNumberGrid({{"C-1", "N male", "USD 5.00"}, {"C-2", "N fem", "USD 6.00"}}, 1);
    view.connectorTypes[0] = "N";
    // End 2: a line without connectors, so no type, no rows, no headings.
    const QStringList record = SelectedRecord(view);
    ASSERT_EQ(record.size(), kSelectedFieldCount);
    EXPECT_EQ(record.mid(0, 14), SpecsRow(2));
    EXPECT_EQ(record.mid(14, 4), (QStringList{"N", "C-2", "N fem", "USD 6.00"}));
    EXPECT_EQ(record.mid(18, 4), (QStringList{"", "", "", ""}));
}

TEST(PrintRecords, WritingReplacesTheFileAndAFailureNamesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.qlx");
    ASSERT_EQ(WriteDataFile(path, {{"a", "b"}, {"c", "d"}}), std::nullopt);
    ASSERT_EQ(WriteDataFile(path, {{"x", ""}}), std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("x||\r\n"));

    // A "folder" under a regular file cannot be written, even by root.
    const QString blocked = dir.filePath("list.qlx/list.qlx");
    const auto failure = WriteDataFile(blocked, {{"a"}});
    ASSERT_TRUE(failure.has_value());
    const QString error = DataFileErrorText(*failure);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(blocked))) << error.toStdString();
}

// ------------------------------------------------------------------ pipeline

TEST(TextPipeline, ReadsRecordsIntoNamedFieldsAndKeepsBarsOfWrittenValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("data.qlx");
    // Text beyond ASCII, beyond Latin-1 too, comes back as it went.
    const QList<QStringList> written{{"P-1", "a | b", "1.00"}, {"P-2", QString::fromUtf8("C\u00e2ble \u03a9"), "2.00"}};
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QStringList& r : written) file.write(EncodeRecord(r));
        file.write("P-3|short|\r\n");  // a line not written from the grid
    }
    TTextPipeline pipeline("tplTest", {{"Part", 15}, {"Text", 150}, {"Price", 10}});
    pipeline.SetFileName(path);
    pipeline.SetWrittenRecords(written);
    ASSERT_TRUE(pipeline.Open());
    ASSERT_EQ(pipeline.RecordCount(), 3);
    EXPECT_EQ(pipeline.Value(0, "Text"), "a | b");
    EXPECT_EQ(pipeline.Value(0, "Price"), "1.00");
    EXPECT_EQ(pipeline.Value(1, "Part"), "P-2");
    EXPECT_EQ(pipeline.Value(1, "Text"), QString::fromUtf8("C\u00e2ble \u03a9"));
    EXPECT_EQ(pipeline.Value(2, "Text"), "short");
    EXPECT_EQ(pipeline.Value(2, "Price"), "");  // missing fields read empty
    EXPECT_EQ(pipeline.Value(0, "Nope"), "");

    // Without the written values, a bar in a value splits it, as in any
    // delimited file.
    pipeline.Close();
    ASSERT_TRUE(pipeline.Open());
    EXPECT_EQ(pipeline.Value(0, "Text"), "a ");
    EXPECT_EQ(pipeline.Value(0, "Price"), " b");

    pipeline.SetFileName(dir.filePath("missing.qlx"));
    QString error;
    EXPECT_FALSE(pipeline.Open(&error));
    EXPECT_TRUE(error.contains("missing.qlx"));
}

// ------------------------------------------------------------ the dialog

TEST_F(PrintDialogTest, OpensFixedAndCentredOnCurrentSelectionEveryTime)
{
    auto dialog = OpenDialog();
    EXPECT_EQ(dialog->windowTitle(), "Print Options");
    EXPECT_EQ(dialog->size(), QSize(163, 248));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(dialog->rgPrintOptions->title(), "Select Printing Criteria:");
    EXPECT_EQ(dialog->rgPrintOptions->Item(0)->text(), "Current Selection");
    EXPECT_EQ(dialog->rgPrintOptions->Item(1)->text(), "Current Page");
    EXPECT_EQ(dialog->rgPrintOptions->Item(2)->text(), "Entire List");
    EXPECT_EQ(dialog->btnPrint->text(), "&Print");
    EXPECT_EQ(dialog->btnClose->text(), "&Close");
    EXPECT_EQ(dialog->rgPrintOptions->ItemIndex(), 0);
    const QRect screen = dialog->screen()->availableGeometry();
    EXPECT_LE((dialog->frameGeometry().center() - screen.center()).manhattanLength(), 2);

    dialog->rgPrintOptions->Item(2)->click();
    dialog->hide();
    dialog->show();
    EXPECT_EQ(dialog->rgPrintOptions->ItemIndex(), 0);
}

// The selected-line sheet: each caption, right-aligned to about 55 mm, with
// its value from 59 mm on the same line (millimetres from the detail band).
TEST_F(PrintDialogTest, CurrentSelectionPrintsTheSheetOfTheSelectedLine)
{
    view.grid = SpecsGrid(4, 2);
    view.partNumbers[0] = PartNumberGrid({{"QC-N1", "N male for 1/2 in.", "USD 12.50"}}, 0);
    view.partNumbers[1] =
        PartNumberGrid({{"QC-D1", "7-16 DIN male", "USD 20.00"}, {"QC-D2", "7-16 DIN female", "USD 21.00"}}, 1);
    view.connectorTypes = {"N", "7-16 DIN"};

    auto dialog = PrintWith(TfrmPrintOptions::CurrentSelection);
    ASSERT_EQ(runner.runs, 1);
    EXPECT_TRUE(dialog->isVisible());  // stays open for further prints
    const QStringList row = SpecsRow(3);
    QByteArray expectedData;
    for (const QString& cell : row) expectedData += cell.toLatin1() + "|";
    expectedData += "N|QC-N1|N male for 1/2 in.|USD 12.50|7-16 DIN|QC-D2|7-16 DIN female|USD 21.00|\r\n";
    EXPECT_EQ(runner.lastData, expectedData);

    const PdfText pdf = ReadPdf(runner.lastPdf);
    ASSERT_EQ(pdf.pageCount, 1);
    ExpectInsideMargins(pdf);
    const double band = 6.35 + 14.6;  // top margin and header band
    struct Line {
        double y;
        QString caption;
        QString value;
    };
    const Line lines[] = {
        {15.1, "Part Number:", row[0]},
        {20.6, "Description:", row[2]},
        {40.0, "Frequency Band, MHz:", row[1]},
        {45.8, "Mid Band Frequency, MHz:", row[3]},
        {51.6, "Attenuation dB/100ft:", row[4]},
        {57.4, "Attenuation dB/100m:", row[5]},
        {63.2, "Total Attenuation:", row[6]},
        {69.0, "Insertion Loss:", row[7]},
        {74.8, "Efficiency %:", row[8]},
        {80.6, "Peak Power:", row[9]},
        {86.4, "Average Power:", row[10]},
        {92.2, "VSWR Derated Avg. Power:", row[11]},
        {98.0, "List Price Per Foot:", row[12]},
        {103.8, "List Price Per Meter:", row[13]},
        {126.5, "Part Number:", "QC-N1"},
        {132.3, "Type:", "N"},
        {138.1, "Description:", "N male for 1/2 in."},
        {163.0, "Price:", "USD 12.50"},
        {181.8, "Part Number:", "QC-D2"},
        {187.6, "Type:", "7-16 DIN"},
        {193.4, "Description:", "7-16 DIN female"},
        {218.3, "Price:", "USD 21.00"},
    };
    for (const Line& l : lines) {
        EXPECT_EQ(pdf.TextAt(1, band + l.y, 0.0, 6.35 + 55.5), l.caption) << "at " << l.y;
        EXPECT_EQ(pdf.TextAt(1, band + l.y, 6.35 + 58.5, 215.9), l.value) << "at " << l.y;
    }
    for (const auto& [y, heading] :
         {std::pair{3.2, "Transmission Line:"}, {115.9, "Connector #1:"}, {171.2, "Connector #2:"}})
        EXPECT_EQ(pdf.TextAt(1, band + y, 0.0, 100.0), heading);
    EXPECT_EQ(pdf.TextAt(1, 6.35 + 4.8, 6.35 + 40.0, 215.9), "Tarvex Corporation Quillon");
    // Captions end at the same place.
    const test::PdfWord* partNumber = pdf.Find(1, "Number:");
    const test::PdfWord* price = pdf.Find(1, "Price:");
    ASSERT_TRUE(partNumber && price);
    EXPECT_NEAR(partNumber->xMax, price->xMax, 0.5);
    EXPECT_NEAR(price->xMax, MmToPt(6.35 + 55.0), 1.0);

    const double footer = 279.4 - 6.35 - 13.2;
    EXPECT_EQ(pdf.TextAt(1, footer + 5.3, 6.35 + 4.2, 100.0), "03/07/2024 2:05:09 PM");
    EXPECT_EQ(pdf.TextAt(1, footer + 5.3, 6.35 + 177.8, 215.9), "Page 1 of 1");
}

// The list layout's fields by their place in the detail band (millimetres).
struct ListField {
    int column;  // grid column, from 0
    double x;
    double y;
    double width;
};
constexpr ListField kListFields[] = {
    {0, 2.9, 4.5, 31.8},     {2, 3.2, 11.4, 188.6},   {4, 2.9, 19.3, 31.2},   {5, 38.9, 19.3, 32.3},
    {6, 75.4, 19.3, 25.9},   {7, 107.4, 19.3, 21.4},  {8, 137.3, 19.3, 13.0}, {1, 159.0, 19.3, 25.1},
    {3, 4.2, 25.4, 31.8},    {9, 41.5, 25.4, 18.5},   {10, 64.3, 25.4, 22.8}, {11, 90.0, 25.4, 34.1},
    {12, 136.0, 25.4, 28.8}, {13, 166.4, 25.4, 30.7},
};

// The top of the n-th detail band (from 0) on a page, in millimetres.
double DetailTop(int page, int n)
{
    return 6.35 + (page == 1 ? 15.9 : 0.0) + 25.4 + n * 31.5;
}

// The cells printed in the n-th detail band of a page, in grid column order.
QStringList PrintedRow(const PdfText& pdf, int page, int n)
{
    QStringList cells(kSpecsFieldCount);
    for (const ListField& f : kListFields)
        cells[f.column] = pdf.TextAt(page, DetailTop(page, n) + f.y, 6.35 + f.x - 1.0, 6.35 + f.x + f.width + 1.0);
    return cells;
}

TEST_F(PrintDialogTest, CurrentPagePrintsEverySmallListAndSixRowsFromTheCurrentOne)
{
    struct Case {
        int rows;
        int current;
        QList<int> printed;  // rows from 1
    };
    const Case cases[] = {
        {6, 4, {1, 2, 3, 4, 5, 6}},
        {10, 2, {3, 4, 5, 6, 7, 8}},
        {10, 7, {8, 9, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rows << " rows, current " << c.current);
        view.grid = SpecsGrid(c.rows, c.current);
        runner.runs = 0;
        auto dialog = PrintWith(TfrmPrintOptions::CurrentPage);
        ASSERT_EQ(runner.runs, 1);
        EXPECT_EQ(runner.lastData.count("\r\n"), c.printed.size());
        const PdfText pdf = ReadPdf(runner.lastPdf);
        ASSERT_EQ(pdf.pageCount, 1);
        for (int i = 0; i < c.printed.size(); ++i)
            EXPECT_EQ(PrintedRow(pdf, 1, i), SpecsRow(c.printed[i])) << "band " << i;
        // Nothing after the last row's band but the footer.
        EXPECT_EQ(PrintedRow(pdf, 1, static_cast<int>(c.printed.size())), QStringList(kSpecsFieldCount));
        EXPECT_TRUE(seams->messages.Boxes().empty());
    }
}

TEST_F(PrintDialogTest, ListLayoutCaptionsMarginsAndTitle)
{
    view.grid = SpecsGrid(2, 0);
    auto dialog = PrintWith(TfrmPrintOptions::EntireList);
    const PdfText pdf = ReadPdf(runner.lastPdf);
    ASSERT_EQ(pdf.pageCount, 1);
    const double header = 6.35 + 15.9;
    struct Caption {
        double x, y, width;
        QString text;
    };
    const Caption captions[] = {
        {2.4, 1.6, 21.2, "Part Number"},
        {2.4, 7.4, 18.8, "Description"},
        {2.1, 13.2, 36.0, "Attenuation dB/100ft"},
        {39.7, 13.2, 35.7, "Attenuation dB/100m"},
        {76.2, 13.2, 30.7, "Total Attenuation"},
        {108.2, 13.2, 28.8, "Insertion Loss"},
        {138.4, 13.2, 22.5, "Efficiency"},
        {161.9, 13.2, 30.7, "Frequency Band"},
        {2.1, 18.8, 33.9, "Mid Band Frequency"},
        {39.4, 18.8, 20.6, "Peak Power"},
        {61.1, 18.8, 25.9, "Average Power"},
        {88.1, 18.8, 44.5, "VSWR Derated AVG Power"},
        {133.4, 18.8, 30.4, "List Price Per Foot"},
        {164.6, 18.8, 32.5, "List Price Per Meter"},
    };
    for (const Caption& c : captions)
        EXPECT_EQ(pdf.TextAt(1, header + c.y, 6.35 + c.x - 1.0, 6.35 + c.x + c.width + 1.0), c.text);
    EXPECT_EQ(pdf.TextAt(1, 6.35 + 5.0, 6.35 + 44.0, 215.9), "Tarvex Corporation Quillon");

    // Left-aligned texts start exactly at their place from the 6.35 mm margin
    // (18.0 pt): the part number at 2.9 mm, the date at 2.1 mm.
    const test::PdfWord* part = pdf.Find(1, "QX-1-50");
    ASSERT_NE(part, nullptr);
    EXPECT_NEAR(part->xMin, 18.0 + MmToPt(2.9), 0.3);
    const test::PdfWord* date = pdf.Find(1, "03/07/2024");
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->xMin, 18.0 + MmToPt(2.1), 0.3);
    EXPECT_NEAR(date->yMin, MmToPt(279.4 - 6.35 - 13.0 + 5.3), 1.0);
    EXPECT_EQ(pdf.TextAt(1, 279.4 - 6.35 - 13.0 + 5.3, 6.35 + 172.2, 215.9), "Page 1 of 1");
}

TEST_F(PrintDialogTest, EntireListPaginatesWithTheTitleOnceAndKnowsThePageCount)
{
    view.grid = SpecsGrid(36, 0);
    seams->messages.QueueAnswer(MessageButton::Yes);
    auto dialog = PrintWith(TfrmPrintOptions::EntireList);
    ASSERT_EQ(runner.runs, 1);
    ASSERT_EQ(seams->messages.Boxes().size(), 1u);
    EXPECT_EQ(seams->messages.Boxes()[0].kind, MessageKindOfRecord::Confirmation);
    EXPECT_EQ(seams->messages.Boxes()[0].text, LongReportQuestion(6));
    EXPECT_EQ(runner.lastData.count("\r\n"), 36);

    // The title leaves room for six rows on the first page; later pages hold
    // seven: 6 + 7 + 7 + 7 + 7 + 2.
    const PdfText pdf = ReadPdf(runner.lastPdf);
    ASSERT_EQ(pdf.pageCount, 6);
    ExpectInsideMargins(pdf);
    const int perPage[] = {6, 7, 7, 7, 7, 2};
    int row = 1;
    for (int page = 1; page <= 6; ++page) {
        SCOPED_TRACE(::testing::Message() << "page " << page);
        for (int n = 0; n < perPage[page - 1]; ++n, ++row) EXPECT_EQ(PrintedRow(pdf, page, n), SpecsRow(row));
        const QString text = pdf.PageText(page);
        EXPECT_EQ(text.contains("Tarvex Corporation Quillon"), page == 1);
        EXPECT_TRUE(text.contains("VSWR Derated AVG Power"));
        EXPECT_EQ(pdf.TextAt(page, 279.4 - 6.35 - 13.0 + 5.3, 6.35 + 172.2, 215.9),
                  QStringLiteral("Page %1 of 6").arg(page));
        EXPECT_TRUE(text.startsWith(page == 1 ? "Tarvex" : "Part Number"));
    }
    EXPECT_EQ(row, 37);
}

TEST_F(PrintDialogTest, EntireListAsksFromSixPagesOnAndNoPrintsNothing)
{
    view.grid = SpecsGrid(35, 0);
    auto dialog = PrintWith(TfrmPrintOptions::EntireList);
    EXPECT_EQ(runner.runs, 1);
    EXPECT_TRUE(seams->messages.Boxes().empty());
    EXPECT_EQ(runner.lastData.count("\r\n"), 35);

    QFile::remove(ListFile());
    view.grid = SpecsGrid(36, 0);
    seams->messages.QueueAnswer(MessageButton::No);
    QTest::mouseClick(dialog->btnPrint, Qt::LeftButton);
    EXPECT_EQ(runner.runs, 1);
    ASSERT_EQ(seams->messages.Boxes().size(), 1u);
    EXPECT_FALSE(QFile::exists(ListFile()));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(PrintDialogTest, ABarInADescriptionPrintsIntactWhileTheFileKeepsItsFormat)
{
    view.grid = SpecsGrid(2, 1);
    view.grid.rows[1][2] = "Foam | plenum rated";
    view.partNumbers[0] = PartNumberGrid({{"QC-1", "N | male", "USD 1.00"}}, 0);
    view.partNumbers[1] = PartNumberGrid({{"QC-2", "DIN|female|", "USD 2.00"}}, 0);
    view.connectorTypes = {"N", "DIN"};

    auto dialog = PrintWith(TfrmPrintOptions::EntireList);
    EXPECT_TRUE(runner.lastData.contains("|Foam | plenum rated|"));
    PdfText pdf = ReadPdf(runner.lastPdf);
    EXPECT_EQ(PrintedRow(pdf, 1, 1), view.grid.rows[1]);

    dialog->rgPrintOptions->Item(0)->click();
    QTest::mouseClick(dialog->btnPrint, Qt::LeftButton);
    EXPECT_TRUE(runner.lastData.contains("|QC-2|DIN|female||USD 2.00|\r\n"));
    pdf = ReadPdf(runner.lastPdf);
    const double band = 6.35 + 14.6;
    const std::pair<double, QString> values[] = {
        {20.6, "Foam | plenum rated"}, {40.0, view.grid.rows[1][1]}, {103.8, view.grid.rows[1][13]},
        {138.1, "N | male"},           {163.0, "USD 1.00"},           {187.6, "DIN"},
        {193.4, "DIN|female|"},        {218.3, "USD 2.00"},
    };
    for (const auto& [y, value] : values) EXPECT_EQ(pdf.TextAt(1, band + y, 6.35 + 58.5, 215.9), value) << "at " << y;
}

// The longest description (150 characters) wraps inside its box; a longer
// text ends its last line in an ellipsis instead of running into the next one.
TEST_F(PrintDialogTest, LongDescriptionsWrapInsideTheirBoxes)
{
    const QString longest =
        "7/8 in. low loss foam dielectric coaxial cable, 50 ohm, fire retardant polyethylene "
        "jacket, UV stabilised, for outdoor and indoor use, plenum rated";
    const QString tooLong = longest + ", " + longest;
    view.grid = SpecsGrid(2, 0);
    view.grid.rows[0][2] = longest;
    view.grid.rows[1][2] = tooLong;
    view.partNumbers[0] = PartNumberGrid({{"QC-1", longest, "USD 1.00"}}, 0);
    view.partNumbers[1] = PartNumberGrid({{"QC-2", tooLong, "USD 2.00"}}, 0);
    view.connectorTypes = {"N", "DIN"};
    auto expectCut = [&](const QString& printed) {
        ASSERT_TRUE(printed.endsWith(QChar(0x2026))) << printed.toStdString();
        const QString shown = printed.chopped(1).trimmed();
        EXPECT_GT(shown.size(), longest.size() / 2);
        EXPECT_TRUE(tooLong.startsWith(shown)) << printed.toStdString();
    };

    auto dialog = PrintWith(TfrmPrintOptions::EntireList);
    PdfText pdf = ReadPdf(runner.lastPdf);
    ExpectInsideMargins(pdf);
    for (int n = 0; n < 2; ++n) {
        const double top = DetailTop(1, n);
        const QString printed = pdf.TextIn(1, top + 11.4, top + 19.3, 0.0, 215.9);
        if (n == 0) {
            EXPECT_EQ(printed, longest);
        } else {
            expectCut(printed);
        }
        QStringList row = PrintedRow(pdf, 1, n);
        row[2] = view.grid.rows[n][2];
        EXPECT_EQ(row, view.grid.rows[n]);
    }

    dialog->rgPrintOptions->Item(0)->click();
    QTest::mouseClick(dialog->btnPrint, Qt::LeftButton);
    pdf = ReadPdf(runner.lastPdf);
    ExpectInsideMargins(pdf);
    const double band = 6.35 + 14.6;
    EXPECT_EQ(pdf.TextIn(1, band + 20.6, band + 40.0, 6.35 + 58.5, 215.9), longest);
    EXPECT_EQ(pdf.TextIn(1, band + 138.1, band + 163.0, 6.35 + 58.5, 215.9), longest);
    expectCut(pdf.TextIn(1, band + 193.4, band + 218.3, 6.35 + 58.5, 215.9));
    EXPECT_EQ(pdf.TextAt(1, band + 218.3, 6.35 + 58.5, 215.9), "USD 2.00");
}

// A part number alone on the command line hides columns 4 to 12 and leaves
// them empty: their records and places stay empty.
TEST_F(PrintDialogTest, HiddenColumnsPrintEmpty)
{
    view.grid = SpecsGrid(1, 0);
    for (int c = 3; c <= 11; ++c) view.grid.rows[0][c].clear();
    view.grid.rows[0][12] = "$2.19";
    view.grid.rows[0][13] = "$7.18";
    auto dialog = PrintWith(TfrmPrintOptions::CurrentPage);
    EXPECT_EQ(runner.lastData, "QX-1-50|806-961|Foam coax number 1||||||||||$2.19|$7.18|\r\n");
    const PdfText pdf = ReadPdf(runner.lastPdf);
    EXPECT_EQ(PrintedRow(pdf, 1, 0), view.grid.rows[0]);
    // The band holds nothing else.
    EXPECT_EQ(pdf.TextAt(1, DetailTop(1, 0) + 19.3, 0.0, 215.9), "806-961");
    EXPECT_EQ(pdf.TextAt(1, DetailTop(1, 0) + 25.4, 0.0, 215.9), "$2.19 $7.18");
}

TEST_F(PrintDialogTest, ClosingDeletesTheDataFilesWhicheverWayItCloses)
{
    view.grid = SpecsGrid(3, 0);
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        auto dialog = PrintWith(TfrmPrintOptions::CurrentSelection);
        dialog->rgPrintOptions->Item(2)->click();
        QTest::mouseClick(dialog->btnPrint, Qt::LeftButton);
        ASSERT_TRUE(QFile::exists(ListFile()));
        ASSERT_TRUE(QFile::exists(SelectedFile()));
        if (way == 0) QTest::mouseClick(dialog->btnClose, Qt::LeftButton);
        if (way == 1) dialog->close();  // the title bar's close button
        if (way == 2) QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(QFile::exists(ListFile()));
        EXPECT_FALSE(QFile::exists(SelectedFile()));
    }
}

TEST_F(PrintDialogTest, ADataFileThatCannotBeWrittenStopsThePrintWithAnError)
{
    // The user's folder lies under a regular file, so nothing can be
    // created there (whoever runs the test).
    QFile blocker(rootDir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    seams->paths.SetUserDataFolder(rootDir.filePath("blocker/user"));
    view.grid = SpecsGrid(3, 0);

    for (int item : {0, 1, 2}) {
        SCOPED_TRACE(item);
        seams->messages.Clear();
        auto dialog = PrintWith(item);
        EXPECT_EQ(runner.runs, 0);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(seams->messages.Boxes().size(), 1u);
        const MessageRecord box = seams->messages.Boxes()[0];
        EXPECT_EQ(box.kind, MessageKindOfRecord::Error);
        const QString file = item == 0 ? "selected.qlx" : "list.qlx";
        EXPECT_TRUE(box.text.contains(QDir::toNativeSeparators(rootDir.filePath("blocker/user/" + file))))
            << box.text.toStdString();
    }
}

// The preview paints through the same function; offscreen it can be asked
// to lay out its pages without being shown.
TEST(ReportPreview, ThePreviewShowsEveryPageOfTheReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.qlx");
    QList<QStringList> records;
    for (int n = 1; n <= 20; ++n) records << SpecsRow(n);
    ASSERT_EQ(WriteDataFile(path, records), std::nullopt);
    TTextPipeline tplAll("tplAll", ListPipelineFields());
    tplAll.SetFileName(path);
    ASSERT_TRUE(tplAll.Open());
    const TReport rptAll = MakeListReport(tplAll, ReportLogo());
    ASSERT_EQ(rptAll.PageCount(), 3);  // 6 + 7 + 7

    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, rptAll);
    EXPECT_EQ(printer.docName(), "Report");
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
    std::unique_ptr<QPrintPreviewDialog> preview(MakeReportPreview(rptAll, printer, nullptr));
    auto* widget = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    widget->updatePreview();
    EXPECT_EQ(widget->pageCount(), 3);
}

TEST(ReportLogo, LoadsFromTheLibrarysResources)
{
    const QImage logo = ReportLogo();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(486, 158));
}

}  // namespace
}  // namespace quillon
