#ifndef TALDON_MODEL_PLAYERINFO_H
#define TALDON_MODEL_PLAYERINFO_H

#include <QString>

class TeamInfo;

// A registered player: id and name. Ids compare without regard to case.
class PlayerInfo
{
public:
    PlayerInfo() = default;
    PlayerInfo(const PlayerInfo &other) = default;
    PlayerInfo(QString id, QString name) : id(id), name(name) {}
    PlayerInfo &operator=(const PlayerInfo &other) = default;

    bool operator==(const PlayerInfo &other) const;
    bool operator<(const PlayerInfo &other) const;
    bool belongTeam(const TeamInfo &team) const;
    bool belongTeam(const QString &teamId) const;

    QString id;
    QString name;
};

#endif
