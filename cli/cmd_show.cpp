#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

QJsonArray compileJson(CTaskInfo &task)
{
    QJsonArray commands;
    for (int c = 0; c < task.getCclnum(); ++c) {
        const CCompileCmd &cmd = task.getCclAll()[c];
        commands.append(QJsonObject{{"lang", cmd.getLang()}, {"cmd", cmd.getCmd()}});
    }
    return commands;
}

QJsonObject taskJson(CTaskInfo &task)
{
    QJsonArray marks;
    for (int n = 1; n <= task.getSamplenum(); ++n)
        marks.append(task.getSampleMark(n));
    const int type = task.getCommitType();
    return QJsonObject{
        {"name", task.getTaskname()},
        {"title", task.getTitle()},
        {"run", task.getRuncmd()},
        {"plug", task.getPlugname()},
        // "filter" for a filter of our own contract, else the task's CHECKER= value.
        {"checker", task.getChecker().isEmpty() ? QStringLiteral("filter") : task.getChecker()},
        {"inSuffix", task.getInfilesuffix()},
        {"ansSuffix", task.getAnsfilesuffix()},
        {"type",
         QString::fromLatin1(typestring[type >= SOURCE && type <= INVALID ? type : INVALID])},
        {"timeLimit", double(task.getTimelimit())},
        {"memLimit", task.getMemlimit()},
        {"samples", task.getSamplenum()},
        {"marks", marks},
        {"total", task.getTotal()},
        {"compile", compileJson(task)},
    };
}

QJsonObject dayJson(CDayInfo &day)
{
    QJsonArray tasks;
    for (int t = 0; t < day.getTaskNum(); ++t)
        tasks.append(taskJson(day.getTaskInfoAll()[t]));
    return QJsonObject{
        {"name", day.getDayname()}, {"baseScore", day.getBaseScore()}, {"tasks", tasks}};
}

template <typename Entry> QJsonValue entriesJson(const QList<Entry> *entries)
{
    if (!entries)
        return QJsonValue::Null;
    QJsonArray list;
    for (const Entry &entry : *entries)
        list.append(QJsonObject{{"id", entry.id}, {"name", entry.name}});
    return list;
}

QJsonObject contestJson(CSetupInfo &setup)
{
    QJsonArray days;
    for (int d = 0; d < setup.getDayNum(); ++d)
        days.append(dayJson(setup.getDayInfoAll()[d]));
    CPlayerInfo *registry = setup.getPlayerInfo();
    return QJsonObject{
        {"name", setup.getContestName()},
        {"home", setup.getHome()},
        {"days", days},
        {"players", entriesJson(registry ? registry->getPlayerInfo() : nullptr)},
        {"teams", entriesJson(registry ? registry->getTeamInfo() : nullptr)},
    };
}

} // namespace

int cmdShow(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads a contest as the window opens it and prints it as JSON."));
    addContestArgument(parser);
    const int parsed = parseCommand(parser, QStringLiteral("show"), args, 1);
    if (parsed >= 0)
        return parsed;

    CSetupInfo setup;
    if (!openContest(QStringLiteral("show"), parser, &setup))
        return CliBadInput;
    QTextStream out(stdout);
    out << QJsonDocument(contestJson(setup)).toJson(QJsonDocument::Indented);
    return CliOk;
}
