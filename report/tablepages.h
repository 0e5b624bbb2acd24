#ifndef TALDON_REPORT_TABLEPAGES_H
#define TALDON_REPORT_TABLEPAGES_H

#include <QString>

#include <functional>

class QPainter;
class QPrinter;
class QTableWidget;

// Draws table as plain text columns onto printer, whose painting painter has begun: a row
// number column, then one column per table column, the header repeated at the top of every
// page and a footer of footerName and "第 i 页 / 共 n 页" at its bottom. progress is called with
// the number of rows drawn after each row.
void drawTablePages(QPrinter *printer, QPainter *painter, const QTableWidget *table,
                    const QString &footerName, const std::function<void(int rows)> &progress);

#endif
