#include "awardlevels.h"
#include "common/contestfixture.h"
#include "common/testfiles.h"
#include "csvexport.h"
#include "mystat.h"
#include "playertotal.h"
#include "teamstat.h"

#include <QtTest>

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void fieldsAreQuotedOnlyWhenNeeded();
    void resultsFileBytes();
    void resultsWithoutTasksOrRegistry();
    void teamFileBytes();
    void csvFileNames();
    void writeReplacesOnlyOnSuccess();
    void awardEntries();
};

void TestCsvExport::fieldsAreQuotedOnlyWhenNeeded()
{
    QCOMPARE(csvField("Li, Wei"), QString("\"Li, Wei\""));
    QCOMPARE(csvField("the \"best\""), QString("\"the \"\"best\"\"\""));
    QCOMPARE(csvField("two\nlines"), QString("\"two\nlines\""));
    QCOMPARE(csvField("cr\r"), QString("\"cr\r\""));
    QCOMPARE(csvText({{"a", "b,c"}, {}, {"d"}}), QString("a,\"b,c\",\n\nd,\n"));
}

void TestCsvExport::resultsFileBytes()
{
    ContestFixture c({{{"sum", {50, 50}}, {"words", {50}}}, {{"sum", {50, 50}}}});
    c.registerPlayers({{"JS-001", "Alpha"}, {"JS-002", "Beta"}, {"JS-003", "Zhang, San"}});
    c.appendResult(1, "JS-001",
                   "{sum 100 x\n101 10 0.1 ok\n101 10 0.1 ok\n}102 20\n"
                   "{words 100 x\n101 10 0.1 ok\n}102 10\n");
    MyStat stat(&c.setup);
    stat.addPlayer("Alpha", "JS-001");
    stat.addPlayer("Zhang, San", "JS-003");
    stat.importResult("JS-001");
    stat.players["JS-003"].setWritten(7);
    const QString path = c.home.filePath("results.csv");
    QVERIFY(writeTextFile(path, resultsCsv(&c.setup, stat)));
    QCOMPARE(readFile(path), QString("姓名,编号,总分,笔试,sum,words,sum,\n"
                                     "Alpha,JS-001,150,0,100,50,100,\n"
                                     "Beta,JS-002,0,0,0,0,0,\n"
                                     "\"Zhang, San\",JS-003,0,7,0,0,0,\n")
                                 .toUtf8());
}

void TestCsvExport::resultsWithoutTasksOrRegistry()
{
    ContestFixture noTasks({});
    noTasks.registerPlayers({{"JS-001", "Alpha"}});
    MyStat stat(&noTasks.setup);
    QCOMPARE(resultsCsv(&noTasks.setup, stat),
             QString("姓名,编号,总分,笔试,\nAlpha,JS-001,0,0,\n"));

    ContestFixture noRegistry({{{"sum", {10}}}});
    QCOMPARE(resultsCsv(&noRegistry.setup, MyStat(&noRegistry.setup)),
             QString("姓名,编号,总分,笔试,sum,\n"));
}

void TestCsvExport::teamFileBytes()
{
    ContestFixture c({{{"t", {10}}}});
    c.registerPlayers({{"BJ-001", "a"}, {"bj-002", "b"}, {"BJ-003", "c"}, {"TW-004", "d"}});
    MyStat stat(&c.setup);
    setTotal(&stat, "BJ-001", 90);
    setTotal(&stat, "bj-002", 70);
    setTotal(&stat, "TW-004", 12);
    TeamStat teams(&c.setup);
    teams.getScores(&stat);

    QString expected = "队名,总分,平均分,最高分,最低分,自定义统计,\n"
                       "北京,160,53.3333,90,0,160,\n";
    const QStringList middle = {"天津", "河北", "山西", "内蒙古", "辽宁", "吉林", "黑龙江", "上海",
                                "江苏", "浙江", "安徽", "福建",   "江西", "山东", "河南",   "湖北",
                                "湖南", "广东", "广西", "海南",   "重庆", "四川", "贵州",   "云南",
                                "西藏", "陕西", "甘肃", "青海",   "宁夏", "新疆", "香港",   "澳门"};
    for (const QString &region : middle)
        expected += region + ",0,0,0,0,0,\n";
    expected += "台湾,12,12,12,12,12,\n";
    QCOMPARE(teamsCsv(teams, 2), expected);
    QCOMPARE(teamsCsv(TeamStat(&c.setup), 0).count(",0,0,0,0,0,\n"), 34);
}

void TestCsvExport::csvFileNames()
{
    QCOMPARE(csvFileName("/tmp/results"), QString("/tmp/results.csv"));
    QCOMPARE(csvFileName("/tmp/scores.csv.old"), QString("/tmp/scores.csv.old"));
    QCOMPARE(csvFileName("/tmp/R.CSV"), QString("/tmp/R.CSV.csv"));
}

void TestCsvExport::writeReplacesOnlyOnSuccess()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("名单 $(touch x).csv");
    QVERIFY(writeTextFile(path, "old,\n"));
    QVERIFY(writeTextFile(path, "新,\n"));
    QCOMPARE(readFile(path), QString("新,\n").toUtf8());
    QVERIFY(!QFile::exists(path + ".tmp"));
    QVERIFY(!QFile::exists(dir.filePath("x")));

    QVERIFY(QDir().mkdir(path + ".tmp"));
    QVERIFY(!writeTextFile(path, "lost,\n"));
    QCOMPARE(readFile(path), QString("新,\n").toUtf8());

    const QString target = dir.filePath("target-is-a-dir");
    QVERIFY(QDir().mkpath(target + "/inside"));
    QVERIFY(!writeTextFile(target, "x,\n"));
    QVERIFY(!QFile::exists(target + ".tmp"));
    QVERIFY(!writeTextFile(dir.filePath("no/such/dir/out.csv"), "x,\n"));
}

void TestCsvExport::awardEntries()
{
    QCOMPARE(awardCounts({"10%", "8", "30%"}, 40), QList<int>({4, 8, 12}));
    QCOMPARE(awardCounts({"50%", "50%", "1"}, 40), QList<int>());
    QCOMPARE(awardCounts({"15%", "0", "0"}, 7), QList<int>({1, 0, 0}));
    QCOMPARE(awardCounts({"100%", "", ""}, 7), QList<int>());
    QCOMPARE(awardCounts({"-5", "1", "1"}, 40), QList<int>());
    QCOMPARE(awardCounts({"1", "-10%", "1"}, 40), QList<int>());
    QCOMPARE(awardCount("101%", 40), -1);
    QCOMPARE(awardCount("41", 40), -1);
    QCOMPARE(awardCount("40", 40), 40);
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
