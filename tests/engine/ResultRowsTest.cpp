#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/ResultRows.h"
#include "engine/TransmissionLib.h"

#include <gtest/gtest.h>

#include "tests/engine/ReferenceNumberText.h"
#include "tests/engine/ReferenceResultRows.h"
#include "tests/support/CurrencyTable.h"

#include <cmath>
#include <iomanip>
#include <iterator>
#include <limits>
#include <random>

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

namespace {

// A random catalogue line: every kind (and one no law knows), coefficients
// that give ordinary figures, zero attenuation, a waveguide below its
// cut-off, negative and odd values, and derating keys of every class.
std::unique_ptr<TTransmissionLine> RandomLine(std::mt19937_64& random, int n)
{
    static const char* const kKinds[] = {"AIR", "FOAM", "EW", "BRAIDED", "ew", "Foam", "XX"};
    std::uniform_real_distribution<double> unit(0, 1);
    const char* kind = kKinds[random() % std::size(kKinds)];
    const bool waveguide = std::string(kind) == "EW";
    const int oddity = static_cast<int>(random() % 20);
    double A = waveguide ? 300 + 500 * unit(random) : 0.3 * unit(random);
    double B = waveguide ? 500 + 2500 * unit(random) : 0.001 * unit(random);
    if (oddity == 0) A = B = 0;        // no attenuation: the average power divides by zero
    if (oddity == 1) A = -A;           // a negative coefficient
    if (oddity == 2 && waveguide) A = 5000;  // cut-off above the band
    auto line = Line(("QX" + std::to_string(n)).c_str(), 0.5 + 900 * unit(random), 900 + 20000 * unit(random), kind,
                     A, B, 5 + 1000 * unit(random), 1 + 10 * unit(random), 40 * unit(random),
                     0.3L + 4 * static_cast<long double>(unit(random)));
    if (oddity == 3) line->Description.clear();
    if (oddity == 4) line->ListPrice = 1e300;
    return line;
}

InteractiveFillInputs RandomInputs(std::mt19937_64& random, const std::vector<ExchangeRates>& rates)
{
    static const char* const kFrequencies[] = {"800", "900", "824.5", "1e3", "0", "-5", "", "8x0", "2200", "0.001"};
    static const char* const kLengths[] = {"100", "0", "0.0", "12.5", "-3", "1e6", "", "1o", "."};
    static const char* const kVswrs[] = {"1.1", "1.5", "2", "1", "0", "-1", "abc", "1e3000", ""};
    InteractiveFillInputs in;
    in.BeginningFrequency = kFrequencies[random() % std::size(kFrequencies)];
    in.EndingFrequency = kFrequencies[random() % std::size(kFrequencies)];
    if (random() % 2) in.BeginningFrequency = "800", in.EndingFrequency = "900";
    in.Length = kLengths[random() % std::size(kLengths)];
    in.Feet = random() % 2;
    in.Vswr = kVswrs[random() % std::size(kVswrs)];
    in.CurrencyTag = static_cast<int>(random() % 36) + 1;
    in.Rates = random() % 4 == 0 ? nullptr : &rates[random() % rates.size()];
    return in;
}

}  // namespace

// Cells that every row shares are worked out once; the tables must not show
// it: each filling gives the cell-by-cell reference's headings, cells and
// error, and stops at the same cell, over many random lists and queries.
TEST(ResultRows, FillingsGiveTheCellByCellReferenceTable)
{
    std::mt19937_64 random(20261211);
    const std::vector<ExchangeRates> rates{{true, {"GBP|1.5|", "EUR|1.1|", "JPY|0.0091|", "CAD|x|", "MXP|0|"}},
                                           {false, {}},
                                           {true, {}}};
    static const char* const kArguments[] = {"QX1|100|M", "QX1|100|", "QX1", "QX1|0|M", "QX1|100", "QX1|x|M",
                                             "QX1|-5|Feet"};
    int stoppedWithRows = 0;
    int filled = 0;
    for (int round = 0; round < 3000; ++round) {
        Fixture f;
        const int count = static_cast<int>(random() % 6);
        for (int i = 0; i < count; ++i) f.Add(RandomLine(random, i));
        const InteractiveFillInputs in = RandomInputs(random, rates);
        SCOPED_TRACE("round " + std::to_string(round));

        ResultTable fast, reference;
        fast.Headings[12] = reference.Headings[12] = "List Price Per Foot (EUR)";
        const auto fastError = FillInteractiveRows(fast, f.lines, in);
        const auto referenceError = test::ReferenceFillInteractiveRows(reference, f.lines, in);
        ASSERT_EQ(fastError, referenceError);
        ASSERT_EQ(fast.Headings, reference.Headings);
        ASSERT_EQ(fast.Rows, reference.Rows);
        if (!f.lines.empty()) ++(referenceError ? stoppedWithRows : filled);

        const char* argument = kArguments[random() % std::size(kArguments)];
        ResultTable fastLine, referenceLine;
        ASSERT_EQ(FillCommandLineRows(fastLine, f.lines, argument),
                  test::ReferenceFillCommandLineRows(referenceLine, f.lines, argument));
        ASSERT_EQ(fastLine.Rows, referenceLine.Rows);
        ASSERT_EQ(fastLine.Hidden, referenceLine.Hidden);
        ASSERT_EQ(fastLine.Headings, referenceLine.Headings);
    }
    // Both ways out were taken often.
    EXPECT_GT(stoppedWithRows, 500);
    EXPECT_GT(filled, 500);
}

namespace {

// Column 9 as the cell-by-cell filling writes it, or the error it raises.
std::string ReferenceEfficiencyText(long double insertionLoss)
{
    try {
        return test::ReferenceFormatFixed2(EfficiencyFrom(insertionLoss));
    } catch (const QuillonError& error) {
        return "error: " + error.message();
    }
}

std::string EfficiencyText(long double insertionLoss)
{
    try {
        std::string text = "kept|";  // the text is added, never put in place of what stands
        AppendEfficiencyText(text, insertionLoss);
        return text.substr(5);
    } catch (const QuillonError& error) {
        return "error: " + error.message();
    }
}

}  // namespace

// The efficiency text skips the long-double power where the two decimals
// allow; it must give the long-double text for every loss, above all where
// the efficiency lies a hair from a half-hundredth and the last bits decide.
TEST(ResultRows, EfficiencyTextIsTheLongDoubleTextForEveryLoss)
{
    std::mt19937_64 random(20261212);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto agree = [](long double loss) {
        ASSERT_EQ(EfficiencyText(loss), ReferenceEfficiencyText(loss)) << std::setprecision(25) << loss;
    };
    for (long double loss : {0.0L, -0.0L, 1e-30L, -1e-30L, 0.5L, 3.0103L, 10.0L, 20.0L, 43.0103L, 100.0L, 600.0L,
                             -600.0L, 600.0000000000001L, 5000.0L, -70.0L, -71.0L, -5000.0L, -50000.0L, 50000.0L,
                             std::numeric_limits<long double>::max(), -std::numeric_limits<long double>::max()})
        agree(loss);

    for (int i = 0; i < 150'000; ++i) {
        // Losses a run meets, with bits beyond a double's.
        const long double fine = 1 + static_cast<long double>(unit(random)) * 1e-17L;
        agree(static_cast<long double>(unit(random)) * 100 * fine);
        // Every magnitude the fast way takes, and past it.
        agree(std::pow(10.0L, static_cast<long double>(unit(random)) * 10 - 7) * fine);
        agree(static_cast<long double>(unit(random)) * 1400 - 700);
    }

    // Where the text turns: the efficiency whose 15-digit rounding first
    // reaches a half-hundredth, a hair below the half itself. Around it, at
    // the half, and a little further off on both sides, losses a few bits
    // apart must give the long-double text.
    constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
    int turns = 0;
    for (int i = 0; i < 10'000; ++i) {
        const auto k = static_cast<long double>(static_cast<long long>(unit(random) * 100'000));
        const long double half = (k + 0.5L) / 100;  // an efficiency in percent
        const long double digit15 = std::pow(10.0L, std::floor(std::log10(half)) - 14);
        auto lossFor = [](long double efficiency) { return -10 * std::log10(efficiency / 100); };
        auto around = [&](long double loss, int steps) {
            long double below = loss, above = loss;
            for (int step = 0; step < steps; ++step) {
                below = std::nextafter(below, -kInfinity);
                above = std::nextafter(above, kInfinity);
            }
            for (long double l = below; l <= above; l = std::nextafter(l, kInfinity)) agree(l);
            // The loss grows as the efficiency falls: "above" is the lower efficiency.
            return ReferenceEfficiencyText(above) != ReferenceEfficiencyText(below);
        };
        if (around(lossFor(half - digit15 / 2), 8)) ++turns;
        around(lossFor(half), 3);
        for (long double off : {1.0L, 2.0L, 3.0L, 50.0L}) {
            agree(lossFor(half + half * off * 1e-14L));
            agree(lossFor(half - half * off * 1e-14L));
        }
    }
    // The neighbourhoods do hold the turns they are there for.
    EXPECT_GT(turns, 9'000) << "of 10,000";
}
