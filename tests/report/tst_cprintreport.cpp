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

class TestCPrintReport : public QObject
{
    Q_OBJECT

private:
    QString render(CSetupInfo *setup, int day, const QString &id,
                   const QString &name = QStringLiteral("张三"))
    {
        resetStats(setup);
        const QString pdf = setup->getHome() + "/" + id + ".pdf";
        CPrintReport report(setup->getHome() + QStringLiteral("/result/day%1/").arg(day + 1) + id +
                                "/" + id + ".result",
                            pdf, true);
        report.setDayinfo(setup->getDayInfo(day));
        report.setPrintInfo(setup->getContestName(), name, id, QStringLiteral("private pc"));
        if (!report.print())
            return QString();
        return pdf;
    }

private slots:
    void cleanup() { resetStats(nullptr); }

    void dateLine()
    {
        QCOMPARE(reportDate(QDate(2024, 7, 5)), QStringLiteral("July 5,2024"));
        QCOMPARE(reportDate(QDate(2021, 5, 19)), QStringLiteral("May 19,2021"));
        QCOMPARE(reportDate(QDate(2020, 12, 31)), QStringLiteral("Dec 31,2020"));
    }

    // Title block, the per-task tables with the statistics' scaled scores, a compile failure
    // and the summary rows.
    void fullReport()
    {
        QTemporaryDir home;
        auto setup =
            makeContest(home.path(), {{{"sum", {20, 20, 20}}, {"words", {10}}, {"max", {10, 10}}}});
        setup->getPlayerInfo()->addPlayerInfo("GD-001", QStringLiteral("张三"));
        appendResult(home.path(), 1, "GD-001",
                     "{sum 100 Compile successfully\n"
                     "101 10 0.120 ok\n"
                     "101 7 0.015 Wrong answer at line 3\n"
                     "-103 0 1.100 Time out.\n"
                     "}102 17\n"
                     "{words -101 Compile failed.\n"
                     "-101 0 ? Compile failed.\n"
                     "}102 0\n"
                     "{max 100 Compile successfully\n"
                     "101 10 0.001 ok\n"
                     "101 0 0.002 wrong\n"
                     "}102 10\n");
        const QString pdf = render(setup.get(), 0, "GD-001");
        QVERIFY(!pdf.isEmpty());
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("市程序设计竞赛 第1天")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("成绩单")));
        QVERIFY2(text.contains(reportDate(QDate::currentDate())), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("姓名:张三")));
        QVERIFY(text.contains(QStringLiteral("编号:GD-001")));
        QVERIFY(text.contains(QStringLiteral("机器编号:private pc")));
        QVERIFY(text.contains(QStringLiteral("题目:sum 测试点数量:3 时间限制:1.000")));
        QVERIFY(text.contains(QStringLiteral("测试点")));
        QVERIFY(text.contains(QStringLiteral("评测结果")));
        // Marks of 20 double the raw tenths: 10 -> 20, 7 -> 14, and the total 34 replaces 17.
        QVERIFY(text.contains(QRegularExpression("2\\s+0\\.015\\s+Wrong answer at line 3\\s+14")));
        QVERIFY(text.contains(QRegularExpression("1\\s+0\\.120\\s+ok\\s+20")));
        QVERIFY(text.contains(QRegularExpression("3\\s+1\\.100\\s+Time out\\.\\s+0")));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("本题总得分\\s+34"))));
        QVERIFY(text.contains(QStringLiteral("Compile failed.")));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("本题总得分\\s+0"))));
        QVERIFY(text.contains(QRegularExpression("1\\s+0\\.001\\s+ok\\s+10")));
        QVERIFY(text.contains(QStringLiteral("基本分")));
        QVERIFY(text.contains(QStringLiteral("总分")));
        // Summary: 34, 0, 10, base 5, grand total 49.
        QVERIFY(text.contains(QRegularExpression("34\\s+0\\s+10\\s+5\\s+49")));

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
        QVERIFY(text.contains("new run"));
        QVERIFY(!text.contains("old run"));
        QVERIFY2(text.contains("The task has no filter."), qPrintable(text));
        QVERIFY(text.contains("There are some errors in the result file."));
        QVERIFY(text.contains(QRegularExpression("6\\s+0\\s+0\\s+5\\s+11")));
    }

    // The report reads the file as the statistics do and prints points: a file the statistics
    // drop (a block cut off, a brace in a message) prints nothing of it, and a point of mark 0
    // judged 10 prints 0 beside a task total of 20.
    void printedScoresAgreeWithTheStatistics_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("summary");
        const QByteArray cut = "{a 100 Compile successfully\n101 4 0.0";
        QTest::newRow("cut off") << cut << ""
                                 << "0\\s+5\\s+5";
        QTest::newRow("brace in a message")
            << QByteArray("{a 100 Compile successfully\n101 10 0.010 saw {x\n"
                          "101 10 0.010 ok\n101 10 0.010 ok\n}102 30\n")
            << ""
            << "0\\s+5\\s+5";
        QTest::newRow("mark 0") << QByteArray("{a 100 Compile successfully\n101 10 0.010 free\n"
                                              "101 10 0.020 ok\n101 10 0.030 ok\n}102 30\n")
                                << "1\\s+0\\.010\\s+free\\s+0\\s"
                                << "20\\s+5\\s+25";
    }

    void printedScoresAgreeWithTheStatistics()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, row);
        QFETCH(QString, summary);
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{{"a", {0, 10, 10}}}});
        setup->getPlayerInfo()->addPlayerInfo("p1", "x");
        appendResult(home.path(), 1, "p1", file);
        const QString text = pdfText(render(setup.get(), 0, "p1"));
        const int total = mystat->getPlayerStat("p1").getTotal("a");
        QVERIFY2(
            text.contains(QRegularExpression(QStringLiteral("本题总得分\\s+%1\\s").arg(total))),
            qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression(summary)), qPrintable(text));
        if (row.isEmpty())
            QVERIFY(text.contains("Evaluation result file reads failed"));
        else
            QVERIFY2(text.contains(QRegularExpression(row)), qPrintable(text));
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
        QVERIFY(text.contains(QStringLiteral("成绩单")));
        QVERIFY(!text.contains(QStringLiteral("总分")));
        text = pdfText(render(setup.get(), 1, "p1"));
        QVERIFY(text.contains(QStringLiteral("机器编号:private pc")));
        QVERIFY(!text.contains(QStringLiteral("题目")));
    }

    // A task too long for the rest of the page starts a new one; one too long for any page
    // goes on over the next, so its last test point still prints.
    void pageBreaks()
    {
        QTemporaryDir home;
        auto setup = makeContest(home.path(),
                                 {{{"first", equalMarks(30, 10)}, {"long", equalMarks(90, 10)}}});
        setup->getPlayerInfo()->addPlayerInfo("p1", "x");
        QString result = "{first 100 Compile successfully\n";
        for (int i = 1; i <= 30; ++i)
            result += QStringLiteral("101 10 0.001 first%1\n").arg(i);
        result += "}102 300\n{long 100 Compile successfully\n";
        for (int i = 1; i <= 90; ++i)
            result += QStringLiteral("101 10 0.001 point%1\n").arg(i);
        appendResult(home.path(), 1, "p1", (result + "}102 900\n").toUtf8());
        const QString pdf = render(setup.get(), 0, "p1");
        const int pages = pdfPages(pdf);
        QVERIFY(pages >= 3);
        QVERIFY(!pdfText(pdf, 1).contains(QStringLiteral("题目:long")));
        QVERIFY(pdfText(pdf, 2).contains(QStringLiteral("题目:long")));
        QVERIFY(pdfText(pdf).contains("point90"));
        QVERIFY(pdfText(pdf, pages).contains(QStringLiteral("评测结果")));
    }

    void failures()
    {
        QTemporaryDir home;
        auto setup = makeContest(home.path(), {{{"a", {10}}}});
        resetStats(setup.get());
        CPrintReport noDay("/nonexistent", home.path() + "/x.pdf", true);
        QVERIFY(!noDay.print());
        QVERIFY(!QFile::exists(home.path() + "/x.pdf"));

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
            if (x >= 98 && x <= 202)
                continue;
            for (int row = 0; row < image.height(); ++row)
                QVERIFY2(image.pixel(x, row) == qRgb(255, 255, 255),
                         qPrintable(QString::number(x)));
        }
    }
};

QTEST_MAIN(TestCPrintReport)
#include "tst_cprintreport.moc"
