#include "reportfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace
{

const QString wantedFamily = QStringLiteral("文鼎PL细上海宋Uni");

// Registered once per process. Latin letters and digits come from a Latin family first: text
// extraction from the PDF loses some digits drawn with the CJK family's Latin glyphs.
void installFallbacks()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList candidates = {"DejaVu Serif",      "Noto Serif CJK SC",  "Noto Sans CJK SC",
                                    "Noto Serif CJK TC", "Noto Sans CJK TC",   "WenQuanYi Zen Hei",
                                    "AR PL UMing CN",    "Droid Sans Fallback"};
    const QStringList installed = QFontDatabase().families();
    QStringList found;
    for (const QString &family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive))
            found << family;
    }
    if (!installed.contains(wantedFamily) && !found.isEmpty())
        QFont::insertSubstitutions(wantedFamily, found);
}

} // namespace

QFont reportFont(int points, int weight)
{
    installFallbacks();
    QFont font(wantedFamily, points, weight);
    return font;
}
