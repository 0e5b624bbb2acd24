#include "awardlevels.h"
#include "common/contestfixture.h"
#include "common/testfiles.h"
#include "csvexport.h"
#include "mystat.h"
#include "statsglobals.h"
#include "teamstat.h"

#include <QtTest>

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void fieldsNamesAndAwards();
    void resultsFile();
    void teamFile();
    void writeReplacesOnlyOnSuccess();
};

void TestCsvExport::fieldsNamesAndAwards()
{
    QCOMPARE(csvField("Li, Wei"), QString("\"Li, Wei\""));
    QCOMPARE(csvField("the \"best\""), QString("\"the \"\"best\"\"\""));
    QCOMPARE(csvField("two\nlines"), QString("\"two\nlines\""));
    QCOMPARE(csvField("cr\r"), QString("\"cr\r\""));
    QCOMPARE(csvText({{"a", "b,c"}, {}, {"d"}}), QString("a,\"b,c\",\n\nd,\n"));

    QCOMPARE(csvFileName("/tmp/results"), QString("/tmp/results.csv"));
    QCOMPARE(csvFileName("/tmp/scores.csv.old"), QString("/tmp/scores.csv.old"));
    QCOMPARE(csvFileName("/tmp/R.CSV"), QString("/tmp/R.CSV.csv"));

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

// A row per registered player in registry order, 0 for one without results; every task of
// every day, a name on two days twice. No tasks or no registry leave their part out.
void TestCsvExport::resultsFile()
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
    QCOMPARE(resultsCsv(&c.setup, stat), QString("姓名,编号,总分,笔试,sum,words,sum,\n"
                                                 "Alpha,JS-001,150,0,100,50,100,\n"
                                                 "Beta,JS-002,0,0,0,0,0,\n"
                                                 "\"Zhang, San\",JS-003,0,7,0,0,0,\n"));

    ContestFixture noTasks({});
    noTasks.registerPlayers({{"JS-001", "Alpha"}});
    QCOMPARE(resultsCsv(&noTasks.setup, MyStat(&noTasks.setup)),
             QString("姓名,编号,总分,笔试,\nAlpha,JS-001,0,0,\n"));
    ContestFixture noRegistry({{{"sum", {10}}}});
    QCOMPARE(resultsCsv(&noRegistry.setup, MyStat(&noRegistry.setup)),
             QString("姓名,编号,总分,笔试,sum,\n"));
}

// A row per region in table order. A player belongs to the region whose code in upper or lower
// case begins the id; one without results counts 0 and a negative total is refused.
void TestCsvExport::teamFile()
{
    ContestFixture c({{{"t", {10}}}});
    const QList<QPair<QString, int>> totals = {{"JS-001", 80},  {"js-002", 60}, {"Js-003", 500},
                                               {"QQ-004", 700}, {"JS-005", -1}, {"BJ-006", 90},
                                               {"bj-007", 70},  {"TW-008", 12}, {"GD-neg", -20},
                                               {"GD-1", 5},     {"GD-2", 1},    {"GD-3", 9}};
    QList<QPair<QString, QString>> registry;
    MyStat stat(&c.setup);
    for (const auto &player : totals) {
        registry.append({player.first, "p"});
        if (player.second == -1)
            continue;
        stat.addPlayer(player.first, player.first);
        TaskResult result("t");
        result.total = player.second;
        stat.players[player.first].tasks.insert(result.name, result);
    }
    c.registerPlayers(registry);
    TeamStat teams(&c.setup);
    teams.getScores(nullptr);
    mystat = &stat;
    teams.getScores();
    mystat = nullptr;

    const QStringList lines = teamsCsv(teams, 2).split('\n');
    QCOMPARE(lines.size(), 36);
    QCOMPARE(lines.filter(QRegularExpression("[1-9]")),
             QStringList({"北京,160,80,90,70,160,", "江苏,140,46.6667,80,0,140,",
                          "广东,15,5,9,1,14,", "台湾,12,12,12,12,12,"}));
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

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
