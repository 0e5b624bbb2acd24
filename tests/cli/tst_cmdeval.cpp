#include "common/programrun.h"
#include "common/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// Runs taldon-cli eval on a fresh copy of the demo contest.
class TstCmdEval : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void evaluatesAndPrintsPoints();
    void badInputEvaluatesNothing();
    void sandboxCheckAndFallback();

private:
    int cli(const QStringList &args, QByteArray *out);
    QByteArray resultOf(const QString &id) const;

    QTemporaryDir base;
    QString demo;
};

int TstCmdEval::cli(const QStringList &args, QByteArray *out)
{
    const ProgramRun run = runCli(QStringList{QStringLiteral("eval")} + args);
    *out = run.out;
    return run.status;
}

QByteArray TstCmdEval::resultOf(const QString &id) const
{
    return readFile(QStringLiteral("%1/result/day1/%2/%2.result").arg(demo, id));
}

void TstCmdEval::initTestCase()
{
    demo = base.path() + QStringLiteral("/演示 contest");
    const int status =
        QProcess::execute(QStringLiteral("sh"), {qEnvironmentVariable("TALDON_SOURCE_DIR") +
                                                     QStringLiteral("/examples/demo/prepare.sh"),
                                                 demo, qEnvironmentVariable("TALDON_BINARY_DIR")});
    QCOMPARE(status, 0);
}

void TstCmdEval::evaluatesAndPrintsPoints()
{
    QByteArray out;
    // Points follow the marks: BJ-005 misses only the second point, whose mark is 20. JS-007
    // answers in Python, BJ-008 in Java.
    QCOMPARE(cli({demo, QStringLiteral("--day"), QStringLiteral("2"), QStringLiteral("BJ-005"),
                  QStringLiteral("JS-004"), QStringLiteral("ZJ-003"), QStringLiteral("JS-007"),
                  QStringLiteral("BJ-008")},
                 &out),
             0);
    QCOMPARE(out, QByteArray("BJ-005 maxsub=80 total=80\nJS-004 maxsub=100 total=100\n"
                             "ZJ-003 maxsub=0 total=0\nJS-007 maxsub=100 total=100\n"
                             "BJ-008 maxsub=100 total=100\n"));
    QCOMPARE(
        cli({demo, QStringLiteral("--day=1"), QStringLiteral("--task"), QStringLiteral("words")},
            &out),
        0);
    QCOMPARE(out, QByteArray("JS-001 sum=0 words=30 total=30\nBJ-002 sum=0 words=20 total=20\n"
                             "ZJ-003 sum=0 words=10 total=10\nJS-004 sum=0 words=20 total=20\n"
                             "BJ-005 sum=0 words=0 total=0\nZJ-006 sum=0 words=0 total=0\n"
                             "JS-007 sum=0 words=0 total=0\nBJ-008 sum=0 words=0 total=0\n"));
    QCOMPARE(cli({demo, QStringLiteral("--day=1"), QStringLiteral("--task=sum"),
                  QStringLiteral("BJ-002")},
                 &out),
             0);
    QCOMPARE(out, QByteArray("BJ-002 sum=30 words=20 total=50\n"));
}

void TstCmdEval::badInputEvaluatesNothing()
{
    const QStringList bad[] = {
        {demo, QStringLiteral("--day"), QStringLiteral("3")},
        {demo, QStringLiteral("--day"), QStringLiteral("x")},
        {demo},
        {demo, QStringLiteral("--day"), QStringLiteral("1"), QStringLiteral("--task"),
         QStringLiteral("maxsub")},
        {demo, QStringLiteral("--day"), QStringLiteral("1"), QStringLiteral("JS-001"),
         QStringLiteral("XX-999")},
        {base.path() + QStringLiteral("/none"), QStringLiteral("--day"), QStringLiteral("1")},
    };
    QDir results(demo + QStringLiteral("/result"));
    const QStringList before = results.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    // JS-001 stands before the unknown id: it must not be evaluated either.
    const QByteArray js001 = resultOf(QStringLiteral("JS-001"));
    for (const QStringList &args : bad) {
        QByteArray out;
        QCOMPARE(cli(args, &out), 2);
        QCOMPARE(out, QByteArray());
    }
    QCOMPARE(results.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(resultOf(QStringLiteral("JS-001")), js001);
}

// Where the sandbox cannot be had, the check says so and fails, an evaluation goes on with the
// plain protections after saying so once, and --require-sandbox refuses to evaluate.
void TstCmdEval::sandboxCheckAndFallback()
{
    const ProgramRun full = runCli({QStringLiteral("sandbox-check")});
    QCOMPARE(full.status, 0);
    QVERIFY(full.outText().startsWith(QLatin1String("sandbox: complete\n")));

    qputenv("TALDON_SANDBOX", "off");
    const ProgramRun off = runCli({QStringLiteral("sandbox-check")});
    const QByteArray before = resultOf(QStringLiteral("BJ-002"));
    const ProgramRun refused =
        runCli({QStringLiteral("eval"), demo, QStringLiteral("--day=1"),
                QStringLiteral("--require-sandbox"), QStringLiteral("BJ-002")});
    const QByteArray unchanged = resultOf(QStringLiteral("BJ-002"));
    const ProgramRun plain =
        runCli({QStringLiteral("eval"), demo, QStringLiteral("--day=1"), QStringLiteral("BJ-002"),
                QStringLiteral("JS-001"), QStringLiteral("JS-007")});
    // An interpreter opens its program by an absolute path: a root judge's submission user must
    // be able to search the way to the working directory, which the temporary base is not.
    const QByteArray unreachable = resultOf(QStringLiteral("JS-007"));
    QVERIFY(QFile::setPermissions(base.path(), QFile::permissions(base.path()) | QFile::ExeOther));
    const ProgramRun reachable =
        runCli({QStringLiteral("eval"), demo, QStringLiteral("--day=1"),
                QStringLiteral("--task=sum"), QStringLiteral("JS-007"), QStringLiteral("BJ-008")});
    qunsetenv("TALDON_SANDBOX");

    QCOMPARE(off.status, 1);
    QVERIFY(off.outText().startsWith(QLatin1String("sandbox: turned off by TALDON_SANDBOX=off\n")));
    QCOMPARE(refused.status, 1);
    QCOMPARE(refused.out, QByteArray());
    QVERIFY(refused.err.contains(QStringLiteral("完整的评测沙箱不可用")));
    QCOMPARE(unchanged, before);
    QCOMPARE(plain.status, 0);
    QCOMPARE(plain.err.count(QStringLiteral("sandbox unavailable")), 1);
    const bool root = geteuid() == 0;
    QCOMPARE(plain.out, "BJ-002 sum=30 words=20 total=50\nJS-001 sum=50 words=30 total=80\n" +
                            QByteArray(root ? "JS-007 sum=0 words=0 total=0\n"
                                            : "JS-007 sum=50 words=0 total=50\n"));
    const QByteArray refusal = "python3: uid 60000 cannot search " + QFile::encodeName(base.path());
    QCOMPARE(unreachable.count("\n-106 0 0.000 Cannot start /usr/") == 5 &&
                 unreachable.count(refusal + ".\n") == 5,
             root);
    QCOMPARE(reachable.out,
             QByteArray("JS-007 sum=50 words=0 total=50\nBJ-008 sum=50 words=0 total=50\n"));
}

QTEST_GUILESS_MAIN(TstCmdEval)
#include "tst_cmdeval.moc"
