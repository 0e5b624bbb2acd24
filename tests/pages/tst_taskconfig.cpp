#include "csetupinfo.h"
#include "globals.h"
#include "mainwindow.h"
#include "pageglobals.h"
#include "runctrl.h"

#include "pages/pageui.h"

#include <QTemporaryDir>

#include <memory>

// Each test has a fresh shown window and temporary directory.
class TestTaskConfig : public QObject
{
    Q_OBJECT

    QTemporaryDir *tmp = nullptr;
    MainWindow *window = nullptr;

    QTreeWidget *tree() { return child<QTreeWidget>(window, "proLV"); }
    QTreeWidgetItem *task(int t = 0) { return tree()->topLevelItem(0)->child(t); }
    void choose(QTreeWidgetItem *item) { clickItem(tree(), item); }
    void menu(QTreeWidgetItem *item, const QString &pick) { treeContextMenu(tree(), item, pick); }
    QStringList lines(const QString &path)
    {
        return QString::fromUtf8(readFile(path)).split('\n', Qt::SkipEmptyParts);
    }

    // A contest of one day with the given tasks, each with the task's defaults.
    static CSetupInfo *contestOf(const QStringList &tasks)
    {
        auto *contest = new CSetupInfo;
        auto *day = new CDayInfo;
        day->setDayname("第1场--day1");
        for (const QString &name : tasks) {
            auto *task = new CTaskInfo;
            task->setTaskname(name);
            day->addATask(task);
        }
        contest->addADay(day);
        return contest;
    }

    // Saves the contest under home (the temporary directory by default) and opens it, its days
    // expanded and its first task chosen.
    void open(CSetupInfo *written, QString home = QString())
    {
        const std::unique_ptr<CSetupInfo> contest(written);
        home = home.isEmpty() ? tmp->path() : home;
        QVERIFY(contest->saveSetupInfo(home));
        openFromMenu(window, home + "/setup.cfg");
        QVERIFY(window->getSetupInfo());
        tree()->expandAll();
        choose(task());
    }

    // Days and their indented tasks, as the tree shows them or as the records hold them.
    QStringList treeTexts()
    {
        QStringList texts;
        for (int d = 0; d < tree()->topLevelItemCount(); ++d) {
            texts << tree()->topLevelItem(d)->text(0);
            for (int t = 0; t < tree()->topLevelItem(d)->childCount(); ++t)
                texts << "  " + tree()->topLevelItem(d)->child(t)->text(0);
        }
        return texts;
    }

    QStringList recordTexts()
    {
        CSetupInfo *contest = window->getSetupInfo();
        QStringList texts;
        for (int d = 0; d < contest->getDayNum(); ++d) {
            texts << contest->getDayInfo(d)->getDayname();
            for (int t = 0; t < contest->getDayInfo(d)->getTaskNum(); ++t)
                texts << "  " + contest->getDayInfo(d)->getTaskInfo(t)->getTaskname();
        }
        return texts;
    }

private slots:
    // A uid of its own: a fork bomb of a test beside it as root takes its uid's process limit.
    void initTestCase() { setSubmissionUid(kSubmissionUid + 92); }
    void init()
    {
        tmp = new QTemporaryDir;
        window = new MainWindow;
        window->show();
    }

    void cleanup()
    {
        FileDialogs::replaceOpenFileName({});
        delete window;
        delete tmp;
    }

    // Days and tasks added and deleted by the context menu. Adding rebuilds the contest's arrays;
    // the form must go on editing the record that now stands for its task, and deleting the task
    // it shows must release it.
    void formKeepsEditingItsTaskAcrossAdds()
    {
        open(contestOf({"alpha", "beta"}));
        QTreeWidget *view = tree();
        clickItem(view, task(1));
        menu(nullptr, "添加考试");
        menu(view->topLevelItem(0), "添加试题");
        retype(child<QLineEdit>(window, "basenameLE"), "beta2");
        CSetupInfo *setup = window->getSetupInfo();
        CDayInfo *day = setup->getDayInfo(0);
        QCOMPARE(curTask, day->getTaskInfo(1));
        retype(child<QLineEdit>(window, "basenameLE"), QString());
        QCOMPARE(day->getTaskInfo(1)->getTaskname() + task(1)->text(0), QString("beta2beta2"));

        // The evaluation page's chosen day is fetched again as well, and forgotten with its day.
        curDay = setup->getDayInfo(0);
        menu(nullptr, "添加考试");
        QCOMPARE(curDay, setup->getDayInfo(0));
        menu(view->topLevelItem(1), "删除");
        QCOMPARE(curDay, setup->getDayInfo(0));
        // The later day is renumbered, in the tree and in the records.
        QCOMPARE(treeTexts(), recordTexts());
        QCOMPARE(recordTexts().last(), QString("第2场--day2"));
        curDay = setup->getDayInfo(1);
        menu(view->topLevelItem(1), "删除");
        QVERIFY(!curDay);
        QCOMPARE(setup->getDayNum(), 1);

        // Deleting the task shown lets the form show the tree's current item instead.
        menu(task(1), "删除");
        QCOMPARE(recordTexts(), QStringList({"第1场--day1", "  alpha", "  Unknown"}));
        QTreeWidgetItem *current = view->currentItem();
        QVERIFY(current && current->parent());
        QCOMPARE(curTask,
                 setup->getDayInfo(0)->getTaskInfo(current->parent()->indexOfChild(current)));
        QCOMPARE(child<QLineEdit>(window, "basenameLE")->text(), curTask->getTaskname());
    }

    void formEditsReachTheTaskFile()
    {
        open(contestOf({"alpha"}));
        retype(child<QLineEdit>(window, "basenameLE"), "求和");
        child<QComboBox>(window, "submitCB")->setCurrentIndex(1);
        retype(child<QSpinBox>(window, "timelimitSB"), "3");
        retype(child<QSpinBox>(window, "memlimitSB"), "128");
        retype(child<QSpinBox>(window, "testpointnumSB"), "5");
        child<QComboBox>(window, "methodCB")->setCurrentIndex(2);
        child<QComboBox>(window, "numCB")->setCurrentIndex(3);
        clickBox(child<QCheckBox>(window, "spascalCB"));
        retype(child<QLineEdit>(window, "scLE"), "-O2 -lm");
        clickBox(child<QCheckBox>(window, "sjavaCB"));
        retype(child<QLineEdit>(window, "sjavaLE"), "-encoding UTF-8");
        child<QAction>(window, "saveGameAct")->trigger();
        QCOMPARE(lines(tmp->path() + "/task1_1.info"),
                 QStringList({"TITLE=", "NAME=求和", "RUN=", "INFILESUFFIX=in", "ANSFILESUFFIX=ans",
                              "PLUG=mlsn_int_e", "TYPE=ANSWERS", "LIMIT=3", "MEMLIMITS=128",
                              "SAMPLES=5", "CCL=c@gcc -o %o %i -O2 -lm", "CCL=cpp@g++ -o %o %i ",
                              "CCL=java@javac %i -encoding UTF-8", "MARK=1@20", "MARK=2@20",
                              "MARK=3@20", "MARK=4@20", "MARK=5@20"}));
        QCOMPARE(task()->text(0), QString("求和"));

        // The edited task shows again as it was edited.
        choose(tree()->topLevelItem(0));
        choose(task());
        QStringList shown{child<QLineEdit>(window, "basenameLE")->text(),
                          child<QLineEdit>(window, "scLE")->text()};
        for (const char *box : {"submitCB", "methodCB", "numCB"})
            shown << QString::number(child<QComboBox>(window, box)->currentIndex());
        for (const char *box : {"timelimitSB", "memlimitSB", "testpointnumSB"})
            shown << QString::number(child<QSpinBox>(window, box)->value());
        QCOMPARE(shown, QStringList({"求和", "-O2 -lm", "1", "2", "3", "3", "128", "5"}));
        QVERIFY(!child<QLineEdit>(window, "spascalLE")->isEnabled());
        // Unticking removes the command and clears its options; ticking again gives the bare one.
        clickBox(child<QCheckBox>(window, "scCB"));
        QVERIFY(!curTask->getCcl("c") && child<QLineEdit>(window, "scLE")->text().isEmpty());
        clickBox(child<QCheckBox>(window, "scCB"));
        QCOMPARE(curTask->getCcl("c")->getCmd(), QString("gcc -o %o %i "));
    }

    void marksFollowTotalCountAndCells()
    {
        open(contestOf({"alpha"}));
        auto *total = child<QSpinBox>(window, "tscSB");
        auto *count = child<QSpinBox>(window, "testpointnumSB");
        auto *cells = child<QTableWidget>(window, "spTB");

        // 100 over 3 points drops the remainder: the record's total is 99, the box still says 100.
        count->setValue(3);
        total->setValue(90);
        total->setValue(100);
        QCOMPARE(marksOf(curTask), QList<int>({33, 33, 33}));
        QCOMPARE(curTask->getTotal() * 1000 + total->value(), 99100);
        count->setValue(10);
        count->setValue(4);
        QCOMPARE(rowTexts(cells, 0), QStringList({"25", "25", "25", "25"}));
        count->setValue(0);
        QCOMPARE(curTask->getSamplenum(), 4);

        // Without equal marks one cell changes one mark and the total box follows the sum.
        clickBox(child<QCheckBox>(window, "aveCB"));
        cells->item(0, 1)->setText("40");
        QCOMPARE(marksOf(curTask), QList<int>({25, 40, 25, 25}));
        QCOMPARE(total->value(), 115);
        cells->item(0, 2)->setText("-5");
        QCOMPARE(curTask->getSampleMark(3), 25);
        QCOMPARE(cells->item(0, 2)->text(), QString("25"));
        cells->item(0, 3)->setText("abc");

        // Unequal marks come back with equal marks off and the table open.
        choose(tree()->topLevelItem(0));
        choose(task());
        QVERIFY(!child<QCheckBox>(window, "aveCB")->isChecked() && cells->isEnabled());
        QCOMPARE(rowTexts(cells, 0), QStringList({"25", "40", "25", "0"}));
    }

    // Values the boxes cannot show are shown clamped; the record keeps them until that very box
    // is edited.
    void clampedValuesStayInTheRecord()
    {
        CSetupInfo *contest(contestOf({"alpha", "beta"}));
        CTaskInfo *big = contest->getDayInfo(0)->getTaskInfo(0);
        big->setSamplenum(90);
        big->setTimelimit(2.5f);
        big->setMemlimit(4000);
        for (int i = 1; i <= 90; ++i)
            big->setSampleMark(i, 7);
        open(contest);
        QCOMPARE(child<QSpinBox>(window, "testpointnumSB")->value(), 80);
        choose(task(1));
        choose(task());
        choose(tree()->topLevelItem(0));
        QCOMPARE(rowTexts(child<QTableWidget>(window, "dayTB"), 0),
                 QStringList({"alpha", "", "源文件", "630", "90", "2.5sec", ""}));

        choose(task());
        retype(child<QSpinBox>(window, "timelimitSB"), "4");
        QCOMPARE(curTask->getTimelimit(), 4.0f);
        QCOMPARE(curTask->getSampleMark(90), 7);
    }

    // The form composes a name per method, shown again on coming back; the warning is shown exactly
    // while the task has no filter, which no evaluation can judge with.
    void filterNamesComposedAndShown()
    {
        CSetupInfo *contest(contestOf({"alpha", "beta"}));
        contest->getDayInfo(0)->getTaskInfo(1)->setPlugname("mlmn_float_0e");
        open(contest);
        auto *method = child<QComboBox>(window, "methodCB");
        auto *noFilter = child<QLabel>(window, "nofilterTL");
        // A stored floating point name with a digit the box cannot show hides the precision.
        choose(task(1));
        QCOMPARE(method->currentIndex(), 3);
        QVERIFY(child<QFrame>(window, "floatF")->isHidden() && noFilter->isHidden());
        QCOMPARE(curTask->getPlugname(), QString("mlmn_float_0e"));

        choose(task());
        const struct {
            int method, entry, digit;
            const char *name;
        } rows[] = {
            {1, 3, 0, "slss_filterspace_e"}, {2, 4, 0, "mlmn_int_e"}, {3, 1, 5, "slsn_float_5e"}};
        for (const auto &row : rows) {
            method->setCurrentIndex(row.method);
            QVERIFY(curTask->getPlugname().isEmpty() && !noFilter->isHidden());
            auto *entries = child<QComboBox>(window, row.method == 1 ? "stringCB" : "numCB");
            entries->setCurrentIndex(row.entry);
            if (row.digit)
                child<QSpinBox>(window, "preciseSB")->setValue(row.digit);
            QCOMPARE(curTask->getPlugname(), QLatin1String(row.name));
            QVERIFY(noFilter->isHidden());
            choose(task(1));
            choose(task());
            QCOMPARE(method->currentIndex() * 10 + entries->currentIndex(),
                     row.method * 10 + row.entry);
            method->setCurrentIndex(0);
            QVERIFY(curTask->getPlugname().isEmpty());
        }
    }

    // A stored custom name shows disabled; another method drops it. A chosen file is copied into
    // the contest, over another of its name only when the user agrees.
    void customFiltersChosenAndShown()
    {
        const QString home = tmp->path() + "/home", mine = tmp->path() + "/u/filters/";
        QVERIFY(writeFile(mine + "myjudge", "#!/bin/sh\n") && writeFile(mine + "checker", "new"));
        QVERIFY(writeFile(home + "/filter/checker", "old"));
        CSetupInfo *contest(contestOf({"alpha", "beta"}));
        contest->getDayInfo(0)->getTaskInfo(1)->setPlugname("checker");
        open(contest, home);
        auto *methodLE = child<QLineEdit>(window, "methodLE");
        auto *method = child<QComboBox>(window, "methodCB");
        auto *noFilter = child<QLabel>(window, "nofilterTL");
        choose(task(1));
        QCOMPARE(method->currentIndex(), 4);
        QVERIFY(methodLE->text() == "checker" && !methodLE->isEnabled());
        method->setCurrentIndex(1);
        QVERIFY(curTask->getPlugname().isEmpty());

        choose(task());
        method->setCurrentIndex(4);
        QString chosen;
        FileDialogs::replaceOpenFileName(
            [&](QWidget *, const QString &, const QString &, const QString &) { return chosen; });
        clickButton(window, "methodPB");
        QVERIFY(curTask->getPlugname().isEmpty() && !noFilter->isHidden());
        chosen = mine + "myjudge";
        clickButton(window, "methodPB");
        QCOMPARE(curTask->getPlugname() + methodLE->text(), QString("myjudgemyjudge"));
        QVERIFY(noFilter->isHidden() && QFile::exists(home + "/filter/myjudge"));

        chosen = mine + "checker";
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            answerMessageBox(nullptr, answer);
            clickButton(window, "methodPB");
            QCOMPARE(curTask->getPlugname(),
                     QString(answer == QMessageBox::Yes ? "checker" : "myjudge"));
        }
        QCOMPARE(lines(home + "/filter/checker"), QStringList{"new"});

        // A ticked checker source is built beside its own testlib.h under the task's name; the
        // tick is saved and shown again, a build failure said.
        chosen = tmp->path() + "/problem/checker.cpp";
        QVERIFY(writeFile(tmp->path() + "/problem/testlib.h", "#define VERDICT \"ok\\n\"\n"));
        QVERIFY(writeFile(chosen, "#include \"testlib.h\"\n#include <cstdio>\n"
                                  "int main() { std::fputs(VERDICT, stderr); }\n"));
        auto *testlib = child<QCheckBox>(window, "testlibCB");
        clickBox(testlib);
        QCOMPARE(curTask->getChecker(), TestlibChecker);
        clickButton(window, "methodPB");
        QCOMPARE(curTask->getPlugname(), QString("alpha_checker"));
        QVERIFY(QFileInfo(home + "/filter/alpha_checker").isExecutable());
        child<QAction>(window, "saveGameAct")->trigger();
        QVERIFY(lines(home + "/task1_1.info").contains("CHECKER=testlib"));
        choose(task(1));
        choose(task());
        QVERIFY(testlib->isChecked() && !testlib->isHidden());

        QVERIFY(writeFile(chosen, "int main( {\n"));
        Answered seen;
        answerMessageBox(&seen);
        clickButton(window, "methodPB");
        QVERIFY2(seen.text.startsWith("校验器编译失败") && seen.text.contains("error"),
                 qPrintable(seen.text));
        QCOMPARE(curTask->getPlugname(), QString("alpha_checker"));
        clickBox(testlib);
        QVERIFY(curTask->getChecker().isEmpty());
    }

    // The results of a task are found by its name: a rename that would leave results behind asks
    // first, and once renamed the old results count nowhere.
    void renamingATaskWithResultsAsksFirst()
    {
        CSetupInfo *contest(contestOf({"alpha"}));
        CPlayerInfo players;
        players.addPlayerInfo("JS-1", "李明");
        contest->setPlayerInfo(&players);
        QVERIFY(writeFile(tmp->path() + "/result/day1/JS-1/JS-1.result",
                          "{alpha 100 x\n101 10 0.1 ok\n}102 10\n"));
        open(contest);
        auto *name = child<QLineEdit>(window, "basenameLE");
        auto *table = child<QTableWidget>(window, "playersinfoTB");
        auto *tabs = child<QTabWidget>(window, "tabWidget");
        tabs->setCurrentIndex(2);
        QCOMPARE(table->item(0, 4)->text(), QString("10"));
        tabs->setCurrentIndex(0);
        choose(task());

        Answered seen;
        answerMessageBox(&seen, QMessageBox::No);
        retype(name, "gamma");
        QVERIFY2(seen.text.startsWith("试题 alpha 已有选手的评测结果"), qPrintable(seen.text));
        QCOMPARE(QStringList({curTask->getTaskname(), name->text(), task()->text(0)}),
                 QStringList({"alpha", "alpha", "alpha"}));
        answerMessageBox(&seen, QMessageBox::Yes);
        retype(name, "gamma");
        QCOMPARE(curTask->getTaskname(), QString("gamma"));
        QCOMPARE(task()->text(0), QString("gamma"));
        // A name without results is changed without a question.
        seen = {};
        answerMessageBox(&seen, QMessageBox::No);
        retype(name, "delta");
        QCOMPARE(curTask->getTaskname(), QString("delta"));
        QVERIFY(seen.text.isEmpty());
        tabs->setCurrentIndex(2);
        QCOMPARE(table->item(0, 4)->text(), QString("0"));
    }
};

QTEST_MAIN(TestTaskConfig)
#include "tst_taskconfig.moc"
