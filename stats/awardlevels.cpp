#include "awardlevels.h"

int awardCount(const QString &entry, int players)
{
    bool ok = false;
    if (entry.contains('%')) {
        const float percent = entry.section('%', 0, 0).toFloat(&ok);
        if (!ok || !(percent >= 0.0f && percent <= 100.0f))
            return -1;
        return static_cast<int>(percent * players / 100.0f);
    }
    const int count = entry.toInt(&ok, 10);
    return ok && count >= 0 && count <= players ? count : -1;
}

QList<int> awardCounts(const QStringList &entries, int players)
{
    QList<int> counts;
    int sum = 0;
    for (const QString &entry : entries) {
        const int count = awardCount(entry, players);
        if (count < 0)
            return {};
        sum += count;
        counts.append(count);
    }
    return sum <= players ? counts : QList<int>{};
}
