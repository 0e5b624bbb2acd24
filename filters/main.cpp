// A stock comparison filter. Started as "<name> <input> <output> <answer>", it prints a
// one-line message and then the score: 10 when the output is accepted, 0 otherwise. The rule
// comes from the name the program was started under, so each copy of it under one of the stock
// names works on its own. Exit status: 0 when the output was judged, 1 when the answer file is
// missing or malformed, 2 when the name or the arguments are not understood.
//
// The fine points, the same for every rule but fulltext_e (which forgives nothing, byte for
// byte):
// - "\r\n" reads as "\n", and a last line may lack its newline.
// - sl... rules look at the first line of each file only (an empty file has one empty line);
//   ml... rules at every line, once the blank lines (and blanks) at the end of each file are
//   left out, so both must then hold the same number of lines.
// - filterspace rules drop blanks and tabs only; number rules split a line at blanks, tabs,
//   vertical tabs and form feeds, so blanks around numbers do not matter.
// - A token that is not a number of the rule's kind scores 0 and the message names it: an
//   integer is decimal and fits 64 bits (a leading '+' is allowed); a float is a finite decimal
//   number (no NaN, infinity or hexadecimal form). The float tolerance is in numberparse.h.
// - The message names the first difference by line (and number or column) with short quoted
//   excerpts; it never holds '{', '}' or a line break, which would break the judge's records.

#include "filterrule.h"
#include "judgefiles.h"

#include <cstdio>

namespace
{

int report(const Verdict &verdict, int status)
{
    const int score = verdict.outcome == Outcome::Accepted ? 10 : 0;
    if (std::printf("%s\n%d\n", safeMessage(verdict.message).c_str(), score) < 0 ||
        std::fflush(stdout) != 0) {
        std::perror("cannot write the verdict");
        return 1;
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::string_view name = baseName(argc > 0 ? argv[0] : "");
    const std::optional<FilterRule> rule = parseFilterRule(name);
    if (!rule)
        return report(badAnswer("Unknown filter name " + excerpt(name) + "."), 2);
    if (argc != 4)
        return report(badAnswer("Usage: " + std::string(name) + " <input> <output> <answer>."), 2);
    const Verdict verdict = judgeFiles(*rule, argv[2], argv[3]);
    return report(verdict, verdict.outcome == Outcome::BadAnswer ? 1 : 0);
}
