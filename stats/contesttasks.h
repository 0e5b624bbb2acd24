#ifndef TALDON_STATS_CONTESTTASKS_H
#define TALDON_STATS_CONTESTTASKS_H

#include <QString>
#include <QStringList>

class CSetupInfo;
class CTaskInfo;

// The names of every task of every day, day by day and in task order; a name that occurs on
// two days is listed twice.
QStringList contestTaskNames(CSetupInfo *setup);

// The first task of that name, day by day and task by task; null when there is none.
CTaskInfo *findContestTask(CSetupInfo *setup, const QString &name);

#endif
