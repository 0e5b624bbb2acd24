#include "teamstat.h"

#include "csetupinfo.h"
#include "mystat.h"
#include "regiontable.h"
#include "statsglobals.h"

TeamStat::TeamStat(CSetupInfo *setup) : setup(setup)
{
    for (const auto &region : regionTable())
        teams.insert(region.second, TeamResult(region.second));
}

void TeamStat::getScores()
{
    getScores(mystat);
}

void TeamStat::getScores(const MyStat *stat)
{
    if (!stat || !setup || !setup->getPlayerInfo())
        return;
    for (const PlayerInfo &player : *setup->getPlayerInfo()->getPlayerInfo()) {
        const QString region = regionName(player.id.left(2));
        if (!region.isEmpty())
            teams[region].addScore(stat->getPlayerStat(player.id).getTotal());
    }
}
