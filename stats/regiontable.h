#ifndef TALDON_STATS_REGIONTABLE_H
#define TALDON_STATS_REGIONTABLE_H

#include <QList>
#include <QPair>
#include <QString>

// The 34 regions as (lower-case code, name), in the table's order: the left column from
// "bj" to "sd", then the right one from "ha" to "tw". The upper-case code is the lower-case
// one in capitals. The window's region map and the team statistics both come from here.
const QList<QPair<QString, QString>> &regionTable();

// The name of the region whose lower- or upper-case code equals code exactly; empty when
// none does (a mixed-case "Js" names no region).
QString regionName(const QString &code);

#endif
