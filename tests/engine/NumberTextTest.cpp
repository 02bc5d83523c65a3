#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "tests/engine/ReferenceNumberText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <iomanip>
#include <limits>
#include <clocale>
#include <cmath>
#include <random>

using namespace quillon;

TEST(NumberText, AcceptsOnlyTheNumericTextRule)
{
    struct Case { const char* text; bool number; long double value; };
    const Case cases[] = {
        {"806", true, 806}, {"  1.5  ", true, 1.5L}, {"+2", true, 2}, {"-0.25", true, -0.25L},
        {".", true, 0}, {".5", true, 0.5L}, {"5.", true, 5}, {"1e3", true, 1000}, {"2.5E-1", true, 0.25L},
        {"1e+2", true, 100},
        {"", false, 0}, {" ", false, 0}, {"-", false, 0}, {"+", false, 0}, {"1,5", false, 0}, {"1e", false, 0},
        {"e5", false, 0}, {"abc", false, 0}, {"1.2.3", false, 0}, {"\t1", false, 0}, {"0x10", false, 0},
        {"inf", false, 0}, {"nan", false, 0}, {"1 000", false, 0}, {"1e99999", false, 0},
    };
    for (const Case& c : cases) {
        long double v = -99;
        EXPECT_EQ(TryReadNumber(c.text, v), c.number) << '"' << c.text << '"';
        if (c.number) {
            EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(NumberText, BadNumberRaisesTheConversionText)
{
    try {
        ReadNumber("12a");
        FAIL() << "no error";
    } catch (const QuillonError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid floating point value");
    }
    EXPECT_THROW(ReadDouble(""), QuillonError);
}

TEST(NumberText, IgnoresACommaLocale)
{
    // Under a comma-decimal locale the C library would read "1.5" as 1.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not generated";
    EXPECT_EQ(ReadNumber("1.5"), 1.5L);
    EXPECT_EQ(FormatFixed2(1234.5L), "1234.50");
    EXPECT_EQ(FormatGeneral(883.5L), "883.5");
    std::setlocale(LC_ALL, "C");
}

TEST(NumberText, GeneralFormat)
{
    struct Case { long double value; const char* text; };
    const Case cases[] = {
        {806, "806"}, {806.0L, "806"}, {1.50L, "1.5"}, {883.5L, "883.5"}, {-0.0L, "0"}, {0.1L + 0.2L, "0.3"},
        {1e15L, "1000000000000000"}, {123456789012345678.0L, "123456789012346000"}, {0.000012L, "0.000012"},
        {-2.25L, "-2.25"}, {(824.0L + 894.0L) / 2, "859"}, {1.0L / 3, "0.333333333333333"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << static_cast<double>(c.value);
}

TEST(NumberText, TwoDecimalsRoundHalvesAwayFromZeroAfterFifteenDigits)
{
    struct Case { long double value; const char* text; };
    const Case cases[] = {
        {6.25L * 3.2808L, "20.51"},  // 20.505 computed
        {0.125L, "0.13"}, {2.675, "2.68"},  // the double nearest 2.675 lies just below it
        {1.005, "1.01"}, {-0.125L, "-0.13"}, {-0.004L, "0.00"}, {0.004L, "0.00"}, {0.005L, "0.01"},
        {0.0049999L, "0.00"}, {12.3456L, "12.35"}, {99.995L, "100.00"}, {1234567.891L, "1234567.89"},
        {1e20L, "100000000000000000000.00"}, {0, "0.00"}, {-0.0L, "0.00"}, {1e-30L, "0.00"},
        {0.00499999999999999L, "0.00"}, {0.000000000000005L, "0.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFixed2(c.value), c.text) << static_cast<double>(c.value);
}

TEST(PipeRecord, FieldsAndDefaults)
{
    EXPECT_EQ(PipeField("a|b|c|", 2), "b");
    EXPECT_EQ(PipeField(" a \t|  b c |", 2), "b c");
    EXPECT_EQ(PipeField("a|b|c", 3), "");  // unterminated
    EXPECT_EQ(PipeField("a|b|", 7), "");
    EXPECT_EQ(PipeField("\x01x\x7f|", 1), "x\x7f");
    EXPECT_EQ(PipeField(std::string("a\0b|", 4), 1), std::string("a\0b", 3));

    EXPECT_EQ(NumberOrDefault("12.5", "0"), 12.5L);
    EXPECT_EQ(NumberOrDefault("", "0"), 0);
    EXPECT_EQ(NumberOrDefault("n/a", "0"), 0);

    const std::string skipped = " #;[^`{~";
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(IsSkippedLeadChar(static_cast<char>(c)), skipped.find(static_cast<char>(c)) != std::string::npos) << c;
}

namespace {

long double FromChars(const std::string& text)
{
    long double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

}  // namespace

TEST(NumberText, ShortcutsAgreeWithTheExactConversions)
{
    // Reading and formatting take a shortcut for common values; compare them
    // with the library's exactly rounded conversions over many values.
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-6, 16);
    std::uniform_int_distribution<int> decimals(0, 8);
    for (int i = 0; i < 200000; ++i) {
        const long double v = static_cast<long double>(mantissa(random)) * std::pow(10.0L, exponent(random)) *
                              (1 + static_cast<long double>(mantissa(random)) * 1e-17L);
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14).ptr;
        ASSERT_EQ(FromChars(FormatGeneral(v)), FromChars(std::string(buffer, end))) << static_cast<double>(v);

        // A decimal text as a person types it.
        const int places = decimals(random);
        std::string text = std::to_string(static_cast<long long>(mantissa(random) * 1e6));
        if (places > 0 && static_cast<int>(text.size()) > places) text.insert(text.size() - places, ".");
        long double read = 0;
        double readDouble = 0;
        ASSERT_TRUE(TryReadNumber(text, read));
        ASSERT_TRUE(TryReadNumber(text, readDouble));
        ASSERT_EQ(read, FromChars(text)) << text;
        double exact = 0;
        std::from_chars(text.data(), text.data() + text.size(), exact);
        ASSERT_EQ(readDouble, exact) << text;
    }
}

namespace {

// Values on which a shortcut could go wrong: exact halves at the second
// decimal and at the fifteenth digit, the edges of every decade, the ends
// of the ranges, and the cases of the tables above.
std::vector<long double> EdgeValues()
{
    std::vector<long double> values{0, 6.25L * 3.2808L, 0.125L, 2.675, 1.005, 0.004L, 0.005L, 0.0049999L, 12.3456L,
                                    99.995L, 1234567.891L, 1e20L, 1e-30L, 0.00499999999999999L, 0.000000000000005L,
                                    806, 1.5L, 883.5L, 0.1L + 0.2L, 123456789012345678.0L, 0.000012L, 2.25L,
                                    1.0L / 3, 123456789012345.5L, 123456789012344.5L, 999999999999999.5L,
                                    99999999999999.5L, std::numeric_limits<long double>::max(),
                                    std::numeric_limits<long double>::min(),
                                    std::numeric_limits<long double>::denorm_min(),
                                    std::numeric_limits<double>::max(), std::numeric_limits<double>::min()};
    for (int e = -25; e <= 25; ++e) {
        const long double p = std::pow(10.0L, e);
        for (long double v : {p, std::nextafter(p, 0.0L), std::nextafter(p, 2 * p), p / 2, p * 5, 0.995L * p,
                              0.994999999999999L * p, 1.005L * p})
            values.push_back(v);
    }
    for (long long n = 0; n < 2000; ++n) values.push_back((static_cast<long double>(n) + 0.5L) / 100);
    return values;
}

}  // namespace

TEST(NumberText, FastFormatsGiveTheReferenceTextForEveryValue)
{
    auto agree = [](long double v) {
        for (long double x : {v, -v}) {
            ASSERT_EQ(FormatFixed2(x), test::ReferenceFormatFixed2(x)) << std::setprecision(25) << x;
            ASSERT_EQ(FormatGeneral(x), test::ReferenceFormatGeneral(x)) << std::setprecision(25) << x;
        }
    };
    for (long double v : EdgeValues()) agree(v);
    for (long double v : {std::numeric_limits<long double>::infinity(), std::numeric_limits<long double>::quiet_NaN()})
        agree(v);

    // A fixed seed, so that a failure comes back the same way.
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-8, 22);
    std::uniform_int_distribution<long long> cents(0, 99'999'999'999LL);
    for (int i = 0; i < 150'000; ++i) {
        // Magnitudes a cell meets, in long double.
        agree(static_cast<long double>(mantissa(random)) * std::pow(10.0L, exponent(random)) * 3.2808L);
        // Decimal halves and quarters, where rounding turns.
        agree((static_cast<long double>(cents(random)) + 0.5L) / 100);
        agree(static_cast<long double>(cents(random)) / 1000 + 0.0025L);
        // Any double at all.
        std::uint64_t bits = random();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d)) agree(d);
    }
}

// Two decimals turn where the 15-digit value reaches a half-hundredth, a
// hair below the half itself; the shortcuts must turn exactly there, at the
// half, and just beside both, for amounts of every size.
TEST(NumberText, TwoDecimalsTurnWhereTheFifteenDigitValueReachesAHalf)
{
    constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
    std::mt19937_64 random(20261213);
    std::uniform_int_distribution<int> digits(1, 15);
    int turns = 0;
    for (int i = 0; i < 20'000; ++i) {
        std::uint64_t limit = 1;  // hundredths of up to 1 to 15 digits
        for (int d = digits(random); d > 0; --d) limit *= 10;
        const auto k = static_cast<long double>(random() % limit);
        const long double half = (k + 0.5L) / 100;
        const long double digit15 = std::pow(10.0L, std::floor(std::log10(half)) - 14);
        const long double turn = half - digit15 / 2;
        long double below = turn, above = turn;
        for (int step = 0; step < 6; ++step) {
            below = std::nextafter(below, -kInfinity);
            above = std::nextafter(above, kInfinity);
        }
        for (long double v = below; v <= above; v = std::nextafter(v, kInfinity)) {
            ASSERT_EQ(FormatFixed2(v), test::ReferenceFormatFixed2(v)) << std::setprecision(25) << v;
            ASSERT_EQ(FormatFixed2(-v), test::ReferenceFormatFixed2(-v)) << std::setprecision(25) << v;
        }
        if (test::ReferenceFormatFixed2(below) != test::ReferenceFormatFixed2(above)) ++turns;
        for (long double off : {0.0L, 0.5L, 1.0L, 2.0L, 3.0L, 100.0L})
            for (long double v : {half + half * off * 1e-14L, half - half * off * 1e-14L})
                ASSERT_EQ(FormatFixed2(v), test::ReferenceFormatFixed2(v)) << std::setprecision(25) << v;
    }
    // The neighbourhoods do straddle the turns (below 10^15 hundredths, where
    // a 15-digit value still has digits past the second decimal).
    EXPECT_GT(turns, 15'000) << "of 20,000";
}

TEST(NumberText, AValueTooSmallToHoldIsZeroHoweverItIsWritten)
{
    const std::string zeros399(399, '0');
    const std::string inFull = "0." + zeros399 + "1";  // 1e-400 written out
    // Beyond even the 80-bit range: zero for both types.
    for (const std::string& text : {std::string("1e-5000"), "0." + std::string(5000, '0') + "1",
                                    "-0." + std::string(5000, '0') + "1", "000." + std::string(4999, '0') + "9e-1"}) {
        long double extended = -1;
        double plain = -1;
        ASSERT_TRUE(TryReadNumber(text, extended)) << text.size();
        ASSERT_TRUE(TryReadNumber(text, plain)) << text.size();
        EXPECT_EQ(extended, 0);
        EXPECT_EQ(plain, 0);
        EXPECT_EQ(FormatGeneral(extended), "0");
        EXPECT_EQ(FormatFixed2(plain), "0.00");
    }
    // Beyond the 64-bit range only: the two spellings read alike in each type.
    for (const std::string& text : {inFull, "-" + inFull, "0.0" + zeros399 + "5e1", "." + zeros399 + "1"}) {
        double plain = -1;
        ASSERT_TRUE(TryReadNumber(text, plain)) << text.substr(0, 8);
        EXPECT_EQ(plain, 0);
        EXPECT_EQ(ReadDouble(text), ReadDouble("1e-400"));
        EXPECT_EQ(FormatGeneral(plain), "0");
        EXPECT_EQ(FormatFixed2(plain), "0.00");
    }
    EXPECT_EQ(ReadNumber(inFull), ReadNumber("1e-400"));
    EXPECT_EQ(FormatFixed2(ReadNumber(inFull)), "0.00");
    // Written in the general format, it reads back as the same value.
    EXPECT_EQ(FormatGeneral(ReadNumber("1e-400")), inFull);

    // A huge value stays no value, whichever way its exponent points.
    for (const std::string& text : {"1" + std::string(400, '0') + "e-10", std::string("1e400"),
                                    std::string("0.0001e400"), "-" + std::string(320, '9')}) {
        double plain = -1;
        EXPECT_FALSE(TryReadNumber(text, plain)) << text.substr(0, 12);
        EXPECT_THROW(ReadDouble(text), QuillonError);
    }
}
