// Failures of quillon-query that a script must not take for an answer: an
// answer that could not be written, files named but missing, data that
// prices silently wrong, errors that do not say where, and --check.

#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace quillon::tooltest {
namespace {

using namespace std::string_literals;

const std::string kGoodRow = CatalogueRow("806", "960", "T-050", "FOAM", "0.0745", "0.00024");
const std::string kPriceList = "TL|Q|T-050|FT|half inch foam|2.15|\r\nCN|Q|T-050-C1|EA|connector|12|\r\n";

class ToolFailures : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string catalogue = PathIn(dir, "cat.dat");
    std::string prices = PathIn(dir, "prices.dat");
    std::string rates = PathIn(dir, "rates.dat");

    QStringList Files(const std::string& catalogueText, const std::string& priceText,
                      const std::string& ratesText = "GBP|1.25|\r\n")
    {
        WriteBytes(catalogue, catalogueText);
        WriteBytes(prices, priceText);
        WriteBytes(rates, ratesText);
        return {"--catalogue", QString::fromStdString(catalogue), "--price-list", QString::fromStdString(prices),
                "--rates",     QString::fromStdString(rates)};
    }
};

// The tool run through the shell, so that its standard output can be a
// full device or closed.
ToolRun RunRedirected(const QStringList& arguments, const QString& redirection)
{
    return RunToolAt(QStringLiteral("/bin/sh"),
                     QStringList{"-c", "exec \"$0\" \"$@\" " + redirection, QStringLiteral(QUILLON_QUERY_TOOL)}
                         << arguments);
}

TEST_F(ToolFailures, AnAnswerThatCannotBeWrittenIsAnError)
{
    const QStringList query = Files(std::string(kCatalogueHeader) + kGoodRow, kPriceList) << "--band"
                                                                                          << "824"
                                                                                          << "894";
    ASSERT_EQ(RunTool(query).ExitCode, 0);
    const struct {
        const char* what;
        QString redirection;
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {"full disk", ">/dev/full", query, "No space left on device"},
        {"closed standard output", ">&-", query, "Bad file descriptor"},
        {"help to a full disk", ">/dev/full", {"--help"}, "No space left on device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.redirection.contains("/dev/full") && !QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
        const ToolRun run = RunRedirected(c.arguments, c.redirection);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err, "error: the answer could not be written to standard output: "s + c.reason + "\n");
    }
}

TEST_F(ToolFailures, RatesNamedButMissingAreAnError)
{
    QStringList args = Files(std::string(kCatalogueHeader) + kGoodRow, kPriceList) << "--band"
                                                                                   << "824"
                                                                                   << "894";
    const std::string missing = PathIn(dir, "no-rates.dat");
    args[args.indexOf("--rates") + 1] = QString::fromStdString(missing);
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "error: " + missing + ": no such file\n");
}

// The answer stays the window's; a warning says its prices cannot be trusted.
TEST_F(ToolFailures, DataThatPricesWrongGivesAWarning)
{
    const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow;
    const struct {
        const char* what;
        std::string priceText, ratesText;
        const char* currency;
        std::string warning;  // empty: none
        const char* price;
    } cases[] = {
        {"usable", kPriceList, "GBP|1.25|\r\n", "GBP", "", "GBP 1.72"},
        {"no rate for the currency", kPriceList, "EUR|1.1|\r\n", "GBP",
         "warning: " + rates + ": no rate for GBP; prices are shown unconverted\n", "GBP 2.15"},
        {"no rate needed for dollars", kPriceList, "EUR|1.1|\r\n", "USD", "", "USD 2.15"},
        {"no usable price entry", "TL|Q|T-050|FT|half inch foam|abc|\r\n|Q||FT|no part number|3|\r\n# T-050 2|\r\n",
         "GBP|1.25|\r\n", "USD",
         "warning: " + prices + ": no entry with a part number and a price; every price shows as 0\n", "USD 0.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ToolRun run = RunTool(Files(catalogueText, c.priceText, c.ratesText) << "--band"
                                                                                   << "824"
                                                                                   << "894"
                                                                                   << "--currency" << c.currency);
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_EQ(run.Err, c.warning);
        const auto rows = TsvRows(run.Out);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1][12], c.price);
    }
}

TEST_F(ToolFailures, AFillingErrorNamesCatalogueLineAndPartNumber)
{
    // The waveguide's cut-off lies above the band: its loss has no value there.
    const std::string catalogueText = std::string(kCatalogueHeader) + "\r\n" + kGoodRow +
                                      CatalogueRow("806", "960", "T-050", "FOAM", "0.0745", "0.00024", "N Female") +
                                      CatalogueRow("806", "960", "W-1", "EW", "1000", "2500");
    const ToolRun run = RunTool(Files(catalogueText, kPriceList) << "--band"
                                                                 << "824"
                                                                 << "894");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "error: " + catalogue + ":5: W-1: Invalid floating point operation\n");
    ASSERT_EQ(TsvRows(run.Out).size(), 3u);

    // The same line met by the loss criterion stops the search itself.
    const ToolRun search = RunTool(Files(catalogueText, kPriceList) << "--band"
                                                                    << "824"
                                                                    << "894"
                                                                    << "--max-loss"
                                                                    << "3"
                                                                    << "--length"
                                                                    << "100");
    EXPECT_EQ(search.ExitCode, 2);
    EXPECT_EQ(search.Err, "error: " + catalogue + ":5: W-1: Invalid floating point operation\n");
}

TEST_F(ToolFailures, BandTakesTwoNumbers)
{
    for (const QStringList& args : {QStringList{"--band", "824", "--length", "100"}, QStringList{"--band", "824"},
                                    QStringList{"--length", "100", "--band", "--feet", "824", "894"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = RunTool(DemoFileArgs() << args);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err,
                  "error: --band takes two numbers: --band BEGIN END\n"
                  "Try 'quillon-query --help' for more information.\n");
    }
}

TEST_F(ToolFailures, CheckListsEveryProblemOnce)
{
    const std::string catalogueText =
        std::string(kCatalogueHeader) + kGoodRow +
        CatalogueRow("806", "960", "T-078", "FOAM", "x", "0.00017") +      // 3: bad number
        CatalogueRow("806", "960", "T-114", "FOAM", "0.028", "0.00016") +  // 4: no price entry
        "806|960|1/2 in|T-114|FOAM|PE|1.5|0.028|0.00016|3|40|7-16 Male|1|y|1|1|T-114-C2|||||\r\n" +  // 5: bad figure
        CatalogueRow("806", "960", "W-1", "EW", "1000", "2500") +  // 6: cut-off above its band
        "\r\n";
    const std::string priceText =
        "# prices\r\n"
        "TL|Q|T-050|FT|half inch foam|2.15|\r\n"
        "TL|Q|T-078|FT|7/8 foam|abc|\r\n"             // 3
        "TL|Q|T-050|FT|half inch foam, again|2|\r\n"  // 4
        "CN|Q|T-050-C1|EA|connector|12|\r\n"
        "TL|Q|W-1|FT|waveguide|1e400|\r\n"  // 6
        "CN|Q|W-1-C1|EA|connector||\r\n";   // 7
    const std::string ratesText = "GBP|1.25|\r\nEUR|0|\r\nXYZ|2|\r\nGBP|1.3|\r\nJPY|abc|\r\n";
    const ToolRun run = RunTool(Files(catalogueText, priceText, ratesText) << "--check");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.ExitCode, 1);
    const std::string c = catalogue, p = prices, r = rates;
    EXPECT_EQ(run.Out, c + ":3: T-078: 'x' is not a valid floating point value\n" + c +
                           ":4: T-114: not in the price list " + p + "\n" + c +
                           ":4: connector part number T-114-C1: not in the price list " + p + "\n" + c +
                           ":5: T-114: 'y' is not a valid floating point value\n" + c +
                           ":6: W-1: Invalid floating point operation (loss over its own band)\n" + c +
                           ":6: connector part number W-1-C1: without a price\n" + p +
                           ":3: T-078: 'abc' is not a valid floating point value\n" + p +
                           ":4: T-050: already listed on line 2; this line is never used\n" + p +
                           ":6: W-1: '1e400' is beyond the range of a price\n" + p + ":7: W-1-C1: no price\n" + r +
                           ":2: EUR: Floating point division by zero\n" + r +
                           ":3: 'XYZ' is no currency of the menu; this line is never used\n" + r +
                           ":4: GBP: already listed on line 1; this line is never used\n" + r +
                           ":5: JPY: 'abc' is not a valid floating point value\n");

    // Clean files: nothing listed, exit 0; a missing catalogue is an error.
    const ToolRun clean = RunTool(Files(std::string(kCatalogueHeader) + kGoodRow, kPriceList) << "--check");
    EXPECT_EQ(clean.ExitCode, 0) << clean.Out;
    EXPECT_EQ(clean.Out + clean.Err, "");
    QFile::remove(QString::fromStdString(catalogue));
    const ToolRun missing = RunTool(QStringList{"--catalogue", QString::fromStdString(catalogue), "--price-list",
                                                QString::fromStdString(prices), "--check"});
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_EQ(missing.Err, "error: " + catalogue + ": no such file\n");
    // A query flag would be ignored: refused.
    EXPECT_EQ(RunTool({"--check", "--length", "5"}).ExitCode, 2);
}

TEST_F(ToolFailures, TheDemoDataChecksClean)
{
    const ToolRun run = RunTool(DemoFileArgs() << "--check");
    EXPECT_EQ(run.ExitCode, 0) << run.Out << run.Err;
}

}  // namespace
}  // namespace quillon::tooltest
