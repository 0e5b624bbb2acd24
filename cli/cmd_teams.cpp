#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "csvexport.h"
#include "csvoutput.h"
#include "mystat.h"
#include "teamstat.h"

#include <QCommandLineParser>

namespace
{

// The spin box of the team page offers 0 to 99.
const int maxBest = 99;

} // namespace

int cmdTeams(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the CSV of the team table export (导出成绩表) of a contest, with "
                       "the custom statistic computed for the N best of each region."));
    addContestArgument(parser);
    const QCommandLineOption best(QStringLiteral("best"),
                                  QStringLiteral("Sum the N best totals of each region (0 to 99, "
                                                 "default 0)."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(best);
    addOutputOption(parser);
    const int parsed = parseCommand(parser, QStringLiteral("teams"), args, 1);
    if (parsed >= 0)
        return parsed;

    bool ok = false;
    const int n = parser.value(best).toInt(&ok, 10);
    if (!ok || n < 0 || n > maxBest)
        return reportError(CliBadInput,
                           QStringLiteral("teams: --best must be a whole number from 0 to 99: ") +
                               parser.value(best));
    CSetupInfo setup;
    if (!openContest(QStringLiteral("teams"), parser, &setup))
        return CliBadInput;
    MyStat stat(&setup);
    stat.addRegistered();
    TeamStat teams(&setup);
    teams.getScores(&stat);
    return writeCsvOutput(parser, QStringLiteral("teams"), teamsCsv(teams, n));
}
