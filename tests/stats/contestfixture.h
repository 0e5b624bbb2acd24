#ifndef TALDON_TESTS_STATS_CONTESTFIXTURE_H
#define TALDON_TESTS_STATS_CONTESTFIXTURE_H

#include "csetupinfo.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A task of a hand-made contest: its name and the marks of its test points.
struct TaskMarks {
    QString name;
    QList<int> marks;
};

// A contest home in a temporary directory with days of tasks and a player registry; result
// files are written into it by hand. saveUnder moves the home to a directory of the given
// name below the temporary one and saves the contest there.
class ContestFixture
{
public:
    explicit ContestFixture(const QList<QList<TaskMarks>> &days)
    {
        setup.setHome(home.path());
        homePath = home.path();
        for (const QList<TaskMarks> &tasks : days) {
            auto *day = new CDayInfo();
            for (const TaskMarks &given : tasks) {
                auto *task = new CTaskInfo();
                task->setTaskname(given.name);
                task->setSamplenum(given.marks.size());
                for (int i = 0; i < given.marks.size(); ++i)
                    task->setSampleMark(i + 1, given.marks[i]);
                day->addATask(task);
            }
            setup.addADay(day);
        }
    }

    void registerPlayers(const QList<QPair<QString, QString>> &players)
    {
        CPlayerInfo registry;
        for (const auto &p : players)
            registry.addPlayerInfo(p.first, p.second);
        setup.setPlayerInfo(&registry);
    }

    void saveUnder(const QString &name)
    {
        homePath = home.path() + '/' + name;
        QDir().mkpath(homePath + "/result");
        setup.saveSetupInfo(homePath);
    }

    // Appends text to the result file of the player for day (counted from 1).
    void appendResult(int day, const QString &id, const QByteArray &text)
    {
        const QString dir = homePath + QString("/result/day%1/").arg(day) + id;
        QDir().mkpath(dir);
        QFile file(dir + "/" + id + ".result");
        file.open(QIODevice::Append);
        file.write(text);
    }

    QTemporaryDir home;
    // Where the results go: the temporary directory, or the home saveUnder made.
    QString homePath;
    CSetupInfo setup;
};

#endif
