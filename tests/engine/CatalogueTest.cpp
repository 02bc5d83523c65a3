#include "engine/Catalogue.h"
#include "engine/Errors.h"
#include "engine/PriceList.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include "engine/NumberText.h"
#include "engine/TextFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <stdexcept>

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

// The connector's compact list must hold what a vector of strings would:
// empty and long part numbers, bytes of every value, copies that outlive
// their source, additions after the list was made.
TEST(Catalogue, PartNumberListHoldsWhatItWasGiven)
{
    const std::string nul("A\0B", 3);
    std::vector<std::vector<std::string>> cases = {
        {}, {"X"}, {"", "Y", ""}, {std::string(300, 'L'), "S", nul, "\xE9\xFF|"}, {"1", "2", "3", "4", "5", "6"},
        // Either side of what the list holds in itself, and growing past it.
        {std::string(42, 'E')}, {std::string(43, 'F')}, {std::string(20, 'G'), std::string(21, 'H')},
        {std::string(37, 'M')}};
    // Every length a short part number is copied by, each byte telling where it came from.
    auto distinctBytes = [](std::size_t n, char first) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) text += static_cast<char>(first + i);
        return text;
    };
    for (std::size_t n = 0; n <= 21; ++n) {
        cases.push_back({distinctBytes(n, 'A'), distinctBytes(21 - n, 'a')});
        cases.push_back({"1", distinctBytes(n, '0'), "2"});
    }
    for (const auto& parts : cases) {
        SCOPED_TRACE(parts.size());
        std::vector<std::string_view> views(parts.begin(), parts.end());
        PartNumberList list = PartNumberList::Of(views.data(), views.size());
        EXPECT_EQ(list, parts);
        ASSERT_EQ(list.size(), parts.size());
        EXPECT_EQ(list.empty(), parts.empty());
        for (std::size_t i = 0; i < parts.size(); ++i) EXPECT_EQ(list.View(i), parts[i]);
        EXPECT_EQ(std::vector<std::string>(list.begin(), list.end()), parts);
        EXPECT_THROW(list.at(parts.size()), std::out_of_range);

        PartNumberList copy = list;
        list = PartNumberList();
        EXPECT_EQ(copy, parts);
        EXPECT_TRUE(list.empty());
        PartNumberList moved = std::move(copy);
        EXPECT_EQ(moved, parts);
        list = moved;
        EXPECT_EQ(list, moved);
        // Written in place over a list that held part numbers in itself or in a block.
        for (const std::string& held : {std::string("OLD"), std::string(60, 'O')}) {
            const std::string_view heldView = held;
            PartNumberList refilled = PartNumberList::Of(&heldView, 1);
            refilled.Assign(views.data(), views.size());
            EXPECT_EQ(refilled, parts) << held.size();
        }

        TConnector connector;
        for (const std::string& part : parts) connector.AddPartNumber(part);
        connector.AddPartNumber("LAST");
        std::vector<std::string> longer = parts;
        longer.push_back("LAST");
        EXPECT_EQ(connector.PartNumbers, longer);
        EXPECT_EQ(connector.PartNumberCount, static_cast<int>(longer.size()));
        EXPECT_EQ(connector.PartNumberAt(static_cast<int>(parts.size())), "LAST");
        EXPECT_FALSE(connector.PartNumbers == parts);
    }
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

namespace {

struct Built {
    Catalogue catalogue;
    std::optional<std::pair<std::string, std::size_t>> error;  // message, line
};

template <class Rows>
Built BuildFrom(const Rows& rows, const std::vector<std::string>& initialBegins)
{
    Built built;
    built.catalogue.BeginFrequencies = initialBegins;
    try {
        BuildCatalogue(rows, built.catalogue);
    } catch (const LoadError& e) {
        built.error.emplace(e.what(), e.lineNumber());
    }
    return built;
}

void ExpectSame(const Catalogue& a, const Catalogue& b)
{
    EXPECT_EQ(a.BeginFrequencies, b.BeginFrequencies);
    EXPECT_EQ(a.EndFrequencies, b.EndFrequencies);
    EXPECT_EQ(a.ConnectorTypeNames, b.ConnectorTypeNames);
    ASSERT_EQ(a.AllLines.size(), b.AllLines.size());
    for (std::size_t i = 0; i < a.AllLines.size(); ++i) {
        const TTransmissionLine& x = *a.AllLines[i];
        const TTransmissionLine& y = *b.AllLines[i];
        EXPECT_EQ(x.PartNumber, y.PartNumber);
        EXPECT_EQ(x.BeginFrequency, y.BeginFrequency);
        ASSERT_EQ(x.ConnectorCount, y.ConnectorCount);
        for (int k = 0; k < x.ConnectorCount; ++k) {
            EXPECT_EQ(x.ConnectorAt(k).TypeName, y.ConnectorAt(k).TypeName);
            EXPECT_EQ(x.ConnectorAt(k).PartNumbers, y.ConnectorAt(k).PartNumbers);
        }
    }
}

}  // namespace

// The file's text walked in place builds what its split lines build, and the
// band edges come out as the distinct texts of the lines' values in
// numeric order, however they were spelt; over random files with every line
// end, blank and bad rows, and lists filled before.
TEST(Catalogue, TextAndLinesBuildTheSameCatalogue)
{
    static const char* const kEdges[] = {"806", "806.0", "8.06e2", "1e3", "1000", "0.5", "-5", "-0", "0", "1e-400",
                                         "450.123456789012345678", "450.12345678901234", "0.1", ".1", "3"};
    static const char* const kTypes[] = {"N Male", "n male", "BNC", "7-16", "N MALE"};
    static const char* const kParts[] = {"A", "B", " A", "C"};
    static const char* const kEnds[] = {"\n", "\r\n", "\r"};
    std::mt19937 random(1211);
    auto pick = [&](const auto& pool) { return pool[random() % std::size(pool)]; };
    for (int round = 0; round < 400; ++round) {
        std::string text = "Begin|End|Part|...";
        const int rows = static_cast<int>(random() % 12);
        for (int r = 0; r < rows; ++r) {
            text += pick(kEnds);
            const int kind = static_cast<int>(random() % 20);
            if (kind == 0) continue;  // an empty line
            if (kind == 1) text += "   ";
            else if (kind == 2 && random() % 4 == 0) text += Row("1x", "2", "Q", "AIR", "N");
            else text += Row(pick(kEdges), pick(kEdges), pick(kParts), "AIR", pick(kTypes), {"P1", "", "P3"});
        }
        if (random() % 2) text += pick(kEnds);
        SCOPED_TRACE(text);
        for (const std::vector<std::string>& initial : {std::vector<std::string>{}, {"900", "1e3"}}) {
            const Built fromText = BuildFrom(std::string_view(text), initial);
            const Built fromLines = BuildFrom(SplitLines(text), initial);
            EXPECT_EQ(fromText.error, fromLines.error);
            ExpectSame(fromText.catalogue, fromLines.catalogue);
            if (fromText.error || !initial.empty()) continue;
            std::set<std::string> distinct;
            for (const auto& line : fromText.catalogue.AllLines) distinct.insert(FormatGeneral(line->BeginFrequency));
            std::vector<std::string> expected(distinct.begin(), distinct.end());
            SortNumerically(expected);
            EXPECT_EQ(fromText.catalogue.BeginFrequencies, expected);
        }
    }
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

// The index answers as the scan does over lists far shorter per line than a
// real one (so that its table grows while it is built), with part numbers
// repeated, blank-padded, of every length, and on skipped lines.
TEST(PriceList, IndexAnswersAsTheScanDoes)
{
    std::mt19937 random(1212);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> lines;
        const int count = static_cast<int>(random() % 3000);
        auto partNumber = [&] {
            std::string pn = "Q" + std::to_string(random() % 700);
            if (random() % 5 == 0) pn += std::string(random() % 30, 'X');
            return pn;
        };
        for (int i = 0; i < count; ++i) {
            std::string pn = partNumber();
            if (random() % 7 == 0) pn = " " + pn + "\t";
            const char* lead = random() % 9 == 0 ? "#" : "A";
            if (random() % 11 == 0)
                lines.push_back(random() % 2 ? "" : "A|" + pn);  // no third field
            else
                lines.push_back(std::string(lead) + "|x|" + pn + "|FT|line " + std::to_string(i) + "|" +
                                std::to_string(i) + "|");
        }
        const PriceList prices(lines);
        EXPECT_EQ(prices.LineCount(), lines.size());
        for (int probe = 0; probe < 1500; ++probe) {
            const std::string pn = partNumber();
            const auto indexed = prices.Find(pn);
            const auto scanned = prices.FindLinear(pn);
            ASSERT_EQ(indexed.has_value(), scanned.has_value()) << pn;
            if (!indexed) continue;
            EXPECT_EQ(indexed->Description, scanned->Description) << pn;
            EXPECT_EQ(indexed->Price, scanned->Price) << pn;
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
