#include "playerstat.h"

#include "contesttasks.h"
#include "csetupinfo.h"
#include "playerdayfile.h"
#include "resultfile.h"

#include <QFile>
#include <QList>
#include <QSet>

PlayerStat::PlayerStat(const QString &name, const QString &id, CSetupInfo *setup)
    : name(name), id(id), setup(setup)
{
}

int PlayerStat::setAllTask()
{
    if (!setup)
        return 0;
    // The files hold every block ever written, so they are the whole truth: entries read
    // earlier are dropped rather than kept (and scaled to points a second time).
    tasks.clear();
    const int days = setup->getDayNum();
    dayFlags = QVector<bool>(days, false);
    dayBlocks = QVector<QMap<QString, QString>>(days);
    dayUnreadable = QVector<bool>(days, false);
    int lastTrailerTotal = 0;
    for (int d = 0; d < days; ++d) {
        const QString path =
            playerDayFile(setup->getHome(), "result", *setup->getDayInfo(d), id, ".result");
        if (!QFile::exists(path))
            continue;
        dayFlags[d] = true;
        readResultFile(d, path, &lastTrailerTotal);
    }
    adjustScore();
    marked = false;
    return 1;
}

void PlayerStat::readResultFile(int day, const QString &path, int *lastTrailerTotal)
{
    QList<ResultBlock> blocks;
    // An empty file is what an evaluation that wrote no block leaves; it is not damaged.
    if (!ResultFile::read(path, &blocks)) {
        dayUnreadable[day] = QFile(path).size() > 0;
        return;
    }
    for (const ResultBlock &block : qAsConst(blocks)) {
        takeBlock(block, lastTrailerTotal);
        dayBlocks[day].insert(block.name, block.failure());
    }
}

// A block replaces whatever an earlier one of its task gave; a trailer that cannot be read
// leaves the total of the last one read.
void PlayerStat::takeBlock(const ResultBlock &block, int *lastTrailerTotal)
{
    TaskResult &task = tasks.insert(block.name, TaskResult(block.name)).value();
    task.takeRaw(block);
    if (block.trailerOk)
        *lastTrailerTotal = block.trailerTotal;
    if (block.hasTrailer)
        task.total = *lastTrailerTotal;
}

void PlayerStat::adjustScore()
{
    if (!setup)
        return;
    // A name configured on two days is converted once, not once per day.
    QSet<QString> converted;
    for (int d = 0; d < setup->getDayNum(); ++d) {
        CDayInfo *day = setup->getDayInfo(d);
        for (int t = 0; day && t < day->getTaskNum(); ++t) {
            CTaskInfo *info = day->getTaskInfo(t);
            if (!info || converted.contains(info->getTaskname()))
                continue;
            auto entry = tasks.find(info->getTaskname());
            if (entry == tasks.end())
                continue;
            converted.insert(info->getTaskname());
            entry->toPoints(*info);
        }
    }
}

TaskResult PlayerStat::getTask(const QString &task) const
{
    return tasks.value(task, TaskResult());
}

int PlayerStat::getTotal() const
{
    int sum = 0;
    const QStringList names = contestTaskNames(setup);
    for (const QString &name : QSet<QString>(names.cbegin(), names.cend()))
        sum += getTotal(name);
    return sum;
}

int PlayerStat::getTotal(const QString &task) const
{
    const auto entry = tasks.constFind(task);
    return entry == tasks.constEnd() ? 0 : entry->total;
}

int PlayerStat::getTotal(int day) const
{
    if (!setup || day < 0 || day >= setup->getDayNum())
        return 0;
    CDayInfo *info = setup->getDayInfo(day);
    int sum = 0;
    for (int t = 0; info && t < info->getTaskNum(); ++t) {
        if (CTaskInfo *task = info->getTaskInfo(t))
            sum += getTotal(task->getTaskname());
    }
    return sum;
}

bool PlayerStat::haveScore(int day) const
{
    return dayFlags.value(day, false);
}

EvalStatus PlayerStat::evalStatus(int day) const
{
    EvalStatus status;
    CDayInfo *info = setup && haveScore(day) ? setup->getDayInfo(day) : nullptr;
    if (!info)
        return status;
    if (dayUnreadable.value(day)) {
        status.state = EvalStatus::Failed;
        status.causes << QStringLiteral("结果文件无法读取");
        return status;
    }
    const QMap<QString, QString> blocks = dayBlocks.value(day);
    bool evaluated = false;
    for (int t = 0; t < info->getTaskNum(); ++t) {
        const QString name = info->getTaskInfo(t)->getTaskname();
        const auto block = blocks.constFind(name);
        if (block == blocks.constEnd()) {
            status.unevaluated << name;
            continue;
        }
        evaluated = true;
        if (!block->isEmpty())
            status.causes << name + QStringLiteral(": ") + *block;
    }
    status.state = !status.causes.isEmpty() ? EvalStatus::Failed
                   : evaluated              ? EvalStatus::Succeeded
                                            : EvalStatus::NotEvaluated;
    return status;
}
