#include "numberparse.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

size_t skipDigits(std::string_view text, size_t pos)
{
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos;
}

// Checks the decimal form, which also keeps out "nan", "inf" and "0x..." that the library
// parsers would take.
bool isDecimalForm(std::string_view token)
{
    size_t pos = token.empty() || (token[0] != '+' && token[0] != '-') ? 0 : 1;
    size_t digitsEnd = skipDigits(token, pos);
    size_t mantissaDigits = digitsEnd - pos;
    pos = digitsEnd;
    if (pos < token.size() && token[pos] == '.') {
        digitsEnd = skipDigits(token, pos + 1);
        mantissaDigits += digitsEnd - pos - 1;
        pos = digitsEnd;
    }
    if (mantissaDigits == 0)
        return false;
    if (pos < token.size() && (token[pos] == 'e' || token[pos] == 'E')) {
        ++pos;
        if (pos < token.size() && (token[pos] == '+' || token[pos] == '-'))
            ++pos;
        digitsEnd = skipDigits(token, pos);
        if (digitsEnd == pos)
            return false;
        pos = digitsEnd;
    }
    return pos == token.size();
}

// The slow path for what from_chars calls out of range: an underflow is a tiny number near
// zero and is fine; an overflow is not finite.
bool parseRealSlowly(std::string_view token, double &value)
{
    const std::string text(token);
    errno = 0;
    value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value);
}

} // namespace

bool parseInteger(std::string_view token, long long &value)
{
    const bool negative = !token.empty() && token[0] == '-';
    const size_t start = !token.empty() && (token[0] == '+' || negative) ? 1 : 0;
    if (start == token.size())
        return false;
    // Accumulated in 64 unsigned bits, with overflow checks that cost no division.
    uint64_t magnitude = 0;
    for (size_t i = start; i < token.size(); ++i) {
        if (!isDigit(token[i]))
            return false;
        if (__builtin_mul_overflow(magnitude, 10u, &magnitude) ||
            __builtin_add_overflow(magnitude, unsigned(token[i] - '0'), &magnitude))
            return false;
    }
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    if (magnitude > limit)
        return false;
    value = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
    return true;
}

bool parseReal(std::string_view token, double &value)
{
    if (!isDecimalForm(token))
        return false;
    // from_chars takes no leading '+'.
    const size_t start = token[0] == '+' ? 1 : 0;
    const char *end = token.data() + token.size();
    const auto result = std::from_chars(token.data() + start, end, value);
    if (result.ec == std::errc::result_out_of_range)
        return parseRealSlowly(token, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}
