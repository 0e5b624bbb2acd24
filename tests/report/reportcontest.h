#ifndef TALDON_TESTS_REPORTCONTEST_H
#define TALDON_TESTS_REPORTCONTEST_H

#include "csetupinfo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// A contest in a temporary home for the report tests: days of tasks given as
// name:points:mark, players registered, result files written by hand.
struct ReportTask {
    QString name;
    int points;
    int mark;
};

inline std::unique_ptr<CSetupInfo> makeContest(const QString &home,
                                               const QList<QList<ReportTask>> &days)
{
    auto setup = std::make_unique<CSetupInfo>();
    setup->setHome(home);
    setup->setContestName(QStringLiteral("市程序设计竞赛"));
    for (int d = 0; d < days.size(); ++d) {
        auto *day = new CDayInfo;
        day->setDayname(QStringLiteral("第%1天").arg(d + 1));
        day->setBaseScore(5);
        for (const ReportTask &given : days.at(d)) {
            auto *task = new CTaskInfo;
            task->setTaskname(given.name);
            task->setSamplenum(given.points);
            for (int i = 1; i <= given.points; ++i)
                task->setSampleMark(i, given.mark);
            day->addATask(task);
        }
        setup->addADay(day);
    }
    CPlayerInfo players;
    setup->setPlayerInfo(&players);
    return setup;
}

inline void writeResult(const QString &home, int day, const QString &id, const QString &text)
{
    const QString dir = home + QStringLiteral("/result/day%1/").arg(day) + id;
    QDir().mkpath(dir);
    QFile file(dir + "/" + id + ".result");
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
}

// The text of a PDF file, one page or all (page 0), as pdftotext gives it. Compatibility
// forms are folded: the CJK font maps some ideographs to the same glyph as their radicals,
// which text extraction may then give back as the radical.
inline QString pdfText(const QString &path, int page = 0)
{
    QStringList args = {"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    QProcess process;
    process.start("pdftotext", args << path << "-");
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

inline int pdfPages(const QString &path)
{
    QProcess process;
    process.start("pdfinfo", {path});
    process.waitForFinished(30000);
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return 0;
}

#endif
