#pragma once
// The two number formats as the program first wrote them: plain string work
// over a correctly rounded conversion, slow and easy to check by eye. The
// fast formatters of engine/NumberText.h must give the same text for every
// value; the tests hold them to this.

#include <string>

namespace quillon::test {

// Up to 15 significant digits, no trailing zeros, no exponent, never "-0".
std::string ReferenceFormatGeneral(long double value);
// Two decimals: first 15 significant digits, then halves away from zero.
std::string ReferenceFormatFixed2(long double value);

}  // namespace quillon::test
