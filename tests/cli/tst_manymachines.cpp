// The README's recipes for judging on several machines, run on this one: GNU parallel with its
// local login, and a Slurm job array on a one-node cluster that the test starts itself. Each must
// leave the result files (times aside) and the results CSV of one sequential evaluation.

#include "common/programrun.h"
#include "common/testfiles.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

const int kPlayers = 7;

// Runs sh -c script in dir; timeout gives the recipe a process group of its own and ends all of
// it past the bound, which reads as a failed status.
ProgramRun runScript(const QString &script, const QString &dir)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start("timeout", {"-k", "5", "300", "sh", "-c", script});
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(320000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The README's ```sh block that contains marker.
QString readmeBlock(const QString &marker)
{
    const QString readme =
        QString::fromUtf8(readFile(qEnvironmentVariable("TALDON_SOURCE_DIR") + "/README.md"));
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
    if (!recipe.contains("/var/tmp/"))
        return QString();
    return recipe.replace("/var/tmp/", local + '/');
}

QStringList sortedLines(const QByteArray &text)
{
    QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

// A TCP port nobody listens on just now.
int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof addr;
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr *>(&addr), size) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &size) == 0;
    if (fd >= 0)
        close(fd);
    return ok ? ntohs(addr.sin_port) : 0;
}

// munged, slurmctld and slurmd of a cluster of this machine alone, with a socket, ports, state
// and spool of their own under a temporary directory, so that daemons a package may have started
// are never reached. They are stopped by their pid files, by stop() or, should the test itself
// be killed, by a watchdog that outlives it.
class OneNodeCluster
{
public:
    // Launches the daemons; ready() waits for the node to be idle. Each gives what failed.
    QString start();
    QString ready();
    void stop();
    QString logs() const
    {
        return readFile(dir.filePath("slurmctld.log")).right(2000) +
               readFile(dir.filePath("slurmd.log")).right(2000);
    }

private:
    QTemporaryDir dir;
    bool started = false;
};

QString OneNodeCluster::start()
{
    const QString d = dir.path();
    // munged wants every directory above its socket open to all (rwxr-xr-x), and a key for root
    // alone.
    QFile random("/dev/urandom");
    const QString key = d + "/munge.key";
    if (!dir.isValid() || !QFile::setPermissions(d, QFileDevice::Permissions(0x7055)) ||
        !random.open(QIODevice::ReadOnly) || !writeFile(key, random.read(1024)) ||
        !QFile::setPermissions(key, QFile::ReadOwner | QFile::WriteOwner))
        return "cannot write the munge key";
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const int ctldPort = freePort(), nodePort = freePort();
    if (ctldPort == 0 || nodePort == 0 || ctldPort == nodePort)
        return "no free ports";
    const QString conf =
        QString("ClusterName=taldontest\nSlurmctldHost=%1(127.0.0.1)\n"
                "SlurmctldPort=%2\nSlurmdPort=%3\n"
                "AuthType=auth/munge\nCredType=cred/munge\nAuthInfo=socket=%4/munge.socket\n"
                "SlurmUser=root\nSlurmdUser=root\n"
                "StateSaveLocation=%4/state\nSlurmdSpoolDir=%4/spool\n"
                "SlurmctldPidFile=%4/slurmctld.pid\nSlurmdPidFile=%4/slurmd.pid\n"
                "SlurmctldLogFile=%4/slurmctld.log\nSlurmdLogFile=%4/slurmd.log\n"
                "ProctrackType=proctrack/linuxproc\nTaskPlugin=task/none\n"
                "JobAcctGatherType=jobacct_gather/none\n"
                "AccountingStorageType=accounting_storage/none\nMpiDefault=none\n"
                "SelectType=select/cons_tres\nSelectTypeParameters=CR_CPU\nReturnToService=2\n"
                "NodeName=%1 NodeAddr=127.0.0.1 CPUs=%5 State=UNKNOWN\n"
                "PartitionName=judge Nodes=ALL Default=YES MaxTime=INFINITE State=UP\n")
            .arg(QString::fromLocal8Bit(host).section('.', 0, 0))
            .arg(ctldPort)
            .arg(nodePort)
            .arg(d)
            .arg(sysconf(_SC_NPROCESSORS_ONLN));
    if (!QDir(d).mkpath("state") || !QDir(d).mkpath("spool") ||
        !writeFile(d + "/slurm.conf", conf.toUtf8()))
        return "cannot write slurm.conf";
    qputenv("SLURM_CONF", QFile::encodeName(d + "/slurm.conf"));
    started = true;
    // Started before the daemons, so that none is left without it.
    if (!QProcess::startDetached(
            "sh",
            {"-c",
             "while kill -0 \"$1\" 2>/dev/null; do sleep 1; done\n"
             "shift\nfor f in \"$@\"; do [ -f \"$f\" ] && kill \"$(cat \"$f\")\"; done\nexit 0\n",
             "watchdog", QString::number(getpid()), d + "/slurmd.pid", d + "/slurmctld.pid",
             d + "/munged.pid"}))
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

// Waits for the node that start() launched to take jobs.
QString OneNodeCluster::ready()
{
    QElapsedTimer clock;
    clock.start();
    while (runProgram("sinfo", {"-h", "-o", "%t"}).out.trimmed() != "idle") {
        if (clock.elapsed() > 60000)
            return "the node did not become idle";
        QThread::msleep(500);
    }
    return QString();
}

void OneNodeCluster::stop()
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

} // namespace

class TstManyMachines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void gnuParallel();
    void slurmJobArray();
    void cleanupTestCase() { cluster.stop(); }

private:
    QMap<QString, QByteArray> outcome() const;
    void startOver();
    void compareWithSequential(const ProgramRun &run, const QByteArray &printed, int slices);

    QTemporaryDir base;
    QString contest, local, submit;
    QByteArray sequentialLines;
    QMap<QString, QByteArray> sequential;
    OneNodeCluster cluster;
    QString slurmMissing, slurmFailure;
};

// Every result file with its times masked, and the results CSV.
QMap<QString, QByteArray> TstManyMachines::outcome() const
{
    QMap<QString, QByteArray> files;
    const QRegularExpression time("^(-?\\d+ -?\\d+ )[0-9.]+ ", QRegularExpression::MultilineOption);
    for (QDirIterator it(contest + "/result", QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files.insert(path.mid(contest.size()),
                     QString::fromUtf8(readFile(path)).replace(time, "\\1T ").toUtf8());
    }
    files.insert("results.csv", runCli({"results", contest}).out);
    return files;
}

// Players that score differently: a missing submission, a wrong answer, a missing task. The
// recipes find the build's taldon-cli, and Slurm's daemons, on PATH.
void TstManyMachines::initTestCase()
{
    qputenv("PATH", QFile::encodeName(qEnvironmentVariable("TALDON_BINARY_DIR") +
                                      "/cli:" + qEnvironmentVariable("PATH") + ":/usr/sbin:/sbin"));
    QVERIFY(base.isValid());
    // The cluster boots while the contest is made and judged.
    if (geteuid() != 0)
        slurmMissing = "the one-node Slurm cluster is started as root only";
    for (const char *name : {"munged", "slurmctld", "slurmd", "sbatch", "sinfo", "scancel"})
        if (QStandardPaths::findExecutable(name).isEmpty())
            slurmMissing =
                "Slurm or munge is not installed (sh scripts/bootstrap.sh test installs them)";
    if (slurmMissing.isEmpty())
        slurmFailure = cluster.start();
    contest = base.filePath("contest");
    local = base.filePath("local");
    submit = base.filePath("submit");
    const ProgramRun made = runProgram(
        "sh", {qEnvironmentVariable("TALDON_SOURCE_DIR") + "/bench/engine/gen_contest.sh", contest,
               qEnvironmentVariable("TALDON_BINARY_DIR"), QString::number(kPlayers)});
    QCOMPARE(made.status, 0);
    const QString players = contest + "/players/day1/";
    QVERIFY(QDir(players + "JS-002/t3").removeRecursively());
    QVERIFY(QDir(players + "JS-006/t1").removeRecursively());
    const QString wrong = players + "JS-003/t2/t2.bin";
    QVERIFY(QFile::remove(wrong) && writeFile(wrong, "#!/bin/sh\necho wrong >t2.out\n"));
    QVERIFY(QFile::setPermissions(wrong, QFileDevice::Permissions(0x7005))); // rwx---r-x

    const ProgramRun run = runCli({"eval", contest, "--day=1"});
    QCOMPARE(run.status, 0);
    sequentialLines = run.out;
    QVERIFY(sequentialLines.contains("JS-002 t1=100 t2=100 t3=0 total=200\n"));
    QVERIFY(sequentialLines.contains("JS-003 t1=100 t2=0 t3=100 total=200\n"));
    QCOMPARE(sortedLines(sequentialLines).size(), kPlayers);
    sequential = outcome();
    QCOMPARE(sequential.size(), kPlayers + 1);
}

void TstManyMachines::startOver()
{
    QVERIFY(QDir(contest + "/result").removeRecursively());
    QFile::remove(contest + "/tmp.lock");
    QVERIFY(QDir(local).removeRecursively() && QDir().mkpath(local));
    QVERIFY(QDir(submit).removeRecursively() && QDir().mkpath(submit));
}

// The recipe ended well, printed each player's line once, judged as one sequential evaluation,
// and worked in a directory of its own per slice on the local disk, never in the contest's tmp/.
void TstManyMachines::compareWithSequential(const ProgramRun &run, const QByteArray &printed,
                                            int slices)
{
    QVERIFY2(run.status == 0, qPrintable(run.err.right(3000)));
    QCOMPARE(sortedLines(printed), sortedLines(sequentialLines));
    const QMap<QString, QByteArray> judged = outcome();
    QCOMPARE(judged.keys(), sequential.keys());
    for (const QString &file : sequential.keys())
        QCOMPARE(judged.value(file), sequential.value(file));
    QCOMPARE(QDir(local).entryList({"*.lock"}, QDir::Files).size(), slices);
    QVERIFY(!QFileInfo::exists(contest + "/tmp.lock"));
}

void TstManyMachines::gnuParallel()
{
    if (QStandardPaths::findExecutable("parallel").isEmpty())
        QSKIP("GNU parallel is not installed (sh scripts/bootstrap.sh test installs it)");
    startOver();
    const QString recipe =
        adapted(readmeBlock("parallel --sshlogin"),
                {{"CONTEST=", contest}, {"HOSTS=", ":"}, {"CORES=", "2"}, {"SLICES=", "4"}}, local);
    QVERIFY2(!recipe.isEmpty(), "the README's GNU parallel recipe is not the one tested");
    const ProgramRun run = runScript(recipe, submit);
    compareWithSequential(run, run.out, 4);
}

void TstManyMachines::slurmJobArray()
{
    if (!slurmMissing.isEmpty())
        QSKIP(qPrintable(slurmMissing));
    QVERIFY2(slurmFailure.isEmpty(), qPrintable(slurmFailure + '\n' + cluster.logs()));
    const QString failure = cluster.ready();
    QVERIFY2(failure.isEmpty(), qPrintable(failure + '\n' + cluster.logs()));
    startOver();
    const QString script =
        adapted(readmeBlock("#SBATCH --array"),
                {{"CONTEST=", contest}, {"SLICES=", "3"}, {"#SBATCH --array=", "1-3"}}, local);
    const QString submission = readmeBlock("sbatch --wait");
    QVERIFY2(!script.isEmpty() && submission.contains("judge.sh"),
             "the README's Slurm recipe is not the one tested");
    QVERIFY(writeFile(submit + "/judge.sh", script.toUtf8()));
    const ProgramRun run = runScript(submission, submit);
    QByteArray printed;
    for (const QString &out : QDir(submit).entryList({"taldon-*.out"}))
        printed += readFile(submit + '/' + out);
    compareWithSequential(run, printed, 3);
}

QTEST_GUILESS_MAIN(TstManyMachines)
#include "tst_manymachines.moc"
