#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/ResultRows.h"

#include <gtest/gtest.h>

#include "tests/support/CurrencyTable.h"

using namespace quillon;

namespace {

std::unique_ptr<TTransmissionLine> Line(const char* pn, double begin, double end, const char* kind, double A, double B,
                                        double peak, double constant, double price, long double key = 1)
{
    auto l = std::make_unique<TTransmissionLine>();
    l->PartNumber = pn;
    l->BeginFrequency = begin;
    l->EndFrequency = end;
    l->Kind = kind;
    l->AttenuationA = A;
    l->AttenuationB = B;
    l->PeakPower = peak;
    l->AveragePowerConstant = constant;
    l->ListPrice = price;
    l->DeratingKey = key;
    l->Description = std::string("Line ") + pn;
    return l;
}

struct Fixture {
    std::vector<std::unique_ptr<TTransmissionLine>> owned;
    LineList lines;
    void Add(std::unique_ptr<TTransmissionLine> l)
    {
        lines.push_back(l.get());
        owned.push_back(std::move(l));
    }
};

}  // namespace

TEST(ResultRows, InteractiveRowCellByCell)
{
    Fixture f;
    // 1.1 dB/100 ft at 100 MHz; average 12.3456 kW shows 12.35 and is derated from 12.35.
    f.Add(Line("QX1", 80, 120, "FOAM", 0.1, 0.001, 40, 12.3456 * 1.1, 3.0));
    ResultTable table;
    const ExchangeRates rates{true, {"GBP|1.5|"}};
    InteractiveFillInputs in{"80", "120", "500", true, "1.5", 20, &rates};
    ASSERT_FALSE(FillInteractiveRows(table, f.lines, in));
    ASSERT_EQ(table.Rows.size(), 1u);
    const ResultRow& r = table.Rows[0];
    const long double factor = VswrDeratingFactor("FOAM", 1, 80, 120, 1.5L);
    const ResultRow expected{"QX1", "80-120", "Line QX1", "100", "1.10", "3.61", "5.50", "5.53", "27.98", "40.00",
                             "12.35", FormatFixed2(factor * 12.35L), "GBP 2.00", "GBP 6.56"};
    EXPECT_EQ(r, expected);
    EXPECT_EQ(table.Headings[12], "List Price Per Foot (GBP)");
    EXPECT_EQ(table.Headings[13], "List Price Per Meter (GBP)");
    EXPECT_EQ(table.Headings[0], "Part Number");
}

TEST(ResultRows, ZeroLengthShowsNotApplicableAndBandTextsUseGeneralFormat)
{
    Fixture f;
    f.Add(Line("QX1", 806, 960, "AIR", 0.1, 0.001, 40, 50, 1.25));
    for (const char* length : {"0", "0.0", "."}) {
        ResultTable table;
        ASSERT_FALSE(FillInteractiveRows(table, f.lines, {"824", "894", length, true, "1.1", 1, nullptr}));
        const ResultRow& r = table.Rows[0];
        EXPECT_EQ(r[1], "806-960");
        EXPECT_EQ(r[3], "859");
        EXPECT_EQ(r[6], "N/A");
        EXPECT_EQ(r[7], "N/A");
        EXPECT_EQ(r[8], "N/A");
        EXPECT_EQ(r[12], "USD 1.25");
        EXPECT_EQ(table.Headings[12], "List Price Per Foot (USD)");  // no rate file: always USD
    }
}

TEST(ResultRows, EmptyListKeepsHeadings)
{
    ResultTable table;
    table.Headings[12] = "List Price Per Foot (EUR)";
    table.Rows.resize(3);
    ASSERT_FALSE(FillInteractiveRows(table, {}, {"1", "2", "0", true, "1.1", 1, nullptr}));
    EXPECT_TRUE(table.Rows.empty());
    EXPECT_EQ(table.Headings[12], "List Price Per Foot (EUR)");
}

TEST(ResultRows, ErrorsStopAtTheCellThatReadsTheBadValue)
{
    Fixture f;
    f.Add(Line("QX1", 806, 960, "AIR", 0.1, 0.001, 40, 50, 1.25));
    f.Add(Line("QX2", 806, 960, "AIR", 0.1, 0.001, 40, 50, 1.25));
    // The prices and their headings come after the power columns and before
    // the three length columns: a bad length leaves the prices filled, a bad
    // rate leaves the headings as they were.
    struct Case {
        InteractiveFillInputs in;
        std::string error;
        std::size_t firstEmptyColumn;
        bool pricesFilled;
    };
    const ExchangeRates badRate{true, {"GBP|x|"}};
    const ExchangeRates zeroRate{true, {"GBP|0|"}};
    const Case cases[] = {
        {{"", "894", "10", true, "1.1", 1, nullptr}, "'' is not a valid floating point value", 3, false},
        {{"824", "894", "10", true, "abc", 1, nullptr}, "'abc' is not a valid floating point value", 11, false},
        {{"824", "894", "1o", true, "1.1", 1, nullptr}, "'1o' is not a valid floating point value", 6, true},
        {{"824", "894", "10", true, "1.1", 20, &badRate}, "'x' is not a valid floating point value", 12, false},
        {{"824", "894", "10", true, "1.1", 20, &zeroRate}, "Floating point division by zero", 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        ResultTable table;
        table.Headings[12] = "List Price Per Foot (EUR)";
        table.Headings[13] = "List Price Per Meter (EUR)";
        const auto error = FillInteractiveRows(table, f.lines, c.in);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(*error, c.error);
        ASSERT_EQ(table.Rows.size(), 2u);
        const ResultRow& r = table.Rows[0];
        EXPECT_EQ(r[0], "QX1");
        EXPECT_FALSE(r[c.firstEmptyColumn - 1].empty());
        EXPECT_TRUE(r[c.firstEmptyColumn].empty());
        if (c.pricesFilled) {
            EXPECT_EQ(r[12], "USD 1.25");
            EXPECT_EQ(r[13], "USD 4.10");
            EXPECT_EQ(table.Headings[12], "List Price Per Foot (USD)");
            EXPECT_EQ(table.Headings[13], "List Price Per Meter (USD)");
        } else {
            EXPECT_TRUE(r[12].empty());
            EXPECT_TRUE(r[13].empty());
            EXPECT_EQ(table.Headings[12], "List Price Per Foot (EUR)");
            EXPECT_EQ(table.Headings[13], "List Price Per Meter (EUR)");
        }
        EXPECT_EQ(table.Rows[1], ResultRow{}) << "the second row stays empty";
    }
}

TEST(ResultRows, CommandLineFilling)
{
    Fixture f;
    f.Add(Line("QX1", 80, 120, "FOAM", 0.1, 0.001, 40, 50, 3.0));
    {
        ResultTable table;
        ASSERT_FALSE(FillCommandLineRows(table, f.lines, "QX1|100|M"));
        const ResultRow& r = table.Rows[0];
        EXPECT_EQ(r[3], "100");
        EXPECT_EQ(r[6], "3.61");  // 100 m over the line's own band
        EXPECT_EQ(r[12], "$3.00");
        EXPECT_EQ(r[13], "$9.84");
        EXPECT_EQ(r[11], FormatFixed2(VswrDeratingFactor("FOAM", 1, 80, 120, 1.1L) * 40.00L));  // capped at the peak
        EXPECT_EQ(table.Headings[12], "List Price Per Foot ($US)");
        EXPECT_EQ(table.Hidden, (std::array<bool, 14>{}));
    }
    for (const char* feetArgument : {"QX1|100|m", "QX1|100|", "QX1|100|Feet"}) {
        ResultTable table;
        ASSERT_FALSE(FillCommandLineRows(table, f.lines, feetArgument));
        EXPECT_EQ(table.Rows[0][6], "1.10") << feetArgument;
    }
    {
        ResultTable table;
        ASSERT_FALSE(FillCommandLineRows(table, f.lines, "QX1|0|M"));
        EXPECT_EQ(table.Rows[0][6], "0.00");  // no N/A here
    }
    {
        ResultTable table;
        ASSERT_FALSE(FillCommandLineRows(table, f.lines, "QX1"));
        for (int c = 3; c <= 11; ++c) {
            EXPECT_TRUE(table.Hidden[static_cast<std::size_t>(c)]);
            EXPECT_TRUE(table.Rows[0][static_cast<std::size_t>(c)].empty());
        }
        EXPECT_FALSE(table.Hidden[2]);
        EXPECT_FALSE(table.Hidden[12]);
        EXPECT_EQ(table.Rows[0][12], "$3.00");
    }
    {
        ResultTable table;
        table.Rows.resize(1, ResultRow{"old"});
        const auto error = FillCommandLineRows(table, f.lines, "QX1|100");
        ASSERT_TRUE(error);
        EXPECT_EQ(*error, "'' is not a valid floating point value");
        EXPECT_EQ(table.Rows[0][0], "old") << "stops before any row is filled";
    }
}

TEST(ResultRows, PartNumberRowsCarryDescriptionAndConvertedPrice)
{
    TConnector connector;
    for (const char* part : {"QXC-F050-NM", "QXC-GONE", "QXC-F050-NF"}) connector.AddPartNumber(part);
    const PriceList prices(
        {"# connectors", "CN|Q|QXC-F050-NM|EA|N male, straight|15|", "CN|Q|QXC-F050-NF|EA|N female||"});
    const ExchangeRates rates{true, {"GBP|1.5|"}};

    PartNumberTable table;
    ASSERT_FALSE(FillPartNumberRows(table, &connector, prices, rates, 20));
    using Row = std::array<std::string, PartNumberTable::kColumns>;
    EXPECT_EQ(table.Rows, (std::vector<Row>{{"QXC-F050-NM", "N male, straight", "GBP 10.00"},
                                            {"QXC-GONE", "", ""},
                                            {"QXC-F050-NF", "N female", "GBP 0.00"}}));
    EXPECT_EQ(table.Headings[2], "Price (GBP)");

    // Without a connector the grid empties; the heading keeps the last currency.
    ASSERT_FALSE(FillPartNumberRows(table, nullptr, prices, rates, 1));
    EXPECT_TRUE(table.Rows.empty());
    EXPECT_EQ(table.Headings[2], "Price (GBP)");

    // A rate of 0 stops at the first price; the part number before it stays.
    PartNumberTable stopped;
    const auto error = FillPartNumberRows(stopped, &connector, prices, {true, {"GBP|0|"}}, 20);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, "Floating point division by zero");
    EXPECT_EQ(stopped.Rows[0][0], "QXC-F050-NM");
    EXPECT_EQ(stopped.Rows[0][2], "");
    EXPECT_EQ(stopped.Headings[2], "Price (GBP)");
}

// The program's table against the one typed in the tests: items, captions,
// Tags and codes in menu order, and the code each Tag labels prices with.
TEST(Currencies, EveryItemHasItsCaptionTagAndCode)
{
    const auto menu = CurrencyMenu();
    ASSERT_EQ(menu.size(), test::kCurrencyTable.size());
    const ExchangeRates rates{true, {}};
    for (std::size_t i = 0; i < menu.size(); ++i) {
        const test::CurrencyRow& row = test::kCurrencyTable[i];
        SCOPED_TRACE(row.item);
        EXPECT_EQ(menu[i].ItemName, row.item);
        EXPECT_EQ(menu[i].Caption, row.caption);
        EXPECT_EQ(menu[i].Tag, row.tag);
        EXPECT_EQ(menu[i].Code, row.code);
        EXPECT_EQ(menu[i].Submenu, row.submenu);
        EXPECT_EQ(CurrencyCodeForTag(row.tag), row.code);
        EXPECT_EQ(CurrentCurrencyCode(rates, row.tag).Code, row.code);
        EXPECT_EQ(CurrentCurrencyCode(rates, row.tag).Caption, std::string("(") + row.code + ")");
    }
}

TEST(Currencies, MenuCodesAndConversion)
{
    const auto menu = CurrencyMenu();
    ASSERT_EQ(menu.size(), 37u);
    EXPECT_EQ(menu[0].ItemName, "USDollarsUSD1");
    EXPECT_EQ(menu[29].ItemName, "US1");
    EXPECT_EQ(menu[29].Tag, 1);
    EXPECT_EQ(menu[29].Submenu, "North America");
    for (int tag = 1; tag <= 36; ++tag) EXPECT_EQ(CurrencyCodeForTag(tag).size(), 3u) << tag;

    const ExchangeRates rates{true, {"gbp|2|", " GBP |1.5|", "GBP|3|", "USD|2|", "JPY|0.0067|"}};
    EXPECT_EQ(ExchangeRate(rates, "GBP"), 1.5L);
    EXPECT_EQ(ConvertPrice(rates, 20, 15), 10);   // first GBP line in the file counts
    EXPECT_EQ(ConvertPrice(rates, 1, 15), 15);    // USD looks up no rate, even with a USD line
    EXPECT_EQ(ConvertPrice(rates, 17, 15), 15);   // no EUR line: rate 1
    EXPECT_EQ(ConvertPrice({false, {"GBP|1.5|"}}, 20, 15), 15);
    EXPECT_EQ(CurrentCurrencyCode(rates, 20).Caption, "(GBP)");
    EXPECT_EQ(CurrentCurrencyCode({false, {}}, 20).Code, "USD");
    EXPECT_THROW(ConvertPrice({true, {"GBP|0|"}}, 20, 0), QuillonError);
}
