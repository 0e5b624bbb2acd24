// Evaluation control: the day shown on the evaluation tab, its task columns, the scores and
// statuses read back from the result files.

#include "mainwindow.h"

#include "cdayinfo.h"
#include "cplayerinfo.h"
#include "csetupinfo.h"
#include "ctaskinfo.h"
#include "mystat.h"
#include "pageglobals.h"
#include "paralleleval.h"
#include "statsglobals.h"
#include "ui_evalpage.h"
#include "ui_mainwindow.h"

#include <QSignalBlocker>

namespace
{

const int firstTaskColumn = 5;

} // namespace

void MainWindow::evalwndowUi()
{
    connectEvalPage();
    QTableWidget *table = evalUi->manageTB;
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The rows, the day and the counter of a replaced contest must not survive it. mystat has
    // been built again, results read, for the new contest before the pages are set up, so the
    // result files are not read a second time here.
    table->setSortingEnabled(false);
    table->setRowCount(0);
    {
        // A contest opens on its first day, whose statuses and scores its result files give.
        const QSignalBlocker quiet(evalUi->evaldaySB);
        const int days = setupinfo ? setupinfo->getDayNum() : 0;
        evalUi->evaldaySB->setMaximum(days);
        evalUi->evaldaySB->setValue(days > 0 ? 1 : 0);
    }
    fillManageTBHeader();
    evalUi->fevalTL->setText(QStringLiteral("0"));
    evalUi->tevalTL->setText(QStringLiteral("0"));
    evalUi->evalB->setValue(0);
    if (setupinfo && setupinfo->getPlayerInfo()) {
        table->setSortingEnabled(false);
        for (const PlayerInfo &player : *setupinfo->getPlayerInfo()->getPlayerInfo())
            addPlayerToManageTB(player.id, player.name);
    }
    table->setSortingEnabled(true);
    tabChangedToEvalSlot(ui->tabWidget->currentIndex());
}

void MainWindow::connectEvalPage()
{
    const auto unique = Qt::UniqueConnection;
    Ui_EvalPage *page = evalUi;
    page->evaljobsSB->setRange(1, ParallelEval::maxJobs());
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::tabChangedToEvalSlot,
            unique);
    connect(page->evaldaySB, &QSpinBox::textChanged, this, &MainWindow::evaldayChangedSlot, unique);
    connect(page->evalselectedPB, &QPushButton::clicked, this, &MainWindow::evalSelectPlayersSlot,
            unique);
    connect(page->addplayerPB, &QPushButton::clicked, this, &MainWindow::addPlayerSlot, unique);
    connect(page->importplayerPB, &QPushButton::clicked, this, &MainWindow::importPlayerSlot,
            unique);
    connect(page->exportplayerPB, &QPushButton::clicked, this, &MainWindow::exportPlayerSlot,
            unique);
    connect(page->delplayerPB, &QPushButton::clicked, this, &MainWindow::deletePlayerSlot, unique);
    connect(page->downdirPB, &QPushButton::clicked, this, &MainWindow::downDirSlot, unique);
    connect(page->showallPB, &QPushButton::clicked, this, &MainWindow::showAllPlayerSlot, unique);
    connect(page->mselectallPB, &QPushButton::clicked, this, &MainWindow::selectAllPlayerSlot,
            unique);
    connect(page->findPB, &QPushButton::clicked, this, &MainWindow::findPlayerSlot, unique);
    connect(page->findLE, &QLineEdit::returnPressed, this, &MainWindow::findPlayerSlot, unique);
    connect(page->tickSC, &QShortcut::activated, this, &MainWindow::tickCurrentPlayerSlot, unique);
    connect(page->manageTB, &QTableWidget::cellClicked, this, &MainWindow::playerClickedSlot,
            unique);
    connect(page->manageTB, &QTableWidget::cellDoubleClicked, this,
            &MainWindow::showPlayerProgramSlot, unique);
}

void MainWindow::getResultToMystat()
{
    if (!setupinfo || !setupinfo->getPlayerInfo())
        return;
    if (!mystat)
        mystat = new MyStat(setupinfo);
    mystat->addRegistered();
}

void MainWindow::tabChangedToEvalSlot(int index)
{
    if (index != 1 || !setupinfo)
        return;
    // The day's columns and scores are fetched again once, also when the day stays the same:
    // days, tasks or results may have changed meanwhile.
    QSpinBox *day = evalUi->evaldaySB;
    const int shown = day->value();
    const int days = setupinfo->getDayNum();
    const QSignalBlocker quiet(day);
    day->setMaximum(days);
    day->setValue(shown <= days ? shown : 0);
    evaldayChangedSlot(day->text());
}

void MainWindow::evaldayChangedSlot(const QString &text)
{
    curDay = setupinfo ? setupinfo->getDayInfo(text.toInt() - 1) : nullptr;
    fillManageTBHeader();
    fillScoreToManageTB();
}

void MainWindow::fillManageTBHeader()
{
    QTableWidget *table = evalUi->manageTB;
    table->setColumnCount(firstTaskColumn);
    table->setSortingEnabled(false);
    for (int r = 0; r < table->rowCount(); ++r)
        table->setItem(r, 4, new QTableWidgetItem(QString()));
    table->setSortingEnabled(true);
    if (!curDay)
        return;
    table->setColumnCount(firstTaskColumn + curDay->getTaskNum());
    for (int c = firstTaskColumn; c < table->columnCount(); ++c) {
        const QString name = curDay->getTaskInfo(c - firstTaskColumn)->getTaskname();
        table->setHorizontalHeaderItem(c, new QTableWidgetItem(name));
        for (int r = 0; r < table->rowCount(); ++r)
            table->setItem(r, c, new QTableWidgetItem(QString()));
    }
}

// The statuses are the day's too: a row evaluated on another day is not evaluated here.
void MainWindow::fillScoreToManageTB()
{
    QTableWidget *table = evalUi->manageTB;
    table->setSortingEnabled(false);
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->columnCount() > firstTaskColumn)
            fillScoreToManageTB(table->item(r, 2)->text(), r, table->columnCount());
        showEvalStatus(r);
    }
    table->setSortingEnabled(true);
    showEvalFailures();
}

// The same reading of the result files as the statistics and taldon-cli: PlayerStat's task
// totals, in points.
void MainWindow::fillScoreToManageTB(QString id, int r, int columnCount)
{
    QTableWidget *table = evalUi->manageTB;
    const PlayerStat stat = mystat ? mystat->getPlayerStat(id) : PlayerStat();
    int total = 0;
    for (int c = firstTaskColumn; c < columnCount; ++c) {
        const int score = stat.getTotal(table->horizontalHeaderItem(c)->text());
        auto *item = new QTableWidgetItem;
        item->setData(Qt::DisplayRole, score);
        table->setItem(r, c, item);
        total += score;
    }
    auto *item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, total);
    table->setItem(r, 4, item);
}

void MainWindow::updateMystat(QString id, QString name)
{
    if (!mystat) {
        if (!setupinfo)
            return;
        mystat = new MyStat(setupinfo);
    }
    if (!mystat->playerExists(id))
        mystat->addPlayer(name, id);
    mystat->importResult(id);
}

void MainWindow::setRowStatus(int r, const QString &text, const QString &icon, const QString &why)
{
    QTableWidgetItem *item = evalUi->manageTB->item(r, 3);
    if (!item)
        return;
    item->setText(text);
    item->setIcon(QIcon(icon));
    item->setToolTip(why);
}

// "task: cause" for every failure of the row's player on the day shown; empty when none.
QStringList MainWindow::evalFailureCauses(int r) const
{
    const QTableWidgetItem *id = evalUi->manageTB->item(r, 2);
    const int day = evalUi->evaldaySB->value() - 1;
    if (!id || !mystat)
        return {};
    const EvalStatus status = mystat->getPlayerStat(id->text()).evalStatus(day);
    return status.causes + evalProblems.value(qMakePair(day, id->text()));
}

// A row evaluated for some of the day's tasks only says in its tooltip which are left.
void MainWindow::showEvalStatus(int r)
{
    const QTableWidgetItem *id = evalUi->manageTB->item(r, 2);
    const int day = evalUi->evaldaySB->value() - 1;
    const QStringList causes = evalFailureCauses(r);
    const EvalStatus status =
        id && mystat ? mystat->getPlayerStat(id->text()).evalStatus(day) : EvalStatus();
    const QString left = status.unevaluated.isEmpty()
                             ? QString()
                             : QStringLiteral("未测评: ") + status.unevaluated.join(", ");
    if (!causes.isEmpty())
        setRowStatus(r, QStringLiteral("测评失败"), QStringLiteral(":/failed"), causes.join('\n'));
    else if (status.state != EvalStatus::NotEvaluated)
        setRowStatus(r, QStringLiteral("测评成功"), QStringLiteral(":/succeed"), left);
    else
        setRowStatus(r, QStringLiteral("未测评"), QStringLiteral(":/uncheck"));
}

// One line per cause, with the number of players it failed, so that a task refused for every
// player is said once.
void MainWindow::showEvalFailures()
{
    QMap<QString, int> counts;
    QStringList order;
    for (int r = 0; r < evalUi->manageTB->rowCount(); ++r) {
        for (const QString &cause : evalFailureCauses(r)) {
            if (!counts.contains(cause))
                order << cause;
            ++counts[cause];
        }
    }
    // The window has a fixed size: a few lines, the rest in the rows' tooltips.
    const int shown = 4;
    QStringList lines;
    for (const QString &cause : order.mid(0, shown))
        lines << QStringLiteral("测评失败 (%1 名选手) %2").arg(counts.value(cause)).arg(cause);
    if (order.size() > shown)
        lines << QStringLiteral("另有 %1 项失败, 见各选手评测状态的提示").arg(order.size() - shown);
    evalUi->failuresTL->setText(lines.join('\n'));
    evalUi->failuresTL->setVisible(!lines.isEmpty());
}
