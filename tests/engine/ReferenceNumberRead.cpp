#include "tests/engine/ReferenceNumberRead.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace quillon::test {
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
    const Float m = static_cast<Float>(significand);
    const Float p = static_cast<Float>(Pow10(power < 0 ? -power : power));
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

template <typename Float>
bool Read(std::string_view text, Float& value)
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

}  // namespace

bool ReferenceTryReadNumber(std::string_view text, long double& value) { return Read(text, value); }
bool ReferenceTryReadNumber(std::string_view text, double& value) { return Read(text, value); }

}  // namespace quillon::test
