#include "quicknumbers.h"

#include "numberparse.h"
#include "separators.h"
#include "shortintegers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace
{

// The readers below are inlined into the loop over a line, which keeps their constants in
// registers and saves a call for every number.
#define ALWAYS_INLINE __attribute__((always_inline)) inline

constexpr uint64_t EveryByte = 0x0101010101010101;
constexpr uint64_t Zeros = '0' * EveryByte;
constexpr size_t MaxDigits = 19; // 10^19 - 1 still fits 64 unsigned bits
constexpr uint64_t Pow10[] = {1u,
                              10u,
                              100u,
                              1000u,
                              10000u,
                              100000u,
                              1000000u,
                              10000000u,
                              100000000u,
                              1000000000u,
                              10000000000u,
                              100000000000u,
                              1000000000000u,
                              10000000000000u,
                              100000000000000u,
                              1000000000000000u,
                              10000000000000000u,
                              100000000000000000u,
                              1000000000000000000u,
                              10000000000000000000u};
// Exact as doubles, as every power of ten up to 10^22 is.
constexpr double Scale[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                            1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
// The word shifted by `bits` (0 to 64), in two steps because a shift by 64 is not defined.
uint64_t shiftDown(uint64_t word, unsigned bits)
{
    return (word >> (bits / 2)) >> (bits - bits / 2);
}

uint64_t littleEndian(uint64_t word)
{
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return __builtin_bswap64(word);
#else
    return word;
#endif
}

// Eight bytes of `line` from `pos`, the first in the lowest byte; zeros past its end. Near the
// end, the last eight bytes are read and moved down.
__attribute__((noinline)) uint64_t loadWordNearEnd(std::string_view line, size_t pos)
{
    uint64_t word = 0;
    if (line.size() < 8) {
        for (size_t i = pos; i < line.size(); ++i)
            word |= uint64_t(static_cast<unsigned char>(line[i])) << (8 * (i - pos));
        return word;
    }
    const size_t from = std::min(pos, line.size() - 8);
    std::memcpy(&word, line.data() + from, 8);
    return shiftDown(littleEndian(word), 8 * unsigned(std::min<size_t>(pos - from, 8)));
}

uint64_t loadWord(std::string_view line, size_t pos)
{
    if (pos + 8 > line.size())
        return loadWordNearEnd(line, pos);
    uint64_t word = 0;
    std::memcpy(&word, line.data() + pos, 8);
    return littleEndian(word);
}

// The word less '0' in every byte, so that digits become their values.
uint64_t loadValues(std::string_view line, size_t pos)
{
    return loadWord(line, pos) - Zeros;
}

// How many bytes of `values`, from the lowest, are digits. The borrow or carry of a byte that is
// not a digit only reaches the bytes above it.
unsigned leadingDigits(uint64_t values)
{
    const uint64_t nonDigits = (values | (values + 0x76 * EveryByte)) & (0x80 * EveryByte);
    // A mark below bit 64 stands for "all eight", so that no branch is needed.
    return (unsigned(__builtin_ctzll((nonDigits >> 7) | (uint64_t(1) << 63))) + 1) / 8;
}

// The number that the lowest `count` (0 to 8) digit values make, the first the most significant.
// Moved to the top, they have zero bytes before them, which read as leading zeros. Tables make
// the move, since a shift by 64 bits (for no digits) is not defined.
uint64_t digitsValue(uint64_t values, unsigned count)
{
    static constexpr unsigned char Shift[] = {0, 56, 48, 40, 32, 24, 16, 8, 0};
    static constexpr uint64_t Keep[] = {0, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull};
    values = (values << Shift[count]) & Keep[count];
    values = values * 10 + (values >> 8);
    constexpr uint64_t Pairs = 0x000000FF000000FF;
    return (((values & Pairs) * (100 + (1000000ull << 32))) +
            (((values >> 16) & Pairs) * (1 + (10000ull << 32)))) >>
           32;
}

// The digits at the front of `line` from `pos`, at most sixteen of them, read as two words with
// no branch on where they end, which a processor cannot foresee.
struct DigitRun {
    uint64_t low = 0;
    uint64_t high = 0;
    unsigned lowCount = 0;
    unsigned count = 0;

    uint64_t value() const
    {
        const unsigned highCount = count - lowCount;
        return digitsValue(low, lowCount) * Pow10[highCount] + digitsValue(high, highCount);
    }
};

ALWAYS_INLINE DigitRun scanDigits(std::string_view line, size_t pos)
{
    DigitRun run;
    run.low = loadValues(line, pos);
    run.high = loadValues(line, pos + 8);
    run.lowCount = leadingDigits(run.low);
    // The second word counts only when the first is all digits.
    run.count = run.lowCount + leadingDigits(run.high) * (run.lowCount / 8);
    return run;
}

// The sign a token starts with, if any. Half the numbers may be negative, so this is no branch.
struct Sign {
    explicit Sign(char first) : negative(first == '-'), length(negative | (first == '+')) {}
    bool negative;
    size_t length;
};

bool endsToken(std::string_view line, size_t pos)
{
    return pos == line.size() || isSeparator(line[pos]);
}

size_t tokenEnd(std::string_view line, size_t pos)
{
    while (pos < line.size() && !isSeparator(line[pos]))
        ++pos;
    return pos;
}

// The token at `pos` read by the parsers of numberparse.h: its length, or 0 when it is no number.
template <typename Number>
__attribute__((noinline)) size_t readExactly(std::string_view line, size_t pos, Number *value)
{
    const std::string_view token = line.substr(pos, tokenEnd(line, pos) - pos);
    Number number = 0;
    bool valid = false;
    if constexpr (std::is_same_v<Number, long long>)
        valid = parseInteger(token, number);
    else
        valid = parseReal(token, number);
    if (value)
        *value = number;
    return valid ? token.size() : 0;
}

// mantissa / 10^exponent, for a mantissa of at most 2^53: both operands are exact, so the one
// rounding is that of the division. The sign is set as a bit: a branch here would be foreseen
// no better than the signs of the numbers.
double scaled(uint64_t mantissa, unsigned exponent, bool negative)
{
    // Through a signed integer, which converts in one instruction.
    double magnitude = static_cast<double>(static_cast<int64_t>(mantissa)) / Scale[exponent];
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    bits |= uint64_t(negative) << 63;
    std::memcpy(&magnitude, &bits, sizeof bits);
    return magnitude;
}

// The quick readers: the length of the number at `pos`, with its value unless `value` is null,
// or 0 when they cannot be sure.
ALWAYS_INLINE size_t readNumber(std::string_view line, size_t pos, long long *value)
{
    const Sign sign(line[pos]);
    const size_t start = pos + sign.length;
    const DigitRun run = scanDigits(line, start);
    // A third word, which counts only when the first two are all digits.
    const uint64_t third = loadValues(line, start + 16);
    const unsigned thirdCount = leadingDigits(third) * (run.count / 16);
    const unsigned count = run.count + thirdCount;
    if (count == 0 || count > MaxDigits || !endsToken(line, start + count))
        return 0;
    // Below 19 digits every integer fits; the value is needed to tell, or when asked for.
    if (count == MaxDigits || value) {
        const uint64_t negative = sign.negative;
        const uint64_t magnitude = run.value() * Pow10[thirdCount] + digitsValue(third, thirdCount);
        if (magnitude > uint64_t(INT64_MAX) + negative)
            return 0;
        if (value)
            *value = static_cast<long long>((magnitude ^ (0 - negative)) + negative);
    }
    return sign.length + count;
}

// A float of up to 19 digits whose digits make an integer of at most 2^53.
__attribute__((noinline)) size_t readLongReal(std::string_view line, size_t pos, double *value)
{
    const Sign sign(line[pos]);
    const DigitRun whole = scanDigits(line, pos + sign.length);
    size_t end = pos + sign.length + whole.count;
    DigitRun fraction;
    if (end < line.size() && line[end] == '.') {
        fraction = scanDigits(line, end + 1);
        end += 1 + fraction.count;
    }
    const unsigned count = whole.count + fraction.count;
    if (count == 0 || count > MaxDigits || whole.count == 16 || fraction.count == 16 ||
        !endsToken(line, end))
        return 0;
    const uint64_t mantissa = whole.value() * Pow10[fraction.count] + fraction.value();
    if (mantissa > uint64_t(1) << 53)
        return 0;
    if (value)
        *value = scaled(mantissa, fraction.count, sign.negative);
    return end - pos;
}

ALWAYS_INLINE size_t readNumber(std::string_view line, size_t pos, double *value)
{
    // Most floats have at most eight digits on either side of the point: one word for each.
    const Sign sign(line[pos]);
    const uint64_t whole = loadValues(line, pos + sign.length);
    const unsigned wholeCount = leadingDigits(whole);
    constexpr uint64_t Point = uint8_t('.' - '0');
    // A point in the first word. After a whole part of eight digits the test looks at the first
    // digit and finds none, which leaves the number to the long form.
    const bool point = ((whole >> (8 * (wholeCount & 7))) & 0xFF) == Point;
    const uint64_t fraction = point ? loadValues(line, pos + sign.length + wholeCount + 1) : 0;
    const unsigned fractionCount = point ? leadingDigits(fraction) : 0;
    const size_t length = sign.length + wholeCount + point + fractionCount;
    // At most 7 + 8 digits, which make less than 2^53.
    if (wholeCount + fractionCount == 0 || !endsToken(line, pos + length))
        return readLongReal(line, pos, value);
    if (value) {
        const uint64_t mantissa = digitsValue(whole, wholeCount) * Pow10[fractionCount] +
                                  digitsValue(fraction, fractionCount);
        *value = scaled(mantissa, fractionCount, sign.negative);
    }
    return length;
}

// The length of the token at `pos` when it is a number of the kind, or 0 when it is none.
template <typename Number>
ALWAYS_INLINE size_t readToken(std::string_view line, size_t pos, Number *value)
{
    const size_t length = readNumber(line, pos, value);
    return length ? length : readExactly(line, pos, value);
}

bool equal(long long a, long long b, int)
{
    return a == b;
}

bool equal(double a, double b, int precision)
{
    return realsMatch(a, b, precision);
}

size_t skipSeparators(std::string_view line, size_t pos)
{
    while (pos < line.size() && isSeparator(line[pos]))
        ++pos;
    return pos;
}

// The next token after a number that ends at `end`, where a separator or the line's end is.
size_t nextToken(std::string_view line, size_t end)
{
    return skipSeparators(line, std::min(end + 1, line.size()));
}

// The line without the separators at its end, which hold no number.
std::string_view withoutTrailingSeparators(std::string_view line)
{
    while (!line.empty() && isSeparator(line.back()))
        line.remove_suffix(1);
    return line;
}

// An output line written exactly as the answer's (but for blanks at its end) holds the same
// numbers: they are only checked for being numbers, not read. Integers, the commonest answers,
// are checked a block at a time first.
template <typename Number> bool holdsNumbers(std::string_view line, const FilterRule &rule)
{
    if constexpr (std::is_same_v<Number, long long>) {
        const auto isInteger = [](std::string_view text, size_t start) {
            return readToken(text, start, static_cast<long long *>(nullptr)) != 0;
        };
        if (rule.manyNumbers && holdsIntegers(line, isInteger))
            return true;
    }
    size_t count = 0;
    for (size_t pos = skipSeparators(line, 0); pos < line.size(); ++count) {
        const size_t length = readToken(line, pos, static_cast<Number *>(nullptr));
        if (length == 0)
            return false;
        pos = nextToken(line, pos + length);
    }
    return rule.manyNumbers || count == 1;
}

template <typename Number>
bool matchLine(std::string_view output, std::string_view answer, const FilterRule &rule)
{
    if (withoutTrailingSeparators(output) == withoutTrailingSeparators(answer))
        return holdsNumbers<Number>(answer, rule);
    size_t o = skipSeparators(output, 0);
    size_t a = skipSeparators(answer, 0);
    size_t count = 0;
    for (; a < answer.size(); ++count) {
        if (o == output.size())
            return false;
        Number expected = 0;
        const size_t length = readToken(answer, a, &expected);
        if (length == 0)
            return false;
        Number written = 0;
        const size_t writtenLength = readToken(output, o, &written);
        if (writtenLength == 0 || !equal(written, expected, rule.precision))
            return false;
        a = nextToken(answer, a + length);
        o = nextToken(output, o + writtenLength);
    }
    return o == output.size() && (rule.manyNumbers || count == 1);
}

} // namespace

size_t readIntegerQuickly(std::string_view line, size_t pos, long long &value)
{
    return readNumber(line, pos, &value);
}

size_t readRealQuickly(std::string_view line, size_t pos, double &value)
{
    return readNumber(line, pos, &value);
}

bool numbersMatchQuickly(std::string_view output, std::string_view answer, const FilterRule &rule)
{
    return rule.kind == FilterKind::Integer ? matchLine<long long>(output, answer, rule)
                                            : matchLine<double>(output, answer, rule);
}
