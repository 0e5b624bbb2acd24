#ifndef TALDON_MODEL_CDAYINFO_H
#define TALDON_MODEL_CDAYINFO_H

#include "ctaskinfo.h"

#include <QString>

// One day (exam session) of a contest: its name, base score and tasks. Stored in day<d>.info,
// its tasks in task<d>_<t>.info. The task array is rebuilt on every change of the list, so a
// CTaskInfo* taken earlier is invalid afterwards.
class CDayInfo
{
public:
    CDayInfo() = default;
    CDayInfo(QString home, int day);
    CDayInfo(const CDayInfo &other);
    ~CDayInfo();
    CDayInfo &operator=(const CDayInfo &other);

    QString &getHome() { return home; }
    void setHome(const QString &h) { home = h; }
    QString &getDayname() { return dayname; }
    void setDayname(const QString &n) { dayname = n; }
    int getTaskNum() const { return tasknum; }
    int getBaseScore() const { return basescore; }
    void setBaseScore(int s) { basescore = s; }
    // The N of the day's directories players/day<N>, result/day<N> and ps/day<N>: the day's
    // number as last saved, which differs from its place between the deletion of an earlier
    // day and the next save (the directories are renamed then). 0 for a day outside a contest.
    int getDirNumber() const { return dirnumber; }
    void setDirNumber(int n) { dirnumber = n; }

    CTaskInfo *getTaskInfo(int index);
    CTaskInfo *getTaskInfo(QString name);
    CTaskInfo *getTaskInfoAll() { return tasks; }
    void setTaskInfo(int n, const CTaskInfo *list);
    void addATask(CTaskInfo *task);
    void delATask(int index);
    void delATask(QString name);
    void updateTaskMemLimit(int mb);

    bool loadDayInfo(QString home, int day, QStringList *notices = nullptr);
    // On failure *error, when given, names the file that could not be written and why.
    bool saveDayInfo(QString dir, int day, QString *error = nullptr);

private:
    QString home = QStringLiteral("/");
    QString dayname;
    int tasknum = 0;
    CTaskInfo *tasks = nullptr;
    int basescore = 0;
    int dirnumber = 0;
};

#endif
