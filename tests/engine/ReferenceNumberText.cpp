#include "tests/engine/ReferenceNumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::test {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

std::string ReferenceFormatGeneral(long double value)
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

std::string ReferenceFormatFixed2(long double value)
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

}  // namespace quillon::test
