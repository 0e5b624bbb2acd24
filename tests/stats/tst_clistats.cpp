#include "common/contestfixture.h"
#include "common/programrun.h"

#include <QtTest>

namespace
{

// A saved contest in a home whose name holds blanks and a command substitution.
class SavedContest : public ContestFixture
{
public:
    SavedContest() : ContestFixture({{{"sum", {50, 50}}}, {{"words", {20}}}})
    {
        registerPlayers({{"BJ-001", "Li, Wei"}, {"bj-002", "Beta"}, {"XX-003", "Gamma"}});
        saveIn("a home $(touch pwned)");
        appendResult(1, "BJ-001", "{sum 100 x\n101 10 0.1 ok\n101 5 0.1 half\n}102 15\n");
    }
};

} // namespace

class TestCliStats : public QObject
{
    Q_OBJECT

private slots:
    void resultsAndTeamsCsv();
    void writtenScoresKeptInTheHome();
    void badInputChangesNothing();
};

// Both files go to standard output or to the file named; names with blanks and command
// substitutions stay names.
void TestCliStats::resultsAndTeamsCsv()
{
    SavedContest c;
    c.appendResult(2, "BJ-001", "{words 100 x\n101 10 0.1 ok\n}102 10\n");
    c.appendResult(1, "bj-002", "{sum 100 x\n101 2 0.1 ok\n101 0 0.1 no\n}102 2\n");
    const QByteArray expected = QString("姓名,编号,总分,笔试,sum,words,\n"
                                        "\"Li, Wei\",BJ-001,95,0,75,20,\n"
                                        "Beta,bj-002,10,0,10,0,\n"
                                        "Gamma,XX-003,0,0,0,0,\n")
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
}

// The imported file is copied as written.txt and read by every later command; a second import
// replaces it whole, so a player it does not name is back to 0.
void TestCliStats::writtenScoresKeptInTheHome()
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
             QList<QByteArray>({"\"Li, Wei\",BJ-001,75,85,75,0,", "Beta,bj-002,0,60,0,0,"}));

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

void TestCliStats::badInputChangesNothing()
{
    SavedContest c;
    const QString output = c.home.filePath("never.csv");
    for (const char *n : {"-1", "100", "two", ""}) {
        const ProgramRun run =
            runCli({"teams", c.setup.getHome(), "--best", n, "--output", output});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("--best"));
    }
    QCOMPARE(runCli({"results", c.home.filePath("nowhere"), "--output", output}).status, 2);
    QCOMPARE(runCli({"results"}).status, 2);
    QVERIFY(!QFile::exists(output));

    const ProgramRun unwritable =
        runCli({"results", c.setup.getHome(), "--output", output + "/no/such.csv"});
    QCOMPARE(unwritable.status, 1);
    QVERIFY(unwritable.err.contains("cannot write"));
}

QTEST_GUILESS_MAIN(TestCliStats)
#include "tst_clistats.moc"
