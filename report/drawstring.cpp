#include "drawstring.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace
{

// Pieces no wider than width, broken after the last blank that keeps a piece within it, or
// between characters when a word alone is too wide. A piece is at least one character, so a
// cell narrower than one glyph still shows its text.
QStringList wrapToWidth(const QFontMetrics &metrics, const QString &text, int width)
{
    QStringList pieces;
    int start = 0;
    while (start < text.size()) {
        int end = start + 1;
        int lastBlank = -1;
        while (end < text.size() &&
               metrics.horizontalAdvance(text.mid(start, end + 1 - start)) <= width) {
            if (text.at(end) == QLatin1Char(' '))
                lastBlank = end;
            ++end;
        }
        if (end < text.size() && lastBlank > start)
            end = lastBlank + 1;
        pieces << text.mid(start, end - start);
        start = end;
    }
    return pieces;
}

int alignedX(int left, int right, int textWidth, int align)
{
    if (align == 2)
        return right - textWidth;
    if (align == 3)
        return left + (right - left - textWidth) / 2;
    return left;
}

} // namespace

void DrawString(QPainter *painter, int *y, int left, int right, const QString &text, int align)
{
    const int width = right - left;
    if (width < 0)
        return;
    const QFontMetrics metrics = painter->fontMetrics();
    const int step = metrics.height() + 2;
    QStringList pieces = wrapToWidth(metrics, text, width);
    if (pieces.isEmpty())
        pieces << QString();
    for (const QString &piece : qAsConst(pieces)) {
        const int x = alignedX(left, right, metrics.horizontalAdvance(piece), align);
        painter->drawText(x, *y, piece);
        *y += step;
    }
}
