#include "reportfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace
{

const QString wantedFamily = QStringLiteral("文鼎PL细上海宋Uni");

// Registered once per process. Latin letters and digits come from a Latin family first: text
// extraction from the PDF loses some digits drawn with the CJK family's Latin glyphs. The PDF's
// text layer maps each glyph back to the lowest code point that the font's character map gives
// it, and the Noto CJK families share the glyphs of common ideographs (一 人 大 日 ...) with the
// Kangxi radicals U+2F00 to U+2FD5: a report set in them reads back radicals. The families
// before them map those radicals to glyphs of their own, or not at all.
void installFallbacks()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList candidates = {"DejaVu Serif",        "AR PL UMing CN",    "WenQuanYi Zen Hei",
                                    "Droid Sans Fallback", "Noto Serif CJK SC", "Noto Sans CJK SC",
                                    "Noto Serif CJK TC",   "Noto Sans CJK TC"};
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
    // No ligatures: the text layer would give "ﬁ" (U+FB01) for the "fi" printed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}
