#ifndef TALDON_REPORT_REPORTDATE_H
#define TALDON_REPORT_REPORTDATE_H

#include <QDate>
#include <QString>

// The month names of the report's date line (note the four-letter "July").
extern const char *const monthname[12];

// The date as the reports print it: "May 19,2021", no blank after the comma.
QString reportDate(const QDate &date);

#endif
