#include "common/processes.h"
#include "common/programrun.h"
#include "common/testfiles.h"
#include "report/reportcontest.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace
{

QString sourcePath(const QString &relative)
{
    return qEnvironmentVariable("TALDON_SOURCE_DIR") + '/' + relative;
}

QString readSource(const QString &relative)
{
    return QString::fromUtf8(readFile(sourcePath(relative)));
}

QJsonObject show(const QString &contest)
{
    const ProgramRun run = runCli({"show", contest});
    return run.status == 0 ? QJsonDocument::fromJson(run.out).object() : QJsonObject();
}

// Every directory and file below dir, the files with a digest, to check that nothing changed.
QByteArray snapshot(const QString &dir)
{
    const char *list = "{ find \"$1\" -type d; find \"$1\" -type f -exec sha1sum {} +; } | sort";
    return runProgram("sh", {"-c", list, "sh", dir}).out;
}

// A contest of one day, two tasks and a registry, in the bytes the model saves it in.
const QList<QPair<QString, QByteArray>> kContest{
    {"setup.cfg", "NAME=程序设计竞赛\nDAYNUM=1\nPLAYER=player.info\nTEAM=team.info\n"},
    {"day1.info", "NAME=第一试\nBASESCORE=20\nTASKNUM=2\n"},
    {"task1_1.info", "TITLE=求和\nNAME=sum\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\nPLUG=\n"
                     "TYPE=SOURCE\nLIMIT=1.5\nMEMLIMITS=128\nSAMPLES=3\nCCL=c@gcc -o %o %i\n"
                     "CCL=java@javac %i \nMARK=1@20\nMARK=2@30\nMARK=3@50\n"},
    {"task1_2.info", "TITLE=\nNAME=maze\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\n"
                     "PLUG=maze_checker\nCHECKER=testlib\nTYPE=ANSWERS\nLIMIT=1\nMEMLIMITS=32\n"
                     "SAMPLES=2\nCCL=c@gcc -o %o %i \nCCL=cpp@g++ -o %o %i \nCCL=pas@fpc %i \n"},
    {"player.info", "JS-001@张三\n"},
    {"team.info", "JS@江苏队\n"}};

// sh -c script in dir; timeout ends the script's whole process group past the bound.
ProgramRun runScript(const QString &script, const QString &dir)
{
    return runProgram("timeout", {"-k", "5", "300", "sh", "-c", script}, dir, 320000);
}

// The README's ```sh block that contains marker.
QString readmeBlock(const QString &marker)
{
    const QString readme = readSource("README.md");
    const QRegularExpression fenced("^```sh\\n(.*?)^```$",
                                    QRegularExpression::MultilineOption |
                                        QRegularExpression::DotMatchesEverythingOption);
    for (auto it = fenced.globalMatch(readme); it.hasNext();) {
        const QString block = it.next().captured(1);
        if (block.contains(marker))
            return block;
    }
    return QString();
}

// The recipe with each line that starts with a key replaced by key + value, and the local disk's
// /var/tmp/ by local; empty when the README no longer has one of them.
QString adapted(QString recipe, const QMap<QString, QString> &lines, const QString &local)
{
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        const QRegularExpression line('^' + QRegularExpression::escape(it.key()) + ".*$",
                                      QRegularExpression::MultilineOption);
        if (recipe.count(line) != 1)
            return QString();
        recipe.replace(line, it.key() + it.value());
    }
    return recipe.contains("/var/tmp/") ? recipe.replace("/var/tmp/", local + '/') : QString();
}

QStringList sortedLines(const QByteArray &text)
{
    QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

// A cluster of this machine alone, its socket, ports, state and spool in a temporary directory so
// that a package's daemons are never reached; stopped by stop() or, should the test be killed, by
// a watchdog that outlives it.
struct OneNodeCluster {
    QTemporaryDir dir;
    bool started = false;

    QString logs() const
    {
        return readFile(dir.filePath("slurmctld.log")).right(2000) +
               readFile(dir.filePath("slurmd.log")).right(2000);
    }

    // Launches the daemons; gives what failed.
    QString start()
    {
        const QString d = dir.path();
        // munged wants the directories above its socket rwxr-xr-x, and a key for root alone.
        QFile random("/dev/urandom");
        const QString key = d + "/munge.key";
        if (!dir.isValid() || !QFile::setPermissions(d, QFileDevice::Permissions(0x7055)) ||
            !random.open(QIODevice::ReadOnly) || !writeFile(key, random.read(1024)) ||
            !QFile::setPermissions(key, QFile::ReadOwner | QFile::WriteOwner))
            return "cannot write the munge key";
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        // Two TCP ports nobody listens on just now, told apart by being held at once.
        const QStringList ports =
            runProgram("python3", {"-c", "import socket\nss = [socket.socket(), socket.socket()]\n"
                                         "for s in ss: s.bind(('127.0.0.1', 0))\n"
                                         "print(*[s.getsockname()[1] for s in ss])"})
                .outText()
                .split(' ');
        if (ports.size() != 2)
            return "no free ports";
        // %1 the host, %2 and %3 the ports, %4 the directory, %5 the cores.
        const QString conf = readSource("tests/cli/slurm.conf")
                                 .arg(QString::fromLocal8Bit(host).section('.', 0, 0), ports[0],
                                      ports[1].trimmed(), d)
                                 .arg(sysconf(_SC_NPROCESSORS_ONLN));
        if (!QDir(d).mkpath("state") || !QDir(d).mkpath("spool") ||
            !writeFile(d + "/slurm.conf", conf.toUtf8()))
            return "cannot write slurm.conf";
        qputenv("SLURM_CONF", QFile::encodeName(d + "/slurm.conf"));
        started = true;
        // Started before the daemons, so that none is left without it.
        if (!QProcess::startDetached("sh",
                                     {"-c",
                                      "while kill -0 \"$1\" 2>/dev/null; do sleep 1; done\n"
                                      "shift\nfor f in \"$@\"; do [ -f \"$f\" ] && kill \"$(cat "
                                      "\"$f\")\"; done\nexit 0\n",
                                      "watchdog", QString::number(getpid()), d + "/slurmd.pid",
                                      d + "/slurmctld.pid", d + "/munged.pid"}))
            return "cannot start the watchdog";
        const QList<QStringList> commands{{"munged", "--socket=" + d + "/munge.socket",
                                           "--key-file=" + key, "--log-file=" + d + "/munged.log",
                                           "--pid-file=" + d + "/munged.pid",
                                           "--seed-file=" + d + "/munged.seed"},
                                          {"slurmctld", "-f", d + "/slurm.conf"},
                                          {"slurmd", "-f", d + "/slurm.conf"}};
        for (const QStringList &command : commands) {
            const ProgramRun run = runProgram(command.first(), command.mid(1));
            if (run.status != 0)
                return command.first() + " did not start: " + run.err;
        }
        return QString();
    }

    void stop()
    {
        if (!started)
            return;
        // Jobs a recipe past its bound left behind end before the node goes.
        runProgram("scancel", {"--user=root"});
        // All three are asked to stop at once, then waited for together.
        QList<pid_t> stopping;
        for (const char *daemon : {"slurmd", "slurmctld", "munged"}) {
            const pid_t pid = readFile(dir.filePath(daemon + QString(".pid"))).trimmed().toInt();
            if (pid > 0 && kill(pid, SIGTERM) == 0)
                stopping << pid;
        }
        QElapsedTimer clock;
        clock.start();
        for (const pid_t pid : stopping) {
            while (kill(pid, 0) == 0 && clock.elapsed() < 10000)
                QThread::msleep(100);
            kill(pid, SIGKILL);
        }
        qunsetenv("SLURM_CONF");
    }
};

} // namespace

// taldon-cli's subcommands; eval on a copy of the demo contest, and the README's many-machines
// recipes on a contest of seven players of trivial programs.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { cluster.stop(); }
    void newCreatesHome();
    void showAndSaveRoundTrip();
    void badInputChangesNothing();
    void reportWritesTheDay();
    void readmeMatchesTheProgramsAndScripts();
    void evaluatesAndPrintsPoints();
    void sandboxCheckAndFallback();
    void manyMachines_data();
    void manyMachines();
    void busyWorkingDirectory();
    void signalStopsTheEvaluation_data();
    void signalStopsTheEvaluation();

private:
    // The player's day 1 result in the demo contest, or in a copy of it.
    QByteArray resultOf(const QString &id, const QString &home = QString()) const
    {
        return readFile(
            QString("%1/result/day1/%2/%2.result").arg(home.isEmpty() ? demo : home, id));
    }
    static ProgramRun eval(const QStringList &args) { return runCli(QStringList{"eval"} + args); }
    QMap<QString, QByteArray> outcome() const;

    // machines holds the bench contest and stays closed to others; sandboxCheckAndFallback opens
    // base.
    QTemporaryDir base, machines;
    QString demo, bench, local, submit;
    QStringList players;
    // The bench contest's sequential evaluation: each player's line, and outcome().
    QMap<QString, QString> sequentialLines;
    QMap<QString, QByteArray> sequential;
    OneNodeCluster cluster;
    QString slurmMissing, slurmFailure;
};

// Every result file of the bench contest with its times masked, and the results CSV.
QMap<QString, QByteArray> TestCli::outcome() const
{
    QMap<QString, QByteArray> files;
    const QRegularExpression time("^(-?\\d+ -?\\d+ )[0-9.]+ ", QRegularExpression::MultilineOption);
    for (QDirIterator it(bench + "/result", QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files.insert(path.mid(bench.size()),
                     QString::fromUtf8(readFile(path)).replace(time, "\\1T ").toUtf8());
    }
    files.insert("results.csv", runCli({"results", bench}).out);
    return files;
}

// No installed stock filters, only those placed beside the programs; no display, platform or
// session directory, as for root at a console or under cron. The cluster boots while the contests
// are made and judged. The bench's players score apart: a missing submission, a wrong answer, a
// missing task. The recipes find taldon-cli on PATH.
void TestCli::initTestCase()
{
    qputenv("TALDON_FILTER_DIR", QByteArray());
    for (const char *name : {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        qunsetenv(name);
    const QString build = qEnvironmentVariable("TALDON_BINARY_DIR");
    qputenv("PATH",
            QFile::encodeName(build + "/cli:" + qEnvironmentVariable("PATH") + ":/usr/sbin:/sbin"));
    if (geteuid() != 0)
        slurmMissing = "the one-node Slurm cluster is started as root only";
    for (const char *name : {"munged", "slurmctld", "slurmd", "sbatch", "sinfo", "scancel"})
        if (QStandardPaths::findExecutable(name).isEmpty())
            slurmMissing =
                "Slurm or munge is not installed (sh scripts/bootstrap.sh test installs them)";
    if (slurmMissing.isEmpty())
        slurmFailure = cluster.start();
    demo = base.path() + "/演示 contest";
    QCOMPARE(QProcess::execute("sh", {sourcePath("examples/demo/prepare.sh"), demo, build}), 0);

    bench = machines.filePath("bench");
    local = machines.filePath("local");
    submit = machines.filePath("submit");
    QCOMPARE(
        runProgram("sh", {sourcePath("bench/engine/gen_contest.sh"), bench, build, "7"}).status, 0);
    for (int p = 1; p <= 7; ++p)
        players << QString("JS-00%1").arg(p);
    const QString day = bench + "/players/day1/";
    QVERIFY(QDir(day + "JS-002/t3").removeRecursively());
    QVERIFY(QDir(day + "JS-006/t1").removeRecursively());
    const QString wrong = day + "JS-003/t2/t2.bin";
    QVERIFY(QFile::remove(wrong) && writeFile(wrong, "#!/bin/sh\necho wrong >t2.out\n"));
    QVERIFY(QFile::setPermissions(wrong, QFileDevice::Permissions(0x7005))); // rwx---r-x
    const ProgramRun run = eval({bench, "--day=1"});
    QCOMPARE(run.status, 0);
    for (const QString &line : sortedLines(run.out))
        sequentialLines.insert(line.section(' ', 0, 0), line);
    QCOMPARE(sequentialLines.keys(), players);
    QCOMPARE(sequentialLines.value("JS-002"), QString("JS-002 t1=100 t2=100 t3=0 total=200"));
    QCOMPARE(sequentialLines.value("JS-003"), QString("JS-003 t1=100 t2=0 t3=100 total=200"));
    sequential = outcome();
    QCOMPARE(sequential.size(), 8);
    QVERIFY(writeFile(base.path() + "/ids", "JS-002\n\nJS-003\n"));
}

void TestCli::evaluatesAndPrintsPoints()
{
    // Points follow the marks: BJ-005 misses only the second point, whose mark is 20. JS-007
    // answers in Python, BJ-008 in Java. A good evaluation reports no problem.
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

    // Missing test data fails the task for every player: said on standard error, exit status 1.
    const QByteArray answer = readFile(demo + "/evaldata/sum3.ans");
    QVERIFY(QFile::remove(demo + "/evaldata/sum3.ans"));
    const ProgramRun failed = eval({demo, "--day=1", "--task=sum", "BJ-002", "JS-004"});
    QVERIFY(writeFile(demo + "/evaldata/sum3.ans", answer));
    QCOMPARE(failed.status, 1);
    QCOMPARE(failed.out,
             QByteArray("BJ-002 sum=0 words=20 total=20\nJS-004 sum=0 words=20 total=20\n"));
    const QString lost = "Test data evaldata/sum3.ans not found.";
    for (const QString id : {"BJ-002", "JS-004"})
        QVERIFY2(failed.err.contains("eval: " + id + ": not evaluated: sum: " + lost),
                 qPrintable(failed.err));
    QVERIFY(QString(resultOf("JS-004"))
                .endsWith("{sum -106 " + lost + "\n-106 0 ? " + lost + "\n}102 0\n"));
}

// Where the sandbox cannot be had, the check says so and fails, an evaluation goes on with the
// plain protections after saying so once, and --require-sandbox refuses to evaluate.
void TestCli::sandboxCheckAndFallback()
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
    QVERIFY(QFile::setPermissions(base.path(), QFile::permissions(base.path()) | QFile::ExeOther));
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
    const QByteArray refusal = "python3: uid 60000 cannot search " + QFile::encodeName(base.path());
    QCOMPARE(unreachable.count("\n-106 0 0.000 Cannot start /usr/") == 5 &&
                 unreachable.count(refusal + ".\n") == 5,
             root);
    QCOMPARE(reachable.out,
             QByteArray("JS-007 sum=50 words=0 total=50\nBJ-008 sum=50 words=0 total=50\n"));
}

void TestCli::manyMachines_data()
{
    QTest::addColumn<QStringList>("options"); // none: the README's recipe of the row's name
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<int>("slices"); // working directories on the local disk; 0: the contest's
    QTest::newRow("three jobs in a work dir")
        << (QStringList{"--jobs=3", "--workdir", local + "/w"} + players) << players << 1;
    QTest::newRow("shard 1/4 on two jobs")
        << QStringList{"--shard", "1/4", "--jobs", "2"} << QStringList{"JS-001", "JS-005"} << 0;
    QTest::newRow("shard 4/4") << QStringList{"--shard=4/4"} << QStringList{"JS-004"} << 0;
    QTest::newRow("shard 1/1 on the most jobs")
        << QStringList{"--shard=1/1", "--jobs=64"} << players << 0;
    QTest::newRow("ids file, sharded")
        << QStringList{"--ids-file", base.path() + "/ids", "--shard", "2/2"}
        << QStringList{"JS-003"} << 0;
    QTest::newRow("parallel") << QStringList() << players << 4;
    QTest::newRow("slurm") << QStringList() << players << 3;
}

// Workers, shards, id lists and the recipes evaluate exactly the players asked for, once, as a
// sequential evaluation does; each slice works in a directory of its own on the local disk.
void TestCli::manyMachines()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, ids);
    QFETCH(int, slices);
    const QString row = QTest::currentDataTag();
    QVERIFY(QDir(bench + "/result").removeRecursively());
    QFile::remove(bench + "/tmp.lock");
    QVERIFY(QDir(local).removeRecursively() && QDir().mkpath(local));
    QVERIFY(QDir(submit).removeRecursively() && QDir().mkpath(submit));
    ProgramRun run;
    QByteArray printed;
    if (row == "parallel") {
        if (QStandardPaths::findExecutable("parallel").isEmpty())
            QSKIP("GNU parallel is not installed (sh scripts/bootstrap.sh test installs it)");
        const QString recipe = adapted(
            readmeBlock("parallel --sshlogin"),
            {{"CONTEST=", bench}, {"HOSTS=", ":"}, {"CORES=", "2"}, {"SLICES=", "4"}}, local);
        QVERIFY2(!recipe.isEmpty(), "the README's GNU parallel recipe is not the one tested");
        run = runScript(recipe, submit);
        printed = run.out;
    } else if (row == "slurm") {
        if (!slurmMissing.isEmpty())
            QSKIP(qPrintable(slurmMissing));
        QVERIFY2(slurmFailure.isEmpty(), qPrintable(slurmFailure + '\n' + cluster.logs()));
        // The node takes jobs once it is idle.
        QTRY_VERIFY2_WITH_TIMEOUT(runProgram("sinfo", {"-h", "-o", "%t"}).out.trimmed() == "idle",
                                  qPrintable(cluster.logs()), 60000);
        const QString script =
            adapted(readmeBlock("#SBATCH --array"),
                    {{"CONTEST=", bench}, {"SLICES=", "3"}, {"#SBATCH --array=", "1-3"}}, local);
        const QString submission = readmeBlock("sbatch --wait");
        QVERIFY2(!script.isEmpty() && submission.contains("judge.sh"),
                 "the README's Slurm recipe is not the one tested");
        QVERIFY(writeFile(submit + "/judge.sh", script.toUtf8()));
        run = runScript(submission, submit);
        for (const QString &out : QDir(submit).entryList({"taldon-*.out"}))
            printed += readFile(submit + '/' + out);
    } else {
        run = eval(QStringList{bench, "--day=1"} + options);
        printed = run.out;
    }
    QVERIFY2(run.status == 0, qPrintable(run.err.right(3000)));
    QStringList lines;
    QMap<QString, QByteArray> expected;
    for (const QString &id : ids) {
        lines << sequentialLines.value(id);
        const QString file = QString("/result/day1/%1/%1.result").arg(id);
        expected.insert(file, sequential.value(file));
    }
    QCOMPARE(sortedLines(printed), lines);
    QMap<QString, QByteArray> judged = outcome();
    if (ids.size() == players.size())
        expected.insert("results.csv", sequential.value("results.csv"));
    else
        judged.remove("results.csv");
    QCOMPARE(judged.keys(), expected.keys());
    for (const QString &file : expected.keys())
        QCOMPARE(judged.value(file), expected.value(file));
    QCOMPARE(QDir(local).entryList({"*.lock"}, QDir::Files).size(), slices);
    QCOMPARE(QFileInfo::exists(bench + "/tmp.lock"), slices == 0);
}

// A working directory in use refuses a second evaluation, naming the holder; --wait waits.
void TestCli::busyWorkingDirectory()
{
    QProcess holder;
    holder.start("python3", {"-c",
                             "import fcntl, sys, time; f = open(sys.argv[1], 'w'); "
                             "fcntl.lockf(f, fcntl.LOCK_EX); f.write('otherhost 4242\\n'); "
                             "f.flush(); print('locked', flush=True); time.sleep(2)",
                             demo + "/tmp.lock"});
    QVERIFY(holder.waitForReadyRead(10000));
    const QByteArray before = resultOf("JS-004");
    const ProgramRun refused = eval({demo, "--day=1", "JS-004"});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("otherhost") && refused.err.contains("4242"),
             qPrintable(refused.err));
    QCOMPARE(eval({demo, "--day=1", "--jobs=2", "JS-004", "ZJ-003"}).status, 1);
    QCOMPARE(resultOf("JS-004"), before);
    const ProgramRun waited = eval({demo, "--day=1", "--wait", "JS-004"});
    QCOMPARE(waited.status, 0);
    QCOMPARE(waited.out, QByteArray("JS-004 sum=0 words=20 total=20\n"));
    QVERIFY(holder.waitForFinished(10000));
}

void TestCli::signalStopsTheEvaluation_data()
{
    QTest::addColumn<int>("jobs");
    QTest::newRow("sequential") << 1;
    QTest::newRow("workers") << 2;
}

// SIGTERM stops an evaluation as closing the window does: the runs end at once, the players'
// blocks are complete, nobody else is evaluated, and the exit status says it was no success.
void TestCli::signalStopsTheEvaluation()
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
    const QByteArray untouched = resultOf(ids[jobs], home);
    const auto running = [jobs] {
        return countProcessesNamed("taldon-stopme", submissionUsers(jobs));
    };
    QProcess eval;
    eval.start(cliPath(),
               QStringList{"eval", home, "--day=1", "--task=sum", QString("--jobs=%1").arg(jobs)} +
                   ids);
    QTRY_VERIFY_WITH_TIMEOUT(running() >= jobs, 30000);
    eval.terminate();
    QVERIFY(eval.waitForFinished(60000));
    QCOMPARE(eval.exitStatus(), QProcess::NormalExit);
    QCOMPARE(eval.exitCode(), 1);
    QVERIFY(eval.readAllStandardError().contains("eval: stopped by a signal"));
    QCOMPARE(running(), 0);
    for (int r = 0; r < jobs; ++r) {
        const QByteArray block = resultOf(ids[r], home);
        QVERIFY2(block.contains("Evaluation stopped.\n") && block.contains("\n}102 0\n"),
                 block.constData());
    }
    QCOMPARE(resultOf(ids[jobs], home), untouched);
}

void TestCli::newCreatesHome()
{
    QTemporaryDir tmp;
    // A copy of the program with stock filters beside it, as an installation has them.
    const QString program = tmp.path() + "/bin/taldon-cli";
    const QString filter = tmp.path() + "/bin/filter/lines";
    QVERIFY(QDir(tmp.path()).mkpath("bin/filter") && QFile::copy(cliPath(), program));
    QVERIFY(writeFile(filter, "#!/bin/sh\n") &&
            QFile::setPermissions(filter, QFile::ReadOwner | QFile::ExeOwner));

    const QString home = tmp.path() + "/新 建/考试 '$(touch pwned)'";
    const ProgramRun run = runProgram(program, {"new", home, "--name", "全国 赛"}, tmp.path());
    QCOMPARE(run.status, 0);
    QVERIFY(!QFile::exists(tmp.path() + "/pwned"));
    for (const char *sub : {"players", "data", "result", "final", "tmp", "filter", "evaldata"})
        QVERIFY2(QDir(home + '/' + sub).exists(), sub);
    QVERIFY(QFileInfo(home + "/filter/lines").isExecutable());

    const QJsonObject contest = show(home);
    QCOMPARE(contest.value("name").toString(), QString("全国 赛"));
    QCOMPARE(contest.value("home").toString(), home);
    QCOMPARE(contest.value("days").toArray().size(), 0);

    // The default name is the dialog's; the build's program finds the build's filters.
    const QString plain = tmp.path() + "/plain";
    QCOMPARE(runCli({"new", plain}).status, 0);
    QCOMPARE(show(plain + "/setup.cfg").value("name").toString(), QString("程序设计竞赛"));
    QVERIFY(QFileInfo(plain + "/filter/fulltext_e").isExecutable());

    // A copy with no filters anywhere near it still makes the contest, and says what is missing.
    const QString lone = tmp.path() + "/lone/taldon-cli";
    QVERIFY(QDir(tmp.path()).mkpath("lone") && QFile::copy(cliPath(), lone));
    const QString bare = tmp.path() + "/bare";
    const ProgramRun warned = runProgram(lone, {"new", bare}, tmp.path());
    QCOMPARE(warned.status, 0);
    QVERIFY2(warned.err.contains("no stock filters found"), qPrintable(warned.err));
    QVERIFY(QFile::exists(bare + "/setup.cfg"));
    QVERIFY(QDir(bare + "/filter").isEmpty());
}

void TestCli::showAndSaveRoundTrip()
{
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/比赛 一";
    QCOMPARE(runCli({"new", home}).status, 0);
    QVERIFY(writeFiles(home, kContest));

    const QJsonObject contest = show(home);
    // Every setting as written, and the defaults of those left unset.
    QCOMPARE(
        QJsonDocument(contest.value("days").toArray()).toJson(QJsonDocument::Compact),
        QByteArray(R"([{"baseScore":20,"name":"第一试","tasks":[)"
                   R"({"ansSuffix":"ans","checker":"filter","compile":[{"cmd":"gcc -o %o %i",)"
                   R"("lang":"c"},{"cmd":"javac %i ","lang":"java"}],"inSuffix":"in",)"
                   R"("marks":[20,30,50],"memLimit":128,"name":"sum","plug":"","run":"",)"
                   R"("samples":3,"timeLimit":1.5,"title":"求和","total":100,"type":"SOURCE"},)"
                   R"({"ansSuffix":"ans","checker":"testlib","compile":[{"cmd":"gcc -o %o %i ",)"
                   R"("lang":"c"},{"cmd":"g++ -o %o %i ","lang":"cpp"},{"cmd":"fpc %i ",)"
                   R"("lang":"pas"}],"inSuffix":"in","marks":[10,10],"memLimit":32,"name":"maze",)"
                   R"("plug":"maze_checker","run":"","samples":2,"timeLimit":1,"title":"",)"
                   R"("total":20,"type":"ANSWERS"}]}])"));
    QCOMPARE(contest.value("players").toArray()[0].toObject().value("name").toString(),
             QString("张三"));
    QCOMPARE(contest.value("teams").toArray()[0].toObject().value("id").toString(), QString("JS"));

    // Saving in place rewrites the same bytes.
    const auto before = snapshot(home);
    QVERIFY(before.contains("/setup.cfg\n"));
    QCOMPARE(runCli({"save", home}).status, 0);
    QCOMPARE(snapshot(home), before);

    // Saving elsewhere moves the home and keeps everything else.
    const QString copy = tmp.path() + "/副本 $HOME";
    QVERIFY(QDir().mkdir(copy));
    QCOMPARE(runCli({"save", home + "/setup.cfg", "--to", copy}).status, 0);
    QJsonObject copied = show(copy);
    QCOMPARE(copied.value("home").toString(), copy);
    copied.insert("home", home);
    QCOMPARE(copied, contest);
    QVERIFY(QDir(copy).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    // What the model read differently, a huge test point count and a GBK player list (tests/model
    // checks how), is said on standard error.
    const QString odd = tmp.path() + "/odd";
    QVERIFY(writeFiles(
        odd, {{"setup.cfg", "NAME=c\nDAYNUM=1\nPLAYER=player.info\n"},
              {"day1.info", "NAME=d\nTASKNUM=1\n"},
              {"task1_1.info", "NAME=sum\nSAMPLES=2000000000\n"},
              {"player.info", QTextCodec::codecForName("GB18030")->fromUnicode("JS-1@张三\n")}}));
    const ProgramRun run = runCli({"show", odd});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.contains("SAMPLES=2000000000 超过 99 个测试点的上限"), qPrintable(run.err));
    QVERIFY(run.err.contains("player.info 不是 UTF-8 编码"));
}

void TestCli::badInputChangesNothing()
{
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/c", days = tmp.path() + "/d";
    QCOMPARE(runCli({"new", home}).status, 0);
    QCOMPARE(runCli({"new", days}).status, 0);
    QVERIFY(writeFiles(days, kContest));
    const QString file = tmp.path() + "/plain file";
    QVERIFY(writeFile(file, QByteArray()));
    const auto before = snapshot(tmp.path());
    QVERIFY(before.contains("/d/setup.cfg\n"));

    // A case a line, arguments joined by '|' (none on the empty line): %t the temporary directory,
    // %h a contest, %d one with a day, %f a plain file, %p a fetch's server options, %n a newline.
    const QString bad =
        "show|%t/missing\nshow|%t\nsave|%t/missing\nsave|%h|--to|%t/nowhere\n"
        "new|%f\nnew|%h/x|--name|\nnew|%h/x|--name|赛%nDAYNUM=5\nnew\n"
        "show|%h|%h\nsave|%h|--bogus\nfrobnicate\nreport|%h\nreport|%h|--day|1\n"
        "report|%h|--day|x\nreport|%t/missing|--day|1\nteams|%h|--best|100\nteams|%h|--best|-1\n"
        "eval|%d|--day|2\neval|%d|--day|x\neval|%d\neval|%d|--day|1|--task|nope\n"
        "eval|%d|--day|1|JS-001|XX-999\neval|%t/missing|--day|1\neval|%d|--day=1|--shard=0/2\n"
        "eval|%d|--day=1|--shard=3/2\neval|%d|--day=1|--shard=1/2/2\neval|%d|--day=1|--jobs=0\n"
        "eval|%d|--day=1|--jobs=65\neval|%d|--day=1|--ids-file|%t/missing\nfetch|%h|%p|%f\n"
        "fetch|%h|%p|%f|--dir|../x\nfetch|%h|%p|%t/missing|--dir|d\nfetch|%t/"
        "missing|%p|%f|--dir|d\n";
    for (const QString &line : bad.split('\n')) {
        QString joined = line;
        joined.replace("%p", "--server|127.0.0.1|--user|judge|--password-file")
            .replace("%t", tmp.path())
            .replace("%h", home)
            .replace("%d", days)
            .replace("%f", file);
        const QStringList args =
            line.isEmpty() ? QStringList() : joined.replace("%n", "\n").split('|');
        const ProgramRun run = runCli(args);
        QVERIFY2(run.status == 2 && run.out.isEmpty() && !run.err.trimmed().isEmpty(),
                 qPrintable(args.join(' ')));
    }
    const ProgramRun missing = runCli({"show", tmp.path() + "/missing"});
    QCOMPARE(missing.err.trimmed().count('\n'), 0);
    QVERIFY(missing.err.contains(tmp.path() + "/missing"));
    QCOMPARE(snapshot(tmp.path()), before);
}

// Two of three players have results, one with blanks in its id. A report that cannot be written
// fails the command and leaves the others.
void TestCli::reportWritesTheDay()
{
    QTemporaryDir dir;
    const QString home = dir.path() + "/my contest";
    QVERIFY(QDir().mkpath(home));
    auto setup = makeContest(home, {{{"sum", {10, 10}}}, {{"b", {10}}}});
    for (const QString player : {"a 1|甲", "b2|乙", "c3|丙"})
        setup->getPlayerInfo()->addPlayerInfo(player.section('|', 0, 0), player.section('|', 1));
    QVERIFY(setup->saveSetupInfo(home));
    const QByteArray block =
        "{sum 100 Compile successfully\n101 10 0.1 ok\n101 3 0.2 partly\n}102 13\n";
    appendResult(home, 1, "a 1", block);
    appendResult(home, 1, "c3", block);
    const ProgramRun run = runCli({"report", home, "--day", "1"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QVERIFY(run.outText().contains(
        QString("[1/3] a 1: %1/a 1/a 1.pdf\n[2/3] b2: no results\n[3/3] c3: %1/c3/c3.pdf\n")
            .arg(home + "/ps/day1")));
    QVERIFY(pdfText(home + "/ps/day1/a 1/a 1.pdf").contains(QStringLiteral("姓名:甲")));
    QVERIFY(pdfText(home + "/ps/day1/c3/c3.pdf").contains("partly"));
    QVERIFY(!QFile::exists(home + "/ps/day1/b2"));

    QVERIFY(QDir(home + "/ps/day1/c3").removeRecursively() &&
            writeFile(home + "/ps/day1/c3", QByteArray()));
    const ProgramRun blocked = runCli({"report", home, "--day", "1"});
    QCOMPARE(blocked.status, 1);
    QVERIFY(blocked.outText().contains("c3: FAILED"));
    QVERIFY(blocked.err.contains("c3"));
    QVERIFY(QFile::exists(home + "/ps/day1/a 1/a 1.pdf"));
}

// The README starts with the commands that CI and the script run; run tells a user without a
// display how to get one first; every screenshot is shown at window size. Each subcommand of
// --help has an example in the README's indented code, using only options its --help lists.
void TestCli::readmeMatchesTheProgramsAndScripts()
{
    const QString readme = readSource("README.md");
    QVERIFY(readme.startsWith(
        "# Taldon\n\n    sh scripts/taldon.sh run\n    sh scripts/taldon.sh test\n"));
    QVERIFY(readSource(".ci/run").contains(QRegularExpression(
        "^sh scripts/taldon\\.sh test\\b", QRegularExpression::MultilineOption)));
    const QString script = readSource("scripts/taldon.sh");
    for (const QString word : {"run", "test"})
        QVERIFY2(script.contains('\n' + word + ")\n") &&
                     script.contains("scripts/taldon.sh " + word),
                 qPrintable(word));

    QTemporaryDir build;
    const ProgramRun run = runProgram("env", {"TALDON_BUILD_DIR=" + build.path() + "/b", "sh",
                                              sourcePath("scripts/taldon.sh"), "run"});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("xvfb-run -a sh scripts/taldon.sh run"), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(build.path() + "/b"));

    const QRegularExpression image("!\\[[^\\]]*\\]\\(([^)]+)\\)");
    QStringList shown;
    for (auto it = image.globalMatch(readme); it.hasNext();)
        shown << it.next().captured(1);
    const QStringList taken =
        QDir(sourcePath("docs/screenshots")).entryList({"*.png"}, QDir::Files);
    QCOMPARE(taken.size(), 4);
    for (const QString &file : taken)
        QVERIFY2(shown.contains("docs/screenshots/" + file), qPrintable(file));
    for (const QString &path : shown)
        QCOMPARE(QImageReader(sourcePath(path)).size(), QSize(760, 578));

    const ProgramRun list = runCli({"--help"});
    QCOMPARE(list.status, 0);
    QStringList names;
    const QRegularExpression row("^  (\\S+)\\t", QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(list.outText()); it.hasNext();)
        names << it.next().captured(1);
    QVERIFY2(names.size() >= 8, qPrintable(names.join(' ')));
    QStringList code;
    for (const QString &line :
         QString(readme).replace(QRegularExpression("\\\\\n\\s*"), " ").split('\n'))
        if (line.startsWith("    "))
            code << line.trimmed();
    const QRegularExpression option("(?:^|\\s)(--?[a-z][a-z-]*)");
    for (const QString &name : names) {
        const QString prefix = "taldon-cli " + name + ' ';
        const ProgramRun run = runCli({name, "--help"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString()); // nor any of the toolkit's warnings
        const QString help = run.outText();
        // The usage line names the subcommand, as it is to be typed.
        const QString usage = help.section('\n', 0, 0);
        QVERIFY2(usage.startsWith("Usage: ") && usage.contains(prefix + "[options]"),
                 qPrintable(usage));
        const QStringList examples = code.filter(QRegularExpression('^' + prefix));
        QVERIFY2(!examples.isEmpty(), qPrintable("no example of " + name));
        for (const QString &line : examples) {
            // An example given a path has the usage line say what that path is.
            if (line.mid(prefix.size()).startsWith('/'))
                QVERIFY2(!usage.section("[options]", 1).trimmed().isEmpty(), qPrintable(usage));
            for (auto it = option.globalMatch(line); it.hasNext();) {
                const QString used = it.next().captured(1);
                QVERIFY2(help.contains(used + ' ') || help.contains(used + ','),
                         qPrintable(name + ": " + used));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
