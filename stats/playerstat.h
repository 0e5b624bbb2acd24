#ifndef TALDON_STATS_PLAYERSTAT_H
#define TALDON_STATS_PLAYERSTAT_H

#include "taskresult.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

class CSetupInfo;
struct ResultBlock;

// How a player's evaluation on one day went, as the day's result file tells it: not evaluated
// (no file, or no block of a task of the day), succeeded (a compile failure or a missing source
// is a sound outcome too), or failed, with "task: cause" for every task that failed.
struct EvalStatus {
    enum State { NotEvaluated, Succeeded, Failed };
    State state = NotEvaluated;
    QStringList causes;
    // The day's tasks without a block, in task order.
    QStringList unevaluated;
};

// One player's results over all days of a contest, read back from the player's result files
// <home>/result/day<d>/<id>/<id>.result. Tasks are keyed by name across all days; scores are
// in points once read; only the contest's configured tasks count in the totals (the blocks of a
// deleted or renamed task stay in the files). The written-exam score is kept beside them. A
// copyable value: the day statistics hand out copies.
class PlayerStat
{
public:
    PlayerStat() = default;
    PlayerStat(const QString &name, const QString &id, CSetupInfo *setup);

    int setAllTask();
    void adjustScore();

    TaskResult getTask(const QString &task) const;
    // The contest total: the sum of the task totals, so it never disagrees with them.
    int getTotal() const;
    int getTotal(const QString &task) const;
    int getTotal(int day) const;
    int getWritten() const { return written; }
    void setWritten(int score) { written = score; }
    bool haveScore(int day) const;
    EvalStatus evalStatus(int day) const;
    QString getID() const { return id; }
    QString getName() const { return name; }
    void setMarked() { marked = true; }
    bool isMarked() const { return marked; }
    void setShowed(bool on) { showed = on; }
    bool isShowed() const { return showed; }

    QString name;
    QString id;
    CSetupInfo *setup = nullptr;
    int written = 0;
    bool marked = false;
    bool showed = false;
    QVector<bool> dayFlags;
    QMap<QString, TaskResult> tasks;
    // Per day: each task with a block in the day's file, with the failure of its last block
    // (empty for a sound one); whether the day's file exists but cannot be read.
    QVector<QMap<QString, QString>> dayBlocks;
    QVector<bool> dayUnreadable;

private:
    void readResultFile(int day, const QString &path, int *lastTrailerTotal);
    void takeBlock(const ResultBlock &block, int *lastTrailerTotal);
};

#endif
