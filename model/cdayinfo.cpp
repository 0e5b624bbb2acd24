#include "cdayinfo.h"

#include "globals.h"
#include "ownedarray.h"
#include "recordloader.h"

#include <QTextStream>
#include <QVector>
#include <algorithm>
#include <iterator>

namespace
{

// Day and task numbers have two digits in file names; larger counts in a file are cut here
// rather than allocating whatever the file claims.
const int MaxTasks = 99;

void loadName(void *r, QString v)
{
    static_cast<CDayInfo *>(r)->setDayname(v);
}

void loadBasescore(void *r, QString v)
{
    static_cast<CDayInfo *>(r)->setBaseScore(v.toInt());
}

// The day's tasks are replaced once the whole file has been read, so a count below 1 only
// has to leave none pending.
void loadTasknum(void *, QString v)
{
    gTasknum = std::clamp(v.toInt(), 0, MaxTasks);
}

const RecordLoader dayinfoLoaders[] = {
    {"NAME=", loadName},
    {"BASESCORE=", loadBasescore},
    {"TASKNUM=", loadTasknum},
};

auto named(const QString &name)
{
    return [name](const CTaskInfo &task) { return task.getTaskname() == name; };
}

} // namespace

CDayInfo::CDayInfo(QString home, int day)
{
    loadDayInfo(home, day);
}

CDayInfo::CDayInfo(const CDayInfo &other)
{
    *this = other;
}

CDayInfo::~CDayInfo()
{
    delete[] tasks;
}

CDayInfo &CDayInfo::operator=(const CDayInfo &other)
{
    if (this == &other)
        return *this;
    home = other.home;
    dayname = other.dayname;
    basescore = other.basescore;
    dirnumber = other.dirnumber;
    setTaskInfo(other.tasknum, other.tasks);
    return *this;
}

CTaskInfo *CDayInfo::getTaskInfo(int index)
{
    return ownedArrayAt(tasks, tasknum, index);
}

CTaskInfo *CDayInfo::getTaskInfo(QString name)
{
    return findInOwnedArray(tasks, tasknum, named(name));
}

void CDayInfo::setTaskInfo(int n, const CTaskInfo *list)
{
    replaceOwnedArray(tasks, tasknum, n, list);
}

void CDayInfo::addATask(CTaskInfo *task)
{
    if (!task)
        return;
    task->setHome(home);
    appendToOwnedArray(tasks, tasknum, *task);
    delete task;
}

void CDayInfo::delATask(int index)
{
    removeFromOwnedArray(tasks, tasknum, index);
}

void CDayInfo::delATask(QString name)
{
    removeFirstFromOwnedArray(tasks, tasknum, named(name));
}

void CDayInfo::updateTaskMemLimit(int mb)
{
    for (int i = 0; i < tasknum; ++i)
        tasks[i].setMemlimit(mb);
}

bool CDayInfo::loadDayInfo(QString h, int day, QStringList *notices)
{
    home = h;
    // A file without a TASKNUM= line describes a day without tasks, whatever was read before.
    gTasknum = 0;
    if (!readRecordFile(dayFile(home, day), dayinfoLoaders, std::size(dayinfoLoaders), this))
        return false;
    const int n = gTasknum;
    QVector<CTaskInfo> loaded(n);
    for (int t = 1; t <= n; ++t)
        loaded[t - 1].loadTaskInfo(taskFile(home, day, t), notices);
    setTaskInfo(n, loaded.constData());
    return true;
}

bool CDayInfo::saveDayInfo(QString dir, int day, QString *error)
{
    home = dir;
    QString text;
    QTextStream out(&text);
    out << "NAME=" << dayname << '\n'
        << "BASESCORE=" << basescore << '\n'
        << "TASKNUM=" << tasknum << '\n';
    out.flush();
    if (!writeRecordFile(dayFile(dir, day), text, error))
        return false;
    for (int t = 1; t <= tasknum; ++t) {
        if (!tasks[t - 1].save(dir, day, t, error))
            return false;
    }
    return true;
}
