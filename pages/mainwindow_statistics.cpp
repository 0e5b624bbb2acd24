#include "mainwindow.h"

#include "contesttasks.h"
#include "csetupinfo.h"
#include "csvexport.h"
#include "filedialogs.h"
#include "mystat.h"
#include "statsglobals.h"
#include "teamstat.h"
#include "ui_mainwindow.h"
#include "ui_statisticspage.h"
#include "writtenscores.h"

#include "awardlevels.h"

#include <QMessageBox>

#include <numeric>

namespace
{

// id, name, base score, written score, total; the day columns follow.
const int playerColumns = 5;
const int statisticsTab = 2;
const char *const awardNames[] = {"一等奖", "二等奖", "三等奖"};

QTableWidgetItem *numberItem(int value)
{
    auto *item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    return item;
}

QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// A time figure of the test point table: 100 means the figure has no value.
QString timeText(float seconds)
{
    return qAbs(100.0f - seconds) < 1.0f ? QStringLiteral("INFINIT") : averageText(seconds);
}

const QList<PlayerInfo> *registeredPlayers(CSetupInfo *setup)
{
    return setup && setup->getPlayerInfo() ? setup->getPlayerInfo()->getPlayerInfo() : nullptr;
}

void fillPlayerRow(QTableWidget *table, int row, const PlayerInfo &player, const PlayerStat &stat,
                   int days)
{
    table->setItem(row, 0, new QTableWidgetItem(player.id));
    table->setItem(row, 1, new QTableWidgetItem(player.name));
    table->setItem(row, 2, new QTableWidgetItem(QString()));
    table->setItem(row, 3, numberItem(stat.getWritten()));
    table->setItem(row, 4, numberItem(stat.getTotal()));
    for (int d = 1; d <= days; ++d)
        table->setItem(row, 4 + d, numberItem(stat.getTotal(d - 1)));
}

void fillSampleRow(QTableWidget *table, const MyStat &stat, const QString &task, int i)
{
    const QString texts[] = {
        QString::number(stat.getSampleMax(task, i)), averageText(stat.getSampleEqual(task, i)),
        timeText(stat.getEqualTime(task, i)), timeText(stat.getMinTime(task, i)),
        timeText(stat.getEqualSolveTime(task, i))};
    for (int c = 0; c < 5; ++c)
        table->setItem(i - 1, c, new QTableWidgetItem(texts[c]));
}

// Gives the award to the next count players of the ranking, taking them off its front; returns
// how many got it, fewer when the ranking runs out.
int appendAward(QTableWidget *table, const QString &award, int count, QList<QString> *ranking,
                const MyStat &stat, const QMap<QString, QString> &regions)
{
    int given = 0;
    for (; given < count && !ranking->isEmpty(); ++given) {
        const QString id = ranking->takeFirst();
        if (id.isEmpty())
            break;
        const PlayerStat player = stat.getPlayerStat(id);
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(award));
        table->setItem(row, 1, new QTableWidgetItem(player.getName()));
        table->setItem(row, 2, new QTableWidgetItem(id));
        table->setItem(row, 3, new QTableWidgetItem(regions.value(id.left(2))));
        table->setItem(row, 4, numberItem(player.getTotal()));
    }
    return given;
}

// The header and the cells' display texts, in the order shown; a cell without an item is an
// empty field.
QList<QStringList> shownRows(const QTableWidget *table)
{
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < table->columnCount(); ++c) {
        const QTableWidgetItem *item = table->horizontalHeaderItem(c);
        header.append(item ? item->text() : QString());
    }
    rows.append(header);
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < table->columnCount(); ++c) {
            const QTableWidgetItem *item = table->item(r, c);
            row.append(item ? item->text() : QString());
        }
        rows.append(row);
    }
    return rows;
}

// The CSV file the user picks, proposed as the contest's name followed by ending, ".csv" added
// where the name lacks it; empty when cancelled.
QString chooseCsvFile(QWidget *parent, CSetupInfo *setup, const QString &ending)
{
    const QString proposed =
        FileDialogs::proposedFile(setup ? setup->getContestName() : QString(), ending);
    const QString chosen = FileDialogs::getSaveFileName(parent, QStringLiteral("Save as"), proposed,
                                                        QStringLiteral("CSV (*.csv)"));
    return chosen.isEmpty() ? QString() : csvFileName(chosen);
}

// Writes the export; false, after telling the user, when the file cannot be written.
bool writeExport(QWidget *parent, const QString &path, const QString &text)
{
    if (writeTextFile(path, text))
        return true;
    QMessageBox::warning(parent, QStringLiteral("Error"),
                         QStringLiteral("无法写入文件:\n%1").arg(path), QMessageBox::Ok);
    return false;
}

// What the buttons computed for a contest that is being replaced goes with it.
void forgetComputedResults(Ui_StatisticsPage *page)
{
    page->rangeLV->setRowCount(0);
    page->levelTB->setRowCount(0);
    for (QLabel *given : {page->level1TL, page->level2TL, page->level3TL, page->gradetotalTL})
        given->setText(QStringLiteral("0"));
    page->teamTB->setSortingEnabled(false);
    for (int r = 0; r < page->teamTB->rowCount(); ++r)
        page->teamTB->setItem(r, 5, numberItem(0));
    page->teamTB->setSortingEnabled(true);
}

} // namespace

void MainWindow::statwindowUi()
{
    Ui_StatisticsPage *page = statui;
    const auto unique = Qt::UniqueConnection;
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::tabChangedToStatSlot,
            unique);
    connect(page->exportResultPB, &QPushButton::clicked, this, &MainWindow::exportResultSlot,
            unique);
    connect(page->importWrittenPB, &QPushButton::clicked, this, &MainWindow::importWrittenSlot,
            unique);
    connect(page->rangeaddPB, &QPushButton::clicked, this, &MainWindow::rangeAddSlot, unique);
    connect(page->rangedelPB, &QPushButton::clicked, this, &MainWindow::rangeDelSlot, unique);
    connect(page->teamstatPB, &QPushButton::clicked, this, &MainWindow::teamstatPBSlot, unique);
    connect(page->exportteamPB, &QPushButton::clicked, this, &MainWindow::exportTeamPBSlot, unique);
    connect(page->stattaskCB, &QComboBox::currentTextChanged, this,
            &MainWindow::statTaskCBChangeSlot, unique);
    connect(page->gradestatPB, &QPushButton::clicked, this, &MainWindow::gradeStatPBSlot, unique);

    forgetComputedResults(page);
    // Filled as on entering the tab, which may already be the current one.
    tabChangedToStatSlot(statisticsTab);
}

void MainWindow::fillPlayersinfoTB()
{
    QTableWidget *table = statui->playersinfoTB;
    table->setRowCount(0);
    table->setColumnCount(playerColumns);
    if (!setupinfo || !mystat)
        return;
    const int days = setupinfo->getDayNum();
    table->setColumnCount(playerColumns + days);
    for (int d = 1; d <= days; ++d)
        table->setHorizontalHeaderItem(4 + d,
                                       new QTableWidgetItem(QStringLiteral("第%1场").arg(d)));
    const QList<PlayerInfo> *players = registeredPlayers(setupinfo);
    if (!players)
        return;
    table->setSortingEnabled(false);
    table->setRowCount(players->size());
    for (int r = 0; r < players->size(); ++r)
        fillPlayerRow(table, r, players->at(r), mystat->getPlayerStat(players->at(r).id), days);
    table->setSortingEnabled(true);
}

void MainWindow::fillTeamTB()
{
    if (!setupinfo || !mystat)
        return;
    delete teamstat;
    teamstat = new TeamStat(setupinfo);
    teamstat->getScores();
    QTableWidget *table = statui->teamTB;
    table->setSortingEnabled(false);
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString team = table->item(r, 0) ? table->item(r, 0)->text() : QString();
        if (team.isEmpty())
            continue;
        table->setItem(r, 1, numberItem(teamstat->getTotal(team)));
        table->setItem(r, 2, new QTableWidgetItem(averageText(teamstat->getAverage(team))));
        table->setItem(r, 3, numberItem(teamstat->getMax(team)));
        table->setItem(r, 4, numberItem(teamstat->getMin(team)));
    }
    table->setSortingEnabled(true);
}

void MainWindow::fillTaskStat()
{
    QComboBox *tasks = statui->stattaskCB;
    // Filled quietly: the statistics are shown once, for the first task, below.
    const bool wasBlocked = tasks->blockSignals(true);
    tasks->clear();
    tasks->addItems(contestTaskNames(setupinfo));
    tasks->blockSignals(wasBlocked);
    if (tasks->count() == 0)
        return;
    tasks->setCurrentIndex(0);
    statTaskCBChangeSlot(tasks->itemText(0));
}

void MainWindow::fillLevelStat()
{
    if (const QList<PlayerInfo> *players = registeredPlayers(setupinfo))
        statui->gradetotalTL->setText(QString::number(players->size()));
}

void MainWindow::tabChangedToStatSlot(int index)
{
    if (index != statisticsTab)
        return;
    fillPlayersinfoTB();
    fillTeamTB();
    fillTaskStat();
    fillLevelStat();
}

void MainWindow::exportResultSlot()
{
    if (!setupinfo || !mystat)
        return;
    const QString path = chooseCsvFile(this, setupinfo, QStringLiteral(".csv"));
    if (path.isEmpty() || !writeExport(this, path, resultsCsv(setupinfo, *mystat)))
        return;
    if (setupinfo->getPlayerInfo())
        QMessageBox::information(this, QStringLiteral("完成"), QStringLiteral("导出完成"),
                                 QMessageBox::Ok);
}

// The chosen file is kept in the contest as written.txt and read from there, now and whenever
// the contest is opened again.
void MainWindow::importWrittenSlot()
{
    if (!setupinfo || !mystat)
        return;
    const QString path = FileDialogs::getOpenFileName(
        this, QStringLiteral("Choose a file"), FileDialogs::startDirectory(),
        QStringLiteral("笔试成绩 (*.txt);;All Files (*)"));
    if (path.isEmpty())
        return;
    if (!installWrittenScores(setupinfo->getHome(), path)) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("无法导入笔试成绩:\n%1").arg(path), QMessageBox::Ok);
        return;
    }
    loadWrittenScores(mystat);
    fillPlayersinfoTB();
    QMessageBox::information(this, QStringLiteral("完成"), QStringLiteral("导入完成"),
                             QMessageBox::Ok);
}

void MainWindow::rangeAddSlot()
{
    bool highOk = false;
    bool lowOk = false;
    const int high = statui->rangefromLE->text().toInt(&highOk, 10);
    const int low = statui->rangetoLE->text().toInt(&lowOk, 10);
    if (!highOk || !lowOk || !mystat || high < 0 || low < 0 || high < low)
        return;
    const QList<PlayerInfo> *players = registeredPlayers(setupinfo);
    if (!players)
        return;
    const int count =
        std::count_if(players->cbegin(), players->cend(), [low, high](const PlayerInfo &player) {
            const int total = mystat->getPlayerStat(player.id).getTotal();
            return low <= total && total <= high;
        });
    QTableWidget *ranges = statui->rangeLV;
    const int row = ranges->rowCount();
    ranges->insertRow(row);
    ranges->setItem(row, 0, centredItem(QStringLiteral("%1--%2").arg(high).arg(low)));
    ranges->setItem(row, 1, centredItem(QString::number(count)));
}

void MainWindow::rangeDelSlot()
{
    const int row = statui->rangeLV->currentRow();
    if (row >= 0)
        statui->rangeLV->removeRow(row);
}

void MainWindow::teamstatPBSlot()
{
    if (!setupinfo || !mystat || !teamstat)
        return;
    const int best = statui->teamSP->value();
    QTableWidget *table = statui->teamTB;
    table->setSortingEnabled(false);
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString team = table->item(r, 0) ? table->item(r, 0)->text() : QString();
        if (!team.isEmpty())
            table->setItem(r, 5, numberItem(teamstat->getSelected(team, best)));
    }
    table->setSortingEnabled(true);
}

void MainWindow::exportTeamPBSlot()
{
    const QString path = chooseCsvFile(this, setupinfo, QStringLiteral("-分组统计.csv"));
    if (!path.isEmpty())
        writeExport(this, path, csvText(shownRows(statui->teamTB)));
}

void MainWindow::statTaskCBChangeSlot(const QString &name)
{
    if (name.isEmpty() || !mystat || !setupinfo)
        return;
    const CTaskInfo *task = findContestTask(setupinfo, name);
    if (!task)
        return;
    QTableWidget *table = statui->sampleTB;
    table->setRowCount(0);
    statui->taskmaxTL->setText(QString::number(mystat->getMax(name)));
    statui->taskminTL->setText(QString::number(mystat->getMin(name)));
    statui->taskequalTL->setText(averageText(mystat->getEqual(name)));
    table->setSortingEnabled(false);
    table->setRowCount(task->getSamplenum());
    for (int i = 1; i <= task->getSamplenum(); ++i)
        fillSampleRow(table, *mystat, name, i);
    table->setSortingEnabled(true);
}

void MainWindow::gradeStatPBSlot()
{
    const QList<PlayerInfo> *players = registeredPlayers(setupinfo);
    if (!mystat || !players)
        return;
    const QList<int> counts =
        awardCounts({statui->level1LE->text(), statui->level2LE->text(), statui->level3LE->text()},
                    players->size());
    if (counts.isEmpty())
        return;
    QList<QString> ranking = mystat->getList(std::accumulate(counts.cbegin(), counts.cend(), 0));
    QTableWidget *table = statui->levelTB;
    table->setRowCount(0);
    table->setSortingEnabled(false);
    QLabel *const given[] = {statui->level1TL, statui->level2TL, statui->level3TL};
    for (int a = 0; a < 3; ++a) {
        const int rows = appendAward(table, QString::fromUtf8(awardNames[a]), counts[a], &ranking,
                                     *mystat, tmap);
        given[a]->setText(QString::number(rows));
    }
    table->setSortingEnabled(true);
}
