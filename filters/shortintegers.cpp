#include "shortintegers.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>

namespace
{

constexpr size_t Block = 64;

// Bit i set where byte i of the 16 at `bytes` is between `low` and `high`. The comparisons are
// signed, and no byte from 0x80 up falls in the ranges asked for.
uint64_t inRange(__m128i bytes, char low, char high)
{
    const __m128i above = _mm_cmpgt_epi8(bytes, _mm_set1_epi8(char(low - 1)));
    const __m128i below = _mm_cmplt_epi8(bytes, _mm_set1_epi8(char(high + 1)));
    return uint64_t(unsigned(_mm_movemask_epi8(_mm_and_si128(above, below))));
}

uint64_t equalTo(__m128i bytes, char c)
{
    return uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)))));
}

struct Masks {
    uint64_t digits = 0;
    uint64_t separators = 0;
    uint64_t signs = 0;
};

Masks classify(const char *block)
{
    Masks masks;
    for (unsigned part = 0; part < Block / 16; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * part));
        const unsigned shift = 16 * part;
        masks.digits |= inRange(bytes, '0', '9') << shift;
        // Blanks, and '\t' to '\r' but for '\n'.
        masks.separators |=
            (equalTo(bytes, ' ') | (inRange(bytes, '\t', '\r') & ~equalTo(bytes, '\n'))) << shift;
        masks.signs |= (equalTo(bytes, '+') | equalTo(bytes, '-')) << shift;
    }
    return masks;
}

// Bit i set where bytes i to i + 18 are all digits: the start of a run of at least 19.
uint64_t longRunStarts(uint64_t digits)
{
    const uint64_t two = digits & (digits >> 1);
    const uint64_t four = two & (two >> 2);
    const uint64_t eight = four & (four >> 4);
    const uint64_t sixteen = eight & (eight >> 8);
    return sixteen & (two >> 16) & (digits >> 18);
}

unsigned trailingOnes(uint64_t bits)
{
    return bits == ~uint64_t(0) ? 64 : unsigned(__builtin_ctzll(~bits));
}

unsigned leadingOnes(uint64_t bits)
{
    return bits == ~uint64_t(0) ? 64 : unsigned(__builtin_clzll(~bits));
}

} // namespace

bool holdsIntegers(std::string_view line, LongTokenCheck isInteger)
{
    uint64_t bad = 0;
    // What the block before left for this one: whether its last byte was a separator (the
    // line's start counts as one), a sign, and how many digits it ended with.
    uint64_t separatorBefore = 1;
    uint64_t signBefore = 0;
    size_t digitsBefore = 0;
    // Where a token starts, given where its digits do.
    const auto tokenStart = [&](size_t digits) {
        return digits > 0 && (line[digits - 1] == '-' || line[digits - 1] == '+') ? digits - 1
                                                                                  : digits;
    };
    for (size_t pos = 0; pos < line.size(); pos += Block) {
        const size_t length = line.size() - pos;
        // The last block is padded with blanks, which end the line's last token.
        char padded[Block];
        const char *block = line.data() + pos;
        if (length < Block) {
            std::memset(padded, ' ', Block);
            std::memcpy(padded, block, length);
            block = padded;
        }
        const Masks m = classify(block);
        bad |= ~(m.digits | m.separators | m.signs);
        // A sign starts a token and is followed by a digit.
        bad |= m.signs & ~((m.separators << 1) | separatorBefore);
        bad |= (m.signs & ~(m.digits >> 1)) & ~(uint64_t(1) << 63);
        bad |= signBefore & ~m.digits & 1;
        // Tokens of 19 digits or more, which are rare, are read one by one: those that start in
        // this block, and one that runs on from the block before.
        const unsigned leading = trailingOnes(m.digits);
        if (digitsBefore > 0 && digitsBefore + leading >= 19 &&
            !isInteger(line, tokenStart(pos - digitsBefore)))
            return false;
        const uint64_t longRuns = longRunStarts(m.digits) & ~(m.digits << 1);
        for (uint64_t runs = longRuns & ~uint64_t(digitsBefore > 0); runs; runs &= runs - 1)
            if (!isInteger(line, tokenStart(pos + unsigned(__builtin_ctzll(runs)))))
                return false;
        digitsBefore = leading == 64 ? digitsBefore + 64 : leadingOnes(m.digits);
        separatorBefore = m.separators >> 63;
        signBefore = m.signs >> 63;
    }
    return bad == 0 && signBefore == 0;
}

#else

bool holdsIntegers(std::string_view, LongTokenCheck)
{
    return false;
}

#endif
