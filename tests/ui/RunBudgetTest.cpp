// The "Run Budget" panel of the results page: the figures of the line in the
// current row, checked against the loss laws worked here from the line's own
// coefficients and against the grids' cells; it follows the current row, the
// part numbers chosen in the two part-number grids and the currency.

#include <cmath>

#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include "tests/ui/SearchFixture.h"
#include "ui/RunBudgetPanel.h"

namespace quillon {
namespace {

QString Fixed2(double value) { return QString::asprintf("%.2f", value); }

class RunBudget : public SearchWindow {
protected:
    // The two foam lines of the demo data with a 4.3-10 Female connector at
    // 824-894 MHz (mid-band 859), 500 ft into a load of VSWR 1.5, within 25 dB.
    void SearchTwoFoamLines()
    {
        install.WriteDemoData({"GBP|1.5|"});
        Open();
        SetBand("824", "894");
        SetKinds(false, true, false, false);
        query->chkConnector->setChecked(true);
        query->cbxConnector->setCurrentText(QStringLiteral("4.3-10 Female"));
        query->edtLength->setText(QStringLiteral("500"));
        query->edtVSWR->setText(QStringLiteral("1.5"));
        query->chkInsertionLoss->setChecked(true);
        query->edtMaxLoss->setText(QStringLiteral("25"));
        Search();
        ASSERT_EQ(CallLines(install.fakes.messages), QStringList());
        ASSERT_EQ(ResultPartNumbers(), (QStringList{"QXF-050", "QXF-050S"}));
        panel = results->pnlRunBudget;
    }
    void ClickRow(QTableView* grid, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
    }
    static QString PartCell(const TPartNumberModel* model, int row, int column)
    {
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
    // The grid's price text back as a number ("USD 44.00" gives 44).
    static double Amount(const QString& price) { return price.section(QLatin1Char(' '), 1).toDouble(); }

    // The line in row r with its attenuation at 859 MHz, dB/100 ft (coaxial law).
    const TTransmissionLine& Line(int r) const { return *window->Session().ResultLines().at(static_cast<std::size_t>(r)); }
    double Attenuation(int r) const
    {
        const TTransmissionLine& line = Line(r);
        return line.AttenuationA * std::sqrt(859.0) + line.AttenuationB * 859.0;
    }

    // The panel's figures for row r over 500 ft with the part numbers current in the two grids.
    void ExpectFigures(int r, const char* code, double rate)
    {
        SCOPED_TRACE(Line(r).PartNumber);
        EXPECT_EQ(panel->lblRunPartNumber->text(), QString::fromStdString(Line(r).PartNumber));
        EXPECT_EQ(panel->lblRunLength->text(), QStringLiteral("500 ft"));
        EXPECT_EQ(panel->lblRunVswr->text(), QStringLiteral("1.5"));
        EXPECT_EQ(panel->lblRunReflection->text(), QStringLiteral("0.20"));  // (1.5 - 1) / (1.5 + 1)
        // The cable loss is the row's total attenuation.
        EXPECT_EQ(panel->lblRunCableLoss->text(), Cell(r, 6) + QStringLiteral(" dB"));
        EXPECT_EQ(panel->lblRunConnectorLoss->text(), QStringLiteral("0.09 dB"));  // 0.1 sqrt(0.859)
        EXPECT_EQ(panel->lblRunMismatchLoss->text(), QStringLiteral("0.18 dB"));   // -10 log10(0.96)
        const double system = Attenuation(r) * 5 + 0.1 * std::sqrt(0.859) - 10 * std::log10(0.96);
        EXPECT_EQ(panel->lblRunSystemLoss->text(), Fixed2(system) + QStringLiteral(" dB"));
        EXPECT_EQ(panel->lblRunPowerDelivered->text(), Fixed2(std::pow(10.0, -system / 10) * 100) + QStringLiteral(" %"));
        const double cable = Line(r).ListPrice / rate * 500;
        EXPECT_EQ(panel->lblRunCableCost->text(), QLatin1String(code) + QLatin1Char(' ') + Fixed2(cable));

        // Each end's chosen part number with the price its grid shows, and the
        // total of the three amounts as shown.
        const int part1 = results->grdConnectors->currentIndex().row();
        const int part2 = results->grdConnectors2->currentIndex().row();
        ASSERT_GE(part1, 0);
        ASSERT_GE(part2, 0);
        const TPartNumberModel* end1 = results->ConnectorsModel;
        const TPartNumberModel* end2 = results->Connectors2Model;
        EXPECT_EQ(panel->lblRunConnector1->text(), QStringLiteral("Connector #1  ") + PartCell(end1, part1, 0));
        EXPECT_EQ(panel->lblRunConnector1Price->text(), PartCell(end1, part1, 2));
        EXPECT_EQ(panel->lblRunConnector2->text(), QStringLiteral("Connector #2  ") + PartCell(end2, part2, 0));
        EXPECT_EQ(panel->lblRunConnector2Price->text(), PartCell(end2, part2, 2));
        const double total = Fixed2(cable).toDouble() + Amount(PartCell(end1, part1, 2)) + Amount(PartCell(end2, part2, 2));
        EXPECT_EQ(panel->lblRunTotal->text(), QLatin1String(code) + QLatin1Char(' ') + Fixed2(total));

        // The longest run within 25 dB: 25 / (a / 100) ft, shown as the whole
        // hundredth at or below it.
        EXPECT_FALSE(panel->lblRunLongest->isHidden());
        EXPECT_EQ(panel->lblRunLongestCaption->text(), QStringLiteral("Longest run within 25 dB"));
        const QString longest = panel->lblRunLongest->text();
        ASSERT_TRUE(longest.endsWith(QStringLiteral(" ft"))) << longest.toStdString();
        const double exact = 25 / (Attenuation(r) / 100);
        EXPECT_LE(longest.chopped(3).toDouble(), exact + 1e-9);
        EXPECT_GT(longest.chopped(3).toDouble(), exact - 0.01);
    }

    TRunBudgetPanel* panel = nullptr;
};

TEST_F(RunBudget, FollowsTheCurrentRowThePartNumbersChosenAndTheCurrency)
{
    SearchTwoFoamLines();
    ASSERT_EQ(results->tabAnalysis->indexOf(panel), 0);
    EXPECT_EQ(results->tabAnalysis->tabText(0), QStringLiteral("Run Budget"));
    EXPECT_TRUE(panel->isVisible());
    ExpectFigures(0, "USD", 1);
    EXPECT_EQ(panel->lblRunConnector1->text(), QStringLiteral("Connector #1  QXC-F050-4F"));
    EXPECT_EQ(panel->lblRunConnector1Price->text(), QStringLiteral("USD 44.00"));

    // Another part number at end #1: its price and the total follow.
    ClickRow(results->grdConnectors, 1);
    ASSERT_EQ(results->grdConnectors->currentIndex().row(), 1);
    EXPECT_EQ(panel->lblRunConnector1->text(), QStringLiteral("Connector #1  QXC-F050-4F-LP"));
    EXPECT_EQ(panel->lblRunConnector1Price->text(), QStringLiteral("USD 55.00"));
    ExpectFigures(0, "USD", 1);

    // Another connector type at end #2, then another of its part numbers.
    QListWidget* list = results->lstConnectors2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    ExpectFigures(0, "USD", 1);
    const QString before = panel->lblRunConnector2->text();
    ClickRow(results->grdConnectors2, results->Connectors2Model->rowCount() - 1);
    EXPECT_NE(panel->lblRunConnector2->text(), before);
    ExpectFigures(0, "USD", 1);

    // The next row: another line, its own connectors.
    QTest::keyClick(results->grdSpecs, Qt::Key_Down);
    ASSERT_EQ(results->grdSpecs->currentIndex().row(), 1);
    ExpectFigures(1, "USD", 1);
    EXPECT_NE(Line(1).ListPrice, Line(0).ListPrice);

    // Pounds at 1.5 US dollars: the cable and both parts in GBP.
    Action("GBP1")->trigger();
    ASSERT_TRUE(Cell(1, 12).startsWith(QStringLiteral("GBP ")));
    ExpectFigures(1, "GBP", 1.5);
    EXPECT_TRUE(panel->lblRunConnector1Price->text().startsWith(QStringLiteral("GBP ")));
    QTest::keyClick(results->grdSpecs, Qt::Key_Up);
    ExpectFigures(0, "GBP", 1.5);
}

TEST_F(RunBudget, ZeroLengthShowsNotApplicableAndTheLongestRunOnlyWithTheLossCriterion)
{
    SearchTwoFoamLines();
    QTest::mouseClick(results->btnNewQuery, Qt::LeftButton);
    query->chkInsertionLoss->setChecked(false);
    query->edtLength->setText(QStringLiteral("0"));
    Search();
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    ASSERT_EQ(Cell(0, 6), QStringLiteral("N/A"));

    EXPECT_EQ(panel->lblRunLength->text(), QStringLiteral("0 ft"));
    EXPECT_EQ(panel->lblRunMismatchLoss->text(), QStringLiteral("0.18 dB"));  // the load needs no length
    for (const QLabel* value : {panel->lblRunCableLoss, panel->lblRunSystemLoss, panel->lblRunPowerDelivered,
                                panel->lblRunCableCost, panel->lblRunTotal})
        EXPECT_EQ(value->text(), QStringLiteral("N/A")) << value->objectName().toStdString();
    EXPECT_EQ(panel->lblRunConnector1Price->text(), QStringLiteral("USD 44.00"));
    EXPECT_TRUE(panel->lblRunLongest->isHidden());
    EXPECT_TRUE(panel->lblRunLongestCaption->isHidden());
}

// Started with a part number and a second argument, the search lists that
// line and passes the criteria by: with the loss box ticked the panel still
// shows no longest run, which only the criterion's search would stand on.
TEST_F(RunBudget, PartNumberSearchShowsNoLongestRun)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open({QStringLiteral("QXF-050"), QStringLiteral("unused.qlx")});
    SetBand("824", "894");
    query->edtLength->setText(QStringLiteral("100"));
    query->chkInsertionLoss->setChecked(true);
    query->edtMaxLoss->setText(QStringLiteral("1"));  // QXF-050 loses more over 100 ft
    query->rbFeet->setChecked(true);
    Search();
    const QStringList listed = ResultPartNumbers();
    ASSERT_FALSE(listed.isEmpty());
    ASSERT_EQ(listed.count(QStringLiteral("QXF-050")), listed.size());  // its rows of every band
    ASSERT_NE(Cell(0, 6), QStringLiteral("N/A"));
    TRunBudgetPanel* panel = results->pnlRunBudget;
    EXPECT_EQ(panel->lblRunLength->text(), QStringLiteral("100 ft"));
    EXPECT_EQ(panel->lblRunCableLoss->text(), Cell(0, 6) + QStringLiteral(" dB"));
    EXPECT_TRUE(panel->lblRunLongest->isHidden());
    EXPECT_TRUE(panel->lblRunLongestCaption->isHidden());
}

// A part number the price list lacks has no price, and then the run has no total.
TEST_F(RunBudget, PartNumberWithoutAListPriceLeavesTheTotalOpen)
{
    install.WriteCatalogue({FixtureCatalogue()[0], CatalogueRow("806", "960", "QF-3", "FOAM", "N Female", "QF-2-C|QF-3-C")});
    install.WritePriceList({"TL|QF|QF-3|FT|Foam line|1.25|", "CN|QF|QF-2-C|EA|N Female for foam|12.00|"});
    install.WriteRates();
    install.RecordDataFolder();
    Open();
    SetBand("806", "960");
    query->edtLength->setText(QStringLiteral("100"));
    Search();
    ASSERT_EQ(ResultPartNumbers(), QStringList{"QF-3"});
    TRunBudgetPanel* panel = results->pnlRunBudget;
    EXPECT_EQ(panel->lblRunCableCost->text(), QStringLiteral("USD 125.00"));
    EXPECT_EQ(panel->lblRunConnector1->text(), QStringLiteral("Connector #1  QF-2-C"));
    EXPECT_EQ(panel->lblRunConnector2Price->text(), QStringLiteral("USD 12.00"));
    EXPECT_EQ(panel->lblRunTotal->text(), QStringLiteral("USD 149.00"));

    ClickRow(results->grdConnectors, 1);
    EXPECT_EQ(panel->lblRunConnector1->text(), QStringLiteral("Connector #1  QF-3-C"));
    EXPECT_EQ(panel->lblRunConnector1Price->text(), QLatin1String(kNoListPrice));
    EXPECT_EQ(panel->lblRunTotal->text(), QStringLiteral("N/A"));
}

}  // namespace
}  // namespace quillon
