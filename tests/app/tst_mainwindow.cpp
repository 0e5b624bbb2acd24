#include "csetupinfo.h"
#include "globals.h"
#include "mainwindow.h"
#include "mystat.h"
#include "pageglobals.h"
#include "statsglobals.h"

#include "common/contestfixture.h"
#include "pages/pageui.h"

#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextCodec>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void newSaveAndOpenAgain();
    void newReplacesOpenContest();
    void withoutAContest();
    void saveAsAndFailedSaves();
    void openSaysWhatItReadDifferently();
};

// Stock filters installed on this machine must not be found instead of the ones the tests place
// (or leave out) beside the programs; child processes inherit the setting.
void TestMainWindow::initTestCase()
{
    qputenv("TALDON_FILTER_DIR", QByteArray());
}

void TestMainWindow::cleanup()
{
    FileDialogs::replaceOpenFileName({});
    FileDialogs::replaceExistingDirectory({});
}

void TestMainWindow::newSaveAndOpenAgain()
{
    QTemporaryDir tmp;
    // Stock filters beside a program started as <tmp>/bin/taldon.
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/bin/filter/exact"), ""));
    setProgramDirectory(QFile::encodeName(tmp.path() + QStringLiteral("/bin/taldon")).constData());

    // Missing parents, a blank, Chinese and shell syntax: all of it is just a name.
    const QString home = tmp.path() + QStringLiteral("/新 目录/考试 $(touch pwned)");
    MainWindow first;
    answerNewDialog(QStringLiteral("省赛"), home);
    clickButton(&first, "newGamePB");
    QVERIFY(first.getSetupInfo());
    QCOMPARE(child<QStackedWidget>(first, "stackedWidget")->currentIndex(), 0);
    QVERIFY(readFile(home + QStringLiteral("/setup.cfg")).contains("DAYNUM=0"));
    QVERIFY(QFile::exists(home + QStringLiteral("/filter/exact")));
    QVERIFY(!QFile::exists(QDir::currentPath() + QStringLiteral("/pwned")));

    auto *day = new CDayInfo;
    day->setDayname(QStringLiteral("第一试"));
    first.getSetupInfo()->addADay(day);
    child<QAction>(first, "saveGameAct")->trigger();

    MainWindow second;
    openFromMenu(&second, home + QStringLiteral("/setup.cfg"));
    QVERIFY(second.getSetupInfo());
    QCOMPARE(second.getSetupInfo()->getContestName() + second.getSetupInfo()->getHome(),
             QStringLiteral("省赛") + home);
    QCOMPARE(second.getSetupInfo()->getDayInfo(0)->getDayname(), QStringLiteral("第一试"));

    // A second Open saves the open contest and refuses the chosen file.
    CSetupInfo *open = second.getSetupInfo();
    open->setContestName(QStringLiteral("改名"));
    Answered seen;
    answerMessageBox(&seen, QMessageBox::Ok);
    openFromMenu(&second, home + QStringLiteral("/setup.cfg"));
    QCOMPARE(seen.text, QStringLiteral("请关闭当前比赛!"));
    QCOMPARE(second.getSetupInfo(), open);
    QVERIFY(readFile(home + QStringLiteral("/setup.cfg")).contains("NAME=改名"));
    setProgramDirectory("");
}

// New replaces an open contest on every page: the old one is saved with its day and forgotten,
// and each page, set up a second time, reacts once to each of its signals.
void TestMainWindow::newReplacesOpenContest()
{
    ContestFixture old({{{"sum", {50, 50}}}});
    old.registerPlayers({{"JS-001", "选手"}});
    old.saveIn(QStringLiteral("old"));
    old.appendResult(1, QStringLiteral("JS-001"), "{sum 100 ok\n101 10 0.1 ok\n}102 0\n");
    const QString oldHome = old.setup.getHome();
    MainWindow window;
    window.show();
    openFromMenu(&window, oldHome + QStringLiteral("/setup.cfg"));
    auto *tree = child<QTreeWidget>(window, "proLV");
    const auto addDayAndTask = [&] {
        child<QTabWidget>(window, "tabWidget")->setCurrentIndex(0);
        treeContextMenu(tree, nullptr, QStringLiteral("添加考试"));
        treeContextMenu(tree, tree->topLevelItem(0), QStringLiteral("添加试题"));
        tree->expandAll();
        clickItem(tree, tree->topLevelItem(0)->child(0));
    };
    addDayAndTask();
    curDay = window.getSetupInfo()->getDayInfo(0);
    enterTab(&window, 2);
    auto *ranges = child<QTableWidget>(window, "rangeLV");
    auto *players = child<QTableWidget>(window, "playersinfoTB");
    auto *teams = child<QTableWidget>(window, "teamTB");
    child<QLineEdit>(window, "rangefromLE")->setText(QStringLiteral("100"));
    child<QLineEdit>(window, "rangetoLE")->setText(QStringLiteral("0"));
    clickButton(&window, "rangeaddPB");
    QCOMPARE(teams->item(9, 1)->text(), QStringLiteral("50"));

    const QString newHome = old.home.path() + QStringLiteral("/new");
    newContestFromMenu(&window, QStringLiteral("新"), newHome);
    // No stock filters beside this test program: the contest is made, and the user is told.
    auto *warning = window.findChild<QMessageBox *>();
    QVERIFY(warning &&
            warning->text() == QStringLiteral("没有找到标准比较程序, filter 目录是空的!"));
    QVERIFY(QDir(newHome + QStringLiteral("/filter")).isEmpty());
    QTest::mouseClick(warning->button(QMessageBox::Ok), Qt::LeftButton);
    QCOMPARE(window.getSetupInfo()->getHome(), newHome);
    QVERIFY(!curDay && !curTask && !curItem);
    // The replaced contest was saved with its new day before it went.
    QVERIFY(readFile(oldHome + QStringLiteral("/setup.cfg")).contains("DAYNUM=2"));
    QCOMPARE(tree->topLevelItemCount(), 0);
    QCOMPARE(child<QTableWidget>(window, "manageTB")->rowCount(), 0);
    QVERIFY(!mystat || (mystat->getSetup() == window.getSetupInfo() && mystat->players.isEmpty()));
    QCOMPARE(ranges->rowCount(), 0);
    QCOMPARE(players->rowCount(), 0);
    QCOMPARE(teams->item(9, 1)->text(), QStringLiteral("0"));

    // Set up again, each page reacts once: marks are split once, one row per range added.
    addDayAndTask();
    child<QSpinBox>(window, "tscSB")->setValue(50);
    QCOMPARE(curTask->getSampleMark(1), 5);
    child<QSpinBox>(window, "testpointnumSB")->setValue(4);
    QCOMPARE(marksOf(curTask), QList<int>({12, 12, 12, 12}));
    CPlayerInfo registry;
    registry.addPlayerInfo(QStringLiteral("SH-001"), QStringLiteral("选手"));
    window.getSetupInfo()->setPlayerInfo(&registry);
    enterTab(&window, 2);
    QCOMPARE(players->rowCount(), 1);
    clickButton(&window, "rangeaddPB");
    QCOMPARE(rowTexts(ranges, 0), QStringList({"100--0", "1"}));
}

// Without a contest the save commands ask nothing, and a New whose home cannot be made leaves
// none; while an evaluation runs nothing may replace the contest, and Save stays available.
void TestMainWindow::withoutAContest()
{
    QTemporaryDir tmp;
    QVERIFY(writeFile(tmp.path() + "/file", ""));
    MainWindow window;
    bool asked = false;
    FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &) {
        asked = true;
        return QString();
    });
    child<QAction>(window, "saveGameAct")->trigger();
    child<QAction>(window, "anotherSaveAct")->trigger();
    QVERIFY(!asked && !QApplication::activeModalWidget());

    Answered seen;
    answerNewDialog(QStringLiteral("x"), tmp.path() + "/file/home");
    answerMessageBox(&seen);
    child<QAction>(window, "newGameAct")->trigger();
    QCOMPARE(seen.text, QString("Can not make the directory you specific!"));
    QVERIFY(!window.getSetupInfo());
    QCOMPARE(child<QStackedWidget>(window, "stackedWidget")->currentIndex(), 1);

    // Closing asks first.
    window.show();
    answerMessageBox(&seen, QMessageBox::No);
    QVERIFY(!window.close());
    QCOMPARE(seen.text, QStringLiteral("确定关闭?"));
    QVERIFY(window.isVisible());
    answerMessageBox(&seen, QMessageBox::Yes);
    clickButton(&window, "exitPB");
    QVERIFY(!window.isVisible());

    window.setLifecycleEnabled(false);
    QList<bool> enabled;
    for (const char *name : {"newGameAct", "openGameAct", "anotherSaveAct", "saveGameAct"})
        enabled << child<QAction>(window, name)->isEnabled();
    QCOMPARE(enabled, QList<bool>({false, false, false, true}));
}

// Save as writes the records only, no directories, where the user chooses, which becomes the
// home; Cancel keeps it. With the home replaced by a plain file nothing can be saved: every
// command that saves says so, Save as asks for no directory and New keeps the contest.
void TestMainWindow::saveAsAndFailedSaves()
{
    QTemporaryDir tmp;
    MainWindow window;
    const QString home = tmp.path() + "/home", elsewhere = tmp.path() + QStringLiteral("/副本");
    newContestFromMenu(&window, QStringLiteral("保存"), home);
    window.getSetupInfo()->addADay(new CDayInfo);
    QVERIFY(QDir().mkdir(elsewhere));
    QString chosen = elsewhere;
    int asked = 0;
    FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &) {
        ++asked;
        return chosen;
    });
    child<QAction>(window, "anotherSaveAct")->trigger();
    QCOMPARE(window.getSetupInfo()->getHome(), elsewhere);
    QVERIFY(readFile(elsewhere + "/setup.cfg").contains("DAYNUM=1"));
    QVERIFY(QFile::exists(elsewhere + "/day1.info") &&
            QDir(elsewhere).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    chosen.clear();
    child<QAction>(window, "anotherSaveAct")->trigger();
    QCOMPARE(window.getSetupInfo()->getHome(), elsewhere);

    QVERIFY(QDir(elsewhere).removeRecursively());
    QVERIFY(writeFile(elsewhere, "not a directory"));
    const QString why = QStringLiteral("比赛没有保存:\n") + elsewhere + "/setup.cfg: ";
    chosen = tmp.path();
    Answered seen;
    for (const char *name : {"saveGameAct", "anotherSaveAct"}) {
        seen = {};
        answerMessageBox(&seen);
        child<QAction>(window, name)->trigger();
        QCOMPARE(seen.title, QString("Error"));
        QVERIFY2(seen.text.startsWith(why) && seen.text.size() > why.size(), qPrintable(seen.text));
    }
    QCOMPARE(asked, 2);
    seen = {};
    answerMessageBox(&seen);
    newContestFromMenu(&window, QStringLiteral("新"), tmp.path() + "/new");
    QVERIFY(seen.text.startsWith(why));
    QCOMPARE(window.getSetupInfo()->getContestName(), QStringLiteral("保存"));
    QVERIFY(!QFile::exists(tmp.path() + "/new/setup.cfg"));
}

// A task with an absurd test point count and a player list from Chinese Windows: the window
// opens, says both once, shows every tab and saves the list as UTF-8.
void TestMainWindow::openSaysWhatItReadDifferently()
{
    QTemporaryDir tmp;
    const QByteArray gbk =
        QTextCodec::codecForName("GB18030")->fromUnicode(QStringLiteral("JS-1@张三\r\n"));
    QVERIFY(writeFiles(tmp.path(), {{"setup.cfg", "NAME=c\nDAYNUM=1\nPLAYER=player.info\n"},
                                    {"day1.info", "NAME=d\nTASKNUM=1\n"},
                                    {"task1_1.info", "NAME=sum\nSAMPLES=2000000000\n"},
                                    {"player.info", gbk}}));
    MainWindow window;
    window.show();
    Answered seen;
    answerMessageBox(&seen);
    openFromMenu(&window, tmp.path() + QStringLiteral("/setup.cfg"));
    const QStringList said = seen.text.split('\n');
    QCOMPARE(said.size(), 2);
    QVERIFY(said.at(0).contains("SAMPLES=2000000000") && said.at(1).startsWith("player.info"));
    for (int tab : {2, 1, 0})
        enterTab(&window, tab);
    QCOMPARE(window.getSetupInfo()->getDayInfo(0)->getTaskInfo(0)->getSamplenum(), 99);
    child<QAction>(window, "saveGameAct")->trigger();
    QCOMPARE(readFile(tmp.path() + QStringLiteral("/player.info")),
             QStringLiteral("JS-1@张三\n").toUtf8());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
