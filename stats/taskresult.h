#ifndef TALDON_STATS_TASKRESULT_H
#define TALDON_STATS_TASKRESULT_H

#include <QString>

class CTaskInfo;
struct ResultBlock;

// One task of one player as read from the result files: the task total and, per test point
// i (slot i, counted from 1 to 99; slot 0 unused), its score and run time in seconds. Scores are
// raw tenths of the mark when read and points once converted by toPoints.
class TaskResult
{
public:
    TaskResult() : TaskResult(QString()) {}
    explicit TaskResult(const QString &name);

    // Takes the raw scores and times of the block's test points, in slots 1 to 99.
    void takeRaw(const ResultBlock &block);
    // Converts raw tenths to points by the task's marks (mark * raw / 10, truncated) and makes
    // the total their sum; a raw score of 0 or below stays as it is and counts for nothing.
    void toPoints(const CTaskInfo &task);

    QString name;
    int total = 0;
    int score[100];
    float time[100];
};

#endif
