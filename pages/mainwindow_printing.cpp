#include "mainwindow.h"

#include "cfileissuedlg.h"
#include "cfinalprint.h"
#include "csetupinfo.h"
#include "dayreports.h"
#include "selectdlg.h"
#include "statsglobals.h"
#include "ui_statisticspage.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

namespace
{

void askAndPrintTable(QWidget *window, const QString &question, QTableWidget *table,
                      const QString &title, const QString &contestName)
{
    if (QMessageBox::information(window, QStringLiteral("打印"), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) != QMessageBox::Yes)
        return;
    CFinalPrint printer(table, window);
    printer.setTitle(title);
    printer.setContestName(contestName);
    printer.print();
}

// The day to print counted from 0, or -1 when the user chose none.
int chooseDay(QWidget *window, int days)
{
    SelectDlg dialog(window);
    dialog.setWindowTitle(QStringLiteral("请选择"));
    dialog.setTips(QStringLiteral("选择打印的场次"));
    dialog.addItem(QStringLiteral("请选择"));
    for (int d = 1; d <= days; ++d)
        dialog.addItem(QStringLiteral("第%1场").arg(d));
    dialog.move(window->x() + (window->width() - dialog.width()) / 2,
                window->y() + (window->height() - dialog.height()) / 2);
    dialog.setModal(true);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return dialog.getSelectIndex();
}

} // namespace

void MainWindow::printfinalSlot()
{
    if (!setupinfo)
        return;
    askAndPrintTable(this, QStringLiteral("确定打印总成绩表?"), statui->playersinfoTB,
                     QStringLiteral("总体成绩打印"), setupinfo->getContestName());
}

void MainWindow::printselectedSlot()
{
    if (!setupinfo || !mystat || !setupinfo->getPlayerInfo())
        return;
    const int day = chooseDay(this, setupinfo->getDayNum());
    if (day < 0)
        return;
    CFileIssueDlg progress(this);
    progress.setWindowTitle(QStringLiteral("打印成绩"));
    progress.setProgressText(QStringLiteral("Printing..."));
    progress.setProgressRange(0, setupinfo->getPlayerInfo()->getPlayerInfoInternal()->size());
    progress.setModal(true);
    progress.show();
    const DayReportsResult result =
        printDayReports(setupinfo, day, [&progress](int count, const QString &, bool) {
            progress.setProgress(count);
            QCoreApplication::processEvents();
        });
    progress.setProgressText(QStringLiteral("Done..."));
    if (!result.failed.isEmpty())
        QMessageBox::warning(&progress, QStringLiteral("Error"),
                             QStringLiteral("%1 份成绩单未能写入:\n%2")
                                 .arg(result.failed.size())
                                 .arg(result.failed.join(QStringLiteral(", "))));
    progress.wait();
}

void MainWindow::printTeamPBSlot()
{
    if (!setupinfo || !teamstat)
        return;
    askAndPrintTable(this, QStringLiteral("确定打印队伍成绩统计表?"), statui->teamTB,
                     QStringLiteral("队伍成绩打印"), setupinfo->getContestName());
}

// Runs with every page builder; a repeat must not make a second connection.
void MainWindow::connectPrintButtons()
{
    const auto unique = Qt::UniqueConnection;
    connect(statui->printfinal_sPB, &QPushButton::clicked, this, &MainWindow::printfinalSlot,
            unique);
    connect(statui->printselectedPB, &QPushButton::clicked, this, &MainWindow::printselectedSlot,
            unique);
    connect(statui->printteamPB, &QPushButton::clicked, this, &MainWindow::printTeamPBSlot, unique);
}
