#ifndef TALDON_TESTS_COMMON_CONTESTFIXTURE_H
#define TALDON_TESTS_COMMON_CONTESTFIXTURE_H

#include "common/testfiles.h"

#include "csetupinfo.h"

#include <QTemporaryDir>
#include <QVector>

// A task of a hand-made contest: its name and the marks of its test points.
struct TaskMarks {
    QString name;
    QList<int> marks;
};

inline QList<int> equalMarks(int points, int mark)
{
    return QVector<int>(points, mark).toList();
}

// Adds a day of tasks to setup for each list.
inline void addDays(CSetupInfo *setup, const QList<QList<TaskMarks>> &days)
{
    for (const QList<TaskMarks> &tasks : days) {
        auto *day = new CDayInfo();
        for (const TaskMarks &task : tasks) {
            auto *info = new CTaskInfo();
            info->setTaskname(task.name);
            info->setSamplenum(task.marks.size());
            for (int i = 0; i < task.marks.size(); ++i)
                info->setSampleMark(i + 1, task.marks[i]);
            day->addATask(info);
        }
        setup->addADay(day);
    }
}

// The result file of the player for day (counted from 1) in the contest at home.
inline QString resultPath(const QString &home, int day, const QString &id)
{
    return home + QStringLiteral("/result/day%1/%2/%2.result").arg(QString::number(day), id);
}

inline void appendResult(const QString &home, int day, const QString &id, const QByteArray &text)
{
    appendFile(resultPath(home, day, id), text);
}

// A contest home in a temporary directory with days of tasks and a player registry; result
// files are written into it by hand.
class ContestFixture
{
public:
    explicit ContestFixture(const QList<QList<TaskMarks>> &days)
    {
        setup.setHome(home.path());
        addDays(&setup, days);
    }

    void registerPlayers(const QList<QPair<QString, QString>> &players)
    {
        CPlayerInfo registry;
        for (const auto &p : players)
            registry.addPlayerInfo(p.first, p.second);
        setup.setPlayerInfo(&registry);
    }

    // Saves the contest in a directory of the temporary home, which becomes its home.
    void saveIn(const QString &name)
    {
        QDir().mkpath(home.path() + '/' + name + QStringLiteral("/result"));
        setup.saveSetupInfo(home.path() + '/' + name);
    }

    void appendResult(int day, const QString &id, const QByteArray &text)
    {
        ::appendResult(setup.getHome(), day, id, text);
    }

    QTemporaryDir home;
    CSetupInfo setup;
};

#endif
