#include "tablepages.h"

#include "reportfont.h"

#include <QPainter>
#include <QPrinter>
#include <QTableWidget>

namespace
{

const int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextExpandTabs;

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

void drawHeader(QPainter *painter, const QTableWidget *table, int columnWidth, int pageWidth,
                int lineSpacing)
{
    painter->setFont(reportFont(12, QFont::Bold));
    for (int k = 0; k < table->columnCount(); ++k) {
        const QTableWidgetItem *item = table->horizontalHeaderItem(k);
        painter->drawText(QRect(11 + columnWidth * (k + 1), 11, pageWidth, lineSpacing), textFlags,
                          item ? item->text() : QString());
    }
    painter->setFont(reportFont(10));
}

} // namespace

void drawTablePages(QPrinter *printer, QPainter *painter, const QTableWidget *table,
                    const std::function<void(int rows)> &progress)
{
    const int W = printer->width();
    const int H = printer->height();
    painter->setFont(reportFont(10));
    const int ls = painter->fontMetrics().lineSpacing();
    const int w = (W - 22) / (table->columnCount() + 1);
    int y = 0;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (H - 11 < y + 11 + 2 * ls) {
            printer->newPage();
            y = 0;
        }
        if (y == 0) {
            drawHeader(painter, table, w, W, ls);
            y = ls;
        }
        const int top = y + ls + 11;
        painter->drawText(QRect(11, top, W, ls), textFlags, QStringLiteral("%1").arg(r + 1));
        for (int k = 0; k < table->columnCount(); ++k)
            painter->drawText(QRect(11 + w * (k + 1), top, W, ls), textFlags,
                              cellText(table, r, k));
        y += ls;
        if (progress)
            progress(r + 1);
    }
}
