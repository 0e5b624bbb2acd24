// Running an evaluation from the evaluation tab: the checks before it starts, the thread or the
// worker processes, and their progress in the player table.

#include "mainwindow.h"

#include "cdayinfo.h"
#include "csetupinfo.h"
#include "ctaskinfo.h"
#include "evallist.h"
#include "mythread.h"
#include "paralleleval.h"
#include "sandbox.h"
#include "selectdlg.h"
#include "ui_evalpage.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace
{

const int firstTaskColumn = 5;

} // namespace

void MainWindow::evalSelectPlayersSlot()
{
    if (!setupinfo || t || parallel)
        return;
    const int day = evalUi->evaldaySB->value();
    if (day < 1) {
        QMessageBox::information(this, QStringLiteral("Error"), QStringLiteral("请选择评测场次!"));
        return;
    }
    QTableWidget *table = evalUi->manageTB;
    if (table->columnCount() <= firstTaskColumn) {
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("该场次无考试可评测!"));
        return;
    }
    evallist.clear();
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->item(r, 0)->checkState() == Qt::Checked)
            evallist.append(_evaldata{r, table->item(r, 2)->text()});
    if (evallist.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Error"), QStringLiteral("请选择评测选手!"));
        return;
    }
    SelectDlg range(this);
    range.setWindowTitle(QStringLiteral("指定评测范围"));
    range.setTips(QStringLiteral("需要评测的题"));
    range.addItem(QStringLiteral("所有试题"));
    for (int c = firstTaskColumn; c < table->columnCount(); ++c)
        range.addItem(table->horizontalHeaderItem(c)->text());
    range.move(geometry().center() - range.rect().center());
    if (range.exec() != QDialog::Accepted || !sandboxAllowsEvaluation())
        return;
    for (const _evaldata &e : qAsConst(evallist))
        evalProblems.remove(qMakePair(day - 1, e.id));
    if (evalUi->evaljobsSB->value() > 1 && evallist.size() > 1) {
        startParallelEvaluation(day, range.getSelectIndex());
        return;
    }
    CDayInfo *evaluated = setupinfo->getDayInfo(day - 1);
    t = new MyThread(evaluated, evaluated->getDirNumber(), range.getSelectIndex());
    t->setRequireSandbox(ui->requireSandboxAct->isChecked());
    connect(t, &MyThread::evalOneTaskComplete, this, &MainWindow::evalOneTaskCompleteSlot);
    connect(t, &MyThread::startEvalPlayer, this, &MainWindow::startEvalPlayerSlot);
    connect(t, &MyThread::endEvalPlayer, this, &MainWindow::endEvalPlayerSlot);
    connect(t, &MyThread::evalFailed, this, &MainWindow::evalFailedSlot);
    connect(t, &MyThread::evalProblem, this, &MainWindow::evalProblemSlot);
    connect(t, &QThread::finished, this, &MainWindow::evalThreadFinishedSlot);
    table->setSortingEnabled(false);
    // Disabled before the first player's signal, so that no second click starts another
    // thread on the same files meanwhile.
    setEvalControlsEnabled(false);
    t->start();
}

bool MainWindow::sandboxAllowsEvaluation()
{
    // The machine does not change while the window is open: one check, one warning.
    if (sandboxState == SandboxUnknown) {
        QStringList lines;
        sandboxState = Sandbox::check(&lines) ? SandboxFull : SandboxPlain;
        sandboxReason = lines.value(0).section(QStringLiteral(": "), 1);
    }
    const bool full = sandboxState == SandboxFull;
    const QString &reason = sandboxReason;
    if (!full && ui->requireSandboxAct->isChecked()) {
        QMessageBox::critical(
            this, QStringLiteral("Error"),
            QStringLiteral("本机不能建立完整的评测沙箱 (%1), 评测已拒绝。").arg(reason));
        return false;
    }
    if (!full && !sandboxWarned)
        QMessageBox::warning(
            this, QStringLiteral("Warning"),
            QStringLiteral("本机不能建立完整的评测沙箱 (%1), 选手程序将只在基本保护下运行。"
                           "正式比赛请在支持的机器上评测, 并勾选\"文件\"菜单中的"
                           "\"要求完整沙箱\"。")
                .arg(reason));
    sandboxWarned = true;
    return true;
}

// Several players at once: worker processes read the contest from its files, so it is saved
// first, with the organiser's consent.
void MainWindow::startParallelEvaluation(int day, int taskIndex)
{
    if (QMessageBox::question(this, QStringLiteral("同时评测"),
                              QStringLiteral("同时评测多名选手时, 评测进程读取已保存的比赛文件。"
                                             "现在保存比赛并开始评测?")) != QMessageBox::Yes)
        return;
    if (!setupinfo->saveSetupInfo()) {
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("保存比赛失败, 未评测"));
        return;
    }
    ParallelEval::Request request;
    request.program = ParallelEval::findProgram(QCoreApplication::applicationDirPath());
    request.contest = setupinfo->getHome();
    request.home = setupinfo->getHome();
    request.day = day;
    CDayInfo *info = setupinfo->getDayInfo(day - 1);
    if (taskIndex >= 0 && taskIndex < info->getTaskNum())
        request.task = info->getTaskInfo(taskIndex)->getTaskname();
    request.players = evallist;
    request.jobs = evalUi->evaljobsSB->value();
    request.requireSandbox = ui->requireSandboxAct->isChecked();
    parallel = new ParallelEval(this);
    connect(parallel, &ParallelEval::evalOneTaskComplete, this,
            &MainWindow::evalOneTaskCompleteSlot);
    connect(parallel, &ParallelEval::startEvalPlayer, this, &MainWindow::startEvalPlayerSlot);
    connect(parallel, &ParallelEval::endEvalPlayer, this, &MainWindow::endEvalPlayerSlot);
    connect(parallel, &ParallelEval::evalFailed, this, &MainWindow::evalFailedSlot);
    connect(parallel, &ParallelEval::evalProblem, this, &MainWindow::evalProblemSlot);
    connect(parallel, &ParallelEval::finished, this, &MainWindow::releaseParallelEvaluation);
    evalUi->manageTB->setSortingEnabled(false);
    setEvalControlsEnabled(false);
    evalUi->fevalTL->setText(QStringLiteral("0"));
    evalUi->tevalTL->setText(QString::number(evallist.size()));
    evalUi->evalB->setRange(0, evallist.size());
    evalUi->evalB->setValue(0);
    QString reason;
    if (!parallel->start(request, &reason)) {
        QMessageBox::warning(this, QStringLiteral("Error"), reason);
        releaseParallelEvaluation();
    }
}

// The evaluation ends when the last worker has, whichever player was last.
void MainWindow::releaseParallelEvaluation()
{
    if (!parallel)
        return;
    setEvalControlsEnabled(true);
    evalUi->manageTB->setSortingEnabled(true);
    parallel->deleteLater();
    parallel = nullptr;
}

// Off from the start of an evaluation to its end: everything that would start another one,
// change the rows, edit the contest or replace it under the running thread.
void MainWindow::setEvalControlsEnabled(bool enabled)
{
    ui->tabWidget->setTabEnabled(0, enabled);
    ui->tabWidget->setTabEnabled(2, enabled);
    Ui_EvalPage *page = evalUi;
    for (QWidget *control : std::initializer_list<QWidget *>{
             page->evaldaySB, page->findPB, page->showallPB, page->mselectallPB, page->addplayerPB,
             page->delplayerPB, page->downdirPB, page->importplayerPB, page->exportplayerPB,
             page->evalselectedPB, page->evaljobsSB})
        control->setEnabled(enabled);
    setLifecycleEnabled(enabled);
}

void MainWindow::startEvalPlayerSlot(int r)
{
    if (!parallel && !evallist.isEmpty() && r == evallist.first().row) {
        setEvalControlsEnabled(false);
        evalUi->fevalTL->setText(QStringLiteral("0"));
        evalUi->tevalTL->setText(QString::number(evallist.size()));
        evalUi->evalB->setRange(0, evallist.size());
        evalUi->evalB->setValue(0);
    }
    setRowStatus(r, QStringLiteral("正在测评"), QStringLiteral(":/middle"));
}

void MainWindow::evalOneTaskCompleteSlot(QString id, int r, int taskidx, bool success)
{
    Q_UNUSED(taskidx)
    Q_UNUSED(success)
    QTableWidgetItem *name = evalUi->manageTB->item(r, 0);
    updateMystat(id, name ? name->text() : QString());
    fillScoreToManageTB(id, r, evalUi->manageTB->columnCount());
}

// The status is read back from the result file, as it is later for the day: the thread's
// success adds nothing that the file and its problem reports do not say.
void MainWindow::endEvalPlayerSlot(int r, bool success)
{
    Q_UNUSED(success)
    showEvalStatus(r);
    showEvalFailures();
    const int finished = evalUi->fevalTL->text().toInt() + 1;
    evalUi->fevalTL->setText(QStringLiteral("%1").arg(finished));
    evalUi->evalB->setValue(finished);
    if (!evallist.isEmpty() && r == evallist.last().row)
        releaseEvalThread();
}

void MainWindow::evalFailedSlot(QString reason)
{
    QMessageBox::warning(this, QStringLiteral("Error"), reason);
}

void MainWindow::evalProblemSlot(int r, QString task, QString reason)
{
    for (const _evaldata &e : qAsConst(evallist)) {
        if (e.row == r)
            evalProblems[qMakePair(evalUi->evaldaySB->value() - 1, e.id)]
                << (task.isEmpty() ? reason : task + QStringLiteral(": ") + reason);
    }
}

// Every thread ends here, also one that could not begin and so never sent a player signal;
// a thread already released after its last player is not ours any more.
void MainWindow::evalThreadFinishedSlot()
{
    if (t && sender() == t)
        releaseEvalThread();
}

void MainWindow::releaseEvalThread()
{
    if (!t)
        return;
    setEvalControlsEnabled(true);
    evalUi->manageTB->setSortingEnabled(true);
    t->wait();
    // Deleted later: the thread's own finished signal may still be queued for this window.
    t->deleteLater();
    t = nullptr;
}
