#include "contesttasks.h"

#include "csetupinfo.h"

#include <functional>

namespace
{

// Visits the tasks in contest order until visit returns false.
void forEachTask(CSetupInfo *setup, const std::function<bool(CTaskInfo *)> &visit)
{
    for (int d = 0; setup && d < setup->getDayNum(); ++d) {
        CDayInfo *day = setup->getDayInfo(d);
        for (int t = 0; day && t < day->getTaskNum(); ++t) {
            CTaskInfo *task = day->getTaskInfo(t);
            if (task && !visit(task))
                return;
        }
    }
}

} // namespace

QStringList contestTaskNames(CSetupInfo *setup)
{
    QStringList names;
    forEachTask(setup, [&names](CTaskInfo *task) {
        names.append(task->getTaskname());
        return true;
    });
    return names;
}

CTaskInfo *findContestTask(CSetupInfo *setup, const QString &name)
{
    CTaskInfo *found = nullptr;
    forEachTask(setup, [&found, &name](CTaskInfo *task) {
        if (task->getTaskname() == name)
            found = task;
        return !found;
    });
    return found;
}
