#include "reportdate.h"

#include <QCoreApplication>

const char *const monthname[12] = {
    QT_TRANSLATE_NOOP("CPrintReport", "Jan"),  QT_TRANSLATE_NOOP("CPrintReport", "Feb"),
    QT_TRANSLATE_NOOP("CPrintReport", "Mar"),  QT_TRANSLATE_NOOP("CPrintReport", "Apr"),
    QT_TRANSLATE_NOOP("CPrintReport", "May"),  QT_TRANSLATE_NOOP("CPrintReport", "Jun"),
    QT_TRANSLATE_NOOP("CPrintReport", "July"), QT_TRANSLATE_NOOP("CPrintReport", "Aug"),
    QT_TRANSLATE_NOOP("CPrintReport", "Sep"),  QT_TRANSLATE_NOOP("CPrintReport", "Oct"),
    QT_TRANSLATE_NOOP("CPrintReport", "Nov"),  QT_TRANSLATE_NOOP("CPrintReport", "Dec")};

QString reportDate(const QDate &date)
{
    const QString month = QCoreApplication::translate("CPrintReport", monthname[date.month() - 1]);
    return QStringLiteral("%1 %2,%3").arg(month).arg(date.day()).arg(date.year());
}
