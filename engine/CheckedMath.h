#pragma once
// Floating-point steps that raise the standard errors instead of producing
// NaN or infinity, the way the formulas' failures are reported to the user.

#include "engine/Errors.h"

#include <cmath>
#include <string>

namespace quillon::checked {

[[noreturn]] inline void Fail(std::string_view text) { throw QuillonError(std::string(text)); }

inline long double Finite(long double x)
{
    if (std::isnan(x)) Fail(kInvalidOperation);
    if (std::isinf(x)) Fail(kOverflow);
    return x;
}

inline long double Div(long double a, long double b)
{
    if (b == 0) Fail(a == 0 ? kInvalidOperation : kDivisionByZero);
    return Finite(a / b);
}

inline long double Ln(long double x)
{
    if (x == 0) Fail(kDivisionByZero);
    if (x < 0) Fail(kInvalidOperation);
    return Finite(std::log(x));
}

inline long double Log10(long double x)
{
    if (x == 0) Fail(kDivisionByZero);
    if (x < 0) Fail(kInvalidOperation);
    return Finite(std::log10(x));
}

inline long double Sqrt(long double x)
{
    if (x < 0) Fail(kInvalidOperation);
    return std::sqrt(x);
}

inline long double Exp(long double x) { return Finite(std::exp(x)); }

}  // namespace quillon::checked
