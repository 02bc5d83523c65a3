#include "engine/NumberText.h"

#include "engine/Errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace quillon {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of a number text that passed the syntax check, as views into it.
struct NumberParts {
    bool negative = false;
    std::string_view mantissa;  // digits and ".", no sign
    std::string_view exponent;  // sign and digits, empty when none
    bool hasDigits = false;
};

bool Split(std::string_view text, NumberParts& parts)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && *p == ' ') ++p;
    if (p < end && (*p == '+' || *p == '-')) parts.negative = *p++ == '-';
    const char* const mantissa = p;
    bool dot = false;
    while (p < end && IsDigit(*p)) {
        ++p;
        parts.hasDigits = true;
    }
    if (p < end && *p == '.') {
        dot = true;
        ++p;
        while (p < end && IsDigit(*p)) {
            ++p;
            parts.hasDigits = true;
        }
    }
    parts.mantissa = std::string_view(mantissa, static_cast<std::size_t>(p - mantissa));
    if (!parts.hasDigits && !dot) return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const char* const exponent = p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        const char* const digits = p;
        while (p < end && IsDigit(*p)) ++p;
        if (p == digits) return false;
        parts.exponent = std::string_view(exponent, static_cast<std::size_t>(p - exponent));
    }
    while (p < end && *p == ' ') ++p;
    return p == end;
}

// Exact powers of ten: 10^27 still fits the 64-bit significand of long double.
constexpr std::array<long double, 28> kPow10 = [] {
    std::array<long double, 28> t{};
    long double p = 1;
    for (long double& v : t) {
        v = p;
        p *= 10;
    }
    return t;
}();

long double Pow10(int k) { return kPow10[static_cast<std::size_t>(k)]; }

// The same powers as doubles, all exact up to 10^22: a double's reads take
// them as they stand, instead of each converting a long double through the
// floating-point stack and memory.
constexpr std::array<double, 23> kPow10Double = [] {
    std::array<double, 23> t{};
    double p = 1;
    for (double& v : t) {
        v = p;
        p *= 10;
    }
    return t;
}();

// 10^k in the type read: for a double, k at most 22.
template <typename Float>
Float PowerOfTen(int k)
{
    if constexpr (sizeof(Float) > sizeof(double)) {
        return Pow10(k);
    } else {
        return kPow10Double[static_cast<std::size_t>(k)];
    }
}

// A whole number of at most the type's exact digits in that type; for a
// double (up to 15 digits, below 2^63) by the one signed conversion, not
// the unsigned one's test and halving.
template <typename Float>
Float WholeNumber(std::uint64_t n)
{
    if constexpr (sizeof(Float) > sizeof(double)) {
        return static_cast<Float>(n);
    } else {
        return static_cast<Float>(static_cast<std::int64_t>(n));
    }
}

constexpr std::array<std::uint64_t, 20> kPow10Int = [] {
    std::array<std::uint64_t, 20> t{};
    std::uint64_t p = 1;
    for (std::uint64_t& v : t) {
        v = p;
        p *= 10;
    }
    return t;
}();

// The common short number read with one correctly rounded operation: an
// integer significand and a power of ten both exact in the target type.
template <typename Float>
bool ReadFast(const NumberParts& parts, Float& value)
{
    constexpr bool kExtended = sizeof(Float) > sizeof(double);
    constexpr int kMaxDigits = kExtended ? 19 : 15;
    constexpr int kMaxPower = kExtended ? 27 : 22;
    std::uint64_t significand = 0;
    int digits = 0;
    int fraction = 0;
    bool afterDot = false;
    for (char c : parts.mantissa) {
        if (c == '.') {
            afterDot = true;
            continue;
        }
        if (afterDot) ++fraction;
        if (digits == 0 && c == '0') continue;
        if (++digits > kMaxDigits) return false;
        significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
    }
    int exponent = 0;
    if (!parts.exponent.empty()) {
        if (parts.exponent.size() > 4) return false;
        bool negative = false;
        for (char c : parts.exponent) {
            if (c == '-') negative = true;
            if (IsDigit(c)) exponent = exponent * 10 + (c - '0');
        }
        if (negative) exponent = -exponent;
    }
    const int power = exponent - fraction;
    if (power > kMaxPower || power < -kMaxPower) return false;
    const Float m = WholeNumber<Float>(significand);
    const Float p = PowerOfTen<Float>(power < 0 ? -power : power);
    const Float v = power < 0 ? m / p : m * p;
    value = parts.negative ? -v : v;
    return true;
}

// The power of ten of the first significant digit (value = d.ddd x 10^result),
// saturated far beyond any floating range; only called for a text with a
// non-zero digit.
long long DecimalMagnitude(const NumberParts& parts)
{
    constexpr long long kFar = 1'000'000'000;
    long long exponent = 0;
    bool negativeExponent = false;
    for (char c : parts.exponent) {
        if (c == '-') negativeExponent = true;
        if (IsDigit(c) && exponent < kFar) exponent = exponent * 10 + (c - '0');
    }
    if (negativeExponent) exponent = -exponent;
    const std::size_t dot = std::min(parts.mantissa.find('.'), parts.mantissa.size());
    const std::size_t first = parts.mantissa.find_first_not_of("0.");
    if (first == std::string::npos) return 0;
    // Digits of the integer part from the first significant one, or the zeros
    // after the "." that stand before it.
    const long long position = first < dot ? static_cast<long long>(dot - first) - 1
                                           : -static_cast<long long>(first - dot);
    return position + exponent;
}

// The form nearly every catalogue and price field takes ("-12.375": a
// sign, digits, one "." and digits, nothing else, at most maxDigits digits)
// taken apart in one pass: the digits as one whole number, how many of them
// follow the ".", and the sign. Leading zeros count as digits here too:
// fewer texts qualify, none reads otherwise.
inline __attribute__((always_inline)) bool ScanPlain(std::string_view text, std::size_t maxDigits,
                                                    PlainDecimal& decimal)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    std::uint64_t significand = 0;
    auto digitRun = [&] {  // the digits from p on, into the significand
        const char* const start = p;
        for (; p < end && static_cast<unsigned char>(*p - '0') <= 9; ++p)
            significand = significand * 10 + static_cast<unsigned char>(*p - '0');
        return static_cast<std::size_t>(p - start);
    };
    std::size_t digits = digitRun();
    std::size_t fraction = 0;
    if (p < end && *p == '.') {
        ++p;
        fraction = digitRun();
        digits += fraction;
    }
    // A digit count beyond the limit may have wrapped the significand: it is not used then.
    if (p != end || digits == 0 || digits > maxDigits) return false;
    decimal.digits = significand;
    decimal.fraction = static_cast<std::uint32_t>(fraction);
    decimal.negative = negative;
    return true;
}

// The plain form read with the one rounding ReadFast makes: the
// significand and the power are those it finds, so the value is the same to
// the last bit; every other text goes the full way.
template <typename Float>
Float PlainValue(const PlainDecimal& decimal)
{
    const Float m = WholeNumber<Float>(decimal.digits);
    const Float v = decimal.fraction == 0 ? m : m / PowerOfTen<Float>(static_cast<int>(decimal.fraction));
    return decimal.negative ? -v : v;
}

template <typename Float>
bool ReadPlain(std::string_view text, Float& value)
{
    constexpr std::size_t kMaxDigits = sizeof(Float) > sizeof(double) ? 19 : 15;
    PlainDecimal decimal;
    if (!ScanPlain(text, kMaxDigits, decimal)) return false;
    value = PlainValue<Float>(decimal);
    return true;
}

// Any text the numeric-text rule allows.
template <typename Float>
bool ReadFull(std::string_view text, Float& value)
{
    NumberParts parts;
    if (!Split(text, parts)) return false;
    if (!parts.hasDigits) {  // "." alone reads as 0
        value = parts.negative ? -Float(0) : Float(0);
        return true;
    }
    if (ReadFast(parts, value)) return true;
    std::string clean(parts.mantissa);
    if (!parts.exponent.empty()) {
        clean += 'e';
        clean += parts.exponent;
    }
    Float parsed{};
    const auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), parsed);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no value at all. Which of
        // the two it is follows from where the first significant digit
        // stands, however the text writes it ("1e-400", "0.000…1").
        if (DecimalMagnitude(parts) < 0) {
            value = parts.negative ? -Float(0) : Float(0);
            return true;
        }
        return false;
    }
    if (ec != std::errc() || end != clean.data() + clean.size() || !std::isfinite(parsed)) return false;
    value = parts.negative ? -parsed : parsed;
    return true;
}

template <typename Float>
bool Read(std::string_view text, Float& value)
{
    return ReadPlain(text, value) || ReadFull(text, value);
}

// The value rounded to 15 significant digits, as a 15-digit integer and the
// decimal exponent of its first digit: value = d.dddd x 10^exponent.
struct Digits15 {
    std::uint64_t digits = 0;  // 10^14 <= digits < 10^15
    int exponent = 0;
    bool negative = false;
};

// 10^k as the compiler reads "1ek", for k = -5 .. 15 (index k + 5); the
// negative ones are not exact, which the range check below catches.
constexpr std::array<long double, 21> kDecadeStarts{1e-5L, 1e-4L, 1e-3L, 1e-2L, 1e-1L, 1e0L,  1e1L,
                                                    1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,
                                                    1e9L,  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L};

// floor(b x log10(2)) for the binary exponents of [1e-4, 1e15).
constexpr int FloorLog10OfPow2(int b) { return (b * 1233) >> 12; }

static_assert([] {
    for (int b = -14; b <= 50; ++b) {
        double p = 1;
        for (int i = 0; i < (b < 0 ? -b : b); ++i) p = b < 0 ? p / 2 : p * 2;
        int e = 0;  // floor(log10(p)) by counting decades
        for (double d = p; d >= 10; d /= 10) ++e;
        for (double d = p; d < 1; d *= 10) --e;
        if (FloorLog10OfPow2(b) != e) return false;
    }
    return true;
}());

// The shortcuts below read the bits of the x87 extended format: a 64-bit
// significand with its leading bit, then 15 exponent bits biased by 16383.
// Where long double is another format, the exact conversions do all the work.
constexpr bool kX87Extended = std::numeric_limits<long double>::digits == 64 &&
                              std::numeric_limits<long double>::max_exponent == 16384;

// The binary exponent of a positive, normal long double (a = 1.x x 2^result).
int BinaryExponent(long double a)
{
    std::uint16_t top = 0;
    std::memcpy(&top, reinterpret_cast<const unsigned char*>(&a) + 8, sizeof top);
    return (top & 0x7fff) - 16383;
}

// Most values: scale by an exact power of ten and round once. The product
// is within half a unit in the last place (3.1e-5 below 1e15) of the exact
// one, so away from a half it rounds as the exact decimal expansion does;
// near a half, or when the estimated decade is off, the exact conversion
// decides.
bool ToDigits15Fast(long double value, Digits15& result)
{
    if constexpr (!kX87Extended) return false;
    const long double a = std::fabs(value);
    if (!(a >= 1e-4L && a < 1e15L)) return false;
    // The decade of a lies in that of its power of two or the next one up.
    int e = FloorLog10OfPow2(BinaryExponent(a));
    if (a >= kDecadeStarts[static_cast<std::size_t>(e + 6)]) ++e;
    const long double m = a * Pow10(14 - e);
    if (m < 1e14L || m >= 1e15L - 1) return false;
    // The nearest whole number: below 2^63, adding 2^63 leaves no fraction
    // bits, so the sum is rounded to a whole number in the processor's own
    // rounding (to nearest), and its 64-bit significand is 2^63 plus that
    // number (read from the bits: a conversion would switch rounding modes).
    constexpr long double kWhole = 9223372036854775808.0L;  // 2^63
    const long double sum = m + kWhole;
    if (std::fabs(m - (sum - kWhole)) > 0.5L - 1e-4L) return false;
    std::uint64_t significand = 0;
    std::memcpy(&significand, &sum, sizeof significand);
    result.digits = significand - (std::uint64_t{1} << 63);
    result.exponent = e;
    result.negative = value < 0;
    return true;
}

// The exact, correctly rounded conversion.
Digits15 ToDigits15Exact(long double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    (void)ec;
    Digits15 result;
    const char* p = buffer;
    if (*p == '-') {
        result.negative = true;
        ++p;
    }
    for (; p < end && *p != 'e'; ++p)
        if (IsDigit(*p)) result.digits = result.digits * 10 + static_cast<std::uint64_t>(*p - '0');
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    result.exponent = exponent;
    return result;
}

Digits15 ToDigits15(long double value)
{
    Digits15 fast;
    if (ToDigits15Fast(value, fast)) return fast;
    return ToDigits15Exact(value);
}

// The magnitude in hundredths as FormatFixed2 rounds it (15 digits, then
// halves away from zero), without the 15 digits: the text only turns where
// the 15-digit value crosses a half-hundredth, and that value is within
// 5e-15 of the magnitude (relative), the product x 100 within 1e-19. Where
// the product lies further than twice that from a half, its nearest whole
// number is the answer; nearer a half the digits decide.
bool HundredthsFast(long double value, std::uint64_t& hundredths)
{
    if constexpr (!kX87Extended) return false;
    const long double x = std::fabs(value) * 100;
    if (!(x < 1e13L)) return false;
    constexpr long double kWhole = 9223372036854775808.0L;  // 2^63, as in ToDigits15Fast
    const long double sum = x + kWhole;
    const long double fromWhole = std::fabs(x - (sum - kWhole));  // at most 0.5
    if (0.5L - fromWhole <= x * 1e-14L) return false;
    std::uint64_t significand = 0;
    std::memcpy(&significand, &sum, sizeof significand);
    hundredths = significand - (std::uint64_t{1} << 63);
    return true;
}

// Pairs of digits, for writing integers two digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes exactly `width` digits of n (with leading zeros) ending before end.
void WriteDigits(char* end, std::uint64_t n, int width)
{
    while (width >= 2) {
        const auto pair = static_cast<std::size_t>(n % 100) * 2;
        n /= 100;
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
        width -= 2;
    }
    if (width == 1) *--end = static_cast<char>('0' + n % 10);
}

}  // namespace

bool IsNumberSyntax(std::string_view text)
{
    NumberParts parts;
    return Split(text, parts);
}

bool TryReadNumber(std::string_view text, long double& value) { return Read(text, value); }
bool TryReadNumber(std::string_view text, double& value) { return Read(text, value); }

long double ReadNumber(std::string_view text)
{
    long double value = 0;
    if (!Read(text, value)) ThrowConversionError(text);
    return value;
}

bool ReadPlainDecimal(std::string_view text, double& value, PlainDecimal& decimal)
{
    if (!ScanPlain(text, kPlainDecimalDigits, decimal)) return false;
    value = PlainValue<double>(decimal);
    return true;
}

double ReadDouble(std::string_view text)
{
    double value = 0;
    if (!Read(text, value)) ThrowConversionError(text);
    return value;
}

void AppendGeneral(std::string& out, long double value)
{
    if (value == 0 || !std::isfinite(value)) {
        out += '0';
        return;
    }
    const Digits15 d = ToDigits15(value);
    char digits[15];
    WriteDigits(digits + 15, d.digits, 15);
    int n = 15;
    while (n > 1 && digits[n - 1] == '0') --n;
    // Whole numbers up to 10^15 and fractions down to 10^-20 fit in a small
    // buffer, written in one piece; the rest (up to thousands of digits) not.
    char small[48];
    const bool fits = d.exponent >= -20 && d.exponent < 16;
    char* p = small;
    if (!fits) out.reserve(out.size() + static_cast<std::size_t>(std::abs(d.exponent)) + 20);
    auto put = [&](const char* text, std::size_t count) {
        if (fits) {
            std::memcpy(p, text, count);
            p += count;
        } else {
            out.append(text, count);
        }
    };
    auto zeros = [&](int count) {
        if (count <= 0) return;
        if (fits) {
            std::memset(p, '0', static_cast<std::size_t>(count));
            p += count;
        } else {
            out.append(static_cast<std::size_t>(count), '0');
        }
    };
    if (d.negative) put("-", 1);
    if (d.exponent >= 0) {
        const int intDigits = d.exponent + 1;
        if (n <= intDigits) {
            put(digits, static_cast<std::size_t>(n));
            zeros(intDigits - n);
        } else {
            put(digits, static_cast<std::size_t>(intDigits));
            put(".", 1);
            put(digits + intDigits, static_cast<std::size_t>(n - intDigits));
        }
    } else {
        put("0.", 2);
        zeros(-d.exponent - 1);
        put(digits, static_cast<std::size_t>(n));
    }
    if (fits) out.append(small, static_cast<std::size_t>(p - small));
}

std::string FormatGeneral(long double value)
{
    std::string out;
    AppendGeneral(out, value);
    return out;
}

bool IsGeneralText(std::string_view text)
{
    if (text.empty() || text.size() > 15) return false;
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = *p == '-';
    if (negative) ++p;
    const char* const whole = p;
    while (p < end && IsDigit(*p)) ++p;
    if (p == whole || (*whole == '0' && p - whole > 1)) return false;
    if (p == end) return !(negative && *whole == '0');  // "0", never "-0"
    if (*p++ != '.') return false;
    const char* const fraction = p;
    while (p < end && IsDigit(*p)) ++p;
    return p == end && p > fraction && end[-1] != '0';
}

void AppendHundredths(std::string& out, std::uint64_t hundredths, bool negative)
{
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* begin = end - 3;
    const auto cents = static_cast<std::size_t>(hundredths % 100) * 2;
    begin[0] = '.';
    begin[1] = kDigitPairs[cents];
    begin[2] = kDigitPairs[cents + 1];
    // The whole part, two digits at a time from the right; most have few.
    std::uint64_t whole = hundredths / 100;
    while (whole >= 100) {
        const auto pair = static_cast<std::size_t>(whole % 100) * 2;
        whole /= 100;
        *--begin = kDigitPairs[pair + 1];
        *--begin = kDigitPairs[pair];
    }
    if (whole >= 10) {
        *--begin = kDigitPairs[whole * 2 + 1];
        *--begin = kDigitPairs[whole * 2];
    } else {
        *--begin = static_cast<char>('0' + whole);
    }
    if (negative && hundredths != 0) *--begin = '-';
    out.append(begin, static_cast<std::size_t>(end - begin));
}

void AppendFixed2(std::string& out, long double value)
{
    if (value == 0 || !std::isfinite(value)) {
        out += "0.00";
        return;
    }
    std::uint64_t nearest = 0;
    if (HundredthsFast(value, nearest)) {
        AppendHundredths(out, nearest, value < 0);
        return;
    }
    const Digits15 d = ToDigits15(value);
    // value x 100 = digits x 10^(exponent - 12); keep the integer part, round
    // on the first dropped digit (halves away from zero).
    const int shift = d.exponent - 12;
    if (shift > 4) {
        // Beyond 10^19 hundredths: the digits, then zeros, and no fraction.
        char digits[15];
        WriteDigits(digits + 15, d.digits, 15);
        if (d.negative) out += '-';
        out.append(digits, 15);
        out.append(static_cast<std::size_t>(shift - 2), '0');
        out += ".00";
        return;
    }
    std::uint64_t hundredths = 0;
    if (shift >= 0) {
        hundredths = d.digits * kPow10Int[static_cast<std::size_t>(shift)];
    } else {
        const int drop = -shift;
        if (drop <= 15) {
            // Down to the first dropped digit, then round on it.
            const std::uint64_t kept = d.digits / kPow10Int[static_cast<std::size_t>(drop - 1)];
            hundredths = kept / 10 + (kept % 10 >= 5 ? 1 : 0);
        }  // more than 15 dropped: the first dropped digit is a leading 0
    }
    AppendHundredths(out, hundredths, d.negative);
}

std::string FormatFixed2(long double value)
{
    std::string out;
    AppendFixed2(out, value);
    return out;
}

}  // namespace quillon
