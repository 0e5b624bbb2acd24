#pragma once

#include "filterrule.h"

#include <cstddef>
#include <string_view>

// True exactly when the number comparison accepts the two lines, found without the cost of a
// message: the numbers are read eight bytes at a time, with no branch on where their digits
// end, and an output line written exactly as the answer's (but for blanks at its end) is only
// checked for holding numbers. What the quick readers below cannot be sure of goes to the
// parsers of numberparse.h.
bool numbersMatchQuickly(std::string_view output, std::string_view answer, const FilterRule &rule);

// The quick readers of the number that starts at byte `pos` of a line and ends at a separator or
// the line's end: its length, with its value, or 0 where they cannot be sure. They read, with
// the parsers' values, every integer of at most 19 digits, and every float without an exponent
// of at most 15 digits on either side of the point and 19 in all, whose digits make an integer
// of at most 2^53 (one division by a power of ten, both operands exact, rounds it correctly).
// Bytes past the line's end are never read.
size_t readIntegerQuickly(std::string_view line, size_t pos, long long &value);
size_t readRealQuickly(std::string_view line, size_t pos, double &value);
