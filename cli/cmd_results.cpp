#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "csvexport.h"
#include "csvoutput.h"
#include "mystat.h"

#include <QCommandLineParser>

int cmdResults(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the CSV of the results export (导出成绩) of a contest."));
    addContestArgument(parser);
    addOutputOption(parser);
    const int parsed = parseCommand(parser, QStringLiteral("results"), args, 1);
    if (parsed >= 0)
        return parsed;

    CSetupInfo setup;
    if (!openContest(QStringLiteral("results"), parser, &setup))
        return CliBadInput;
    MyStat stat(&setup);
    stat.addRegistered();
    return writeCsvOutput(parser, QStringLiteral("results"), resultsCsv(&setup, stat));
}
