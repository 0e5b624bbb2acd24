#include "common/programrun.h"
#include "report/reportcontest.h"

#include <QTemporaryDir>
#include <QtTest>

class TestCmdReport : public QObject
{
    Q_OBJECT

private:
    ProgramRun cli(const QStringList &args) { return runCli(QStringList{"report"} + args); }

    // Two days; on day 1 two of three players have results, one with blanks in its id.
    QString contest(const QTemporaryDir &dir)
    {
        const QString home = dir.path() + "/my contest";
        QDir().mkpath(home);
        auto setup = makeContest(home, {{{"sum", {10, 10}}}, {{"b", {10}}}});
        setup->getPlayerInfo()->addPlayerInfo("a 1", QStringLiteral("甲"));
        setup->getPlayerInfo()->addPlayerInfo("b2", QStringLiteral("乙"));
        setup->getPlayerInfo()->addPlayerInfo("c3", QStringLiteral("丙"));
        setup->saveSetupInfo(home);
        const QByteArray block =
            "{sum 100 Compile successfully\n101 10 0.1 ok\n101 3 0.2 partly\n}102 13\n";
        appendResult(home, 1, "a 1", block);
        appendResult(home, 1, "c3", block);
        return home;
    }

private slots:
    // As for root from a console or under cron: no display, no platform, no session runtime
    // directory.
    void initTestCase()
    {
        for (const char *name :
             {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            qunsetenv(name);
    }

    // The command line's output stays clean of the toolkit's warnings.
    void writesTheDay()
    {
        QTemporaryDir dir;
        const QString home = contest(dir);
        const ProgramRun run = cli({home, "--day", "1"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        QVERIFY(run.outText().contains("[1/3] a 1: " + home + "/ps/day1/a 1/a 1.pdf"));
        QVERIFY(run.outText().contains("[2/3] b2: no results"));
        QVERIFY(run.outText().contains("[3/3] c3: "));
        QVERIFY(pdfText(home + "/ps/day1/a 1/a 1.pdf").contains(QStringLiteral("姓名:甲")));
        QVERIFY(pdfText(home + "/ps/day1/c3/c3.pdf").contains("partly"));
        QVERIFY(!QFile::exists(home + "/ps/day1/b2"));
        const ProgramRun help = cli({"--help"});
        QCOMPARE(help.status, 0);
        QCOMPARE(help.err, QString());
    }

    void unwritableReportFails()
    {
        QTemporaryDir dir;
        const QString home = contest(dir);
        QDir().mkpath(home + "/ps/day1");
        QFile blocker(home + "/ps/day1/c3");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const ProgramRun run = cli({home, "--day", "1"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.outText().contains("c3: FAILED"));
        QVERIFY(run.err.contains("c3"));
        QVERIFY(QFile::exists(home + "/ps/day1/a 1/a 1.pdf"));
    }
};

QTEST_GUILESS_MAIN(TestCmdReport)
#include "tst_cmd_report.moc"
