#pragma once
// Reading and writing numbers as text, always with "." as decimal separator,
// whatever the user's locale says.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The numeric-text rule: optional spaces, optional sign, digits with an
// optional "." and fraction, optional exponent (E/e, optional sign, digits),
// optional spaces. At least one digit or the "." must stand before the
// exponent, so "." alone reads as 0 and a lone sign is no number.
bool IsNumberSyntax(std::string_view text);

// Read a number; false when the text breaks the rule (or the value overflows).
// A value too small for the type reads as 0, whether written with an exponent
// ("1e-400") or in full ("0.000…1").
bool TryReadNumber(std::string_view text, long double& value);
bool TryReadNumber(std::string_view text, double& value);

// Read a number or raise the conversion error naming the text.
long double ReadNumber(std::string_view text);
double ReadDouble(std::string_view text);

// A number in the plain form ("-12.375": an optional sign, digits, an
// optional "." and digits, nothing else, at most 15 digits in all, zeros
// before the first included) and its digits: the value is
// -digits / 10^fraction when negative, digits / 10^fraction otherwise.
struct PlainDecimal {
    std::uint64_t digits = 0;
    std::uint32_t fraction = 0;  // of the digits, those after the "."
    bool negative = false;
};
inline constexpr std::size_t kPlainDecimalDigits = 15;
// True for a text in the plain form, value then exactly what ReadDouble
// gives; false for any other text, which ReadDouble then reads or refuses.
// (Up to 15 digits, the general format writes such a value as the decimal
// itself with its trailing fraction zeros dropped.)
bool ReadPlainDecimal(std::string_view text, double& value, PlainDecimal& decimal);

// Up to 15 significant digits, no trailing zeros, no exponent, never "-0".
std::string FormatGeneral(long double value);

// True only when the text is exactly what FormatGeneral writes for the
// double it reads as: at most 15 characters, a "-" only before a value not
// zero, no "+", blanks or exponent, no leading zeros but the one before
// ".", and a "." only before digits not ending in "0". (A decimal of up to
// 15 significant digits reads as the double nearest it, and that double
// rounded to 15 digits is the same decimal.) A list of such values can keep
// the texts it read instead of writing them again.
bool IsGeneralText(std::string_view text);

// Two decimals as a person rounds by hand: first to 15 significant digits,
// then exact halves away from zero; a value rounding to zero shows "0.00".
std::string FormatFixed2(long double value);

// The same texts added to the end of out, so that a cell can be written in
// place without a string of its own per number.
void AppendGeneral(std::string& out, long double value);
void AppendFixed2(std::string& out, long double value);
// A whole number of hundredths as FormatFixed2 writes it ("12.05"; "-" only
// when negative and not zero).
void AppendHundredths(std::string& out, std::uint64_t hundredths, bool negative = false);

}  // namespace quillon
