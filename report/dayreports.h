#ifndef TALDON_REPORT_DAYREPORTS_H
#define TALDON_REPORT_DAYREPORTS_H

#include <QString>
#include <QStringList>

#include <functional>

class CSetupInfo;

// How a batch of score reports went: players whose report was written, players skipped for
// having no results that day, and the ids whose report could not be written.
struct DayReportsResult {
    int written = 0;
    int skipped = 0;
    QStringList failed;
};

// Called after each registered player: the 1-based count of players handled, the player's id
// and whether a report was written for it.
using DayReportsProgress = std::function<void(int count, const QString &id, bool written)>;

// The path of a player's report for day (counted from 0): <home>/ps/day<N>/<id>/<id>.pdf.
QString dayReportPath(CSetupInfo *setup, int day, const QString &id);

// Writes the score report of every registered player with results for day (counted from 0)
// into <home>/ps/day<N>/<id>/<id>.pdf, reading the results through mystat, which must exist.
DayReportsResult printDayReports(CSetupInfo *setup, int day,
                                 const DayReportsProgress &progress = DayReportsProgress());

#endif
