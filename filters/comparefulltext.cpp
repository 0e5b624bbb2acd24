#include "comparefulltext.h"

#include <algorithm>
#include <cstring>

namespace
{

size_t firstDifference(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    constexpr size_t Block = 4096;
    size_t pos = 0;
    while (pos + Block <= common && std::memcmp(a.data() + pos, b.data() + pos, Block) == 0)
        pos += Block;
    while (pos < common && a[pos] == b[pos])
        ++pos;
    return pos;
}

// Where the line that holds byte `pos` begins.
size_t lineStart(std::string_view text, size_t pos)
{
    const size_t previous = pos == 0 ? std::string_view::npos : text.rfind('\n', pos - 1);
    return previous == std::string_view::npos ? 0 : previous + 1;
}

// The line that holds byte `pos`, without its newline (a '\r' stays: it is part of the text).
std::string_view lineAt(std::string_view text, size_t pos)
{
    const size_t begin = lineStart(text, pos);
    const size_t end = std::min(text.find('\n', begin), text.size());
    return text.substr(begin, end - begin);
}

std::string describe(std::string_view text, size_t pos, size_t column)
{
    if (pos >= text.size())
        return "end of file";
    return excerpt(lineAt(text, pos), column);
}

} // namespace

Verdict compareFullText(std::string_view output, std::string_view answer)
{
    if (output == answer)
        return Verdict();
    const size_t pos = firstDifference(output, answer);
    const size_t line = 1 + std::count(answer.begin(), answer.begin() + pos, '\n');
    const size_t column = pos - lineStart(answer, pos);
    return wrongAnswer("Line " + std::to_string(line) + ", column " + std::to_string(column + 1) +
                       ": expected " + describe(answer, pos, column) + ", read " +
                       describe(output, pos, column) + ".");
}
