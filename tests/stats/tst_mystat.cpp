#include "common/contestfixture.h"
#include "mystat.h"
#include "statsglobals.h"
#include "teamstat.h"

#include <QtTest>

// A player of a hand-made MyStat whose one task has the given total and test point 1.
static void addResult(MyStat *stat, const QString &id, const QString &task, int total,
                      int score1 = 0, float time1 = 0)
{
    stat->addPlayer(id, id);
    TaskResult result(task);
    result.total = total;
    result.score[1] = score1;
    result.time[1] = time1;
    stat->players[id].tasks.insert(task, result);
}

class TestMyStat : public QObject
{
    Q_OBJECT

private slots:
    void statisticsDivideByAllPlayers();
    void rankingAndWrittenScores();
    void resetStatsFollowsTheNewContest();
};

// Averages divide by all players, results or not; a time of a point counts for the average
// time always, for the others only when the point scored; 100 stands for no value.
void TestMyStat::statisticsDivideByAllPlayers()
{
    MyStat stat(nullptr);
    QCOMPARE(stat.getEqual("sum"), 0.0f);
    QCOMPARE(stat.getEqualTime("sum", 1), 0.0f);
    addResult(&stat, "a", "sum", 60, 10, 0.5f);
    addResult(&stat, "b", "sum", 90, 4, 0.5f);
    stat.addPlayer("c", "c");
    QCOMPARE(stat.getMax("sum"), 90);
    QCOMPARE(stat.getMin("sum"), 60);
    QCOMPARE(stat.getEqual("sum"), 50.0f);
    QCOMPARE(stat.getSampleMax("sum", 1), 10);
    QCOMPARE(stat.getSampleEqual("sum", 1), 14.0f / 3);
    QCOMPARE(stat.getEqualTime("sum", 1), 1.0f / 3);
    QCOMPARE(stat.getSampleMax("sum", 100), 0);
    QCOMPARE(stat.getMin("none"), 0);

    addResult(&stat, "d", "sum", 0, 0, 1.2f); // timed out
    addResult(&stat, "e", "sum", 10, 10, 0.3f);
    QCOMPARE(stat.getEqualTime("sum", 1), 2.5f / 5);
    QCOMPARE(stat.getEqualSolveTime("sum", 1), 1.3f / 3);
    QCOMPARE(stat.getMinTime("sum", 1), 0.3f);
    QCOMPARE(stat.getEqualSolveTime("sum", 2), 100.0f);
    QCOMPARE(stat.getMinTime("sum", 2), 100.0f);
    QCOMPARE(stat.getEqualTime("sum", 0), 100.0f);

    addResult(&stat, "f", "neg", -5, -3, 0.1f);
    QCOMPARE(stat.getMax("neg"), -5);
    QCOMPARE(stat.getSampleMax("neg", 1), 0);
    QVERIFY(stat.markPlayer("f") && stat.isMarked("f") && !stat.isMarked("e"));
    QVERIFY(!stat.markPlayer("zz"));
}

// Best first, equal totals by id; only the contest's tasks count. Written scores are read
// line by line, a later line for a player replacing an earlier one.
void TestMyStat::rankingAndWrittenScores()
{
    ContestFixture c({{{"t", {10}}}});
    MyStat stat(&c.setup);
    for (const char *id : {"e", "a", "b", "c"})
        addResult(&stat, id, "t", id[0] == 'b' ? 120 : 90);
    addResult(&stat, "d", "deleted", 500);
    QCOMPARE(stat.getList(1), QList<QString>({"b", "a", "c", "e", "d"}));

    const QString path = c.home.filePath("written.txt");
    QVERIFY(writeFile(path, "a@85\nb@90@extra\nc@70\nc@x\nb 99\nzz@5\n"));
    QVERIFY(stat.importWritten(path));
    QList<int> written;
    for (const char *id : {"a", "b", "c", "d"})
        written << stat.getPlayerStat(id).getWritten();
    QCOMPARE(written, QList<int>({85, 90, 0, 0}));
    QVERIFY(!stat.playerExists("zz"));
    QVERIFY(!stat.importWritten(c.home.filePath("missing.txt")));
    QVERIFY(!MyStat(nullptr).importWritten(path));
}

void TestMyStat::resetStatsFollowsTheNewContest()
{
    ContestFixture first({{{"sum", {10}}}});
    first.registerPlayers({{"JS-001", "Alpha"}});
    first.appendResult(1, "JS-001", "{sum 100 x\n101 10 0.1 ok\n}102 10\n");
    resetStats(&first.setup);
    QVERIFY(mystat);
    QCOMPARE(mystat->getPlayerStat("JS-001").getTotal(), 10);
    teamstat = new TeamStat(&first.setup);

    ContestFixture second({{{"words", {50}}}});
    second.registerPlayers({{"BJ-002", "Beta"}});
    second.appendResult(1, "BJ-002", "{words 100 x\n101 10 0.1 ok\n}102 10\n");
    resetStats(&second.setup);
    QVERIFY(!teamstat);
    QCOMPARE(mystat->getSetup(), &second.setup);
    QVERIFY(!mystat->playerExists("JS-001"));
    QCOMPARE(mystat->getPlayerStat("BJ-002").getTotal(), 50);

    resetStats(nullptr);
    QVERIFY(!mystat);
}

QTEST_GUILESS_MAIN(TestMyStat)
#include "tst_mystat.moc"
