#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "dayreports.h"
#include "mystat.h"
#include "statsglobals.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace
{

void printProgress(CSetupInfo *setup, int day, int players, int count, const QString &id,
                   bool written)
{
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    out << '[' << count << '/' << players << "] " << id << ": ";
    if (written)
        out << dayReportPath(setup, day, id) << '\n';
    else if (!mystat->getPlayerStat(id).haveScore(day))
        out << "no results\n";
    else
        out << "FAILED\n";
}

} // namespace

int cmdReport(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the score report of every registered player with results for a day into "
        "<home>/ps/day<D>/<id>/<id>.pdf, as the button 打印选手成绩 does."));
    addContestArgument(parser);
    parser.addOption(
        {QStringLiteral("day"), QStringLiteral("The day, counted from 1."), QStringLiteral("D")});
    const int parsed = parseCommand(parser, QStringLiteral("report"), args, 1);
    if (parsed >= 0)
        return parsed;

    CSetupInfo setup;
    if (!openContest(QStringLiteral("report"), parser, &setup))
        return CliBadInput;
    const int day = dayOption(parser, QStringLiteral("day"), setup);
    if (day == 0)
        return reportError(
            CliBadInput,
            QStringLiteral("report: --day must be a day from 1 to %1").arg(setup.getDayNum()));
    resetStats(&setup);
    const int players = setup.getPlayerInfo() ? setup.getPlayerInfo()->getPlayerInfo()->size() : 0;
    const DayReportsResult result =
        printDayReports(&setup, day - 1, [&](int count, const QString &id, bool written) {
            printProgress(&setup, day - 1, players, count, id, written);
        });
    resetStats(nullptr);
    if (!result.failed.isEmpty())
        return reportError(CliFailed,
                           QStringLiteral("report: %1 report(s) could not be written: %2")
                               .arg(result.failed.size())
                               .arg(result.failed.join(QStringLiteral(", "))));
    return CliOk;
}
