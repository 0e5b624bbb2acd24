#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string_view>

// A decimal integer that fits 64 bits, with an optional leading '+' or '-'. Anything else,
// including a value out of range, is not an integer.
bool parseInteger(std::string_view token, long long &value);

// A finite decimal number: optional sign, digits with an optional point, optional exponent.
// NaN, infinities, hexadecimal forms and values too large for a double are refused.
bool parseReal(std::string_view token, double &value);

// True when a and b differ by at most 10^-precision. Both came from decimal text, so each may
// be off by half a unit in the last place of a double; the allowance grows by a few such units
// of the larger magnitude (and 1e-12 for values near zero), so that 1.3 against 1.2 passes
// with precision 1. Inline: it runs once for every pair of numbers.
inline bool realsMatch(double a, double b, int precision)
{
    static constexpr double Tolerance[] = {1, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9};
    const double tolerance = Tolerance[std::clamp(precision, 0, 9)];
    const double representation = 4 * DBL_EPSILON * std::max(std::fabs(a), std::fabs(b)) + 1e-12;
    return std::fabs(a - b) <= tolerance + representation;
}
