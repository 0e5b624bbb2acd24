#ifndef TALDON_EVAL_TESTPOINT_H
#define TALDON_EVAL_TESTPOINT_H

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
int sampletest(CTaskInfo *task, int point, int *score, float *usedtime, char *msg);

// Runs the filter given as an argument vector (argv[0] is the program, the vector ends with a
// null) with its standard output caught in the score file. Returns the filter's wait status,
// or -1 when the score file cannot be created or the filter cannot be started.
int callfilter(char *const argv[]);

// Reads the score file: its first line into `msg` (MESSAGE_SIZE bytes, cut to fit), then an
// integer score. Returns 0 when the file exists, -1 when it cannot be opened.
int readscorefile(char *msg, int *score);

// <home>/evaldata/<name><point><suffix>: a data file of a test point of the task `name`.
QByteArray evaldataFile(const QByteArray &home, const QByteArray &name, int point,
                        const char *suffix);
// <home>/filter/<plug>: the filter program the contest supplies.
QByteArray filterFile(const QByteArray &home, const QByteArray &plug);

// Path of the score file, "/tmp/_eval.score" unless changed; the change is meant for tests
// that must not touch the machine-wide file.
QByteArray scoreFilePath();
void setScoreFilePath(const QByteArray &path);

#endif
