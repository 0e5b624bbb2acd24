#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "evallist.h"
#include "mythread.h"
#include "playerstat.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QMap>
#include <QTextStream>

namespace
{

// What to evaluate, checked against the contest before anything runs.
struct EvalRequest {
    int day = 0;
    int taskIndex = -1;
    QStringList ids;
};

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
    }
    QList<PlayerInfo> *players =
        setup.getPlayerInfo() ? setup.getPlayerInfo()->getPlayerInfo() : nullptr;
    request->ids = parser.positionalArguments().mid(1);
    for (const QString &id : qAsConst(request->ids))
        if (!players || !setup.getPlayerInfo()->getPlayerInfoById(id))
            return QStringLiteral("eval: %1 is not a registered player").arg(id);
    if (request->ids.isEmpty() && players)
        for (const PlayerInfo &player : qAsConst(*players))
            request->ids.append(player.id);
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

int runEvaluation(CSetupInfo &setup, const EvalRequest &request)
{
    evallist.clear();
    for (int r = 0; r < request.ids.size(); ++r)
        evallist.append({r, request.ids[r]});
    CDayInfo *day = setup.getDayInfo(request.day - 1);
    MyThread thread(day, day->getDirNumber(), request.taskIndex);
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    QString failure;
    QMap<int, QStringList> problems;
    int failed = 0;
    QEventLoop loop;
    QObject::connect(&thread, &MyThread::evalProblem, &loop,
                     [&](int r, const QString &task, const QString &reason) {
                         problems[r] << (task.isEmpty() ? reason : task + ": " + reason);
                     });
    QObject::connect(&thread, &MyThread::endEvalPlayer, &loop, [&](int r, bool) {
        QStringList causes = problems.value(r);
        out << playerLine(setup, request.day, request.ids[r], &causes) << '\n';
        out.flush();
        for (const QString &cause : qAsConst(causes))
            reportError(CliOk,
                        QStringLiteral("eval: %1: not evaluated: %2").arg(request.ids[r], cause));
        failed += causes.isEmpty() ? 0 : 1;
    });
    QObject::connect(&thread, &MyThread::evalFailed, &loop,
                     [&](const QString &reason) { failure = reason; });
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread.start();
    loop.exec();
    thread.wait();
    if (!failure.isEmpty())
        return reportError(CliFailed, QStringLiteral("eval: ") + failure);
    if (failed > 0)
        return reportError(
            CliFailed, QStringLiteral("eval: the evaluation failed for %1 player(s)").arg(failed));
    return CliOk;
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
    const int parsed = parseCommand(parser, QStringLiteral("eval"), args, -1);
    if (parsed >= 0)
        return parsed;
    if (!parser.isSet(QStringLiteral("day")))
        return reportError(CliBadInput, QStringLiteral("eval: --day is required"));
    CSetupInfo setup;
    if (!openContest(QStringLiteral("eval"), parser, &setup))
        return CliBadInput;
    EvalRequest request;
    const QString error = checkRequest(setup, parser, &request);
    if (!error.isEmpty())
        return reportError(CliBadInput, error);
    return runEvaluation(setup, request);
}
