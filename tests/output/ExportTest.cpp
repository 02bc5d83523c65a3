// The spreadsheet and HTML exports: file bytes, the save dialogs, the shell
// open, and what happens when the file cannot be written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "tests/output/ExportFixture.h"
#include "output/HtmlExport.h"
#include "output/SpreadsheetExport.h"
#include "platform/Fakes.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

using testing::FixedResults;
using testing::SpecsGrid;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A user's folder of its own for every test, with the seams' doubles. The
// program's folder is never made: nothing is written there.
class ExportCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeSeams fake{dir.filePath("program"), dir.filePath("settings.json")};
    FixedResults page;
    SaveDialogState excelSave;
    SaveDialogState saveDialog;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fake.paths.SetUserDataFolder(dir.path());
        page.grid = SpecsGrid(3);
    }
    void TearDown() override { EXPECT_FALSE(QFileInfo::exists(dir.filePath("program"))); }
    QString InUserFolder(const QString& relative) const { return dir.filePath(relative); }
};

// --- Spreadsheet ----------------------------------------------------------

TEST(SpreadsheetBytes, ThreeRowsGiveTheHeadingLineAndOneLinePerRow)
{
    const QByteArray expected =
        "Part Number\tFrequency Band (MHz)\tDescription\tMid Band Frequency (MHz)\t"
        "Attenuation (dB/100 ft)\tAttenuation (dB/100m)\tTotal Attenuation (dB)\t"
        "Insertion Loss (dB)\tEfficiency (%)\tPeak Power (kW)\tAvg. Power (kW)\t"
        "VSWR Derated Avg. Pwr. (kW)\tList Price Per Foot (GBP)\tList Price Per Meter (GBP)\t"
        "\r\r\n"
        "QX-F12-50\t806-960\t1/2 in. foam coax, PE jacket\t859\t2.31\t7.58\t2.31\t2.36\t58.71\t"
        "40.00\t1.47\t1.34\tGBP 2.00\tGBP 6.56\t\r\n"
        "QX-F78-50\t806-960\t7/8 in. foam coax, PE jacket\t859\t1.24\t4.07\t1.24\t1.29\t74.30\t"
        "91.00\t3.10\t2.82\tGBP 4.50\tGBP 14.76\t\r\n"
        "QX-A158-50\t1-2300\t1-5/8 in. air coax, fire retardant\t859\t0.66\t2.17\t0.66\t0.71\t"
        "84.93\t315.00\t9.95\t9.05\tGBP 11.20\tGBP 36.74\t\r\n";
    const QByteArray bytes = SpreadsheetBytes(SpecsGrid(3));
    EXPECT_EQ(bytes, expected);

    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 5);  // four lines and nothing after the last LF
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines[i].count('\t'), 14) << i;
    EXPECT_TRUE(lines[0].endsWith("\t\r\r"));
    EXPECT_TRUE(lines[3].endsWith("\t\r"));
    EXPECT_TRUE(lines[4].isEmpty());
}

// Plain ASCII goes out as it always did; anything beyond it in UTF-8 behind a
// byte-order mark, which spreadsheet programs read as UTF-8 (a character
// beyond Latin-1 included) where they would guess an 8-bit code page without it.
TEST(SpreadsheetBytes, CellsGoOutUnquotedAndBeyondAsciiAsMarkedUtf8)
{
    GridSnapshot grid;
    grid.headings = QStringList{"Part Number", "Description"};
    grid.rows = {{"QX-1", QString::fromUtf8("Gaine \"PE\", -40 C & <85 C>")}, {"QX-2"}};
    EXPECT_EQ(SpreadsheetBytes(grid), QByteArray("Part Number\tDescription\t\r\r\n"
                                                 "QX-1\tGaine \"PE\", -40 C & <85 C>\t\r\n"
                                                 "QX-2\t\t\r\n"));
    grid.rows = {{"QX-1", QString::fromUtf8("-40 \u00b0C \u03a9")}};
    EXPECT_EQ(SpreadsheetBytes(grid), QByteArray("\xEF\xBB\xBFPart Number\tDescription\t\r\r\n"
                                                 "QX-1\t-40 \xC2\xB0" "C \xCE\xA9\t\r\n"));
}

TEST(IsExcelRegistered, AsksTheStoreForTheSpreadsheetClass)
{
    QTemporaryDir dir;
    for (const bool registered : {true, false}) {
        QStringList asked;
        const SettingsStore store(dir.filePath("settings.json"), {}, [&](const QString& name) {
            asked << name;
            return registered;
        });
        EXPECT_EQ(IsExcelRegistered(store), registered);
        EXPECT_EQ(asked, QStringList{"Excel.Application"});
    }
}

TEST_F(ExportCommand, SpreadsheetIsWrittenInTheXlsFolderAndOpened)
{
    ASSERT_FALSE(QDir(InUserFolder("xls")).exists());
    const QString target = InUserFolder("xls/quote.xls");
    fake.fileDialogs.QueueAnswer(target);

    EXPECT_EQ(ExportSpreadsheet(page, fake.Get(), excelSave), target);

    EXPECT_TRUE(QDir(InUserFolder("xls")).exists());
    ASSERT_EQ(fake.fileDialogs.Requests().size(), 1u);
    const FileDialogRecord& asked = fake.fileDialogs.Requests().front();
    EXPECT_EQ(asked.kind, FileDialogKind::Save);
    EXPECT_EQ(asked.request.title, "Select A File");
    EXPECT_EQ(asked.request.initialFolder, InUserFolder("xls"));
    EXPECT_EQ(asked.request.initialName, "");
    EXPECT_EQ(asked.request.filter, "MS Excel Files (*.xls)|*.xls");
    EXPECT_EQ(asked.request.defaultExtension, "xls");
    EXPECT_TRUE(asked.request.confirmOverwrite);

    EXPECT_EQ(ReadAll(target), SpreadsheetBytes(page.grid));
    EXPECT_EQ(fake.shell.Opened(), QStringList{target});
    EXPECT_TRUE(fake.messages.Calls().empty());
}

TEST_F(ExportCommand, SpreadsheetNameWithoutExtensionGetsXls)
{
    fake.fileDialogs.QueueAnswer(InUserFolder("xls/quote"));
    EXPECT_EQ(ExportSpreadsheet(page, fake.Get(), excelSave), InUserFolder("xls/quote.xls"));
    EXPECT_TRUE(QFile::exists(InUserFolder("xls/quote.xls")));
    EXPECT_FALSE(QFile::exists(InUserFolder("xls/quote")));
    EXPECT_EQ(fake.shell.Opened(), QStringList{InUserFolder("xls/quote.xls")});
}

TEST_F(ExportCommand, SpreadsheetDialogOffersTheLastNameAndCancelDoesNothing)
{
    const QString target = InUserFolder("xls/quote.xls");
    fake.fileDialogs.QueueAnswer(target);
    ExportSpreadsheet(page, fake.Get(), excelSave);
    const QByteArray first = ReadAll(target);

    page.grid = SpecsGrid(5);  // a later cancel must not write these rows
    EXPECT_EQ(ExportSpreadsheet(page, fake.Get(), excelSave), "");

    ASSERT_EQ(fake.fileDialogs.Requests().size(), 2u);
    EXPECT_EQ(fake.fileDialogs.Requests()[1].request.initialName, target);
    EXPECT_EQ(ReadAll(target), first);
    EXPECT_EQ(QDir(InUserFolder("xls")).entryList(QDir::Files), QStringList{"quote.xls"});
    EXPECT_EQ(fake.shell.Opened(), QStringList{target});
    EXPECT_TRUE(fake.messages.Calls().empty());
    EXPECT_EQ(excelSave.lastName, target);
}

TEST_F(ExportCommand, ExportReplacesTheWholeOfAnExistingFile)
{
    const QString target = InUserFolder("existing.xls");
    ASSERT_TRUE(WriteAll(target, QByteArray(100000, 'x')));
    fake.fileDialogs.QueueAnswer(target);
    ExportSpreadsheet(page, fake.Get(), excelSave);
    EXPECT_EQ(ReadAll(target), SpreadsheetBytes(page.grid));

    const QString page2 = InUserFolder("existing.html");
    ASSERT_TRUE(WriteAll(page2, QByteArray(100000, 'x')));
    fake.fileDialogs.QueueAnswer(page2);
    ExportHtml(page, fake.Get(), saveDialog);
    EXPECT_EQ(ReadAll(page2), HtmlPageBytes(page.grid, 3));
}

// Runs as root in CI, where permissions do not stop a write: the target's
// folder is a regular file, or the target is a folder.
TEST_F(ExportCommand, UnwritableTargetShowsTheErrorAndOpensNothing)
{
    ASSERT_TRUE(WriteAll(InUserFolder("notafolder"), "plain file"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("xls/taken.xls"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("html/taken.html"));

    using Export = QString (*)(const ResultsView&, const Seams&, SaveDialogState&);
    struct Case {
        const char* name;
        Export run;
        QString target;
    };
    const Case cases[] = {
        {"spreadsheet, folder is a file", &ExportSpreadsheet, InUserFolder("notafolder/quote.xls")},
        {"spreadsheet, target is a folder", &ExportSpreadsheet, InUserFolder("xls/taken.xls")},
        {"html, folder is a file", &ExportHtml, InUserFolder("notafolder/quote.html")},
        {"html, target is a folder", &ExportHtml, InUserFolder("html/taken.html")},
    };
    for (const Case& c : cases) {
        fake.messages.Clear();
        fake.fileDialogs.QueueAnswer(c.target);
        SaveDialogState state;
        EXPECT_EQ(c.run(page, fake.Get(), state), "") << c.name;

        const auto boxes = fake.messages.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].kind, MessageCall::Error) << c.name;
        const QString prefix = "Unable to write to " + QDir::toNativeSeparators(c.target) + ": ";
        EXPECT_TRUE(boxes[0].text.startsWith(prefix)) << boxes[0].text.toStdString();
        EXPECT_GT(boxes[0].text.size(), prefix.size()) << "no reason given: " << c.name;
        EXPECT_TRUE(fake.shell.Opened().isEmpty()) << c.name;
    }
    // Nothing was left behind: no file, no temporary file beside the targets.
    EXPECT_EQ(ReadAll(InUserFolder("notafolder")), "plain file");
    EXPECT_TRUE(QDir(InUserFolder("xls")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(InUserFolder("html")).entryList(QDir::Files).isEmpty());
}

TEST_F(ExportCommand, UserFolderThatIsAFileGivesTheErrorForTheChosenFile)
{
    // The xls folder cannot be made; the dialog still comes up and the write
    // is what reports it.
    ASSERT_TRUE(WriteAll(InUserFolder("user"), "plain file"));
    fake.paths.SetUserDataFolder(InUserFolder("user"));
    fake.fileDialogs.QueueAnswer(InUserFolder("user/xls/quote.xls"));

    EXPECT_EQ(ExportSpreadsheet(page, fake.Get(), excelSave), "");
    ASSERT_EQ(fake.messages.Boxes().size(), 1u);
    EXPECT_TRUE(fake.messages.Boxes()[0].text.startsWith("Unable to write to " +
                                                         QDir::toNativeSeparators(InUserFolder("user/xls/quote.xls"))));
    EXPECT_TRUE(fake.shell.Opened().isEmpty());
}

// --- HTML -----------------------------------------------------------------

QList<QByteArray> PageLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.last().isEmpty()) << "the last line has no line end";
    lines.removeLast();
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        line.chop(1);
        EXPECT_FALSE(line.contains('\r')) << line.toStdString();
    }
    return lines;
}

TEST(HtmlPage, FiveRowsGiveFourteenLines)
{
    const QList<QByteArray> lines = PageLines(HtmlPageBytes(SpecsGrid(5), 3));
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], "<HTML>");
    EXPECT_EQ(lines[1], "<HEAD><TITLE>Tarvex Quillon Results</TITLE></HEAD>");
    EXPECT_EQ(lines[2], "<BODY>");
    EXPECT_EQ(lines[3], "<H1><CENTER>Tarvex Quillon Results</CENTER></H1>");
    EXPECT_EQ(lines[4], "<TABLE BORDER = 3 >");
    EXPECT_EQ(lines[5],
              "<TR><TD><B>Part Number</B></TD><TD><B>Frequency Band (MHz)</B></TD><TD>"
              "<B>Description</B></TD><TD><B>Mid Band Frequency (MHz)</B></TD><TD>"
              "<B>Attenuation (dB/100 ft)</B></TD><TD><B>Attenuation (dB/100m)</B></TD><TD>"
              "<B>Total Attenuation (dB)</B></TD><TD><B>Insertion Loss (dB)</B></TD><TD>"
              "<B>Efficiency (%)</B></TD><TD><B>Peak Power (kW)</B></TD><TD>"
              "<B>Avg. Power (kW)</B></TD><TD><B>VSWR Derated Avg. Pwr. (kW)</B></TD><TD>"
              "<B>List Price Per Foot (GBP)</B></TD><TD><B>List Price Per Meter (GBP)</B></TD><TD>"
              "</TR>");
    EXPECT_EQ(lines[6],
              "<TR><TD>QX-F12-50</TD><TD>806-960</TD><TD>1/2 in. foam coax, PE jacket</TD><TD>"
              "859</TD><TD>2.31</TD><TD>7.58</TD><TD>2.31</TD><TD>2.36</TD><TD>58.71</TD><TD>"
              "40.00</TD><TD>1.47</TD><TD>1.34</TD><TD>GBP 2.00</TD><TD>GBP 6.56</TD><TD></TR>");
    EXPECT_EQ(lines[10],
              "<TR><TD>QX-EW85</TD><TD>800-960</TD><TD>Elliptical waveguide 8.5 GHz</TD><TD>"
              "859</TD><TD>1.03</TD><TD>3.38</TD><TD>1.03</TD><TD>1.08</TD><TD>77.98</TD><TD>"
              "200.00</TD><TD>5.00</TD><TD>4.55</TD><TD>GBP 20.00</TD><TD>GBP 65.62</TD><TD></TR>");
    for (int i = 5; i <= 10; ++i) {
        EXPECT_TRUE(lines[i].startsWith("<TR><TD>")) << i;
        EXPECT_TRUE(lines[i].endsWith("<TD></TR>")) << i;
        EXPECT_EQ(lines[i].count("<TD>"), 15) << i;  // 14 columns and the opened cell
    }
    EXPECT_EQ(lines[11], "</TABLE>");
    EXPECT_EQ(lines[12], "</BODY>");
    EXPECT_EQ(lines[13], "</HTML>");
}

TEST(HtmlPage, EmptyTableAndOtherBorder)
{
    const QList<QByteArray> lines = PageLines(HtmlPageBytes(SpecsGrid(0), 0));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[4], "<TABLE BORDER = 0 >");
    EXPECT_TRUE(lines[5].startsWith("<TR><TD><B>Part Number</B>"));
    EXPECT_EQ(lines[6], "</TABLE>");
}

TEST(HtmlPage, TextsAreEscaped)
{
    struct Case {
        QString text;
        QString escaped;
    };
    const Case cases[] = {
        {"", ""},
        {"GBP 4.50", "GBP 4.50"},
        {"Foam & air <50 ohm>", "Foam &amp; air &lt;50 ohm&gt;"},
        {"7/8\" jacket 'PE'", "7/8&quot; jacket 'PE'"},
        {"&amp;", "&amp;amp;"},
        {"</TD><TD>", "&lt;/TD&gt;&lt;TD&gt;"},
        {QString::fromUtf8("-40 °C, Ø 22 mm, é"), "-40 &#176;C, &#216; 22 mm, &#233;"},
        {QString::fromUtf8("\u00ff\u0100 € 📡"), "&#255;&#256; &#8364; &#128225;"},
        {"tab\there", "tab\there"},
    };
    for (const Case& c : cases) EXPECT_EQ(HtmlEscaped(c.text), c.escaped) << c.text.toStdString();
}

TEST(HtmlPage, HeadingsAndCellsAreEscapedInPlace)
{
    GridSnapshot grid = SpecsGrid(2);
    grid.rows[1][2] = QString::fromUtf8("7/8\" foam & air <low loss>, 85 °C");
    grid.headings[12] = "List Price Per Foot (<USD>)";
    const QList<QByteArray> lines = PageLines(HtmlPageBytes(grid, 3));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines[5].contains("</TD><TD><B>List Price Per Foot (&lt;USD&gt;)</B></TD><TD>"));
    EXPECT_TRUE(
        lines[7].startsWith("<TR><TD>QX-F78-50</TD><TD>806-960</TD><TD>"
                            "7/8&quot; foam &amp; air &lt;low loss&gt;, 85 &#176;C</TD><TD>"
                            "859</TD><TD>"));
    EXPECT_EQ(lines[7].count("<TD>"), 15);
}

TEST_F(ExportCommand, HtmlIsWrittenInTheHtmlFolderAndOpened)
{
    page.grid = SpecsGrid(5);
    saveDialog.lastName = InUserFolder("qlx/last query.qlx");  // left by the query-file save
    const QString target = InUserFolder("html/results.html");
    fake.fileDialogs.QueueAnswer(target);

    EXPECT_EQ(ExportHtml(page, fake.Get(), saveDialog), target);

    ASSERT_EQ(fake.fileDialogs.Requests().size(), 1u);
    const FileDialogRequest& asked = fake.fileDialogs.Requests().front().request;
    EXPECT_EQ(asked.title, "Select A File");
    EXPECT_EQ(asked.initialFolder, InUserFolder("html"));
    EXPECT_EQ(asked.initialName, "");
    EXPECT_EQ(asked.filter, "html Files (*.html)|*.html");
    EXPECT_EQ(asked.defaultExtension, "html");
    EXPECT_TRUE(asked.confirmOverwrite);
    EXPECT_TRUE(QDir(InUserFolder("html")).exists());

    EXPECT_EQ(ReadAll(target), HtmlPageBytes(page.grid, 3));
    EXPECT_EQ(PageLines(ReadAll(target)).size(), 14);
    EXPECT_EQ(fake.shell.Opened(), QStringList{target});
    EXPECT_EQ(saveDialog.lastName, target);
}

TEST_F(ExportCommand, CreateHtmlUsesItsExtensionAndBorder)
{
    fake.fileDialogs.QueueAnswer(InUserFolder("htm/results"));
    EXPECT_EQ(CreateHtml(page, fake.Get(), saveDialog, "htm", 1), InUserFolder("htm/results.htm"));
    const FileDialogRequest& asked = fake.fileDialogs.Requests().front().request;
    EXPECT_EQ(asked.filter, "htm Files (*.htm)|*.htm");
    EXPECT_EQ(asked.defaultExtension, "htm");
    EXPECT_EQ(asked.initialFolder, InUserFolder("htm"));
    EXPECT_EQ(PageLines(ReadAll(InUserFolder("htm/results.htm")))[4], "<TABLE BORDER = 1 >");
}

TEST_F(ExportCommand, CancellingTheHtmlDialogAfterAnExportDoesNothing)
{
    const QString target = InUserFolder("html/results.html");
    fake.fileDialogs.QueueAnswer(target);
    ExportHtml(page, fake.Get(), saveDialog);
    const QByteArray first = ReadAll(target);

    page.grid = SpecsGrid(5);
    EXPECT_EQ(ExportHtml(page, fake.Get(), saveDialog), "");

    ASSERT_EQ(fake.fileDialogs.Requests().size(), 2u);
    EXPECT_EQ(fake.fileDialogs.Requests()[1].request.initialName, "");
    EXPECT_EQ(ReadAll(target), first);
    EXPECT_EQ(QDir(InUserFolder("html")).entryList(QDir::Files), QStringList{"results.html"});
    EXPECT_EQ(fake.shell.Opened(), QStringList{target});
    EXPECT_TRUE(fake.messages.Calls().empty());
    EXPECT_EQ(saveDialog.lastName, "");
}

}  // namespace
}  // namespace quillon
