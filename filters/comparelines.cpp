#include "comparelines.h"

#include "linereader.h"

namespace
{

Verdict compareFirstLines(std::string_view output, std::string_view answer,
                          const LineComparer &compare)
{
    std::string_view outputLine;
    std::string_view answerLine;
    LineReader(output).next(outputLine);
    LineReader(answer).next(answerLine);
    return compare(outputLine, answerLine, 1).value_or(Verdict());
}

} // namespace

Verdict compareLines(std::string_view output, std::string_view answer, bool multiLine,
                     const LineComparer &compare)
{
    if (!multiLine)
        return compareFirstLines(output, answer, compare);
    LineReader outputLines(trimTrailingBlanks(output));
    LineReader answerLines(trimTrailingBlanks(answer));
    std::string_view outputLine;
    std::string_view answerLine;
    for (;;) {
        const bool hasOutput = outputLines.next(outputLine);
        const bool hasAnswer = answerLines.next(answerLine);
        if (!hasOutput && !hasAnswer)
            return Verdict();
        if (!hasOutput)
            return wrongAnswer("Line " + std::to_string(answerLines.lineNumber()) +
                               ": output ends, expected " + excerpt(answerLine) + ".");
        if (!hasAnswer)
            return wrongAnswer("Line " + std::to_string(outputLines.lineNumber()) +
                               ": extra output " + excerpt(outputLine) + ".");
        if (auto verdict = compare(outputLine, answerLine, answerLines.lineNumber()))
            return *verdict;
    }
}
