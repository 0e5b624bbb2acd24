#include "globals.h"
#include "mainwindow.h"

#include "pages/pageui.h"

#include <QTabBar>
#include <QTemporaryDir>

namespace
{

// Reads "add.in" and writes the sum of its numbers to "add.out"; with WRONG defined it always
// writes 3, which is right for the first test point only.
const char ADD[] =
    "#include <stdio.h>\nint main(void){long a=1,b=2;freopen(\"add.in\",\"r\",stdin);"
    "freopen(\"add.out\",\"w\",stdout);\n#ifndef WRONG\nscanf(\"%ld%ld\",&a,&b);\n#endif\n"
    "printf(\"%ld\\n\",a+b);return 0;}\n";

void clickTab(QWidget *window, int index)
{
    QTabBar *bar = child<QTabWidget>(window, "tabWidget")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

} // namespace

// An organiser's first contest from New to quitting, on the real window, by mouse and keys, with
// the stock filters the build makes.
class TestJourney : public QObject
{
    Q_OBJECT

private slots:
    void firstContest()
    {
        QTemporaryDir base;
        // A root judge runs submissions as another user, who must reach the contest's tmp.
        QFile::setPermissions(base.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadOther | QFile::ExeOther |
                                               QFile::ExeGroup);
        const QString home = base.path() + "/第一次 比赛 $(touch x)";
        // New copies the stock filters from beside the program, which is the build's app folder.
        setProgramDirectory(
            QFile::encodeName(qEnvironmentVariable("TALDON_BINARY_DIR") + "/app/taldon")
                .constData());
        MainWindow w;
        w.show();
        auto *tree = child<QTreeWidget>(&w, "proLV");
        auto *table = child<QTableWidget>(&w, "manageTB");
        // Sets a task's form by keys, two points for a total of 100 (source) or 20 (answers):
        // method and entry pick the comparison (methodCB, then the list the method shows).
        const auto configureTask = [&](QTreeWidgetItem *item, const QString &name, int submitType,
                                       int method, int entry) {
            clickItem(tree, item);
            retype(child<QLineEdit>(&w, "basenameLE"), name);
            chooseByKeys(child<QComboBox>(&w, "submitCB"), submitType);
            retype(child<QSpinBox>(&w, "timelimitSB"), "2");
            retype(child<QSpinBox>(&w, "testpointnumSB"), "2");
            retype(child<QSpinBox>(&w, "tscSB"), submitType == 0 ? "100" : "20");
            chooseByKeys(child<QComboBox>(&w, "methodCB"), method);
            chooseByKeys(child<QComboBox>(&w, method == 1 ? "stringCB" : "numCB"), entry);
        };
        const auto evalRow = [table](const char *id) {
            return rowTexts(table, rowWith(table, 2, id)).mid(3);
        };

        answerNextModal([home](QWidget *modal) {
            type(child<QLineEdit>(modal, "basenameLE"), "新手赛");
            type(child<QLineEdit>(modal, "pathLE"), home);
            QTest::mouseClick(child<QPushButton>(modal, "okPB"), Qt::LeftButton);
        });
        child<QAction>(&w, "newGameAct")->trigger();
        QVERIFY2(QFile::exists(home + "/filter/slsn_int_e"),
                 "stock filters missing: run from ctest");
        clickTab(&w, 0);
        treeContextMenu(tree, nullptr, "添加考试");
        QTreeWidgetItem *day = tree->topLevelItem(0);
        treeContextMenu(tree, day, "添加试题");
        treeContextMenu(tree, day, "添加试题");
        tree->expandAll();

        // "add": a C program judged on one number per line; C++ and Pascal off. "guess": answer
        // files compared as whole texts.
        configureTask(day->child(0), "add", 0, 2, 1);
        clickBox(child<QCheckBox>(&w, "scplusCB"));
        clickBox(child<QCheckBox>(&w, "spascalCB"));
        retype(child<QLineEdit>(&w, "scLE"), "-O2");
        configureTask(day->child(1), "guess", 1, 1, 1);
        clickItem(tree, day);
        auto *days = child<QTableWidget>(&w, "dayTB");
        QCOMPARE(rowTexts(days, 0),
                 QStringList({"add", "", "源文件", "100", "2", "2sec", "slsn_int_e"}));
        QCOMPARE(rowTexts(days, 1),
                 QStringList({"guess", "", "答案文件", "20", "2", "2sec", "fulltext_e"}));
        child<QAction>(&w, "saveGameAct")->trigger();

        // The organiser copies in the test data, the players' directories and the list to import.
        for (const QString id : {"JS-1", "JS-2", "ZJ-3"}) {
            const QString out = home + "/players/day1/" + id + "/guess/guess%1.out";
            QVERIFY(writeFile(out.arg(1), "42\n") &&
                    writeFile(out.arg(2), id == "JS-2" ? "no\n" : "yes\n"));
        }
        for (const char *point : {"add1=1 2=3", "add2=5 5=10", "guess1==42", "guess2==yes"}) {
            const QList<QByteArray> f = QByteArray(point).split('=');
            QVERIFY(writeFile(home + "/evaldata/" + f[0] + ".in", f[1] + '\n') &&
                    writeFile(home + "/evaldata/" + f[0] + ".ans", f[2] + '\n'));
        }
        QVERIFY(
            writeFiles(home, {{"players/day1/JS-1/add/add.c", ADD},
                              {"players/day1/JS-2/add/add.c", "#define WRONG\n" + QByteArray(ADD)},
                              {"名单.txt", "JS-1,李明\nJS-2,王芳\nZJ-3,张伟\n"}}));
        clickTab(&w, 1);
        withOpenFile(home + "/名单.txt", [&w] { clickButton(&w, "importplayerPB"); });
        retype(child<QSpinBox>(&w, "evaldaySB"), "1");
        clickButton(&w, "mselectallPB");
        // All tasks, the range dialog's first entry.
        answerNextModal([](QWidget *modal) { clickButton(modal, "okPB"); });
        auto *start = child<QPushButton>(&w, "evalselectedPB");
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(start->isEnabled(), 120000);
        // add: JS-1 passes both points, JS-2 the first, ZJ-3 sent nothing; guess: JS-2 misses one.
        QCOMPARE(evalRow("JS-1"), QStringList({"测评成功", "120", "100", "20"}));
        QCOMPARE(evalRow("JS-2"), QStringList({"测评成功", "60", "50", "10"}));
        QCOMPARE(evalRow("ZJ-3"), QStringList({"测评成功", "20", "0", "20"}));

        // The statistics read what was evaluated; quitting leaves the records as saved.
        clickTab(&w, 2);
        QCOMPARE(column(child<QTableWidget>(&w, "playersinfoTB"), 4),
                 QStringList({"120", "60", "20"}));
        const QByteArray setup = readFile(home + "/setup.cfg");
        answerMessageBox(nullptr, QMessageBox::Yes);
        child<QAction>(&w, "exitAct")->trigger();
        QCOMPARE(readFile(home + "/setup.cfg"), setup);
    }
};

QTEST_MAIN(TestJourney)
#include "tst_journey.moc"
