#include "playerdayfile.h"

QString playerDayFile(const QString &home, const QString &folder, int day, const QString &id,
                      const QString &suffix)
{
    // Built by concatenation, not arg(): an id holding "%1" must not be substituted twice.
    return home + '/' + folder + QStringLiteral("/day%1/").arg(day + 1) + id + '/' + id + suffix;
}
