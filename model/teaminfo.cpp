#include "teaminfo.h"

QList<PlayerInfo> *TeamInfo::getTeamPlayers(QList<PlayerInfo> &all) const
{
    auto *members = new QList<PlayerInfo>;
    for (const PlayerInfo &p : all) {
        if (p.belongTeam(*this))
            members->append(p);
    }
    return members;
}
