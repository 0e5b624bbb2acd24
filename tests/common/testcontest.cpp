#include "common/testcontest.h"

#include "common/testfiles.h"
#include "contesttree.h"
#include "csetupinfo.h"

#include "evallist.h"
#include "mythread.h"
#include "testpoint.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace
{

const char JUDGE[] = "#!/bin/sh\n"
                     "case \"$(cat \"$3\")\" in\n"
                     "silent*) exit 0 ;;\n"
                     "braces*) printf 'got {x} and }\\rtail\\n5\\n'; exit 0 ;;\n"
                     "esac\n"
                     "if cmp -s \"$2\" \"$3\"; then printf 'ok\\n10\\n'; else printf 'wrong answer "
                     "on line 1\\n0\\n'; fi\n";
const char SHOW[] = "#!/bin/sh\n"
                    "line=$(head -n 1 \"$2\" 2>/dev/null)\n"
                    "printf '%s\\n10\\n' \"${line:-<none>}\"\n";

} // namespace

TestContest::TestContest(const QString &homeName) : home(base.path() + QLatin1Char('/') + homeName)
{
    QFile::setPermissions(base.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadOther | QFile::ExeOther | QFile::ExeGroup);
    if (!ContestTree::makeTree(home, QString()))
        qFatal("cannot make %s", qPrintable(home));
    write(QStringLiteral("filter/judge"), JUDGE);
    write(QStringLiteral("filter/show"), SHOW);
    day.setHome(home);
}

CTaskInfo *TestContest::addTask(const QString &name, _com_type type, int points, float timelimit)
{
    auto *task = new CTaskInfo;
    task->setHome(home);
    task->setTaskname(name);
    task->setCommitType(type);
    task->setSamplenum(points);
    task->setTimelimit(timelimit);
    task->setMemlimit(64);
    task->setPlugname(QStringLiteral("judge"));
    day.addATask(task);
    return day.getTaskInfo(day.getTaskNum() - 1);
}

void TestContest::writePoint(const QString &task, int point, const QByteArray &in,
                             const QByteArray &ans)
{
    write(QStringLiteral("evaldata/%1%2.in").arg(task).arg(point), in);
    write(QStringLiteral("evaldata/%1%2.ans").arg(task).arg(point), ans);
}

void TestContest::submit(const QString &id, const QString &task, const QString &file,
                         const QByteArray &text)
{
    write(QStringLiteral("players/day1/%1/%2/%3").arg(id, task, file), text);
}

bool TestContest::save(const QList<QPair<QString, QString>> &players) const
{
    CSetupInfo setup;
    setup.setHome(home);
    setup.addADay(new CDayInfo(day));
    CPlayerInfo registry;
    for (const auto &player : players)
        registry.addPlayerInfo(player.first, player.second);
    setup.setPlayerInfo(&registry);
    return setup.saveSetupInfo();
}

bool TestContest::evaluate(const QStringList &ids, int taskIndex)
{
    evallist.clear();
    for (int r = 0; r < ids.size(); ++r)
        evallist.append({r, ids[r]});
    MyThread thread(&day, 1, taskIndex);
    thread.start();
    return thread.wait(60000);
}

QString TestContest::result(const QString &id) const
{
    QFile f(QStringLiteral("%1/result/day1/%2/%2.result").arg(home, id));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<no result file>");
    QString text = QString::fromUtf8(f.readAll());
    return text.replace(QRegularExpression(QStringLiteral("^(-?\\d+ -?\\d+) \\d+\\.\\d{3} "),
                                           QRegularExpression::MultilineOption),
                        QStringLiteral("\\1 T "));
}

void TestContest::write(const QString &path, const QByteArray &text) const
{
    const QString full = home + QLatin1Char('/') + path;
    if (!writeFile(full, text))
        qFatal("cannot write %s", qPrintable(full));
    if (path.startsWith(QLatin1String("filter/")))
        QFile::setPermissions(full, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                        QFile::ExeOther);
}
