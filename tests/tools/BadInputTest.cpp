// Damaged catalogue, price list and rate files: clear errors naming file and
// line, the rows filled before a failure, and never a crash.

#include "tests/tools/ToolTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <random>

namespace quillon::tooltest {
namespace {

using namespace std::string_literals;

const std::string kGoodRow = CatalogueRow("806", "960", "T-050", "FOAM", "0.0745", "0.00024");
const std::string kPriceList = "# prices\r\nTL|Q|T-050|FT|half inch foam, PE|2.15|\r\n";

class BadInput : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string catalogue = PathIn(dir, "cat.dat");
    std::string prices = PathIn(dir, "prices.dat");
    std::string rates = PathIn(dir, "rates.dat");

    ToolRun Run(const std::string& catalogueText, const std::string& priceText, const QStringList& extra = {},
                const std::string& ratesText = "GBP|1.25|\r\n")
    {
        WriteBytes(catalogue, catalogueText);
        WriteBytes(prices, priceText);
        WriteBytes(rates, ratesText);
        QStringList args{"--catalogue", QString::fromStdString(catalogue), "--price-list",
                         QString::fromStdString(prices), "--rates", QString::fromStdString(rates)};
        if (!extra.contains("--part-number")) args << "--band" << "824" << "894";
        return RunTool(args << extra);
    }
};

TEST_F(BadInput, CatalogueErrorsNameFileAndLine)
{
    const std::string header = kCatalogueHeader;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {header + kGoodRow + CatalogueRow("806", "960", "T-078", "FOAM", "x", "0.00017"),
         ":3: 'x' is not a valid floating point value"},
        {"", ": List index out of bounds (0)"},
        {header, ":1: List index out of bounds (0)"},
        {header + "\r\n  \r\n", ":1: List index out of bounds (0)"},
        {header + "806 960 T-1 FOAM\r\n", ":2: '' is not a valid floating point value"},
        {header + "806|960|x|T-1|FOAM|\r\n", ":2: '' is not a valid floating point value"},
        // Not UTF-8, so Windows-1252: the text reaches the message as its characters.
        {header + "\xff\xfe|\x80|\r\n", ":2: '\xC3\xBF\xC3\xBE' is not a valid floating point value"},
    };
    for (const auto& [text, where] : cases) {
        SCOPED_TRACE(where);
        const ToolRun run = Run(text, kPriceList);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "error: " + catalogue + where + "\n");
    }

    // A NUL byte inside a number: the error names file and line; the engine's
    // message text ends at the NUL.
    const ToolRun nul = Run(header + kGoodRow + CatalogueRow("806", "960", "T-078", "FOAM", "0.07\0" "5"s, "0.1"), kPriceList);
    ASSERT_FALSE(nul.Crashed);
    EXPECT_EQ(nul.ExitCode, 2);
    EXPECT_EQ(nul.Out, "");
    EXPECT_EQ(nul.Err.rfind("error: " + catalogue + ":3: '0.07", 0), 0u) << nul.Err;
}

TEST_F(BadInput, BlankLinesLongLinesAndHighBytesStillList)
{
    const std::string longSize(2'000'000, 'L');
    const std::string longDescription(1'000'000, 'd');
    const std::string catalogueText = std::string(kCatalogueHeader) + "\r\n" + kGoodRow + "\n\n" +
                                      CatalogueRow("806", "960", "T-\xE9\0X"s, "BRAIDED", "0.2", "0.001") +
                                      "806|960|" + longSize + "|T-LONG|FOAM|PE|1.5|0.1|0.001|3|40|N Male|1|1|1|1||||||\r\n" +
                                      "\r\n";
    const std::string priceText = kPriceList + "TL|Q|T-LONG|FT|" + longDescription + "|1|\r\n" +
                                  "TL|Q|T-\xE9\0X|FT|C\xE2" "ble tress\xE9|0.5|\r\n"s;
    const ToolRun run = Run(catalogueText, priceText);
    ASSERT_FALSE(run.Crashed);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = TsvRows(run.Out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][0], "T-050");
    // Windows-1252 files, written out in UTF-8 as every format is.
    EXPECT_EQ(rows[2][0], "T-\xC3\xA9\0X"s);
    EXPECT_EQ(rows[2][2], "C\xC3\xA2" "ble tress\xC3\xA9");
    EXPECT_EQ(rows[3][2], longDescription);
}

// A file that is valid UTF-8 is read as UTF-8, any other as Windows-1252;
// the answer is UTF-8 either way, in every format.
TEST_F(BadInput, FilesInUtf8OrWindows1252ReadAlike)
{
    const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow;
    const struct {
        const char* what;
        std::string description;  // as the price list holds it
    } cases[] = {
        {"UTF-8", "C\xC3\xA2" "ble \xE2\x82\xAC 7/8"},
        {"UTF-8 behind a byte-order mark", "C\xC3\xA2" "ble \xE2\x82\xAC 7/8"},
        {"Windows-1252", "C\xE2" "ble \x80 7/8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string mark = std::string(c.what).find("mark") != std::string::npos ? "\xEF\xBB\xBF" : "";
        const std::string prices = mark + "TL|Q|T-050|FT|" + c.description + "|2|\r\n";
        for (const char* format : {"tsv", "csv", "json"}) {
            const ToolRun run = Run(catalogueText, prices, {"--format", format});
            ASSERT_EQ(run.ExitCode, 0) << run.Err;
            EXPECT_NE(run.Out.find("C\xC3\xA2" "ble \xE2\x82\xAC 7/8"), std::string::npos) << format << run.Out;
            EXPECT_EQ(run.Out.find("\xC3\x83"), std::string::npos) << format;  // no doubly encoded text
        }
    }
}

TEST_F(BadInput, JsonTurnsLatin1IntoUtf8AndEscapesEverything)
{
    const std::string nasty = "C\xE2" "ble \"7/8\"\\ tab\there \x01 end";
    const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow;
    const ToolRun run = Run(catalogueText, "TL|Q|T-050|FT|" + nasty + "|2|\r\n", {"--format", "json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.Out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.Out;
    const QJsonObject row = doc.array().at(0).toObject();
    EXPECT_EQ(row.value("Description").toString(), QString::fromLatin1(QByteArray::fromStdString(nasty)));
    EXPECT_EQ(row.value("List Price Per Foot (GBP)").toString(), "");  // not chosen
    EXPECT_EQ(row.value("List Price Per Foot (USD)").toString(), "USD 2.00");
}

TEST_F(BadInput, TabsInCellsCannotShiftTsvColumns)
{
    const ToolRun run = Run(std::string(kCatalogueHeader) + kGoodRow, "TL|Q|T-050|FT|a\tb, \"c\"|2|\r\n");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = TsvRows(run.Out);
    ASSERT_EQ(rows[1].size(), 14u);
    EXPECT_EQ(rows[1][2], "a b, \"c\"");
}

TEST_F(BadInput, PriceListOddLinesGiveDefaults)
{
    const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow +
                                      CatalogueRow("806", "960", "T-078", "FOAM", "0.0384", "0.00017") +
                                      CatalogueRow("806", "960", "T-114", "FOAM", "0.028", "0.00016");
    const std::string priceText = std::string("\r\n#TL|Q|T-050|FT|commented|9|\r\nTL|Q|T-050|FT|no price|abc|\r\n") +
                                  "TL|Q|T-078|FT|short" + "\r\n" + "TL|Q|T-114|FT|nul\0here|3|\r\n"s;
    const ToolRun run = Run(catalogueText, priceText);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = TsvRows(run.Out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][2], "no price");
    EXPECT_EQ(rows[1][12], "USD 0.00");
    EXPECT_EQ(rows[2][2], "");  // field 5 unterminated: no description, price 0
    EXPECT_EQ(rows[2][12], "USD 0.00");
    EXPECT_EQ(rows[3][2], "nul\0here"s);
    EXPECT_EQ(rows[3][12], "USD 3.00");
}

TEST_F(BadInput, ErrorsWhileFillingKeepTheRowsFilledBefore)
{
    // The second line is a waveguide whose cut-off lies above the query band:
    // its loss law has no value there, so the filling stops in its row after
    // the cells that need no formula.
    const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow +
                                      CatalogueRow("806", "960", "W-1", "EW", "1000", "2500");
    const ToolRun run = Run(catalogueText, kPriceList);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "error: " + catalogue + ":3: W-1: Invalid floating point operation\n");
    const auto rows = TsvRows(run.Out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "T-050");
    EXPECT_EQ(rows[1][13], "USD 7.05");
    EXPECT_EQ(rows[2][0], "W-1");
    EXPECT_EQ(rows[2][1], "806-960");
    EXPECT_EQ(rows[2][3], "859");
    for (std::size_t c = 4; c < 14; ++c) EXPECT_EQ(rows[2][c], "") << "column " << c + 1;
}

TEST_F(BadInput, BadRatesStopTheFillingAtThePrice)
{
    const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"GBP|abc|\r\n", "'abc' is not a valid floating point value\n"},
        {"GBP|\r\n", "'' is not a valid floating point value\n"},
        {"GBP|0|\r\n", "Floating point division by zero\n"},
        {"GBP|1\0" "5|\r\n"s, "'1"},  // the engine's text ends at the NUL
    };
    for (const auto& [ratesText, reason] : cases) {
        // The error names the catalogue line whose price it stopped at.
        const std::string err = "error: " + catalogue + ":2: T-050: " + reason;
        SCOPED_TRACE(err);
        const ToolRun run = Run(catalogueText, kPriceList, {"--currency", "GBP"}, ratesText);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err.rfind(err, 0), 0u) << run.Err;
        const auto rows = TsvRows(run.Out);
        ASSERT_EQ(rows.size(), 2u);
        ASSERT_EQ(rows[1].size(), 14u);
        // Cells 1-6 and 10-12 come before the price; 7-9 after it.
        for (std::size_t c : {0, 1, 2, 3, 4, 5, 9, 10, 11}) EXPECT_NE(rows[1][c], "") << "column " << c + 1;
        for (std::size_t c : {6, 7, 8, 12, 13}) EXPECT_EQ(rows[1][c], "") << "column " << c + 1;
    }
}

TEST_F(BadInput, RandomBytesNeverCrash)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> byte(0, 255);
    auto noise = [&](std::size_t n, const char* alphabet) {
        std::string text;
        const std::string letters = alphabet;
        for (std::size_t i = 0; i < n; ++i) {
            const int b = byte(random);
            text += letters.empty() ? static_cast<char>(b) : letters[static_cast<std::size_t>(b) % letters.size()];
        }
        return text;
    };
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        // Half the rounds draw from characters that make rows look almost right.
        const char* alphabet = round % 2 == 0 ? "" : "0123456789.|||\r\nE-+ ";
        const std::string catalogueText = std::string(kCatalogueHeader) + kGoodRow + noise(40'000, alphabet);
        const ToolRun run = Run(catalogueText, noise(40'000, alphabet), {"--no-band-criterion"}, noise(2'000, alphabet));
        ASSERT_FALSE(run.Crashed);
        EXPECT_TRUE(run.ExitCode == 0 || run.ExitCode == 1 || run.ExitCode == 2) << run.ExitCode;
        if (run.ExitCode != 0) {
            // Only the tool's own messages, never a runtime's report.
            const bool ours = run.Err.rfind("error: ", 0) == 0 || run.Err.rfind("information: ", 0) == 0 ||
                              run.Err.rfind("warning: ", 0) == 0;
            EXPECT_TRUE(ours) << run.Err.substr(0, 200);
        }
    }
}

}  // namespace
}  // namespace quillon::tooltest
