#include "tablepages.h"

#include "reportfont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTableWidget>
#include <QVector>

namespace
{

const int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextExpandTabs;
const int footerPoints = 8;

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

// The first row of every page: a page holds rows while the next still ends above bottom, one
// empty line under the header.
QVector<int> pageStarts(int rows, int bottom, int lineSpacing)
{
    QVector<int> starts;
    int y = 0;
    for (int r = 0; r < rows; ++r) {
        if (y == 0 || bottom < y + 11 + 2 * lineSpacing) {
            starts << r;
            y = lineSpacing;
        }
        y += lineSpacing;
    }
    return starts;
}

void drawFooter(QPainter *painter, const QRect &line, const QString &name, int page, int pages)
{
    painter->setFont(reportFont(footerPoints));
    const QFontMetrics metrics = painter->fontMetrics();
    const QString number = QStringLiteral("第 %1 页 / 共 %2 页").arg(page).arg(pages);
    // A long name is cut short before it reaches the page number.
    const int room = line.width() - metrics.horizontalAdvance(number + QStringLiteral("    "));
    painter->drawText(line, Qt::AlignLeft | Qt::AlignBottom,
                      metrics.elidedText(name, Qt::ElideRight, room));
    painter->drawText(line, Qt::AlignRight | Qt::AlignBottom, number);
    painter->setFont(reportFont(10));
}

} // namespace

void drawTablePages(QPrinter *printer, QPainter *painter, const QTableWidget *table,
                    const QString &footerName, const std::function<void(int rows)> &progress)
{
    const int W = printer->width();
    const int H = printer->height();
    painter->setFont(reportFont(footerPoints));
    const int footerHeight = painter->fontMetrics().lineSpacing();
    painter->setFont(reportFont(10));
    const int ls = painter->fontMetrics().lineSpacing();
    const int w = (W - 22) / (table->columnCount() + 1);
    // The footer takes the page's last line and a half, so the rows end above it.
    const QRect footer(11, H - 11 - footerHeight, W - 22, footerHeight);
    const QVector<int> starts = pageStarts(table->rowCount(), footer.top() - ls / 2, ls);
    for (int page = 0; page < starts.size(); ++page) {
        if (page > 0)
            printer->newPage();
        drawHeader(painter, table, w, W, ls);
        drawFooter(painter, footer, footerName, page + 1, starts.size());
        const int end = page + 1 < starts.size() ? starts.at(page + 1) : table->rowCount();
        int y = ls;
        for (int r = starts.at(page); r < end; ++r) {
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
}
