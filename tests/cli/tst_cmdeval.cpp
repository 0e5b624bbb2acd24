#include "common/processes.h"
#include "common/programrun.h"
#include "common/testfiles.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// The demo's players but ZJ-006, which never stops: its five time-outs would only slow the
// evaluations down.
const QStringList kQuick{"JS-001", "BJ-002", "ZJ-003", "JS-004", "BJ-005", "JS-007", "BJ-008"};

// Runs taldon-cli eval on a fresh copy of the demo contest.
class TstCmdEval : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        demo = base.path() + "/演示 contest";
        const int status = QProcess::execute(
            "sh", {qEnvironmentVariable("TALDON_SOURCE_DIR") + "/examples/demo/prepare.sh", demo,
                   qEnvironmentVariable("TALDON_BINARY_DIR")});
        QCOMPARE(status, 0);
    }

    void evaluatesAndPrintsPoints()
    {
        // Points follow the marks: BJ-005 misses only the second point, whose mark is 20. JS-007
        // answers in Python, BJ-008 in Java. A good evaluation reports no
        // problem.
        const ProgramRun day2 =
            eval({demo, "--day", "2", "BJ-005", "JS-004", "ZJ-003", "JS-007", "BJ-008"});
        QCOMPARE(day2.status, 0);
        QVERIFY2(!day2.err.contains("eval: "), qPrintable(day2.err));
        QCOMPARE(day2.out, QByteArray("BJ-005 maxsub=80 total=80\nJS-004 maxsub=100 total=100\n"
                                      "ZJ-003 maxsub=0 total=0\nJS-007 maxsub=100 total=100\n"
                                      "BJ-008 maxsub=100 total=100\n"));
        QCOMPARE(eval({demo, "--day=1", "--task", "words"}).out,
                 QByteArray("JS-001 sum=0 words=30 total=30\nBJ-002 sum=0 words=20 total=20\n"
                            "ZJ-003 sum=0 words=10 total=10\nJS-004 sum=0 words=20 total=20\n"
                            "BJ-005 sum=0 words=0 total=0\nZJ-006 sum=0 words=0 total=0\n"
                            "JS-007 sum=0 words=0 total=0\nBJ-008 sum=0 words=0 total=0\n"));
        QCOMPARE(eval({demo, "--day=1", "--task=sum", "BJ-002"}).out,
                 QByteArray("BJ-002 sum=30 words=20 total=50\n"));
    }

    void badInputEvaluatesNothing()
    {
        const QStringList bad[] = {
            {demo, "--day", "3"},
            {demo, "--day", "x"},
            {demo},
            {demo, "--day", "1", "--task", "maxsub"},
            {demo, "--day", "1", "JS-001", "XX-999"},
            {base.path() + "/none", "--day", "1"},
        };
        QDir results(demo + "/result");
        const QStringList before = results.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        // JS-001 stands before the unknown id: it must not be evaluated either.
        const QByteArray js001 = resultOf("JS-001");
        for (const QStringList &args : bad) {
            const ProgramRun run = eval(args);
            QCOMPARE(run.status, 2);
            QCOMPARE(run.out, QByteArray());
        }
        QCOMPARE(results.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QCOMPARE(resultOf("JS-001"), js001);
    }

    // Where the sandbox cannot be had, the check says so and fails, an evaluation goes on with the
    // plain protections after saying so once, and --require-sandbox refuses to evaluate.
    void sandboxCheckAndFallback()
    {
        const ProgramRun full = runCli({"sandbox-check"});
        QCOMPARE(full.status, 0);
        QVERIFY(full.outText().startsWith("sandbox: complete\n"));

        qputenv("TALDON_SANDBOX", "off");
        const ProgramRun off = runCli({"sandbox-check"});
        const QByteArray before = resultOf("BJ-002");
        const ProgramRun refused = eval({demo, "--day=1", "--require-sandbox", "BJ-002"});
        const QByteArray unchanged = resultOf("BJ-002");
        const ProgramRun plain = eval({demo, "--day=1", "BJ-002", "JS-001", "JS-007"});
        // An interpreter opens its program by an absolute path: a root judge's submission user must
        // be able to search the way to the working directory, which the temporary base is not.
        const QByteArray unreachable = resultOf("JS-007");
        QVERIFY(
            QFile::setPermissions(base.path(), QFile::permissions(base.path()) | QFile::ExeOther));
        const ProgramRun reachable = eval({demo, "--day=1", "--task=sum", "JS-007", "BJ-008"});
        qunsetenv("TALDON_SANDBOX");

        QCOMPARE(off.status, 1);
        QVERIFY(off.outText().startsWith("sandbox: turned off by TALDON_SANDBOX=off\n"));
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.out, QByteArray());
        QVERIFY(refused.err.contains("完整的评测沙箱不可用"));
        QCOMPARE(unchanged, before);
        const bool root = geteuid() == 0;
        // Where uid 60000 cannot reach the program, the evaluation failed and says why.
        QCOMPARE(plain.status, root ? 1 : 0);
        QCOMPARE(plain.err.contains("eval: JS-007: not evaluated: "), root);
        QCOMPARE(plain.err.count("sandbox unavailable"), 1);
        QCOMPARE(plain.out, "BJ-002 sum=30 words=20 total=50\nJS-001 sum=50 words=30 total=80\n" +
                                QByteArray(root ? "JS-007 sum=0 words=0 total=0\n"
                                                : "JS-007 sum=50 words=0 total=50\n"));
        const QByteArray refusal =
            "python3: uid 60000 cannot search " + QFile::encodeName(base.path());
        QCOMPARE(unreachable.count("\n-106 0 0.000 Cannot start /usr/") == 5 &&
                     unreachable.count(refusal + ".\n") == 5,
                 root);
        QCOMPARE(reachable.out,
                 QByteArray("JS-007 sum=50 words=0 total=50\nBJ-008 sum=50 words=0 total=50\n"));
    }

    void jobsShardsAndIds_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("three jobs in a work dir")
            << (QStringList{"--jobs=3", "--workdir", base.path() + "/local"} + kQuick) << kQuick;
        QTest::newRow("shard 1/4 on two jobs")
            << QStringList{"--shard", "1/4", "--jobs", "2"} << QStringList{"JS-001", "BJ-005"};
        QTest::newRow("shard 4/4") << QStringList{"--shard=4/4"} << QStringList{"JS-004", "BJ-008"};
        QTest::newRow("ids file, sharded")
            << QStringList{"--ids-file", base.path() + "/ids", "--shard", "2/2"}
            << QStringList{"ZJ-003"};
    }

    // Parallel workers, shards and id lists evaluate exactly the players asked for, with the points
    // of a sequential evaluation.
    void jobsShardsAndIds()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, ids);
        QVERIFY(writeFile(base.path() + "/ids", "BJ-002\n\nZJ-003\n"));
        if (sequential.isEmpty()) {
            const ProgramRun run = eval(QStringList{demo, "--day=1"} + kQuick);
            QCOMPARE(run.status, 0);
            for (const QByteArray &line : run.out.trimmed().split('\n'))
                sequential.insert(QString::fromUtf8(line.left(line.indexOf(' '))),
                                  QString::fromUtf8(line));
        }
        QDir(demo + "/result").removeRecursively();
        const ProgramRun run = eval(QStringList{demo, "--day=1"} + options);
        QCOMPARE(run.status, 0);
        QStringList lines = run.outText().split('\n', Qt::SkipEmptyParts);
        lines.sort();
        QStringList expected;
        for (const QString &id : ids)
            expected << sequential.value(id);
        expected.sort();
        QCOMPARE(lines, expected);
        // Only the players asked for were evaluated, each once.
        QStringList evaluated =
            QDir(demo + "/result/day1").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QStringList sortedIds = ids;
        sortedIds.sort();
        evaluated.sort();
        QCOMPARE(evaluated, sortedIds);
        for (const QString &id : ids)
            QCOMPARE(resultOf(id).count("\n}102 "), 2);
    }

    // A working directory in use refuses a second evaluation, naming the holder; --wait waits.
    void busyWorkingDirectory()
    {
        QProcess holder;
        holder.start("python3", {"-c",
                                 QStringLiteral("import fcntl, sys, time\n"
                                                "f = open(sys.argv[1], 'w')\n"
                                                "fcntl.lockf(f, fcntl.LOCK_EX)\n"
                                                "f.write('otherhost 4242\\n'); f.flush()\n"
                                                "print('locked', flush=True)\n"
                                                "time.sleep(2)\n"),
                                 demo + "/tmp.lock"});
        QVERIFY(holder.waitForReadyRead(10000));
        const QByteArray before = resultOf("JS-004");
        const ProgramRun refused = eval({demo, "--day=1", "JS-004"});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains("otherhost") && refused.err.contains("4242"),
                 qPrintable(refused.err));
        const ProgramRun parallel = eval({demo, "--day=1", "--jobs=2", "JS-004", "ZJ-003"});
        QCOMPARE(parallel.status, 1);
        QCOMPARE(resultOf("JS-004"), before);
        const ProgramRun waited = eval({demo, "--day=1", "--wait", "JS-004"});
        QCOMPARE(waited.status, 0);
        QCOMPARE(waited.out, QByteArray("JS-004 sum=0 words=20 total=20\n"));
        QVERIFY(holder.waitForFinished(10000));
    }

    // Missing test data fails the task for every player: said on standard error, exit status 1.
    void failedEvaluationIsNoSuccess()
    {
        // The players' words results as a full evaluation leaves them, whatever ran before.
        QCOMPARE(eval({demo, "--day=1", "--task=words", "BJ-002", "JS-004"}).status, 0);
        const QByteArray answer = readFile(demo + "/evaldata/sum3.ans");
        QVERIFY(QFile::remove(demo + "/evaldata/sum3.ans"));
        const ProgramRun run = eval({demo, "--day=1", "--task=sum", "BJ-002", "JS-004"});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out,
                 QByteArray("BJ-002 sum=0 words=20 total=20\nJS-004 sum=0 words=20 total=20\n"));
        for (const char *id : {"BJ-002", "JS-004"})
            QVERIFY2(run.err.contains(QStringLiteral("eval: %1: not evaluated: sum: Test data "
                                                     "evaldata/sum3.ans not found.")
                                          .arg(QLatin1String(id))),
                     qPrintable(run.err));
        QVERIFY(resultOf("JS-004").endsWith(
            "{sum -106 Test data evaldata/sum3.ans not found.\n"
            "-106 0 ? Test data evaldata/sum3.ans not found.\n}102 0\n"));
        QVERIFY(writeFile(demo + "/evaldata/sum3.ans", answer));
    }

    void signalStopsTheEvaluation_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::newRow("sequential") << 1;
        QTest::newRow("workers") << 2;
    }

    // SIGTERM stops an evaluation as closing the window does: the runs end at once, the players'
    // blocks are complete, nobody else is evaluated, and the exit status says it was no success.
    void signalStopsTheEvaluation()
    {
        QFETCH(int, jobs);
        QTemporaryDir copy;
        const QString home = copy.path() + "/c";
        QCOMPARE(QProcess::execute("cp", {"-a", demo, home}), 0);
        const QString task = home + "/task1_1.info";
        const QByteArray limited = readFile(task).replace("LIMIT=1\n", "LIMIT=20\n");
        QVERIFY(limited.contains("LIMIT=20\n") && writeFile(task, limited));
        const QStringList ids{"BJ-002", "JS-001", "ZJ-003"};
        for (int r = 0; r < jobs; ++r)
            writeFile(QString("%1/players/day1/%2/sum/sum.c").arg(home, ids[r]),
                      "#include <sys/prctl.h>\n"
                      "int main(void){prctl(PR_SET_NAME, \"taldon-stopme\");for(;;);}\n");
        const auto result = [&](const QString &id) {
            return readFile(QString("%1/result/day1/%2/%2.result").arg(home, id));
        };
        const QByteArray untouched = result(ids[jobs]);
        const auto running = [jobs] {
            return countProcessesNamed("taldon-stopme", submissionUsers(jobs));
        };
        QProcess eval;
        eval.start(cliPath(), QStringList{"eval", home, "--day=1", "--task=sum",
                                          QString("--jobs=%1").arg(jobs)} +
                                  ids);
        QTRY_VERIFY_WITH_TIMEOUT(running() >= jobs, 30000);
        eval.terminate();
        QVERIFY(eval.waitForFinished(60000));
        QCOMPARE(eval.exitStatus(), QProcess::NormalExit);
        QCOMPARE(eval.exitCode(), 1);
        QVERIFY(eval.readAllStandardError().contains("eval: stopped by a signal"));
        QCOMPARE(running(), 0);
        for (int r = 0; r < jobs; ++r) {
            const QByteArray block = result(ids[r]);
            QVERIFY2(block.contains("Evaluation stopped.\n") && block.contains("\n}102 0\n"),
                     block.constData());
        }
        QCOMPARE(result(ids[jobs]), untouched);
    }

private:
    QByteArray resultOf(const QString &id) const
    {
        return readFile(QString("%1/result/day1/%2/%2.result").arg(demo, id));
    }
    static ProgramRun eval(const QStringList &args) { return runCli(QStringList{"eval"} + args); }

    QTemporaryDir base;
    QString demo;
    // Each player's line from a sequential evaluation of day 1, made once.
    QMap<QString, QString> sequential;
};

QTEST_GUILESS_MAIN(TstCmdEval)
#include "tst_cmdeval.moc"
