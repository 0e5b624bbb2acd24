#ifndef TALDON_STATS_PLAYERDAYFILE_H
#define TALDON_STATS_PLAYERDAYFILE_H

#include <QString>

class CDayInfo;

// A player's file of one day below the contest home: <home>/<folder>/day<N>/<id>/<id><suffix>,
// with N the day's directory number (CDayInfo::getDirNumber). Result files use "result" and
// ".result", score reports "ps" and ".pdf".
QString playerDayFile(const QString &home, const QString &folder, const CDayInfo &day,
                      const QString &id, const QString &suffix);

#endif
