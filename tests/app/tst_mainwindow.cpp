#include "csetupinfo.h"
#include "globals.h"
#include "mainwindow.h"
#include "mystat.h"
#include "pageglobals.h"
#include "statsglobals.h"

#include "common/contestfixture.h"
#include "pages/pageui.h"

#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextCodec>

namespace
{

QAction *action(MainWindow &window, const char *name)
{
    return window.findChild<QAction *>(QString::fromLatin1(name));
}

QStackedWidget *stack(MainWindow &window)
{
    return window.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void welcomeShell();
    void newSaveAndOpenAgain();
    void newReplacesOpenContest();
    void newFailsWhenHomeCannotBeMade();
    void saveAsWritesRecordsOnly();
    void saveActionsWithoutContest();
    void failedSaveIsShown();
    void openSaysWhatItReadDifferently();
    void closeConfirmation();
    void aboutBox();
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

void TestMainWindow::welcomeShell()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("考试评测系统 Taldon"));
    QCOMPARE(window.minimumSize(), QSize(760, 578));
    QCOMPARE(window.maximumSize(), QSize(760, 578));
    QCOMPARE(stack(window)->currentWidget()->objectName(), QStringLiteral("welcomePage"));

    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList names{"submanage", "playermanage", "scoresta"};
    const QStringList titles{"试题管理", "试题评测", "成绩统计"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), names[i]);
        QCOMPARE(tabs->tabText(i), titles[i]);
    }

    auto *fileMenu = window.findChild<QMenu *>(QStringLiteral("fileMenu"));
    QCOMPARE(fileMenu->title(), QStringLiteral("文件(&F)"));
    QStringList entries;
    for (QAction *entry : fileMenu->actions())
        entries << (entry->isSeparator() ? QStringLiteral("-") : entry->objectName());
    QCOMPARE(entries, QStringList({"newGameAct", "openGameAct", "saveGameAct", "anotherSaveAct",
                                   "-", "requireSandboxAct", "-", "exitAct"}));
    QCOMPARE(action(window, "newGameAct")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(action(window, "saveGameAct")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    // Menu icons drawn for the menu's size, not the welcome page's 180x60 buttons squeezed.
    for (const char *name : {"newGameAct", "openGameAct", "saveGameAct", "exitAct"}) {
        const QList<QSize> sizes = action(window, name)->icon().availableSizes();
        QVERIFY2(sizes.size() == 1 && sizes[0].width() == sizes[0].height() &&
                     sizes[0].width() <= 24,
                 name);
    }
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
    QTest::mouseClick(first.findChild<QPushButton *>(QStringLiteral("newGamePB")), Qt::LeftButton);
    QVERIFY(first.getSetupInfo());
    QCOMPARE(first.windowTitle(), QStringLiteral("单机版"));
    QCOMPARE(stack(first)->currentIndex(), 0);
    QVERIFY(readFile(home + QStringLiteral("/setup.cfg")).contains("DAYNUM=0"));
    for (const char *sub : {"players", "data", "result", "final", "tmp", "filter", "evaldata"})
        QVERIFY2(QDir(home + '/' + sub).exists(), sub);
    QVERIFY(QFile::exists(home + QStringLiteral("/filter/exact")));
    QVERIFY(!first.findChild<QMessageBox *>());
    QVERIFY(!QFile::exists(QDir::currentPath() + QStringLiteral("/pwned")));

    auto *day = new CDayInfo;
    day->setDayname(QStringLiteral("第一试"));
    first.getSetupInfo()->addADay(day);
    action(first, "saveGameAct")->trigger();

    MainWindow second;
    QString caption;
    QString filter;
    FileDialogs::replaceOpenFileName(
        [&](QWidget *, const QString &c, const QString &, const QString &f) {
            caption = c;
            filter = f;
            return home + QStringLiteral("/setup.cfg");
        });
    action(second, "openGameAct")->trigger();
    QCOMPARE(caption, QStringLiteral("Choose a file"));
    QCOMPARE(filter, QStringLiteral("Setup File ( *.cfg)"));
    QVERIFY(second.getSetupInfo());
    QCOMPARE(second.windowTitle(), QStringLiteral("单机版"));
    QCOMPARE(second.getSetupInfo()->getContestName(), QStringLiteral("省赛"));
    QCOMPARE(second.getSetupInfo()->getHome(), home);
    QCOMPARE(second.getSetupInfo()->getDayNum(), 1);
    QCOMPARE(second.getSetupInfo()->getDayInfo(0)->getDayname(), QStringLiteral("第一试"));

    // A second Open saves the open contest and refuses the chosen file.
    CSetupInfo *open = second.getSetupInfo();
    open->setContestName(QStringLiteral("改名"));
    Answered seen;
    answerMessageBox(&seen, QMessageBox::Ok);
    action(second, "openGameAct")->trigger();
    QCOMPARE(seen.title, QStringLiteral("Error"));
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
    const auto registerPlayer = [&](const QString &id) {
        CPlayerInfo registry;
        registry.addPlayerInfo(id, QStringLiteral("选手"));
        window.getSetupInfo()->setPlayerInfo(&registry);
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
    QCOMPARE(ranges->rowCount(), 1);
    QCOMPARE(teams->item(9, 1)->text(), QStringLiteral("50"));

    const QString newHome = old.home.path() + QStringLiteral("/new");
    newContestFromMenu(&window, QStringLiteral("新"), newHome);
    // No stock filters beside this test program: the contest is made, and the user is told.
    auto *warning = window.findChild<QMessageBox *>();
    QVERIFY(warning && warning->isVisible());
    QCOMPARE(warning->text(), QStringLiteral("没有找到标准比较程序, filter 目录是空的!"));
    QVERIFY(QDir(newHome + QStringLiteral("/filter")).isEmpty());
    QTest::mouseClick(warning->button(QMessageBox::Ok), Qt::LeftButton);
    QCOMPARE(window.getSetupInfo()->getContestName(), QStringLiteral("新"));
    QCOMPARE(window.getSetupInfo()->getHome(), newHome);
    QVERIFY(!curDay && !curTask && !curItem);
    // The replaced contest was saved with its new day before it went.
    QVERIFY(readFile(oldHome + QStringLiteral("/setup.cfg")).contains("DAYNUM=2"));
    QCOMPARE(window.getSetupInfo()->getDayNum(), 0);
    QCOMPARE(tree->topLevelItemCount(), 0);
    QCOMPARE(child<QStackedWidget>(window, "infoWS")->currentIndex(), 1);
    QCOMPARE(child<QTableWidget>(window, "manageTB")->rowCount(), 0);
    QVERIFY(!mystat || (mystat->getSetup() == window.getSetupInfo() && mystat->players.isEmpty()));
    QCOMPARE(ranges->rowCount(), 0);
    QCOMPARE(players->rowCount(), 0);
    QCOMPARE(players->columnCount(), 5);
    QCOMPARE(child<QLabel>(window, "gradetotalTL")->text(), QStringLiteral("0"));
    QCOMPARE(child<QComboBox>(window, "stattaskCB")->count(), 0);
    QCOMPARE(teams->item(9, 1)->text(), QStringLiteral("0"));
    int dialogs = 0;
    answerSaveDialog(QString(), &dialogs);
    clickButton(&window, "exportResultPB");
    clickButton(&window, "exportteamPB");
    QCOMPARE(dialogs, 2);

    addDayAndTask();
    QCOMPARE(window.getSetupInfo()->getDayNum(), 1);
    QCOMPARE(window.getSetupInfo()->getDayInfo(0)->getTaskNum(), 1);
    child<QSpinBox>(window, "tscSB")->setValue(50);
    QCOMPARE(curTask->getSampleMark(1), 5);
    child<QSpinBox>(window, "testpointnumSB")->setValue(4);
    QCOMPARE(child<QTableWidget>(window, "spTB")->columnCount(), 4);
    QCOMPARE(curTask->getSamplenum(), 4);
    QCOMPARE(curTask->getSampleMark(1), 12);
    QCOMPARE(curTask->getSampleMark(4), 12);
    registerPlayer(QStringLiteral("SH-001"));
    enterTab(&window, 2);
    QCOMPARE(players->rowCount(), 1);
    clickButton(&window, "rangeaddPB");
    QCOMPARE(ranges->rowCount(), 1);
    QCOMPARE(rowTexts(ranges, 0), QStringList({"100--0", "1"}));

    const QMap<QString, QString> &regions = window.getRegionTable();
    QCOMPARE(regions.size(), 68);
    QCOMPARE(regions.value(QStringLiteral("bj")), QStringLiteral("北京"));
    QCOMPARE(regions.value(QStringLiteral("BJ")), QStringLiteral("北京"));
    QCOMPARE(regions.value(QStringLiteral("TW")), QStringLiteral("台湾"));
    QCOMPARE(regions.value(QStringLiteral("sn")), QStringLiteral("陕西"));
    QCOMPARE(regions.value(QStringLiteral("SX")), QStringLiteral("山西"));
}

void TestMainWindow::newFailsWhenHomeCannotBeMade()
{
    QTemporaryDir tmp;
    const QString blocker = tmp.path() + QStringLiteral("/file");
    QVERIFY(writeFile(blocker, ""));

    MainWindow window;
    Answered seen;
    answerNewDialog(QStringLiteral("x"), blocker + QStringLiteral("/home"));
    answerMessageBox(&seen, QMessageBox::Ok);
    action(window, "newGameAct")->trigger();
    QCOMPARE(seen.title, QStringLiteral("Error!"));
    QCOMPARE(seen.text, QStringLiteral("Can not make the directory you specific!"));
    QVERIFY(!window.getSetupInfo());
    QCOMPARE(stack(window)->currentIndex(), 1);
    QCOMPARE(window.windowTitle(), QStringLiteral("考试评测系统 Taldon"));
}

void TestMainWindow::saveAsWritesRecordsOnly()
{
    QTemporaryDir tmp;
    MainWindow window;
    const QString home = tmp.path() + QStringLiteral("/home");
    newContestFromMenu(&window, QStringLiteral("另存"), home);
    window.getSetupInfo()->addADay(new CDayInfo);

    const QString elsewhere = tmp.path() + QStringLiteral("/副本");
    QVERIFY(QDir().mkdir(elsewhere));
    FileDialogs::replaceExistingDirectory(
        [&](QWidget *, const QString &, const QString &) { return elsewhere; });
    action(window, "anotherSaveAct")->trigger();
    QCOMPARE(window.getSetupInfo()->getHome(), elsewhere);
    QVERIFY(readFile(home + QStringLiteral("/setup.cfg")).contains("DAYNUM=1"));
    QVERIFY(readFile(elsewhere + QStringLiteral("/setup.cfg")).contains("DAYNUM=1"));
    QVERIFY(QFile::exists(elsewhere + QStringLiteral("/day1.info")));
    QVERIFY(QDir(elsewhere).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    // Cancelling the directory dialog keeps the home.
    FileDialogs::replaceExistingDirectory(
        [](QWidget *, const QString &, const QString &) { return QString(); });
    action(window, "anotherSaveAct")->trigger();
    QCOMPARE(window.getSetupInfo()->getHome(), elsewhere);
}

void TestMainWindow::saveActionsWithoutContest()
{
    MainWindow window;
    bool asked = false;
    FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &) {
        asked = true;
        return QString();
    });
    action(window, "saveGameAct")->trigger();
    action(window, "anotherSaveAct")->trigger();
    QVERIFY(!asked);

    // While an evaluation runs, nothing may replace the contest; Save stays available.
    window.setLifecycleEnabled(false);
    for (const char *name : {"newGameAct", "openGameAct", "anotherSaveAct"})
        QVERIFY(!action(window, name)->isEnabled());
    QVERIFY(action(window, "saveGameAct")->isEnabled());
    window.setLifecycleEnabled(true);
    QVERIFY(action(window, "newGameAct")->isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(stack(window)->currentIndex(), 1);
}

// With the home replaced by a plain file nothing can be saved: every command that saves says so,
// Save as asks for no directory and New keeps the contest it could not save.
void TestMainWindow::failedSaveIsShown()
{
    QTemporaryDir tmp;
    MainWindow window;
    const QString home = tmp.path() + QStringLiteral("/home");
    newContestFromMenu(&window, QStringLiteral("保存"), home);
    QVERIFY(QDir(home).removeRecursively());
    QVERIFY(writeFile(home, "not a directory"));
    const QString why = QStringLiteral("比赛没有保存:\n") + home + QStringLiteral("/setup.cfg: ");

    Answered seen;
    answerMessageBox(&seen);
    action(window, "saveGameAct")->trigger();
    QCOMPARE(seen.title, QStringLiteral("Error"));
    QVERIFY2(seen.text.startsWith(why) && seen.text.size() > why.size(), qPrintable(seen.text));

    bool asked = false;
    FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &) {
        asked = true;
        return tmp.path();
    });
    seen = {};
    answerMessageBox(&seen);
    action(window, "anotherSaveAct")->trigger();
    QVERIFY(seen.text.startsWith(why));
    QVERIFY(!asked);

    seen = {};
    answerMessageBox(&seen);
    newContestFromMenu(&window, QStringLiteral("新"), tmp.path() + QStringLiteral("/new"));
    QVERIFY(seen.text.startsWith(why));
    QCOMPARE(window.getSetupInfo()->getContestName(), QStringLiteral("保存"));
    QVERIFY(!QFile::exists(tmp.path() + QStringLiteral("/new/setup.cfg")));
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
    QCOMPARE(seen.title, QStringLiteral("提示"));
    const QStringList said = seen.text.split('\n');
    QCOMPARE(said.size(), 2);
    QVERIFY(said.at(0).endsWith(
        QStringLiteral("SAMPLES=2000000000 超过 99 个测试点的上限, 按 99 读入")));
    QVERIFY(said.at(1).startsWith(QStringLiteral("player.info 不是 UTF-8 编码")));
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    for (int tab : {2, 1, 0})
        tabs->setCurrentIndex(tab);
    QCOMPARE(window.getSetupInfo()->getDayInfo(0)->getTaskInfo(0)->getSamplenum(), 99);
    action(window, "saveGameAct")->trigger();
    QCOMPARE(readFile(tmp.path() + QStringLiteral("/player.info")),
             QStringLiteral("JS-1@张三\n").toUtf8());
}

void TestMainWindow::closeConfirmation()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    Answered seen;
    answerMessageBox(&seen, QMessageBox::No);
    QVERIFY(!window.close());
    QCOMPARE(seen.title, QStringLiteral("Close Window"));
    QCOMPARE(seen.text, QStringLiteral("确定关闭?"));
    QVERIFY(window.isVisible());

    answerNextModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    action(window, "exitAct")->trigger();
    QVERIFY(window.isVisible());

    answerMessageBox(&seen, QMessageBox::Yes);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("exitPB")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestMainWindow::aboutBox()
{
    MainWindow window;
    Answered seen;
    answerMessageBox(&seen, QMessageBox::Ok);
    action(window, "aboutAct")->trigger();
    QCOMPARE(seen.title, QStringLiteral("关于"));
    const QStringList lines = seen.text.split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1], QStringLiteral("Based on Qt ") + QStringLiteral(QT_VERSION_STR));
    QVERIFY(QRegularExpression(QStringLiteral("^Built on [A-Z][a-z]{2} [ 0-9]\\d \\d{4} "
                                              "\\d{2}:\\d{2}:\\d{2}$"))
                .match(lines[2])
                .hasMatch());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
