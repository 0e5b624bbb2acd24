#include "reportcontest.h"

#include "cprintreport.h"
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

class TestCPrintReport : public QObject
{
    Q_OBJECT

private:
    QString render(CSetupInfo *setup, int day, const QString &id,
                   const QString &name = QStringLiteral("张三"))
    {
        resetStats(setup);
        const QString pdf = setup->getHome() + "/" + id + ".pdf";
        CPrintReport report(resultPath(setup->getHome(), day + 1, id), pdf, true);
        report.setDayinfo(setup->getDayInfo(day));
        report.setPrintInfo(setup->getContestName(), name, id, QStringLiteral("private pc"));
        return report.print() ? pdf : QString();
    }

private slots:
    void cleanup() { resetStats(nullptr); }

    void dateLine()
    {
        QCOMPARE(reportDate(QDate(2024, 7, 5)), QStringLiteral("July 5,2024"));
        QCOMPARE(reportDate(QDate(2020, 12, 31)), QStringLiteral("Dec 31,2020"));
    }

    // Title block, the per-task tables with the statistics' scaled scores (marks of 20 double
    // the raw tenths), a compile failure and the summary rows 34, 0, 10, base 5, total 49.
    void fullReport()
    {
        QTemporaryDir home;
        auto setup =
            makeContest(home.path(), {{{"sum", {20, 20, 20}}, {"words", {10}}, {"max", {10, 10}}}});
        setup->getPlayerInfo()->addPlayerInfo("GD-001", QStringLiteral("张三"));
        appendResult(
            home.path(), 1, "GD-001",
            "{sum 100 Compile successfully\n101 10 0.120 ok\n"
            "101 7 0.015 Wrong answer at line 3\n-103 0 1.100 Time out.\n}102 17\n"
            "{words -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n"
            "{max 100 Compile successfully\n101 10 0.001 ok\n101 0 0.002 wrong\n}102 10\n");
        const QString text = pdfText(render(setup.get(), 0, "GD-001"));
        for (const QString &shown :
             {QStringLiteral("市程序设计竞赛 第1天"), QStringLiteral("成绩单"),
              reportDate(QDate::currentDate()), QStringLiteral("姓名:张三"),
              QStringLiteral("编号:GD-001"), QStringLiteral("机器编号:private pc"),
              QStringLiteral("题目:sum 测试点数量:3 时间限制:1\\.000"),
              QStringLiteral("测试点\\s+用时\\s+评测结果\\s+得分"),
              QStringLiteral("1\\s+0\\.120\\s+ok\\s+20"),
              QStringLiteral("2\\s+0\\.015\\s+Wrong answer at line 3\\s+14"),
              QStringLiteral("3\\s+1\\.100\\s+Time out\\.\\s+0"),
              QStringLiteral("本题总得分\\s+34"),
              QStringLiteral("Compile failed\\.\\s+本题总得分\\s+0"),
              QStringLiteral("1\\s+0\\.001\\s+ok\\s+10"), QStringLiteral("基本分\\s+总分"),
              QStringLiteral("34\\s+0\\s+10\\s+5\\s+49")})
            QVERIFY2(text.contains(QRegularExpression(shown)), qPrintable(shown + "\n" + text));

        // The text layer gives back the very characters printed, not look-alike radicals.
        setup->setContestName(commonCharacters);
        const QString common = pdfText(render(setup.get(), 0, "GD-001"));
        QVERIFY2(common.contains(commonCharacters), qPrintable(common));
    }

    // A task evaluated twice shows its later block, a task without a block says so, and a
    // task that could not be evaluated shows why.
    void missingRefusedAndRepeatedBlocks()
    {
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{{"a", {10}}, {"b", {10}}, {"c", {10}}}});
        appendResult(home.path(), 1, "p1",
                     "{a 100 Compile successfully\n101 3 0.010 old run\n}102 3\n"
                     "{a 100 Compile successfully\n101 6 0.020 new run\n}102 6\n"
                     "{b -106 The task has no filter.\n-106 0 ? The task has no filter.\n}102 0\n");
        const QString text = pdfText(render(setup.get(), 0, "p1"));
        QVERIFY(text.contains("new run") && !text.contains("old run"));
        QVERIFY2(text.contains("The task has no filter."), qPrintable(text));
        QVERIFY(text.contains("There are some errors in the result file."));
        QVERIFY(text.contains(QRegularExpression("6\\s+0\\s+0\\s+5\\s+11")));
    }

    // The report reads the file as the statistics do and prints points: a block the statistics
    // drop prints that it could not be read, a block not evaluated prints its reason, and a
    // point of mark 0 judged 10 prints 0 beside a task total of 20.
    void printedScoresAgreeWithTheStatistics_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        const QString failed = QStringLiteral("Evaluation result file reads failed");
        QTest::newRow("cut off") << QByteArray("{a 100 Compile successfully\n101 4 0.0") << failed;
        QTest::newRow("brace in a message")
            << QByteArray("{a 100 Compile successfully\n101 10 0.010 saw {x\n"
                          "101 10 0.010 ok\n101 10 0.010 ok\n}102 30\n")
            << failed;
        QTest::newRow("no trailer")
            << QByteArray("}\n{a 100 Compile successfully\n101 10 0.010 ok\n{z 100 x\n}102 0\n")
            << failed;
        QTest::newRow("bad code") << QByteArray(
                                         "{a x Compile successfully\n101 0 0.010 wrong\n}102 0\n")
                                  << failed;
        QTest::newRow("not evaluated")
            << QByteArray("{a 0 Not evaluated\n}102 0\n") << "Not evaluated\\s+本题总得分";
        QTest::newRow("mark 0") << QByteArray("{a 100 Compile successfully\n101 10 0.010 free\n"
                                              "101 10 0.020 ok\n101 10 0.030 ok\n}102 30\n")
                                << "1\\s+0\\.010\\s+free\\s+0\\s";
    }

    void printedScoresAgreeWithTheStatistics()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{{"a", {0, 10, 10}}}});
        setup->getPlayerInfo()->addPlayerInfo("p1", "x");
        appendResult(home.path(), 1, "p1", file);
        const QString text = pdfText(render(setup.get(), 0, "p1"));
        const int total = mystat->getPlayerStat("p1").getTotal("a");
        const QString summary = QStringLiteral("本题总得分\\s+%1\\s.*%1\\s+5\\s+%2").arg(total);
        QVERIFY2(text.contains(QRegularExpression(summary.arg(total + 5),
                                                  QRegularExpression::DotMatchesEverythingOption)),
                 qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression(shown)), qPrintable(text));
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
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{{"a", {10}}}});
        setup->getPlayerInfo()->addPlayerInfo("GD-001", name);
        appendResult(home.path(), 1, "GD-001", "");
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

    // No tasks, no result file, no statistics: the title block alone.
    void titleOnly()
    {
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{}, {{"a", {10}}}});
        setup->getPlayerInfo()->addPlayerInfo("p1", "x");
        appendResult(home.path(), 1, "p1", "");
        QString text = pdfText(render(setup.get(), 0, "p1"));
        QVERIFY(text.contains(QStringLiteral("成绩单")) && !text.contains(QStringLiteral("总分")));
        text = pdfText(render(setup.get(), 1, "p1"));
        QVERIFY(text.contains(QStringLiteral("机器编号:private pc")));
        QVERIFY(!text.contains(QStringLiteral("题目")));
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
        QTemporaryDir home;
        auto setup = makeContest(
            home.path(), {{{"first", equalMarks(30, 10)}, {"long", equalMarks(points, 10)}}});
        setup->getPlayerInfo()->addPlayerInfo("p1", "x");
        appendResult(
            home.path(), 1, "p1",
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

    void failures()
    {
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{{"a", {10}}}});
        resetStats(setup.get());
        CPrintReport noDay("/nonexistent", home.path() + "/x.pdf", true);
        QVERIFY(!noDay.print());
        CPrintReport noDir("/nonexistent", home.path() + "/missing/x.pdf", true);
        noDir.setDayinfo(setup->getDayInfo(0));
        QVERIFY(!noDir.print());
        QVERIFY(QDir(home.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
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
        painter.end();
        for (int x = 0; x < image.width(); ++x) {
            for (int row = 0; (x < 98 || x > 202) && row < image.height(); ++row)
                QVERIFY2(image.pixel(x, row) == qRgb(255, 255, 255),
                         qPrintable(QString::number(x)));
        }
    }
};

QTEST_MAIN(TestCPrintReport)
#include "tst_cprintreport.moc"
