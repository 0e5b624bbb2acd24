#include "checkerverdict.h"

#include "testpoint.h"

#include <QList>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>

namespace
{

const int FullScore = 10;

// How a verdict line starts, and the exit statuses that go with it (none listed: any).
struct VerdictForm {
    const char *word;
    int exits[2];
    int exitCount;
};

const VerdictForm Forms[] = {
    {"ok", {0, 0}, 1},
    {"wrong answer", {1, 1}, 1},
    {"wrong output format", {2, 4}, 2},
    {"unexpected end of file", {8, 8}, 1},
    {"points", {7, 7}, 1},
    {"partially correct", {0, 0}, 0},
};

bool startsWithWord(const QByteArray &line, const char *word)
{
    const int n = int(strlen(word));
    return line.startsWith(word) && (line.size() == n || line[n] == ' ' || line[n] == '\t');
}

CheckerVerdict failure(const QByteArray &why)
{
    CheckerVerdict verdict;
    verdict.failed = true;
    verdict.message = "Checker failed: " + why;
    return verdict;
}

QByteArray quoted(const QByteArray &line)
{
    return '"' + line + '"';
}

// Tenths for "points X": floor(10 X) for a decimal X from 0 to 1, or -1. Binary fractions may
// put 10 X a hair below the tenth the checker meant (0.3 as 2.9999...), so a millionth is
// given back before rounding down.
int pointsTenths(const QByteArray &rest)
{
    const QByteArray token = rest.trimmed().split(' ').value(0).split('\t').value(0);
    if (token.isEmpty() || strspn(token.constData(), "0123456789.+-eE") != size_t(token.size()))
        return -1;
    char *end = nullptr;
    const double x = strtod(token.constData(), &end);
    if (end != token.constData() + token.size() || !std::isfinite(x) || x < 0 || x > 1)
        return -1;
    return int(std::floor(10 * x + 1e-6));
}

// Tenths for "partially correct (N)": floor(N / 10) for a whole N from 0 to 100, or -1.
int percentTenths(const QByteArray &rest)
{
    const QByteArray text = rest.trimmed();
    const int close = text.indexOf(')');
    if (!text.startsWith('(') || close < 2 || close > 4)
        return -1;
    const QByteArray digits = text.mid(1, close - 1);
    if (strspn(digits.constData(), "0123456789") != size_t(digits.size()))
        return -1;
    const int n = digits.toInt();
    return n <= 100 ? n / 10 : -1;
}

int tenthsOf(const VerdictForm &form, const QByteArray &line)
{
    const QByteArray rest = line.mid(int(strlen(form.word)));
    if (!strcmp(form.word, "ok"))
        return FullScore;
    if (!strcmp(form.word, "points"))
        return pointsTenths(rest);
    if (!strcmp(form.word, "partially correct"))
        return percentTenths(rest);
    return 0;
}

bool exitMatches(const VerdictForm &form, int exitStatus)
{
    for (int i = 0; i < form.exitCount; ++i) {
        if (form.exits[i] == exitStatus)
            return true;
    }
    return form.exitCount == 0;
}

} // namespace

CheckerVerdict CheckerVerdict::judge(const QByteArray &errorOutput, int waitStatus)
{
    if (waitStatus == FILTER_TIMED_OUT)
        return failure("no verdict within " + QByteArray::number(filterTimeLimit()) + " s.");
    if (waitStatus < 0)
        return failure("it could not be started.");
    if (WIFSIGNALED(waitStatus))
        return failure("killed by signal " + QByteArray::number(WTERMSIG(waitStatus)) + '.');
    if (!WIFEXITED(waitStatus))
        return failure("it did not end normally.");
    const QByteArray exitText = "exit status " + QByteArray::number(WEXITSTATUS(waitStatus));
    const int end = errorOutput.indexOf('\n');
    QByteArray line = end < 0 ? errorOutput : errorOutput.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        return failure("no verdict on standard error (" + exitText + ").");
    if (startsWithWord(line, "FAIL"))
        return failure(line);
    for (const VerdictForm &form : Forms) {
        if (!startsWithWord(line, form.word))
            continue;
        const int tenths = tenthsOf(form, line);
        if (tenths < 0)
            return failure("no score in range in " + quoted(line) + '.');
        if (!exitMatches(form, WEXITSTATUS(waitStatus)))
            return failure(exitText + " does not match " + quoted(line) + '.');
        CheckerVerdict verdict;
        verdict.score = tenths;
        verdict.message = line;
        return verdict;
    }
    return failure("unknown verdict " + quoted(line) + " (" + exitText + ").");
}
