#include "csvexport.h"

#include "contesttasks.h"
#include "csetupinfo.h"
#include "mystat.h"
#include "regiontable.h"
#include "teamstat.h"

#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace
{

QStringList resultRow(const PlayerInfo &player, const PlayerStat &stat, const QStringList &tasks)
{
    QStringList row{player.name, player.id, QString::number(stat.getTotal()),
                    QString::number(stat.getWritten())};
    for (const QString &task : tasks)
        row.append(QString::number(stat.getTask(task).total));
    return row;
}

} // namespace

QString csvField(const QString &field)
{
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') &&
        !field.contains('\r'))
        return field;
    QString quoted = field;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QString csvText(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (const QString &field : row)
            text += csvField(field) + ',';
        text += '\n';
    }
    return text;
}

QList<QStringList> resultRows(CSetupInfo *setup, const MyStat &stat)
{
    const QStringList tasks = contestTaskNames(setup);
    QList<QStringList> rows{QStringList{"姓名", "编号", "总分", "笔试"} + tasks};
    if (!setup->getPlayerInfo())
        return rows;
    for (const PlayerInfo &player : *setup->getPlayerInfo()->getPlayerInfo())
        rows.append(resultRow(player, stat.getPlayerStat(player.id), tasks));
    return rows;
}

QString resultsCsv(CSetupInfo *setup, const MyStat &stat)
{
    return csvText(resultRows(setup, stat));
}

QStringList teamHeader()
{
    return {"队名", "总分", "平均分", "最高分", "最低分", "自定义统计"};
}

QString averageText(float average)
{
    return QString("%1").arg(average);
}

QStringList teamRow(const TeamStat &stat, const QString &team, int best)
{
    return {team,
            QString::number(stat.getTotal(team)),
            averageText(stat.getAverage(team)),
            QString::number(stat.getMax(team)),
            QString::number(stat.getMin(team)),
            QString::number(stat.getSelected(team, best))};
}

QString teamsCsv(const TeamStat &stat, int best)
{
    QList<QStringList> rows{teamHeader()};
    for (const auto &region : regionTable())
        rows.append(teamRow(stat, region.second, best));
    return csvText(rows);
}

QString csvFileName(const QString &chosen)
{
    return chosen.contains(".csv") ? chosen : chosen + ".csv";
}

bool writeTextFile(const QString &path, const QString &text)
{
    return writeFileBytes(path, text.toUtf8());
}

bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    const QString tempPath = path + ".tmp";
    QFile temp(tempPath);
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written =
        temp.write(bytes) == bytes.size() && temp.flush() && ::fsync(temp.handle()) == 0;
    temp.close();
    if (!written || temp.error() != QFileDevice::NoError ||
        std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) !=
            0) {
        QFile::remove(tempPath);
        return false;
    }
    return true;
}
