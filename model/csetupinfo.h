#ifndef TALDON_MODEL_CSETUPINFO_H
#define TALDON_MODEL_CSETUPINFO_H

#include "cdayinfo.h"
#include "cplayerinfo.h"

#include <QString>

// The root record of a contest: name, home directory, days and the player registry. Stored in
// <home>/setup.cfg, which leads to the day files and the player and team lists. The day array
// is rebuilt on every change of the list, so a CDayInfo* taken earlier is invalid afterwards.
class CSetupInfo
{
public:
    CSetupInfo() = default;
    explicit CSetupInfo(QString path);
    CSetupInfo(const CSetupInfo &other);
    ~CSetupInfo();
    CSetupInfo &operator=(const CSetupInfo &other);

    QString &getSetupFileName() { return setupfile; }
    QString &getHome() { return home; }
    void setHome(QString h) { home = h; }
    QString &getContestName() { return contestname; }
    void setContestName(QString n) { contestname = n; }

    int getDayNum() const { return daynum; }
    CDayInfo *getDayInfo(int index);
    CDayInfo *getDayInfo(QString name);
    CDayInfo *getDayInfoAll() { return days; }
    void setDayInfo(int n, const CDayInfo *list);
    void addADay(CDayInfo *day);
    void delADay(int index);
    void delADay(QString name);

    CPlayerInfo *getPlayerInfo() { return playerinfo; }
    void setPlayerInfo(const CPlayerInfo *p);

    bool loadSetupInfo(QString path);
    bool saveSetupInfo(QString dir);
    bool saveSetupInfo();

private:
    QString setupfile;
    QString home = QStringLiteral("/");
    QString contestname = QStringLiteral("程序设计竞赛");
    int daynum = 0;
    CDayInfo *days = nullptr;
    CPlayerInfo *playerinfo = nullptr;
};

#endif
