#include "awardlevels.h"
#include "common/contestfixture.h"
#include "common/programrun.h"
#include "common/testfiles.h"
#include "csvexport.h"
#include "mystat.h"
#include "playerstat.h"
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

namespace
{

// A saved contest in a home whose name holds blanks and a command substitution.
class SavedContest : public ContestFixture
{
public:
    SavedContest() : ContestFixture({{{"sum", {50, 50}}}, {{"words", {20}}, {"sum", {50, 50}}}})
    {
        registerPlayers({{"BJ-001", "Li, Wei"}, {"bj-002", "Beta"}, {"XX-003", "Gamma"}});
        saveIn("a home $(touch pwned)");
        appendResult(1, "BJ-001", "{sum 100 x\n101 10 0.1 ok\n101 5 0.1 half\n}102 15\n");
    }
};

} // namespace

class TestStats : public QObject
{
    Q_OBJECT

private slots:
    void statisticsDivideByAllPlayers();
    void rankingAndWrittenScores();
    void resetStatsFollowsTheNewContest();
    void resultFilesRead_data();
    void resultFilesRead();
    void csvPiecesAndAwards();
    void teamFile();
    void writeReplacesOnlyOnSuccess();
    void resultsAndTeamsFromTheCommandLine();
    void writtenScoresKeptInTheHome();
};

// Averages divide by all players, results or not; a time of a point counts for the average
// time always, for the others only when the point scored; 100 stands for no value.
void TestStats::statisticsDivideByAllPlayers()
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
void TestStats::rankingAndWrittenScores()
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

void TestStats::resetStatsFollowsTheNewContest()
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

void TestStats::resultFilesRead_data()
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
    // keeps its entry and trailer total, the last one read if its own is not, but counts
    // nowhere.
    row("later block wins",
        "{sum 100 x\n101 10 0.5 ok\n101 10 0.5 ok\n}102 20\n{odd 100 x\n101 5 0.1 ok\n}102 5\n"
        "{sum 100 x\n101 3 0.25 bad\n101 0 0.75 wrong\n}102 3\n{gone 100 x\n101 10 0.1 ok\n}102 "
        "1000\n{lost 100 x\n}x 7\n",
        "{words 100 x\n101 10 0.000 ok\n}102 10\n",
        "gone=1000[10]|lost=1000[]|odd=7[7]|sum=9[9]|words=10[10]|day1=16 S|day2=10 S|all=26");
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
void TestStats::resultFilesRead()
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

void TestStats::csvPiecesAndAwards()
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
    QCOMPARE(awardCounts({"50%", "50%", "0"}, 40), QList<int>({20, 20, 0}));
    QCOMPARE(awardCounts({"15%", "0", "0"}, 7), QList<int>({1, 0, 0}));
    QCOMPARE(awardCounts({"100%", "", ""}, 7), QList<int>());
    QCOMPARE(awardCounts({"-5", "1", "1"}, 40), QList<int>());
    QCOMPARE(awardCounts({"1", "-10%", "1"}, 40), QList<int>());
    QCOMPARE(awardCount("101%", 40), -1);
    QCOMPARE(awardCount("41", 40), -1);
    QCOMPARE(awardCount("40", 40), 40);
    QCOMPARE(awardCount("100%", 40), 40);

    // No tasks or no registry leave their part of the results out.
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
void TestStats::teamFile()
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
        if (player.second != -1)
            addResult(&stat, player.first, "t", player.second);
    }
    c.registerPlayers(registry);
    TeamStat teams(&c.setup);
    teams.getScores(nullptr);
    mystat = &stat;
    teams.getScores();
    mystat = nullptr;
    const QStringList lines = teamsCsv(teams, 1).split('\n');
    QCOMPARE(lines.filter(QRegularExpression("[1-9]")),
             QStringList({"北京,160,80,90,70,90,", "江苏,140,46.6667,80,0,80,", "广东,15,5,9,1,9,",
                          "台湾,12,12,12,12,12,"}));
}

void TestStats::writeReplacesOnlyOnSuccess()
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

// A row per registered player in registry order, every task of every day (a name on two days
// twice); both files go to standard output or to the file named, names with blanks and command
// substitutions staying names. Bad input changes nothing.
void TestStats::resultsAndTeamsFromTheCommandLine()
{
    SavedContest c;
    c.appendResult(2, "BJ-001", "{words 100 x\n101 10 0.1 ok\n}102 10\n");
    c.appendResult(1, "bj-002", "{sum 100 x\n101 2 0.1 ok\n101 0 0.1 no\n}102 2\n");
    const QByteArray expected = QString("姓名,编号,总分,笔试,sum,words,sum,\n"
                                        "\"Li, Wei\",BJ-001,95,0,75,20,75,\n"
                                        "Beta,bj-002,10,0,10,0,10,\n"
                                        "Gamma,XX-003,0,0,0,0,0,\n")
                                    .toUtf8();
    const ProgramRun toStdout = runCli({"results", c.setup.getHome()});
    QCOMPARE(toStdout.status, 0);
    QCOMPARE(toStdout.out, expected);
    const QString output = c.home.path() + "/out $(x).csv";
    const ProgramRun toFile =
        runCli({"results", c.setup.getHome() + "/setup.cfg", "--output", output});
    QCOMPARE(toFile.status, 0);
    QVERIFY(toFile.out.isEmpty());
    QCOMPARE(readFile(output), expected);
    QVERIFY(!QFile::exists(c.home.path() + "/pwned") &&
            !QFile::exists(c.setup.getHome() + "/pwned"));
    const ProgramRun teams = runCli({"teams", c.setup.getHome(), "--best", "99"});
    QCOMPARE(teams.status, 0);
    const QList<QByteArray> lines = teams.out.split('\n');
    QCOMPARE(lines.mid(0, 2),
             QList<QByteArray>({QString("队名,总分,平均分,最高分,最低分,自定义统计,").toUtf8(),
                                QString("北京,105,52.5,95,10,105,").toUtf8()}));
    QCOMPARE(lines.size(), 36);
    QCOMPARE(runCli({"teams", c.setup.getHome()}).out.split('\n')[1],
             QString("北京,105,52.5,95,10,0,").toUtf8());

    const QString never = c.home.filePath("never.csv");
    for (const char *n : {"-1", "100", "two", ""}) {
        const ProgramRun run = runCli({"teams", c.setup.getHome(), "--best", n, "--output", never});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("--best"));
    }
    QCOMPARE(runCli({"results", c.home.filePath("nowhere"), "--output", never}).status, 2);
    QCOMPARE(runCli({"results"}).status, 2);
    QVERIFY(!QFile::exists(never));
    const ProgramRun unwritable =
        runCli({"results", c.setup.getHome(), "--output", never + "/no/such.csv"});
    QCOMPARE(unwritable.status, 1);
    QVERIFY(unwritable.err.contains("cannot write"));
}

// The imported file is copied as written.txt and read by every later command; a second import
// replaces it whole, so a player it does not name is back to 0.
void TestStats::writtenScoresKeptInTheHome()
{
    SavedContest c;
    const QString home = c.setup.getHome();
    const QString file = c.home.filePath("笔试 $(x).txt");
    const QByteArray scores = "BJ-001@85\nno at sign\nXX-003@x\nZZ-9@70\nbj-002@60@late\n";
    QVERIFY(writeFile(file, scores));
    ProgramRun run = runCli({"written", home, file});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.outText(), QString("BJ-001 written=85\nbj-002 written=60\nXX-003 written=0\n"));
    QCOMPARE(readFile(home + "/written.txt"), scores);
    QCOMPARE(runCli({"results", home}).out.split('\n').mid(1, 2),
             QList<QByteArray>({"\"Li, Wei\",BJ-001,75,85,75,0,75,", "Beta,bj-002,0,60,0,0,0,"}));
    QVERIFY(writeFile(file, "bj-002@61\n"));
    run = runCli({"written", home + "/setup.cfg", file});
    QCOMPARE(run.outText(), QString("BJ-001 written=0\nbj-002 written=61\nXX-003 written=0\n"));

    // Nothing to read: refused, the copy kept.
    for (const QString &missing : {c.home.filePath("none.txt"), c.home.path()}) {
        run = runCli({"written", home, missing});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("cannot read"));
    }
    QCOMPARE(readFile(home + "/written.txt"), QByteArray("bj-002@61\n"));
}

QTEST_GUILESS_MAIN(TestStats)
#include "tst_stats.moc"
