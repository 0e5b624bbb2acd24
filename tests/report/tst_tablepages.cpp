#include "reportcontest.h"

#include "tablepages.h"

#include <QPainter>
#include <QPrinter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestTablePages : public QObject
{
    Q_OBJECT

private:
    QString print(const QTableWidget &table, const QString &pdf, int *progressCalls)
    {
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QPainter painter;
        if (!painter.begin(&printer))
            return QString();
        drawTablePages(&printer, &painter, &table, [&](int rows) {
            ++*progressCalls;
            QCOMPARE(rows, *progressCalls);
        });
        painter.end();
        return pdf;
    }

private slots:
    // A long table: every row printed with its number, the header at the top of every page.
    void headerOnEveryPage()
    {
        QTemporaryDir dir;
        QTableWidget table(150, 3);
        table.setHorizontalHeaderLabels({QStringLiteral("编号"), QStringLiteral("姓名"), "total"});
        for (int r = 0; r < 150; ++r) {
            table.setItem(r, 0, new QTableWidgetItem(QStringLiteral("id%1").arg(r)));
            table.setItem(r, 1, new QTableWidgetItem(QStringLiteral("选手%1").arg(r)));
        }
        int calls = 0;
        const QString pdf = print(table, dir.path() + "/t.pdf", &calls);
        QCOMPARE(calls, 150);
        const int pages = pdfPages(pdf);
        QVERIFY(pages >= 3);
        for (int p = 1; p <= pages; ++p)
            QVERIFY(pdfText(pdf, p).contains(
                QRegularExpression(QStringLiteral("编号\\s+姓名\\s+total"))));
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("150\\s+id149\\s+选手149"))));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("1\\s+id0\\s+选手0"))));
    }

    void emptyTable()
    {
        QTemporaryDir dir;
        QTableWidget table(0, 2);
        int calls = 0;
        QVERIFY(!print(table, dir.path() + "/e.pdf", &calls).isEmpty());
        QCOMPARE(calls, 0);
        QVERIFY(pdfText(dir.path() + "/e.pdf").trimmed().isEmpty());
    }
};

QTEST_MAIN(TestTablePages)
#include "tst_tablepages.moc"
