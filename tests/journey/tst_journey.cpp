#include "globals.h"
#include "mainwindow.h"
#include "testpoint.h"

#include "pages/pageui.h"
#include "report/reportcontest.h"

#include <QTabBar>
#include <QTemporaryDir>

#include <memory>

namespace
{

// Reads "<task>.in" and writes the sum of its two numbers to "<task>.out".
const char ADD_OK[] = "#include <stdio.h>\nint main(void){long a,b;freopen(\"add.in\",\"r\",stdin);"
                      "freopen(\"add.out\",\"w\",stdout);scanf(\"%ld%ld\",&a,&b);"
                      "printf(\"%ld\\n\",a+b);return 0;}\n";
// Right for the first test point only.
const char ADD_THREE[] = "#include <stdio.h>\nint main(void){freopen(\"add.out\",\"w\",stdout);"
                         "printf(\"3\\n\");return 0;}\n";

// Clicks the tab titled `title`; false when there is none.
bool clickTab(QTabWidget *tabs, const QString &title)
{
    QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->tabText(i) == title) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            return tabs->currentIndex() == i;
        }
    }
    return false;
}

} // namespace

// An organiser's first contest from New to quitting, on the real window. Each slot is one stage
// of the journey and works on what the stage before it left.
class TestJourney : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newContestWithTwoTasks();
    void saveWritesTheRecords();
    void organiserCopiesDataAndSubmissions();
    void importedPlayersAreEvaluated();
    void oneTaskEvaluatedAgain();
    void statisticsOfTheContest();
    void reportsOfTheDayPrinted();
    void quitAsksAndDoesNotSave();

private:
    void configureTask(QTreeWidgetItem *item, const QString &name, int submitType, int points,
                       int total);
    void evaluate(int rangeEntry);
    QStringList evalRow(const QString &id);

    QTemporaryDir base;
    QString home;
    std::unique_ptr<MainWindow> window;
    QTreeWidget *tree = nullptr;
};

void TestJourney::initTestCase()
{
    QVERIFY(base.isValid());
    // A root judge runs submissions as another user, who must reach the contest's tmp.
    QFile::setPermissions(base.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadOther | QFile::ExeOther | QFile::ExeGroup);
    home = base.path() + QStringLiteral("/第一次 比赛 $(touch x)");
    // New copies the stock filters from beside the program, which is the build's app folder.
    setProgramDirectory(
        QFile::encodeName(qEnvironmentVariable("TALDON_BINARY_DIR") + "/app/taldon").constData());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    tree = child<QTreeWidget>(window.get(), "proLV");
}

void TestJourney::cleanupTestCase()
{
    FileDialogs::replaceOpenFileName({});
    FileDialogs::replaceSaveFileName({});
    window.reset();
}

void TestJourney::configureTask(QTreeWidgetItem *item, const QString &name, int submitType,
                                int points, int total)
{
    clickItem(tree, item);
    retype(child<QLineEdit>(window.get(), "basenameLE"), name);
    chooseByKeys(child<QComboBox>(window.get(), "submitCB"), submitType);
    retype(child<QSpinBox>(window.get(), "timelimitSB"), QStringLiteral("2"));
    retype(child<QSpinBox>(window.get(), "memlimitSB"), QStringLiteral("128"));
    retype(child<QSpinBox>(window.get(), "testpointnumSB"), QString::number(points));
    retype(child<QSpinBox>(window.get(), "tscSB"), QString::number(total));
    QCOMPARE(item->text(0), name);
}

void TestJourney::newContestWithTwoTasks()
{
    answerNextModal([this](QWidget *modal) {
        type(child<QLineEdit>(modal, "basenameLE"), QStringLiteral("新手赛"));
        type(child<QLineEdit>(modal, "pathLE"), home);
        QTest::mouseClick(child<QPushButton>(modal, "okPB"), Qt::LeftButton);
    });
    child<QAction>(window.get(), "newGameAct")->trigger();
    QVERIFY(window->getSetupInfo());
    QVERIFY2(QFile::exists(home + "/filter/slsn_int_e"), "stock filters missing: run from ctest");
    auto *tabs = child<QTabWidget>(window.get(), "tabWidget");
    QVERIFY(clickTab(tabs, QStringLiteral("试题管理")));

    treeContextMenu(tree, nullptr, QStringLiteral("添加考试"));
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem *day = tree->topLevelItem(0);
    treeContextMenu(tree, day, QStringLiteral("添加试题"));
    treeContextMenu(tree, day, QStringLiteral("添加试题"));
    tree->expandAll();
    QCOMPARE(day->childCount(), 2);

    // "add": a C program judged on one number per line, two points of 50; C++ and Pascal off.
    configureTask(day->child(0), QStringLiteral("add"), 0, 2, 100);
    chooseByKeys(child<QComboBox>(window.get(), "methodCB"), 2);
    chooseByKeys(child<QComboBox>(window.get(), "numCB"), 1);
    clickBox(child<QCheckBox>(window.get(), "scplusCB"));
    clickBox(child<QCheckBox>(window.get(), "spascalCB"));
    retype(child<QLineEdit>(window.get(), "scLE"), QStringLiteral("-O2"));

    // "guess": answer files compared as whole texts, two points of 10.
    configureTask(day->child(1), QStringLiteral("guess"), 1, 2, 20);
    chooseByKeys(child<QComboBox>(window.get(), "methodCB"), 1);
    chooseByKeys(child<QComboBox>(window.get(), "stringCB"), 1);

    // The day's table sums up what the forms set.
    clickItem(tree, day);
    auto *dayTable = child<QTableWidget>(window.get(), "dayTB");
    QCOMPARE(rowTexts(dayTable, 0),
             QStringList({"add", "", "源文件", "100", "2", "2sec", "slsn_int_e"}));
    QCOMPARE(rowTexts(dayTable, 1),
             QStringList({"guess", "", "答案文件", "20", "2", "2sec", "fulltext_e"}));
}

void TestJourney::saveWritesTheRecords()
{
    child<QAction>(window.get(), "saveGameAct")->trigger();
    const QList<QByteArray> setup = readFile(home + "/setup.cfg").split('\n');
    QVERIFY(setup.contains("DAYNUM=1"));
    QVERIFY(readFile(home + "/day1.info").split('\n').contains("TASKNUM=2"));
    QCOMPARE(readFile(home + "/task1_1.info"),
             QByteArray("TITLE=\nNAME=add\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\n"
                        "PLUG=slsn_int_e\nTYPE=SOURCE\nLIMIT=2\nMEMLIMITS=128\nSAMPLES=2\n"
                        "CCL=c@gcc -o %o %i -O2\nMARK=1@50\nMARK=2@50\n"));
    const QList<QByteArray> guess = readFile(home + "/task1_2.info").split('\n');
    // Marks of 10 are the default and are not written.
    for (const char *line : {"NAME=guess", "PLUG=fulltext_e", "TYPE=ANSWERS", "SAMPLES=2"})
        QVERIFY2(guess.contains(line), guess.join('|').constData());
}

// What an organiser copies in: test data, the players' directories and the list to import.
void TestJourney::organiserCopiesDataAndSubmissions()
{
    QVERIFY(writeFiles(home, {{"evaldata/add1.in", "1 2\n"},
                              {"evaldata/add1.ans", "3\n"},
                              {"evaldata/add2.in", "5 5\n"},
                              {"evaldata/add2.ans", "10\n"},
                              {"evaldata/guess1.in", "first\n"},
                              {"evaldata/guess1.ans", "42\n"},
                              {"evaldata/guess2.in", "second\n"},
                              {"evaldata/guess2.ans", "yes\n"},
                              {"players/day1/JS-1/add/add.c", ADD_OK},
                              {"players/day1/JS-1/guess/guess1.out", "42\n"},
                              {"players/day1/JS-1/guess/guess2.out", "yes\n"},
                              {"players/day1/JS-2/add/add.c", ADD_THREE},
                              {"players/day1/JS-2/guess/guess1.out", "42\n"},
                              {"players/day1/JS-2/guess/guess2.out", "no\n"},
                              {"players/day1/ZJ-3/guess/guess1.out", "42\n"},
                              {"players/day1/ZJ-3/guess/guess2.out", "yes\n"},
                              {"名单.txt", "JS-1,李明\nJS-2,王芳\nZJ-3,张伟\n"}}));
}

QStringList TestJourney::evalRow(const QString &id)
{
    auto *table = child<QTableWidget>(window.get(), "manageTB");
    const int row = rowWith(table, 2, id);
    return row < 0 ? QStringList() : rowTexts(table, row).mid(3);
}

// Presses the evaluate button, picks entry `rangeEntry` of the task dialog and waits for the end.
void TestJourney::evaluate(int rangeEntry)
{
    answerNextModal([rangeEntry](QWidget *modal) {
        chooseByKeys(modal->findChild<QComboBox *>(), rangeEntry);
        QTest::mouseClick(child<QPushButton>(modal, "okPB"), Qt::LeftButton);
    });
    auto *start = child<QPushButton>(window.get(), "evalselectedPB");
    auto *tabs = child<QTabWidget>(window.get(), "tabWidget");
    QTest::mouseClick(start, Qt::LeftButton);
    // While it runs nothing else may start or edit the contest.
    QVERIFY(!start->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(start->isEnabled(), 120000);
    QVERIFY(tabs->isTabEnabled(0) && tabs->isTabEnabled(2));
}

void TestJourney::importedPlayersAreEvaluated()
{
    QVERIFY(clickTab(child<QTabWidget>(window.get(), "tabWidget"), QStringLiteral("试题评测")));
    const QString list = home + QStringLiteral("/名单.txt");
    withOpenFile(list, [this] { clickButton(window.get(), "importplayerPB"); });
    auto *table = child<QTableWidget>(window.get(), "manageTB");
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(rowTexts(table, rowWith(table, 2, "ZJ-3")).mid(0, 4),
             QStringList({"张伟", "浙江", "ZJ-3", "未测评"}));

    retype(child<QSpinBox>(window.get(), "evaldaySB"), QStringLiteral("1"));
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("add"));
    QCOMPARE(table->horizontalHeaderItem(6)->text(), QStringLiteral("guess"));
    auto *tickAll = child<QPushButton>(window.get(), "mselectallPB");
    QTest::mouseClick(tickAll, Qt::LeftButton);
    QCOMPARE(tickAll->text(), QStringLiteral("取消全选"));
    evaluate(0);

    // add: JS-1 passes both points, JS-2 the first, ZJ-3 sent nothing; guess: JS-2 misses one.
    QCOMPARE(evalRow("JS-1"), QStringList({"测评成功", "120", "100", "20"}));
    QCOMPARE(evalRow("JS-2"), QStringList({"测评成功", "60", "50", "10"}));
    QCOMPARE(evalRow("ZJ-3"), QStringList({"测评成功", "20", "0", "20"}));
    const QList<QByteArray> result = readFile(home + "/result/day1/ZJ-3/ZJ-3.result").split('\n');
    QVERIFY2(result.value(0).startsWith("{add -100"), result.value(0).constData());
}

// JS-2 handed in a corrected program late; only "add" is judged again and "guess" stays.
void TestJourney::oneTaskEvaluatedAgain()
{
    QVERIFY(writeFile(home + "/players/day1/JS-2/add/add.c", ADD_OK));
    const QByteArray before = readFile(home + "/result/day1/JS-1/JS-1.result");
    evaluate(1);
    QCOMPARE(evalRow("JS-1"), QStringList({"测评成功", "120", "100", "20"}));
    QCOMPARE(evalRow("JS-2"), QStringList({"测评成功", "110", "100", "10"}));
    QCOMPARE(evalRow("ZJ-3"), QStringList({"测评成功", "20", "0", "20"}));
    const QByteArray after = readFile(home + "/result/day1/JS-1/JS-1.result");
    QVERIFY(after.startsWith(before));
    QVERIFY2(after.mid(before.size()).startsWith("{add 100"), after.constData());
    QVERIFY(!after.mid(before.size()).contains("{guess"));
}

void TestJourney::statisticsOfTheContest()
{
    QVERIFY(clickTab(child<QTabWidget>(window.get(), "tabWidget"), QStringLiteral("成绩统计")));
    auto *players = child<QTableWidget>(window.get(), "playersinfoTB");
    QCOMPARE(players->rowCount(), 3);
    QCOMPARE(rowTexts(players, rowWith(players, 0, "JS-1")),
             QStringList({"JS-1", "李明", "", "0", "120", "120"}));
    QCOMPARE(rowTexts(players, rowWith(players, 0, "JS-2")),
             QStringList({"JS-2", "王芳", "", "0", "110", "110"}));
    QCOMPARE(child<QLabel>(window.get(), "gradetotalTL")->text(), QStringLiteral("3"));

    auto *pages = child<QTabWidget>(window.get(), "statWS");
    QVERIFY(clickTab(pages, QStringLiteral("分组统计")));
    retype(child<QSpinBox>(window.get(), "teamSP"), QStringLiteral("1"));
    clickButton(window.get(), "teamstatPB");
    auto *teams = child<QTableWidget>(window.get(), "teamTB");
    QCOMPARE(rowTexts(teams, rowWith(teams, 0, QStringLiteral("江苏"))),
             QStringList({"江苏", "230", "115", "120", "110", "120"}));
    QCOMPARE(rowTexts(teams, rowWith(teams, 0, QStringLiteral("浙江"))),
             QStringList({"浙江", "20", "20", "20", "20", "20"}));
}

void TestJourney::reportsOfTheDayPrinted()
{
    QStringList days;
    answerNextModal([&days](QWidget *modal) {
        auto *combo = child<QComboBox>(modal, "selectCB");
        for (int i = 0; i < combo->count(); ++i)
            days << combo->itemText(i);
        chooseByKeys(combo, 1);
        QTest::mouseClick(child<QPushButton>(modal, "okPB"), Qt::LeftButton);
    });
    Progress progress;
    QString error;
    answerProgress(&progress, &error);
    clickButton(window.get(), "printselectedPB");
    QTRY_COMPARE_WITH_TIMEOUT(progress.value, 3, 60000);
    QCOMPARE(progress.title, QStringLiteral("打印成绩"));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(days.value(1), QStringLiteral("第1场"));
    for (const char *id : {"JS-1", "JS-2", "ZJ-3"}) {
        const QString text = pdfText(home + QStringLiteral("/ps/day1/%1/%1.pdf").arg(id));
        QVERIFY2(text.contains(id) && text.contains("add") && text.contains("guess"), id);
    }
}

// Quitting asks (the window's own test answers No) and leaves the records as saved.
void TestJourney::quitAsksAndDoesNotSave()
{
    const QByteArray setup = readFile(home + "/setup.cfg");
    Answered seen;
    answerMessageBox(&seen, QMessageBox::Yes);
    child<QAction>(window.get(), "exitAct")->trigger();
    QCOMPARE(seen.text, QStringLiteral("确定关闭?"));
    QVERIFY(!window->isVisible());
    QCOMPARE(readFile(home + "/setup.cfg"), setup);
}

QTEST_MAIN(TestJourney)
#include "tst_journey.moc"
