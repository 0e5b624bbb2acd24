#ifndef TALDON_STATS_TEAMSTAT_H
#define TALDON_STATS_TEAMSTAT_H

#include "teamresult.h"

#include <QMap>
#include <QString>

class CSetupInfo;
class MyStat;

// Contest totals grouped by region: a player belongs to the region whose lower- or upper-case
// code equals the first two characters of the id exactly. Holds all 34 regions of the region
// table, keyed by name; a name that is not a region gives 0 everywhere. Filled once by
// getScores and not updated afterwards.
class TeamStat
{
public:
    explicit TeamStat(CSetupInfo *setup);

    void getScores();
    void getScores(const MyStat *stat);

    int getTotal(const QString &team) const { return teams.value(team).total(); }
    float getAverage(const QString &team) const { return teams.value(team).average(); }
    int getMax(const QString &team) const { return teams.value(team).highest(); }
    int getMin(const QString &team) const { return teams.value(team).lowest(); }
    // The sum of the n best totals of the team (all of them when it has fewer).
    int getSelected(const QString &team, int n) const { return teams.value(team).bestSum(n); }

    QMap<QString, TeamResult> teams;
    CSetupInfo *setup;
};

#endif
