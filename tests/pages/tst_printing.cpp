#include "cfinalprint.h"
#include "csetupinfo.h"
#include "mainwindow.h"
#include "printdialogseam.h"
#include "statsglobals.h"

#include "pages/pageui.h"
#include "report/reportcontest.h"

#include <QMap>
#include <QPrinter>
#include <QProgressBar>
#include <QTemporaryDir>

namespace
{

// Picks entry `index` of the day dialog (0 is the placeholder), keeping its entries, and presses
// a button.
void answerDayDialog(QStringList *entries, int index, const char *button)
{
    answerNextModal([entries, index, button](QWidget *modal) {
        auto *combo = child<QComboBox>(modal, "selectCB");
        for (int i = 0; i < combo->count(); ++i)
            *entries << combo->itemText(i);
        combo->setCurrentIndex(index);
        clickButton(modal, button);
    });
}

// The progress dialog's title, text and bar when it reads "Done...", when its OK closes it; the
// error box that may come before gives error. The dialog is modal while it works, too.
struct Progress {
    QString title, text, error;
    int value = -1, maximum = -1;
};

void answerProgress(Progress *seen)
{
    const auto doneOrError = []() -> QWidget * {
        QWidget *modal = QApplication::activeModalWidget();
        auto *label = modal ? modal->findChild<QLabel *>("pProgressText") : nullptr;
        return (label && label->text() == "Done...") || qobject_cast<QMessageBox *>(modal)
                   ? modal
                   : nullptr;
    };
    answerWhenOpen(
        doneOrError,
        [seen](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen->error = box->text();
                box->accept();
                return answerProgress(seen);
            }
            auto *bar = child<QProgressBar>(modal, "ppbProgress");
            *seen = {modal->windowTitle(), child<QLabel>(modal, "pProgressText")->text(),
                     seen->error, bar->value(), bar->maximum()};
            clickButton(modal, "okPB");
        },
        3000);
}

void clickOnStatisticsTab(MainWindow *window, const char *button)
{
    window->show();
    child<QTabWidget>(window, "tabWidget")->setCurrentIndex(2);
    clickButton(window, button);
}

// The words printed on the line of the first word `first` of a page, left to right.
QString lineOf(const QString &pdf, int page, const QString &first)
{
    const QList<QPair<QString, QRectF>> words = pdfWords(pdf, page);
    QRectF line;
    for (const auto &word : words) {
        if (word.first == first && line.isNull())
            line = word.second;
    }
    QMap<qreal, QString> onLine;
    for (const auto &word : words) {
        if (word.second.bottom() > line.top() && word.second.top() < line.bottom())
            onLine.insert(word.second.left(), word.first);
    }
    return QStringList(onLine.values()).join(' ');
}

// Three days; five players, of whom two have results for day 2 and one for day 1.
void openContest(MainWindow *window, const QString &home)
{
    auto setup = makeContest(home, {{{"a", {10}}}, {{"b", {10, 10}}}, {{"c", {10}}}});
    for (const char *id : {"p1", "p2", "p 3", "p4", "p5"})
        setup->getPlayerInfo()->addPlayerInfo(id, "选手");
    QVERIFY(setup->saveSetupInfo(home));
    const QByteArray block =
        "{b 100 Compile successfully\n101 10 0.1 ok\n101 5 0.2 half\n}102 15\n";
    appendResult(home, 2, "p2", block);
    appendResult(home, 2, "p 3", block);
    appendResult(home, 1, "p1", "{a 100 Compile successfully\n101 10 0.1 ok\n}102 10\n");
    openFromMenu(window, home + "/setup.cfg");
    QVERIFY(window->getSetupInfo());
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        resetStats(nullptr);
        setPrintDialogHook(nullptr);
    }

    // The table printer prints where the dialog says with the header on every page, ends on
    // "Done..."; a cancelled dialog prints nothing.
    void tablePrinting()
    {
        QTemporaryDir dir;
        QTableWidget table(150, 2);
        table.setHorizontalHeaderLabels({"编号", "总分"});
        for (int r = 0; r < 150; ++r)
            table.setItem(r, 0, new QTableWidgetItem(QString("GD-%1").arg(r)));
        table.setItem(0, 1, new QTableWidgetItem("97"));
        const QString pdf = dir.path() + "/t.pdf";
        setPrintDialogHook([&](QPrinter *printer, QWidget *) {
            printer->setOutputFileName(pdf);
            return true;
        });
        Progress progress;
        answerProgress(&progress);
        CFinalPrint printer(&table, nullptr);
        printer.setTitle("总体成绩打印");
        printer.setContestName("市程序设计竞赛");
        QVERIFY(printer.print());
        QCOMPARE(progress.text + QString::number(progress.value), QString("Done...150"));
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QRegularExpression("1\\s+GD-0\\s+97")));
        QVERIFY(text.contains(QRegularExpression("150\\s+GD-149")));
        QCOMPARE(text.count("GD-"), 150);
        // The header heads every page; the footer, on a line of its own, numbers it.
        const int pages = pdfPages(pdf);
        QVERIFY(pages >= 3);
        for (int page = 1; page <= pages; ++page) {
            QVERIFY(pdfText(pdf, page).contains(QRegularExpression("编号\\s+总分")));
            QCOMPARE(lineOf(pdf, page, "市程序设计竞赛"),
                     QString("市程序设计竞赛 第 %1 页 / 共 %2 页").arg(page).arg(pages));
        }
        QFile::remove(pdf);
        setPrintDialogHook([](QPrinter *, QWidget *) { return false; });
        QVERIFY(!printer.print());
        QVERIFY(!QFile::exists(pdf));
    }

    // Without a contest the commands do nothing at all. Answering No prints nothing, nor does
    // the day dialog's placeholder or Cancel; Yes prints the overall table as the tab shows it.
    void windowPrinting()
    {
        QTemporaryDir home;
        const QString pdf = home.path() + "/final.pdf";
        bool asked = false;
        setPrintDialogHook([&](QPrinter *printer, QWidget *) {
            printer->setOutputFileName(pdf);
            return asked = true;
        });
        MainWindow empty;
        empty.printfinalSlot();
        empty.printselectedSlot();
        empty.printTeamPBSlot();
        QVERIFY(!QApplication::activeModalWidget());
        MainWindow window;
        openContest(&window, home.path());
        Answered question;
        answerMessageBox(&question, QMessageBox::No);
        clickOnStatisticsTab(&window, "printfinal_sPB");
        QCOMPARE(question.text, QString("确定打印总成绩表?"));
        QVERIFY(!asked);
        QStringList entries;
        for (const char *button : {"okPB", "cancelPB"}) {
            answerDayDialog(&entries, button == QByteArray("okPB") ? 0 : 1, button);
            window.printselectedSlot();
        }
        QVERIFY(!QFile::exists(home.path() + "/ps"));

        // The day dialog offers every day; the day's reports are written for the players with
        // results there, the progress counting all five; a report that cannot be written is named.
        QVERIFY(writeFile(home.path() + "/ps/day2/p2", "in the way of a directory"));
        entries.clear();
        Progress progress;
        answerDayDialog(&entries, 2, "okPB");
        answerProgress(&progress);
        clickOnStatisticsTab(&window, "printselectedPB");
        QCOMPARE(entries, QStringList({"请选择", "第1场", "第2场", "第3场"}));
        QCOMPARE(progress.title, QString("打印成绩"));
        QCOMPARE(QList<int>({progress.value, progress.maximum}), QList<int>({5, 5}));
        QVERIFY2(progress.error.contains("p2"), qPrintable(progress.error));
        QVERIFY(QFile::exists(home.path() + "/ps/day2/p 3/p 3.pdf"));
        QVERIFY(!QFile::exists(home.path() + "/ps/day1"));

        answerMessageBox(nullptr, QMessageBox::Yes);
        answerProgress(&progress);
        clickOnStatisticsTab(&window, "printfinal_sPB");
        QCOMPARE(progress.title, QString("总体成绩打印"));
        QCOMPARE(progress.value, 5);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QRegularExpression("编号.*\\s+2\\s+p2\\s+选手\\s+0\\s+15",
                                                  QRegularExpression::DotMatchesEverythingOption)),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
