#include "contestfixture.h"
#include "playerstat.h"

#include <QtTest>

class TestPlayerStat : public QObject
{
    Q_OBJECT

private slots:
    void neverEvaluatedPlayerHasNothing();
    void marksConvertRawScoresToPoints();
    void laterBlockOfATaskWins();
    void onlyNinetyEightPointsAreStored();
    void unbalancedFilesAreIgnored();
    void compileFailureAndStrayLines();
    void unreadableTrailerKeepsLastTotal();
    void readingAgainDoesNotScaleTwice();
    void taskNameSharedByTwoDaysScaledOnce();
    void dayTotals();
};

void TestPlayerStat::neverEvaluatedPlayerHasNothing()
{
    ContestFixture c({{{"sum", {10, 10}}}});
    PlayerStat p("Alpha", "JS-001", &c.setup);
    QCOMPARE(p.setAllTask(), 1);
    QVERIFY(!p.haveScore(0));
    QVERIFY(p.tasks.isEmpty());
    QCOMPARE(p.getTotal(), 0);
    QCOMPARE(p.getTotal(0), 0);
    QCOMPARE(p.getTask("sum").name, QString());
    QCOMPARE(p.getTask("sum").total, 0);

    PlayerStat empty;
    QCOMPARE(empty.setAllTask(), 0);
    QVERIFY(!empty.haveScore(0));
}

void TestPlayerStat::marksConvertRawScoresToPoints()
{
    ContestFixture c({{{"sum", {30, 30, 40}}, {"odd", {15, 10, 10}}}});
    c.appendResult(1, "JS-001",
                   "{sum 100 Compile successfully\n"
                   "101 10 0.010 ok\n"
                   "101 5 0.020 partly right\n"
                   "-103 0 1.520 Time out.\n"
                   "}102 15\n"
                   "{odd 100 Compile successfully\n"
                   "101 7 0.100 ok\n"
                   "101 -4 0.100 penalty\n"
                   "101 10 0.100 ok\n"
                   "}102 13\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    QCOMPARE(p.setAllTask(), 1);
    QVERIFY(p.haveScore(0));
    const TaskResult sum = p.getTask("sum");
    QCOMPARE(sum.name, QString("sum"));
    QCOMPARE(sum.score[1], 30);
    QCOMPARE(sum.score[2], 15);
    QCOMPARE(sum.score[3], 0);
    QCOMPARE(sum.time[3], 1.52f);
    QCOMPARE(sum.total, 45);
    const TaskResult odd = p.getTask("odd");
    QCOMPARE(odd.score[1], 10); // 15 * 7 / 10 = 10.5, truncated
    QCOMPARE(odd.score[2], -4); // negative scores stay raw and count for nothing
    QCOMPARE(odd.score[3], 10);
    QCOMPARE(odd.total, 20);
    QCOMPARE(p.getTotal(), 65);
    QCOMPARE(p.getTotal("odd"), 20);
    QCOMPARE(p.getTotal("none"), 0);
}

void TestPlayerStat::laterBlockOfATaskWins()
{
    ContestFixture c({{{"sum", {10, 10}}}, {{"words", {10}}}});
    c.appendResult(1, "JS-001",
                   "{sum 100 Compile successfully\n101 10 0.5 ok\n101 10 0.5 ok\n}102 20\n"
                   "{sum 100 Compile successfully\n101 3 0.25 bad\n101 0 0.75 wrong\n}102 3\n");
    c.appendResult(2, "JS-001", "{words 100 Evaluate answer files.\n101 10 0.000 ok\n}102 10\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    const TaskResult sum = p.getTask("sum");
    QCOMPARE(sum.score[1], 3);
    QCOMPARE(sum.score[2], 0);
    QCOMPARE(sum.time[2], 0.75f);
    QCOMPARE(sum.total, 3);
    QCOMPARE(p.getTotal(), 13);
    QVERIFY(p.haveScore(0) && p.haveScore(1));
}

void TestPlayerStat::onlyNinetyEightPointsAreStored()
{
    ContestFixture c({{{"sum", {10}}}});
    QByteArray block = "{many 100 Evaluate answer files.\n";
    for (int i = 1; i <= 100; ++i)
        block += QByteArray::number(i % 2 ? 101 : -105) + " " + QByteArray::number(i) + " 0.5 m\n";
    block += "}102 777\n";
    c.appendResult(1, "JS-001", block);
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    const TaskResult many = p.getTask("many");
    QCOMPARE(many.score[1], 1);
    QCOMPARE(many.score[98], 98);
    QCOMPARE(many.score[99], 0);
    QCOMPARE(many.time[99], 0.0f);
    // Not a task of the contest: the trailer's total stands, unscaled.
    QCOMPARE(many.total, 777);
}

void TestPlayerStat::unbalancedFilesAreIgnored()
{
    ContestFixture c({{{"sum", {10}}}, {{"words", {10}}}, {{"cut", {10}}}});
    c.appendResult(1, "JS-001", "{sum 100 Compile successfully\n101 10 0.1 saw { here\n}102 10\n");
    c.appendResult(2, "JS-001", "{words 100 Evaluate answer files.\n101 10 0.1 ok\n}102 10\n");
    c.appendResult(3, "JS-001", "{cut 100 Compile successfully\n101 10 0.1 ok\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QVERIFY(p.haveScore(0) && p.haveScore(1) && p.haveScore(2));
    QVERIFY(!p.tasks.contains("sum"));
    QVERIFY(!p.tasks.contains("cut"));
    QCOMPARE(p.getTotal("words"), 10);
    QCOMPARE(p.getTotal(), 10);
}

void TestPlayerStat::compileFailureAndStrayLines()
{
    ContestFixture c({{{"sum", {10, 10}}, {"words", {10}}}});
    c.appendResult(1, "JS-001",
                   "101 10 0.1 before any header\n"
                   "{sum -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n"
                   "{words 100 Evaluate answer files.\n101 10 0.1 a } in the message\n"
                   "}102 10\nstray { line\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QCOMPARE(p.getTask("sum").score[1], 0);
    QCOMPARE(p.getTotal("sum"), 0);
    // The brace of the message is balanced by a header that does not open its line: that
    // header names the empty task.
    QCOMPARE(p.getTask("words").score[1], 10);
    QVERIFY(p.tasks.contains(""));
    QCOMPARE(p.getTotal(), 10);
}

void TestPlayerStat::unreadableTrailerKeepsLastTotal()
{
    ContestFixture c(QList<QList<TaskSpec>>{{}});
    c.appendResult(1, "JS-001",
                   "{a 100 x\n101 4 0.1 ok\n}102 4\n"
                   "{b 100 x\n101 9 0.1 ok\n}102 lost\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QCOMPARE(p.getTotal("a"), 4);
    QCOMPARE(p.getTotal("b"), 4);
}

void TestPlayerStat::readingAgainDoesNotScaleTwice()
{
    ContestFixture c({{{"sum", {30}}}});
    c.appendResult(1, "JS-001", "{sum 100 x\n101 10 0.1 ok\n}102 10\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    p.setMarked();
    p.setAllTask();
    QCOMPARE(p.getTotal("sum"), 30);
    QVERIFY(!p.isMarked());
    c.appendResult(1, "JS-001", "{sum 100 x\n101 5 0.1 ok\n}102 5\n");
    p.setAllTask();
    QCOMPARE(p.getTotal("sum"), 15);
    QCOMPARE(p.getTotal(), 15);
}

void TestPlayerStat::taskNameSharedByTwoDaysScaledOnce()
{
    ContestFixture c({{{"sum", {20}}}, {{"sum", {20}}}});
    c.appendResult(2, "JS-001", "{sum 100 x\n101 10 0.1 ok\n}102 10\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QCOMPARE(p.getTask("sum").score[1], 20);
    QCOMPARE(p.getTotal(), 20);
}

void TestPlayerStat::dayTotals()
{
    ContestFixture c({{{"a", {10}}, {"b", {10}}}, {{"c", {10}}}, {}});
    c.appendResult(1, "JS-001", "{a 100 x\n101 10 0.1 ok\n}102 10\n{b 100 x\n101 5 0.1\n}102 5\n");
    c.appendResult(2, "JS-001", "{c 100 x\n101 7 0.1 ok\n}102 7\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QCOMPARE(p.getTotal(0), 15);
    QCOMPARE(p.getTotal(1), 7);
    QCOMPARE(p.getTotal(2), 0);
    QCOMPARE(p.getTotal(3), 0);
    QCOMPARE(p.getTotal(-1), 0);
    QCOMPARE(p.getTotal(), 22);
    QCOMPARE(PlayerStat().getTotal(0), 0);
}

QTEST_GUILESS_MAIN(TestPlayerStat)
#include "tst_playerstat.moc"
