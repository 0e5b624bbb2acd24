#include "playerdayfile.h"

#include "cdayinfo.h"

QString playerDayFile(const QString &home, const QString &folder, const CDayInfo &day,
                      const QString &id, const QString &suffix)
{
    // Built by concatenation, not arg(): an id holding "%1" must not be substituted twice.
    return home + '/' + folder + QStringLiteral("/day%1/").arg(day.getDirNumber()) + id + '/' + id +
           suffix;
}
