#ifndef TALDON_TESTS_COMMON_TESTCONTEST_H
#define TALDON_TESTS_COMMON_TESTCONTEST_H

#include "cdayinfo.h"

#include <QList>
#include <QPair>
#include <QTemporaryDir>

// A contest home in a temporary directory with one day, which others may read and search (a root
// judge runs submissions as another user). The filter "judge" scores 10 when the output equals
// the answer; it prints nothing for an answer starting "silent", a message with braces and a
// carriage return and score 5 for one starting "braces". "show" scores 10, showing the output's
// first line or "<none>".
class TestContest
{
public:
    explicit TestContest(const QString &homeName = QStringLiteral("home"));

    CTaskInfo *addTask(const QString &name, _com_type type, int points, float timelimit = 1.0f);
    void writePoint(const QString &task, int point, const QByteArray &in, const QByteArray &ans);
    void submit(const QString &id, const QString &task, const QString &file,
                const QByteArray &text);
    // Saves the contest's records with the players registered, (id, name) each.
    bool save(const QList<QPair<QString, QString>> &players) const;
    // Evaluates the players on the day through the evaluation thread and waits for it.
    bool evaluate(const QStringList &ids, int taskIndex = -1);
    // The player's result file with every test point's time replaced by "T".
    QString result(const QString &id) const;
    void write(const QString &path, const QByteArray &text) const;

    QTemporaryDir base;
    QString home;
    CDayInfo day;
};

#endif
