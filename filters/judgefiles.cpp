#include "judgefiles.h"

#include "comparefilterspace.h"
#include "comparefulltext.h"
#include "comparenumbers.h"
#include "inputfile.h"

namespace
{

Verdict compare(const FilterRule &rule, std::string_view output, std::string_view answer)
{
    if (rule.kind == FilterKind::FullText)
        return compareFullText(output, answer);
    if (rule.kind == FilterKind::FilterSpace)
        return compareFilterSpace(output, answer, rule.multiLine);
    return compareNumbers(output, answer, rule);
}

} // namespace

Verdict judgeFiles(const FilterRule &rule, const char *outputPath, const char *answerPath)
{
    InputFile output;
    if (!output.open(outputPath))
        return wrongAnswer("Cannot read the output file: " + output.error() + ".");
    InputFile answer;
    if (!answer.open(answerPath))
        return badAnswer("Cannot read the answer file: " + answer.error() + ".");
    return compare(rule, output.text(), answer.text());
}
