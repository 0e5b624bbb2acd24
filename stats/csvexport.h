#ifndef TALDON_STATS_CSVEXPORT_H
#define TALDON_STATS_CSVEXPORT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class CSetupInfo;
class MyStat;
class TeamStat;

// The CSV files of the statistics tab, built as text without widgets so that the window and
// the command line write the same bytes. Every field, the last of a line too, is followed by
// a comma; lines end with a line feed.

// A field as written: one holding a comma, a double quote or a line break is put in double
// quotes with its quotes doubled; any other field is written as it is.
QString csvField(const QString &field);

// The rows as CSV text.
QString csvText(const QList<QStringList> &rows);

// The rows of the results export: the header (姓名, 编号, 总分, 笔试 and every task of every
// day in order), then one row per registered player in registry order. A player that stat
// does not know gives 0 in every number; a contest without a registry gives the header only.
QList<QStringList> resultRows(CSetupInfo *setup, const MyStat &stat);
QString resultsCsv(CSetupInfo *setup, const MyStat &stat);

// The header of the team table.
QStringList teamHeader();
// An average as the team table shows it ("%1" in general format, six significant digits).
QString averageText(float average);
// The team table's row of a region, its custom statistic being the sum of the best best.
QStringList teamRow(const TeamStat &stat, const QString &team, int best);
// The team export: the header, then the regions in the order of the region table.
QString teamsCsv(const TeamStat &stat, int best);

// The file name for a name chosen in the save dialog: ".csv" is appended unless the name
// already contains it somewhere (case-sensitive).
QString csvFileName(const QString &chosen);

// Writes bytes to path through the temporary file path + ".tmp", renamed into place, so that
// an existing file survives a write that fails. False on any failure.
bool writeFileBytes(const QString &path, const QByteArray &bytes);
// The same for text, written as UTF-8.
bool writeTextFile(const QString &path, const QString &text);

#endif
