#include "comparefilterspace.h"

#include "comparelines.h"

namespace
{

bool isSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

size_t skipSpaces(std::string_view line, size_t pos)
{
    while (pos < line.size() && isSpaceOrTab(line[pos]))
        ++pos;
    return pos;
}

std::optional<Verdict> compareWithoutSpaces(std::string_view output, std::string_view answer,
                                            size_t lineNumber)
{
    size_t o = skipSpaces(output, 0);
    size_t a = skipSpaces(answer, 0);
    while (o < output.size() && a < answer.size() && output[o] == answer[a]) {
        o = skipSpaces(output, o + 1);
        a = skipSpaces(answer, a + 1);
    }
    if (o == output.size() && a == answer.size())
        return std::nullopt;
    return wrongAnswer("Line " + std::to_string(lineNumber) + ": expected " + excerpt(answer, a) +
                       ", read " + excerpt(output, o) + ".");
}

} // namespace

Verdict compareFilterSpace(std::string_view output, std::string_view answer, bool multiLine)
{
    return compareLines(output, answer, multiLine, compareWithoutSpaces);
}
