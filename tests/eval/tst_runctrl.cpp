#include "common/testfiles.h"
#include "runctrl.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const int kScoreBefore = 7;
const QByteArray kVerdict = "101 10 0.1\n";

bool processGone(pid_t pid)
{
    const QByteArray line = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const int close = line.lastIndexOf(')');
    return close < 0 || line.mid(close + 2, 1) == "Z";
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

private:
    QScopedPointer<QTemporaryDir> home;
    QString oldCwd;
    pid_t grandchild = 0;
};

void TstRunCtrl::init()
{
    home.reset(new QTemporaryDir);
    const QString work = home->filePath("work");
    QVERIFY(QDir().mkdir(work) && chmod(QFile::encodeName(work).constData(), 0777) == 0);
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

// The program of progs/ named by the row's first word, else progs.c under the row's name, which
// says what it does; "absent" is not there. probe checks limits against TALDON_EXPECT_*.
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
    row("memhog", 2.0f, 64, -108, SIGSEGV,
        "memlimit = 64MB\nRLIM_INFINITY = -1\nRLIM_INFINITY = 67108864\n"
        "rlim_new.rlim_cur = 67108864\n");
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
    row("probe", 1.0f, 64, 0, 0, "probe: stderr\n");
    row("probe without a memory limit", 1.0f, 0, 0, 0, "probe: stderr\n");
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
    const QString own = PROGS_DIR "/" + name.section(' ', 0, 0);
    if (name != "absent")
        QVERIFY(QFile::copy(QFile::exists(own) ? own : PROGS_DIR "/progs", name));
    struct rlimit as;
    QVERIFY(getrlimit(RLIMIT_AS, &as) == 0);
    if (mem > 0)
        as.rlim_cur = as.rlim_max = rlim_t(mem) << 20;
    qputenv("TALDON_EXPECT_AS", QByteArray::number(qulonglong(as.rlim_cur)) + ' ' +
                                    QByteArray::number(qulonglong(as.rlim_max)));
    qputenv("TALDON_EXPECT_FSIZE", QByteArray::number(kSubmissionFileLimit));
    if (geteuid() == 0)
        qputenv("TALDON_EXPECT_IDS", "1");
    // An open result file of the judge must not be reachable from the submission.
    QFile verdict(home->filePath("verdict.result"));
    QVERIFY(verdict.open(QIODevice::ReadWrite) && verdict.write(kVerdict) > 0 && verdict.flush());
    // Standard error is shared with the child: catch it in a file to read its diagnostics.
    const QByteArray errPath = QFile::encodeName(home->filePath("stderr.txt"));
    const int savedErr = dup(2);
    const int errFile = open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (savedErr < 0 || errFile < 0 || dup2(errFile, 2) != 2)
        qFatal("cannot redirect stderr");
    close(errFile);
    char msg[1024] = "untouched";
    int score = kScoreBefore;
    float used = 0;
    QByteArray program = QFile::encodeName(name);
    QElapsedTimer clock;
    clock.start();
    const int got = runUnderCtrl(program.data(), limit, mem, &used, msg, &score);
    const double wall = clock.elapsed() / 1000.0;
    fflush(stderr);
    dup2(savedErr, 2);
    close(savedErr);
    const QByteArray errors = readFile(QFile::decodeName(errPath));
    QCOMPARE(got, code);
    const QString messages[] = {"untouched", "Time out.", "Exceeding memory limit."};
    QCOMPARE(QString::fromUtf8(msg), messages[code == 0 ? 0 : code == -103 ? 1 : 2]);
    QCOMPARE(score, code == 0 ? kScoreBefore : 0);
    if (status >= 0)
        QCOMPARE(lastExitStatus(), status);
    QVERIFY2(errors.contains(err), errors.constData());
    if (mem == 0)
        QVERIFY2(!errors.contains("memlimit") && !errors.contains("RLIM"), errors.constData());
    QVERIFY(!QFile::exists("pwned"));
    QCOMPARE(readFile(verdict.fileName()), kVerdict);
    const QString times = QStringLiteral("used %1 s, wall %2 s").arg(used).arg(wall);
    if (name == "cpu02")
        QVERIFY2(used >= 0.19f && used < 0.5f, qPrintable(times));
    if (code == -103) {
        // On a loaded machine the wall-clock bound may come before the CPU limit is used up.
        QVERIFY2(used > limit || wall >= wallClockBound(limit), qPrintable(times));
        QVERIFY2(wall >= std::trunc(limit) + 0.1, qPrintable(times));
        QVERIFY2(wall < wallClockBound(limit) + 1.0, qPrintable(times));
    }
    if (name == "sleeper")
        QVERIFY2(used < 0.1f && wall >= wallClockBound(limit), qPrintable(times));
    if (name == "flood")
        QCOMPARE(QFileInfo("flood.out").size(), qint64(kSubmissionFileLimit));
    if (name.startsWith("forker")) {
        grandchild = pid_t(readFile("grandchild.pid").trimmed().toInt());
        QVERIFY(grandchild > 0);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(grandchild), 2000);
    }
}

QTEST_GUILESS_MAIN(TstRunCtrl)
#include "tst_runctrl.moc"
