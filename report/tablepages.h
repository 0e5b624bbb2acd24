#ifndef TALDON_REPORT_TABLEPAGES_H
#define TALDON_REPORT_TABLEPAGES_H

#include <functional>

class QPainter;
class QPrinter;
class QTableWidget;

// Draws table as plain text columns onto printer, whose painting painter has begun: a row
// number column, then one column per table column, the header repeated at the top of every
// page. progress is called with the number of rows drawn after each row.
void drawTablePages(QPrinter *printer, QPainter *painter, const QTableWidget *table,
                    const std::function<void(int rows)> &progress);

#endif
