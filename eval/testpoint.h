#ifndef TALDON_EVAL_TESTPOINT_H
#define TALDON_EVAL_TESTPOINT_H

#include "language.h"

#include <QByteArray>

class CTaskInfo;

// Test point codes, written to the result file.
constexpr int POINT_JUDGED = 101;
constexpr int POINT_NO_SCORE_FILE = -105;
constexpr int POINT_NOT_STARTED = -106;

// Size of the message buffer of a test point, terminator included.
constexpr int MESSAGE_SIZE = 1024;

// Runs test point `point` (from 1) of the task in the current working directory: a SOURCE task's
// program runs under control on the point's input, then the task's filter judges the output.
// Fills score, used time and message (MESSAGE_SIZE bytes) and returns the point's code.
// The program is started as `language` starts it.
int sampletest(CTaskInfo *task, int point, int *score, float *usedtime, char *msg,
               const Language &language = Language());

// Runs the filter given as an argument vector (argv[0] is the program, the vector ends with a
// null) with its standard output caught in memory, under the filter's wall-clock bound. Returns
// the filter's wait status, FILTER_TIMED_OUT, or -1 when the output cannot be caught or the
// filter cannot be started.
int callfilter(char *const argv[]);

// Runs a testlib-style checker the same way, with its standard error caught too: the first
// bytes of it go to *errorOutput. Returns what callfilter returns.
int callchecker(char *const argv[], QByteArray *errorOutput);

// Reads the last filter's output: its first line into `msg` (MESSAGE_SIZE bytes, cut to fit),
// then an integer score. Returns 0 when there is one, -1 when nothing was caught.
int readscorefile(char *msg, int *score);

// <home>/evaldata/<name><point><suffix>: a data file of a test point of the task `name`.
QByteArray evaldataFile(const QByteArray &home, const QByteArray &name, int point,
                        const char *suffix);
// <home>/filter/<plug>: the filter program the contest supplies.
QByteArray filterFile(const QByteArray &home, const QByteArray &plug);

// A filter still running after this many seconds of wall-clock time is killed with its
// children; the point is scored 0 with "Filter time out." and code POINT_NOT_STARTED.
constexpr int FILTER_TIME_LIMIT = 10;
// callfilter's result for a filter that overran its bound.
constexpr int FILTER_TIMED_OUT = -2;
// The bound in force, FILTER_TIME_LIMIT unless changed (tests shorten it).
int filterTimeLimit();
void setFilterTimeLimit(int seconds);

// Where the filter of a task is run from: a copy in a directory only the judge can write, set
// for each evaluation; "./<plug>" in the working directory while none is set.
QByteArray filterRunPath(const QByteArray &plug);
void setFilterDir(const QByteArray &dir);

#endif
