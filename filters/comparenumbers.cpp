#include "comparenumbers.h"

#include "comparelines.h"
#include "numberparse.h"

namespace
{

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Takes the next blank-separated token from the front of `rest`; false when none is left.
bool nextToken(std::string_view &rest, std::string_view &token)
{
    size_t begin = 0;
    while (begin < rest.size() && isSeparator(rest[begin]))
        ++begin;
    if (begin == rest.size())
        return false;
    size_t end = begin;
    while (end < rest.size() && !isSeparator(rest[end]))
        ++end;
    token = rest.substr(begin, end - begin);
    rest.remove_prefix(end);
    return true;
}

size_t countTokens(std::string_view line)
{
    size_t count = 0;
    std::string_view token;
    while (nextToken(line, token))
        ++count;
    return count;
}

class NumberComparer
{
public:
    explicit NumberComparer(const FilterRule &rule) : m_rule(rule) {}

    std::optional<Verdict> operator()(std::string_view output, std::string_view answer,
                                      size_t lineNumber) const;

private:
    std::optional<Verdict> checkCounts(std::string_view output, std::string_view answer,
                                       size_t lineNumber) const;
    std::optional<Verdict> compareTokens(std::string_view output, std::string_view answer,
                                         size_t lineNumber, size_t index) const;
    bool parse(std::string_view token, long long &integer, double &real) const;
    std::string place(size_t lineNumber, size_t index) const;
    const char *kindName() const;

    FilterRule m_rule;
};

std::optional<Verdict> NumberComparer::operator()(std::string_view output, std::string_view answer,
                                                  size_t lineNumber) const
{
    if (auto verdict = checkCounts(output, answer, lineNumber))
        return verdict;
    std::string_view outputToken;
    std::string_view answerToken;
    for (size_t index = 1; nextToken(answer, answerToken); ++index) {
        nextToken(output, outputToken);
        if (auto verdict = compareTokens(outputToken, answerToken, lineNumber, index))
            return verdict;
    }
    return std::nullopt;
}

std::optional<Verdict> NumberComparer::checkCounts(std::string_view output, std::string_view answer,
                                                   size_t lineNumber) const
{
    const size_t expected = countTokens(answer);
    if (!m_rule.manyNumbers && expected != 1)
        return badAnswer("Answer file line " + std::to_string(lineNumber) + " holds " +
                         std::to_string(expected) + " numbers, expected one.");
    const size_t read = countTokens(output);
    if (read == expected)
        return std::nullopt;
    return wrongAnswer("Line " + std::to_string(lineNumber) + ": expected " +
                       std::to_string(expected) + " number" + (expected == 1 ? "" : "s") +
                       ", read " + std::to_string(read) + ".");
}

std::optional<Verdict> NumberComparer::compareTokens(std::string_view output,
                                                     std::string_view answer, size_t lineNumber,
                                                     size_t index) const
{
    long long answerInteger = 0;
    double answerReal = 0;
    if (!parse(answer, answerInteger, answerReal))
        return badAnswer("Answer file line " + place(lineNumber, index) + ": " + excerpt(answer) +
                         " is not " + kindName() + ".");
    long long outputInteger = 0;
    double outputReal = 0;
    if (!parse(output, outputInteger, outputReal))
        return wrongAnswer("Line " + place(lineNumber, index) + ": " + excerpt(output) +
                           " is not " + kindName() + ".");
    const bool equal = m_rule.kind == FilterKind::Integer
                           ? outputInteger == answerInteger
                           : realsMatch(outputReal, answerReal, m_rule.precision);
    if (equal)
        return std::nullopt;
    return wrongAnswer("Line " + place(lineNumber, index) + ": expected " + excerpt(answer) +
                       ", read " + excerpt(output) + ".");
}

bool NumberComparer::parse(std::string_view token, long long &integer, double &real) const
{
    return m_rule.kind == FilterKind::Integer ? parseInteger(token, integer)
                                              : parseReal(token, real);
}

// "3", or "3, number 2" where a line may hold several numbers.
std::string NumberComparer::place(size_t lineNumber, size_t index) const
{
    std::string text = std::to_string(lineNumber);
    if (m_rule.manyNumbers)
        text += ", number " + std::to_string(index);
    return text;
}

const char *NumberComparer::kindName() const
{
    return m_rule.kind == FilterKind::Integer ? "a 64-bit integer" : "a finite decimal number";
}

} // namespace

Verdict compareNumbers(std::string_view output, std::string_view answer, const FilterRule &rule)
{
    return compareLines(output, answer, rule.multiLine, NumberComparer(rule));
}
