// The one-pass number reader against the reader it replaced: the same
// answer, to the last bit, for every text, in both types.

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "tests/engine/ReferenceNumberRead.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

template <typename Float>
bool SameBits(Float a, Float b)
{
    // The value bytes only (long double has padding after its ten).
    constexpr std::size_t kBytes = sizeof(Float) > sizeof(double) ? 10 : sizeof(Float);
    return std::memcmp(&a, &b, kBytes) == 0;
}

// An optional sign, digits, an optional "." and digits, nothing else; one
// digit at least, fifteen at most.
bool IsPlainForm(const std::string& text)
{
    std::size_t i = 0, digits = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++digits;
    if (i < text.size() && text[i] == '.') ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++digits;
    return i == text.size() && digits >= 1 && digits <= kPlainDecimalDigits;
}

// Both readers, both types; the first difference fails the test. Raising
// an error costs far more than reading, so the raising readers are checked
// on request.
void ExpectSameReading(const std::string& text, bool alsoRaising = true)
{
    long double extended = 0, extendedBefore = 0;
    const bool readExtended = TryReadNumber(text, extended);
    ASSERT_EQ(readExtended, test::ReferenceTryReadNumber(text, extendedBefore)) << '"' << text << '"';
    ASSERT_TRUE(!readExtended || SameBits(extended, extendedBefore))
        << '"' << text << "\" " << static_cast<double>(extended) << " " << static_cast<double>(extendedBefore);
    double plain = 0, plainBefore = 0;
    const bool readPlain = TryReadNumber(text, plain);
    ASSERT_EQ(readPlain, test::ReferenceTryReadNumber(text, plainBefore)) << '"' << text << '"';
    ASSERT_TRUE(!readPlain || SameBits(plain, plainBefore)) << '"' << text << "\" " << plain << " " << plainBefore;
    // The plain form's reader: exactly the texts of that form, with the same
    // value and the digits as written.
    PlainDecimal decimal;
    double plainDecimal = 0;
    const bool readPlainDecimal = ReadPlainDecimal(text, plainDecimal, decimal);
    ASSERT_EQ(readPlainDecimal, IsPlainForm(text)) << '"' << text << '"';
    if (readPlainDecimal) {
        ASSERT_TRUE(readPlain && SameBits(plainDecimal, plain)) << '"' << text << '"';
        std::string digits;
        for (const char c : text)
            if (c >= '0' && c <= '9') digits += c;
        const std::size_t dot = text.find('.');
        ASSERT_EQ(decimal.digits, std::stoull(digits)) << '"' << text << '"';
        ASSERT_EQ(decimal.fraction, dot == std::string::npos ? 0u : text.size() - dot - 1) << '"' << text << '"';
        ASSERT_EQ(decimal.negative, text[0] == '-') << '"' << text << '"';
    }
    if (!alsoRaising) return;
    if (readExtended) {
        ASSERT_TRUE(SameBits(ReadNumber(text), extended)) << text;
    } else {
        ASSERT_THROW(ReadNumber(text), QuillonError) << text;
    }
    if (readPlain) {
        ASSERT_TRUE(SameBits(ReadDouble(text), plain)) << text;
    } else {
        ASSERT_THROW(ReadDouble(text), QuillonError) << text;
    }
}

// A number text much as a catalogue or a person writes one, now and then
// with what the plain form leaves out: blanks, "+", an exponent, a stray
// character, many digits, leading zeros, a lone "." or sign.
std::string RandomNumberText(std::mt19937_64& random)
{
    auto below = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    auto digits = [&](unsigned count) {
        std::string out;
        for (unsigned i = 0; i < count; ++i) out += static_cast<char>('0' + below(10));
        return out;
    };
    // Counts gathered around the 15 and 19 digits where the short route ends.
    auto count = [&] {
        switch (below(4)) {
        case 0: return below(4);
        case 1: return below(9);
        case 2: return 12 + below(10);
        default: return below(30);
        }
    };
    std::string text;
    if (below(8) == 0) text += std::string(1 + below(2), ' ');
    switch (below(6)) {
    case 0: text += '-'; break;
    case 1: text += below(4) == 0 ? "+" : "-"; break;
    default: break;
    }
    if (below(5) == 0) text += std::string(1 + below(20), '0');
    text += digits(count());
    if (below(2) == 0) {
        text += '.';
        if (below(5) == 0) text += std::string(1 + below(25), '0');
        text += digits(count());
    }
    if (below(10) == 0) {
        text += below(2) == 0 ? 'e' : 'E';
        if (below(2) == 0) text += below(2) == 0 ? '-' : '+';
        text += digits(below(5));
    }
    if (below(10) == 0) text += std::string(1 + below(2), ' ');
    if (below(40) == 0) text.insert(below(static_cast<unsigned>(text.size()) + 1), 1, "x.-+ e,\t"[below(8)]);
    return text;
}

}  // namespace

TEST(NumberRead, TheOnePassReaderGivesTheOldValueForEveryText)
{
    const std::vector<std::string> edges{
        "", ".", "-", "+", "-.", "+.", "0", "-0", "+0", "-0.0", ".5", "-.5", "5.", "-5.", "00", "007.50",
        "0.000", " 1", "1 ", "1e5", "1E+5", "1.5e-3", "e5", "1e", "1..2", "1.2.3", "--1", "+-1", "1-", "12a",
        "999999999999999", "9999999999999999", "999999999999999.9", "0.000000000000001",
        "000000000000000000001", "0.0000000000000000001", "0.00000000000000000001",
        "9999999999999999999", "99999999999999999999", "18446744073709551615", "18446744073709551616",
        "1844674407370955161.6", "123456789012345678901234567890", "-9223372036854775808",
        "0.1", "0.2", "0.3", "2.675", "1.005", "806", "883.5", "1.05", "0.05", "-150", "6",
        "179769313486231570000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000",
        "1e308", "1e309", "1e-308", "4.9e-324", "1e-330", "1e4932", "1e4933", "1e-4950", "1e-5000",
        "0." + std::string(320, '0') + "1", std::string(400, '9'), std::string(20, '0') + "." + std::string(20, '0')};
    for (const std::string& text : edges) ASSERT_NO_FATAL_FAILURE(ExpectSameReading(text));

    // A fixed seed, so that a failure comes back the same way.
    std::mt19937_64 random(20261210);
    for (int i = 0; i < 2'000'000; ++i) ASSERT_NO_FATAL_FAILURE(ExpectSameReading(RandomNumberText(random), i % 64 == 0));
    // Values of every size in the shortest text that reads back as them.
    for (int i = 0; i < 100'000; ++i) {
        const std::uint64_t bits = random();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d)) continue;
        char buffer[400];
        for (const auto format : {std::chars_format::fixed, std::chars_format::general}) {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, d, format).ptr;
            ASSERT_NO_FATAL_FAILURE(ExpectSameReading(std::string(buffer, end), false));
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSameReading(std::to_string(d), false));
    }
}
