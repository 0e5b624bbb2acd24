#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "evallist.h"
#include "mythread.h"
#include "paralleleval.h"
#include "playerstat.h"
#include "runctrl.h"
#include "stopsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSocketNotifier>
#include <QTextStream>

#include <sched.h>

namespace
{

// What to evaluate, checked against the contest before anything runs.
struct EvalRequest {
    int day = 0;
    int taskIndex = -1;
    QString task;
    QStringList ids;
    int jobs = 1;
    int worker = 0;
    bool pin = false;
    bool requireSandbox = false;
    bool wait = false;
    QString workDir;
};

// The players of shard K of N: every N-th of the list, from the K-th on.
QString takeShard(const QString &shard, QStringList *ids)
{
    const int k = shard.section(QLatin1Char('/'), 0, 0).toInt();
    const int n = shard.section(QLatin1Char('/'), 1, 1).toInt();
    if (n < 1 || k < 1 || k > n || shard.count(QLatin1Char('/')) != 1)
        return QStringLiteral("eval: --shard wants K/N with 1 <= K <= N, not %1").arg(shard);
    QStringList kept;
    for (int i = k - 1; i < ids->size(); i += n)
        kept << ids->at(i);
    *ids = kept;
    return QString();
}

// Ids one per line; blank lines are skipped.
QString readIds(const QString &path, QStringList *ids)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("eval: cannot read %1: %2").arg(path, file.errorString());
    ids->clear();
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            ids->append(QString::fromUtf8(line.trimmed()));
    return QString();
}

QString checkOptions(const QCommandLineParser &parser, EvalRequest *request)
{
    bool ok = true;
    if (parser.isSet(QStringLiteral("jobs"))) {
        request->jobs = parser.value(QStringLiteral("jobs")).toInt(&ok);
        if (!ok || request->jobs < 1 || request->jobs > 64)
            return QStringLiteral("eval: --jobs wants a number from 1 to 64");
    }
    if (parser.isSet(QStringLiteral("worker"))) {
        request->worker = parser.value(QStringLiteral("worker")).toInt(&ok);
        if (!ok || request->worker < 1 || request->worker > 64)
            return QStringLiteral("eval: --worker wants a number from 1 to 64");
    }
    request->pin = parser.isSet(QStringLiteral("pin"));
    request->requireSandbox = parser.isSet(QStringLiteral("require-sandbox"));
    request->wait = parser.isSet(QStringLiteral("wait"));
    if (parser.isSet(QStringLiteral("workdir")))
        request->workDir = QDir(parser.value(QStringLiteral("workdir"))).absolutePath();
    return QString();
}

QString checkRequest(CSetupInfo &setup, const QCommandLineParser &parser, EvalRequest *request)
{
    request->day = dayOption(parser, QStringLiteral("day"), setup);
    if (request->day == 0)
        return QStringLiteral("eval: day %1 is not a day of this contest (1 to %2)")
            .arg(parser.value(QStringLiteral("day")))
            .arg(setup.getDayNum());
    CDayInfo *day = setup.getDayInfo(request->day - 1);
    if (parser.isSet(QStringLiteral("task"))) {
        const QString name = parser.value(QStringLiteral("task"));
        const CTaskInfo *task = day->getTaskInfo(name);
        if (!task)
            return QStringLiteral("eval: no task %1 on day %2").arg(name).arg(request->day);
        request->taskIndex = static_cast<int>(task - day->getTaskInfoAll());
        request->task = name;
    }
    QList<PlayerInfo> *players =
        setup.getPlayerInfo() ? setup.getPlayerInfo()->getPlayerInfo() : nullptr;
    request->ids = parser.positionalArguments().mid(1);
    if (parser.isSet(QStringLiteral("ids-file"))) {
        const QString error = readIds(parser.value(QStringLiteral("ids-file")), &request->ids);
        if (!error.isEmpty())
            return error;
    }
    for (const QString &id : qAsConst(request->ids))
        if (!players || !setup.getPlayerInfo()->getPlayerInfoById(id))
            return QStringLiteral("eval: %1 is not a registered player").arg(id);
    if (request->ids.isEmpty() && !parser.isSet(QStringLiteral("ids-file")) && players)
        for (const PlayerInfo &player : qAsConst(*players))
            request->ids.append(player.id);
    if (parser.isSet(QStringLiteral("shard")))
        return takeShard(parser.value(QStringLiteral("shard")), &request->ids);
    return QString();
}

// One line per player: id, each task of the day with its points, the day's total. The causes of
// a failed evaluation go to *causes.
QString playerLine(CSetupInfo &setup, int day, const QString &id, QStringList *causes)
{
    PlayerStat stat(QString(), id, &setup);
    stat.setAllTask();
    *causes << stat.evalStatus(day - 1).causes;
    QString line = id;
    CDayInfo *info = setup.getDayInfo(day - 1);
    for (int t = 0; t < info->getTaskNum(); ++t) {
        const QString task = info->getTaskInfo(t)->getTaskname();
        line += QStringLiteral(" %1=%2").arg(task).arg(stat.getTotal(task));
    }
    return line + QStringLiteral(" total=%1").arg(stat.getTotal(day - 1));
}

// What an evaluation, in this process or by workers, ended with.
struct Outcome {
    QString failure;
    QMap<int, QStringList> problems;
    int failed = 0;

    int status() const
    {
        if (!failure.isEmpty())
            return reportError(CliFailed, QStringLiteral("eval: ") + failure);
        if (failed > 0)
            return reportError(
                CliFailed,
                QStringLiteral("eval: the evaluation failed for %1 player(s)").arg(failed));
        return CliOk;
    }
};

// Prints each player's line as the player ends and says on standard error why a player could not
// be evaluated; the evaluation thread and the parallel workers report by the same signals.
template <class Evaluation>
void followEvaluation(Evaluation *eval, QEventLoop *loop, CSetupInfo &setup,
                      const EvalRequest &request, QTextStream &out, Outcome *outcome)
{
    QObject::connect(eval, &Evaluation::evalProblem, loop,
                     [outcome](int r, const QString &task, const QString &reason) {
                         outcome->problems[r] << (task.isEmpty() ? reason : task + ": " + reason);
                     });
    QObject::connect(eval, &Evaluation::endEvalPlayer, loop, [&, outcome](int r, bool) {
        const QString id = request.ids.value(r);
        QStringList causes = outcome->problems.value(r);
        out << playerLine(setup, request.day, id, &causes) << '\n';
        out.flush();
        for (const QString &cause : qAsConst(causes))
            reportError(CliOk, QStringLiteral("eval: %1: not evaluated: %2").arg(id, cause));
        outcome->failed += causes.isEmpty() ? 0 : 1;
    });
    QObject::connect(eval, &Evaluation::evalFailed, loop,
                     [outcome](const QString &reason) { outcome->failure = reason; });
}

int runEvaluation(CSetupInfo &setup, const EvalRequest &request)
{
    evallist.clear();
    for (int r = 0; r < request.ids.size(); ++r)
        evallist.append({r, request.ids[r]});
    CDayInfo *day = setup.getDayInfo(request.day - 1);
    MyThread thread(day, day->getDirNumber(), request.taskIndex);
    thread.setRequireSandbox(request.requireSandbox);
    thread.setWaitForLock(request.wait);
    if (!request.workDir.isEmpty())
        thread.setWorkDir(QFile::encodeName(request.workDir));
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    QEventLoop loop;
    Outcome outcome;
    followEvaluation(&thread, &loop, setup, request, out, &outcome);
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    const StopSignals stop;
    thread.start();
    loop.exec();
    thread.wait();
    if (stop.requested())
        outcome.failure = QStringLiteral("stopped by a signal");
    return outcome.status();
}

// Runs on the request->worker-th allowed core, so that the CPU times of parallel workers stay
// those of a machine doing nothing else.
void pinToCore(int worker)
{
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) < 1)
        return;
    int wanted = (worker - 1) % CPU_COUNT(&allowed);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &allowed) || wanted-- > 0)
            continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        if (sched_setaffinity(0, sizeof one, &one) != 0)
            perror("eval: pinning the worker to a core");
        return;
    }
}

// A worker of a parallel evaluation: ids arrive one per line on standard input, percent-encoded,
// and each player's start, tasks and end are reported on standard output, one tab-separated
// line each, as the evaluating process reads them.
int runWorker(CSetupInfo &setup, const EvalRequest &request)
{
    if (request.pin)
        pinToCore(request.worker);
    setSubmissionUid(kSubmissionUid + uid_t(request.worker));
    const QString base =
        request.workDir.isEmpty() ? setup.getHome() + QStringLiteral("/tmp") : request.workDir;
    const QByteArray dir = QFile::encodeName(base) + "/job" + QByteArray::number(request.worker);
    QFile in, out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return CliFailed;
    auto say = [&out](const QByteArray &line) {
        out.write(line + '\n');
        out.flush();
    };
    const StopSignals stop;
    for (QByteArray line = in.readLine(); !line.isEmpty() && !stop.requested();
         line = in.readLine()) {
        const QByteArray encoded = line.trimmed();
        const QString id = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded));
        evallist = {{0, id}};
        CDayInfo *day = setup.getDayInfo(request.day - 1);
        MyThread thread(day, day->getDirNumber(), request.taskIndex);
        thread.setRequireSandbox(request.requireSandbox);
        thread.setWorkDir(dir);
        QString failure;
        QEventLoop loop;
        QObject::connect(&thread, &MyThread::startEvalPlayer, &loop,
                         [&](int) { say("start\t" + encoded); });
        QObject::connect(&thread, &MyThread::evalOneTaskComplete, &loop,
                         [&](const QString &, int, int task, bool ok) {
                             say("task\t" + encoded + '\t' + QByteArray::number(task) + '\t' +
                                 (ok ? "1" : "0"));
                         });
        QObject::connect(&thread, &MyThread::evalProblem, &loop,
                         [&](int, const QString &task, const QString &reason) {
                             say("problem\t" + encoded + '\t' + task.toUtf8().toPercentEncoding() +
                                 '\t' + reason.toUtf8().toPercentEncoding());
                         });
        QObject::connect(&thread, &MyThread::endEvalPlayer, &loop,
                         [&](int, bool ok) { say("end\t" + encoded + '\t' + (ok ? "1" : "0")); });
        QObject::connect(&thread, &MyThread::evalFailed, &loop,
                         [&](const QString &reason) { failure = reason; });
        QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
        // A stop that came before the thread cleared the engine's flag.
        if (stop.requested())
            break;
        thread.start();
        loop.exec();
        thread.wait();
        if (!failure.isEmpty()) {
            say("failed\t" + failure.toUtf8().toPercentEncoding());
            return CliFailed;
        }
    }
    return CliOk;
}

// Evaluates with request.jobs workers, printing each player's line as it ends.
int runParallel(CSetupInfo &setup, const QString &contest, const EvalRequest &request)
{
    ParallelEval::Request job;
    job.program = QCoreApplication::applicationFilePath();
    job.contest = contest;
    job.home = setup.getHome();
    job.day = request.day;
    job.task = request.task;
    for (int r = 0; r < request.ids.size(); ++r)
        job.players.append({r, request.ids[r]});
    job.jobs = request.jobs;
    job.requireSandbox = request.requireSandbox;
    job.waitForLock = request.wait;
    job.workDir = request.workDir;
    ParallelEval eval;
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    QEventLoop loop;
    Outcome outcome;
    followEvaluation(&eval, &loop, setup, request, out, &outcome);
    QObject::connect(&eval, &ParallelEval::finished, &loop, &QEventLoop::quit);
    if (!eval.start(job, &outcome.failure))
        return outcome.status();
    const StopSignals stop;
    QSocketNotifier stopped(stop.notifier(), QSocketNotifier::Read);
    QObject::connect(&stopped, &QSocketNotifier::activated, &eval, &ParallelEval::stop);
    loop.exec();
    if (stop.requested())
        outcome.failure = QStringLiteral("stopped by a signal");
    return outcome.status();
}

} // namespace

int cmdEval(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Evaluates players on one day, all tasks or one, as the evaluation page does, and prints "
        "one line per player: id, each task's points, the day total. A task that could not be "
        "evaluated is said on standard error, and the exit status is then 1."));
    addContestArgument(parser);
    parser.addPositionalArgument(
        QStringLiteral("id"),
        QStringLiteral("Players to evaluate (default: all registered players)."),
        QStringLiteral("[ID ...]"));
    parser.addOption(
        {QStringLiteral("day"), QStringLiteral("Day to evaluate, from 1."), QStringLiteral("D")});
    parser.addOption({QStringLiteral("task"), QStringLiteral("Evaluate only this task."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("jobs"),
                      QStringLiteral("Evaluate up to N players at a time, each in a worker "
                                     "process of its own (default 1)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("shard"),
                      QStringLiteral("Evaluate only every N-th player of the list, from the K-th "
                                     "on (for several machines or batch jobs)."),
                      QStringLiteral("K/N")});
    parser.addOption({QStringLiteral("ids-file"),
                      QStringLiteral("Read the players' ids from FILE, one per line."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("workdir"),
                      QStringLiteral("Work in DIR instead of the contest's tmp/ (a local disk "
                                     "when the contest is shared over the network)."),
                      QStringLiteral("DIR")});
    parser.addOption(
        {QStringLiteral("wait"), QStringLiteral("Wait for another evaluation to leave the working "
                                                "directory instead of refusing.")});
    parser.addOption({QStringLiteral("worker"),
                      QStringLiteral("(Used by --jobs.) Run as worker K, reading ids on "
                                     "standard input."),
                      QStringLiteral("K")});
    parser.addOption({QStringLiteral("pin"),
                      QStringLiteral("(Used by --jobs.) Pin the worker to a core of its own.")});
    parser.addOption({QStringLiteral("require-sandbox"),
                      QStringLiteral("Refuse to evaluate when the full submission sandbox is not "
                                     "available (see sandbox-check).")});
    const int parsed = parseCommand(parser, QStringLiteral("eval"), args, -1);
    if (parsed >= 0)
        return parsed;
    if (!parser.isSet(QStringLiteral("day")))
        return reportError(CliBadInput, QStringLiteral("eval: --day is required"));
    CSetupInfo setup;
    if (!openContest(QStringLiteral("eval"), parser, &setup))
        return CliBadInput;
    EvalRequest request;
    QString error = checkOptions(parser, &request);
    if (error.isEmpty() && request.worker == 0)
        error = checkRequest(setup, parser, &request);
    else if (error.isEmpty())
        request.day = dayOption(parser, QStringLiteral("day"), setup);
    if (error.isEmpty() && request.worker > 0 && parser.isSet(QStringLiteral("task"))) {
        const CTaskInfo *task =
            setup.getDayInfo(request.day - 1)->getTaskInfo(parser.value(QStringLiteral("task")));
        request.taskIndex =
            task ? int(task - setup.getDayInfo(request.day - 1)->getTaskInfoAll()) : -2;
    }
    if (!error.isEmpty())
        return reportError(CliBadInput, error);
    if (request.worker > 0)
        return request.day > 0 ? runWorker(setup, request) : CliBadInput;
    if (request.jobs > 1 && request.ids.size() > 1)
        return runParallel(
            setup, QFileInfo(parser.positionalArguments().value(0)).absoluteFilePath(), request);
    return runEvaluation(setup, request);
}
