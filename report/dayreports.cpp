#include "dayreports.h"

#include "cprintreport.h"
#include "csetupinfo.h"
#include "mystat.h"
#include "playerdayfile.h"
#include "statsglobals.h"

#include <QDir>
#include <QFileInfo>

namespace
{

bool writeReport(CSetupInfo *setup, int day, const PlayerInfo &player)
{
    const QString pdf = dayReportPath(setup, day, player.id);
    if (!QDir().mkpath(QFileInfo(pdf).absolutePath()))
        return false;
    const QString result =
        playerDayFile(setup->getHome(), "result", *setup->getDayInfo(day), player.id, ".result");
    CPrintReport report(result, pdf, true);
    report.setDayinfo(setup->getDayInfo(day));
    report.setPrintInfo(setup->getContestName(), player.name, player.id,
                        QStringLiteral("private pc"));
    return report.print();
}

} // namespace

QString dayReportPath(CSetupInfo *setup, int day, const QString &id)
{
    return playerDayFile(setup->getHome(), "ps", *setup->getDayInfo(day), id, ".pdf");
}

DayReportsResult printDayReports(CSetupInfo *setup, int day, const DayReportsProgress &progress)
{
    DayReportsResult outcome;
    if (!setup || !mystat || !setup->getPlayerInfo() || day < 0 || day >= setup->getDayNum())
        return outcome;
    const QList<PlayerInfo> players = *setup->getPlayerInfo()->getPlayerInfoInternal();
    int count = 0;
    for (const PlayerInfo &player : players) {
        ++count;
        bool written = false;
        if (!mystat->getPlayerStat(player.id).haveScore(day)) {
            ++outcome.skipped;
        } else if (writeReport(setup, day, player)) {
            written = true;
            ++outcome.written;
        } else {
            outcome.failed << player.id;
        }
        if (progress)
            progress(count, player.id, written);
    }
    return outcome;
}
