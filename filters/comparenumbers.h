#pragma once

#include "filterrule.h"
#include "verdict.h"

#include <string_view>

// Accepts when the numbers of the first line (or of every line, for a multi-line rule) are
// equal: integers exactly, floats within 10^-precision. A single-number rule wants exactly one
// number per line; a many-number rule wants the same count in the output as in the answer.
// Blanks and tabs around the numbers do not matter.
Verdict compareNumbers(std::string_view output, std::string_view answer, const FilterRule &rule);
