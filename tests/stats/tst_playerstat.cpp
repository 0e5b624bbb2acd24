#include "common/contestfixture.h"
#include "playerstat.h"

#include <QtTest>

// What the statistics read for a player: per task (in name order) its total and the scores of
// its points up to the last one not 0; per day the total and N, S or F for not evaluated,
// succeeded or failed ("-" without a file); the contest total.
static QString describe(const PlayerStat &p)
{
    QStringList parts;
    for (const TaskResult &t : p.tasks) {
        int last = 99;
        while (last > 0 && t.score[last] == 0)
            --last;
        QStringList scores;
        for (int i = 1; i <= last; ++i)
            scores << QString::number(t.score[i]);
        parts << QString("%1=%2[%3]").arg(t.name).arg(t.total).arg(scores.join(','));
    }
    for (int d = 0; d < 2; ++d)
        parts << QString("day%1=%2 %3")
                     .arg(d + 1)
                     .arg(p.getTotal(d))
                     .arg(p.haveScore(d) ? "NSF"[p.evalStatus(d).state] : '-');
    return (parts << QString("all=%1").arg(p.getTotal())).join('|');
}

class TestPlayerStat : public QObject
{
    Q_OBJECT

private slots:
    void resultFilesRead_data();
    void resultFilesRead();
};

void TestPlayerStat::resultFilesRead_data()
{
    QTest::addColumn<QByteArray>("day1");
    QTest::addColumn<QByteArray>("day2");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QStringList>("causes");
    const auto row = [](const char *tag, const QByteArray &day1, const QByteArray &day2,
                        const QString &results, const QStringList &causes = {}) {
        QTest::newRow(tag) << day1 << day2 << results << causes;
    };
    const QByteArray none;
    const QByteArray sound = "{sum 100 Compile successfully\n101 10 0.1 ok\n}102 10\n";
    const QByteArray refused =
        "{sum -106 The task has no filter.\n-106 0 ? The task has no filter.\n}102 0\n";
    const QString refusal = "sum: The task has no filter.";

    row("no file", none, none, "day1=0 -|day2=0 -|all=0");
    row("nothing written", "", none, "day1=0 N|day2=0 -|all=0");
    // Scores are mark * raw / 10, truncated; a raw score of 0 or below stays and counts nothing.
    row("marks",
        "{sum 100 Compile successfully\n101 10 0.010 ok\n101 5 0.020 partly right\n"
        "-103 0 1.520 Time out.\n}102 15\n{odd 100 Compile successfully\n101 7 0.100 ok\n"
        "101 -4 0.100 penalty\n101 10 0.100 ok\n}102 13\n",
        none, "odd=20[10,-4,10]|sum=45[30,15]|day1=65 S|day2=0 -|all=65");
    // A later block of a task replaces the earlier; a task no day has (deleted or renamed)
    // keeps its entry and trailer total but counts nowhere.
    row("later block wins",
        "{sum 100 x\n101 10 0.5 ok\n101 10 0.5 ok\n}102 20\n{odd 100 x\n101 5 0.1 ok\n}102 5\n"
        "{sum 100 x\n101 3 0.25 bad\n101 0 0.75 wrong\n}102 3\n{gone 100 x\n101 10 0.1 ok\n}102 "
        "1000\n",
        "{words 100 x\n101 10 0.000 ok\n}102 10\n",
        "gone=1000[10]|odd=7[7]|sum=9[9]|words=10[10]|day1=16 S|day2=10 S|all=26");
    // A name configured on two days is converted once, however often the files are read.
    row("two days", none, QByteArray(sound).replace("sum", "twice"),
        "twice=30[30]|day1=30 -|day2=30 S|all=30");
    // Only 99 points are stored, and all 99 count.
    QByteArray block = "{many 100 Evaluate answer files.\n";
    QStringList raw, doubled;
    for (int i = 1; i <= 100; ++i) {
        block += QByteArray::number(i % 2 ? 101 : -105) + " " + QByteArray::number(i) + " 0.5 m\n";
        raw << QString::number(i);
        doubled << QString::number(2 * i);
    }
    raw.removeLast();
    doubled.removeLast();
    row("99 points", block + "}102 777\n" + QByteArray(block).replace("many", "full") + "}102 0\n",
        none,
        QString("full=9900[%1]|many=777[%2]|day1=9900 S|day2=0 -|all=9900")
            .arg(doubled.join(','), raw.join(',')));
    // Lines before a header are skipped, a point line may hold a brace, an unreadable trailer
    // keeps the last total read; a file whose braces do not pair off is not read at all.
    row("damaged",
        "101 10 0.1 before any header\n{sum -101 Compile failed.\n-101 0 ? Compile failed.\n"
        "}102 0\n{odd 100 x\n101 10 0.1 a } in the message\n}102 lost\nstray { line\n",
        "{words 100 x\n101 10 0.1 saw { here\n}102 10\n",
        "=0[]|odd=15[15]|sum=0[]|day1=15 S|day2=0 F|all=15", {"结果文件无法读取"});
    row("cut off", "{sum 100 x\n101 10 0.1 ok\n", none, "day1=0 F|day2=0 -|all=0",
        {"结果文件无法读取"});
    // Any -106 in the last block of a task of the day fails the day; a compile failure is sound.
    row("compile failed", "{ans -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n", none,
        "ans=0[]|day1=0 S|day2=0 -|all=0");
    row("task refused", sound + refused, none, "sum=0[]|day1=0 F|day2=0 -|all=0", {refusal});
    row("run not started",
        "{ans 100 x\n101 10 0.1 ok\n-106 0 0.000 Client of evaluate system error.\n}102 10\n" +
            refused,
        none, "ans=10[10]|sum=0[]|day1=10 F|day2=0 -|all=10",
        {refusal, "ans: 测试点2: Client of evaluate system error."});
    row("filter time out", "{sum 100 x\n-106 0 0.010 Filter time out.\n}102 0\n", none,
        "sum=0[]|day1=0 F|day2=0 -|all=0", {"sum: 测试点1: Filter time out."});
    row("evaluated again", refused + sound, none, "sum=30[30]|day1=30 S|day2=0 -|all=30");
    row("task not of the day", QByteArray(refused).replace("sum", "gone"), none,
        "gone=0[]|day1=0 N|day2=0 -|all=0");
}

// The player's files are read twice, as the window does on every refresh.
void TestPlayerStat::resultFilesRead()
{
    QFETCH(QByteArray, day1);
    QFETCH(QByteArray, day2);
    QFETCH(QString, results);
    QFETCH(QStringList, causes);
    ContestFixture c({{{"sum", {30, 30, 40}},
                       {"odd", {15, 10, 10}},
                       {"ans", {10, 10}},
                       {"full", equalMarks(99, 20)},
                       {"twice", {30}}},
                      {{"words", {10}}, {"twice", {30}}}});
    if (!day1.isNull())
        QVERIFY(writeFile(resultPath(c.setup.getHome(), 1, "JS-001"), day1));
    if (!day2.isNull())
        QVERIFY(writeFile(resultPath(c.setup.getHome(), 2, "JS-001"), day2));
    PlayerStat p("Alpha", "JS-001", &c.setup);
    QCOMPARE(p.setAllTask(), 1);
    QCOMPARE(p.setAllTask(), 1);
    QCOMPARE(describe(p), results);
    QCOMPARE(p.evalStatus(0).causes + p.evalStatus(1).causes, causes);
}

QTEST_GUILESS_MAIN(TestPlayerStat)
#include "tst_playerstat.moc"
