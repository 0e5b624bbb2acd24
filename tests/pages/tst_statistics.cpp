#include "csetupinfo.h"
#include "mainwindow.h"

#include "common/contestfixture.h"
#include "common/programrun.h"
#include "pages/pageui.h"

#include <QDir>
#include <QFontMetrics>
#include <QTemporaryDir>

#include <memory>

namespace
{

// A test point of a result block: the filter's score in tenths and the run time.
struct Point {
    int score;
    float time;
};

// A contest saved in a temporary home whose name holds blanks, Chinese and shell syntax.
class ContestHome : public ContestFixture
{
public:
    ContestHome(const QList<QList<TaskMarks>> &days, const QList<QPair<QString, QString>> &players)
        : ContestFixture(days)
    {
        registerPlayers(players);
        saveIn(QStringLiteral("省赛 $(touch x)"));
    }

    // Appends one task block to the player's result file of day (counted from 1).
    void result(int day, const QString &id, const QString &task, const QList<Point> &points)
    {
        QByteArray block = "{" + task.toUtf8() + " 100 ok\n";
        for (const Point &p : points)
            block +=
                "101 " + QByteArray::number(p.score) + ' ' + QByteArray::number(p.time) + " ok\n";
        appendResult(day, id, block + "}102 0\n");
    }

    // A window with this contest opened and the statistics tab entered.
    std::unique_ptr<MainWindow> open()
    {
        auto window = std::make_unique<MainWindow>();
        openFromMenu(window.get(), setup.getHome() + QStringLiteral("/setup.cfg"));
        window->show();
        window->findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(2);
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
        QStringList texts{table->horizontalHeaderItem(c)->text()};
        for (int r = 0; r < table->rowCount(); ++r)
            texts << table->item(r, c)->text();
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

// The standard output of a successful taldon-cli run.
QByteArray cliOutput(const QStringList &args)
{
    const ProgramRun run = runCli(args);
    return run.status == 0 ? run.out : QByteArray("<taldon-cli failed>");
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void overallTableFollowsTheContest();
    void subPages();
    void awardLevels();
    void exportsMatchTheCommandLine();
    void writtenScoresImportedAndKept();
};

void TestStatistics::cleanup()
{
    FileDialogs::replaceOpenFileName({});
    FileDialogs::replaceSaveFileName({});
}

void TestStatistics::overallTableFollowsTheContest()
{
    const auto contest = sampleContest();
    const auto window = contest->open();
    auto *table = child<QTableWidget>(window.get(), "playersinfoTB");
    QCOMPARE(headerTexts(table),
             QStringList({"编号", "姓名", "基本分", "笔试分", "总分", "第1场", "第2场", "第3场"}));
    // Registry order, not id order.
    QCOMPARE(column(table, 0),
             QStringList({"JS-002", "js-001", "BJ-001", "Js-009", "XX-003", "JS-003"}));
    QCOMPARE(rowTexts(table, 0), QStringList({"JS-002", "李四", "", "0", "70", "60", "10", "0"}));
    QCOMPARE(column(table, 4), QStringList({"70", "120", "10", "20", "0", "0"}));
    QCOMPARE(child<QLabel>(window.get(), "gradetotalTL")->text(), QStringLiteral("6"));
    QTRY_VERIFY(textsFit(table));

    // Totals sort as numbers: 120 before 70 before 20 before 10.
    table->sortByColumn(4, Qt::DescendingOrder);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("js-001"));
    QCOMPARE(table->item(3, 0)->text(), QStringLiteral("BJ-001"));

    // A removed day takes its column with it when the tab is entered again.
    window->getSetupInfo()->delADay(2);
    enterTab(window.get(), 2);
    QCOMPARE(table->columnCount(), 7);
    QCOMPARE(table->horizontalHeaderItem(6)->text(), QStringLiteral("第2场"));
    QCOMPARE(table->rowCount(), 6);
}

// Score ranges count the players between their bounds, never evaluated ones with 0, and stay
// when the tab is entered again, as the custom team statistic does; the task page divides by all
// six players and marks a time nobody has.
void TestStatistics::subPages()
{
    const auto contest = sampleContest();
    const auto window = contest->open();
    QWidget *w = window.get();
    auto *ranges = child<QTableWidget>(w, "rangeLV");
    const auto addRange = [w](const char *high, const char *low) {
        child<QLineEdit>(w, "rangefromLE")->setText(high);
        child<QLineEdit>(w, "rangetoLE")->setText(low);
        clickButton(w, "rangeaddPB");
    };
    // Twice the same, then refused: high below low, not numbers, negative.
    const char *const tried[][2] = {{"120", "60"}, {"120", "60"}, {"80", "90"},
                                    {"abc", "0"},  {"10", "-5"},  {"10", "0"}};
    for (const auto &range : tried)
        addRange(range[0], range[1]);
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
    auto *best = child<QSpinBox>(w, "teamSP");
    QStringList custom;
    for (int count : {1, 2}) {
        best->setValue(count);
        clickButton(w, "teamstatPB");
        custom << teams->item(9, 5)->text() + '/' + teams->item(0, 5)->text();
    }
    QCOMPARE(custom, QStringList({"120/10", "190/10"}));
    enterTab(w, 2);
    QCOMPARE(rowTexts(teams, 9), QStringList({"江苏", "190", "63.3333", "120", "0", "190"}));
    best->setValue(0);
    clickButton(w, "teamstatPB");
    QCOMPARE(teams->item(9, 5)->text(), QStringLiteral("0"));

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
    QCOMPARE(rowTexts(points, 0), QStringList({"50", "18.3333", "0.208333", "0.25", "0.416667"}));
    QCOMPARE(rowTexts(points, 1), QStringList({"50", "8.33333", "0.458333", "0.25", "0.25"}));
    // Point 2 of path was solved by nobody; nobody has the task "empty" at all.
    tasks->setCurrentIndex(2);
    QCOMPARE(rowTexts(points, 1), QStringList({"0", "0", "0.166667", "INFINIT", "INFINIT"}));
    tasks->setCurrentIndex(3);
    QCOMPARE(points->rowCount(), 1);
    QCOMPARE(rowTexts(points, 0), QStringList({"0", "0", "0", "INFINIT", "INFINIT"}));
    QCOMPARE(labels(), QStringList({"0", "0", "0"}));
}

void TestStatistics::awardLevels()
{
    // XX-40 leads with 100; JS-20 and JS-39 tie with 90 and the smaller id ranks first; the
    // rest rank by id with 0.
    QList<QPair<QString, QString>> players;
    for (int i = 1; i < 40; ++i)
        players.append({QStringLiteral("JS-%1").arg(i, 2, 10, QLatin1Char('0')),
                        QStringLiteral("选手%1").arg(i)});
    players.append(qMakePair(QStringLiteral("XX-40"), QStringLiteral("远客")));
    ContestHome contest({{{"sum", {50, 50}}}}, players);
    contest.result(1, "XX-40", "sum", {{10, 1}, {10, 1}});
    contest.result(1, "JS-39", "sum", {{10, 1}, {8, 1}});
    contest.result(1, "JS-20", "sum", {{10, 1}, {8, 1}});
    const auto window = contest.open();
    showSubPage(window.get(), 3);
    QCOMPARE(child<QLabel>(window.get(), "gradetotalTL")->text(), QStringLiteral("40"));
    auto *levels = child<QTableWidget>(window.get(), "levelTB");
    const auto grade = [&window](const QStringList &texts) {
        QStringList given;
        for (int i = 0; i < 3; ++i) {
            const QByteArray level = "level" + QByteArray::number(i + 1);
            child<QLineEdit>(window.get(), (level + "LE").constData())->setText(texts[i]);
        }
        clickButton(window.get(), "gradestatPB");
        for (const char *label : {"level1TL", "level2TL", "level3TL"})
            given << child<QLabel>(window.get(), label)->text();
        return given;
    };

    QCOMPARE(grade({"10%", "8", "30%"}), QStringList({"4", "8", "12"}));
    QStringList awards, ids{"XX-40", "JS-20", "JS-39"};
    for (int i = 0; i < 24; ++i)
        awards << QString::fromUtf8(i < 4 ? "一等奖" : i < 12 ? "二等奖" : "三等奖");
    for (int i = 1; ids.size() < 24; ++i) {
        if (i != 20)
            ids << QStringLiteral("JS-%1").arg(i, 2, 10, QLatin1Char('0'));
    }
    QCOMPARE(column(levels, 0), awards);
    QCOMPARE(column(levels, 2), ids);
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

// The exports are the command line's, the file names proposed from the contest's name, and a
// failed export keeps the old file.
void TestStatistics::exportsMatchTheCommandLine()
{
    const auto contest = sampleContest();
    const auto window = contest->open();
    const QString out = contest->home.path();

    // Proposed as the contest's name in the user's home, whatever the login name.
    window->getSetupInfo()->setContestName(QStringLiteral("省赛"));
    QString proposed;
    answerSaveDialog(out + QStringLiteral("/成绩"), &proposed);
    Answered seen;
    answerMessageBox(&seen);
    clickButton(window.get(), "exportResultPB");
    QCOMPARE(seen.title + seen.text, QStringLiteral("完成导出完成"));
    const QByteArray results = readFile(out + QStringLiteral("/成绩.csv"));
    QCOMPARE(cliOutput({"results", contest->setup.getHome()}), results);
    QCOMPARE(proposed, FileDialogs::startDirectory() + QStringLiteral("/省赛.csv"));

    showSubPage(window.get(), 1);
    child<QSpinBox>(window.get(), "teamSP")->setValue(1);
    clickButton(window.get(), "teamstatPB");
    answerSaveDialog(out + QStringLiteral("/teams"), &proposed);
    clickButton(window.get(), "exportteamPB");
    QCOMPARE(proposed, FileDialogs::startDirectory() + QStringLiteral("/省赛-分组统计.csv"));
    const QByteArray teams = readFile(out + QStringLiteral("/teams.csv"));
    QCOMPARE(teams, cliOutput({"teams", contest->setup.getHome(), "--best", "1"}));
    const QList<QByteArray> lines = teams.split('\n');
    QCOMPARE(lines.value(10), QString("江苏,190,63.3333,120,0,120,").toUtf8());

    // A sorted table is exported as shown.
    child<QTableWidget>(window.get(), "teamTB")->sortByColumn(1, Qt::DescendingOrder);
    clickButton(window.get(), "exportteamPB");
    const QList<QByteArray> sorted = readFile(out + QStringLiteral("/teams.csv")).split('\n');
    QCOMPARE(sorted[1], lines[10]);
    QCOMPARE(sorted[2], QString("北京,10,10,10,10,10,").toUtf8());

    // A failed export keeps the old file: the temporary file cannot be made where a directory
    // stands in its way.
    const QString target = out + QStringLiteral("/old.csv");
    QVERIFY(writeFile(target, "keep me\n"));
    QVERIFY(QDir().mkpath(target + QStringLiteral(".tmp")));
    for (const char *button : {"exportResultPB", "exportteamPB"}) {
        answerSaveDialog(target);
        answerMessageBox(&seen);
        clickButton(window.get(), button);
        QCOMPARE(seen.title, QStringLiteral("Error"));
        QVERIFY2(seen.text.startsWith(QStringLiteral("无法写入文件")), button);
        QCOMPARE(readFile(target), QByteArray("keep me\n"));
    }
}

// 导入笔试成绩 fills the 笔试分 column and keeps the file as written.txt, read again on the next
// opening; a file that cannot be read changes nothing.
void TestStatistics::writtenScoresImportedAndKept()
{
    const auto contest = sampleContest();
    const QString home = contest->setup.getHome();
    const QByteArray scores = "JS-002@88\njs-001@77\n";
    const QString file = contest->home.path() + QStringLiteral("/笔试.txt");
    QVERIFY(writeFile(file, scores));
    const auto writtenColumn = [](QWidget *window) {
        return column(child<QTableWidget>(window, "playersinfoTB"), 3);
    };
    const QStringList imported{"88", "77", "0", "0", "0", "0"};
    {
        const auto window = contest->open();
        Answered seen;
        answerMessageBox(&seen);
        withOpenFile(file, [&window] { clickButton(window.get(), "importWrittenPB"); });
        QCOMPARE(seen.text, QStringLiteral("导入完成"));
        QCOMPARE(writtenColumn(window.get()), imported);
        QCOMPARE(readFile(home + QStringLiteral("/written.txt")), scores);

        answerMessageBox(&seen);
        withOpenFile(file + QStringLiteral(".none"),
                     [&window] { clickButton(window.get(), "importWrittenPB"); });
        QCOMPARE(seen.title, QStringLiteral("Error"));
        QVERIFY(seen.text.startsWith(QStringLiteral("无法导入笔试成绩")));
        QCOMPARE(writtenColumn(window.get()), imported);
        QCOMPARE(readFile(home + QStringLiteral("/written.txt")), scores);
    }
    const auto reopened = contest->open();
    QCOMPARE(writtenColumn(reopened.get()), imported);
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
