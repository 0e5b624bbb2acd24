#ifndef TALDON_STATS_PLAYERDAYFILE_H
#define TALDON_STATS_PLAYERDAYFILE_H

#include <QString>

// A player's file of one day below the contest home: <home>/<folder>/day<N>/<id>/<id><suffix>,
// day counted from 0 (N from 1). Result files use "result" and ".result", score reports "ps"
// and ".pdf".
QString playerDayFile(const QString &home, const QString &folder, int day, const QString &id,
                      const QString &suffix);

#endif
