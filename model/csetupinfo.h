#ifndef TALDON_MODEL_CSETUPINFO_H
#define TALDON_MODEL_CSETUPINFO_H

#include "cdayinfo.h"
#include "cplayerinfo.h"
#include "daydirectories.h"

#include <QString>
#include <QVector>

// The root record of a contest: name, home directory, days and the player registry. Stored in
// <home>/setup.cfg, which leads to the day files and the player and team lists. The day array
// is rebuilt on every change of the list, so a CDayInfo* taken earlier is invalid afterwards.
// Deleting a day lives in memory until the next save, which renames the days' directories to
// match (see DayDirectories); until then every day keeps the directories it had.
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
    // The directory renames that the next save would make if the day at index were deleted
    // now (nothing is changed).
    QList<DayDirectories::Move> movesIfDeleted(int index);

    CPlayerInfo *getPlayerInfo() { return playerinfo; }
    void setPlayerInfo(const CPlayerInfo *p);

    bool loadSetupInfo(QString path);
    // What the last load read differently from the files (a count cut to its bound, a list
    // read as GB18030), one line each, for the user to be told once.
    const QStringList &loadNotices() const { return loadnotices; }
    // Renames the days' directories to match their numbers, then writes every record file.
    // On failure nothing more is written and saveError() names the file and the reason.
    bool saveSetupInfo(QString dir);
    bool saveSetupInfo();
    const QString &saveError() const { return saveerror; }

private:
    QString setupfile;
    QString home = QStringLiteral("/");
    QString contestname = QStringLiteral("程序设计竞赛");
    int daynum = 0;
    CDayInfo *days = nullptr;
    CPlayerInfo *playerinfo = nullptr;
    // Directory numbers of the days deleted since the last save.
    QVector<int> deleteddirs;
    QString saveerror;
    QStringList loadnotices;

    QVector<int> dirNumbers() const;
    void numberNewDays();
};

#endif
