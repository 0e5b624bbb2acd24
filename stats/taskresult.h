#ifndef TALDON_STATS_TASKRESULT_H
#define TALDON_STATS_TASKRESULT_H

#include <QString>

// One task of one player as read from the result files: the task total and, per test point
// i (slot i, counted from 1; slot 0 unused), its score and run time in seconds. Scores are raw
// tenths of the mark when read and points once PlayerStat::adjustScore has run.
class TaskResult
{
public:
    TaskResult() : TaskResult(QString()) {}
    explicit TaskResult(const QString &name);

    QString name;
    int total = 0;
    int score[100];
    float time[100];
};

#endif
