// The search through the window: its boxes in order with their beeps, the
// focus after the loss warning, the filters, the progress bar, a refused
// query, and errors in the selection and in the filling.

#include <algorithm>

#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>

#include "tests/ui/SearchFixture.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

const QString kInvalidFrequencies = QStringLiteral(
    "Information: One or both frequency values contain invalid values.\r\rPlease check your frequency values.");
const QString kBeginningAboveEnding =
    QStringLiteral("Information: The beginning frequency value cannot be greater than the ending frequency "
                   "value.\r\rPlease check your frequency values.");
const QString kLossWarning =
    QStringLiteral("Warning: You must enter a maximum insertion loss and a length\rwhen querying by insertion loss");
const QString kNoKind = QStringLiteral("Error: Please select a cable type.");
const QString kBeep = QStringLiteral("Beep");

struct MessageCase {
    const char* name;
    bool byFrequency;
    const char* beginning;
    const char* ending;
    bool byLoss;
    const char* maxLoss;
    const char* length;
    bool anyKind;
    QStringList calls;
    const char* focus;  // the focused control afterwards
    QStringList found;  // ResultLines afterwards
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class SearchMessages : public SearchWindow, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(SearchMessages, ShowInOrderWithTheirBeepsAndFocus)
{
    const MessageCase& c = GetParam();
    install.WriteAll();
    Open();
    query->chkFrequency->setChecked(c.byFrequency);
    query->chkInsertionLoss->setChecked(c.byLoss);
    SetBand(c.beginning, c.ending);
    query->edtMaxLoss->setText(QLatin1String(c.maxLoss));
    query->edtLength->setText(QLatin1String(c.length));
    SetKinds(c.anyKind, c.anyKind, c.anyKind, c.anyKind);
    install.fakes.messages.Clear();

    Search();
    EXPECT_EQ(CallLines(install.fakes.messages), c.calls);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focus));
    EXPECT_EQ(ResultPartNumbers(), c.found);
    EXPECT_EQ(window->CurrentPage(), c.found.isEmpty() ? TfrmMain::kQueryValuesPage : TfrmMain::kResultsPage);
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, SearchMessages,
    ::testing::Values(
        MessageCase{"not_a_number", true, "abc", "960", false, "0", "0", true, {kInvalidFrequencies, kBeep, kNoLines},
                    "edtVSWR", {}},
        MessageCase{"beginning_above_ending", true, "960", "800", false, "0", "0", true,
                    {kBeginningAboveEnding, kBeep, kNoLines}, "edtVSWR", {}},
        // Equal ends pass; the band must cover that one frequency.
        MessageCase{"equal_ends", true, "900", "900", false, "0", "0", true, {}, "grdSpecs", {"QF-2", "QF-3"}},
        MessageCase{"loss_and_length_zero", true, "806", "960", true, "0", "0", true, {kBeep, kLossWarning},
                    "edtLength", {}},
        MessageCase{"max_loss_zero", true, "806", "960", true, "0", "100", true, {kBeep, kLossWarning}, "edtMaxLoss",
                    {}},
        MessageCase{"length_zero", true, "806", "960", true, "3", "0", true, {kBeep, kLossWarning}, "edtLength", {}},
        // Only the text "0" is refused; 0.0 then selects no line of positive loss.
        MessageCase{"max_loss_0.0", true, "806", "960", true, "0.0", "100", true, {kBeep, kNoLines}, "edtVSWR", {}},
        MessageCase{"no_cable_type", true, "806", "960", false, "0", "0", false, {kBeep, kNoKind}, "edtVSWR", {}},
        // Every check runs; the loss warning and the cable-type error suppress the no-lines message.
        MessageCase{"every_check_fails", true, "x", "1", true, "0", "0", false,
                    {kInvalidFrequencies, kBeep, kLossWarning, kBeep, kNoKind}, "edtLength", {}},
        MessageCase{"nothing_in_the_band", true, "100", "200", false, "0", "0", true, {kBeep, kNoLines}, "edtVSWR",
                    {}},
        // Without the band criterion the texts are still read, and a bad one ends the search.
        MessageCase{"unchecked_band_not_a_number", false, "abc", "960", false, "0", "0", true,
                    {QStringLiteral("Error: 'abc' is not a valid floating point value")}, "edtVSWR", {}}),
    [](const ::testing::TestParamInfo<MessageCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '.') ch = '_';
        return name;
    });

TEST_F(SearchWindow, EmptyEntryBoxesReadZeroAfterTheSearch)
{
    install.WriteAll();
    Open();
    SetBand("806", "960");
    query->edtLength->setText(QString());
    query->edtMaxLoss->setText(QString());
    query->edtVSWR->setText(QString());
    Search();
    EXPECT_EQ(query->edtLength->text(), QStringLiteral("0"));
    EXPECT_EQ(query->edtMaxLoss->text(), QStringLiteral("0"));
    EXPECT_EQ(query->edtVSWR->text(), QStringLiteral("0"));
    EXPECT_EQ(CallLines(install.fakes.messages), QStringList());
    ASSERT_EQ(ResultPartNumbers(), (QStringList{"QF-2", "QF-3"}));
    EXPECT_EQ(Cell(0, 6), QStringLiteral("N/A"));  // length 0
    EXPECT_EQ(Cell(0, 11), QStringLiteral("0.00"));  // VSWR 0
}

TEST_F(SearchWindow, ARefusedQueryLeavesTheResultsAndThePage)
{
    install.WriteAll();
    Open();
    SetBand("806", "960");
    Search();
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    const QStringList shown = Column(0);
    ASSERT_EQ(shown, (QStringList{"QF-2", "QF-3"}));

    // From the results page: a query the checks refuse...
    SetBand("960", "806");
    window->Menu.GetTransmissionLines1->trigger();
    EXPECT_EQ(CallLines(install.fakes.messages), (QStringList{kBeginningAboveEnding, kBeep, kNoLines}));
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    EXPECT_EQ(ResultPartNumbers(), shown);
    EXPECT_EQ(Column(0), shown);

    // ...and one whose selection stops on a bad number leave everything as it was.
    install.fakes.messages.Clear();
    query->chkFrequency->setChecked(false);
    SetBand("806", "");
    window->Menu.GetTransmissionLines1->trigger();
    EXPECT_EQ(CallLines(install.fakes.messages), (QStringList{"Error: '' is not a valid floating point value"}));
    EXPECT_EQ(ResultPartNumbers(), shown);
    EXPECT_EQ(Column(0), shown);

    // A query that runs and finds nothing empties the result but leaves the grid and the page.
    install.fakes.messages.Clear();
    query->chkFrequency->setChecked(true);
    SetBand("100", "200");
    window->Menu.GetTransmissionLines1->trigger();
    EXPECT_EQ(CallLines(install.fakes.messages), (QStringList{kBeep, kNoLines}));
    EXPECT_TRUE(window->Session().ResultLines().empty());
    EXPECT_EQ(Column(0), shown);
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    // A click on such a row finds no line behind it: the connector panels empty.
    QTest::mouseClick(results->grdSpecs->viewport(), Qt::LeftButton, {},
                      results->grdSpecs->visualRect(results->SpecsModel->index(1, 0)).center());
    EXPECT_EQ(results->lstConnectors->count(), 0);
    EXPECT_EQ(results->ConnectorsModel->rowCount(), 0);
}

// ---- filters on the demo data

const QStringList kBand824To894 = {"QXF-10LL", "QXF-050", "QXF-078",  "QXF-114", "QXF-158", "QXA-050",
                                   "QXA-078",  "QXA-158", "QXA-300",  "QXB-030", "QXB-050", "QXB-050D",
                                   "QXF-025",  "QXF-038", "QXF-050S", "QXF-214"};

struct FilterCase {
    const char* name;
    bool air, foam, waveguide, braided;
    const char* connector1;  // nullptr: criterion off
    const char* connector2;
    QStringList found;  // in catalogue order
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }

class Filters : public SearchWindow, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(Filters, SelectInCatalogueOrder)
{
    const FilterCase& c = GetParam();
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SetBand("824", "894");
    SetKinds(c.air, c.foam, c.waveguide, c.braided);
    query->chkConnector->setChecked(c.connector1 != nullptr);
    if (c.connector1 != nullptr) query->cbxConnector->setCurrentText(QLatin1String(c.connector1));
    query->chkConnector2->setChecked(c.connector2 != nullptr);
    if (c.connector2 != nullptr) query->cbxConnector2->setCurrentText(QLatin1String(c.connector2));
    Search();
    const QStringList calls = c.found.isEmpty() ? QStringList{kBeep, kNoLines} : QStringList();
    EXPECT_EQ(CallLines(install.fakes.messages), calls);
    EXPECT_EQ(ResultPartNumbers(), c.found);
    if (!c.found.isEmpty()) {
        EXPECT_EQ(Column(0), c.found);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Demo, Filters,
    ::testing::Values(
        FilterCase{"band_only", true, true, true, true, nullptr, nullptr, kBand824To894},
        FilterCase{"foam", false, true, false, false, nullptr, nullptr,
                   {"QXF-10LL", "QXF-050", "QXF-078", "QXF-114", "QXF-158", "QXF-025", "QXF-038", "QXF-050S",
                    "QXF-214"}},
        FilterCase{"air_or_braided", true, false, false, true, nullptr, nullptr,
                   {"QXA-050", "QXA-078", "QXA-158", "QXA-300", "QXB-030", "QXB-050", "QXB-050D"}},
        FilterCase{"waveguide", false, false, true, false, nullptr, nullptr, {}},
        FilterCase{"connector_1", true, true, true, true, "4.3-10 Female", nullptr, {"QXF-050", "QXF-050S"}},
        FilterCase{"both_connectors", true, true, true, true, "4.3-10 Female", "TNC Male", {"QXF-050"}},
        FilterCase{"connector_2_and_kind", false, false, false, true, nullptr, "SMA Male",
                   {"QXB-030", "QXB-050", "QXB-050D"}}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

// The loss criterion keeps exactly the lines whose cable loss over the length
// stays within the maximum: over 100 ft that is the attenuation per 100 ft the
// grid shows, over 100 m that times 3.2808.
TEST_F(SearchWindow, LossFilterKeepsTheLinesWithinTheMaximum)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SetBand("824", "894");
    query->edtLength->setText(QStringLiteral("100"));
    Search();
    ASSERT_EQ(ResultPartNumbers(), kBand824To894);
    std::vector<double> per100ft;
    for (const QString& cell : Column(4)) per100ft.push_back(cell.toDouble());

    for (bool meters : {false, true}) {
        SCOPED_TRACE(meters ? "Meters" : "Feet");
        const double factor = meters ? 3.2808 : 1.0;
        // A maximum half-way between two lines' losses, so rounding in the grid cannot matter.
        std::vector<double> losses;
        for (double a : per100ft) losses.push_back(a * factor);
        std::vector<double> sorted = losses;
        std::sort(sorted.begin(), sorted.end());
        const double maximum = (sorted[5] + sorted[6]) / 2;
        ASSERT_GT(sorted[6] - sorted[5], 0.02 * factor);
        QStringList expected;
        for (std::size_t i = 0; i < losses.size(); ++i)
            if (losses[i] <= maximum) expected << kBand824To894[static_cast<qsizetype>(i)];

        window->btnNewQueryClick();
        query->chkInsertionLoss->setChecked(true);
        query->edtMaxLoss->setText(QString::number(maximum, 'f', 4));
        (meters ? query->rbMeters : query->rbFeet)->setChecked(true);
        install.fakes.messages.Clear();
        Search();
        EXPECT_EQ(CallLines(install.fakes.messages), QStringList());
        EXPECT_EQ(ResultPartNumbers(), expected);
        EXPECT_EQ(expected.size(), 6);
    }
}

TEST_F(SearchWindow, ProgressBarFollowsThePriceLookupAndGoesBackToZero)
{
    install.WriteDemoData({"GBP|1.5|"});
    Open();
    SetBand("824", "894");
    QSignalSpy progress(query->ProgressBar1, &QProgressBar::valueChanged);
    Search();
    QList<int> values;
    for (const QList<QVariant>& signal : progress) values << signal.at(0).toInt();
    QList<int> expected;
    for (int i = 1; i <= 16; ++i) expected << i;
    expected << 0;
    EXPECT_EQ(values, expected);
    EXPECT_EQ(query->ProgressBar1->maximum(), 16);
    EXPECT_EQ(query->ProgressBar1->value(), 0);
    // The lookup filled in descriptions and prices.
    EXPECT_EQ(Cell(1, 2), QStringLiteral("1/2 in foam coax, 50 ohm, PE jacket"));
    EXPECT_EQ(Cell(1, 12), QStringLiteral("USD 2.15"));
}

// A bad exchange rate stops the filling at the first price: the cells before
// it stay, the error box says why, and the results page does not come up.
TEST_F(SearchWindow, AnErrorWhileFillingKeepsTheFilledCellsAndThePage)
{
    const struct {
        const char* rate;
        const char* error;
    } cases[] = {{"GBP|abc|", "Error: 'abc' is not a valid floating point value"},
                 {"GBP|0|", "Error: Floating point division by zero"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        install.WriteAll();
        install.WriteRates({c.rate});
        {
            SettingsStore store(install.SettingsFile());
            ASSERT_TRUE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Quillon\\Settings"), true));
            ASSERT_TRUE(store.WriteInteger(QStringLiteral("Currency"), 20));  // GBP
        }
        Open();
        SetBand("806", "960");
        Search();
        EXPECT_EQ(CallLines(install.fakes.messages), QStringList{QLatin1String(c.error)});
        EXPECT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
        EXPECT_EQ(ResultPartNumbers(), (QStringList{"QF-2", "QF-3"}));
        ASSERT_EQ(results->SpecsModel->rowCount(), 2);
        EXPECT_EQ(Cell(0, 0), QStringLiteral("QF-2"));
        EXPECT_EQ(Cell(0, 2), QStringLiteral("Foam line"));
        EXPECT_EQ(Cell(0, 3), QStringLiteral("883"));
        EXPECT_FALSE(Cell(0, 11).isEmpty());
        EXPECT_TRUE(Cell(0, 12).isEmpty());
        EXPECT_TRUE(Cell(0, 6).isEmpty());  // the loss columns come after the prices
        for (int column = 0; column < kResultColumns; ++column) EXPECT_TRUE(Cell(1, column).isEmpty()) << column;
        EXPECT_TRUE(Action("GBP1")->isChecked());
    }
}

// With exactly one argument the rows are the command-line filling: the line's
// own band, the length and unit of the argument, US-dollar prices.
class CommandLineRows : public SearchWindow, public ::testing::WithParamInterface<const char*> {};

TEST_P(CommandLineRows, FillFromTheArgument)
{
    const char* argument = GetParam();
    const QStringList bands = {"1.5-30", "136-174", "406-512", "806-960", "1700-2200", "2300-2700", "3300-3800"};
    install.WriteDemoData({"GBP|1.5|"});
    Open({QLatin1String(argument)});
    // Set up as the command line sets the query page up.
    window->Session().SetCommandLinePartNumber(argument);
    query->chkFrequency->setChecked(false);
    query->edtVSWR->setText(QStringLiteral("3"));
    Action("GBP1")->trigger();
    install.fakes.messages.Clear();
    Search();
    EXPECT_EQ(CallLines(install.fakes.messages), QStringList());
    ASSERT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    EXPECT_EQ(Column(0), QStringList(bands.size(), QStringLiteral("QXF-050")));
    EXPECT_EQ(Column(1), bands);
    EXPECT_EQ(Cell(3, 12), QStringLiteral("$2.15"));
    EXPECT_EQ(Cell(3, 13), QStringLiteral("$7.05"));  // 2.15 x 3.2808 = 7.05372
    EXPECT_EQ(Heading(12), QStringLiteral("List Price Per Foot ($US)"));
    const bool withLength = QByteArray(argument).contains('|');
    for (int column = 3; column <= 11; ++column)
        EXPECT_EQ(results->grdSpecs->isColumnHidden(column), !withLength) << column;
    EXPECT_EQ(Cell(3, 3), withLength ? QStringLiteral("883") : QString());
    EXPECT_EQ(Cell(3, 6).isEmpty(), !withLength);
}

INSTANTIATE_TEST_SUITE_P(Demo, CommandLineRows, ::testing::Values("QXF-050|100|M", "QXF-050"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(QByteArray(info.param).contains('|') ? "with_length" : "part_number");
                         });

}  // namespace
}  // namespace quillon
