#ifndef TALDON_MODEL_TEAMINFO_H
#define TALDON_MODEL_TEAMINFO_H

#include "playerinfo.h"

#include <QList>
#include <QString>

// A team: id and name. Its players are those whose ids contain the team's id.
class TeamInfo
{
public:
    TeamInfo() = default;
    TeamInfo(const TeamInfo &other) = default;
    TeamInfo(QString id, QString name) : id(id), name(name) {}
    TeamInfo &operator=(const TeamInfo &other) = default;

    bool operator==(const TeamInfo &other) const { return id == other.id; }
    bool operator<(const TeamInfo &other) const { return id < other.id; }

    // A new list, owned by the caller, of the players of all that belong to this team.
    QList<PlayerInfo> *getTeamPlayers(QList<PlayerInfo> &all) const;

    QString id;
    QString name;
};

#endif
