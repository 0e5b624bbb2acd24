#ifndef TALDON_EVAL_CHECKERVERDICT_H
#define TALDON_EVAL_CHECKERVERDICT_H

#include <QByteArray>

// The verdict of a testlib-style checker on one test point. Such a checker says its verdict on
// the first line of its standard error ("ok ...", "wrong answer ...", "points 0.5 ...") and
// repeats it in its exit status. The line decides; an exit status that disagrees with it, a
// "FAIL", a line of no known form, a crash or a time-out is a failure of the checker, which
// must not pass for a verdict on the player's output.
class CheckerVerdict
{
public:
    // Reads the checker's standard error and wait status; waitStatus may also be
    // FILTER_TIMED_OUT (killed at the filters' bound) or -1 (it could not be started).
    static CheckerVerdict judge(const QByteArray &errorOutput, int waitStatus);

    int score = 0;       // in tenths of the test point's mark
    bool failed = false; // the checker failed: the task's evaluation failed
    QByteArray message;  // the checker's line, or why the checker is taken to have failed
};

#endif
