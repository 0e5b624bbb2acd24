// Player management: the rows of the player table and the registry behind them.

#include "mainwindow.h"

#include "addplayerdialog.h"
#include "cdayinfo.h"
#include "cplayerinfo.h"
#include "csetupinfo.h"
#include "filedialogs.h"
#include "getfile.h"
#include "mystat.h"
#include "statsglobals.h"
#include "ui_evalpage.h"
#include "viewresultdialog.h"

#include <QFile>
#include <QMessageBox>

namespace
{

const QString selectAllText = QStringLiteral("全选");
const QString unselectAllText = QStringLiteral("取消全选");

// Column 0's check box is toggled by playerClickedSlot alone: were it user-checkable too, a
// click on the box would toggle it twice.
QTableWidgetItem *makeNameItem(const QString &name, bool ticked)
{
    auto *item = new QTableWidgetItem(name);
    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

QString MainWindow::regionOf(const QString &id) const
{
    // value(), not []: looking up an unknown code must not add it to the region map.
    return tmap.value(id.section('-', 0, 0));
}

void MainWindow::addPlayerToManageTB(QString id, QString name)
{
    QTableWidget *table = evalUi->manageTB;
    const int r = table->rowCount();
    table->insertRow(r);
    table->setItem(r, 0, makeNameItem(name, evalUi->mselectallPB->text() == unselectAllText));
    table->setItem(r, 1, new QTableWidgetItem(regionOf(id)));
    table->setItem(r, 2, new QTableWidgetItem(id));
    table->setItem(r, 3, new QTableWidgetItem(QString()));
    setRowStatus(r, QStringLiteral("未测评"), QStringLiteral(":/uncheck"));
    for (int c = 4; c < table->columnCount(); ++c)
        table->setItem(r, c, new QTableWidgetItem(QString()));
}

void MainWindow::addPlayerSlot()
{
    if (!setupinfo)
        return;
    if (!setupinfo->getPlayerInfo())
        setupinfo->setPlayerInfo(new CPlayerInfo);
    AddPlayerDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PlayerInfo player(dialog.getPalyerId(), dialog.getPlayerName());
    QString problem = PlayerInfo::idProblem(player.id);
    if (problem.isEmpty())
        problem = PlayerInfo::nameProblem(player.name);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Error!"), problem + '!');
        return;
    }
    if (setupinfo->getPlayerInfo()->getPlayerInfo()->contains(player)) {
        QMessageBox::warning(this, QStringLiteral("Error!"), QStringLiteral("选手编号重复!"));
        return;
    }
    setupinfo->getPlayerInfo()->addPlayerInfo(player.id, player.name);
    evalUi->manageTB->setSortingEnabled(false);
    addPlayerToManageTB(player.id, player.name);
    evalUi->manageTB->setSortingEnabled(true);
}

void MainWindow::importPlayerSlot()
{
    if (!setupinfo)
        return;
    if (!setupinfo->getPlayerInfo())
        setupinfo->setPlayerInfo(new CPlayerInfo);
    const QString path = FileDialogs::getOpenFileName(
        this, QStringLiteral("Choose a file"), FileDialogs::startDirectory(),
        QStringLiteral("Select the player info file ( * )"));
    if (path.isEmpty())
        return;
    CPlayerInfo *registry = setupinfo->getPlayerInfo();
    registry->delPlayerInfoAll();
    evalUi->manageTB->setSortingEnabled(false);
    evalUi->manageTB->setRowCount(0);
    QStringList notices;
    registry->importPlayerInfo(path, &notices);
    for (const PlayerInfo &player : *registry->getPlayerInfo())
        addPlayerToManageTB(player.id, player.name);
    evalUi->manageTB->setSortingEnabled(true);
    showNotices(notices);
}

void MainWindow::exportPlayerSlot()
{
    if (!setupinfo || !setupinfo->getPlayerInfo())
        return;
    CPlayerInfo *registry = setupinfo->getPlayerInfo();
    if (registry->getPlayerInfo()->isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("无选手可导出!"));
        return;
    }
    const QString path = FileDialogs::getSaveFileName(
        this, QStringLiteral("Choose a file"),
        FileDialogs::proposedFile(setupinfo->getContestName(), QStringLiteral("-选手名单.txt")),
        QStringLiteral("All Files ( * )"));
    // A cancelled dialog or a file that cannot be written ends the export without a word.
    if (path.isEmpty() || !registry->exportPlayerInfo(path))
        return;
    QMessageBox::information(this, QStringLiteral("完成"), QStringLiteral("导出完成"));
}

void MainWindow::deletePlayerSlot()
{
    QTableWidget *table = evalUi->manageTB;
    const int r = table->currentRow();
    if (!setupinfo || !setupinfo->getPlayerInfo() || r < 0)
        return;
    const QString id = table->item(r, 2)->text();
    setupinfo->getPlayerInfo()->delPlayerInfoById(id);
    // A deleted player must not go on counting in the averages and the ranking.
    if (mystat)
        mystat->delPlayer(id);
    table->removeRow(r);
}

void MainWindow::downDirSlot()
{
    if (!setupinfo)
        return;
    GetFile dialog(setupinfo, this);
    dialog.setModal(true);
    dialog.exec();
}

void MainWindow::showAllPlayerSlot()
{
    rebuildManageRows(-1, QString());
}

void MainWindow::findPlayerSlot()
{
    rebuildManageRows(evalUi->findCB->currentIndex(), evalUi->findLE->text());
}

// Rows for the registered players whose field (0 name, 1 region name, 2 id) contains text,
// or for every player when text is empty; scores filled in.
void MainWindow::rebuildManageRows(int field, const QString &text)
{
    if (!setupinfo || !setupinfo->getPlayerInfo())
        return;
    QTableWidget *table = evalUi->manageTB;
    table->setSortingEnabled(false);
    table->setRowCount(0);
    for (const PlayerInfo &player : *setupinfo->getPlayerInfo()->getPlayerInfo()) {
        const QString value = field == 0   ? player.name
                              : field == 1 ? regionOf(player.id)
                                           : player.id;
        if (text.isEmpty() || value.contains(text))
            addPlayerToManageTB(player.id, player.name);
    }
    fillScoreToManageTB();
    table->setSortingEnabled(true);
}

void MainWindow::selectAllPlayerSlot()
{
    const bool tick = evalUi->mselectallPB->text() == selectAllText;
    QTableWidget *table = evalUi->manageTB;
    for (int r = 0; r < table->rowCount(); ++r)
        table->item(r, 0)->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
    evalUi->mselectallPB->setText(tick ? unselectAllText : selectAllText);
}

void MainWindow::playerClickedSlot(int r, int c)
{
    QTableWidgetItem *item = evalUi->manageTB->item(r, 0);
    if (c != 0 || !item)
        return;
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void MainWindow::tickCurrentPlayerSlot()
{
    const int r = evalUi->manageTB->currentRow();
    if (r >= 0)
        playerClickedSlot(r, 0);
}

void MainWindow::showPlayerProgramSlot(int r, int c)
{
    QTableWidgetItem *idItem = evalUi->manageTB->item(r, 2);
    if (c == 0 || !setupinfo || !idItem)
        return;
    ViewResultDialog dialog(idItem->text(), setupinfo->getDayInfoAll(), setupinfo->getDayNum());
    dialog.move(geometry().center() - dialog.rect().center());
    dialog.exec();
}
