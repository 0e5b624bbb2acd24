#ifndef TALDON_REPORT_DRAWSTRING_H
#define TALDON_REPORT_DRAWSTRING_H

#include <QString>

class QPainter;

// Draws text between the x coordinates left and right with its first baseline at *y, one
// line per piece that fits, and advances *y by the font height + 2 per line drawn. align 2 is
// right-aligned, 3 centred, anything else left-aligned. Nothing is drawn when right < left.
void DrawString(QPainter *painter, int *y, int left, int right, const QString &text, int align);

#endif
