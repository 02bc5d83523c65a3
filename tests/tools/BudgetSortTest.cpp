// --budget, --sort and --descending: the run-budget columns on the demo data,
// checked against figures worked here from the files with the loss laws, and
// the rows ordered by any heading with N/A and empty cells last.

#include "tests/tools/ToolTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quillon::tooltest {
namespace {

constexpr double kFeetPerMetre = 3.2808;
const std::vector<std::string> kBudgetHeadings = {"Mismatch Loss (dB)", "System Loss (dB)", "Power Delivered (%)"};

const DemoLine& LineOf(const std::string& partNumber, const std::string& band)
{
    static const std::vector<DemoLine> lines = DemoLines();
    for (const DemoLine& line : lines) {
        char text[64];
        std::snprintf(text, sizeof text, "%g-%g", line.Begin, line.End);
        if (line.PartNumber == partNumber && band == text) return line;
    }
    throw std::runtime_error("no demo line " + partNumber + " " + band);
}

double DemoRate(const std::string& code)
{
    for (const std::string& line : Lines(ReadBytes(DemoFile("xcngrate.dat")))) {
        const std::vector<std::string> f = PipeFields(line);
        if (f.size() >= 2 && f[0] == code) return std::stod(f[1]);
    }
    throw std::runtime_error("no rate for " + code);
}

std::vector<std::string> Column(const std::vector<std::vector<std::string>>& rows, std::size_t column)
{
    std::vector<std::string> cells;
    for (std::size_t r = 1; r < rows.size(); ++r) cells.push_back(rows[r].at(column));
    return cells;
}

// The query band 824-894 MHz (mid-band 859) over 500 ft into a load of VSWR
// 1.5: G = 0.2, mismatch loss -10 log10(0.96) = 0.1773 dB; the connectors'
// allowance 0.1 sqrt(0.859) dB; the longest run within 6 dB is 6 / (a / 100) ft.
TEST(ToolBudget, ColumnsOnTheDemoDataInUsDollars)
{
    const ToolRun run = RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--length" << "500" << "--vswr"
                                               << "1.5" << "--max-loss" << "6" << "--budget");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const auto rows = TsvRows(run.Out);
    ASSERT_GT(rows.size(), 3u);
    ASSERT_EQ(rows[0].size(), 19u);
    EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 14, rows[0].begin() + 17), kBudgetHeadings);
    EXPECT_EQ(rows[0][17], "Cable Cost (USD)");
    EXPECT_EQ(rows[0][18], "Longest Run (ft)");

    const double f = 859;
    const double mismatch = -10 * std::log10(1 - 0.2 * 0.2);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& row = rows[r];
        SCOPED_TRACE(row[0]);
        ASSERT_EQ(row.size(), 19u);
        const DemoLine& line = LineOf(row[0], row[1]);
        const double a = DemoAttenuation(line, f);
        const double system = a / 100 * 500 + 0.1 * std::sqrt(f / 1000) + mismatch;
        EXPECT_EQ(row[14], "0.18");
        EXPECT_EQ(row[15], Fixed2(system));
        EXPECT_EQ(row[16], Fixed2(std::pow(10.0, -system / 10) * 100));
        EXPECT_EQ(row[17], "USD " + Fixed2(DemoPrice(line.PartNumber) * 500));
        // The longest run shown is the whole hundredth at or just below the exact one.
        const double longest = 6 / (a / 100);
        EXPECT_LE(std::stod(row[18]), longest + 1e-9);
        EXPECT_GT(std::stod(row[18]), longest - 0.01);
    }
    // The fourteen columns are what they are without --budget.
    const ToolRun plain = RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--length" << "500" << "--vswr"
                                                 << "1.5" << "--max-loss" << "6");
    const auto plainRows = TsvRows(plain.Out);
    ASSERT_EQ(plainRows.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(plainRows[r], std::vector<std::string>(rows[r].begin(), rows[r].begin() + 14));
}

TEST(ToolBudget, ConvertedCurrencyMetresZeroLengthAndThePartNumberForm)
{
    // 100 m = 328.08 ft of cable at the list price converted as the price cells are.
    const double rate = DemoRate("GBP");
    const ToolRun gbp = RunTool(DemoFileArgs() << "--band" << "1850" << "1990" << "--length" << "100" << "--meters"
                                               << "--currency" << "GBP" << "--budget");
    ASSERT_EQ(gbp.ExitCode, 0) << gbp.Err;
    const auto rows = TsvRows(gbp.Out);
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ(rows[0][17], "Cable Cost (GBP)");
    EXPECT_EQ(rows[0][18], "Longest Run (m)");
    for (std::size_t r = 1; r < rows.size(); ++r) {
        SCOPED_TRACE(rows[r][0]);
        EXPECT_EQ(rows[r][14], "0.01");  // the default VSWR 1.1: 0.0099 dB
        EXPECT_EQ(rows[r][17], "GBP " + Fixed2(DemoPrice(rows[r][0]) / rate * 100 * kFeetPerMetre));
        EXPECT_EQ(rows[r][18], "N/A");  // no maximum loss given
    }

    // A zero length: "N/A" where the results show it; the mismatch needs no length.
    const ToolRun zero = RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--budget" << "--format" << "json");
    ASSERT_EQ(zero.ExitCode, 0) << zero.Err;
    const QJsonArray objects = QJsonDocument::fromJson(QByteArray::fromStdString(zero.Out)).array();
    ASSERT_FALSE(objects.isEmpty());
    const QJsonObject first = objects.first().toObject();
    EXPECT_EQ(first.value("Total Attenuation (dB)").toString(), "N/A");
    EXPECT_EQ(first.value("Mismatch Loss (dB)").toString(), "0.01");
    for (const char* key : {"System Loss (dB)", "Power Delivered (%)", "Cable Cost (USD)", "Longest Run (ft)"})
        EXPECT_EQ(first.value(key).toString(), "N/A") << key;

    // The part-number form prices in US dollars with "$", over the line's own band.
    const ToolRun pn = RunTool(DemoFileArgs() << "--part-number" << "QXF-158|100|M" << "--budget");
    ASSERT_EQ(pn.ExitCode, 0) << pn.Err;
    const auto pnRows = TsvRows(pn.Out);
    ASSERT_GT(pnRows.size(), 1u);
    EXPECT_EQ(pnRows[0][17], "Cable Cost ($US)");
    EXPECT_EQ(pnRows[0][18], "Longest Run (m)");
    EXPECT_EQ(pnRows[1][17], "$" + Fixed2(DemoPrice("QXF-158") * 100 * kFeetPerMetre));

    // Without a length the computed columns are hidden, and the budget's stay empty.
    const ToolRun bare = RunTool(DemoFileArgs() << "--part-number" << "QXF-158" << "--budget");
    const auto bareRows = TsvRows(bare.Out);
    ASSERT_GT(bareRows.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(bareRows[1].begin() + 14, bareRows[1].end()), std::vector<std::string>(5));
}

// Five lines over 800-1000 MHz. QT-1 and QT-3 lose alike, so their longest
// runs tie; QT-2 and QT-5 have no loss that grows with the length (their
// attenuation is negative there), so no longest run; QT-5 is missing from the
// price list (empty description, a price of 0.00); QT-2 and QT-4 cost alike.
class ToolSort : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(PathIn(dir, "cat.dat"),
                   std::string(kCatalogueHeader) + CatalogueRow("800", "1000", "QT-1", "FOAM", "0.05", "0.0002") +
                       CatalogueRow("800", "1000", "QT-2", "FOAM", "0.05", "-0.01") +
                       CatalogueRow("800", "1000", "QT-3", "FOAM", "0.05", "0.0002") +
                       CatalogueRow("800", "1000", "QT-4", "FOAM", "0.03", "0.0001") +
                       CatalogueRow("800", "1000", "QT-5", "FOAM", "0.05", "-0.01"));
        WriteBytes(PathIn(dir, "prices.dat"), "TL|QT|QT-1|FT|Foam one|3.00|\r\nTL|QT|QT-2|FT|foam two|1.00|\r\n"
                                              "TL|QT|QT-3|FT|Foam three|2.00|\r\nTL|QT|QT-4|FT|alpha|1.00|\r\n");
        WriteBytes(PathIn(dir, "rates.dat"), "");
    }
    ToolRun Run(const QStringList& extra) const
    {
        QStringList args{"--catalogue",  dir.filePath("cat.dat"), "--price-list", dir.filePath("prices.dat"),
                         "--rates",      dir.filePath("rates.dat"), "--band",     "824",
                         "894",          "--length",               "100",        "--max-loss",
                         "3",            "--budget"};
        return RunTool(args << extra);
    }
    std::vector<std::string> PartNumbers(const QStringList& extra) const
    {
        const ToolRun run = Run(extra);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return Column(TsvRows(run.Out), 0);
    }
    QTemporaryDir dir;
};

TEST_F(ToolSort, AnyHeadingAscendingOrDescendingWithNotApplicableAndEmptyLastAndTiesInCatalogueOrder)
{
    using PNs = std::vector<std::string>;
    ASSERT_EQ(PartNumbers({}), (PNs{"QT-1", "QT-2", "QT-3", "QT-4", "QT-5"}));
    const auto longest = TsvRows(Run({}).Out);
    ASSERT_EQ(Column(longest, 18)[1], "N/A");
    ASSERT_EQ(Column(longest, 18)[0], Column(longest, 18)[2]);
    ASSERT_EQ(Column(longest, 2)[4], "");

    const struct {
        const char* column;
        PNs ascending, descending;
    } cases[] = {
        {"Longest Run (ft)", {"QT-1", "QT-3", "QT-4", "QT-2", "QT-5"}, {"QT-4", "QT-1", "QT-3", "QT-2", "QT-5"}},
        {"Description", {"QT-4", "QT-1", "QT-3", "QT-2", "QT-5"}, {"QT-2", "QT-3", "QT-1", "QT-4", "QT-5"}},
        {"List Price Per Foot (USD)", {"QT-5", "QT-2", "QT-4", "QT-3", "QT-1"}, {"QT-1", "QT-3", "QT-2", "QT-4", "QT-5"}},
        {"Cable Cost (USD)", {"QT-5", "QT-2", "QT-4", "QT-3", "QT-1"}, {"QT-1", "QT-3", "QT-2", "QT-4", "QT-5"}},
        {"Part Number", {"QT-1", "QT-2", "QT-3", "QT-4", "QT-5"}, {"QT-5", "QT-4", "QT-3", "QT-2", "QT-1"}},
        // Letter case aside, when no heading is spelled exactly so.
        {"longest run (FT)", {"QT-1", "QT-3", "QT-4", "QT-2", "QT-5"}, {"QT-4", "QT-1", "QT-3", "QT-2", "QT-5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(PartNumbers({"--sort", c.column}), c.ascending);
        EXPECT_EQ(PartNumbers({"--sort", c.column, "--descending"}), c.descending);
    }

    // Sorting moves whole rows: the sorted table holds the same rows.
    auto unsorted = TsvRows(Run({}).Out);
    auto sorted = TsvRows(Run({"--sort", "Longest Run (ft)", "--descending", "--format", "tsv"}).Out);
    ASSERT_EQ(sorted.size(), unsorted.size());
    EXPECT_EQ(sorted[0], unsorted[0]);
    std::sort(unsorted.begin() + 1, unsorted.end());
    std::sort(sorted.begin() + 1, sorted.end());
    EXPECT_EQ(sorted, unsorted);

    // CSV and JSON come out in the same order.
    const ToolRun csv = Run({"--sort", "Description", "--format", "csv"});
    EXPECT_EQ(csv.Out.find("\r\nQT-4,"), csv.Out.find("\r\n"));
    const QJsonArray json =
        QJsonDocument::fromJson(QByteArray::fromStdString(Run({"--sort", "Description", "--format", "json"}).Out))
            .array();
    ASSERT_EQ(json.size(), 5);
    EXPECT_EQ(json.last().toObject().value("Part Number").toString(), "QT-5");
}

TEST_F(ToolSort, UnknownColumnIsAUsageErrorNamingIt)
{
    for (const char* column : {"Cable Cost (GBP)", "Longest", ""}) {
        SCOPED_TRACE(column);
        const ToolRun run = Run({"--sort", column});
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, std::string("error: --sort: no column is headed '") + column +
                               "'\nTry 'quillon-query --help' for more information.\n");
    }
    // The budget's headings are there only with --budget.
    const ToolRun noBudget = RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--sort" << "Cable Cost (USD)");
    EXPECT_EQ(noBudget.ExitCode, 2);
    EXPECT_NE(noBudget.Err.find("'Cable Cost (USD)'"), std::string::npos);

    const ToolRun descending = Run({"--descending"});
    EXPECT_EQ(descending.ExitCode, 2);
    EXPECT_EQ(descending.Out, "");
    EXPECT_EQ(descending.Err.rfind("error: --descending needs --sort\n", 0), 0u) << descending.Err;
}

}  // namespace
}  // namespace quillon::tooltest
