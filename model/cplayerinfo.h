#ifndef TALDON_MODEL_CPLAYERINFO_H
#define TALDON_MODEL_CPLAYERINFO_H

#include "playerinfo.h"
#include "teaminfo.h"

#include <QList>
#include <QString>
#include <QStringList>

// The registry of a contest's players and teams, stored in player.info and team.info as
// id@name lines. Lookups by id or name are exact; nothing here refuses a repeated id. List
// files are read as UTF-8, or as GB18030 when they are not valid UTF-8 (lists made on Chinese
// Windows), and always written as UTF-8; the readers say so in *notices when given.
class CPlayerInfo
{
public:
    CPlayerInfo() = default;
    CPlayerInfo(const CPlayerInfo &other) = default;
    CPlayerInfo &operator=(const CPlayerInfo &other) = default;

    QList<TeamInfo> *getTeamInfo() { return &teams; }
    QList<TeamInfo> *getTeamInfoInternal() { return &teams; }
    QList<PlayerInfo> *getPlayerInfo() { return &players; }
    QList<PlayerInfo> *getPlayerInfoInternal() { return &players; }

    void addPlayerInfo(PlayerInfo &p) { players.append(p); }
    void addPlayerInfo(QString id, QString name) { players.append(PlayerInfo(id, name)); }
    void addTeamInfo(TeamInfo &t) { teams.append(t); }
    void addTeamInfo(QString id, QString name) { teams.append(TeamInfo(id, name)); }

    PlayerInfo *getPlayerInfoById(QString id);
    PlayerInfo *getPlayerInfoByName(QString name);
    TeamInfo *getTeamInfoById(QString id);
    TeamInfo *getTeamInfoByName(QString name);
    void delPlayerInfoById(QString id);
    void delPlayerInfoByName(QString name);
    void delTeamInfoById(QString id);
    void delTeamInfoByName(QString name);
    void delPlayerInfoAll() { players.clear(); }
    void delTeamInfoAll() { teams.clear(); }

    void loadPlayerInfo(QString path, QStringList *notices = nullptr);
    void loadTeamInfo(QString path, QStringList *notices = nullptr);
    // Appends the players of an id,name file; lines whose id or name cannot be stored are left
    // out, each with a notice.
    void importPlayerInfo(QString path, QStringList *notices = nullptr);
    // Writes team.info, then player.info; nothing more once one fails, whose name and reason
    // then go into *error when given.
    bool save(QString dir, QString *error = nullptr);
    // Writes the players as id,name lines to path, the form importPlayerInfo reads (the
    // player list export); false when the file cannot be written.
    bool exportPlayerInfo(QString path);

private:
    QList<TeamInfo> teams;
    QList<PlayerInfo> players;
};

#endif
