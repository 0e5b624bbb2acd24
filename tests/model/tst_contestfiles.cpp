#include "common/testfiles.h"

#include "csetupinfo.h"
#include "globals.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Files = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(Files)

class TstContestFiles : public QObject
{
    Q_OBJECT

private slots:
    void contestRoundTripUnderOddPath();
    void handWrittenFilesRead_data();
    void handWrittenFilesRead();
    void failedSaveKeepsOldFiles();
    void deletedDaysTakeTheirDirectories();
    void failedRenameIsUndone();
    void dayAndTaskLists();

private:
    QTemporaryDir tmp;
};

// Two days, the first with task t11, the second with t21 and t22, each of 10 points with mark
// 30 on point 2; a player and a team.
static void buildContest(CSetupInfo &setup)
{
    setup.setContestName("省赛 2026");
    for (int d = 1; d <= 2; ++d) {
        auto *day = new CDayInfo;
        day->setDayname(QString("第%1天").arg(d));
        day->setBaseScore(d * 5);
        setup.addADay(day);
        for (int t = 1; t <= d; ++t) {
            auto *task = new CTaskInfo;
            task->setTaskname(QString("t%1%2").arg(d).arg(t));
            task->setSampleMark(2, 30);
            setup.getDayInfo(d - 1)->addATask(task);
        }
    }
    CPlayerInfo players;
    players.addPlayerInfo("JS-01", "李雷");
    players.addTeamInfo("JS", "江苏");
    setup.setPlayerInfo(&players);
}

// The contest as one line: its name; per day the name, base score, directory number and the
// tasks with their totals; the players and teams, or "-" without a registry.
static QString describe(CSetupInfo &setup)
{
    QStringList parts{setup.getContestName()};
    for (int d = 0; d < setup.getDayNum(); ++d) {
        CDayInfo *day = setup.getDayInfo(d);
        QString text = day->getDayname() +
                       QString("/%1/%2:").arg(day->getBaseScore()).arg(day->getDirNumber());
        for (int t = 0; t < day->getTaskNum(); ++t)
            text += ' ' + day->getTaskInfo(t)->getTaskname() + '=' +
                    QString::number(day->getTaskInfo(t)->getTotal());
        parts << text;
    }
    if (!setup.getPlayerInfo())
        return (parts << "-").join('|');
    for (const PlayerInfo &p : *setup.getPlayerInfo()->getPlayerInfo())
        parts << p.id + '@' + p.name;
    for (const TeamInfo &t : *setup.getPlayerInfo()->getTeamInfo())
        parts << "team " + t.id + '@' + t.name;
    return parts.join('|');
}

void TstContestFiles::contestRoundTripUnderOddPath()
{
    const QString home = tmp.filePath("考试 2026/$(touch x) 'q'");
    QVERIFY(QDir().mkpath(home));
    CSetupInfo setup;
    setup.setHome(home);
    buildContest(setup);
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(readFile(home + "/setup.cfg"),
             QByteArray("NAME=省赛 2026\nDAYNUM=2\nPLAYER=player.info\nTEAM=team.info\n"));
    QCOMPARE(readFile(home + "/day2.info"), QByteArray("NAME=第2天\nBASESCORE=10\nTASKNUM=2\n"));
    QCOMPARE(readFile(home + "/player.info"), QByteArray("JS-01@李雷\n"));
    QCOMPARE(readFile(home + "/team.info"), QByteArray("JS@江苏\n"));

    CSetupInfo loaded(home + "/setup.cfg");
    const QString contest =
        "省赛 2026|第1天/5/1: t11=120|第2天/10/2: t21=120 t22=120|JS-01@李雷|team JS@江苏";
    QCOMPARE(describe(loaded), contest);
    QCOMPARE(loaded.getDayInfo(QString("第2天"))->getTaskInfo(QString("t22"))->getHome(), home);

    // Saving elsewhere moves the home.
    QVERIFY(QDir().mkpath(tmp.filePath("副本")));
    QVERIFY(loaded.saveSetupInfo(tmp.filePath("副本")));
    QCOMPARE(loaded.getHome(), tmp.filePath("副本"));
    QCOMPARE(readFile(tmp.filePath("副本/task2_2.info")), readFile(home + "/task2_2.info"));
    QVERIFY(!QFile::exists(home + "/x"));
}

void TstContestFiles::handWrittenFilesRead_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("contest");

    QTest::newRow("crlf") << Files{{"setup.cfg", "NAME=win\r\nDAYNUM=1\r\nPLAYER=player.info\r\n"},
                                   {"day1.info", "NAME=d\r\nBASESCORE=7\r\nTASKNUM=1\r\n"},
                                   {"task1_1.info", "NAME=sum\r\nSAMPLES=2\r\n"},
                                   {"player.info", "A1@Alpha\r\nB2@Beta\r\n"}}
                          << "win|d/7/1: sum=20|A1@Alpha|B2@Beta";
    // Missing files give defaults; a day file without TASKNUM= has no tasks, whatever was read
    // before it.
    QTest::newRow("missing files")
        << Files{{"setup.cfg", "NAME=c\nDAYNUM=3\nPLAYER=nobody.info\nTEAM=team.info\n"},
                 {"day1.info", "NAME=one\nTASKNUM=3\n"},
                 {"task1_1.info", "NAME=a\n"},
                 {"task1_3.info", "NAME=c\n"},
                 {"day2.info", "NAME=two\n"},
                 {"task2_1.info", "NAME=stray\n"},
                 {"team.info", "JS@江苏\n"}}
        << "c|one/0/1: a=100 Unknown=100 c=100|two/0/2:|/0/3:|team JS@江苏";
    QTest::newRow("no setup") << Files{} << "程序设计竞赛|-";
    // Absurd counts do not make absurd allocations.
    QString absurd = "程序设计竞赛|/0/1:" + QString(" Unknown=100").repeated(99);
    for (int d = 2; d <= 99; ++d)
        absurd += QString("|/0/%1:").arg(d);
    QTest::newRow("absurd counts")
        << Files{{"setup.cfg", "DAYNUM=2000000000\n"}, {"day1.info", "TASKNUM=2000000000\n"}}
        << absurd + "|-";
}

// A copy of the contest read from hand-written files.
void TstContestFiles::handWrittenFilesRead()
{
    QFETCH(Files, files);
    QFETCH(QString, contest);
    const QString home = tmp.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(home));
    QVERIFY(writeFiles(home, files));
    CSetupInfo setup(home + "/setup.cfg");
    CSetupInfo copy;
    copy = setup;
    QCOMPARE(describe(copy), contest);
    QCOMPARE(copy.getSetupFileName(), home + "/setup.cfg");
    QCOMPARE(copy.getHome(), home);
    for (int d = 0; d < copy.getDayNum(); ++d)
        QCOMPARE(copy.getDayInfo(d)->getHome(), home);
    QVERIFY(!CDayInfo().loadDayInfo(home, 100));
}

void TstContestFiles::failedSaveKeepsOldFiles()
{
    const QString home = tmp.filePath("locked");
    QVERIFY(QDir().mkpath(home));
    CSetupInfo setup;
    buildContest(setup);
    QVERIFY(setup.saveSetupInfo(home));
    const QByteArray oldTask = readFile(home + "/task2_1.info");

    // A directory where day2.info belongs: day 1 is written, day 2 and its tasks are not.
    QVERIFY(QFile::remove(home + "/day2.info"));
    QVERIFY(QDir().mkdir(home + "/day2.info"));
    setup.getDayInfo(1)->getTaskInfo(0)->setTaskname("changed");
    setup.getDayInfo(0)->setDayname("renamed");
    QVERIFY(!setup.saveSetupInfo(home));
    QVERIFY2(setup.saveError().startsWith(home + "/day2.info: "), qPrintable(setup.saveError()));
    QVERIFY(readFile(home + "/day1.info").startsWith("NAME=renamed\n"));
    QCOMPARE(readFile(home + "/task2_1.info"), oldTask);
    QCOMPARE(QDir(home).entryList(QDir::Files | QDir::Hidden).filter("day2").size(), 0);

    // A registry whose team list cannot be written writes no player list either.
    QVERIFY(QDir().rmdir(home + "/day2.info"));
    QVERIFY(setup.saveSetupInfo(home));
    QVERIFY(QFile::remove(home + "/team.info"));
    QVERIFY(QDir().mkdir(home + "/team.info"));
    setup.getPlayerInfo()->addPlayerInfo("JS-02", "韩梅梅");
    QVERIFY(!setup.saveSetupInfo(home));
    QVERIFY(setup.saveError().startsWith(home + "/team.info: "));
    QCOMPARE(readFile(home + "/player.info"), QByteArray("JS-01@李雷\n"));
}

// The files below the directories of home, "path=contents" each, in path order.
static QString treeFiles(const QString &home)
{
    QStringList files;
    QDirIterator it(home, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next().mid(home.size() + 1);
        if (path.contains('/'))
            files << path + '=' + readFile(it.filePath());
    }
    files.sort();
    return files.join('|');
}

// Three days with files in their directories, saved: the contest as the window opens it.
static CSetupInfo *threeDaysWithFiles(const QString &home)
{
    CSetupInfo written;
    for (int d = 1; d <= 3; ++d) {
        auto *day = new CDayInfo;
        day->setDayname(QString("day %1").arg(d));
        written.addADay(day);
        const QByteArray mark = QByteArray::number(d);
        writeFiles(home, {{QString("players/day%1/p/t.c").arg(d), "source " + mark},
                          {QString("result/day%1/p.result").arg(d), "result " + mark}});
    }
    writeFile(home + "/ps/day3/p.pdf", "report 3");
    written.saveSetupInfo(home);
    return new CSetupInfo(home + "/setup.cfg");
}

void TstContestFiles::deletedDaysTakeTheirDirectories()
{
    const QString home = tmp.filePath("renumber");
    std::unique_ptr<CSetupInfo> opened(threeDaysWithFiles(home));
    QCOMPARE(opened->movesIfDeleted(1).size(), 5);
    opened->delADay(1);
    // A copy carries the pending deletion. Until the save every day keeps its own directories,
    // and a new day takes fresh ones.
    CSetupInfo setup;
    setup = *opened;
    setup.addADay(new CDayInfo);
    QCOMPARE(describe(setup), QString("程序设计竞赛|day 1/0/1:|day 3/0/3:|/0/4:"));
    QVERIFY(writeFile(home + "/result/day4/p.result", "result 4"));
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(treeFiles(home),
             QString("players/day1/p/t.c=source 1|players/day2.deleted/p/t.c=source 2|"
                     "players/day2/p/t.c=source 3|ps/day2/p.pdf=report 3|"
                     "result/day1/p.result=result 1|result/day2.deleted/p.result=result 2|"
                     "result/day2/p.result=result 3|result/day3/p.result=result 4"));
    QVERIFY(readFile(home + "/day2.info").startsWith("NAME=day 3\n"));
    QCOMPARE(describe(setup), QString("程序设计竞赛|day 1/0/1:|day 3/0/2:|/0/3:"));

    // A second deletion of a day numbered 2 keeps the first one's files too; a day deleted by
    // name goes the same way. Reading the files again forgets a deletion never saved.
    setup.delADay(QString("day 3"));
    QVERIFY(setup.saveSetupInfo());
    setup.delADay(0);
    QVERIFY(setup.loadSetupInfo(home + "/setup.cfg"));
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(treeFiles(home),
             QString("players/day1/p/t.c=source 1|players/day2.deleted.2/p/t.c=source 3|"
                     "players/day2.deleted/p/t.c=source 2|ps/day2.deleted/p.pdf=report 3|"
                     "result/day1/p.result=result 1|result/day2.deleted.2/p.result=result 3|"
                     "result/day2.deleted/p.result=result 2|result/day2/p.result=result 4"));
}

void TstContestFiles::failedRenameIsUndone()
{
    const QString home = tmp.filePath("undo");
    const QString files = "players/a/f=a|players/c/f=c|players/d/f=d";
    QVERIFY(writeFiles(home, {{"players/a/f", "a"}, {"players/c/f", "c"}, {"players/d/f", "d"}}));
    QString error;
    QVERIFY(!DayDirectories::apply(home, {{"players/a", "players/b"}, {"players/c", "players/d"}},
                                   &error));
    QCOMPARE(error, home + "/players/c → players/d: 目标已存在");
    QCOMPARE(treeFiles(home), files);

    // Renames made for a setup.cfg that cannot be written are taken back.
    std::unique_ptr<CSetupInfo> setup(threeDaysWithFiles(home));
    const QString before = treeFiles(home);
    setup->delADay(0);
    QVERIFY(QFile::remove(home + "/setup.cfg"));
    QVERIFY(QDir().mkdir(home + "/setup.cfg"));
    QVERIFY(!setup->saveSetupInfo());
    QCOMPARE(setup->saveError(), home + "/setup.cfg: Filename refers to a directory");
    QCOMPARE(treeFiles(home), before);
}

// Lookups by name take the first match, removals take it alone; copies are deep.
void TstContestFiles::dayAndTaskLists()
{
    CSetupInfo setup;
    setup.setHome("/contest");
    buildContest(setup);
    auto *same = new CDayInfo;
    same->setDayname("第1天");
    setup.addADay(same);
    QCOMPARE(setup.getDayInfo(2)->getHome(), QString("/contest"));
    QCOMPARE(setup.getDayInfo(QString("第1天")), setup.getDayInfo(0));
    CSetupInfo copy;
    copy = setup;
    const QString before = describe(setup);
    setup.delADay(5);
    setup.delADay(-1);
    setup.delADay(QString("第1天"));
    QCOMPARE(describe(setup), QString("省赛 2026|第2天/10/2: t21=120 t22=120|第1天/0/3:|"
                                      "JS-01@李雷|team JS@江苏"));
    setup.delADay(0);
    setup.delADay(0);
    QVERIFY(!setup.getDayInfo(0));
    setup.getPlayerInfo()->delPlayerInfoAll();
    QCOMPARE(describe(setup), QString("省赛 2026|team JS@江苏"));
    QCOMPARE(describe(copy), before);

    CDayInfo *day = copy.getDayInfo(1);
    auto *twin = new CTaskInfo;
    twin->setTaskname("t21");
    twin->setSamplenum(3);
    day->addATask(twin);
    QCOMPARE(day->getTaskInfo(QString("t21")), day->getTaskInfo(0));
    day->updateTaskMemLimit(64);
    for (int t = 0; t < day->getTaskNum(); ++t)
        QCOMPARE(day->getTaskInfo(t)->getMemlimit(), 64);
    day->delATask(QString("t21"));
    QCOMPARE(describe(copy).section('|', 2, 2), QString("第2天/10/2: t22=120 t21=30"));
    day->delATask(0);
    day->delATask(1);
    QCOMPARE(describe(copy).section('|', 2, 2), QString("第2天/10/2: t21=30"));
}

QTEST_GUILESS_MAIN(TstContestFiles)
#include "tst_contestfiles.moc"
