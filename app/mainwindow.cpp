#include "mainwindow.h"

#include "contesttree.h"
#include "csetupinfo.h"
#include "evallist.h"
#include "filedialogs.h"
#include "mythread.h"
#include "newgamedlg.h"
#include "pageglobals.h"
#include "paralleleval.h"
#include "recordloader.h"
#include "regiontable.h"
#include "statsglobals.h"
#include "ui_evalpage.h"
#include "ui_mainwindow.h"
#include "ui_statisticspage.h"
#include "ui_taskconfigpage.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui_MainWindow), statui(new Ui_StatisticsPage),
      evalUi(new Ui_EvalPage), taskUi(new Ui_TaskConfigPage), setupinfo(nullptr)
{
    ui->setupUi(this);
    taskUi->setupUi(ui->submanage);
    statui->setupUi(ui->scoresta);
    evalUi->setupUi(ui->playermanage);
    centreOnScreen();
    setWindowIcon(QIcon(QStringLiteral(":/icon.ico")));
    welcomewindowUi();
}

MainWindow::~MainWindow()
{
    // A running evaluation reads the contest and writes its results: it ends before they go.
    if (t) {
        t->wait();
        delete t;
        t = nullptr;
    }
    delete taskUi;
    delete statui;
    delete evalUi;
    delete ui;
    releaseContest();
}

void MainWindow::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move((area.width() - width()) / 2, (area.height() - height()) / 2);
}

// While an evaluation runs, closing would leave it judging on without a window: the question is
// whether to stop it, and Yes ends the run in progress and waits for the thread, or the workers,
// to finish the players' blocks before the window goes.
void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool evaluating = (t && t->isRunning()) || (parallel && parallel->isRunning());
    QMessageBox box(QMessageBox::Information, QStringLiteral("Close Window"),
                    evaluating ? QStringLiteral("正在评测, 确定停止评测并关闭?")
                               : QStringLiteral("确定关闭?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    if (t) {
        t->requestStop();
        t->wait();
    }
    if (parallel)
        parallel->stop();
    event->accept();
}

void MainWindow::init_tmap()
{
    for (const auto &region : regionTable()) {
        tmap[region.first] = region.second;
        tmap[region.first.toUpper()] = tmap[region.first];
    }
}

void MainWindow::welcomewindowUi()
{
    connect(ui->newGameAct, &QAction::triggered, this, &MainWindow::newGameSlot);
    connect(ui->newGamePB, &QPushButton::clicked, this, &MainWindow::newGameSlot);
    connect(ui->openGameAct, &QAction::triggered, this, &MainWindow::openGameSlot);
    connect(ui->openGamePB, &QPushButton::clicked, this, &MainWindow::openGameSlot);
    connect(ui->saveGameAct, &QAction::triggered, this, &MainWindow::saveGameSlot);
    connect(ui->anotherSaveAct, &QAction::triggered, this, &MainWindow::anotherSaveSlot);
    connect(ui->aboutAct, &QAction::triggered, this, &MainWindow::aboutSlot);
    connect(ui->exitAct, &QAction::triggered, this, &MainWindow::close);
    connect(ui->exitPB, &QPushButton::clicked, this, &MainWindow::close);
}

void MainWindow::setLifecycleEnabled(bool enabled)
{
    for (QAction *action : {ui->newGameAct, ui->openGameAct, ui->anotherSaveAct})
        action->setEnabled(enabled);
    ui->newGamePB->setEnabled(enabled);
    ui->openGamePB->setEnabled(enabled);
}

void MainWindow::translateToMainPage()
{
    clearPageGlobals();
    init_tmap();
    setWindowTitle(QStringLiteral("单机版"));
    ui->stackedWidget->setCurrentIndex(0);
    managewindowUi();
    // The statistics of the contest are built before any page shows them.
    resetStats(setupinfo);
    evalwndowUi();
    statwindowUi();
    connectPrintButtons();
}

void MainWindow::releaseContest()
{
    clearPageGlobals();
    resetStats(nullptr);
    delete setupinfo;
    setupinfo = nullptr;
}

void MainWindow::newGameSlot()
{
    NewGameDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!isRecordValue(dialog.getContestName())) {
        QMessageBox::warning(this, QStringLiteral("Error!"),
                             QStringLiteral("比赛名称不能含有换行!"), QMessageBox::Ok);
        return;
    }
    const QString home = ContestTree::absoluteHome(dialog.getHomePath());
    if (!QDir().mkpath(home)) {
        QMessageBox::warning(this, QStringLiteral("Error!"),
                             QStringLiteral("Can not make the directory you specific!"),
                             QMessageBox::Ok);
        return;
    }
    // The open contest stays when it cannot be saved: replacing it would lose its changes.
    if (setupinfo && !reportSave(setupinfo->saveSetupInfo()))
        return;
    releaseContest();
    setupinfo = new CSetupInfo;
    setupinfo->setHome(home);
    setupinfo->setContestName(dialog.getContestName());
    reportSave(setupinfo->saveSetupInfo());
    adddir();
    translateToMainPage();
}

void MainWindow::adddir()
{
    if (!setupinfo)
        return;
    const QString stock = ContestTree::stockFilterDir();
    ContestTree::makeTree(setupinfo->getHome(), stock);
    if (stock.isEmpty()) {
        // Not modal: the new contest is usable, only its filter directory needs filling.
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Error"),
                                    QStringLiteral("没有找到标准比较程序, filter 目录是空的!"),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
}

void MainWindow::openGameSlot()
{
    const QString path = FileDialogs::getOpenFileName(this, QStringLiteral("Choose a file"),
                                                      FileDialogs::startDirectory(),
                                                      QStringLiteral("Setup File ( *.cfg)"));
    if (path.isEmpty())
        return;
    if (setupinfo) {
        reportSave(setupinfo->saveSetupInfo());
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("请关闭当前比赛!"),
                             QMessageBox::Ok);
        return;
    }
    setupinfo = new CSetupInfo(QFileInfo(path).absoluteFilePath());
    translateToMainPage();
    showNotices(setupinfo->loadNotices());
}

void MainWindow::saveGameSlot()
{
    if (setupinfo)
        reportSave(setupinfo->saveSetupInfo());
}

void MainWindow::anotherSaveSlot()
{
    if (!setupinfo || !reportSave(setupinfo->saveSetupInfo()))
        return;
    const QString dir = FileDialogs::getExistingDirectory(
        this, QStringLiteral("Choose a directory"), FileDialogs::startDirectory());
    if (dir.isEmpty())
        return;
    reportSave(setupinfo->saveSetupInfo(ContestTree::absoluteHome(dir)));
}

void MainWindow::showNotices(const QStringList &notices)
{
    if (!notices.isEmpty())
        QMessageBox::information(this, QStringLiteral("提示"), notices.join('\n'));
}

// A save that fails is said at once: the organiser must not quit believing the work was saved.
bool MainWindow::reportSave(bool saved)
{
    if (!saved)
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("比赛没有保存:\n%1").arg(setupinfo->saveError()),
                             QMessageBox::Ok);
    return saved;
}

void MainWindow::aboutSlot()
{
    QMessageBox::about(this, QStringLiteral("关于"),
                       QStringLiteral("Quorvex 2.0\nBased on Qt %1\nBuilt on %2 %3")
                           .arg(QStringLiteral(QT_VERSION_STR), QStringLiteral(__DATE__),
                                QStringLiteral(__TIME__)));
}
