#include "common/contestfixture.h"
#include "playerstat.h"

#include <QtTest>

class TestPlayerStat : public QObject
{
    Q_OBJECT

private slots:
    void neverEvaluatedPlayerHasNothing();
    void marksConvertRawScoresToPoints();
    void laterBlockWinsAndDaysAddUp();
    void onlyNinetyNinePointsAreStored();
    void damagedAndOddLines();
    void readingAgainScalesOnce();
    void evalStatusOfADay_data();
    void evalStatusOfADay();
};

void TestPlayerStat::neverEvaluatedPlayerHasNothing()
{
    ContestFixture c({{{"sum", {10, 10}}}});
    PlayerStat p("Alpha", "JS-001", &c.setup);
    QCOMPARE(p.setAllTask(), 1);
    QVERIFY(!p.haveScore(0));
    QVERIFY(p.tasks.isEmpty());
    QCOMPARE(p.getTotal(0), 0);
    QCOMPARE(p.getTask("sum").name, QString());
    QCOMPARE(PlayerStat().setAllTask(), 0);
}

void TestPlayerStat::marksConvertRawScoresToPoints()
{
    ContestFixture c({{{"sum", {30, 30, 40}}, {"odd", {15, 10, 10}}}});
    c.appendResult(1, "JS-001",
                   "{sum 100 Compile successfully\n101 10 0.010 ok\n101 5 0.020 partly right\n"
                   "-103 0 1.520 Time out.\n}102 15\n"
                   "{odd 100 Compile successfully\n101 7 0.100 ok\n101 -4 0.100 penalty\n"
                   "101 10 0.100 ok\n}102 13\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    const TaskResult sum = p.getTask("sum");
    QCOMPARE(sum.score[1], 30);
    QCOMPARE(sum.score[2], 15);
    QCOMPARE(sum.time[3], 1.52f);
    QCOMPARE(sum.total, 45);
    const TaskResult odd = p.getTask("odd");
    QCOMPARE(odd.score[1], 10); // 15 * 7 / 10 = 10.5, truncated
    QCOMPARE(odd.score[2], -4); // stays raw and counts for nothing
    QCOMPARE(odd.total, 20);
    QCOMPARE(p.getTotal(), 65);
}

void TestPlayerStat::laterBlockWinsAndDaysAddUp()
{
    ContestFixture c({{{"sum", {10, 10}}, {"b", {10}}}, {{"words", {10}}}});
    c.appendResult(1, "JS-001",
                   "{sum 100 x\n101 10 0.5 ok\n101 10 0.5 ok\n}102 20\n"
                   "{b 100 x\n101 5 0.1 ok\n}102 5\n"
                   "{sum 100 x\n101 3 0.25 bad\n101 0 0.75 wrong\n}102 3\n"
                   "{gone 100 x\n101 10 0.1 ok\n}102 1000\n");
    c.appendResult(2, "JS-001", "{words 100 x\n101 10 0.000 ok\n}102 10\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QCOMPARE(p.getTask("sum").score[1], 3);
    QCOMPARE(p.getTask("sum").time[2], 0.75f);
    QCOMPARE(p.getTotal(0), 8);
    QCOMPARE(p.getTotal(1), 10);
    QCOMPARE(p.getTotal(2), 0);
    // A task no day configures any more (deleted or renamed) keeps its entry but counts nowhere.
    QCOMPARE(p.getTotal("gone"), 1000);
    QCOMPARE(p.getTotal(), 18);
}

void TestPlayerStat::onlyNinetyNinePointsAreStored()
{
    ContestFixture c({{{"sum", {10}}, {"full", equalMarks(99, 20)}}});
    QByteArray block = "{many 100 Evaluate answer files.\n";
    for (int i = 1; i <= 100; ++i)
        block += QByteArray::number(i % 2 ? 101 : -105) + " " + QByteArray::number(i) + " 0.5 m\n";
    c.appendResult(1, "JS-001",
                   block + "}102 777\n" + QByteArray(block).replace("many", "full") + "}102 0\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    const TaskResult many = p.getTask("many");
    QCOMPARE(many.score[98], 98);
    QCOMPARE(many.score[99], 99);
    // Not a task of the contest: the trailer's total stands, unscaled.
    QCOMPARE(many.total, 777);
    // All 99 points of a configured task count: 2 * (1 + 2 + ... + 99).
    QCOMPARE(p.getTotal("full"), 9900);
}

void TestPlayerStat::damagedAndOddLines()
{
    ContestFixture c({{{"sum", {10}}, {"b", {10}}}, {{"words", {10}}}, {{"cut", {10}}}});
    c.appendResult(1, "JS-001",
                   "101 10 0.1 before any header\n"
                   "{sum -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n"
                   "{b 100 x\n101 10 0.1 a } in the message\n}102 lost\nstray { line\n");
    c.appendResult(2, "JS-001", "{words 100 x\n101 10 0.1 saw { here\n}102 10\n");
    c.appendResult(3, "JS-001", "{cut 100 x\n101 10 0.1 ok\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    QVERIFY(p.haveScore(1) && p.haveScore(2));
    QVERIFY(!p.tasks.contains("words"));
    QVERIFY(!p.tasks.contains("cut"));
    QCOMPARE(p.getTotal("sum"), 0);
    QCOMPARE(p.getTask("b").score[1], 10);
    QVERIFY(p.tasks.contains(""));
    QCOMPARE(p.getTotal(), 10);
}

void TestPlayerStat::readingAgainScalesOnce()
{
    ContestFixture c({{{"sum", {30}}}, {{"sum", {30}}}});
    c.appendResult(2, "JS-001", "{sum 100 x\n101 10 0.1 ok\n}102 10\n");
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    p.setAllTask();
    QCOMPARE(p.getTotal("sum"), 30);
    c.appendResult(2, "JS-001", "{sum 100 x\n101 5 0.1 ok\n}102 5\n");
    p.setAllTask();
    QCOMPARE(p.getTotal(), 15);
}

void TestPlayerStat::evalStatusOfADay_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("state");
    QTest::addColumn<QStringList>("causes");
    const QByteArray sound = "{sum 100 Compile successfully\n101 10 0.1 ok\n}102 10\n";
    const QByteArray refused =
        "{sum -106 The task has no filter.\n-106 0 ? The task has no filter.\n}102 0\n";
    QTest::newRow("no file") << QByteArray("<none>") << int(EvalStatus::NotEvaluated)
                             << QStringList();
    QTest::newRow("nothing written")
        << QByteArray() << int(EvalStatus::NotEvaluated) << QStringList();
    QTest::newRow("sound") << sound << int(EvalStatus::Succeeded) << QStringList();
    QTest::newRow("compile failed")
        << QByteArray("{ans -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n")
        << int(EvalStatus::Succeeded) << QStringList();
    QTest::newRow("task refused") << sound + refused << int(EvalStatus::Failed)
                                  << QStringList("sum: The task has no filter.");
    QTest::newRow("run not started")
        << QByteArray("{ans 100 x\n101 10 0.1 ok\n-106 0 0.000 Client of evaluate system error.\n"
                      "}102 10\n") +
               refused
        << int(EvalStatus::Failed)
        << QStringList(
               {"sum: The task has no filter.", "ans: 测试点2: Client of evaluate system error."});
    QTest::newRow("filter time out")
        << QByteArray("{sum 100 x\n-106 0 0.010 Filter time out.\n}102 0\n")
        << int(EvalStatus::Failed) << QStringList("sum: 测试点1: Filter time out.");
    QTest::newRow("evaluated again")
        << refused + sound << int(EvalStatus::Succeeded) << QStringList();
    QTest::newRow("task not of the day") << QByteArray(refused).replace("sum", "gone")
                                         << int(EvalStatus::NotEvaluated) << QStringList();
    QTest::newRow("cut off") << QByteArray("{sum 100 x\n101 10 0.1 ok\n") << int(EvalStatus::Failed)
                             << QStringList("结果文件无法读取");
}

// The status belongs to the day: any -106 in the last block of a task of the day fails it.
void TestPlayerStat::evalStatusOfADay()
{
    QFETCH(QByteArray, file);
    QFETCH(int, state);
    QFETCH(QStringList, causes);
    ContestFixture c({{{"sum", {10}}, {"ans", {10, 10}}}, {{"words", {10}}}});
    if (file != "<none>")
        QVERIFY(writeFile(resultPath(c.setup.getHome(), 1, "JS-001"), file));
    PlayerStat p("Alpha", "JS-001", &c.setup);
    p.setAllTask();
    const EvalStatus status = p.evalStatus(0);
    QCOMPARE(int(status.state), state);
    QCOMPARE(status.causes, causes);
    QCOMPARE(int(p.evalStatus(1).state), int(EvalStatus::NotEvaluated));
}

QTEST_GUILESS_MAIN(TestPlayerStat)
#include "tst_playerstat.moc"
