#ifndef TALDON_TESTS_REPORT_REPORTCONTEST_H
#define TALDON_TESTS_REPORT_REPORTCONTEST_H

#include "common/contestfixture.h"
#include "common/programrun.h"

#include <QList>
#include <QPair>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <memory>

// A contest for the report tests in home: days of tasks, an empty registry; result files are
// written by hand.
inline std::unique_ptr<CSetupInfo> makeContest(const QString &home,
                                               const QList<QList<TaskMarks>> &days)
{
    auto setup = std::make_unique<CSetupInfo>();
    setup->setHome(home);
    setup->setContestName(QStringLiteral("市程序设计竞赛"));
    addDays(setup.get(), days);
    for (int d = 0; d < setup->getDayNum(); ++d) {
        setup->getDayInfo(d)->setDayname(QStringLiteral("第%1天").arg(d + 1));
        setup->getDayInfo(d)->setBaseScore(5);
    }
    CPlayerInfo players;
    setup->setPlayerInfo(&players);
    return setup;
}

// Common characters whose glyphs some CJK fonts share with the Kangxi radicals (U+2F00 on).
const QString commonCharacters =
    QStringLiteral("一二人十大小山口日月木水火田白目用八 题目 第一场 王小明");

// The text of a PDF file, one page or all (page 0), exactly as pdftotext gives it: searching
// and copying use the same code points.
inline QString pdfText(const QString &path, int page = 0)
{
    QStringList args = {"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return runProgram("pdftotext", args << path << "-").outText();
}

// The words of one page of a PDF file with their boxes in points, as pdftotext -bbox gives them.
inline QList<QPair<QString, QRectF>> pdfWords(const QString &path, int page)
{
    const QString n = QString::number(page);
    const QString xml = runProgram("pdftotext", {"-bbox", "-f", n, "-l", n, path, "-"}).outText();
    static const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                         "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    QList<QPair<QString, QRectF>> words;
    for (auto match = word.globalMatch(xml); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        words << qMakePair(m.captured(5),
                           QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return words;
}

// pdftotext ends every page with a form feed.
inline int pdfPages(const QString &path)
{
    return pdfText(path).count('\f');
}

#endif
