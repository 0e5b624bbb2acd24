#pragma once

#include <cstddef>
#include <string_view>

// Splits a text into lines at '\n'. A '\r' that ends a line is dropped, so CR LF files read
// like LF files; a last line without its newline is a line like any other.
class LineReader
{
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    // The next line, or false when the text is used up. Line numbers count from 1.
    bool next(std::string_view &line);
    size_t lineNumber() const { return m_lineNumber; }

private:
    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_lineNumber = 0;
};

// Blanks, tabs, carriage returns and newlines.
bool isBlank(char c);

// The text without the blank lines, and the blanks, at its end.
std::string_view trimTrailingBlanks(std::string_view text);
