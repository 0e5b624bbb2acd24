#include "csetupinfo.h"
#include "globals.h"
#include "mainwindow.h"
#include "mystat.h"
#include "newgamedlg.h"
#include "pageglobals.h"
#include "statsglobals.h"

#include "common/contestfixture.h"
#include "pages/pageui.h"

#include <QTemporaryDir>
#include <QTextCodec>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // Stock filters installed on this machine must not be found instead of the ones the tests
    // place (or leave out) beside the programs; child processes inherit the setting.
    void initTestCase() { qputenv("TALDON_FILTER_DIR", QByteArray()); }

    void cleanup()
    {
        FileDialogs::replaceOpenFileName({});
        FileDialogs::replaceExistingDirectory({});
    }

    // The home's missing parents, blank, Chinese and shell syntax are all just a name.
    void newSaveAndOpenAgain()
    {
        QTemporaryDir tmp;
        // Stock filters beside a program started as <tmp>/bin/taldon.
        QVERIFY(writeFile(tmp.path() + "/bin/filter/exact", ""));
        setProgramDirectory(QFile::encodeName(tmp.path() + "/bin/taldon").constData());
        const QString home = tmp.path() + "/新 目录/考试 $(touch pwned)";
        MainWindow first;
        answerNextModal([home](QWidget *modal) {
            child<QLineEdit>(modal, "basenameLE")->setText("省赛");
            child<QLineEdit>(modal, "pathLE")->setText(home);
            clickButton(modal, "okPB");
        });
        clickButton(&first, "newGamePB");
        QVERIFY(first.getSetupInfo());
        QVERIFY(readFile(home + "/setup.cfg").contains("DAYNUM=0"));
        QVERIFY(QFile::exists(home + "/filter/exact"));
        QVERIFY(!QFile::exists(QDir::currentPath() + "/pwned"));
        auto *day = new CDayInfo;
        day->setDayname("第一试");
        first.getSetupInfo()->addADay(day);
        child<QAction>(&first, "saveGameAct")->trigger();

        MainWindow second;
        openFromMenu(&second, home + "/setup.cfg");
        CSetupInfo *open = second.getSetupInfo();
        QVERIFY(open);
        QCOMPARE(open->getContestName() + open->getHome(), "省赛" + home);
        QCOMPARE(open->getDayInfo(0)->getDayname(), QString("第一试"));
        // A second Open saves the open contest and refuses the chosen file.
        open->setContestName("改名");
        Answered seen;
        answerMessageBox(&seen);
        openFromMenu(&second, home + "/setup.cfg");
        QCOMPARE(seen.text, QString("请关闭当前比赛!"));
        QCOMPARE(second.getSetupInfo(), open);
        QVERIFY(readFile(home + "/setup.cfg").contains("NAME=改名"));
        // Quitting does not save.
        open->setContestName("未存");
        answerMessageBox(nullptr, QMessageBox::Yes);
        QVERIFY(second.close());
        QVERIFY(readFile(home + "/setup.cfg").contains("NAME=改名"));
        setProgramDirectory("");
    }

    // New replaces an open contest on every page: the old one is saved with its day and
    // forgotten, and each page, set up a second time, reacts once to each of its signals.
    void newReplacesOpenContest()
    {
        ContestFixture old({{{"sum", {50, 50}}}});
        old.registerPlayers({{"JS-001", "选手"}});
        old.saveIn("old");
        old.appendResult(1, "JS-001", "{sum 100 ok\n101 10 0.1 ok\n}102 0\n");
        const QString oldHome = old.setup.getHome();
        MainWindow window;
        window.show();
        openFromMenu(&window, oldHome + "/setup.cfg");
        auto *tree = child<QTreeWidget>(&window, "proLV");
        const auto addDayAndTask = [&] {
            child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(0);
            treeContextMenu(tree, nullptr, "添加考试");
            treeContextMenu(tree, tree->topLevelItem(0), "添加试题");
            tree->expandAll();
            clickItem(tree, tree->topLevelItem(0)->child(0));
        };
        addDayAndTask();
        curDay = window.getSetupInfo()->getDayInfo(0);
        enterTab(&window, 2);
        auto *ranges = child<QTableWidget>(&window, "rangeLV");
        auto *players = child<QTableWidget>(&window, "playersinfoTB");
        child<QLineEdit>(&window, "rangefromLE")->setText("100");
        child<QLineEdit>(&window, "rangetoLE")->setText("0");
        clickButton(&window, "rangeaddPB");

        const QString newHome = old.home.path() + "/new";
        newContestFromMenu(&window, "新", newHome);
        // No stock filters beside this test program: the contest is made, and the user is told.
        auto *warning = window.findChild<QMessageBox *>();
        QVERIFY(warning && warning->text() == "没有找到标准比较程序, filter 目录是空的!");
        QVERIFY(QDir(newHome + "/filter").isEmpty());
        QTest::mouseClick(warning->button(QMessageBox::Ok), Qt::LeftButton);
        QCOMPARE(window.getSetupInfo()->getHome(), newHome);
        QVERIFY(!curDay && !curTask && !curItem);
        // The replaced contest was saved with its new day before it went.
        QVERIFY(readFile(oldHome + "/setup.cfg").contains("DAYNUM=2"));
        QCOMPARE(QList<int>({tree->topLevelItemCount(),
                             child<QTableWidget>(&window, "manageTB")->rowCount(),
                             ranges->rowCount(), players->rowCount()}),
                 QList<int>({0, 0, 0, 0}));
        QVERIFY(!mystat ||
                (mystat->getSetup() == window.getSetupInfo() && mystat->players.isEmpty()));

        // Set up again, each page reacts once: marks are split once, one row per range added.
        addDayAndTask();
        child<QSpinBox>(&window, "tscSB")->setValue(50);
        QCOMPARE(curTask->getSampleMark(1), 5);
        child<QSpinBox>(&window, "testpointnumSB")->setValue(4);
        QCOMPARE(marksOf(curTask), QList<int>({12, 12, 12, 12}));
        CPlayerInfo registry;
        registry.addPlayerInfo("SH-001", "选手");
        window.getSetupInfo()->setPlayerInfo(&registry);
        enterTab(&window, 2);
        QCOMPARE(players->rowCount(), 1);
        clickButton(&window, "rangeaddPB");
        QCOMPARE(rowTexts(ranges, 0), QStringList({"100--0", "1"}));
    }

    // Without a contest the save commands ask nothing, and a New whose home cannot be made leaves
    // none; while an evaluation runs nothing may replace the contest, and Save stays available.
    void withoutAContest()
    {
        QTemporaryDir tmp;
        QVERIFY(writeFile(tmp.path() + "/file", ""));
        MainWindow window;
        child<QAction>(&window, "saveGameAct")->trigger();
        child<QAction>(&window, "anotherSaveAct")->trigger();
        QVERIFY(!QApplication::activeModalWidget());
        Answered seen;
        answerMessageBox(&seen);
        newContestFromMenu(&window, "x", tmp.path() + "/file/home");
        QCOMPARE(seen.text, QString("Can not make the directory you specific!"));
        QVERIFY(!window.getSetupInfo());

        // Closing asks first.
        window.show();
        answerMessageBox(&seen, QMessageBox::No);
        clickButton(&window, "exitPB");
        QCOMPARE(seen.text, QString("确定关闭?"));
        QVERIFY(window.isVisible());

        window.setLifecycleEnabled(false);
        QList<bool> enabled;
        for (const char *name : {"newGameAct", "openGameAct", "anotherSaveAct", "saveGameAct"})
            enabled << child<QAction>(&window, name)->isEnabled();
        QCOMPARE(enabled, QList<bool>({false, false, false, true}));
    }

    // Save as writes only the records where the user chooses, the new home; Cancel keeps it. With
    // the home a plain file, every command that saves says it failed and New keeps the contest.
    void saveAsAndFailedSaves()
    {
        QTemporaryDir tmp;
        MainWindow window;
        const QString elsewhere = tmp.path() + "/副本";
        newContestFromMenu(&window, "保存", tmp.path() + "/home");
        window.getSetupInfo()->addADay(new CDayInfo);
        QVERIFY(QDir().mkdir(elsewhere));
        QString chosen = elsewhere;
        int asked = 0;
        FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &) {
            ++asked;
            return chosen;
        });
        child<QAction>(&window, "anotherSaveAct")->trigger();
        QCOMPARE(window.getSetupInfo()->getHome(), elsewhere);
        QVERIFY(readFile(elsewhere + "/setup.cfg").contains("DAYNUM=1"));
        QVERIFY(QFile::exists(elsewhere + "/day1.info") &&
                QDir(elsewhere).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
        chosen.clear();
        child<QAction>(&window, "anotherSaveAct")->trigger();
        QCOMPARE(window.getSetupInfo()->getHome(), elsewhere);

        QVERIFY(QDir(elsewhere).removeRecursively() && writeFile(elsewhere, "not a directory"));
        const QString why = "比赛没有保存:\n" + elsewhere + "/setup.cfg: ";
        chosen = tmp.path();
        Answered seen;
        for (const char *name : {"saveGameAct", "anotherSaveAct", "newGameAct"}) {
            seen = {};
            answerMessageBox(&seen);
            if (name == QByteArray("newGameAct"))
                newContestFromMenu(&window, "新", tmp.path() + "/new");
            else
                child<QAction>(&window, name)->trigger();
            QCOMPARE(seen.title, QString("Error"));
            QVERIFY2(seen.text.startsWith(why) && seen.text.size() > why.size(),
                     qPrintable(seen.text));
        }
        QCOMPARE(asked, 2);
        QCOMPARE(window.getSetupInfo()->getContestName(), QString("保存"));
        QVERIFY(!QFile::exists(tmp.path() + "/new/setup.cfg"));
    }

    // A task with an absurd test point count and a player list from Chinese Windows: the window
    // opens, says both in one box and shows every tab.
    void openSaysWhatItReadDifferently()
    {
        QTemporaryDir tmp;
        QVERIFY(writeFiles(
            tmp.path(),
            {{"setup.cfg", "NAME=c\nDAYNUM=1\nPLAYER=player.info\n"},
             {"day1.info", "NAME=d\nTASKNUM=1\n"},
             {"task1_1.info", "NAME=sum\nSAMPLES=2000000000\n"},
             {"player.info", QTextCodec::codecForName("GB18030")->fromUnicode("JS-1@张三")}}));
        MainWindow window;
        window.show();
        Answered seen;
        answerMessageBox(&seen);
        openFromMenu(&window, tmp.path() + "/setup.cfg");
        const QStringList said = seen.text.split('\n');
        QVERIFY(said.size() == 2 && said[0].contains("SAMPLES=2000000000") &&
                said[1].startsWith("player.info"));
        for (int tab : {2, 1, 0})
            enterTab(&window, tab);
    }

    // OK needs a path, so Return in the empty one neither accepts nor opens 浏览; 浏览 starts in
    // the typed directory and Cancel keeps it.
    void newGameDialog()
    {
        NewGameDlg dialog;
        auto *path = child<QLineEdit>(&dialog, "pathLE");
        QStringList asked;
        FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &dir) {
            asked << dir;
            return QString();
        });
        dialog.show();
        for (const QString &typed : {QString(), QDir::tempPath()}) {
            QVERIFY(dialog.isVisible());
            path->setText(typed);
            if (!typed.isEmpty())
                clickButton(&dialog, "openPathPB");
            path->setFocus();
            QTest::keyClick(path, Qt::Key_Return);
        }
        QCOMPARE(asked, QStringList{QDir::tempPath()});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.getContestName() + '|' + dialog.getHomePath(),
                 "程序设计竞赛|" + QDir::tempPath());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
