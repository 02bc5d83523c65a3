#include "engine/NumberText.h"

#include "engine/Errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <string>
#include <system_error>

namespace quillon {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of a number text that passed the syntax check.
struct NumberParts {
    bool negative = false;
    std::string mantissa;  // digits and ".", no sign
    std::string exponent;  // sign and digits, empty when none
    bool hasDigits = false;
};

bool Split(std::string_view text, NumberParts& parts)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    bool dot = false;
    while (i < n && IsDigit(text[i])) {
        parts.mantissa += text[i++];
        parts.hasDigits = true;
    }
    if (i < n && text[i] == '.') {
        dot = true;
        parts.mantissa += text[i++];
        while (i < n && IsDigit(text[i])) {
            parts.mantissa += text[i++];
            parts.hasDigits = true;
        }
    }
    if (!parts.hasDigits && !dot) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) parts.exponent += text[i++];
        const std::size_t digitsStart = i;
        while (i < n && IsDigit(text[i])) parts.exponent += text[i++];
        if (i == digitsStart) return false;
    }
    while (i < n && text[i] == ' ') ++i;
    return i == n;
}

// Exact powers of ten: 10^27 still fits the 64-bit significand of long double.
long double Pow10(int k)
{
    static const auto table = [] {
        std::array<long double, 28> t{};
        long double p = 1;
        for (long double& v : t) {
            v = p;
            p *= 10;
        }
        return t;
    }();
    return table[static_cast<std::size_t>(k)];
}

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
        exponent = std::stoi(parts.exponent);
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
    std::string clean = parts.mantissa;
    if (!parts.exponent.empty()) clean += "e" + parts.exponent;
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

// The value rounded to 15 significant digits: the digits and the decimal
// exponent of the first one (value = d.dddd x 10^exponent).
struct Digits15 {
    std::string digits;  // exactly 15
    int exponent = 0;
    bool negative = false;
};

// Most cell values: scale by an exact power of ten and round once; the
// product is within 6e-5 of the exact one, so away from a half it rounds the
// same as the exact decimal expansion would.
bool ToDigits15Fast(long double value, Digits15& result)
{
    const long double a = std::fabs(value);
    if (!(a >= 1e-4L && a < 1e15L)) return false;
    const int e = static_cast<int>(std::floor(std::log10(a)));
    const int k = 14 - e;
    if (k < 0 || k > 27) return false;
    const long double m = a * Pow10(k);
    if (m < 1e14L || m >= 1e15L - 1) return false;
    const long double fraction = m - std::floor(m);
    if (std::fabs(fraction - 0.5L) < 1e-3L) return false;
    const auto digits = static_cast<std::uint64_t>(std::floor(m) + (fraction > 0.5L ? 1 : 0));
    result.digits = std::to_string(digits);
    if (result.digits.size() != 15) return false;
    result.exponent = e;
    result.negative = value < 0;
    return true;
}

Digits15 ToDigits15(long double value)
{
    Digits15 fast;
    if (ToDigits15Fast(value, fast)) return fast;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    (void)ec;
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    Digits15 result;
    if (!text.empty() && text[0] == '-') {
        result.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (IsDigit(c)) result.digits += c;
    result.exponent = std::stoi(std::string(text.substr(e + 1)));
    return result;
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

double ReadDouble(std::string_view text)
{
    double value = 0;
    if (!Read(text, value)) ThrowConversionError(text);
    return value;
}

std::string FormatGeneral(long double value)
{
    if (value == 0 || !std::isfinite(value)) return "0";
    Digits15 d = ToDigits15(value);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent >= 0) {
        const int intDigits = d.exponent + 1;
        if (n <= intDigits) {
            out += d.digits;
            out.append(static_cast<std::size_t>(intDigits - n), '0');
        } else {
            out += d.digits.substr(0, static_cast<std::size_t>(intDigits));
            out += '.';
            out += d.digits.substr(static_cast<std::size_t>(intDigits));
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += d.digits;
    }
    return out;
}

std::string FormatFixed2(long double value)
{
    if (value == 0 || !std::isfinite(value)) return "0.00";
    const Digits15 d = ToDigits15(value);
    // value x 100 = digits x 10^(exponent - 12); keep the integer part, round on the first dropped digit.
    const int shift = d.exponent - 12;
    std::string hundredths;
    if (shift >= 0) {
        hundredths = d.digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const int drop = -shift;
        const int keep = 15 - drop;
        char firstDropped = '0';
        if (keep >= 0) {
            hundredths = d.digits.substr(0, static_cast<std::size_t>(keep));
            if (drop > 0) firstDropped = d.digits[static_cast<std::size_t>(keep)];
        }  // fewer than 0 kept: the first dropped digit is a leading 0
        if (hundredths.empty()) hundredths = "0";
        if (firstDropped >= '5') {  // halves go away from zero
            int i = static_cast<int>(hundredths.size()) - 1;
            while (i >= 0 && hundredths[static_cast<std::size_t>(i)] == '9') hundredths[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                hundredths.insert(hundredths.begin(), '1');
            else
                ++hundredths[static_cast<std::size_t>(i)];
        }
    }
    const std::size_t first = hundredths.find_first_not_of('0');
    hundredths = first == std::string::npos ? std::string("0") : hundredths.substr(first);
    const bool zero = hundredths == "0";
    if (hundredths.size() < 3) hundredths.insert(0, 3 - hundredths.size(), '0');
    std::string out = (d.negative && !zero) ? "-" : "";
    out += hundredths.substr(0, hundredths.size() - 2);
    out += '.';
    out += hundredths.substr(hundredths.size() - 2);
    return out;
}

}  // namespace quillon
