#include "playerinfo.h"

#include "teaminfo.h"

bool PlayerInfo::operator==(const PlayerInfo &other) const
{
    return id.toUpper() == other.id.toUpper();
}

bool PlayerInfo::operator<(const PlayerInfo &other) const
{
    return id.toUpper() < other.id.toUpper();
}

bool PlayerInfo::belongTeam(const TeamInfo &team) const
{
    return belongTeam(team.id);
}

bool PlayerInfo::belongTeam(const QString &teamId) const
{
    return id.contains(teamId);
}
