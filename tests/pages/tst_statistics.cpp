#include "csetupinfo.h"
#include "mainwindow.h"

#include "common/contestfixture.h"
#include "common/programrun.h"
#include "pages/pageui.h"

#include <memory>

namespace
{

// Day 1: sum (two points of 50) and words (one of 20); day 2: path (two of 10) and empty,
// which nobody has; day 3 without tasks. Js-009 belongs to no region (mixed case). Saved in a
// home whose name holds blanks, Chinese and shell syntax.
class ContestHome : public ContestFixture
{
public:
    ContestHome()
        : ContestFixture(
              {{{"sum", {50, 50}}, {"words", {20}}}, {{"path", {10, 10}}, {"empty", {10}}}, {}})
    {
        registerPlayers({{"JS-002", "李四"},
                         {"js-001", "张三"},
                         {"BJ-001", "Wang, \"Wu\""},
                         {"Js-009", "赵六"},
                         {"XX-003", "Gamma"},
                         {"JS-003", "王五"}});
        saveIn("省赛 $(touch x)");
        result(1, "js-001", "sum", {{10, 0.5f}, {10, 0.25f}});
        result(1, "js-001", "words", {{10, 1.0f}});
        result(1, "JS-002", "sum", {{10, 0.25f}, {0, 2.0f}});
        result(1, "JS-002", "words", {{5, 0.5f}});
        result(2, "JS-002", "path", {{10, 0.1f}, {0, 1.0f}});
        result(1, "BJ-001", "sum", {{2, 0.5f}, {0, 0.5f}});
        result(1, "Js-009", "words", {{10, 0.2f}});
    }

    // Appends a task block to the player's result file of day (from 1): (score in tenths, time)
    // per point.
    void result(int day, const QString &id, const QString &task,
                const QList<QPair<int, float>> &points)
    {
        QByteArray block = "{" + task.toUtf8() + " 100 ok\n";
        for (const auto &p : points)
            block +=
                "101 " + QByteArray::number(p.first) + ' ' + QByteArray::number(p.second) + " ok\n";
        appendResult(day, id, block + "}102 0\n");
    }

    // A window with this contest opened and the statistics tab entered.
    std::unique_ptr<MainWindow> open()
    {
        auto window = std::make_unique<MainWindow>();
        openFromMenu(window.get(), setup.getHome() + "/setup.cfg");
        window->show();
        child<QTabWidget>(window.get(), "tabWidget")->setCurrentIndex(2);
        return window;
    }
};

void showSubPage(QWidget *window, int index)
{
    child<QTabWidget>(window, "statWS")->setCurrentIndex(index);
}

// The save dialog answers path when asked for a CSV file; proposed keeps the file it proposed.
void answerSaveDialog(const QString &path, QString *proposed = nullptr)
{
    FileDialogs::replaceSaveFileName([path, proposed](QWidget *, const QString &caption,
                                                      const QString &dir, const QString &filter) {
        if (proposed)
            *proposed = dir;
        return caption == "Save as" && filter == "CSV (*.csv)" ? path : QString();
    });
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        FileDialogs::replaceOpenFileName({});
        FileDialogs::replaceSaveFileName({});
    }

    // Registry order, totals sorting as numbers; ranges count players between their bounds and
    // stay on entering the tab, as the team table's custom statistic does.
    void tablesFollowTheContest()
    {
        ContestHome contest;
        const auto window = contest.open();
        QWidget *w = window.get();
        auto *table = child<QTableWidget>(w, "playersinfoTB");
        QCOMPARE(column(table, 0),
                 QStringList({"JS-002", "js-001", "BJ-001", "Js-009", "XX-003", "JS-003"}));
        QCOMPARE(rowTexts(table, 0),
                 QStringList({"JS-002", "李四", "", "0", "70", "60", "10", "0"}));
        table->sortByColumn(4, Qt::DescendingOrder);
        QCOMPARE(column(table, 0).mid(0, 4), QStringList({"js-001", "JS-002", "Js-009", "BJ-001"}));
        window->getSetupInfo()->delADay(2);
        enterTab(w, 2);
        QCOMPARE(table->columnCount(), 7);

        auto *ranges = child<QTableWidget>(w, "rangeLV");
        // Twice the same, then refused: high below low, not a number, negative.
        const QStringList tried[] = {{"120", "60"}, {"120", "60"}, {"80", "90"},
                                     {"abc", "0"},  {"10", "-5"},  {"10", "0"}};
        for (const QStringList &range : tried) {
            child<QLineEdit>(w, "rangefromLE")->setText(range[0]);
            child<QLineEdit>(w, "rangetoLE")->setText(range[1]);
            clickButton(w, "rangeaddPB");
        }
        QCOMPARE(column(ranges, 0), QStringList({"120--60", "120--60", "10--0"}));
        QCOMPARE(column(ranges, 1), QStringList({"2", "2", "3"}));
        ranges->setCurrentCell(0, 0);
        clickButton(w, "rangedelPB");
        ranges->setCurrentItem(nullptr);
        clickButton(w, "rangedelPB");
        enterTab(w, 2);
        QCOMPARE(column(ranges, 0), QStringList({"120--60", "10--0"}));

        showSubPage(w, 1);
        auto *teams = child<QTableWidget>(w, "teamTB");
        QCOMPARE(rowTexts(teams, 9), QStringList({"江苏", "190", "63.3333", "120", "0", "0"}));
        child<QSpinBox>(w, "teamSP")->setValue(1);
        clickButton(w, "teamstatPB");
        enterTab(w, 2);
        QCOMPARE(teams->item(9, 5)->text() + '/' + teams->item(0, 5)->text(), QString("120/10"));
    }

    // Every day's tasks are offered; each shows its own test points, found on its own day.
    void taskStatisticsAndAwards()
    {
        ContestHome contest;
        const auto window = contest.open();
        QWidget *w = window.get();
        showSubPage(w, 2);
        auto *tasks = child<QComboBox>(w, "stattaskCB");
        QCOMPARE(tasks->count(), 4);
        QCOMPARE(tasks->itemText(2), QString("path"));
        auto *points = child<QTableWidget>(w, "sampleTB");
        QCOMPARE(child<QLabel>(w, "taskequalTL")->text(), QString("26.6667"));
        QCOMPARE(rowTexts(points, 0),
                 QStringList({"50", "18.3333", "0.208333", "0.25", "0.416667"}));
        // Point 2 of path was solved by nobody.
        tasks->setCurrentIndex(2);
        QCOMPARE(rowTexts(points, 1), QStringList({"0", "0", "0.166667", "INFINIT", "INFINIT"}));
        tasks->setCurrentIndex(3);
        QCOMPARE(points->rowCount(), 1);

        // The ranking gives the levels in turn, equal totals by id (JS-003 before XX-003); refused
        // entries change nothing, and a player registered after the opening is not ranked.
        showSubPage(w, 3);
        auto *levels = child<QTableWidget>(w, "levelTB");
        const auto grade = [w](const QStringList &texts) {
            QStringList given;
            for (int i = 0; i < 3; ++i)
                child<QLineEdit>(w, QByteArray("level" + QByteArray::number(i + 1) + "LE"))
                    ->setText(texts[i]);
            clickButton(w, "gradestatPB");
            for (const char *label : {"level1TL", "level2TL", "level3TL"})
                given << child<QLabel>(w, label)->text();
            return given;
        };
        QCOMPARE(grade({"20%", "2", "50%"}), QStringList({"1", "2", "3"}));
        QCOMPARE(column(levels, 0),
                 QStringList({"一等奖", "二等奖", "二等奖", "三等奖", "三等奖", "三等奖"}));
        QCOMPARE(column(levels, 2),
                 QStringList({"js-001", "JS-002", "Js-009", "BJ-001", "JS-003", "XX-003"}));
        QCOMPARE(rowTexts(levels, 4), QStringList({"三等奖", "王五", "JS-003", "江苏", "0"}));
        QCOMPARE(grade({"50%", "50%", "1"}), QStringList({"1", "2", "3"}));
        QCOMPARE(levels->rowCount(), 6);
        window->getSetupInfo()->getPlayerInfo()->addPlayerInfo("JS-041", "迟到");
        QCOMPARE(grade({"7", "0", "0"}), QStringList({"6", "0", "0"}));
        QCOMPARE(levels->rowCount(), 6);
    }

    // The exports are the command line's, the file name proposed from the contest's name, and a
    // failed export keeps the old file.
    void exportsAndWrittenScores()
    {
        ContestHome contest;
        const auto window = contest.open();
        QWidget *w = window.get();
        const QString out = contest.home.path();
        window->getSetupInfo()->setContestName("省赛");
        QString proposed;
        answerSaveDialog(out + "/成绩", &proposed);
        Answered seen;
        answerMessageBox(&seen);
        clickButton(w, "exportResultPB");
        QCOMPARE(seen.title + seen.text, QString("完成导出完成"));
        QCOMPARE(runCli({"results", contest.setup.getHome()}).out, readFile(out + "/成绩.csv"));
        QCOMPARE(proposed, QDir(FileDialogs::startDirectory()).filePath("省赛.csv"));

        showSubPage(w, 1);
        child<QSpinBox>(w, "teamSP")->setValue(1);
        clickButton(w, "teamstatPB");
        answerSaveDialog(out + "/teams");
        clickButton(w, "exportteamPB");
        const QByteArray teams = readFile(out + "/teams.csv");
        QCOMPARE(teams, runCli({"teams", contest.setup.getHome(), "--best", "1"}).out);
        // A sorted table is exported as shown: 江苏 first.
        child<QTableWidget>(w, "teamTB")->sortByColumn(1, Qt::DescendingOrder);
        clickButton(w, "exportteamPB");
        QCOMPARE(readFile(out + "/teams.csv").split('\n').value(1),
                 QString("江苏,190,63.3333,120,0,120,").toUtf8());

        // The temporary file cannot be made where a directory stands in its way.
        const QString target = out + "/old.csv";
        QVERIFY(writeFile(target, "keep me\n") && QDir().mkpath(target + ".tmp"));
        for (const char *button : {"exportResultPB", "exportteamPB"}) {
            answerSaveDialog(target);
            answerMessageBox(&seen);
            clickButton(w, button);
            QCOMPARE(seen.title, QString("Error"));
            QVERIFY2(seen.text.startsWith("无法写入文件"), button);
            QCOMPARE(readFile(target), QByteArray("keep me\n"));
        }

        // 导入笔试成绩 fills the 笔试分 column and keeps the file as written.txt; a file that
        // cannot be read changes nothing.
        const QString file = out + "/笔试.txt";
        QVERIFY(writeFile(file, "JS-002@88\njs-001@77\n"));
        auto *table = child<QTableWidget>(w, "playersinfoTB");
        showSubPage(w, 0);
        for (const QString &chosen : {file, file + ".none"}) {
            answerMessageBox(&seen);
            withOpenFile(chosen, [w] { clickButton(w, "importWrittenPB"); });
            QVERIFY2(seen.text.startsWith(chosen == file ? "导入完成" : "无法导入笔试成绩"),
                     qPrintable(seen.text));
            QCOMPARE(column(table, 3).mid(0, 3), QStringList({"88", "77", "0"}));
            QCOMPARE(readFile(contest.setup.getHome() + "/written.txt"), readFile(file));
        }
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
