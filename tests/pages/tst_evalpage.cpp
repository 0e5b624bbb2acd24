#include "cdayinfo.h"
#include "common/processes.h"
#include "common/testcontest.h"
#include "csetupinfo.h"
#include "evallist.h"
#include "mainwindow.h"
#include "mythread.h"
#include "pages/pageui.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QSignalSpy>

namespace
{

// Submissions read <task>.in and write <task>.out.
const char SUM_OK[] = "#include <stdio.h>\nint main(void){int a,b;freopen(\"sum.in\",\"r\",stdin);"
                      "freopen(\"sum.out\",\"w\",stdout);scanf(\"%d%d\",&a,&b);"
                      "printf(\"%d\\n\",a+b);return 0;}\n";

// One day of two tasks: "sum" (a C program, two test points) and "ans" (an answer file, one test
// point), and the players JS-1, JS-2 and ZJ-3 with their submissions.
class Contest : public TestContest
{
public:
    Contest() : TestContest("比赛 $(x)")
    {
        day.setDayname("第一场");
        addTask("sum", SOURCE, 2);
        addTask("ans", ANSWERS, 1);
        QVERIFY(save({{"JS-1", "李明"}, {"JS-2", "王芳"}, {"ZJ-3", "张伟"}}));
        writePoint("sum", 1, "1 2\n", "3\n");
        writePoint("sum", 2, "5 5\n", "10\n");
        writePoint("ans", 1, "q\n", "42\n");
        submit("JS-1", "sum", "sum.c", SUM_OK);
        submit("JS-1", "sum", "sum.cpp", "not this one\n");
        submit("JS-1", "ans", "ans1.out", "42\n");
        submit("JS-2", "sum", "sum.c",
               "#include <stdio.h>\nint main(void){freopen(\"sum.out\",\"w\",stdout);"
               "printf(\"3\\n\");return 0;}\n");
        submit("JS-2", "ans", "ans1.out", "41\n");
        submit("ZJ-3", "ans", "ans1.out", "42\n");
    }

    QString setupFile() const { return home + "/setup.cfg"; }

    // Writes the records again after changing them.
    template <typename Change> void rewrite(Change change)
    {
        CSetupInfo setup(setupFile());
        change(setup);
        QVERIFY(setup.saveSetupInfo());
    }
};

// Opens the contest, on the evaluation tab (which shows the first day) when evalTab.
void openContest(MainWindow &w, const Contest &contest, bool evalTab = false)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    openFromMenu(&w, contest.setupFile());
    if (evalTab)
        child<QTabWidget>(&w, "tabWidget")->setCurrentIndex(1);
}

int rowOf(QTableWidget *table, const QString &id)
{
    return column(table, 2).indexOf(id);
}

QStringList evalRow(MainWindow &w, const QString &id)
{
    auto *table = child<QTableWidget>(&w, "manageTB");
    return rowTexts(table, rowOf(table, id)).mid(3);
}

void tick(QTableWidget *table, const QStringList &ids)
{
    for (const QString &id : ids)
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(rowOf(table, id), 0)).center());
}

// The name alone does not enable OK, which the answer leaves then with the dialog open.
void addPlayer(MainWindow &w, const QString &name, const QString &id)
{
    answerNextModal([name, id](QWidget *modal) {
        auto *ok = child<QPushButton>(modal, "okPB");
        child<QLineEdit>(modal, "nameLE")->setText(name);
        if (ok->isEnabled())
            return;
        child<QLineEdit>(modal, "idLE")->setText(id);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    clickButton(&w, "addplayerPB");
}

// Picks entry `item` of the next range dialog ("所有试题", then the day's tasks) with OK.
void answerRange(int item)
{
    answerNextModal([item](QWidget *modal) {
        modal->findChild<QComboBox *>()->setCurrentIndex(item);
        child<QPushButton>(modal, "okPB")->click();
    });
}

// Ticks the players, chooses the range entry, agrees to running in parallel and waits.
void evaluate(MainWindow &w, const QStringList &ids, int rangeItem)
{
    tick(child<QTableWidget>(&w, "manageTB"), ids);
    answerRange(rangeItem);
    if (child<QSpinBox>(&w, "evaljobsSB")->value() > 1 && ids.size() > 1)
        QTimer::singleShot(0, [] { answerMessageBox(nullptr, QMessageBox::Yes); });
    auto *start = child<QPushButton>(&w, "evalselectedPB");
    QTest::mouseClick(start, Qt::LeftButton);
    // A second click before the first player's signal must not start a second evaluation.
    QVERIFY(!start->isEnabled() && !child<QSpinBox>(&w, "evaljobsSB")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!t && start->isEnabled(), 60000);
}

// Presses start for the range entry, answering the box that comes.
void startRefused(MainWindow &w, int rangeItem, Answered *seen)
{
    answerRange(rangeItem);
    *seen = {};
    QTimer::singleShot(0, [seen] { answerMessageBox(seen); });
    clickButton(&w, "evalselectedPB");
    QTRY_VERIFY_WITH_TIMEOUT(!seen->title.isEmpty(), 10000);
}

} // namespace

class TestEvalPage : public QObject
{
    Q_OBJECT

private slots:
    // A uid of its own: a fork bomb of a test beside it as root takes its uid's process limit.
    void initTestCase()
    {
        setSubmissionUid(kSubmissionUid + 91);
        qputenv("TALDON_CLI", qgetenv("TALDON_BINARY_DIR") + "/cli/taldon-cli");
    }

    void managesPlayerList()
    {
        Contest contest;
        MainWindow w;
        openContest(w, contest);
        auto *table = child<QTableWidget>(&w, "manageTB");
        QCOMPARE(rowTexts(table, 2).mid(1, 3), QStringList({"浙江", "ZJ-3", "未测评"}));

        // A taken id, whatever its case, and one holding the list separator are refused.
        Answered seen;
        for (const auto &refused :
             {QStringList{"js-1", "选手编号重复!"}, QStringList{"JS@09", "编号不能含有 @!"}}) {
            answerMessageBox(&seen);
            addPlayer(w, "重名", refused[0]);
            QTRY_COMPARE(seen.text, refused[1]);
            QCOMPARE(table->rowCount(), 3);
        }
        auto *tickAll = child<QPushButton>(&w, "mselectallPB");
        QTest::mouseClick(tickAll, Qt::LeftButton);
        addPlayer(w, "Wang", "SH-9");
        const int added = rowOf(table, "SH-9");
        QCOMPARE(table->item(added, 0)->checkState(), Qt::Checked);
        QTest::mouseClick(tickAll, Qt::LeftButton);
        QCOMPARE(table->item(added, 0)->checkState(), Qt::Unchecked);

        // A search by the button, then the empty one by Return in the box, showing all.
        auto *search = child<QLineEdit>(&w, "findLE");
        search->setText("王");
        clickButton(&w, "findPB");
        QCOMPARE(column(table, 2), QStringList({"JS-2"}));
        search->clear();
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(table->rowCount(), 4);

        // Export, then import a list that replaces the registry and the rows.
        const QString exported = contest.base.path() + "/名单.txt";
        FileDialogs::replaceSaveFileName([exported](QWidget *, const QString &, const QString &,
                                                    const QString &) { return exported; });
        answerMessageBox(&seen);
        clickButton(&w, "exportplayerPB");
        FileDialogs::replaceSaveFileName({});
        QCOMPARE(seen.text, QString("导出完成"));
        QCOMPARE(QString::fromUtf8(readFile(exported)),
                 QString("JS-1,李明\nJS-2,王芳\nZJ-3,张伟\nSH-9,Wang\n"));
        contest.write("list.txt", "BJ-5,赵\nJS@9,孙\nGD-6,钱\n");
        answerMessageBox(&seen);
        withOpenFile(contest.home + "/list.txt", [&w] { clickButton(&w, "importplayerPB"); });
        QCOMPARE(seen.text, QString("第 2 行没有导入: 编号不能含有 @ (JS@9)"));
        QCOMPARE(column(table, 2), QStringList({"BJ-5", "GD-6"}));
        QCOMPARE(w.getSetupInfo()->getPlayerInfo()->getPlayerInfo()->size(), 2);

        // Deleting needs a current row.
        table->setCurrentCell(-1, -1);
        clickButton(&w, "delplayerPB");
        QCOMPARE(table->rowCount(), 2);
        table->setCurrentCell(rowOf(table, "BJ-5"), 2);
        clickButton(&w, "delplayerPB");
        QCOMPARE(column(table, 2), QStringList({"GD-6"}));
        QVERIFY(!w.getSetupInfo()->getPlayerInfo()->getPlayerInfoById("BJ-5"));
    }

    // By one thread or two worker processes: a day must be chosen and a player ticked; ZJ-3 alone
    // on "ans" (range item 2) stays ticked for the whole day, whose progress counts every player.
    void evaluatesTickedPlayers_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::newRow("thread") << 1;
        QTest::newRow("workers") << 2;
    }

    void evaluatesTickedPlayers()
    {
        QFETCH(int, jobs);
        Contest contest;
        MainWindow w;
        openContest(w, contest, true);
        auto *tabs = child<QTabWidget>(&w, "tabWidget");
        auto *day = child<QSpinBox>(&w, "evaldaySB");
        child<QSpinBox>(&w, "evaljobsSB")->setValue(jobs);
        Answered seen;
        answerMessageBox(&seen);
        day->setValue(0);
        clickButton(&w, "evalselectedPB");
        QCOMPARE(seen.text, QString("请选择评测场次!"));
        day->setValue(1);
        answerMessageBox(&seen);
        clickButton(&w, "evalselectedPB");
        QCOMPARE(seen.text, QString("请选择评测选手!"));
        QVERIFY(!t);

        evaluate(w, {"ZJ-3"}, 2);
        QCOMPARE(evalRow(w, "ZJ-3"), QStringList({"测评成功", "10", "0", "10"}));
        QVERIFY(!QFile::exists(contest.home + "/result/day1/JS-1"));
        auto *bar = child<QProgressBar>(&w, "evalB");
        QSignalSpy progress(bar, &QProgressBar::valueChanged);
        evaluate(w, {"JS-1", "JS-2"}, 0);
        QList<int> steps;
        for (const QList<QVariant> &args : progress)
            steps << args.at(0).toInt();
        QCOMPARE(steps.value(steps.size() - 1, -1), 3);
        if (jobs == 1)
            QCOMPARE(steps, QList<int>({0, 1, 2, 3}));
        QCOMPARE(child<QLabel>(&w, "fevalTL")->text() + child<QLabel>(&w, "tevalTL")->text(),
                 QString("33"));
        QCOMPARE(bar->maximum(), 3);
        QVERIFY(tabs->isTabEnabled(0) && tabs->isTabEnabled(2) && day->isEnabled() &&
                child<QPushButton>(&w, "addplayerPB")->isEnabled());
        // sum: JS-1 passes both points, JS-2 only the first; ans: JS-2 is wrong.
        QCOMPARE(evalRow(w, "JS-1") + evalRow(w, "JS-2") + evalRow(w, "ZJ-3"),
                 QStringList({"测评成功", "30", "20", "10", "测评成功", "10", "10", "0", "测评成功",
                              "10", "0", "10"}));
        // The statistics read the result files the evaluation wrote.
        enterTab(&w, 2);
        QCOMPARE(column(child<QTableWidget>(&w, "playersinfoTB"), 4),
                 QStringList({"30", "10", "10"}));
    }

    // Without the sandbox the window warns and evaluates; the sandbox required or the tmp
    // directory gone, it refuses and leaves the page as it was.
    void evaluationThatCannotStart()
    {
        qputenv("TALDON_SANDBOX", "off");
        Contest contest;
        MainWindow w;
        openContest(w, contest, true);
        auto *start = child<QPushButton>(&w, "evalselectedPB");
        auto *table = child<QTableWidget>(&w, "manageTB");
        tick(table, {"ZJ-3"});
        Answered seen;
        startRefused(w, 2, &seen);
        QCOMPARE(seen.title, QString("Warning"));
        QVERIFY(seen.text.contains("TALDON_SANDBOX=off"));
        QTRY_VERIFY_WITH_TIMEOUT(!t && start->isEnabled(), 60000);
        QCOMPARE(evalRow(w, "ZJ-3").value(3), QString("10"));

        child<QAction>(&w, "requireSandboxAct")->setChecked(true);
        startRefused(w, 2, &seen);
        QCOMPARE(seen.title, QString("Error"));
        QVERIFY(!t && start->isEnabled());
        child<QAction>(&w, "requireSandboxAct")->setChecked(false);
        qunsetenv("TALDON_SANDBOX");

        QVERIFY(QDir(contest.home + "/tmp").removeRecursively());
        tick(table, {"ZJ-3", "JS-1"});
        startRefused(w, 0, &seen);
        QCOMPARE(seen.title, QString("Error"));
        QVERIFY(seen.text.contains("/tmp"));
        QTRY_VERIFY(!t);
        QVERIFY(start->isEnabled() && child<QTabWidget>(&w, "tabWidget")->isTabEnabled(0));
        QCOMPARE(evalRow(w, "JS-1").value(0), QString("未测评"));
    }

    // Day 2 of three, with a result file, is deleted: the former day 3 is evaluated in its own
    // directories until Save renames them, and the deleted day's files are kept aside.
    void deletedDayKeepsItsFilesUntilSaved()
    {
        Contest contest;
        contest.rewrite([](CSetupInfo &three) {
            for (const char *name : {"第二场", "第三场"}) {
                auto *day = new CDayInfo(*three.getDayInfo(0));
                day->setDayname(name);
                three.addADay(day);
            }
        });
        const QByteArray old = "{sum 100 Compile successfully\n101 0 0.010 old\n}102 0\n";
        contest.write("result/day2/JS-1/JS-1.result", old);
        contest.write("players/day3/JS-1/sum/sum.c", SUM_OK);
        MainWindow w;
        openContest(w, contest);
        auto *tree = child<QTreeWidget>(&w, "proLV");
        Answered seen;
        answerMessageBox(&seen, QMessageBox::No);
        treeContextMenu(tree, tree->topLevelItem(1), "删除");
        QVERIFY2(seen.text.contains("\nplayers/day3 → players/day2\n"
                                    "result/day2 → result/day2.deleted\n"),
                 qPrintable(seen.text));
        QCOMPARE(w.getSetupInfo()->getDayNum(), 3);
        answerMessageBox(&seen, QMessageBox::Yes);
        treeContextMenu(tree, tree->topLevelItem(1), "删除");
        QCOMPARE(w.getSetupInfo()->getDayNum(), 2);

        child<QTabWidget>(&w, "tabWidget")->setCurrentIndex(1);
        child<QSpinBox>(&w, "evaldaySB")->setValue(2);
        evaluate(w, {"JS-1"}, 1);
        QCOMPARE(evalRow(w, "JS-1").value(2), QString("20"));
        const QString result = contest.home + "/result/day%1/JS-1/JS-1.result";
        const QByteArray passed = "{sum 100 Compile successfully\n101 10 ";
        QVERIFY(readFile(result.arg(3)).startsWith(passed));
        QCOMPARE(readFile(result.arg(2)), old);
        child<QAction>(&w, "saveGameAct")->trigger();
        QVERIFY(readFile(result.arg(2)).startsWith(passed));
        QCOMPARE(readFile(result.arg("2.deleted")), old);
        QVERIFY(!QFileInfo::exists(contest.home + "/players/day3"));
    }

    // Missing test data, no filter and a refused name fail the evaluation: each row says why, the
    // line under the table once per cause; a window opened later shows the same from the files.
    void evaluationFailuresAndStatusesFromFiles()
    {
        Contest contest;
        contest.rewrite([](CSetupInfo &setup) {
            CDayInfo *day = setup.getDayInfo(0);
            day->getTaskInfo(1)->setPlugname(QString());
            auto *named = new CTaskInfo(*day->getTaskInfo(0));
            named->setTaskname("two words");
            day->addATask(named);
            auto *second = new CDayInfo(*day);
            second->getTaskInfo(0)->setTaskname("add");
            second->getTaskInfo(1)->setTaskname("key");
            setup.addADay(second);
        });
        QVERIFY(QFile::remove(contest.home + "/evaldata/sum2.ans"));
        contest.write("result/day2/JS-2/JS-2.result",
                      "{add 100 Compile successfully\n101 10 0.010 ok\n101 10 0.020 ok\n}102 20\n"
                      "{key 100 Evaluate answer files.\n101 10 0.000 ok\n}102 10\n");
        MainWindow w;
        openContest(w, contest, true);
        evaluate(w, {"JS-1", "JS-2"}, 0);

        const QStringList causes = {
            "sum: Test data evaldata/sum2.ans not found.",
            "ans: The task has no filter: choose its comparison method.",
            "two words: a task name must be one word without braces or '/'"};
        const auto check = [](MainWindow &window, const QStringList &causes) {
            auto *table = child<QTableWidget>(&window, "manageTB");
            auto *failures = child<QLabel>(&window, "failuresTL");
            QCOMPARE(child<QSpinBox>(&window, "evaldaySB")->value(), 1);
            QCOMPARE(column(table, 3), QStringList({"测评失败", "测评失败", "未测评"}));
            QCOMPARE(table->item(0, 3)->toolTip(), causes.join('\n'));
            QVERIFY(!failures->isHidden());
            QCOMPARE(failures->text(),
                     "测评失败 (2 名选手) " + causes.join(QString("\n测评失败 (2 名选手) ")));
        };
        check(w, causes);
        QVERIFY(readFile(contest.home + "/result/day1/JS-1/JS-1.result")
                    .startsWith("{sum -106 Test data evaldata/sum2.ans not found.\n"));
        auto *table = child<QTableWidget>(&w, "manageTB");
        child<QSpinBox>(&w, "evaldaySB")->setValue(2);
        QCOMPARE(rowTexts(table, 1).mid(3, 2), QStringList({"测评成功", "30"}));
        QCOMPARE(table->item(1, 3)->toolTip(), QString("未测评: two words"));
        QVERIFY(child<QLabel>(&w, "failuresTL")->isHidden());
        child<QSpinBox>(&w, "evaldaySB")->setValue(1);
        check(w, causes);
        // A refused name has no block in the result file to say so.
        MainWindow again;
        openContest(again, contest, true);
        check(again, causes.mid(0, 2));
    }

    // Closing during an evaluation asks first; stopping ends the runs at once, leaves the blocks
    // complete and evaluates nobody else.
    void quittingStopsTheEvaluation_data() { evaluatesTickedPlayers_data(); }

    void quittingStopsTheEvaluation()
    {
        QFETCH(int, jobs);
        Contest contest;
        contest.rewrite(
            [](CSetupInfo &setup) { setup.getDayInfo(0)->getTaskInfo(0)->setTimelimit(5); });
        const QStringList ids{"JS-1", "JS-2", "ZJ-3"};
        for (int r = 0; r < jobs; ++r)
            contest.submit(ids[r], "sum", "sum.c", "int main(void){for(;;);}\n");
        const auto running = [jobs] { return countProcessesNamed("sum", submissionUsers(jobs)); };
        MainWindow w;
        openContest(w, contest, true);
        child<QSpinBox>(&w, "evaljobsSB")->setValue(jobs);
        tick(child<QTableWidget>(&w, "manageTB"), ids.mid(0, jobs + 1));
        answerRange(0);
        if (jobs > 1)
            QTimer::singleShot(0, [] { answerMessageBox(nullptr, QMessageBox::Yes); });
        clickButton(&w, "evalselectedPB");
        QTRY_COMPARE_WITH_TIMEOUT(running(), jobs, 30000);

        Answered seen;
        answerMessageBox(&seen, QMessageBox::No);
        QVERIFY(!w.close());
        QCOMPARE(seen.text, QString("正在评测, 确定停止评测并关闭?"));
        QCOMPARE(running(), jobs);
        QElapsedTimer clock;
        clock.start();
        answerMessageBox(&seen, QMessageBox::Yes);
        QVERIFY(w.close());
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(running(), 0);
        for (int r = 0; r < jobs; ++r)
            QCOMPARE(contest.result(ids[r]),
                     QString("{sum 100 Compile successfully\n-106 0 T Evaluation stopped.\n"
                             "-106 0 T Evaluation stopped.\n}102 0\n"));
        QCOMPARE(contest.result(ids[jobs]), QString("<no result file>"));
    }
};

QTEST_MAIN(TestEvalPage)
#include "tst_evalpage.moc"
