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

// A process in a process group of its own, so that a recipe past its bound is killed with
// everything it started.
class GroupProcess : public QProcess
{
protected:
    void setupChildProcess() override { setsid(); }
};

// Runs sh -c script in dir with build/cli first on PATH; status -1 past the bound.
ProgramRun runScript(const QString &script, const QString &dir, int seconds)
{
    GroupProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("TALDON_BINARY_DIR") +
                                           QStringLiteral("/cli:") + env.value("PATH"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), script});
    process.closeWriteChannel();
    ProgramRun run;
    const bool ended = process.waitForFinished(seconds * 1000);
    if (!ended && process.processId() > 0) {
        kill(-pid_t(process.processId()), SIGKILL);
        process.waitForFinished(5000);
    }
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (ended && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    return run;
}

// The README's ```sh block that contains marker.
QString readmeBlock(const QString &marker)
{
    const QString readme = QString::fromUtf8(
        readFile(qEnvironmentVariable("TALDON_SOURCE_DIR") + QStringLiteral("/README.md")));
    const QRegularExpression fenced(QStringLiteral("^```sh\\n(.*?)^```$"),
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
        const QRegularExpression line(QLatin1Char('^') + QRegularExpression::escape(it.key()) +
                                          QStringLiteral(".*$"),
                                      QRegularExpression::MultilineOption);
        if (recipe.count(line) != 1)
            return QString();
        recipe.replace(line, it.key() + it.value());
    }
    if (!recipe.contains(QLatin1String("/var/tmp/")))
        return QString();
    return recipe.replace(QLatin1String("/var/tmp/"), local + QLatin1Char('/'));
}

QStringList sortedLines(const QByteArray &text)
{
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

QString executable(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(
                                 name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                           : found;
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
    QString start();
    void stop();
    QString logs() const;

private:
    QString writeFiles();
    bool waitForIdleNode();

    QTemporaryDir dir;
    bool started = false;
    const QStringList daemons{QStringLiteral("slurmd"), QStringLiteral("slurmctld"),
                              QStringLiteral("munged")};
};

QString OneNodeCluster::writeFiles()
{
    // munged wants every directory above its socket open to all, and a key for root alone.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    QFile random(QStringLiteral("/dev/urandom"));
    const QString key = dir.filePath(QStringLiteral("munge.key"));
    if (!random.open(QIODevice::ReadOnly) || !writeFile(key, random.read(1024)) ||
        !QFile::setPermissions(key, QFile::ReadOwner | QFile::WriteOwner))
        return QStringLiteral("cannot write the munge key");
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const QString node = QString::fromLocal8Bit(host).section(QLatin1Char('.'), 0, 0);
    const int ctldPort = freePort(), nodePort = freePort();
    if (ctldPort == 0 || nodePort == 0 || ctldPort == nodePort)
        return QStringLiteral("no free ports");
    const QString d = dir.path();
    const QString conf =
        QStringLiteral("ClusterName=taldontest\nSlurmctldHost=%1(127.0.0.1)\n"
                       "SlurmctldPort=%2\nSlurmdPort=%3\n"
                       "AuthType=auth/munge\nCredType=cred/munge\nAuthInfo=socket=%4/munge.socket\n"
                       "SlurmUser=root\nSlurmdUser=root\n"
                       "StateSaveLocation=%4/state\nSlurmdSpoolDir=%4/spool\n"
                       "SlurmctldPidFile=%4/slurmctld.pid\nSlurmdPidFile=%4/slurmd.pid\n"
                       "SlurmctldLogFile=%4/slurmctld.log\nSlurmdLogFile=%4/slurmd.log\n"
                       "ProctrackType=proctrack/linuxproc\nTaskPlugin=task/none\n"
                       "JobAcctGatherType=jobacct_gather/none\n"
                       "AccountingStorageType=accounting_storage/none\nMpiDefault=none\n"
                       "SelectType=select/cons_tres\nSelectTypeParameters=CR_CPU\n"
                       "ReturnToService=2\n"
                       "NodeName=%1 NodeAddr=127.0.0.1 CPUs=%5 State=UNKNOWN\n"
                       "PartitionName=judge Nodes=ALL Default=YES MaxTime=INFINITE State=UP\n")
            .arg(node)
            .arg(ctldPort)
            .arg(nodePort)
            .arg(d)
            .arg(sysconf(_SC_NPROCESSORS_ONLN));
    if (!QDir(d).mkpath(QStringLiteral("state")) || !QDir(d).mkpath(QStringLiteral("spool")) ||
        !writeFile(d + QStringLiteral("/slurm.conf"), conf.toUtf8()))
        return QStringLiteral("cannot write slurm.conf");
    qputenv("SLURM_CONF", QFile::encodeName(d + QStringLiteral("/slurm.conf")));
    return QString();
}

QString OneNodeCluster::start()
{
    if (!dir.isValid())
        return QStringLiteral("no temporary directory");
    const QString failure = writeFiles();
    if (!failure.isEmpty())
        return failure;
    const QString d = dir.path();
    started = true;
    // Started before the daemons, so that none is left without it.
    if (!QProcess::startDetached(
            QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral("while kill -0 \"$1\" 2>/dev/null; do sleep 1; done\n"
                            "shift\nfor f in \"$@\"; do [ -f \"$f\" ] && kill \"$(cat \"$f\")\"; "
                            "done\nexit 0\n"),
             QStringLiteral("watchdog"), QString::number(getpid()), d + "/slurmd.pid",
             d + "/slurmctld.pid", d + "/munged.pid"}))
        return QStringLiteral("cannot start the watchdog");
    const QList<QStringList> commands{
        {executable(QStringLiteral("munged")), "--socket=" + d + "/munge.socket",
         "--key-file=" + d + "/munge.key", "--log-file=" + d + "/munged.log",
         "--pid-file=" + d + "/munged.pid", "--seed-file=" + d + "/munged.seed"},
        {executable(QStringLiteral("slurmctld")), QStringLiteral("-f"), d + "/slurm.conf"},
        {executable(QStringLiteral("slurmd")), QStringLiteral("-f"), d + "/slurm.conf"}};
    for (const QStringList &command : commands) {
        const ProgramRun run = runProgram(command.first(), command.mid(1));
        if (run.status != 0)
            return command.first() + QStringLiteral(" did not start: ") + run.err;
    }
    return waitForIdleNode() ? QString() : QStringLiteral("the node did not become idle");
}

bool OneNodeCluster::waitForIdleNode()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        const ProgramRun info =
            runProgram(executable(QStringLiteral("sinfo")),
                       {QStringLiteral("-h"), QStringLiteral("-o"), QStringLiteral("%t")});
        if (info.out.trimmed() == "idle")
            return true;
        QThread::msleep(500);
    }
    return false;
}

void OneNodeCluster::stop()
{
    if (!started)
        return;
    // Jobs a recipe past its bound left behind end before the node goes.
    runProgram(executable(QStringLiteral("scancel")), {QStringLiteral("--user=root")});
    for (const QString &daemon : daemons) {
        const pid_t pid = readFile(dir.filePath(daemon + QStringLiteral(".pid"))).trimmed().toInt();
        if (pid <= 0 || kill(pid, SIGTERM) != 0)
            continue;
        QElapsedTimer clock;
        clock.start();
        while (kill(pid, 0) == 0 && clock.elapsed() < 10000)
            QThread::msleep(100);
        kill(pid, SIGKILL);
    }
    qunsetenv("SLURM_CONF");
}

QString OneNodeCluster::logs() const
{
    QString text;
    for (const QString &log : {QStringLiteral("slurmctld.log"), QStringLiteral("slurmd.log")})
        text += QString::fromUtf8(readFile(dir.filePath(log)).right(2000));
    return text;
}

} // namespace

class TstManyMachines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void gnuParallel();
    void slurmJobArray();
    void cleanupTestCase();

private:
    QMap<QString, QByteArray> outcome() const;
    void startOver();
    void compareWithSequential(const ProgramRun &run, const QByteArray &printed, int slices);

    QTemporaryDir base;
    QString contest, local, submit;
    QByteArray sequentialLines;
    QMap<QString, QByteArray> sequential;
    OneNodeCluster cluster;
};

// Every result file with its times masked, and the results CSV.
QMap<QString, QByteArray> TstManyMachines::outcome() const
{
    QMap<QString, QByteArray> files;
    const QRegularExpression time(QStringLiteral("^(-?\\d+ -?\\d+ )[0-9.]+ "),
                                  QRegularExpression::MultilineOption);
    for (QDirIterator it(contest + QStringLiteral("/result"), QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files.insert(path.mid(contest.size()),
                     QString::fromUtf8(readFile(path)).replace(time, "\\1T ").toUtf8());
    }
    files.insert(QStringLiteral("results.csv"), runCli({QStringLiteral("results"), contest}).out);
    return files;
}

// Players that score differently: a missing submission, a wrong answer, a missing task.
void TstManyMachines::initTestCase()
{
    QVERIFY(base.isValid());
    contest = base.filePath(QStringLiteral("contest"));
    local = base.filePath(QStringLiteral("local"));
    submit = base.filePath(QStringLiteral("submit"));
    const ProgramRun made = runProgram(
        QStringLiteral("sh"),
        {qEnvironmentVariable("TALDON_SOURCE_DIR") + QStringLiteral("/bench/engine/gen_contest.sh"),
         contest, qEnvironmentVariable("TALDON_BINARY_DIR"), QString::number(kPlayers)});
    QCOMPARE(made.status, 0);
    const QString players = contest + QStringLiteral("/players/day1/");
    QVERIFY(QDir(players + QStringLiteral("JS-002/t3")).removeRecursively());
    QVERIFY(QDir(players + QStringLiteral("JS-006/t1")).removeRecursively());
    const QString wrong = players + QStringLiteral("JS-003/t2/t2.bin");
    QVERIFY(QFile::remove(wrong));
    QVERIFY(writeFile(wrong, "#!/bin/sh\necho wrong >t2.out\n"));
    QVERIFY(QFile::setPermissions(wrong, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther));

    const ProgramRun run = runCli({QStringLiteral("eval"), contest, QStringLiteral("--day=1")});
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
    QVERIFY(QDir(contest + QStringLiteral("/result")).removeRecursively());
    QFile::remove(contest + QStringLiteral("/tmp.lock"));
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
    QCOMPARE(QDir(local).entryList({QStringLiteral("*.lock")}, QDir::Files).size(), slices);
    QVERIFY(!QFileInfo::exists(contest + QStringLiteral("/tmp.lock")));
}

void TstManyMachines::gnuParallel()
{
    if (executable(QStringLiteral("parallel")).isEmpty())
        QSKIP("GNU parallel is not installed (sh scripts/bootstrap.sh test installs it)");
    startOver();
    const QString recipe = adapted(readmeBlock(QStringLiteral("parallel --sshlogin")),
                                   {{QStringLiteral("CONTEST="), contest},
                                    {QStringLiteral("HOSTS="), QStringLiteral(":")},
                                    {QStringLiteral("CORES="), QStringLiteral("2")},
                                    {QStringLiteral("SLICES="), QStringLiteral("4")}},
                                   local);
    QVERIFY2(!recipe.isEmpty(), "the README's GNU parallel recipe is not the one tested");
    QElapsedTimer clock;
    clock.start();
    const ProgramRun run = runScript(recipe, submit, 300);
    qInfo("GNU parallel, 4 slices of %d players: %lld ms", kPlayers, clock.elapsed());
    compareWithSequential(run, run.out, 4);
}

void TstManyMachines::slurmJobArray()
{
    if (geteuid() != 0)
        QSKIP("the one-node Slurm cluster is started as root only");
    for (const char *name : {"munged", "slurmctld", "slurmd", "sbatch", "sinfo", "scancel"})
        if (executable(QString::fromLatin1(name)).isEmpty())
            QSKIP("Slurm or munge is not installed (sh scripts/bootstrap.sh test installs them)");
    startOver();
    const QString failure = cluster.start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure + QLatin1Char('\n') + cluster.logs()));
    const QString script = adapted(readmeBlock(QStringLiteral("#SBATCH --array")),
                                   {{QStringLiteral("CONTEST="), contest},
                                    {QStringLiteral("SLICES="), QStringLiteral("3")},
                                    {QStringLiteral("#SBATCH --array="), QStringLiteral("1-3")}},
                                   local);
    const QString submission = readmeBlock(QStringLiteral("sbatch --wait"));
    QVERIFY2(!script.isEmpty() && submission.contains(QLatin1String("judge.sh")),
             "the README's Slurm recipe is not the one tested");
    QVERIFY(writeFile(submit + QStringLiteral("/judge.sh"), script.toUtf8()));
    QElapsedTimer clock;
    clock.start();
    const ProgramRun run = runScript(submission, submit, 300);
    qInfo("Slurm job array, 3 slices of %d players: %lld ms", kPlayers, clock.elapsed());
    QByteArray printed;
    for (const QString &out : QDir(submit).entryList({QStringLiteral("taldon-*.out")}))
        printed += readFile(submit + QLatin1Char('/') + out);
    compareWithSequential(run, printed, 3);
}

void TstManyMachines::cleanupTestCase()
{
    cluster.stop();
}

QTEST_GUILESS_MAIN(TstManyMachines)
#include "tst_manymachines.moc"
