// The tool's functions called directly: argument reading, the query page it
// builds, and the text of tables and messages.

#include "tools/QueryArguments.h"
#include "tools/QueryRun.h"
#include "tools/TableText.h"

#include "engine/Catalogue.h"
#include "engine/QueryPageRules.h"

#include <gtest/gtest.h>

namespace quillon::tool {
namespace {

ParsedArguments Parse(QStringList args)
{
    args.prepend("quillon-query");
    return ParseToolArguments(args);
}

TEST(ToolArguments, BandTakesTwoValuesInEveryWrittenForm)
{
    for (const QStringList& args : {QStringList{"--band", "824", "894"}, QStringList{"--band", "824,894"},
                                    QStringList{"--band=824,894"}, QStringList{"--length", "5", "--band", "824", "894", "--feet"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ParsedArguments parsed = Parse(args);
        ASSERT_TRUE(parsed.Options) << parsed.Error;
        EXPECT_EQ(parsed.Options->BandBeginning, "824");
        EXPECT_EQ(parsed.Options->BandEnding, "894");
    }
    // Values are taken as they stand, even ones that look like options or are not numbers.
    const ParsedArguments odd = Parse({"--band", "-5", "abc"});
    ASSERT_TRUE(odd.Options) << odd.Error;
    EXPECT_EQ(odd.Options->BandBeginning, "-5");
    EXPECT_EQ(odd.Options->BandEnding, "abc");
}

TEST(ToolArguments, ValuesAreReadIntoOptions)
{
    const ParsedArguments parsed =
        Parse({"--kinds", "Foam, EW", "--currency", "gbp", "--format", "JSON", "--meters", "--vswr", "1.5",
               "--connector1", "N Female", "--max-loss", "3", "--length", "", "--query", "q.qlx"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    const ToolOptions& o = *parsed.Options;
    ASSERT_TRUE(o.Kinds);
    EXPECT_FALSE(o.Kinds->Air);
    EXPECT_TRUE(o.Kinds->Foam);
    EXPECT_TRUE(o.Kinds->Waveguide);
    EXPECT_FALSE(o.Kinds->Braided);
    EXPECT_EQ(o.CurrencyTag, 20);  // Pounds Sterling
    EXPECT_EQ(o.Format, OutputFormat::Json);
    EXPECT_EQ(o.Meters, true);
    EXPECT_EQ(o.Vswr, "1.5");
    EXPECT_EQ(o.Connector1, "N Female");
    EXPECT_FALSE(o.Connector2);
    EXPECT_EQ(o.MaxLoss, "3");
    EXPECT_EQ(o.Length, "");  // an empty box: the search makes it "0"
    EXPECT_EQ(o.QueryFile, "q.qlx");
    EXPECT_FALSE(o.PartNumber);

    // Non-ASCII query texts reach the engine as Latin-1, the catalogue's encoding.
    const ParsedArguments latin = Parse({"--part-number", QString::fromUtf8("C\u00e2ble")});
    ASSERT_TRUE(latin.Options);
    EXPECT_EQ(*latin.Options->PartNumber, "C\xE2" "ble");
}

TEST(ToolArguments, HelpIsNoError)
{
    const ParsedArguments parsed = Parse({"--help"});
    EXPECT_TRUE(parsed.ShowHelp);
    EXPECT_NE(parsed.HelpText.find("--part-number"), std::string::npos);
    EXPECT_NE(parsed.HelpText.find("--band <BEGIN END>"), std::string::npos);
}

Catalogue SmallCatalogue()
{
    Catalogue catalogue;
    BuildCatalogue({"header",
                    "806|960|x|P-1|FOAM|PE|1|0.1|0.001|3|40|N Female|1|1|1|1|P-1-C||||||",
                    "450|470|x|P-2|AIR|PE|1|0.1|0.001|3|40|7-16 DIN Male|1|1|1|1|P-2-C||||||"},
                   catalogue);
    return catalogue;
}

TEST(ToolQueryPage, FreshPageSelectsTheFirstEntriesWithQueryByFrequencyOn)
{
    const Catalogue catalogue = SmallCatalogue();
    std::vector<Message> messages;
    const QueryPage page = QueryPageFor(ToolOptions{}, catalogue, {}, messages);
    EXPECT_TRUE(page.ByFrequency);
    EXPECT_EQ(page.BeginningFrequency, "450");
    EXPECT_EQ(page.EndingFrequency, "470");
    EXPECT_EQ(page.Connector1, "7-16 DIN Male");
    EXPECT_FALSE(page.ByConnector1);
    EXPECT_FALSE(page.ByLoss);
    EXPECT_FALSE(page.Meters);
    EXPECT_EQ(page.Length, "0");
    EXPECT_EQ(page.Vswr, "1.1");
    EXPECT_TRUE(page.Air && page.Foam && page.Waveguide && page.Braided);
    EXPECT_TRUE(messages.empty());
}

TEST(ToolQueryPage, FlagsOverrideTheQueryFileWithThePagesClickRules)
{
    const Catalogue catalogue = SmallCatalogue();
    const std::vector<std::string> file = {"[data]", "ByFreq=True", "ByLoss=True", "MaxLoss=2", "Length=100",
                                           "Units=F", "Air=True", "C1=N Female", "ByC1=True"};
    struct Case {
        const char* name;
        ToolOptions options;
        bool byFrequency, byLoss;
    };
    ToolOptions noBand;
    noBand.NoBandCriterion = true;
    ToolOptions maxLoss;
    maxLoss.MaxLoss = "4";
    for (Case c : {Case{"file alone", {}, true, true}, Case{"no band clears loss", noBand, false, false},
                   Case{"max loss", maxLoss, true, true}}) {
        SCOPED_TRACE(c.name);
        c.options.QueryFile = "q.qlx";
        std::vector<Message> messages;
        const QueryPage page = QueryPageFor(c.options, catalogue, file, messages);
        EXPECT_EQ(page.ByFrequency, c.byFrequency);
        EXPECT_EQ(page.ByLoss, c.byLoss);
        EXPECT_EQ(page.MaxLoss, c.options.MaxLoss.value_or("2"));
        EXPECT_TRUE(page.Air);
        EXPECT_FALSE(page.Foam);  // a file without the key switches the kind off
        EXPECT_EQ(page.BeginningFrequency, "0");
        EXPECT_EQ(page.Connector1, "N Female");
    }

    // A connector type given in other letter case selects the list's entry.
    ToolOptions connector;
    connector.Connector2 = "n female";
    std::vector<Message> messages;
    const QueryPage page = QueryPageFor(connector, catalogue, {}, messages);
    EXPECT_TRUE(page.ByConnector2);
    EXPECT_EQ(page.Connector2, "N Female");
}

TEST(ToolQueryPage, CommandLinePageHasEveryCriterionOff)
{
    const QueryPage page = CommandLineDefaults();
    EXPECT_FALSE(page.ByFrequency || page.ByLoss || page.ByConnector1 || page.ByConnector2);
    EXPECT_TRUE(page.Meters);
    EXPECT_TRUE(page.Air && page.Foam && page.Waveguide && page.Braided);
    EXPECT_EQ(page.BeginningFrequency, "");
}

TEST(ToolText, CsvQuotesOnlyWhatNeedsIt)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "plain"},      {"a,b", "\"a,b\""},         {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"cr\rlf", "\"cr\rlf\""}, {"lf\nx", "\"lf\nx\""},      {"", ""},
        {"tab\there", "tab\there"}, {"\xE9", "\xE9"},
    };
    for (const auto& [text, quoted] : cases) EXPECT_EQ(CsvField(text), quoted) << text;
}

TEST(ToolText, JsonStringsEscapeAndConvertLatin1)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"abc", "\"abc\""},
        {"q\"b\\", "\"q\\\"b\\\\\""},
        {"\t\n\r\b\f", "\"\\t\\n\\r\\b\\f\""},
        {std::string("\0\x1f", 2), "\"\\u0000\\u001f\""},
        {"\xE9\xFF\x80", "\"\xC3\xA9\xC3\xBF\xC2\x80\""},
        {"\x7f", "\"\x7f\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json);
}

TEST(ToolText, TablesShowHiddenColumnsEmptyAndMessagesWithNewlines)
{
    ResultTable table;
    ResultRow row;
    for (std::size_t c = 0; c < row.size(); ++c) row[c] = "c" + std::to_string(c + 1);
    table.Rows.push_back(row);
    table.Hidden[4] = true;
    const std::string tsv = FormatTable(table, OutputFormat::Tsv);
    EXPECT_EQ(tsv.substr(tsv.find('\n') + 1), "c1\tc2\tc3\tc4\t\tc6\tc7\tc8\tc9\tc10\tc11\tc12\tc13\tc14\n");
    const std::string csv = FormatTable(table, OutputFormat::Csv);
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "c1,c2,c3,c4,,c6,c7,c8,c9,c10,c11,c12,c13,c14\r\n");
    EXPECT_EQ(FormatTable(ResultTable{}, OutputFormat::Json), "[]\n");

    EXPECT_EQ(FormatMessage({MessageKind::Information, "One.\r\rTwo.", true}), "information: One.\n\nTwo.\n");
    EXPECT_EQ(FormatMessage({MessageKind::Warning, "w", false}), "warning: w\n");
    EXPECT_EQ(FormatMessage({MessageKind::Error, "e", false}), "error: e\n");
}

}  // namespace
}  // namespace quillon::tool
