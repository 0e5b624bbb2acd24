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

    // Why text cannot be a player id, or an empty string when it can. An id names the player's
    // directories and is a field of the list files: it may not be empty, "." or "..", nor hold
    // '@', ',' or '/' (the separators of the lists and of paths), nor a line break or another
    // control character, nor take more than 200 bytes.
    static QString idProblem(const QString &text);
    // Why text cannot be a player name: '@' (reading cuts the name at it), or a line break or
    // another control character. An empty string when it can.
    static QString nameProblem(const QString &text);

    QString id;
    QString name;
};

#endif
