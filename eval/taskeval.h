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

// What evalSourceCode returns when it has written a block that records a failed evaluation
// (code -106, its cause as the message): the player's language cannot be judged here.
constexpr int TASK_FAILED = 2;

// Evaluates a SOURCE task in the current working directory (the player's files already copied
// there) and appends its block to the result file. Returns 1 when the block was written, 0 when
// the task was refused (its names or paths unusable; the reason is on standard error), or
// TASK_FAILED.
int evalSourceCode(FILE *result, CTaskInfo *task, int *total);

// Evaluates an ANSWERS task the same way. Returns 0 without writing anything when `result` is
// null or the task is refused, else 1.
int evalResultFile(FILE *result, CTaskInfo *task, int *total);

// Writes the body lines of all test points of the task and stores their total; a SOURCE task's
// program is started as `language` starts it.
void TaskTest(CTaskInfo *task, FILE *result, int *total, const Language &language = Language());

// Makes a message fit one line of a result file: braces would be taken for a block's start or
// end and a line break for the next line, so they become parentheses and blanks.
void cleanMessage(char *msg);

// Whether a task's names and paths can be used by the engine; when not, says why on standard
// error.
bool checkTask(CTaskInfo *task);

#endif
