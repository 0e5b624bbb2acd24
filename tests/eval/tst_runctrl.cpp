#include "runctrl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

const char kUntouched[] = "untouched";
const int kScoreBefore = 7;

struct RunResult {
    int code = 0;
    float used = 0;
    double wall = 0;
    QString msg;
    int score = 0;
    int status = 0;
    QByteArray err;
};

bool processGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    return close >= 0 && line.mid(close + 2, 1) == "Z";
}

// On a loaded machine the wall-clock bound may come before the CPU limit is used up.
bool timedOutFairly(const RunResult &r, float limit)
{
    return r.used > limit || r.wall >= wallClockBound(limit);
}

} // namespace

// Runs the small programs of progs/ as submissions, each in a fresh working directory that the
// submission's unprivileged ids may write to.
class TstRunCtrl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void spinningProgramIsKilledAfterLimit_data();
    void spinningProgramIsKilledAfterLimit();
    void sleeperIsStoppedAtWallClockBound();
    void grandchildrenDieWithTheRun_data();
    void grandchildrenDieWithTheRun();
    void submissionGetsOnlyLimitsAndStandardDescriptors_data();
    void submissionGetsOnlyLimitsAndStandardDescriptors();
    void submissionCannotRegainPrivileges();
    void outputFileSizeIsBounded();
    void forkBombIsBoundedWhenPrivileged();

private:
    RunResult run(const QString &prog, float limit, int mem, const QString &name = QString());

    QScopedPointer<QTemporaryDir> home;
    QString work;
    QString oldCwd;
    pid_t grandchild = 0;
};

void TstRunCtrl::init()
{
    home.reset(new QTemporaryDir);
    QVERIFY(home->isValid());
    work = home->filePath("work");
    QVERIFY(QDir().mkdir(work));
    QVERIFY(chmod(QFile::encodeName(work).constData(), 0777) == 0);
    oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work));
    grandchild = 0;
}

void TstRunCtrl::cleanup()
{
    // A judge that let a grandchild live must not leave it spinning after the test.
    if (grandchild > 0)
        kill(grandchild, SIGKILL);
    QDir::setCurrent(oldCwd);
    home.reset();
}

RunResult TstRunCtrl::run(const QString &prog, float limit, int mem, const QString &name)
{
    RunResult r;
    const QString target = name.isEmpty() ? prog : name;
    const QString source = QStringLiteral(RUNCTRL_PROGS_DIR "/") + prog;
    if (QFile::exists(source) && !QFile::copy(source, target))
        qFatal("cannot copy %s", qPrintable(source));

    // Standard error is shared with the child: catch it in a file to read its diagnostics.
    const QByteArray errPath = QFile::encodeName(home->filePath("stderr.txt"));
    const int savedErr = dup(2);
    const int errFile = open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (savedErr < 0 || errFile < 0 || dup2(errFile, 2) != 2)
        qFatal("cannot redirect stderr");
    close(errFile);

    char msg[1024];
    strcpy(msg, kUntouched);
    r.score = kScoreBefore;
    QByteArray program = QFile::encodeName(target);
    QElapsedTimer clock;
    clock.start();
    r.code = runUnderCtrl(program.data(), limit, mem, &r.used, msg, &r.score);
    r.wall = clock.elapsed() / 1000.0;
    r.msg = QString::fromUtf8(msg);
    r.status = lastExitStatus();

    fflush(stderr);
    dup2(savedErr, 2);
    close(savedErr);
    QFile err(QFile::decodeName(errPath));
    if (err.open(QIODevice::ReadOnly))
        r.err = err.readAll();
    return r;
}

void TstRunCtrl::outcomes_data()
{
    QTest::addColumn<QString>("prog");
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("limit");
    QTest::addColumn<int>("mem");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");

    const QString none = kUntouched;
    QTest::newRow("0.2 s of CPU") << "cpu02"
                                  << "" << 1.0f << 0 << 0 << none << 0 << QByteArray();
    QTest::newRow("exit status 3, odd name")
        << "exit3"
        << "a b'\"$(touch pwned)" << 1.0f << 0 << 0 << none << (3 << 8) << QByteArray();
    QTest::newRow("abort") << "aborter"
                           << "" << 1.0f << 0 << 0 << none << int(SIGABRT) << QByteArray();
    QTest::newRow("invalid pointer")
        << "segv"
        << "" << 1.0f << 0 << -108 << "Exceeding memory limit." << int(SIGSEGV) << QByteArray();
    QTest::newRow("memory exhausted at 64 MB")
        << "memhog"
        << "" << 2.0f << 64 << -108 << "Exceeding memory limit." << int(SIGSEGV)
        << QByteArray("RLIM_INFINITY = 67108864\n");
    QTest::newRow("ends normally above the limit")
        << "cpu02"
        << "" << 0.1f << 0 << -103 << "Time out." << -1 << QByteArray();
    QTest::newRow("missing program") << "absent"
                                     << "" << 1.0f << 0 << 0 << none << (255 << 8)
                                     << QByteArray("#####execl error !!!!!!!!!!!!!!!!!!!!!\n");
}

void TstRunCtrl::outcomes()
{
    QFETCH(QString, prog);
    QFETCH(QString, name);
    QFETCH(float, limit);
    QFETCH(int, mem);
    QFETCH(int, code);
    QFETCH(QString, msg);
    QFETCH(int, status);
    QFETCH(QByteArray, err);

    const RunResult r = run(prog, limit, mem, name);
    QCOMPARE(r.code, code);
    QCOMPARE(r.msg, msg);
    QCOMPARE(r.score, code == 0 ? kScoreBefore : 0);
    if (status >= 0)
        QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(err), r.err.constData());
    QVERIFY(!QFile::exists("pwned"));
    if (prog == "cpu02" && code == 0)
        QVERIFY2(r.used >= 0.19f && r.used < 0.5f, qPrintable(QString::number(r.used)));
    if (code == -103)
        QVERIFY(timedOutFairly(r, limit));
}

void TstRunCtrl::spinningProgramIsKilledAfterLimit_data()
{
    QTest::addColumn<float>("limit");
    QTest::newRow("0.5 s") << 0.5f;
    QTest::newRow("1 s") << 1.0f;
}

void TstRunCtrl::spinningProgramIsKilledAfterLimit()
{
    QFETCH(float, limit);
    const RunResult r = run("spin", limit, 0);
    QCOMPARE(r.code, -103);
    QCOMPARE(r.msg, QString("Time out."));
    QCOMPARE(r.score, 0);
    QVERIFY2(timedOutFairly(r, limit), qPrintable(QString::number(r.used)));
    QVERIFY2(r.wall >= std::trunc(limit) + 0.1, qPrintable(QString::number(r.wall)));
    QVERIFY2(r.wall < wallClockBound(limit) + 1.0, qPrintable(QString::number(r.wall)));
}

void TstRunCtrl::sleeperIsStoppedAtWallClockBound()
{
    const RunResult r = run("sleeper", 0.5f, 0);
    QCOMPARE(r.code, -103);
    QCOMPARE(r.msg, QString("Time out."));
    QCOMPARE(r.score, 0);
    QVERIFY(r.used < 0.1f);
    QVERIFY2(r.wall >= wallClockBound(0.5f) && r.wall < wallClockBound(0.5f) + 1.0,
             qPrintable(QString::number(r.wall)));
}

void TstRunCtrl::grandchildrenDieWithTheRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("child exits") << "forker" << 0;
    QTest::newRow("child sleeps") << "forker_sleep" << -103;
}

void TstRunCtrl::grandchildrenDieWithTheRun()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    const RunResult r = run("forker", 0.5f, 0, name);
    QCOMPARE(r.code, code);
    QFile pidFile("grandchild.pid");
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    grandchild = pid_t(pidFile.readAll().trimmed().toInt());
    QVERIFY(grandchild > 0);
    QTRY_VERIFY_WITH_TIMEOUT(processGone(grandchild), 2000);
}

void TstRunCtrl::submissionGetsOnlyLimitsAndStandardDescriptors_data()
{
    QTest::addColumn<int>("mem");
    QTest::newRow("64 MB") << 64;
    QTest::newRow("no memory limit") << 0;
}

void TstRunCtrl::submissionGetsOnlyLimitsAndStandardDescriptors()
{
    QFETCH(int, mem);
    struct rlimit as;
    QVERIFY(getrlimit(RLIMIT_AS, &as) == 0);
    if (mem > 0)
        as.rlim_cur = as.rlim_max = rlim_t(mem) << 20;
    qputenv("TALDON_EXPECT_AS", QByteArray::number(qulonglong(as.rlim_cur)) + ' ' +
                                    QByteArray::number(qulonglong(as.rlim_max)));
    qputenv("TALDON_EXPECT_FSIZE", QByteArray::number(kSubmissionFileLimit));

    // An open result file of the judge must not be reachable from the submission.
    QFile verdict(home->filePath("verdict.result"));
    QVERIFY(verdict.open(QIODevice::ReadWrite));
    QVERIFY(verdict.write("101 10 0.1\n") > 0 && verdict.flush());
    const RunResult r = run("probe", 1.0f, mem);
    verdict.close();
    qunsetenv("TALDON_EXPECT_AS");
    qunsetenv("TALDON_EXPECT_FSIZE");

    QCOMPARE(r.code, 0);
    QVERIFY(WIFEXITED(r.status));
    QCOMPARE(WEXITSTATUS(r.status), 0);
    QVERIFY(verdict.open(QIODevice::ReadOnly));
    QCOMPARE(verdict.readAll(), QByteArray("101 10 0.1\n"));
    QVERIFY(r.err.contains("probe: stderr\n"));
    if (mem > 0)
        QVERIFY2(r.err.startsWith("memlimit = 64MB\nRLIM_INFINITY = -1\n"
                                  "RLIM_INFINITY = 67108864\nrlim_new.rlim_cur = 67108864\n"),
                 r.err.constData());
    else
        QVERIFY2(!r.err.contains("memlimit") && !r.err.contains("RLIM"), r.err.constData());
}

void TstRunCtrl::submissionCannotRegainPrivileges()
{
    const bool privileged = geteuid() == 0;
    if (privileged)
        qputenv("TALDON_EXPECT_IDS", "1");
    const RunResult r = run("regain", 1.0f, 0);
    qunsetenv("TALDON_EXPECT_IDS");
    QCOMPARE(r.code, 0);
    QVERIFY(WIFEXITED(r.status));
    QCOMPARE(WEXITSTATUS(r.status), 0);
}

void TstRunCtrl::outputFileSizeIsBounded()
{
    const RunResult r = run("flood", 5.0f, 0);
    QCOMPARE(r.code, 0);
    QVERIFY(WIFSIGNALED(r.status));
    QCOMPARE(WTERMSIG(r.status), SIGXFSZ);
    QCOMPARE(QFileInfo("flood.out").size(), qint64(kSubmissionFileLimit));
}

void TstRunCtrl::forkBombIsBoundedWhenPrivileged()
{
    if (geteuid() != 0)
        QSKIP("only a judge that switches ids bounds the submission user's processes");
    const RunResult r = run("forkbomb", 2.0f, 0);
    QCOMPARE(r.code, 0);
    QVERIFY(WIFEXITED(r.status));
    QCOMPARE(WEXITSTATUS(r.status), 0);
}

QTEST_GUILESS_MAIN(TstRunCtrl)
#include "tst_runctrl.moc"
