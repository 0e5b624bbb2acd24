#include "csetupinfo.h"
#include "mainwindow.h"

#include "common/contestfixture.h"
#include "common/programrun.h"
#include "pages/pageui.h"

#include <QFontMetrics>

#include <memory>

namespace
{

// A contest saved in a temporary home whose name holds blanks, Chinese and shell syntax.
class ContestHome : public ContestFixture
{
public:
    ContestHome(const QList<QList<TaskMarks>> &days, const QList<QPair<QString, QString>> &players)
        : ContestFixture(days)
    {
        registerPlayers(players);
        saveIn("省赛 $(touch x)");
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

// Day 1: sum (two points of 50) and words (one of 20); day 2: path (two of 10) and empty,
// which nobody has; day 3 without tasks. Js-009 belongs to no region (mixed case).
std::unique_ptr<ContestHome> sampleContest()
{
    auto contest = std::make_unique<ContestHome>(
        QList<QList<TaskMarks>>{
            {{"sum", {50, 50}}, {"words", {20}}}, {{"path", {10, 10}}, {"empty", {10}}}, {}},
        QList<QPair<QString, QString>>{{"JS-002", "李四"},
                                       {"js-001", "张三"},
                                       {"BJ-001", "Wang, \"Wu\""},
                                       {"Js-009", "赵六"},
                                       {"XX-003", "Gamma"},
                                       {"JS-003", "王五"}});
    contest->result(1, "js-001", "sum", {{10, 0.5f}, {10, 0.25f}});
    contest->result(1, "js-001", "words", {{10, 1.0f}});
    contest->result(1, "JS-002", "sum", {{10, 0.25f}, {0, 2.0f}});
    contest->result(1, "JS-002", "words", {{5, 0.5f}});
    contest->result(2, "JS-002", "path", {{10, 0.1f}, {0, 1.0f}});
    contest->result(1, "BJ-001", "sum", {{2, 0.5f}, {0, 0.5f}});
    contest->result(1, "Js-009", "words", {{10, 0.2f}});
    return contest;
}

// Whether every column is as wide as its header and each of its texts, none of them elided.
bool textsFit(const QTableWidget *table)
{
    const QFontMetrics metrics(table->font());
    for (int c = 0; c < table->columnCount(); ++c) {
        const QStringList texts = column(table, c) << table->horizontalHeaderItem(c)->text();
        for (const QString &text : texts) {
            if (metrics.horizontalAdvance(text) > table->columnWidth(c))
                return false;
        }
    }
    return true;
}

void showSubPage(QWidget *window, int index)
{
    child<QTabWidget>(window, "statWS")->setCurrentIndex(index);
}

QByteArray cliOutput(const QStringList &args)
{
    const ProgramRun run = runCli(args);
    return run.status == 0 ? run.out : QByteArray("<taldon-cli failed>");
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

    void overallTableFollowsTheContest()
    {
        const auto contest = sampleContest();
        const auto window = contest->open();
        auto *table = child<QTableWidget>(window.get(), "playersinfoTB");
        QCOMPARE(headerTexts(table), QStringList({"编号", "姓名", "基本分", "笔试分", "总分",
                                                  "第1场", "第2场", "第3场"}));
        // Registry order, not id order.
        QCOMPARE(column(table, 0),
                 QStringList({"JS-002", "js-001", "BJ-001", "Js-009", "XX-003", "JS-003"}));
        QCOMPARE(rowTexts(table, 0),
                 QStringList({"JS-002", "李四", "", "0", "70", "60", "10", "0"}));
        QCOMPARE(column(table, 4), QStringList({"70", "120", "10", "20", "0", "0"}));
        QCOMPARE(child<QLabel>(window.get(), "gradetotalTL")->text(), QString("6"));
        QTRY_VERIFY(textsFit(table));
        // Totals sort as numbers: 120 before 70 before 20 before 10.
        table->sortByColumn(4, Qt::DescendingOrder);
        QCOMPARE(column(table, 0).mid(0, 4), QStringList({"js-001", "JS-002", "Js-009", "BJ-001"}));
        // A removed day takes its column with it when the tab is entered again.
        window->getSetupInfo()->delADay(2);
        enterTab(window.get(), 2);
        QCOMPARE(headerTexts(table).mid(5), QStringList({"第1场", "第2场"}));
        QCOMPARE(table->rowCount(), 6);
    }

    // Ranges count players between their bounds, unevaluated ones as 0, and stay on entering the
    // tab, as the custom team statistic does; task averages divide by all six players.
    void subPages()
    {
        const auto contest = sampleContest();
        const auto window = contest->open();
        QWidget *w = window.get();
        auto *ranges = child<QTableWidget>(w, "rangeLV");
        // Twice the same, then refused: high below low, not numbers, negative.
        const QStringList tried[] = {{"120", "60"}, {"120", "60"}, {"80", "90"},
                                     {"abc", "0"},  {"10", "-5"},  {"10", "0"}};
        for (const QStringList &range : tried) {
            child<QLineEdit>(w, "rangefromLE")->setText(range[0]);
            child<QLineEdit>(w, "rangetoLE")->setText(range[1]);
            clickButton(w, "rangeaddPB");
        }
        QCOMPARE(column(ranges, 0), QStringList({"120--60", "120--60", "10--0"}));
        QCOMPARE(column(ranges, 1), QStringList({"2", "2", "3"}));
        QCOMPARE(ranges->item(0, 0)->textAlignment(), int(Qt::AlignCenter));
        ranges->setCurrentCell(0, 0);
        clickButton(w, "rangedelPB");
        ranges->setCurrentItem(nullptr);
        clickButton(w, "rangedelPB");
        enterTab(w, 2);
        QCOMPARE(column(ranges, 0), QStringList({"120--60", "10--0"}));

        showSubPage(w, 1);
        auto *teams = child<QTableWidget>(w, "teamTB");
        QCOMPARE(teams->rowCount(), 34);
        QCOMPARE(headerTexts(teams),
                 QStringList({"队名", "总分", "平均分", "最高分", "最低分", "自定义统计"}));
        // JS-002, js-001 and the unevaluated JS-003; Js-009 is in no region.
        QCOMPARE(rowTexts(teams, 9), QStringList({"江苏", "190", "63.3333", "120", "0", "0"}));
        QCOMPARE(rowTexts(teams, 0), QStringList({"北京", "10", "10", "10", "10", "0"}));
        QStringList custom;
        for (int best : {1, 2, 0}) {
            child<QSpinBox>(w, "teamSP")->setValue(best);
            clickButton(w, "teamstatPB");
            custom << teams->item(9, 5)->text() + '/' + teams->item(0, 5)->text();
            if (best == 2) {
                enterTab(w, 2);
                QCOMPARE(rowTexts(teams, 9),
                         QStringList({"江苏", "190", "63.3333", "120", "0", "190"}));
            }
        }
        QCOMPARE(custom, QStringList({"120/10", "190/10", "0/0"}));

        showSubPage(w, 2);
        auto *tasks = child<QComboBox>(w, "stattaskCB");
        QStringList names;
        for (int i = 0; i < tasks->count(); ++i)
            names << tasks->itemText(i);
        QCOMPARE(names, QStringList({"sum", "words", "path", "empty"}));
        const auto labels = [w] {
            return QStringList({child<QLabel>(w, "taskmaxTL")->text(),
                                child<QLabel>(w, "taskminTL")->text(),
                                child<QLabel>(w, "taskequalTL")->text()});
        };
        auto *points = child<QTableWidget>(w, "sampleTB");
        QCOMPARE(labels(), QStringList({"100", "10", "26.6667"}));
        QCOMPARE(points->rowCount(), 2);
        QCOMPARE(rowTexts(points, 0),
                 QStringList({"50", "18.3333", "0.208333", "0.25", "0.416667"}));
        QCOMPARE(rowTexts(points, 1), QStringList({"50", "8.33333", "0.458333", "0.25", "0.25"}));
        // Point 2 of path was solved by nobody; nobody has the task "empty" at all.
        tasks->setCurrentIndex(2);
        QCOMPARE(rowTexts(points, 1), QStringList({"0", "0", "0.166667", "INFINIT", "INFINIT"}));
        tasks->setCurrentIndex(3);
        QCOMPARE(points->rowCount(), 1);
        QCOMPARE(rowTexts(points, 0), QStringList({"0", "0", "0", "INFINIT", "INFINIT"}));
        QCOMPARE(labels(), QStringList({"0", "0", "0"}));
    }

    // XX-40 leads with 100; JS-20 and JS-39 tie with 90 and the smaller id ranks first; the rest
    // rank by id with 0.
    void awardLevels()
    {
        QList<QPair<QString, QString>> players;
        for (int i = 1; i < 40; ++i)
            players.append({QString("JS-%1").arg(i, 2, 10, QChar('0')), QString("选手%1").arg(i)});
        players.append(qMakePair(QString("XX-40"), QString("远客")));
        ContestHome contest({{{"sum", {50, 50}}}}, players);
        contest.result(1, "XX-40", "sum", {{10, 1}, {10, 1}});
        contest.result(1, "JS-39", "sum", {{10, 1}, {8, 1}});
        contest.result(1, "JS-20", "sum", {{10, 1}, {8, 1}});
        const auto window = contest.open();
        QWidget *w = window.get();
        showSubPage(w, 3);
        QCOMPARE(child<QLabel>(w, "gradetotalTL")->text(), QString("40"));
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

        QCOMPARE(grade({"10%", "8", "30%"}), QStringList({"4", "8", "12"}));
        QStringList awards;
        for (int i = 0; i < 24; ++i)
            awards << QString(i < 4 ? "一等奖" : i < 12 ? "二等奖" : "三等奖");
        QCOMPARE(column(levels, 0), awards);
        QCOMPARE(column(levels, 2).mid(2, 3), QStringList({"JS-39", "JS-01", "JS-02"}));
        QCOMPARE(rowTexts(levels, 0), QStringList({"一等奖", "远客", "XX-40", "", "100"}));
        QCOMPARE(rowTexts(levels, 1), QStringList({"一等奖", "选手20", "JS-20", "江苏", "90"}));
        QCOMPARE(rowTexts(levels, 3), QStringList({"一等奖", "选手1", "JS-01", "江苏", "0"}));
        // Refused entries change nothing: too many together, negative.
        for (const QStringList &refused :
             {QStringList{"50%", "50%", "1"}, QStringList{"-5", "0", "0"}}) {
            QCOMPARE(grade(refused), QStringList({"4", "8", "12"}));
            QCOMPARE(levels->rowCount(), 24);
        }
        // A player registered after the contest was opened is not ranked: the award runs out.
        window->getSetupInfo()->getPlayerInfo()->addPlayerInfo("JS-41", "迟到");
        QCOMPARE(grade({"41", "0", "0"}), QStringList({"40", "0", "0"}));
        QCOMPARE(levels->rowCount(), 40);
    }

    // The exports are the command line's, the file names proposed from the contest's name in the
    // user's home, and a failed export keeps the old file.
    void exportsMatchTheCommandLine()
    {
        const auto contest = sampleContest();
        const auto window = contest->open();
        QWidget *w = window.get();
        const QString out = contest->home.path(), start = FileDialogs::startDirectory();
        window->getSetupInfo()->setContestName("省赛");
        QString proposed;
        answerSaveDialog(out + "/成绩", &proposed);
        Answered seen;
        answerMessageBox(&seen);
        clickButton(w, "exportResultPB");
        QCOMPARE(seen.title + seen.text, QString("完成导出完成"));
        QCOMPARE(cliOutput({"results", contest->setup.getHome()}), readFile(out + "/成绩.csv"));
        QCOMPARE(proposed, QDir(start).filePath("省赛.csv"));

        showSubPage(w, 1);
        child<QSpinBox>(w, "teamSP")->setValue(1);
        clickButton(w, "teamstatPB");
        answerSaveDialog(out + "/teams", &proposed);
        clickButton(w, "exportteamPB");
        QCOMPARE(proposed, QDir(start).filePath("省赛-分组统计.csv"));
        const QByteArray teams = readFile(out + "/teams.csv");
        QCOMPARE(teams, cliOutput({"teams", contest->setup.getHome(), "--best", "1"}));
        const QList<QByteArray> lines = teams.split('\n');
        QCOMPARE(lines.value(10), QString("江苏,190,63.3333,120,0,120,").toUtf8());
        // A sorted table is exported as shown.
        child<QTableWidget>(w, "teamTB")->sortByColumn(1, Qt::DescendingOrder);
        clickButton(w, "exportteamPB");
        const QList<QByteArray> sorted = readFile(out + "/teams.csv").split('\n');
        QCOMPARE(sorted.mid(1, 2),
                 QList<QByteArray>({lines[10], QString("北京,10,10,10,10,10,").toUtf8()}));

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
    }

    // 导入笔试成绩 fills the 笔试分 column and keeps the file as written.txt, read again on the
    // next opening; a file that cannot be read changes nothing.
    void writtenScoresImportedAndKept()
    {
        const auto contest = sampleContest();
        const QString kept = contest->setup.getHome() + "/written.txt";
        const QByteArray scores = "JS-002@88\njs-001@77\n";
        const QString file = contest->home.path() + "/笔试.txt";
        QVERIFY(writeFile(file, scores));
        const auto written = [](QWidget *window) {
            return column(child<QTableWidget>(window, "playersinfoTB"), 3);
        };
        const QStringList imported{"88", "77", "0", "0", "0", "0"};
        {
            const auto window = contest->open();
            Answered seen;
            for (const QString &chosen : {file, file + ".none"}) {
                answerMessageBox(&seen);
                withOpenFile(chosen, [&window] { clickButton(window.get(), "importWrittenPB"); });
                QVERIFY2(seen.text.startsWith(chosen == file ? "导入完成" : "无法导入笔试成绩"),
                         qPrintable(seen.text));
                QCOMPARE(written(window.get()), imported);
                QCOMPARE(readFile(kept), scores);
            }
            QCOMPARE(seen.title, QString("Error"));
        }
        QCOMPARE(written(contest->open().get()), imported);
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
