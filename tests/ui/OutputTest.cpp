// The results leaving the window: the clipboard copy from either page, the
// Print Options dialog from the button and from Ctrl+P, and the exports with
// their save dialogs.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "tests/ui/SearchFixture.h"
#include "output/ClipboardText.h"
#include "output/PrintOptions.h"
#include "output/ReportEngine.h"

namespace quillon {
namespace {

QString Label(const char* heading) { return (QLatin1String(heading) + QLatin1Char(':')).leftJustified(31); }

class Output : public SearchWindow {
protected:
    // A search for the two foam lines of 806-960 MHz, with the results page up.
    void SearchFoam()
    {
        SetBand("806", "960");
        Search();
        ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
        ASSERT_EQ(ResultPartNumbers(), (QStringList{"QF-2", "QF-3"}));
    }
    static bool DataFileIn(const QString& folder)
    {
        const QDir dir(folder);
        return dir.exists(QStringLiteral("list.qlx")) || dir.exists(QStringLiteral("selected.qlx"));
    }
    bool DataFileLeft() const { return DataFileIn(install.ProgramFolder()) || DataFileIn(install.UserDataFolder()); }
};

// Ctrl+C on the query page copies the selected line of the last search; the
// hidden columns of a bare part number come out with empty values.
TEST_F(Output, CopyFromTheQueryPageTakesTheShownResults)
{
    install.WriteAll();
    Open();
    SearchFoam();
    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    ASSERT_EQ(results->grdSpecs->currentIndex().row(), 1);
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    query->edtLength->setFocus();
    QTest::keyClick(query->edtLength, Qt::Key_C, Qt::ControlModifier);

    const QStringList lines = QGuiApplication::clipboard()->text().split(QChar(kClipboardLineEnd));
    ASSERT_EQ(lines.size(), 29);  // 28 lines, each ended by the line end
    EXPECT_EQ(lines[0], QStringLiteral("Transmission Line:"));
    EXPECT_EQ(lines[2], Label("Part Number") + QStringLiteral("QF-3"));
    EXPECT_EQ(lines[5], Label("Mid Band Frequency (MHz)") + QStringLiteral("883"));
    EXPECT_EQ(lines[13], Label("VSWR Derated Avg. Pwr. (kW)") + Cell(1, 11));
    EXPECT_EQ(lines[17], QStringLiteral("Connector 1:"));
    EXPECT_EQ(lines[19], Label("Part Number") + QStringLiteral("QF-3-C"));
    EXPECT_EQ(lines[25], Label("Part Number") + QStringLiteral("QF-3-C"));
    EXPECT_EQ(lines[28], QString());
    window.reset();

    // The command line's hidden columns still give their lines.
    Open({QStringLiteral("QF-2")});
    ASSERT_TRUE(results->grdSpecs->isColumnHidden(3));
    results->btnClipboard->click();
    const QStringList bare = QGuiApplication::clipboard()->text().split(QChar(kClipboardLineEnd));
    ASSERT_EQ(bare.size(), 29);
    EXPECT_EQ(bare[4], Label("Description") + QStringLiteral("Foam line"));
    EXPECT_EQ(bare[5], Label("Mid Band Frequency (MHz)"));
    EXPECT_EQ(bare[14], Label("List Price Per Foot ($US)") + QStringLiteral("$1.25"));
}

// The Print button and Ctrl+P (also from the query page) open the dialog
// modally on its first item; its reports read the grids as shown, and no data
// file is left once it closes.
TEST_F(Output, PrintOpensTheDialogModallyAndLeavesNoDataFile)
{
    install.WriteAll();
    Open();
    SearchFoam();
    QStringList ran;
    QStringList fields;
    window->SetPrintReportRunner([&](const TReport& report, QWidget*) {
        ran << report.name;
        // The first field of both layouts is the part number.
        fields << report.data->Value(0, report.data->Fields().front().name);
        // In the user's own folder, made for it: an installed program's
        // folder is read-only.
        EXPECT_TRUE(DataFileIn(install.UserDataFolder()));
        EXPECT_FALSE(DataFileIn(install.ProgramFolder()));
    });
    const struct {
        const char* name;
        int item;
        const char* report;
        std::function<void()> open;
    } cases[] = {
        {"button", TfrmPrintOptions::CurrentSelection, "rptSelected", [&] { results->btnPrint->click(); }},
        {"Ctrl+P on the query page", TfrmPrintOptions::EntireList, "rptAll",
         [&] {
             window->btnNewQueryClick();
             query->edtLength->setFocus();
             QTest::keyClick(query->edtLength, Qt::Key_P, Qt::ControlModifier);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ran.clear();
        fields.clear();
        bool shown = false;
        QTimer::singleShot(0, window.get(), [&] {
            // Found through the window, so a test that goes wrong still closes it.
            auto* dialog = window->findChild<TfrmPrintOptions*>();
            ASSERT_NE(dialog, nullptr);
            shown = dialog->isVisible() && dialog->isModal();
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Print Options"));
            EXPECT_EQ(dialog->rgPrintOptions->ItemIndex(), TfrmPrintOptions::CurrentSelection);
            dialog->rgPrintOptions->SetItemIndex(c.item);
            dialog->btnPrint->click();
            dialog->btnPrint->click();  // the dialog stays open for another print
            dialog->btnClose->click();
        });
        c.open();
        EXPECT_TRUE(shown);
        EXPECT_EQ(ran, QStringList(2, QLatin1String(c.report)));
        EXPECT_EQ(fields.value(0), QStringLiteral("QF-2"));
        EXPECT_FALSE(DataFileLeft());
        EXPECT_EQ(window->findChild<TfrmPrintOptions*>(), nullptr);
        EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    }
}

// Each export writes the whole table and opens it. The HTML export clears the
// save dialog it shares with the query-file save, which then offers the HTML
// name; the spreadsheet export keeps its own dialog.
TEST_F(Output, ExportsWriteTheTableAndShareTheirDialogsAsDesigned)
{
    install.WriteAll();
    install.fakes.Get().classesRoot = [](const QString& name) { return name == QStringLiteral("Excel.Application"); };
    Open();
    SearchFoam();
    ASSERT_TRUE(window->Menu.ToAMicrosoftExcelFile1->isEnabled());
    FakeFileDialogs& dialogs = install.fakes.fileDialogs;
    // The folders are the user's own, made at the first use; nothing goes
    // beside the program, whose folder an installation keeps read-only.
    const QString program = install.UserDataFolder();
    ASSERT_FALSE(QFileInfo::exists(program));
    const QStringList beside = QDir(install.ProgramFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    dialogs.QueueAnswer(program + QStringLiteral("/qlx/query.qlx"));
    window->Menu.SaveQuerySettingsToFile1->trigger();
    dialogs.QueueAnswer(program + QStringLiteral("/html/table"));
    window->Menu.ToAnHTMLFile1->trigger();
    dialogs.QueueAnswer(program + QStringLiteral("/xls/table"));
    window->Menu.ToAMicrosoftExcelFile1->trigger();
    dialogs.QueueAnswer(QString());
    window->Menu.SaveQuerySettingsToFile1->trigger();
    dialogs.QueueAnswer(QString());
    window->Menu.ToAMicrosoftExcelFile1->trigger();

    ASSERT_EQ(dialogs.Requests().size(), 5u);
    const auto offered = [&](int i) { return dialogs.Requests()[static_cast<std::size_t>(i)].request.initialName; };
    EXPECT_EQ(offered(1), QString());
    EXPECT_EQ(offered(2), QString());
    EXPECT_EQ(offered(3), program + QStringLiteral("/html/table.html"));
    EXPECT_EQ(offered(4), program + QStringLiteral("/xls/table.xls"));
    EXPECT_EQ(dialogs.Requests()[1].request.initialFolder, program + QStringLiteral("/html"));
    EXPECT_EQ(dialogs.Requests()[2].request.initialFolder, program + QStringLiteral("/xls"));

    EXPECT_EQ(install.fakes.shell.Opened(),
              (QStringList{program + QStringLiteral("/html/table.html"), program + QStringLiteral("/xls/table.xls")}));
    QFile sheet(program + QStringLiteral("/xls/table.xls"));
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = sheet.readAll().split('\n');
    ASSERT_EQ(rows.size(), 4);  // the heading line, two rows, nothing after the last line end
    EXPECT_TRUE(rows[0].startsWith("Part Number\tFrequency Band (MHz)\t"));
    EXPECT_TRUE(rows[0].endsWith("\t\r\r"));
    EXPECT_TRUE(rows[1].startsWith("QF-2\t800-960\tFoam line\t883\t"));
    EXPECT_TRUE(rows[2].startsWith("QF-3\t"));
    EXPECT_EQ(rows[3], QByteArray());
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_EQ(QDir(install.ProgramFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), beside);
}

}  // namespace
}  // namespace quillon
