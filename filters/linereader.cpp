#include "linereader.h"

#include <cstring>

bool LineReader::next(std::string_view &line)
{
    if (m_pos >= m_text.size())
        return false;
    const char *start = m_text.data() + m_pos;
    const size_t rest = m_text.size() - m_pos;
    const void *newline = std::memchr(start, '\n', rest);
    const size_t length = newline ? static_cast<const char *>(newline) - start : rest;
    m_pos += newline ? length + 1 : length;
    line = std::string_view(start, length);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    ++m_lineNumber;
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimTrailingBlanks(std::string_view text)
{
    size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}
