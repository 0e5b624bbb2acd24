#include "common/testfiles.h"

#include "csetupinfo.h"
#include "globals.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TstContestFiles : public QObject
{
    Q_OBJECT

private slots:
    void newContestSavesFourLinesAndReloads();
    void contestRoundTripUnderChinesePath();
    void missingNestedFilesGiveDefaults();
    void dayWithoutTasknumHasNoTasks();
    void crlfSetupReadsLikeLf();
    void failedSaveKeepsOldFiles();
    void deletedDaysTakeTheirDirectories();
    void failedRenameIsUndone();
    void dayListOperations();

private:
    static void buildContest(CSetupInfo &setup);
    QTemporaryDir tmp;
};

void TstContestFiles::buildContest(CSetupInfo &setup)
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

void TstContestFiles::newContestSavesFourLinesAndReloads()
{
    const QString home = tmp.filePath("new");
    QVERIFY(QDir().mkpath(home));
    CSetupInfo setup;
    QVERIFY(setup.saveSetupInfo(home));
    QCOMPARE(readFile(home + "/setup.cfg"),
             QByteArray("NAME=程序设计竞赛\nDAYNUM=0\nPLAYER=player.info\nTEAM=team.info\n"));
    QCOMPARE(QDir(home).entryList(QDir::Files), QStringList("setup.cfg"));

    CSetupInfo loaded(home + "/setup.cfg");
    QCOMPARE(loaded.getHome(), home);
    QCOMPARE(loaded.getDayNum(), 0);
    QVERIFY(loaded.getPlayerInfo());
    QVERIFY(loaded.getPlayerInfo()->getPlayerInfo()->isEmpty());
    QVERIFY(loaded.getPlayerInfo()->getTeamInfo()->isEmpty());
}

void TstContestFiles::contestRoundTripUnderChinesePath()
{
    const QString home = tmp.filePath("考试 2026/$(touch x) 'q'");
    QVERIFY(QDir().mkpath(home));
    CSetupInfo setup;
    setup.setHome(home);
    buildContest(setup);
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(readFile(home + "/day2.info"), QByteArray("NAME=第2天\nBASESCORE=10\nTASKNUM=2\n"));
    QCOMPARE(readFile(home + "/player.info"), QByteArray("JS-01@李雷\n"));
    QCOMPARE(readFile(home + "/team.info"), QByteArray("JS@江苏\n"));

    CSetupInfo loaded(home + "/setup.cfg");
    QCOMPARE(loaded.getContestName(), QString("省赛 2026"));
    QCOMPARE(loaded.getDayNum(), 2);
    CDayInfo *day2 = loaded.getDayInfo(QString("第2天"));
    QVERIFY(day2);
    QCOMPARE(day2->getBaseScore(), 10);
    QCOMPARE(day2->getHome(), home);
    QCOMPARE(day2->getTaskNum(), 2);
    QCOMPARE(day2->getTaskInfo(1)->getTaskname(), QString("t22"));
    QCOMPARE(day2->getTaskInfo(1)->getHome(), home);
    QCOMPARE(day2->getTaskInfo(QString("t21"))->getTotal(), 120);
    QCOMPARE(loaded.getPlayerInfo()->getPlayerInfoById("JS-01")->name, QString("李雷"));

    // Saving elsewhere moves the home; every file is written again to the byte.
    const QString other = tmp.filePath("副本");
    QVERIFY(QDir().mkpath(other));
    QVERIFY(loaded.saveSetupInfo(other));
    QCOMPARE(loaded.getHome(), other);
    const QStringList files = QDir(home).entryList(QDir::Files, QDir::Name);
    QCOMPARE(QDir(other).entryList(QDir::Files, QDir::Name), files);
    for (const QString &f : files)
        QCOMPARE(readFile(other + '/' + f), readFile(home + '/' + f));
    QVERIFY(!QFile::exists(home + "/x"));
}

void TstContestFiles::missingNestedFilesGiveDefaults()
{
    const QString home = tmp.filePath("partial");
    QVERIFY(writeFiles(home, {{"setup.cfg", "NAME=c\nDAYNUM=2\nPLAYER=nobody.info\n"},
                              {"day1.info", "NAME=one\nTASKNUM=3\n"},
                              {"task1_1.info", "NAME=a\n"},
                              {"task1_3.info", "NAME=c\n"}}));

    CSetupInfo setup(home + "/setup.cfg");
    QCOMPARE(setup.getDayNum(), 2);
    CDayInfo *day1 = setup.getDayInfo(0);
    QCOMPARE(day1->getTaskNum(), 3);
    QCOMPARE(day1->getTaskInfo(1)->getTaskname(), QString("Unknown"));
    QCOMPARE(day1->getTaskInfo(1)->getCclnum(), 3);
    QCOMPARE(day1->getTaskInfo(2)->getTaskname(), QString("c"));
    CDayInfo *day2 = setup.getDayInfo(1);
    QCOMPARE(day2->getDayname(), QString());
    QCOMPARE(day2->getTaskNum(), 0);
    QCOMPARE(day2->getHome(), home);
    QVERIFY(setup.getPlayerInfo());

    CSetupInfo unreadable(home + "/none.cfg");
    QCOMPARE(unreadable.getHome(), home);
    QCOMPARE(unreadable.getContestName(), QString("程序设计竞赛"));
    QVERIFY(!unreadable.getPlayerInfo());

    // Absurd counts in a file do not make absurd allocations.
    QVERIFY(writeFile(home + "/setup.cfg", "DAYNUM=2000000000\n"));
    QVERIFY(writeFile(home + "/day1.info", "TASKNUM=2000000000\n"));
    CSetupInfo huge(home + "/setup.cfg");
    QCOMPARE(huge.getDayNum(), 99);
    QCOMPARE(huge.getDayInfo(0)->getTaskNum(), 99);
}

void TstContestFiles::dayWithoutTasknumHasNoTasks()
{
    const QString home = tmp.filePath("pending");
    QVERIFY(writeFiles(home, {{"day1.info", "NAME=one\nTASKNUM=2\n"},
                              {"day2.info", "NAME=two\n"},
                              {"day3.info", "TASKNUM=0\n"},
                              {"task2_1.info", "NAME=stray\n"}}));

    CDayInfo day1(home, 1);
    QCOMPARE(day1.getTaskNum(), 2);
    CDayInfo day2(home, 2);
    QCOMPARE(day2.getDayname(), QString("two"));
    QCOMPARE(day2.getTaskNum(), 0);

    // A reload without TASKNUM= or with TASKNUM=0 empties a day that had tasks.
    QVERIFY(day1.loadDayInfo(home, 2));
    QCOMPARE(day1.getTaskNum(), 0);
    QVERIFY(writeFile(home + "/day1.info", "TASKNUM=1\n"));
    QVERIFY(day2.loadDayInfo(home, 1));
    QCOMPARE(day2.getTaskNum(), 1);
    QVERIFY(day2.loadDayInfo(home, 3));
    QCOMPARE(day2.getTaskNum(), 0);
}

void TstContestFiles::crlfSetupReadsLikeLf()
{
    const QString home = tmp.filePath("crlf");
    QVERIFY(writeFiles(home, {{"setup.cfg", "NAME=win\r\nDAYNUM=1\r\nPLAYER=player.info\r\n"},
                              {"day1.info", "NAME=d\r\nBASESCORE=7\r\nTASKNUM=1\r\n"},
                              {"task1_1.info", "NAME=sum\r\n"},
                              {"player.info", "A1@Alpha\r\nB2@Beta\r\n"}}));
    CSetupInfo setup(home + "/setup.cfg");
    QCOMPARE(setup.getContestName(), QString("win"));
    QCOMPARE(setup.getDayInfo(0)->getBaseScore(), 7);
    QCOMPARE(setup.getDayInfo(0)->getTaskInfo(0)->getTaskname(), QString("sum"));
    QCOMPARE(setup.getPlayerInfo()->getPlayerInfoById("B2")->name, QString("Beta"));
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
    QVERIFY(QFileInfo(home + "/day2.info").isDir());
    QCOMPARE(readFile(home + "/task2_1.info"), oldTask);
    QCOMPARE(QDir(home).entryList(QDir::Files | QDir::Hidden).filter("day2").size(), 0);

    // A home under a regular file cannot be written at all.
    QVERIFY(!setup.saveSetupInfo(home + "/setup.cfg/sub"));
    QVERIFY(setup.saveError().startsWith(home + "/setup.cfg/sub/setup.cfg: "));
    QVERIFY(readFile(home + "/setup.cfg").startsWith("NAME=省赛 2026\n"));

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

// Three days with files in their directories, saved: the contest as the window opens it.
static CSetupInfo *threeDaysWithFiles(const QString &home)
{
    CSetupInfo written;
    for (int d = 1; d <= 3; ++d) {
        auto *day = new CDayInfo;
        day->setDayname(QString("day %1").arg(d));
        written.addADay(day);
        const QByteArray mark = QByteArray::number(d);
        writeFiles(home, {{QString("players/day%1/p/t/t.c").arg(d), "source " + mark},
                          {QString("result/day%1/p/p.result").arg(d), "result " + mark}});
    }
    writeFile(home + "/ps/day3/p/p.pdf", "report 3");
    written.saveSetupInfo(home);
    return new CSetupInfo(home + "/setup.cfg");
}

void TstContestFiles::deletedDaysTakeTheirDirectories()
{
    const QString home = tmp.filePath("renumber");
    std::unique_ptr<CSetupInfo> setup(threeDaysWithFiles(home));
    QCOMPARE(setup->movesIfDeleted(1).size(), 5);
    setup->delADay(1);
    // Until the save every day keeps its own directories, and a new day takes fresh ones.
    QCOMPARE(setup->getDayInfo(1)->getDirNumber(), 3);
    setup->addADay(new CDayInfo);
    QCOMPARE(setup->getDayInfo(2)->getDirNumber(), 4);
    QCOMPARE(readFile(home + "/result/day2/p/p.result"), QByteArray("result 2"));
    QVERIFY(writeFile(home + "/result/day4/p/p.result", "result 4"));

    QVERIFY(setup->saveSetupInfo());
    QCOMPARE(readFile(home + "/players/day2.deleted/p/t/t.c"), QByteArray("source 2"));
    QCOMPARE(readFile(home + "/result/day2.deleted/p/p.result"), QByteArray("result 2"));
    QCOMPARE(readFile(home + "/players/day2/p/t/t.c"), QByteArray("source 3"));
    QCOMPARE(readFile(home + "/result/day2/p/p.result"), QByteArray("result 3"));
    QCOMPARE(readFile(home + "/ps/day2/p/p.pdf"), QByteArray("report 3"));
    QCOMPARE(readFile(home + "/result/day3/p/p.result"), QByteArray("result 4"));
    QVERIFY(!QFileInfo::exists(home + "/players/day3"));
    QVERIFY(!QFileInfo::exists(home + "/result/day4"));
    QVERIFY(readFile(home + "/day2.info").startsWith("NAME=day 3\n"));
    for (int d = 0; d < 3; ++d)
        QCOMPARE(setup->getDayInfo(d)->getDirNumber(), d + 1);

    // A second deletion of a day numbered 2 keeps the first one's files too; a day deleted by
    // name goes the same way.
    setup->delADay(QString("day 3"));
    QVERIFY(setup->saveSetupInfo());
    QCOMPARE(readFile(home + "/players/day2.deleted.2/p/t/t.c"), QByteArray("source 3"));
    QCOMPARE(readFile(home + "/players/day2.deleted/p/t/t.c"), QByteArray("source 2"));
    QCOMPARE(readFile(home + "/result/day2/p/p.result"), QByteArray("result 4"));

    // Reloading forgets a deletion that was never saved; Quit does not save.
    CSetupInfo reloaded(home + "/setup.cfg");
    reloaded.delADay(0);
    CSetupInfo again(home + "/setup.cfg");
    QVERIFY(again.saveSetupInfo());
    QCOMPARE(readFile(home + "/result/day1/p/p.result"), QByteArray("result 1"));
}

void TstContestFiles::failedRenameIsUndone()
{
    const QString home = tmp.filePath("undo");
    QVERIFY(writeFiles(home, {{"players/a/f", "a"}, {"players/c/f", "c"}, {"players/d/f", "d"}}));
    QString error;
    QVERIFY(!DayDirectories::apply(home, {{"players/a", "players/b"}, {"players/c", "players/d"}},
                                   &error));
    QVERIFY2(error.contains(home + "/players/c → players/d"), qPrintable(error));
    QCOMPARE(readFile(home + "/players/a/f"), QByteArray("a"));
    QVERIFY(!QFileInfo::exists(home + "/players/b"));

    // Renames made for a setup.cfg that cannot be written are taken back.
    std::unique_ptr<CSetupInfo> setup(threeDaysWithFiles(home));
    setup->delADay(0);
    QVERIFY(QFile::remove(home + "/setup.cfg"));
    QVERIFY(QDir().mkdir(home + "/setup.cfg"));
    QVERIFY(!setup->saveSetupInfo());
    QCOMPARE(setup->saveError(), home + "/setup.cfg: Filename refers to a directory");
    QCOMPARE(readFile(home + "/players/day1/p/t/t.c"), QByteArray("source 1"));
    QCOMPARE(readFile(home + "/result/day3/p/p.result"), QByteArray("result 3"));
    QVERIFY(!QFileInfo::exists(home + "/players/day1.deleted"));
}

void TstContestFiles::dayListOperations()
{
    CSetupInfo setup;
    setup.setHome("/contest");
    buildContest(setup);
    QCOMPARE(setup.getDayInfo(1)->getHome(), QString("/contest"));
    auto *same = new CDayInfo;
    same->setDayname("第1天");
    setup.addADay(same);
    QCOMPARE(setup.getDayNum(), 3);
    QCOMPARE(setup.getDayInfo(QString("第1天")), setup.getDayInfo(0));

    CSetupInfo copy;
    copy = setup;
    CSetupInfo loaded(tmp.filePath("none/setup.cfg"));
    CSetupInfo loadedCopy;
    loadedCopy = loaded;
    QCOMPARE(loadedCopy.getSetupFileName(), tmp.filePath("none/setup.cfg"));
    QCOMPARE(loadedCopy.getHome(), tmp.filePath("none"));
    setup.delADay(5);
    setup.delADay(-1);
    QCOMPARE(setup.getDayNum(), 3);
    setup.delADay(QString("第1天"));
    QCOMPARE(setup.getDayInfo(0)->getDayname(), QString("第2天"));
    QCOMPARE(setup.getDayInfo(1)->getDayname(), QString("第1天"));
    setup.delADay(0);
    setup.delADay(0);
    QCOMPARE(setup.getDayNum(), 0);
    QVERIFY(!setup.getDayInfo(0));

    // The copy is deep: days, tasks and registry survive the original's changes.
    QCOMPARE(copy.getDayNum(), 3);
    QCOMPARE(copy.getDayInfo(1)->getTaskInfo(1)->getTaskname(), QString("t22"));
    setup.getPlayerInfo()->delPlayerInfoAll();
    QCOMPARE(copy.getPlayerInfo()->getPlayerInfo()->size(), 1);

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
    QCOMPARE(day->getTaskNum(), 2);
    QCOMPARE(day->getTaskInfo(0)->getTaskname(), QString("t22"));
    QCOMPARE(day->getTaskInfo(1)->getSamplenum(), 3);
}

QTEST_GUILESS_MAIN(TstContestFiles)
#include "tst_contestfiles.moc"
