#ifndef TALDON_EVAL_TASKEVAL_H
#define TALDON_EVAL_TASKEVAL_H

#include "language.h"

#include <QByteArray>

#include <cstdio>

class CTaskInfo;

// Code of the end-of-task line of a result block.
constexpr int TASK_END = 102;

// Longest task name and longest path the engine works with, in UTF-8 bytes.
constexpr int TASKNAME_MAX = 99;
constexpr int PATH_MAX_BYTES = 1023;

// Evaluates a SOURCE task in the current working directory (the player's files already copied
// there) and appends its block to the result file. Returns 1 when the block was written, 0 when
// the task was refused (its names or paths unusable; the reason is on standard error).
//
// A task that cannot be evaluated at all (see evaluationFailure), or whose language cannot be
// judged here (a missing interpreter or compiler, a task name that cannot name a Java class),
// gets a block whose header carries the code -106 and the cause; *failed, when given, is set
// when the block records a failed evaluation: that, or a test point with the code -106.
int evalSourceCode(FILE *result, CTaskInfo *task, int *total, bool *failed = nullptr);

// Evaluates an ANSWERS task the same way. Returns 0 without writing anything when `result` is
// null or the task is refused, else 1.
int evalResultFile(FILE *result, CTaskInfo *task, int *total, bool *failed = nullptr);

// Writes the body lines of all test points of the task and stores their total; a SOURCE task's
// program is started as `language` starts it. Once a stop of the evaluation is requested, the
// point under way and those after it are written as not evaluated (-106), so that the block
// still ends with its trailer.
void TaskTest(CTaskInfo *task, FILE *result, int *total, bool *failed = nullptr,
              const Language &language = Language());

// Why the task cannot be evaluated for anyone: no filter chosen, the filter missing from the
// contest's filter directory or not executable, a checker of an unknown kind, or an input or answer
// file of a test point missing. Empty when it can.
QByteArray evaluationFailure(CTaskInfo *task);

// Asks the evaluation under way to stop after the run in progress (MyThread::requestStop), or
// clears the request when a new evaluation begins.
void setEvaluationStopRequested(bool stop);
bool evaluationStopRequested();

// Makes a message fit one line of a result file: braces would be taken for a block's start or
// end and a line break for the next line, so they become parentheses and blanks.
void cleanMessage(char *msg);

// Whether a task's names and paths can be used by the engine; when not, says why on standard
// error and, when given, in *reason.
bool checkTask(CTaskInfo *task, QByteArray *reason = nullptr);

#endif
