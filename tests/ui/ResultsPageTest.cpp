// The results page: its set-up when a search shows it, the yellow current row
// moving with the arrow keys, the connector lists and part-number grids, a
// search from the page itself, and the menu on each page.

#include <algorithm>
#include <fstream>

#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QSplitter>
#include <QToolTip>

#include "tests/ui/SearchFixture.h"

namespace quillon {
namespace {

QStringList ConnectorNames(const TTransmissionLine* line)
{
    QStringList names;
    for (const auto& connector : line->Connectors) names << QString::fromStdString(connector->TypeName);
    return names;
}

class ResultsPage : public SearchWindow {
protected:
    // QXF-050 in 806-960 MHz is the only line with both of these connectors.
    void SearchOneDemoLine()
    {
        install.WriteDemoData({"GBP|1.5|"});
        Open();
        SetBand("824", "894");
        query->chkConnector->setChecked(true);
        query->cbxConnector->setCurrentText(QStringLiteral("4.3-10 Female"));
        query->chkConnector2->setChecked(true);
        query->cbxConnector2->setCurrentText(QStringLiteral("TNC Male"));
        Search();
        ASSERT_EQ(CallLines(install.fakes.messages), QStringList());
        ASSERT_EQ(ResultPartNumbers(), QStringList{"QXF-050"});
    }
    void ClickRow(QTableView* grid, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
    }
};

TEST_F(ResultsPage, SetUpWhenASearchShowsIt)
{
    SearchOneDemoLine();
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Query Results"));
    EXPECT_EQ(results->gbxSpecifications->title(), QStringLiteral("Transmission Lines (1 Item)"));
    EXPECT_TRUE(results->grdSpecs->hasFocus());
    EXPECT_EQ(results->grdSpecs->currentIndex().row(), 0);
    EXPECT_EQ(ColouredRows(results->SpecsModel), std::vector<int>{0});
    for (const QTableView* grid : {results->grdConnectors, results->grdConnectors2})
        EXPECT_EQ(grid->horizontalHeader()->sectionSize(1), qRound(grid->width() / 2.0)) << grid->objectName().toStdString();

    // With the criteria ticked each end opens on the queried type.
    const QStringList types = {"N Male",        "N Female",      "7-16 DIN Male", "7-16 DIN Female",
                               "4.3-10 Male",   "4.3-10 Female", "TNC Male"};
    EXPECT_EQ(Items(results->lstConnectors), types);
    EXPECT_EQ(Items(results->lstConnectors2), types);
    EXPECT_EQ(results->lstConnectors->currentItem()->text(), QStringLiteral("4.3-10 Female"));
    EXPECT_EQ(results->lstConnectors2->currentItem()->text(), QStringLiteral("TNC Male"));
    EXPECT_EQ(Rows(results->ConnectorsModel),
              (QStringList{"QXC-F050-4F | 4.3-10 Female for 1/2 in foam coax | USD 44.00",
                           "QXC-F050-4F-LP | 4.3-10 Female for 1/2 in foam coax, low PIM | USD 55.00"}));
    EXPECT_EQ(Rows(results->Connectors2Model),
              (QStringList{"QXC-F050-TM | TNC Male for 1/2 in foam coax | USD 22.00",
                           "QXC-F050-TM-HT | TNC Male for 1/2 in foam coax, high temperature | USD 28.60"}));
    EXPECT_EQ(ColouredRows(results->ConnectorsModel), std::vector<int>{0});

    // The widths follow the page as it grows.
    window->showNormal();
    window->resize(900, 700);
    QApplication::processEvents();
    window->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(results->grdConnectors->horizontalHeader()->sectionSize(1),
              qRound(results->grdConnectors->width() / 2.0));
}

// The line between the connector ends and the panels beside them, drawn
// with the mouse: the part-number grids take the width (their descriptions
// still half of it) and show their prices whole.
TEST_F(ResultsPage, DrawingTheSplitterGivesThePartNumberGridsRoomForTheirPrices)
{
    SearchOneDemoLine();
    window->showNormal();
    window->resize(1280, 800);  // a laptop's screen
    QApplication::processEvents();
    QSplitter* splitter = results->splitAnalysis;
    ASSERT_TRUE(results->tabAnalysis->isVisible());
    QWidget* handle = splitter->handle(1);
    const int before = results->grdConnectors->width();
    const int room = results->tabAnalysis->width() - results->tabAnalysis->minimumSizeHint().width();
    const int step = std::min(300, room - 10);
    ASSERT_GT(step, 100) << "the panels leave no room to give";

    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(step, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(step, 0));
    QApplication::processEvents();

    for (QTableView* grid : {results->grdConnectors, results->grdConnectors2}) {
        const std::string name = grid->objectName().toStdString();
        EXPECT_GT(grid->width(), before + step / 2) << name;  // the connector lists take their share
        const QHeaderView* header = grid->horizontalHeader();
        EXPECT_EQ(header->sectionSize(1), qRound(grid->width() / 2.0)) << name;
        EXPECT_LE(header->sectionViewportPosition(2) + header->sectionSize(2), grid->viewport()->width()) << name;
    }
}

// The tool tip that comes up when the pointer rests on the cell.
QString TipOver(QTableView* grid, const QModelIndex& index)
{
    QToolTip::hideText();
    const QPoint at = grid->visualRect(index).center();
    QHelpEvent rest(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// A cell cut short by its column shows its whole text when the pointer rests
// on it; a cell shown whole leaves the grid's hint.
TEST_F(ResultsPage, ACellCutShortShowsItsWholeTextAsATip)
{
    SearchOneDemoLine();
    struct Case {
        QTableView* grid;
        int row, column;
        const char* hint;
    };
    const Case cases[] = {
        {results->grdSpecs, 0, 2, "Transmission Line Specifications"},
        {results->grdConnectors, 1, 1, "Connector #1 Information"},
        {results->grdConnectors2, 1, 2, "Connector #2 Information"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid->objectName().toStdString());
        const QModelIndex cell = c.grid->model()->index(c.row, c.column);
        const QString text = cell.data().toString();
        ASSERT_FALSE(text.isEmpty());
        QHeaderView* header = c.grid->horizontalHeader();
        header->resizeSection(c.column, QFontMetrics(c.grid->font()).horizontalAdvance(text) + 40);
        EXPECT_EQ(TipOver(c.grid, cell), QLatin1String(c.hint));
        header->resizeSection(c.column, QFontMetrics(c.grid->font()).horizontalAdvance(text) / 2);
        EXPECT_EQ(TipOver(c.grid, cell), text);
    }
    QToolTip::hideText();
}

TEST_F(ResultsPage, ListsOpenOnTheFirstTypeWithoutCriterionAndFollowClicks)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SetBand("824", "894");
    SetKinds(false, true, false, false);
    query->chkConnector->setChecked(true);
    query->cbxConnector->setCurrentText(QStringLiteral("4.3-10 Female"));
    Search();
    ASSERT_EQ(ResultPartNumbers(), (QStringList{"QXF-050", "QXF-050S"}));
    EXPECT_EQ(results->gbxSpecifications->title(), QStringLiteral("Transmission Lines (2 Items)"));
    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    ASSERT_EQ(results->grdSpecs->currentIndex().row(), 1);
    EXPECT_EQ(results->lstConnectors->currentItem()->text(), QStringLiteral("4.3-10 Female"));
    EXPECT_EQ(results->lstConnectors2->currentRow(), 0);  // criterion #2 unticked: the first type
    EXPECT_EQ(Rows(results->Connectors2Model).size(), 4);  // N Male: four part numbers

    // A type with three part numbers, then one with one.
    QListWidget* list = results->lstConnectors2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(Rows(results->Connectors2Model),
              (QStringList{"QXC-F050S-DM | 7-16 DIN Male for 1/2 in foam coax | USD 50.40",
                           "QXC-F050S-DM-RA | 7-16 DIN Male for 1/2 in foam coax, right angle | USD 70.56",
                           "QXC-F050S-DM-LP | 7-16 DIN Male for 1/2 in foam coax, low PIM | USD 63.00"}));
    // The current part-number row is the only aqua one.
    ClickRow(results->grdConnectors2, 2);
    EXPECT_EQ(ColouredRows(results->Connectors2Model), std::vector<int>{2});
    EXPECT_EQ(results->Connectors2Model->data(results->Connectors2Model->index(2, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::cyan));
    QTest::keyClick(results->grdConnectors2, Qt::Key_Up);
    EXPECT_EQ(ColouredRows(results->Connectors2Model), std::vector<int>{1});

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(Rows(results->Connectors2Model),
              QStringList{"QXC-F050S-NF | N Female for 1/2 in foam coax | USD 31.50"});
    // The other end keeps its choice.
    EXPECT_EQ(results->lstConnectors->currentItem()->text(), QStringLiteral("4.3-10 Female"));
}

// A price list edited on Linux is UTF-8, the maker's own files are 8-bit
// Windows-1252: the window shows both as they were written, in the results,
// the connector lists and the part-number grids.
TEST_F(ResultsPage, FilesInUtf8AndInWindows1252ShowAsWritten)
{
    std::vector<std::string> catalogue = FixtureCatalogue();
    // Beside QA-1's other rows, a connector in Windows-1252.
    catalogue.insert(catalogue.begin() + 4, CatalogueRow("500", "700", "QA-1", "AIR", "Fiche m\xE2le \x80"));
    install.WriteCatalogue(catalogue);
    std::ofstream(QFile::encodeName(install.DataFolder() + "/M_lom.dat").toStdString(), std::ios::binary)
        << "TL|QA|QA-1|FT|C\xC3\xA2" "ble \xC3\xA0 air \xCE\xA9|2.50|\r\nTL|QA|QA-1-C|EA|Fiche m\xC3\xA2le|9|\r\n";
    install.WriteRates();
    install.RecordDataFolder();
    Open();
    SetBand("500", "700");
    Search();
    ASSERT_EQ(CallLines(install.fakes.messages), QStringList());
    ASSERT_EQ(ResultPartNumbers(), QStringList{"QA-1"});
    EXPECT_EQ(Cell(0, 2), QString::fromUtf8("C\u00e2ble \u00e0 air \u03a9"));
    EXPECT_EQ(Items(results->lstConnectors).last(), QString::fromUtf8("Fiche m\u00e2le \u20ac"));
    QListWidget* list = results->lstConnectors;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(list->count() - 1)).center());
    EXPECT_EQ(Rows(results->ConnectorsModel), QStringList{QString::fromUtf8("QA-1-C | Fiche m\u00e2le | USD 9.00")});
}

TEST_F(ResultsPage, ArrowKeysKeepOneYellowRowAndRefillTheConnectorLists)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SetBand("824", "894");
    Search();
    ASSERT_EQ(window->Session().ResultLines().size(), 16u);
    QTableView* grid = results->grdSpecs;
    ASSERT_TRUE(grid->hasFocus());
    auto check = [&](int row) {
        SCOPED_TRACE(row);
        ASSERT_EQ(grid->currentIndex().row(), row);
        EXPECT_EQ(ColouredRows(results->SpecsModel), std::vector<int>{row});
        EXPECT_EQ(results->SpecsModel->data(results->SpecsModel->index(row, 13), Qt::BackgroundRole).value<QColor>(),
                  QColor(Qt::yellow));
        const TTransmissionLine* line = window->Session().ResultLines()[static_cast<std::size_t>(row)];
        EXPECT_EQ(Items(results->lstConnectors), ConnectorNames(line));
        EXPECT_EQ(Items(results->lstConnectors2), ConnectorNames(line));
        EXPECT_EQ(results->lstConnectors->currentRow(), 0);
        // The grid shows the first type's part numbers.
        const auto& parts = line->Connectors.front()->PartNumbers;
        ASSERT_EQ(results->ConnectorsModel->rowCount(), static_cast<int>(parts.size()));
        EXPECT_EQ(results->ConnectorsModel->data(results->ConnectorsModel->index(0, 0), Qt::DisplayRole).toString(),
                  QString::fromStdString(parts.front()));
    };
    check(0);
    for (int row = 1; row <= 10; ++row) {
        QTest::keyClick(grid, Qt::Key_Down);
        check(row);
    }
    QTest::keyClick(grid, Qt::Key_Up);
    check(9);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    check(15);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    check(0);
    ClickRow(grid, 4);
    check(4);
}

// A search from the results page refills the grid; the page does not show
// anew, so the count and the connector panels wait for the next row change.
TEST_F(ResultsPage, SearchFromThePageRefillsTheGrid)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SetBand("824", "894");
    query->edtLength->setText(QStringLiteral("100"));
    Search();
    ASSERT_EQ(window->Session().ResultLines().size(), 16u);
    const QString lossAt100 = Cell(0, 6);

    query->edtLength->setText(QStringLiteral("200"));
    SetKinds(false, true, false, false);
    QTest::keyClick(results->grdSpecs, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(CallLines(install.fakes.messages), QStringList());
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    EXPECT_EQ(ResultPartNumbers(), (QStringList{"QXF-10LL", "QXF-050", "QXF-078", "QXF-114", "QXF-158", "QXF-025",
                                                "QXF-038", "QXF-050S", "QXF-214"}));
    EXPECT_EQ(Column(0), ResultPartNumbers());
    EXPECT_NE(Cell(0, 6), lossAt100);
    EXPECT_EQ(Cell(0, 6).toDouble(), 2 * lossAt100.toDouble());
    EXPECT_EQ(ColouredRows(results->SpecsModel), std::vector<int>{0});
    EXPECT_EQ(results->gbxSpecifications->title(), QStringLiteral("Transmission Lines (16 Items)"));

    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    EXPECT_EQ(Items(results->lstConnectors), ConnectorNames(window->Session().ResultLines()[1]));
}

TEST_F(ResultsPage, ConnectorCriterionMatchesTheTypeIgnoringCaseElseTheFirstType)
{
    install.WriteAll();
    std::vector<std::string> rows = FixtureCatalogue();
    rows.push_back(CatalogueRow("800", "960", "QC-7", "FOAM", "7-16 DIN Male"));
    rows.push_back(CatalogueRow("800", "960", "QC-7", "FOAM", "n female", "QC-7-NF"));
    install.WriteCatalogue(rows);
    Open();
    query->chkFrequency->setChecked(false);
    query->chkConnector->setChecked(true);
    query->cbxConnector->setCurrentText(QStringLiteral("N Female"));
    query->chkConnector2->setChecked(true);
    query->cbxConnector2->setCurrentText(QStringLiteral("EIA Flange"));
    window->Session().SetCommandLinePartNumber("QC-7");  // a part number ignores the criteria
    Search();
    ASSERT_EQ(ResultPartNumbers(), QStringList{"QC-7"});
    EXPECT_EQ(Items(results->lstConnectors), (QStringList{"7-16 DIN Male", "n female"}));
    EXPECT_EQ(results->lstConnectors->currentRow(), 1);
    EXPECT_EQ(Rows(results->ConnectorsModel), QStringList{"QC-7-NF |  | "});  // not in the price list
    EXPECT_EQ(results->lstConnectors2->currentRow(), 0);  // the line has no "EIA Flange"
    EXPECT_EQ(Rows(results->Connectors2Model), QStringList{"QC-7-C |  | "});
    EXPECT_EQ(results->Connectors2Model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Price ($US)"));
}

struct MenuCase {
    const char* name;
    bool rates;
    bool excel;
};

void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.name; }

class MenuStates : public ResultsPage, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuStates, FollowThePage)
{
    const MenuCase& c = GetParam();
    install.WriteAll();
    if (!c.rates) QFile::remove(install.ProgramFolder() + QStringLiteral("/xcngrate.dat"));
    install.fakes.Get().classesRoot = [&c](const QString& name) {
        return c.excel && name == QStringLiteral("Excel.Application");
    };
    Open();
    const TMainMenu& m = window->Menu;
    const std::vector<QAction*> resultsItems = {m.N1,          m.Print1,    m.CopyToClipboard1, m.SaveQuerySettingsToFile1,
                                                m.ExportData1, m.NewQuery1, m.Chart1,           m.AddLineToChart1,
                                                m.RemoveLineFromChart1};
    const std::vector<QAction*> queryItems = {m.GetTransmissionLines1, m.OpenFile1};
    const std::vector<QAction*> alwaysShown = {m.SaveSettingsOnExit1, m.ViewLatestNewsFromTarvex1, m.Freshline1,
                                               m.Exit1, m.About1};
    for (int page : {TfrmMain::kQueryValuesPage, TfrmMain::kResultsPage, TfrmMain::kQueryValuesPage}) {
        SCOPED_TRACE(page);
        if (page == TfrmMain::kResultsPage) {
            SetBand("806", "960");
            Search();
        } else {
            window->Menu.NewQuery1->trigger();
        }
        ASSERT_EQ(window->CurrentPage(), page);
        const bool onResults = page == TfrmMain::kResultsPage;
        for (QAction* item : resultsItems) EXPECT_EQ(item->isVisible(), onResults) << item->objectName().toStdString();
        for (QAction* item : queryItems) EXPECT_EQ(item->isVisible(), !onResults) << item->objectName().toStdString();
        for (QAction* item : alwaysShown) EXPECT_TRUE(item->isVisible()) << item->objectName().toStdString();
        EXPECT_EQ(m.CurrencySettings1->isVisible(), c.rates);
        // (Qt reports a hidden action as disabled whatever it was set to.)
        if (c.rates) {
            EXPECT_EQ(m.CurrencySettings1->isEnabled(), onResults);
        }
        EXPECT_EQ(m.ToAMicrosoftExcelFile1->isEnabled(), c.excel);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuStates,
                         ::testing::Values(MenuCase{"rates_and_excel", true, true},
                                           MenuCase{"rates_no_excel", true, false},
                                           MenuCase{"no_rates_excel", false, true}),
                         [](const ::testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillon
