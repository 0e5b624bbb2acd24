#include "comparenumbers.h"

#include "comparelines.h"
#include "numberparse.h"
#include "quicknumbers.h"
#include "separators.h"

namespace
{

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
    std::optional<Verdict> countMismatch(std::string_view output, std::string_view answer,
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
    // Most lines match; the quick reading tells, and the comparison below, which finds the first
    // difference and words it, runs only for the rest.
    if (numbersMatchQuickly(output, answer, m_rule))
        return std::nullopt;
    const size_t answerCount = m_rule.manyNumbers ? 1 : countTokens(answer);
    if (answerCount != 1)
        return badAnswer("Answer file line " + std::to_string(lineNumber) + " holds " +
                         std::to_string(answerCount) + " numbers, expected one.");
    std::string_view outputRest = output;
    std::string_view answerRest = answer;
    std::string_view outputToken;
    std::string_view answerToken;
    for (size_t index = 1;; ++index) {
        const bool hasAnswer = nextToken(answerRest, answerToken);
        if (hasAnswer != nextToken(outputRest, outputToken))
            return countMismatch(output, answer, lineNumber);
        if (!hasAnswer)
            return std::nullopt;
        if (auto verdict = compareTokens(outputToken, answerToken, lineNumber, index))
            return verdict;
    }
}

std::optional<Verdict> NumberComparer::countMismatch(std::string_view output,
                                                     std::string_view answer,
                                                     size_t lineNumber) const
{
    const size_t expected = countTokens(answer);
    return wrongAnswer("Line " + std::to_string(lineNumber) + ": expected " +
                       std::to_string(expected) + " number" + (expected == 1 ? "" : "s") +
                       ", read " + std::to_string(countTokens(output)) + ".");
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
