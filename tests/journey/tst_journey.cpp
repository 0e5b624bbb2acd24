#include "globals.h"
#include "mainwindow.h"

#include "pages/pageui.h"

#include <QTabBar>
#include <QTemporaryDir>

#include <memory>

namespace
{

// Reads "add.in" and writes the sum of its two numbers to "add.out"; ADD_THREE always writes 3,
// which is right for the first test point only.
const char ADD_OK[] = "#include <stdio.h>\nint main(void){long a,b;freopen(\"add.in\",\"r\",stdin);"
                      "freopen(\"add.out\",\"w\",stdout);scanf(\"%ld%ld\",&a,&b);"
                      "printf(\"%ld\\n\",a+b);return 0;}\n";
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

// An organiser's first contest from New to quitting, on the real window, by mouse and keys, with
// the stock filters the build makes. Each slot is one stage and works on what the one before left.
class TestJourney : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newContestWithTwoTasks();
    void importedPlayersAreEvaluated();
    void oneTaskEvaluatedAgain();
    void statisticsAndQuitting();

private:
    void configureTask(QTreeWidgetItem *item, const QString &name, int submitType, int points,
                       int total, int method, int entry);
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
    window.reset();
}

// Sets the task's form by keys: method and entry pick the comparison (methodCB, then the list
// the method shows).
void TestJourney::configureTask(QTreeWidgetItem *item, const QString &name, int submitType,
                                int points, int total, int method, int entry)
{
    clickItem(tree, item);
    retype(child<QLineEdit>(window.get(), "basenameLE"), name);
    chooseByKeys(child<QComboBox>(window.get(), "submitCB"), submitType);
    retype(child<QSpinBox>(window.get(), "timelimitSB"), QStringLiteral("2"));
    retype(child<QSpinBox>(window.get(), "memlimitSB"), QStringLiteral("128"));
    retype(child<QSpinBox>(window.get(), "testpointnumSB"), QString::number(points));
    retype(child<QSpinBox>(window.get(), "tscSB"), QString::number(total));
    chooseByKeys(child<QComboBox>(window.get(), "methodCB"), method);
    chooseByKeys(child<QComboBox>(window.get(), method == 1 ? "stringCB" : "numCB"), entry);
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
    QVERIFY(clickTab(child<QTabWidget>(window.get(), "tabWidget"), QStringLiteral("试题管理")));

    treeContextMenu(tree, nullptr, QStringLiteral("添加考试"));
    QTreeWidgetItem *day = tree->topLevelItem(0);
    treeContextMenu(tree, day, QStringLiteral("添加试题"));
    treeContextMenu(tree, day, QStringLiteral("添加试题"));
    tree->expandAll();
    QCOMPARE(day->childCount(), 2);

    // "add": a C program judged on one number per line, two points of 50; C++ and Pascal off.
    configureTask(day->child(0), QStringLiteral("add"), 0, 2, 100, 2, 1);
    clickBox(child<QCheckBox>(window.get(), "scplusCB"));
    clickBox(child<QCheckBox>(window.get(), "spascalCB"));
    retype(child<QLineEdit>(window.get(), "scLE"), QStringLiteral("-O2"));
    // "guess": answer files compared as whole texts, two points of 10.
    configureTask(day->child(1), QStringLiteral("guess"), 1, 2, 20, 1, 1);

    // The day's table sums up what the forms set.
    clickItem(tree, day);
    auto *dayTable = child<QTableWidget>(window.get(), "dayTB");
    QCOMPARE(rowTexts(dayTable, 0),
             QStringList({"add", "", "源文件", "100", "2", "2sec", "slsn_int_e"}));
    QCOMPARE(rowTexts(dayTable, 1),
             QStringList({"guess", "", "答案文件", "20", "2", "2sec", "fulltext_e"}));
    child<QAction>(window.get(), "saveGameAct")->trigger();
    QVERIFY(readFile(home + "/task1_1.info").contains("\nCCL=c@gcc -o %o %i -O2\nMARK=1@50\n"));
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
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(!start->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(start->isEnabled(), 120000);
}

// The organiser copies in the test data, the players' directories and the list to import.
void TestJourney::importedPlayersAreEvaluated()
{
    const char *const answers[][3] = {
        {"JS-1", "42", "yes"}, {"JS-2", "42", "no"}, {"ZJ-3", "42", "yes"}};
    for (const auto &player : answers) {
        for (int point = 1; point <= 2; ++point)
            QVERIFY(writeFile(
                home +
                    QStringLiteral("/players/day1/%1/guess/guess%2.out").arg(player[0]).arg(point),
                QByteArray(player[point]) + '\n'));
    }
    QVERIFY(writeFiles(home, {{"evaldata/add1.in", "1 2\n"},
                              {"evaldata/add1.ans", "3\n"},
                              {"evaldata/add2.in", "5 5\n"},
                              {"evaldata/add2.ans", "10\n"},
                              {"evaldata/guess1.in", ""},
                              {"evaldata/guess1.ans", "42\n"},
                              {"evaldata/guess2.in", ""},
                              {"evaldata/guess2.ans", "yes\n"},
                              {"players/day1/JS-1/add/add.c", ADD_OK},
                              {"players/day1/JS-2/add/add.c", ADD_THREE},
                              {"名单.txt", "JS-1,李明\nJS-2,王芳\nZJ-3,张伟\n"}}));

    QVERIFY(clickTab(child<QTabWidget>(window.get(), "tabWidget"), QStringLiteral("试题评测")));
    withOpenFile(home + QStringLiteral("/名单.txt"),
                 [this] { clickButton(window.get(), "importplayerPB"); });
    auto *table = child<QTableWidget>(window.get(), "manageTB");
    QCOMPARE(column(table, 2), QStringList({"JS-1", "JS-2", "ZJ-3"}));
    retype(child<QSpinBox>(window.get(), "evaldaySB"), QStringLiteral("1"));
    QCOMPARE(headerTexts(table).mid(5), QStringList({"add", "guess"}));
    clickButton(window.get(), "mselectallPB");
    evaluate(0);

    // add: JS-1 passes both points, JS-2 the first, ZJ-3 sent nothing; guess: JS-2 misses one.
    QCOMPARE(evalRow("JS-1"), QStringList({"测评成功", "120", "100", "20"}));
    QCOMPARE(evalRow("JS-2"), QStringList({"测评成功", "60", "50", "10"}));
    QCOMPARE(evalRow("ZJ-3"), QStringList({"测评成功", "20", "0", "20"}));
    QVERIFY(readFile(home + "/result/day1/ZJ-3/ZJ-3.result").startsWith("{add -100"));
}

// JS-2 handed in a corrected program late; only "add" is judged again and "guess" stays.
void TestJourney::oneTaskEvaluatedAgain()
{
    QVERIFY(writeFile(home + "/players/day1/JS-2/add/add.c", ADD_OK));
    const QByteArray before = readFile(home + "/result/day1/JS-1/JS-1.result");
    evaluate(1);
    QCOMPARE(evalRow("JS-1"), QStringList({"测评成功", "120", "100", "20"}));
    QCOMPARE(evalRow("JS-2"), QStringList({"测评成功", "110", "100", "10"}));
    const QByteArray after = readFile(home + "/result/day1/JS-1/JS-1.result");
    QVERIFY(after.startsWith(before));
    QVERIFY2(after.mid(before.size()).startsWith("{add 100"), after.constData());
    QVERIFY(!after.mid(before.size()).contains("{guess"));
}

// The statistics read what was evaluated; quitting asks and leaves the records as saved.
void TestJourney::statisticsAndQuitting()
{
    QVERIFY(clickTab(child<QTabWidget>(window.get(), "tabWidget"), QStringLiteral("成绩统计")));
    QCOMPARE(column(child<QTableWidget>(window.get(), "playersinfoTB"), 4),
             QStringList({"120", "110", "20"}));
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
