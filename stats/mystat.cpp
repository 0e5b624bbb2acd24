#include "mystat.h"

#include "csetupinfo.h"
#include "writtenscores.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace
{

bool validPoint(int i)
{
    return i >= 1 && i <= 99;
}

// No value for a time statistic.
const float noTime = 100.0f;

} // namespace

void MyStat::addPlayer(const QString &name, const QString &id)
{
    if (!players.contains(id))
        players.insert(id, PlayerStat(name, id, setup));
}

void MyStat::addRegistered()
{
    if (!setup || !setup->getPlayerInfo())
        return;
    for (const PlayerInfo &player : *setup->getPlayerInfo()->getPlayerInfo()) {
        addPlayer(player.name, player.id);
        importResult(player.id);
    }
    loadWrittenScores(this);
}

PlayerStat MyStat::getPlayerStat(const QString &id) const
{
    return players.value(id, PlayerStat());
}

int MyStat::importResult(const QString &id)
{
    auto entry = players.find(id);
    return entry == players.end() ? 0 : entry->setAllTask();
}

bool MyStat::importWritten(const QString &path)
{
    QFile file(path);
    if (!setup || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QString line;
    while (in.readLineInto(&line)) {
        if (!line.contains('@'))
            continue;
        auto entry = players.find(line.section('@', 0, 0));
        if (entry != players.end())
            entry->setWritten(line.section('@', 1, 1).toInt());
    }
    return true;
}

bool MyStat::markPlayer(const QString &id)
{
    auto entry = players.find(id);
    if (entry == players.end())
        return false;
    entry->setMarked();
    return true;
}

bool MyStat::isMarked(const QString &id) const
{
    return players.value(id).isMarked();
}

QList<TaskResult> MyStat::resultsOf(const QString &task) const
{
    QList<TaskResult> results;
    for (const PlayerStat &player : players) {
        const auto entry = player.tasks.constFind(task);
        if (entry != player.tasks.constEnd())
            results.append(*entry);
    }
    return results;
}

QList<int> MyStat::totalsOf(const QString &task) const
{
    QList<int> totals;
    for (const TaskResult &r : resultsOf(task))
        totals.append(r.total);
    return totals;
}

int MyStat::getMax(const QString &task) const
{
    const QList<int> totals = totalsOf(task);
    return totals.isEmpty() ? 0 : *std::max_element(totals.cbegin(), totals.cend());
}

int MyStat::getMin(const QString &task) const
{
    const QList<int> totals = totalsOf(task);
    return totals.isEmpty() ? 0 : *std::min_element(totals.cbegin(), totals.cend());
}

float MyStat::averageOf(const QString &task,
                        const std::function<float(const TaskResult &)> &value) const
{
    if (players.isEmpty())
        return 0;
    float sum = 0;
    for (const TaskResult &r : resultsOf(task))
        sum += value(r);
    return sum / players.size();
}

float MyStat::getEqual(const QString &task) const
{
    return averageOf(task, [](const TaskResult &r) { return r.total; });
}

int MyStat::getSampleMax(const QString &task, int i) const
{
    if (!validPoint(i))
        return 0;
    int best = 0;
    for (const TaskResult &r : resultsOf(task))
        best = std::max(best, r.score[i]);
    return best;
}

float MyStat::getSampleEqual(const QString &task, int i) const
{
    if (!validPoint(i))
        return 0;
    return averageOf(task, [i](const TaskResult &r) { return r.score[i]; });
}

float MyStat::getEqualTime(const QString &task, int i) const
{
    if (!validPoint(i))
        return noTime;
    return averageOf(task, [i](const TaskResult &r) { return r.time[i]; });
}

float MyStat::getEqualSolveTime(const QString &task, int i) const
{
    if (!validPoint(i))
        return noTime;
    float sum = 0;
    int solved = 0;
    for (const TaskResult &r : resultsOf(task)) {
        if (r.score[i] != 0) {
            sum += r.time[i];
            ++solved;
        }
    }
    return solved == 0 ? noTime : sum / solved;
}

float MyStat::getMinTime(const QString &task, int i) const
{
    if (!validPoint(i))
        return noTime;
    float least = noTime;
    for (const TaskResult &r : resultsOf(task)) {
        if (r.score[i] != 0 && r.time[i] < least)
            least = r.time[i];
    }
    return least;
}

QList<QString> MyStat::getList(int /*places*/) const
{
    QList<QPair<int, QString>> ranked;
    for (const PlayerStat &player : players)
        ranked.append(qMakePair(player.getTotal(), player.getID()));
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const QPair<int, QString> &a, const QPair<int, QString> &b) {
                         return a.first > b.first;
                     });
    QList<QString> ids;
    for (const auto &entry : ranked)
        ids.append(entry.second);
    return ids;
}
