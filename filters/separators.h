#pragma once

// The bytes that separate numbers on a line: blanks, tabs, carriage returns, vertical tabs and
// form feeds. A table rather than a chain of comparisons: this test runs once per byte.
struct SeparatorTable {
    bool separator[256] = {};
    constexpr SeparatorTable()
    {
        for (const unsigned char c : {' ', '\t', '\r', '\v', '\f'})
            separator[c] = true;
    }
};
inline constexpr SeparatorTable Separators;

inline bool isSeparator(char c)
{
    return Separators.separator[static_cast<unsigned char>(c)];
}
