#ifndef TALDON_REPORT_REPORTFONT_H
#define TALDON_REPORT_REPORTFONT_H

#include <QFont>

// The font of every printed page: the family the reports ask for, falling back to an installed
// CJK family when that one is missing, so that Chinese text never prints as empty boxes, and
// chosen so that the PDF's text layer gives back exactly the characters printed.
QFont reportFont(int points, int weight = QFont::Normal);

#endif
