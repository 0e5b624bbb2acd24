#pragma once

#include <cstddef>
#include <string_view>

// True when every token of `line` is an integer with an optional leading '+' or '-'. Those of at
// most 18 digits always fit 64 bits; those of more are passed to `isInteger` with the position
// where they start, to be read. False may also say "not sure", where there is no fast reading
// here. The line is read 64 bytes at a time as bit masks of its digits, separators and signs, so
// that no step waits on where the previous number ended. Bytes past the line's end are never
// read.
using LongTokenCheck = bool (*)(std::string_view line, size_t start);
bool holdsIntegers(std::string_view line, LongTokenCheck isInteger);
