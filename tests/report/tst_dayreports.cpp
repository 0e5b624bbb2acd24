#include "reportcontest.h"

#include "dayreports.h"
#include "statsglobals.h"

#include <QTemporaryDir>
#include <QtTest>

class TestDayReports : public QObject
{
    Q_OBJECT

private:
    const QString oddId = QStringLiteral("GD 7'$(touch pwned)");

    std::unique_ptr<CSetupInfo> contest(const QString &home)
    {
        auto setup = makeContest(home, {{{"a", {10}}}, {{"b", {10, 10}}}, {{"c", {10}}}});
        CPlayerInfo *players = setup->getPlayerInfo();
        for (const QString &id :
             {QString("p1"), oddId, QString("p3"), QString("p4"), QString("p5")})
            players->addPlayerInfo(id, QStringLiteral("选手"));
        const QByteArray block =
            "{b 100 Compile successfully\n101 10 0.1 ok\n101 5 0.2 half\n}102 15\n";
        appendResult(home, 2, "p1", block);
        appendResult(home, 2, oddId, block);
        appendResult(home, 1, "p3", "{a 100 Compile successfully\n101 10 0.1 ok\n}102 10\n");
        resetStats(setup.get());
        return setup;
    }

private slots:
    void cleanup() { resetStats(nullptr); }

    // Day 2: the two players with results get a report at their own path, the rest none;
    // the progress goes through all five; a second run overwrites.
    void writesOnePerPlayerWithResults()
    {
        QTemporaryDir home;
        auto setup = contest(home.path());
        QList<int> counts;
        QStringList ids;
        const DayReportsResult result =
            printDayReports(setup.get(), 1, [&](int count, const QString &id, bool) {
                counts << count;
                ids << id;
            });
        QCOMPARE(result.written, 2);
        QCOMPARE(result.skipped, 3);
        QVERIFY(result.failed.isEmpty());
        QCOMPARE(counts, QList<int>({1, 2, 3, 4, 5}));
        QCOMPARE(ids.at(1), oddId);
        const QString oddPdf = home.path() + "/ps/day2/" + oddId + "/" + oddId + ".pdf";
        QCOMPARE(dayReportPath(setup.get(), 1, oddId), oddPdf);
        const QString oddText = pdfText(oddPdf);
        QVERIFY2(oddText.contains(QStringLiteral("编号:") + oddId), qPrintable(oddText));
        QVERIFY(pdfText(home.path() + "/ps/day2/p1/p1.pdf").contains("half"));
        QCOMPARE(QDir(home.path() + "/ps/day2").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(),
                 2);
        QVERIFY(!QFile::exists(home.path() + "/ps/day2/p3"));
        QVERIFY(!QFile::exists("pwned") && !QFile::exists(home.path() + "/pwned"));

        QFile::resize(oddPdf, 3);
        QCOMPARE(printDayReports(setup.get(), 1).written, 2);
        QVERIFY(QFileInfo(oddPdf).size() > 3);
    }

    // Reports that cannot be written are counted by id, not skipped in silence; a day out of
    // range, no contest or no statistics print nothing and pass over no one.
    void unwritableReportsAreReported()
    {
        QTemporaryDir home;
        auto setup = contest(home.path());
        QDir().mkpath(home.path() + "/ps/day2");
        QFile blocker(home.path() + "/ps/day2/p1");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const DayReportsResult result = printDayReports(setup.get(), 1);
        QCOMPARE(result.failed, QStringList({"p1"}));
        QCOMPARE(result.written, 1);
        QCOMPARE(printDayReports(setup.get(), 0).written, 1);
        for (int day : {-1, 3}) {
            const DayReportsResult none = printDayReports(setup.get(), day);
            QCOMPARE(none.written + none.skipped + none.failed.size(), 0);
        }
        QCOMPARE(printDayReports(nullptr, 0).skipped, 0);
        resetStats(nullptr);
        QCOMPARE(printDayReports(setup.get(), 1).skipped, 0);
    }
};

QTEST_MAIN(TestDayReports)
#include "tst_dayreports.moc"
