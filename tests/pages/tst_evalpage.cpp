#include "cdayinfo.h"
#include "common/processes.h"
#include "common/testcontest.h"
#include "csetupinfo.h"
#include "evallist.h"
#include "getfile.h"
#include "mainwindow.h"
#include "mystat.h"
#include "mythread.h"
#include "pages/pageui.h"
#include "statsglobals.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTextEdit>
#include <QThread>

namespace
{

// Submissions read <task>.in and write <task>.out.
const char SUM_OK[] = "#include <stdio.h>\nint main(void){int a,b;freopen(\"sum.in\",\"r\",stdin);"
                      "freopen(\"sum.out\",\"w\",stdout);scanf(\"%d%d\",&a,&b);"
                      "printf(\"%d\\n\",a+b);return 0;}\n";
const char SUM_THREE[] = "#include <stdio.h>\nint main(void){freopen(\"sum.out\",\"w\",stdout);"
                         "printf(\"3\\n\");return 0;}\n";

// A contest home with one day of two tasks: "sum" (a C program, two test points) and "ans"
// (an answer file, one test point), and the players JS-1, JS-2 and ZJ-3 with their submissions.
class Contest : public TestContest
{
public:
    Contest() : TestContest(QStringLiteral("比赛 $(x)"))
    {
        day.setDayname(QStringLiteral("第一场"));
        addTask(QStringLiteral("sum"), SOURCE, 2);
        addTask(QStringLiteral("ans"), ANSWERS, 1);
        QVERIFY(save({{QStringLiteral("JS-1"), QStringLiteral("李明")},
                      {QStringLiteral("JS-2"), QStringLiteral("王芳")},
                      {QStringLiteral("ZJ-3"), QStringLiteral("张伟")}}));
        writePoint(QStringLiteral("sum"), 1, "1 2\n", "3\n");
        writePoint(QStringLiteral("sum"), 2, "5 5\n", "10\n");
        writePoint(QStringLiteral("ans"), 1, "q\n", "42\n");
        submit(QStringLiteral("JS-1"), QStringLiteral("sum"), QStringLiteral("sum.c"), SUM_OK);
        submit(QStringLiteral("JS-1"), QStringLiteral("sum"), QStringLiteral("sum.cpp"),
               "not this one\n");
        submit(QStringLiteral("JS-1"), QStringLiteral("ans"), QStringLiteral("ans1.out"), "42\n");
        submit(QStringLiteral("JS-2"), QStringLiteral("sum"), QStringLiteral("sum.c"), SUM_THREE);
        submit(QStringLiteral("JS-2"), QStringLiteral("ans"), QStringLiteral("ans1.out"), "41\n");
        submit(QStringLiteral("ZJ-3"), QStringLiteral("ans"), QStringLiteral("ans1.out"), "42\n");
    }

    QString setupFile() const { return home + QStringLiteral("/setup.cfg"); }
};

void openContest(MainWindow &w, const Contest &contest)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    openFromMenu(&w, contest.setupFile());
}

// The row whose id column holds id.
int rowOf(QTableWidget *table, const QString &id)
{
    return rowWith(table, 2, id);
}

// Ticks the players by id.
void tick(QTableWidget *table, const QStringList &ids)
{
    for (const QString &id : ids)
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(rowOf(table, id), 0)).center());
}

// Status and scores of every player after evaluating the whole day: sum, JS-1 passes both
// points, JS-2 only the first; ans: JS-1 and ZJ-3 right, JS-2 wrong.
void checkWholeDay(QTableWidget *table)
{
    const QMap<QString, QStringList> expected = {
        {"JS-1", {"测评成功", "30", "20", "10"}},
        {"JS-2", {"测评成功", "10", "10", "0"}},
        {"ZJ-3", {"测评成功", "10", "0", "10"}},
    };
    for (auto row = expected.begin(); row != expected.end(); ++row) {
        QCOMPARE(rowTexts(table, rowOf(table, row.key())).mid(3), row.value());
        // The table shows what the statistics read from the result files.
        QCOMPARE(mystat->getPlayerStat(row.key()).getTotal(0), row.value().at(1).toInt());
    }
}

void addPlayer(MainWindow &w, const QString &name, const QString &id)
{
    answerNextModal([name, id](QWidget *modal) {
        auto *ok = modal->findChild<QPushButton *>(QStringLiteral("okPB"));
        auto *nameEdit = modal->findChild<QLineEdit *>(QStringLiteral("nameLE"));
        nameEdit->setText(name);
        // The name alone does not enable the button.
        if (ok->isEnabled())
            return;
        modal->findChild<QLineEdit *>(QStringLiteral("idLE"))->setText(id);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(w, "addplayerPB"), Qt::LeftButton);
}

// Ticks the players by id, chooses the range entry and waits until the evaluation is over.
void evaluate(MainWindow &w, const QStringList &ids, int rangeItem)
{
    tick(child<QTableWidget>(w, "manageTB"), ids);
    answerNextModal([rangeItem](QWidget *modal) {
        modal->findChild<QComboBox *>()->setCurrentIndex(rangeItem);
        modal->findChild<QPushButton *>(QStringLiteral("okPB"))->click();
    });
    auto *start = child<QPushButton>(w, "evalselectedPB");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(t);
    // A second click before the first player's signal must not start a second thread.
    QVERIFY(!start->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!t && start->isEnabled(), 60000);
}

// Opens the contest on the evaluation tab, which shows the first day.
void openEvalTab(MainWindow &w, const Contest &contest)
{
    openContest(w, contest);
    child<QTabWidget>(w, "tabWidget")->setCurrentIndex(1);
}

} // namespace

class TestEvalPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void managesPlayerList();
    void evaluatesTickedPlayers();
    void evaluationThatCannotStart();
    void evaluatesSeveralAtOnce();
    void sandboxUnavailable();
    void showsPlayerPrograms();
    void deletedDayKeepsItsFilesUntilSaved();
    void failedEvaluationsShownForTheirDay();
    void opensOnFirstDayWithStatusFromFiles();
    void quittingStopsTheEvaluation_data();
    void quittingStopsTheEvaluation();
};

// A submission uid of this test's own: a fork bomb of a test running beside it as root takes the
// whole process limit of its uid for a moment, which would fail a compilation here.
void TestEvalPage::initTestCase()
{
    setSubmissionUid(kSubmissionUid + 91);
}

void TestEvalPage::managesPlayerList()
{
    Contest contest;
    MainWindow w;
    openContest(w, contest);
    auto *table = child<QTableWidget>(w, "manageTB");
    QCOMPARE(column(table, 2), QStringList({"JS-1", "JS-2", "ZJ-3"}));
    QCOMPARE(column(table, 1), QStringList({"江苏", "江苏", "浙江"}));
    QCOMPARE(column(table, 3), QStringList({"未测评", "未测评", "未测评"}));

    Answered seen;
    answerMessageBox(&seen);
    addPlayer(w, QStringLiteral("重名"), QStringLiteral("js-1"));
    QTRY_COMPARE(seen.text, QStringLiteral("选手编号重复!"));
    QCOMPARE(seen.title, QStringLiteral("Error!"));
    QCOMPARE(table->rowCount(), 3);
    // An id holding the list separator would be read back as another player.
    answerMessageBox(&seen);
    addPlayer(w, QStringLiteral("张三"), QStringLiteral("JS@09"));
    QTRY_COMPARE(seen.text, QStringLiteral("编号不能含有 @!"));
    QCOMPARE(table->rowCount(), 3);

    auto *tickAll = child<QPushButton>(w, "mselectallPB");
    QTest::mouseClick(tickAll, Qt::LeftButton);
    QCOMPARE(tickAll->text(), QStringLiteral("取消全选"));
    addPlayer(w, QStringLiteral("Wang"), QStringLiteral("SH-9"));
    QCOMPARE(table->rowCount(), 4);
    const int added = rowOf(table, QStringLiteral("SH-9"));
    QCOMPARE(table->item(added, 0)->checkState(), Qt::Checked);
    QCOMPARE(table->item(added, 1)->text(), QStringLiteral("上海"));
    QTest::mouseClick(tickAll, Qt::LeftButton);
    QCOMPARE(table->item(added, 0)->checkState(), Qt::Unchecked);

    // Each search column, then the empty search showing everyone again.
    auto *field = child<QComboBox>(w, "findCB");
    auto *search = child<QLineEdit>(w, "findLE");
    const QList<QPair<int, QString>> searches = {{0, "王"}, {1, "江"}, {2, "-3"}};
    const QList<QStringList> found = {{"JS-2"}, {"JS-1", "JS-2", "ZJ-3"}, {"ZJ-3"}};
    for (int i = 0; i < searches.size(); ++i) {
        field->setCurrentIndex(searches[i].first);
        search->setText(searches[i].second);
        QTest::mouseClick(child<QPushButton>(w, "findPB"), Qt::LeftButton);
        QCOMPARE(column(table, 2), found[i]);
    }
    // Return in the box searches as the button does, whose icon says what it is in a tooltip.
    QVERIFY(!child<QPushButton>(w, "findPB")->toolTip().isEmpty());
    search->setText(QStringLiteral("JS-"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(column(table, 2), QStringList({"JS-1", "JS-2"}));
    search->clear();
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(table->rowCount(), 4);

    // Space ticks and unticks the current player.
    child<QTabWidget>(w, "tabWidget")->setCurrentIndex(1);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    table->setFocus();
    table->setCurrentCell(rowOf(table, QStringLiteral("JS-2")), 2);
    QTest::keyClick(table, Qt::Key_Space);
    QCOMPARE(table->item(rowOf(table, QStringLiteral("JS-2")), 0)->checkState(), Qt::Checked);
    QCOMPARE(table->item(rowOf(table, QStringLiteral("JS-1")), 0)->checkState(), Qt::Unchecked);
    QTest::keyClick(table, Qt::Key_Space);
    QCOMPARE(table->item(rowOf(table, QStringLiteral("JS-2")), 0)->checkState(), Qt::Unchecked);

    // Export, then import a list that replaces the registry and the rows.
    const QString exported = contest.base.path() + QStringLiteral("/名单.txt");
    QString proposed;
    FileDialogs::replaceSaveFileName(
        [exported, &proposed](QWidget *, const QString &, const QString &dir, const QString &) {
            proposed = dir;
            return exported;
        });
    w.getSetupInfo()->setContestName(QStringLiteral("校赛"));
    answerMessageBox(&seen);
    QTest::mouseClick(child<QPushButton>(w, "exportplayerPB"), Qt::LeftButton);
    FileDialogs::replaceSaveFileName({});
    QCOMPARE(seen.text, QStringLiteral("导出完成"));
    QCOMPARE(proposed, FileDialogs::startDirectory() + QStringLiteral("/校赛-选手名单.txt"));
    QCOMPARE(QString::fromUtf8(readFile(exported)),
             QStringLiteral("JS-1,李明\nJS-2,王芳\nZJ-3,张伟\nSH-9,Wang\n"));
    contest.write(QStringLiteral("list.txt"), "BJ-5,赵\nJS@9,孙\nGD-6,钱\n");
    const QString list = contest.home + QStringLiteral("/list.txt");
    answerMessageBox(&seen);
    withOpenFile(
        list, [&w] { QTest::mouseClick(child<QPushButton>(w, "importplayerPB"), Qt::LeftButton); });
    QCOMPARE(seen.text, QStringLiteral("第 2 行没有导入: 编号不能含有 @ (JS@9)"));
    QCOMPARE(column(table, 2), QStringList({"BJ-5", "GD-6"}));
    QCOMPARE(w.getSetupInfo()->getPlayerInfo()->getPlayerInfo()->size(), 2);

    // The fetch dialog opens over the window for the open contest.
    bool fetchOpened = false;
    answerNextModal([&fetchOpened, &w](QWidget *modal) {
        fetchOpened = qobject_cast<GetFile *>(modal) && modal->parentWidget() == &w;
        modal->close();
    });
    QTest::mouseClick(child<QPushButton>(w, "downdirPB"), Qt::LeftButton);
    QVERIFY(fetchOpened);

    // Deleting needs a current row.
    table->setCurrentCell(-1, -1);
    QTest::mouseClick(child<QPushButton>(w, "delplayerPB"), Qt::LeftButton);
    QCOMPARE(table->rowCount(), 2);
    table->setCurrentCell(rowOf(table, QStringLiteral("BJ-5")), 2);
    QTest::mouseClick(child<QPushButton>(w, "delplayerPB"), Qt::LeftButton);
    QCOMPARE(column(table, 2), QStringList({"GD-6"}));
    QVERIFY(!w.getSetupInfo()->getPlayerInfo()->getPlayerInfoById(QStringLiteral("BJ-5")));
}

void TestEvalPage::evaluatesTickedPlayers()
{
    Contest contest;
    MainWindow w;
    openContest(w, contest);
    auto *table = child<QTableWidget>(w, "manageTB");
    auto *tabs = child<QTabWidget>(w, "tabWidget");
    auto *day = child<QSpinBox>(w, "evaldaySB");
    tabs->setCurrentIndex(1);

    Answered seen;
    answerMessageBox(&seen);
    day->setValue(0);
    clickButton(&w, "evalselectedPB");
    QCOMPARE(seen.text, QStringLiteral("请选择评测场次!"));
    day->setValue(1);
    QCOMPARE(table->columnCount(), 7);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("sum"));
    QCOMPARE(table->horizontalHeaderItem(6)->text(), QStringLiteral("ans"));
    answerMessageBox(&seen);
    clickButton(&w, "evalselectedPB");
    QCOMPARE(seen.text, QStringLiteral("请选择评测选手!"));
    QVERIFY(!t);

    // ZJ-3 first, on the answer task only ("ans" is the range dialog's item 2): its sum
    // column stays 0 since nothing of sum was evaluated. ZJ-3 stays ticked for the second run.
    evaluate(w, {QStringLiteral("ZJ-3")}, 2);
    int r = rowOf(table, QStringLiteral("ZJ-3"));
    QCOMPARE(table->item(r, 6)->text(), QStringLiteral("10"));
    QCOMPARE(table->item(r, 5)->text(), QStringLiteral("0"));
    QCOMPARE(table->item(r, 3)->text(), QStringLiteral("测评成功"));
    QVERIFY(!QFile::exists(contest.home + QStringLiteral("/result/day1/JS-1")));

    auto *bar = child<QProgressBar>(w, "evalB");
    QSignalSpy progress(bar, &QProgressBar::valueChanged);
    QSignalSpy statTab(tabs, &QTabWidget::currentChanged);
    evaluate(w, {QStringLiteral("JS-1"), QStringLiteral("JS-2")}, 0);
    QList<int> steps;
    for (const QList<QVariant> &args : progress)
        steps << args.at(0).toInt();
    QCOMPARE(steps, QList<int>({0, 1, 2, 3}));
    QCOMPARE(child<QLabel>(w, "fevalTL")->text(), QStringLiteral("3"));
    QCOMPARE(child<QLabel>(w, "tevalTL")->text(), QStringLiteral("3"));
    QCOMPARE(bar->maximum(), 3);
    QVERIFY(tabs->isTabEnabled(0) && tabs->isTabEnabled(2) && day->isEnabled());
    QVERIFY(child<QPushButton>(w, "addplayerPB")->isEnabled());

    checkWholeDay(table);
}

// Two workers at once: the same statuses, scores and progress as one player at a time, and the
// controls come back only when every worker has ended.
void TestEvalPage::evaluatesSeveralAtOnce()
{
    qputenv("TALDON_CLI", qgetenv("TALDON_BINARY_DIR") + "/cli/taldon-cli");
    Contest contest;
    MainWindow w;
    openEvalTab(w, contest);
    auto *jobs = child<QSpinBox>(w, "evaljobsSB");
    QCOMPARE(jobs->maximum(), QThread::idealThreadCount());
    jobs->setValue(2);
    auto *table = child<QTableWidget>(w, "manageTB");
    tick(table, {"JS-1", "JS-2", "ZJ-3"});
    answerOk();
    Answered asked;
    QTimer::singleShot(0, [&asked] { answerMessageBox(&asked, QMessageBox::Yes); });
    auto *start = child<QPushButton>(w, "evalselectedPB");
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(asked.title, QStringLiteral("同时评测"));
    QVERIFY(!start->isEnabled() && !jobs->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(start->isEnabled(), 60000);
    QCOMPARE(child<QLabel>(w, "fevalTL")->text(), QStringLiteral("3"));
    QCOMPARE(child<QProgressBar>(w, "evalB")->value(), 3);
    checkWholeDay(table);
    qunsetenv("TALDON_CLI");
}

void TestEvalPage::evaluationThatCannotStart()
{
    Contest contest;
    MainWindow w;
    openEvalTab(w, contest);
    QVERIFY(QDir(contest.home + QStringLiteral("/tmp")).removeRecursively());

    auto *table = child<QTableWidget>(w, "manageTB");
    tick(table, {"JS-1"});
    answerOk();
    Answered seen;
    QTimer::singleShot(0, [&seen] { answerMessageBox(&seen); });
    clickButton(&w, "evalselectedPB");
    QTRY_COMPARE_WITH_TIMEOUT(seen.title, QStringLiteral("Error"), 10000);
    QVERIFY(seen.text.contains(QStringLiteral("/tmp")));
    QTRY_VERIFY(!t);
    QVERIFY(child<QPushButton>(w, "evalselectedPB")->isEnabled());
    QVERIFY(child<QTabWidget>(w, "tabWidget")->isTabEnabled(0));
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("未测评"));
}

// Without the sandbox the window warns once and evaluates with the plain protections; with the
// full sandbox required it refuses.
void TestEvalPage::sandboxUnavailable()
{
    qputenv("TALDON_SANDBOX", "off");
    Contest contest;
    MainWindow w;
    openEvalTab(w, contest);
    auto *table = child<QTableWidget>(w, "manageTB");
    const int r = rowOf(table, QStringLiteral("ZJ-3"));
    tick(table, {"ZJ-3"});
    auto *start = child<QPushButton>(w, "evalselectedPB");
    auto answerRange = [] {
        answerNextModal([](QWidget *modal) {
            modal->findChild<QComboBox *>()->setCurrentIndex(2);
            modal->findChild<QPushButton *>(QStringLiteral("okPB"))->click();
        });
    };
    Answered seen;
    answerRange();
    QTimer::singleShot(0, [&seen] { answerMessageBox(&seen); });
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(seen.title, QStringLiteral("Warning"));
    QVERIFY(seen.text.contains(QStringLiteral("TALDON_SANDBOX=off")));
    QTRY_VERIFY_WITH_TIMEOUT(!t && start->isEnabled(), 60000);
    QCOMPARE(table->item(r, 6)->text(), QStringLiteral("10"));

    // Said once: the second evaluation starts without a box.
    seen = {};
    answerRange();
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(t);
    QTRY_VERIFY_WITH_TIMEOUT(!t && start->isEnabled(), 60000);
    QCOMPARE(seen.title, QString());

    child<QAction>(w, "requireSandboxAct")->setChecked(true);
    answerRange();
    QTimer::singleShot(0, [&seen] { answerMessageBox(&seen); });
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(seen.title, QStringLiteral("Error"));
    QVERIFY(!t);
    QVERIFY(start->isEnabled());
    qunsetenv("TALDON_SANDBOX");
}

// The viewer lists the tasks by day, shows a source (the .c before the .cpp), a GBK source
// decoded, an answer-file task's .out files, and a same-named task of another day its own file.
void TestEvalPage::showsPlayerPrograms()
{
    Contest contest;
    MainWindow w;
    openContest(w, contest);
    // A typed id may not climb out of the day to a program lying beside the day directories.
    contest.write(QStringLiteral("players/sum/sum.c"), SUM_THREE);
    // "// 中文" in GBK, with Windows line ends.
    contest.write(QStringLiteral("players/day1/JS-2/sum/sum.c"),
                  "// \xd6\xd0\xce\xc4\r\nint main(void){return 0;}\r\n");
    auto *second = new CDayInfo;
    auto *task = new CTaskInfo;
    task->setTaskname(QStringLiteral("sum"));
    second->addATask(task);
    w.getSetupInfo()->addADay(second);
    contest.write(QStringLiteral("players/day2/JS-1/sum/sum.py"), "print(1)\n");

    auto *table = child<QTableWidget>(w, "manageTB");
    QStringList tasks, shown;
    answerNextModal([&tasks, &shown](QWidget *modal) {
        auto *text = modal->findChild<QTextEdit *>(QStringLiteral("showTE"));
        auto *list = modal->findChild<QComboBox *>(QStringLiteral("taskCB"));
        for (int i = 0; i < list->count(); ++i)
            tasks << list->itemText(i);
        for (int i : {0, 1, 2}) {
            list->setCurrentIndex(i);
            shown << text->toPlainText();
        }
        auto *id = modal->findChild<QLineEdit *>(QStringLiteral("idTL"));
        list->setCurrentIndex(0);
        id->setText(QStringLiteral("JS-2"));
        shown << text->toPlainText();
        list->setCurrentIndex(1);
        shown << text->toPlainText();
        id->setText(QStringLiteral(".."));
        list->setCurrentIndex(0);
        shown << text->toPlainText();
        modal->close();
    });
    const QPoint cell = table->visualItemRect(table->item(rowOf(table, "JS-1"), 2)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
    QTRY_COMPARE(tasks, QStringList({"第1场 sum", "第1场 ans", "第2场 sum"}));
    QCOMPARE(shown, QStringList({QString::fromLatin1(SUM_OK), "===== ans1.out =====\n42\n",
                                 "print(1)\n", "// 中文\nint main(void){return 0;}\n",
                                 "===== ans1.out =====\n41\n", "找不到答案文件"}));
}

// Day 2 of three, with a result file, is deleted: the former day 3 is evaluated in its own
// directories until Save renames them, and the deleted day's files are kept aside.
void TestEvalPage::deletedDayKeepsItsFilesUntilSaved()
{
    Contest contest;
    {
        CSetupInfo three(contest.setupFile());
        for (const char *name : {"第二场", "第三场"}) {
            auto *day = new CDayInfo(*three.getDayInfo(0));
            day->setDayname(QString::fromUtf8(name));
            three.addADay(day);
        }
        QVERIFY(three.saveSetupInfo());
    }
    const QByteArray old =
        "{sum 100 Compile successfully\n101 0 0.010 old\n101 0 0.010 old\n}102 0\n";
    QVERIFY(writeFile(contest.home + QStringLiteral("/result/day2/JS-1/JS-1.result"), old));
    contest.write(QStringLiteral("players/day3/JS-1/sum/sum.c"), SUM_OK);
    MainWindow w;
    openContest(w, contest);
    auto *tree = child<QTreeWidget>(w, "proLV");

    Answered seen;
    answerMessageBox(&seen, QMessageBox::No);
    treeContextMenu(tree, tree->topLevelItem(1), QStringLiteral("删除"));
    QCOMPARE(seen.title, QStringLiteral("删除考试"));
    QVERIFY2(seen.text.contains(QStringLiteral("\nplayers/day3 → players/day2\n"
                                               "result/day2 → result/day2.deleted\n")),
             qPrintable(seen.text));
    QCOMPARE(w.getSetupInfo()->getDayNum(), 3);
    answerMessageBox(&seen, QMessageBox::Yes);
    treeContextMenu(tree, tree->topLevelItem(1), QStringLiteral("删除"));
    QCOMPARE(w.getSetupInfo()->getDayNum(), 2);

    child<QTabWidget>(w, "tabWidget")->setCurrentIndex(1);
    child<QSpinBox>(w, "evaldaySB")->setValue(2);
    evaluate(w, {QStringLiteral("JS-1")}, 1);
    auto *table = child<QTableWidget>(w, "manageTB");
    QCOMPARE(table->item(rowOf(table, QStringLiteral("JS-1")), 5)->text(), QStringLiteral("20"));
    const QString day3 = contest.home + QStringLiteral("/result/day3/JS-1/JS-1.result");
    QVERIFY(readFile(day3).startsWith("{sum 100 Compile successfully\n101 10 "));
    QCOMPARE(readFile(contest.home + QStringLiteral("/result/day2/JS-1/JS-1.result")), old);

    child<QAction>(w, "saveGameAct")->trigger();
    QVERIFY(readFile(contest.home + QStringLiteral("/result/day2/JS-1/JS-1.result"))
                .startsWith("{sum 100 Compile successfully\n101 10 "));
    QCOMPARE(readFile(contest.home + QStringLiteral("/result/day2.deleted/JS-1/JS-1.result")), old);
    QCOMPARE(readFile(contest.home + QStringLiteral("/players/day2/JS-1/sum/sum.c")),
             QByteArray(SUM_OK));
    QVERIFY(!QFileInfo::exists(contest.home + QStringLiteral("/players/day3")));
    QVERIFY(!QFileInfo::exists(contest.home + QStringLiteral("/result/day3")));
}

// Missing test data, a task without filter and a task refused for its name fail the evaluation:
// each row says why, the line under the table says it once per cause, and the status is read
// again from the result files for the day shown.
void TestEvalPage::failedEvaluationsShownForTheirDay()
{
    Contest contest;
    {
        CSetupInfo setup(contest.setupFile());
        CDayInfo *day = setup.getDayInfo(0);
        day->getTaskInfo(1)->setPlugname(QString());
        auto *named = new CTaskInfo(*day->getTaskInfo(0));
        named->setTaskname(QStringLiteral("two words"));
        day->addATask(named);
        setup.addADay(new CDayInfo(*day));
        QVERIFY(setup.saveSetupInfo());
    }
    QVERIFY(QFile::remove(contest.home + QStringLiteral("/evaldata/sum2.ans")));
    MainWindow w;
    openContest(w, contest);
    child<QTabWidget>(w, "tabWidget")->setCurrentIndex(1);
    auto *day = child<QSpinBox>(w, "evaldaySB");
    day->setValue(1);
    auto *table = child<QTableWidget>(w, "manageTB");
    auto *failures = child<QLabel>(w, "failuresTL");
    QVERIFY(failures->isHidden());
    evaluate(w, {QStringLiteral("JS-1"), QStringLiteral("JS-2")}, 0);

    const QStringList causes = {
        QStringLiteral("sum: Test data evaldata/sum2.ans not found."),
        QStringLiteral("ans: The task has no filter: choose its comparison method."),
        QStringLiteral("two words: a task name must be one word without braces or '/'")};
    const auto check = [&] {
        QCOMPARE(column(table, 3), QStringList({"测评失败", "测评失败", "未测评"}));
        QCOMPARE(table->item(0, 3)->toolTip(), causes.join('\n'));
        QVERIFY(!failures->isHidden());
        QCOMPARE(failures->text(), QStringLiteral("测评失败 (2 名选手) ") +
                                       causes.join(QStringLiteral("\n测评失败 (2 名选手) ")));
    };
    check();
    QVERIFY(readFile(contest.home + QStringLiteral("/result/day1/JS-1/JS-1.result"))
                .startsWith("{sum -106 Test data evaldata/sum2.ans not found.\n"));

    day->setValue(2);
    QCOMPARE(column(table, 3), QStringList({"未测评", "未测评", "未测评"}));
    QVERIFY(failures->isHidden());
    day->setValue(1);
    check();
}

// A contest evaluated earlier, by taldon-cli say, opens on its first day with the statuses
// that the result files give, by the rules of a live evaluation; another day shows its own.
void TestEvalPage::opensOnFirstDayWithStatusFromFiles()
{
    Contest contest;
    {
        CSetupInfo setup(contest.setupFile());
        auto *second = new CDayInfo(*setup.getDayInfo(0));
        second->getTaskInfo(0)->setTaskname(QStringLiteral("add"));
        second->getTaskInfo(1)->setTaskname(QStringLiteral("key"));
        setup.addADay(second);
        QVERIFY(setup.saveSetupInfo());
    }
    const QByteArray sum =
        "{sum 100 Compile successfully\n101 10 0.010 ok\n101 10 0.020 ok\n}102 20\n";
    const QByteArray ans = "{ans 100 Evaluate answer files.\n101 10 0.000 ok\n}102 10\n";
    const QByteArray missing = "{sum -106 Test data evaldata/sum2.ans not found.\n"
                               "-106 0 ? Test data evaldata/sum2.ans not found.\n}102 0\n";
    contest.write(QStringLiteral("result/day1/JS-1/JS-1.result"), sum + ans);
    contest.write(QStringLiteral("result/day1/JS-2/JS-2.result"), ans);
    contest.write(QStringLiteral("result/day1/ZJ-3/ZJ-3.result"), missing + ans);
    contest.write(QStringLiteral("result/day2/JS-2/JS-2.result"),
                  QByteArray(sum).replace("{sum", "{add") +
                      QByteArray(ans).replace("{ans", "{key"));
    MainWindow w;
    openEvalTab(w, contest);
    auto *day = child<QSpinBox>(w, "evaldaySB");
    auto *table = child<QTableWidget>(w, "manageTB");
    auto *failures = child<QLabel>(w, "failuresTL");
    QCOMPARE(day->value(), 1);
    QCOMPARE(table->columnCount(), 7);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("sum"));
    QCOMPARE(table->horizontalHeaderItem(6)->text(), QStringLiteral("ans"));
    QCOMPARE(column(table, 2), QStringList({"JS-1", "JS-2", "ZJ-3"}));
    QCOMPARE(column(table, 3), QStringList({"测评成功", "测评成功", "测评失败"}));
    QCOMPARE(column(table, 4), QStringList({"30", "10", "10"}));
    const QString cause = QStringLiteral("sum: Test data evaldata/sum2.ans not found.");
    QStringList tips;
    for (int r = 0; r < 3; ++r)
        tips << table->item(r, 3)->toolTip();
    QCOMPARE(tips, QStringList({QString(), QStringLiteral("未测评: sum"), cause}));
    QCOMPARE(failures->text(), QStringLiteral("测评失败 (1 名选手) ") + cause);

    day->setValue(2);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("add"));
    QCOMPARE(table->horizontalHeaderItem(6)->text(), QStringLiteral("key"));
    QCOMPARE(column(table, 3), QStringList({"未测评", "测评成功", "未测评"}));
    QCOMPARE(column(table, 4), QStringList({"0", "30", "0"}));
    QVERIFY(failures->isHidden());
}

// Closing during an evaluation, by one thread or by worker processes, asks whether to stop it;
// stopping ends the runs at once, leaves the players' blocks complete and evaluates nobody else.
void TestEvalPage::quittingStopsTheEvaluation_data()
{
    QTest::addColumn<int>("jobs");
    QTest::newRow("thread") << 1;
    QTest::newRow("workers") << 2;
}

void TestEvalPage::quittingStopsTheEvaluation()
{
    QFETCH(int, jobs);
    qputenv("TALDON_CLI", qgetenv("TALDON_BINARY_DIR") + "/cli/taldon-cli");
    Contest contest;
    {
        CSetupInfo setup(contest.setupFile());
        setup.getDayInfo(0)->getTaskInfo(0)->setTimelimit(5);
        QVERIFY(setup.saveSetupInfo());
    }
    const QStringList ids{"JS-1", "JS-2", "ZJ-3"};
    for (int r = 0; r < jobs; ++r)
        contest.submit(ids[r], QStringLiteral("sum"), QStringLiteral("sum.c"),
                       "int main(void){for(;;);}\n");
    const auto running = [jobs] {
        return countProcessesNamed(QStringLiteral("sum"), submissionUsers(jobs));
    };
    MainWindow w;
    openEvalTab(w, contest);
    child<QSpinBox>(w, "evaljobsSB")->setValue(jobs);
    auto *table = child<QTableWidget>(w, "manageTB");
    tick(table, ids.mid(0, jobs + 1));
    answerOk();
    if (jobs > 1)
        QTimer::singleShot(0, [] { answerMessageBox(nullptr, QMessageBox::Yes); });
    clickButton(&w, "evalselectedPB");
    QTRY_COMPARE_WITH_TIMEOUT(running(), jobs, 30000);

    Answered seen;
    answerMessageBox(&seen, QMessageBox::No);
    QVERIFY(!w.close());
    QCOMPARE(seen.text, QStringLiteral("正在评测, 确定停止评测并关闭?"));
    QCOMPARE(running(), jobs);
    QElapsedTimer clock;
    clock.start();
    answerMessageBox(&seen, QMessageBox::Yes);
    QVERIFY(w.close());
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!w.isVisible());
    QCOMPARE(running(), 0);
    for (int r = 0; r < jobs; ++r)
        QCOMPARE(contest.result(ids[r]),
                 QStringLiteral("{sum 100 Compile successfully\n-106 0 T Evaluation stopped.\n"
                                "-106 0 T Evaluation stopped.\n}102 0\n"));
    QCOMPARE(contest.result(ids[jobs]), QStringLiteral("<no result file>"));
    qunsetenv("TALDON_CLI");
}

QTEST_MAIN(TestEvalPage)
#include "tst_evalpage.moc"
