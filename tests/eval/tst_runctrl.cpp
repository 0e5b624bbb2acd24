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
    void submissionGetsOnlyLimitsAndStandardDescriptors_data();
    void submissionGetsOnlyLimitsAndStandardDescriptors();

private:
    // Runs a program of progs/ under the name given: the program named by its first word, else
    // the one of progs.c that does what the name says; "absent" is a program that is not there.
    RunResult run(const QString &name, float limit, int mem);

    QScopedPointer<QTemporaryDir> home;
    QString oldCwd;
    pid_t grandchild = 0;
};

void TstRunCtrl::init()
{
    home.reset(new QTemporaryDir);
    const QString work = home->filePath("work");
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

RunResult TstRunCtrl::run(const QString &name, float limit, int mem)
{
    RunResult r;
    const QString own = PROGS_DIR "/" + name.section(' ', 0, 0);
    const QString source = QFile::exists(own) ? own : PROGS_DIR "/progs";
    if (name != "absent" && !QFile::copy(source, name))
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
    QByteArray program = QFile::encodeName(name);
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
    QTest::addColumn<float>("limit");
    QTest::addColumn<int>("mem");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("status"); // -1: not checked
    QTest::addColumn<QByteArray>("err");

    const auto row = [](const char *name, float limit, int mem, int code, int status,
                        const QByteArray &err = QByteArray()) {
        QTest::newRow(name) << limit << mem << code << status << err;
    };
    row("cpu02", 1.0f, 0, 0, 0);
    row("exit3 a b'\"$(touch pwned)", 1.0f, 0, 0, 3 << 8);
    row("aborter", 1.0f, 0, 0, SIGABRT);
    row("segv", 1.0f, 0, -108, SIGSEGV);
    row("memhog", 2.0f, 64, -108, SIGSEGV, "RLIM_INFINITY = 67108864\n");
    row("cpu02 ends normally above the limit", 0.1f, 0, -103, -1);
    row("absent", 1.0f, 0, 0, 255 << 8, "#####execl error !!!!!!!!!!!!!!!!!!!!!\n");
    row("spin", 0.5f, 0, -103, -1);
    row("spin 1 s", 1.0f, 0, -103, -1);
    row("sleeper", 0.5f, 0, -103, -1);
    // Whether the child ends or stays, its grandchild dies with the run.
    row("forker", 0.5f, 0, 0, 0);
    row("forker_sleep", 0.5f, 0, -103, -1);
    row("regain", 1.0f, 0, 0, 0);
    row("flood", 5.0f, 0, 0, SIGXFSZ);
    row("forkbomb", 2.0f, 0, 0, 0);
}

void TstRunCtrl::outcomes()
{
    QFETCH(float, limit);
    QFETCH(int, mem);
    QFETCH(int, code);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    const QString name = QTest::currentDataTag();
    if (name == "forkbomb" && geteuid() != 0)
        QSKIP("only a judge that switches ids bounds the submission user's processes");
    if (geteuid() == 0)
        qputenv("TALDON_EXPECT_IDS", "1");

    const RunResult r = run(name, limit, mem);
    qunsetenv("TALDON_EXPECT_IDS");
    QCOMPARE(r.code, code);
    const QString messages[] = {kUntouched, "Time out.", "Exceeding memory limit."};
    QCOMPARE(r.msg, messages[code == 0 ? 0 : code == -103 ? 1 : 2]);
    QCOMPARE(r.score, code == 0 ? kScoreBefore : 0);
    if (status >= 0)
        QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(err), r.err.constData());
    QVERIFY(!QFile::exists("pwned"));
    const QString times = QStringLiteral("used %1 s, wall %2 s").arg(r.used).arg(r.wall);
    if (name == "cpu02")
        QVERIFY2(r.used >= 0.19f && r.used < 0.5f, qPrintable(times));
    if (code == -103) {
        // On a loaded machine the wall-clock bound may come before the CPU limit is used up.
        QVERIFY2(r.used > limit || r.wall >= wallClockBound(limit), qPrintable(times));
        QVERIFY2(r.wall >= std::trunc(limit) + 0.1, qPrintable(times));
        QVERIFY2(r.wall < wallClockBound(limit) + 1.0, qPrintable(times));
    }
    if (name == "sleeper")
        QVERIFY2(r.used < 0.1f && r.wall >= wallClockBound(limit), qPrintable(times));
    if (name == "flood")
        QCOMPARE(QFileInfo("flood.out").size(), qint64(kSubmissionFileLimit));
    if (name.startsWith("forker")) {
        QFile pidFile("grandchild.pid");
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        grandchild = pid_t(pidFile.readAll().trimmed().toInt());
        QVERIFY(grandchild > 0);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(grandchild), 2000);
    }
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
    QCOMPARE(r.status, 0);
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

QTEST_GUILESS_MAIN(TstRunCtrl)
#include "tst_runctrl.moc"
