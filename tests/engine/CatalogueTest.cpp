#include "engine/Catalogue.h"
#include "engine/Errors.h"
#include "engine/PriceList.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// One catalogue row: line fields 1-11, connector type and figures, part numbers 17-22.
std::string Row(const std::string& begin, const std::string& end, const std::string& pn, const std::string& kind,
                const std::string& type, const std::vector<std::string>& parts = {"P1"}, const std::string& key = "1.5")
{
    std::string row = begin + "|" + end + "|7/8 in|" + pn + "|" + kind + "|PE|" + key + "|0.1|0.001|50|40|" + type +
                      "|1.05|0.05|0|0|";
    for (int i = 0; i < 6; ++i) row += (i < static_cast<int>(parts.size()) ? parts[static_cast<std::size_t>(i)] : "") + "|";
    return row;
}

Catalogue Build(std::vector<std::string> rows)
{
    rows.insert(rows.begin(), "Begin|End|Size|Part|Kind|...");
    Catalogue catalogue;
    BuildCatalogue(rows, catalogue);
    return catalogue;
}

}  // namespace

TEST(Catalogue, RowsOfOneLineBecomeItsConnectors)
{
    const Catalogue c = Build({Row("806", "960", "QX1", "FOAM", "N Male"), Row("806", "960", "QX1", "FOAM", "N Female"),
                               Row("806", "960", "QX1", "FOAM", "7-16 Male")});
    ASSERT_EQ(c.AllLines.size(), 1u);
    const TTransmissionLine& line = *c.AllLines[0];
    EXPECT_EQ(line.ConnectorCount, 3);
    EXPECT_EQ(line.NextConnector, 3);
    EXPECT_EQ(line.ConnectorAt(0).TypeName, "N Male");
    EXPECT_EQ(line.ConnectorAt(2).TypeName, "7-16 Male");
    EXPECT_EQ(line.BeginFrequency, 806);
    EXPECT_EQ(line.PeakPower, 40);
    EXPECT_EQ(line.AveragePowerConstant, 50);
    EXPECT_EQ(line.DeratingKey, 1.5L);
    EXPECT_TRUE(line.Description.empty());
}

TEST(Catalogue, APartNumberReturningLaterStartsASecondLine)
{
    const Catalogue c = Build({Row("1", "2", "A", "AIR", "N"), Row("1", "2", "B", "AIR", "N"), Row("1", "2", "A", "AIR", "N")});
    ASSERT_EQ(c.AllLines.size(), 3u);
    EXPECT_EQ(c.AllLines[2]->PartNumber, "A");
}

TEST(Catalogue, TrailingBlankInFirstRowSplitsEveryFollowingRow)
{
    const Catalogue first = Build({Row("1", "2", "A ", "AIR", "N"), Row("1", "2", "A ", "AIR", "N"), Row("1", "2", "A", "AIR", "N")});
    ASSERT_EQ(first.AllLines.size(), 3u);
    EXPECT_EQ(first.AllLines[0]->PartNumber, "A ");
    const Catalogue following = Build({Row("1", "2", "A", "AIR", "N"), Row("1", "2", "A ", "AIR", "N")});
    EXPECT_EQ(following.AllLines.size(), 1u);
}

TEST(Catalogue, PartNumbersKeepFieldOrderAndSkipGaps)
{
    const Catalogue c = Build({Row("1", "2", "A", "AIR", "N", {"X17", "", "X19"})});
    const TConnector& connector = c.AllLines[0]->ConnectorAt(0);
    EXPECT_EQ(connector.PartNumberCount, 2);
    EXPECT_EQ(connector.PartNumbers, (std::vector<std::string>{"X17", "X19"}));
}

TEST(Catalogue, ValueListsAreDistinctAndNumericallyOrdered)
{
    const Catalogue c = Build({Row("1850", "1990", "A", "AIR", "n male"), Row("806", "960", "B", "AIR", "N Male"),
                               Row("806.0", "960", "C", "AIR", "BNC"), Row("450", "470", "D", "AIR", "7-16"),
                               Row("30", "88", "E", "AIR", "N MALE")});
    EXPECT_EQ(c.BeginFrequencies, (std::vector<std::string>{"30", "450", "806", "1850"}));
    EXPECT_EQ(c.EndFrequencies, (std::vector<std::string>{"88", "470", "960", "1990"}));
    // Case-insensitive order; the spelling met first stays; each connector keeps its own.
    EXPECT_EQ(c.ConnectorTypeNames, (std::vector<std::string>{"7-16", "BNC", "n male"}));
    EXPECT_EQ(c.AllLines[1]->ConnectorAt(0).TypeName, "N Male");
}

TEST(Catalogue, SortNumericallyIsAStableAscendingOrder)
{
    std::vector<std::string> texts{"1850", "806", "450", "1e3", "1000", "-5", "0.5"};
    SortNumerically(texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"-5", "0.5", "450", "806", "1e3", "1000", "1850"}));
}

TEST(Catalogue, BadRowStopsLoadingAndKeepsEarlierLines)
{
    struct Case { std::string row; std::string message; };
    const Case cases[] = {
        {Row("1x", "2", "B", "AIR", "N"), "'1x' is not a valid floating point value"},
        {Row("1", "2", "B", "AIR", "N", {"P"}, ""), "'' is not a valid floating point value"},
        {"1|2|x|B|AIR", "'' is not a valid floating point value"},  // ends early
        {Row("1", "2", "B", "AIR", "N").replace(Row("1", "2", "B", "AIR", "N").find("1.05"), 4, "one"),
         "'one' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        Catalogue catalogue;
        try {
            BuildCatalogue({"header", Row("1", "2", "A", "AIR", "N"), "", c.row, Row("3", "4", "C", "AIR", "N")}, catalogue);
            ADD_FAILURE() << "no error for " << c.row;
        } catch (const LoadError& e) {
            EXPECT_EQ(e.what(), c.message);
            EXPECT_EQ(e.lineNumber(), 4u);
        }
        ASSERT_EQ(catalogue.AllLines.size(), 1u) << c.row;
        EXPECT_EQ(catalogue.AllLines[0]->PartNumber, "A");
    }
}

TEST(Catalogue, EmptyCatalogueAndBlankLines)
{
    for (const std::vector<std::string>& rows : {std::vector<std::string>{}, {"header"}, {"header", "", "  "}}) {
        Catalogue catalogue;
        try {
            BuildCatalogue(rows, catalogue);
            ADD_FAILURE() << "no error";
        } catch (const QuillonError& e) {
            EXPECT_STREQ(e.what(), "List index out of bounds (0)");
        }
    }
    // Blank lines between and after rows are passed over.
    const Catalogue c = Build({"", Row("1", "2", "A", "AIR", "N"), "   ", Row("1", "2", "A", "AIR", "BNC"), ""});
    ASSERT_EQ(c.AllLines.size(), 1u);
    EXPECT_EQ(c.AllLines[0]->ConnectorCount, 2);
}

TEST(Catalogue, HostileBytesNeverCrash)
{
    const std::string nul("1|2|x|A\0B|AIR|PE|1|0.1|0.001|50|40|N\xff|1|1|1|1|P|", 49);
    const std::string longField = Row("1", "2", std::string(200000, 'Q'), "AIR", "N");
    const Catalogue c = Build({nul, longField});
    ASSERT_EQ(c.AllLines.size(), 2u);
    EXPECT_EQ(c.AllLines[0]->PartNumber, std::string("A\0B", 3));
    EXPECT_EQ(c.AllLines[0]->ConnectorAt(0).TypeName, "N\xff");
    EXPECT_EQ(c.AllLines[1]->PartNumber.size(), 200000u);

    Catalogue separators;
    EXPECT_THROW(BuildCatalogue({"h", nul, std::string(100000, '|')}, separators), LoadError);
    EXPECT_EQ(separators.AllLines.size(), 1u);
}

TEST(PriceList, FirstMatchSkippedLeadsAndDefaults)
{
    const PriceList prices({
        "#|x|QX1|FT|Commented out|1.00|",
        " |x|QX1|FT|Leading blank|2.00|",
        "\t|x|QX1|FT|Tab lead is matched|12.5|",
        "A|x|QX1|FT|Second occurrence|99|",
        "",
        "A|x|QX2|FT|Bad price|n/a|",
        "A|x|QX3|FT|Empty price||",
        "A|x|QX4|FT|Unterminated price|7",
        "A|x|qx5|FT|Case counts|1|",
        "A|x|QX6|FT",
    });
    struct Case { const char* pn; bool found; const char* description; long double price; };
    const Case cases[] = {
        {"QX1", true, "Tab lead is matched", 12.5L}, {"QX2", true, "Bad price", 0}, {"QX3", true, "Empty price", 0},
        {"QX4", true, "Unterminated price", 0}, {"QX5", false, "", 0}, {"QX6", true, "", 0}, {"", false, "", 0},
    };
    for (const Case& c : cases) {
        for (const auto& entry : {prices.Find(c.pn), prices.FindLinear(c.pn)}) {
            ASSERT_EQ(entry.has_value(), c.found) << c.pn;
            if (!c.found) continue;
            EXPECT_EQ(entry->Description, c.description);
            EXPECT_EQ(entry->Price, c.price);
        }
    }
}

TEST(PriceList, APriceBeyondWhatALineHoldsIsNoPrice)
{
    // A line holds its price as a 64-bit float: a price past that range is as
    // unusable as "n/a" and gives 0 in every currency and filling, never an
    // infinity that shows as "USD 0.00" in one place and fails in another.
    const PriceList prices({
        "A|x|QX1|FT|Too dear|1e400|",
        "A|x|QX2|FT|Too cheap|-1e400|",
        "A|x|QX3|FT|Not a number|n/a|",
        "A|x|QX4|FT|Dear but held|1e300|",
        "A|x|QX5|FT|Vanishing|1e-400|",
    });
    struct Case { const char* pn; long double price; };
    for (const Case& c : {Case{"QX1", 0}, Case{"QX2", 0}, Case{"QX3", 0}, Case{"QX4", 1e300L}, Case{"QX5", 1e-400L}}) {
        for (const auto& entry : {prices.Find(c.pn), prices.FindLinear(c.pn)}) {
            ASSERT_TRUE(entry) << c.pn;
            EXPECT_EQ(entry->Price, c.price) << c.pn;
        }
    }

    Catalogue catalogue;
    BuildCatalogue({"header", Row("800", "900", "QX1", "FOAM", "N Male"), Row("800", "900", "QX3", "FOAM", "N Male")},
                   catalogue);
    const LineList lines = catalogue.Lines();
    CompletePrices(lines, prices);
    const ExchangeRates rates{true, {"GBP|1.5|"}};
    for (int tag : {1, 20}) {
        ResultTable table;
        const InteractiveFillInputs in{"800", "900", "100", true, "1.1", tag, &rates};
        ASSERT_EQ(FillInteractiveRows(table, lines, in), std::nullopt) << tag;
        ASSERT_EQ(table.Rows.size(), 2u);
        EXPECT_EQ(table.Rows[0][12], table.Rows[1][12]) << "the dear price reads like a bad one";
        EXPECT_EQ(table.Rows[0][13], table.Rows[1][13]);
        EXPECT_EQ(table.Rows[0][12], tag == 1 ? "USD 0.00" : "GBP 0.00");
    }
    ResultTable table;
    ASSERT_EQ(FillCommandLineRows(table, lines, "QX1|100|M"), std::nullopt);
    EXPECT_EQ(table.Rows[0][12], table.Rows[1][12]);
    EXPECT_EQ(table.Rows[0][13], "$0.00");
}
