#ifndef TALDON_STATS_MYSTAT_H
#define TALDON_STATS_MYSTAT_H

#include "playerstat.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class CSetupInfo;

// The results of every player of one contest, one PlayerStat per id (in ascending id order),
// and the statistics over them: per task highest, lowest and average total; per test point
// highest and average score and three time figures; the ranking by contest total. Averages
// divide by the number of all players, evaluated or not. The time figures give 100 when they
// have no value. A MyStat belongs to the contest it was made for: a replaced contest needs a
// new one (see resetStats in statsglobals.h).
class MyStat
{
public:
    explicit MyStat(CSetupInfo *setup) : setup(setup) {}

    void addPlayer(const QString &name, const QString &id);
    // Adds every registered player with the results on disk and the written-exam scores of
    // the contest's written.txt.
    void addRegistered();
    void delPlayer(const QString &id) { players.remove(id); }
    bool playerExists(const QString &id) const { return players.contains(id); }
    PlayerStat getPlayerStat(const QString &id) const;
    int importResult(const QString &id);
    bool importWritten(const QString &path);
    bool markPlayer(const QString &id);
    bool isMarked(const QString &id) const;
    CSetupInfo *getSetup() const { return setup; }

    int getMax(const QString &task) const;
    int getMin(const QString &task) const;
    float getEqual(const QString &task) const;
    int getSampleMax(const QString &task, int i) const;
    float getSampleEqual(const QString &task, int i) const;
    float getEqualTime(const QString &task, int i) const;
    float getEqualSolveTime(const QString &task, int i) const;
    float getMinTime(const QString &task, int i) const;
    // The whole ranking, best first, equal totals in ascending id order; places is how many
    // the caller will use and does not shorten it.
    QList<QString> getList(int places) const;

    QMap<QString, PlayerStat> players;
    CSetupInfo *setup;

private:
    QList<TaskResult> resultsOf(const QString &task) const;
    QList<int> totalsOf(const QString &task) const;
    // The sum of value over the task's results divided by the number of all players.
    float averageOf(const QString &task,
                    const std::function<float(const TaskResult &)> &value) const;
};

#endif
