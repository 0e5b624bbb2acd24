#ifndef TALDON_STATS_AWARDLEVELS_H
#define TALDON_STATS_AWARDLEVELS_H

#include <QList>
#include <QString>
#include <QStringList>

// The number of winners an award entry asks for among players: "p%" gives p × players / 100
// truncated (single precision), any other text is a whole number. -1 when the entry does not
// convert, is negative, or asks for more than 100% or more than players.
int awardCount(const QString &entry, int players);

// The counts of the award entries in order, or an empty list when any entry is refused or
// together they ask for more than players.
QList<int> awardCounts(const QStringList &entries, int players);

#endif
