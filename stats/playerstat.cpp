#include "playerstat.h"

#include "csetupinfo.h"
#include "playerdayfile.h"

#include <QFile>
#include <QList>
#include <QSet>

namespace
{

const char *const pointCodes[] = {"101", "-105", "-103", "-106", "-108"};

// A file whose braces do not balance was cut off in the middle of a block (evaluation stopped
// before the trailer); nothing of it can be trusted.
bool bracesBalance(const QList<QByteArray> &lines)
{
    int depth = 0;
    bool header = false;
    for (const QByteArray &line : lines) {
        if (line.contains('{')) {
            ++depth;
            header = true;
        }
        if (line.contains('}'))
            --depth;
    }
    return header && depth == 0;
}

QString headerTaskName(const QByteArray &line)
{
    if (!line.startsWith('{'))
        return QString();
    const QList<QByteArray> words = line.mid(1).simplified().split(' ');
    return QString::fromUtf8(words.first());
}

bool isPointLine(const QByteArray &line)
{
    for (const char *code : pointCodes) {
        if (line.startsWith(code))
            return true;
    }
    return false;
}

void readPointLine(const QByteArray &line, TaskResult *task, int *counter)
{
    if (*counter > 98)
        return;
    const QList<QByteArray> fields = line.simplified().split(' ');
    bool ok = false;
    const int score = fields.value(1).toInt(&ok);
    task->score[*counter] = ok ? score : 0;
    const float time = fields.value(2).toFloat(&ok);
    task->time[*counter] = ok ? time : 0.0f;
    ++*counter;
}

// The trailer is "}102 <total>"; an unreadable one leaves the last total read.
void readTrailer(const QByteArray &line, int *lastTotal)
{
    if (!line.startsWith('}'))
        return;
    const QList<QByteArray> fields = line.mid(1).simplified().split(' ');
    bool codeOk = false;
    bool totalOk = false;
    fields.value(0).toInt(&codeOk);
    const int total = fields.value(1).toInt(&totalOk);
    if (codeOk && totalOk)
        *lastTotal = total;
}

} // namespace

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
    int lastTrailerTotal = 0;
    for (int d = 0; d < days; ++d) {
        const QString path =
            playerDayFile(setup->getHome(), "result", *setup->getDayInfo(d), id, ".result");
        if (!QFile::exists(path))
            continue;
        dayFlags[d] = true;
        readResultFile(path, &lastTrailerTotal);
    }
    adjustScore();
    marked = false;
    return 1;
}

void PlayerStat::readResultFile(const QString &path, int *lastTrailerTotal)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (!bracesBalance(lines))
        return;
    TaskResult *current = nullptr;
    int counter = 1;
    for (const QByteArray &line : lines) {
        if (line.contains('{')) {
            const QString name = headerTaskName(line);
            current = &tasks.insert(name, TaskResult(name)).value();
            counter = 1;
        } else if (!current) {
            continue;
        } else if (isPointLine(line)) {
            readPointLine(line, current, &counter);
        } else if (line.contains('}')) {
            readTrailer(line, lastTrailerTotal);
            current->total = *lastTrailerTotal;
        }
    }
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
            int sum = 0;
            for (int i = 1; i <= info->getSamplenum() && i < 100; ++i) {
                int &score = entry->score[i];
                if (score <= 0)
                    continue;
                score = static_cast<int>(info->getSampleMark(i) * score / 10.0);
                sum += score;
            }
            entry->total = sum;
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
    for (const TaskResult &task : tasks)
        sum += task.total;
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
