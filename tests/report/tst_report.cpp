#include "reportcontest.h"

#include "cprintreport.h"
#include "dayreports.h"
#include "drawstring.h"
#include "mystat.h"
#include "reportdate.h"
#include "statsglobals.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QString pointLines(const QString &task, int points, const QString &message)
{
    QString text = "{" + task + " 100 Compile successfully\n";
    for (int i = 1; i <= points; ++i)
        text += QStringLiteral("101 10 0.001 %1%2\n").arg(message).arg(i);
    return text + QStringLiteral("}102 %1\n").arg(points * 10);
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir home;

    // Registers the player, reads the statistics and prints the report of the day (counted
    // from 0); the PDF's path, or an empty one when printing failed.
    QString render(CSetupInfo *setup, int day, const QString &id,
                   const QString &name = QStringLiteral("张三"))
    {
        setup->getPlayerInfo()->addPlayerInfo(id, name);
        resetStats(setup);
        const QString pdf = setup->getHome() + "/" + id + ".pdf";
        CPrintReport report(resultPath(setup->getHome(), day + 1, id), pdf, true);
        report.setDayinfo(setup->getDayInfo(day));
        report.setPrintInfo(setup->getContestName(), name, id, QStringLiteral("private pc"));
        return report.print() ? pdf : QString();
    }

private slots:
    void cleanup() { resetStats(nullptr); }

    // What the report of day 1 (or of a day without tasks or results) shows and does not.
    // Day 1's summary holds the totals the statistics read, base score 5.
    void reportText_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("absent");
        const auto row = [](const char *tag, int day, const QByteArray &file,
                            const QStringList &shown, const QStringList &absent = {}) {
            QTest::newRow(tag) << day << file << shown << absent;
        };
        // Marks of 20 double the raw tenths; the text layer gives back the very characters
        // printed, not look-alike radicals.
        row("full", 0,
            "{sum 100 Compile successfully\n101 10 0.120 ok\n"
            "101 7 0.015 Wrong answer at line 3\n-103 0 1.100 Time out.\n}102 17\n"
            "{words -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n"
            "{max 100 Compile successfully\n101 10 0.001 ok\n101 0 0.002 x\n}102 10\n",
            {QRegularExpression::escape(commonCharacters + " 第1天") + "\\s+成绩单\\s+" +
                 reportDate(QDate::currentDate()) +
                 "\\s+姓名:张三\\s+编号:GD-001\\s+机器编号:private pc\\s+题目:sum 测试点数量:3 "
                 "时间限制:1\\.000\\s+测试点\\s+用时\\s+评测结果\\s+得分\\s+1\\s+0\\.120\\s+ok\\s+"
                 "20\\s+2\\s+0\\.015\\s+Wrong answer at line 3\\s+14\\s+3\\s+1\\.100\\s+Time "
                 "out\\.\\s+0\\s+本题总得分\\s+34\\s",
             "Compile failed\\.\\s+本题总得分\\s+0\\s+题目:max[^题]+1\\s+0\\.001\\s+ok\\s+10\\s"});
        // A task evaluated twice shows its later block, a task without a block says so, and a
        // task that could not be evaluated shows why.
        row("repeated, refused and missing", 0,
            "{sum 100 Compile successfully\n101 3 0.010 old run\n}102 3\n"
            "{sum 100 Compile successfully\n101 6 0.020 new run\n}102 6\n"
            "{words -106 The task has no filter.\n-106 0 ? The task has no filter.\n}102 0\n",
            {"new run", "The task has no filter\\.", "There are some errors in the result file\\."},
            {"old run"});
        // A block the statistics drop prints that it could not be read, a block not evaluated
        // prints its reason, and a point of mark 0 judged 10 prints 0.
        const QStringList failed{"Evaluation result file reads failed"};
        row("cut off", 0, "{a 100 Compile successfully\n101 4 0.0", failed);
        row("brace in a message", 0,
            "{a 100 Compile successfully\n101 10 0.010 saw {x\n101 10 0.010 ok\n}102 20\n", failed);
        row("no trailer", 0, "}\n{a 100 Compile successfully\n101 10 0.010 ok\n{z 100 x\n}102 0\n",
            failed);
        row("bad code", 0, "{a x Compile successfully\n101 0 0.010 wrong\n}102 0\n", failed);
        row("not evaluated", 0, "{a 0 Not evaluated\n}102 0\n", {"Not evaluated\\s+本题总得分"});
        row("mark 0", 0,
            "{a 100 Compile successfully\n101 10 0.010 free\n101 10 0.020 ok\n"
            "101 10 0.030 ok\n}102 30\n",
            {"1\\s+0\\.010\\s+free\\s+0\\s.*本题总得分\\s+20\\s"});
        // A message too long for its cell wraps at blanks, its words whole.
        QStringList words;
        for (int i = 10; i < 90; ++i)
            words << QString("w%1").arg(i);
        row("long message", 0,
            "{a 100 Compile successfully\n101 10 0.010 " + words.join(' ').toUtf8() + "\n}102 10\n",
            QStringList(words).replaceInStrings(QRegularExpression("(.+)"), "\\s\\1\\s"));
        // No tasks, or no result file: the title block alone.
        row("no tasks", 1, "", {"成绩单"}, {"总分", "题目:"});
        row("no file", 2, QByteArray(), {"机器编号:private pc"}, {"总分", "题目:"});
    }

    void reportText()
    {
        QFETCH(int, day);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, absent);
        auto setup = makeContest(
            home.filePath(QTest::currentDataTag()),
            {{{"sum", {20, 20, 20}}, {"words", {10}}, {"max", {10, 10}}, {"a", {0, 10, 10}}},
             {},
             {{"b", {10}}}});
        setup->setContestName(commonCharacters);
        QVERIFY(QDir().mkpath(setup->getHome()));
        if (!file.isNull())
            appendResult(setup->getHome(), day + 1, "GD-001", file);
        const QString text = pdfText(render(setup.get(), day, "GD-001"));
        if (day == 0) {
            QStringList totals;
            int sum = 5;
            for (const char *task : {"sum", "words", "max", "a"}) {
                totals << QString::number(mystat->getPlayerStat("GD-001").getTotal(task));
                sum += totals.last().toInt();
            }
            shown << "基本分\\s+总分\\s+" + totals.join("\\s+") + "\\s+5\\s+" +
                         QString::number(sum);
        }
        for (const QString &pattern : shown)
            QVERIFY2(text.contains(QRegularExpression(
                         pattern, QRegularExpression::DotMatchesEverythingOption)),
                     qPrintable(pattern + "\n" + text));
        for (const QString &word : absent)
            QVERIFY2(!text.contains(word), qPrintable(word));
    }

    // The id is centred under the title unless the name reaches it: then it follows the name,
    // or, when the three do not fit on a line, name, id and machine take a line each. Name and
    // id print whole and apart.
    void playerLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("layout");
        QTest::newRow("short") << QStringLiteral("张三") << "centred";
        QTest::newRow("to the centre") << QStringLiteral("欧阳").repeated(8) << "after the name";
        QTest::newRow("whole line") << QStringLiteral("欧阳").repeated(14) << "a line each";
    }

    void playerLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, layout);
        auto setup = makeContest(home.filePath(QTest::currentDataTag()), {{{"a", {10}}}});
        appendResult(setup->getHome(), 1, "GD-001", "");
        QMap<QString, QRectF> boxes;
        for (const auto &word : pdfWords(render(setup.get(), 0, "GD-001", name), 1))
            boxes.insert(word.first, word.second);
        // pdftotext takes a label and its value for two words.
        QVERIFY2(boxes.contains(":" + name) && boxes.contains(":GD-001"),
                 qPrintable(QStringList(boxes.keys()).join(' ')));
        const QRectF nameBox = boxes.value(QStringLiteral("姓名")) | boxes.value(":" + name);
        const QRectF idBox = boxes.value(QStringLiteral("编号")) | boxes.value(":GD-001");
        const QRectF machineBox = boxes.value(QStringLiteral("机器编号")) | boxes.value("pc");
        QVERIFY(!nameBox.intersects(idBox) && !idBox.intersects(machineBox));
        const QSet<qreal> tops = {nameBox.top(), idBox.top(), machineBox.top()};
        QCOMPARE(tops.size(), layout == "a line each" ? 3 : 1);
        const qreal centre = boxes.value(QStringLiteral("成绩单")).center().x();
        QCOMPARE(qAbs(idBox.center().x() - centre) < 1, layout != "after the name");
        if (layout == "after the name")
            QVERIFY(idBox.left() > nameBox.right());
    }

    // A task too long for the rest of the page starts a new one; one too long for any page
    // goes on over the next, so its last test point still prints, up to the 99 a task can
    // be judged on. A point missing from its block prints empty; the summary follows on a page
    // of its own when the last table fills one.
    void pageBreaks_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("99 points") << 99;
        QTest::newRow("100, one not judged") << 100;
    }

    void pageBreaks()
    {
        QFETCH(int, points);
        auto setup =
            makeContest(home.filePath(QTest::currentDataTag()),
                        {{{"first", equalMarks(30, 10)}, {"long", equalMarks(points, 10)}}});
        appendResult(
            setup->getHome(), 1, "p1",
            (pointLines("first", 29, "first") + pointLines("long", points, "point")).toUtf8());
        const QString pdf = render(setup.get(), 0, "p1");
        const int pages = pdfPages(pdf);
        QVERIFY(pages >= 3);
        QVERIFY(!pdfText(pdf, 1).contains(QStringLiteral("题目:long")));
        QVERIFY(pdfText(pdf, 2).contains(QStringLiteral("题目:long")));
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QRegularExpression("29\\s+0\\.001\\s+first29\\s+10\\s+30\\s+0\\.000"
                                                 "\\s+0\\s+本题总得分\\s+290")));
        QVERIFY(text.contains("point99") && !text.contains("point100"));
        QVERIFY(pdfText(pdf, pages)
                    .contains(QRegularExpression(
                        QStringLiteral("基本分\\s+总分\\s+290\\s+990\\s+5\\s+1285"))));
    }

    void failuresAndDates()
    {
        QCOMPARE(reportDate(QDate(2024, 7, 5)), QStringLiteral("July 5,2024"));
        QCOMPARE(reportDate(QDate(2020, 12, 31)), QStringLiteral("Dec 31,2020"));
        QTemporaryDir dir;
        auto setup = makeContest(dir.path(), {{{"a", {10}}}});
        resetStats(setup.get());
        CPrintReport noDay("/nonexistent", dir.path() + "/x.pdf", true);
        QVERIFY(!noDay.print());
        CPrintReport noDir("/nonexistent", dir.path() + "/missing/x.pdf", true);
        noDir.setDayinfo(setup->getDayInfo(0));
        QVERIFY(!noDir.print());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // Day 2: the two players with results get a report at their own path, the rest none, and
    // the progress goes through all five; a second run overwrites. Reports that cannot be
    // written are counted by id; a day out of range, no contest or no statistics print nothing.
    void dayReports()
    {
        const QString oddId = QStringLiteral("GD 7'$(touch pwned)");
        auto setup = makeContest(home.filePath("days"), {{{"a", {10}}}, {{"b", {10, 10}}}, {}});
        for (const QString &id : {QString("p1"), oddId, QString("p3"), QString("p4")})
            setup->getPlayerInfo()->addPlayerInfo(id, QStringLiteral("选手"));
        const QByteArray block =
            "{b 100 Compile successfully\n101 10 0.1 ok\n101 5 0.2 half\n}102 15\n";
        appendResult(setup->getHome(), 2, "p1", block);
        appendResult(setup->getHome(), 2, oddId, block);
        appendResult(setup->getHome(), 1, "p3",
                     "{a 100 Compile successfully\n101 10 0.1 ok\n}102 10\n");
        resetStats(setup.get());
        QStringList progress;
        const DayReportsResult result =
            printDayReports(setup.get(), 1, [&](int count, const QString &id, bool written) {
                progress << QString("%1 %2 %3").arg(count).arg(id).arg(written);
            });
        QCOMPARE(progress, QStringList({"1 p1 1", "2 " + oddId + " 1", "3 p3 0", "4 p4 0"}));
        QCOMPARE(result.written, 2);
        QCOMPARE(result.skipped, 2);
        QVERIFY(result.failed.isEmpty());
        const QString dir = setup->getHome() + "/ps/day2/";
        const QString oddPdf = dir + oddId + "/" + oddId + ".pdf";
        QCOMPARE(dayReportPath(setup.get(), 1, oddId), oddPdf);
        QVERIFY(pdfText(oddPdf).contains(QStringLiteral("编号:") + oddId));
        QVERIFY(pdfText(dir + "p1/p1.pdf").contains("half"));
        QCOMPARE(QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
        QVERIFY(!QFile::exists("pwned") && !QFile::exists(setup->getHome() + "/pwned"));
        QFile::resize(oddPdf, 3);
        QCOMPARE(printDayReports(setup.get(), 1).written, 2);
        QVERIFY(QFileInfo(oddPdf).size() > 3);
        QVERIFY(QDir(dir + "p1").removeRecursively() && writeFile(dir + "p1", ""));
        const DayReportsResult blocked = printDayReports(setup.get(), 1);
        QCOMPARE(blocked.failed, QStringList({"p1"}));
        QCOMPARE(blocked.written, 1);
        QCOMPARE(printDayReports(setup.get(), 0).written, 1);
        for (int day : {-1, 3}) {
            const DayReportsResult none = printDayReports(setup.get(), day);
            QCOMPARE(none.written + none.skipped + none.failed.size(), 0);
        }
        QCOMPARE(printDayReports(setup.get(), 2).skipped, 4);
        QCOMPARE(printDayReports(nullptr, 0).skipped, 0);
        resetStats(nullptr);
        QCOMPARE(printDayReports(setup.get(), 1).skipped, 0);
    }

    // Wrapped text stays between its edges and moves y by one step per line.
    void drawStringWraps()
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QFont("Noto Sans CJK SC", 10));
        const int step = painter.fontMetrics().height() + 2;
        int y = 20;
        DrawString(&painter, &y, 100, 200, QStringLiteral("short"), 2);
        QCOMPARE(y, 20 + step);
        DrawString(&painter, &y, 100, 200,
                   QStringLiteral("评测结果很长很长的消息 a message that is much too long"), 3);
        QVERIFY(y >= 20 + 4 * step);
        const int before = y;
        DrawString(&painter, &y, 200, 100, QStringLiteral("nothing"), 1);
        QCOMPARE(y, before);
        // Even a cell narrower than one glyph shows its text, a character a line.
        DrawString(&painter, &y, 150, 150, QStringLiteral("ab"), 1);
        QCOMPARE(y, before + 2 * step);
        painter.end();
        for (int x = 0; x < image.width(); ++x) {
            for (int row = 0; (x < 98 || x > 202) && row < image.height(); ++row)
                QVERIFY2(image.pixel(x, row) == qRgb(255, 255, 255),
                         qPrintable(QString::number(x)));
        }
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
