#ifndef TALDON_APP_MAINWINDOW_H
#define TALDON_APP_MAINWINDOW_H

#include <QMainWindow>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

class CDayInfo;
class CSetupInfo;
class ParallelEval;
class QCloseEvent;
class QPoint;
class QTreeWidgetItem;
class Ui_EvalPage;
class Ui_MainWindow;
class Ui_StatisticsPage;
class Ui_TaskConfigPage;

// The program's one window: a welcome page until a contest is created or opened, then the main
// page with its three tabs. The window owns the open contest (setupinfo) and the widget tree.
//
// The pages are member functions of this class, declared below in the sections marked for each
// page and defined in pages/mainwindow_<page>.cpp. How a page builder must behave:
//
// - translateToMainPage() runs every page builder (managewindowUi, evalwndowUi, statwindowUi)
//   each time a contest is opened or New replaces the open one. A page adds the call of its
//   builder there, in that order.
// - Before the builders run, the replaced contest is already gone and curDay, curTask and
//   curItem (pageglobals.h) are null: a builder refills all of its widgets from setupinfo and
//   rebuilds anything of its own that pointed into the old contest (tables, trees, statistics).
// - While the evaluation thread runs it reads the open contest without a lock, so nothing may
//   replace it meanwhile: the evaluation page calls setLifecycleEnabled(false) at the first
//   player's start and setLifecycleEnabled(true) after the last player's end.
// - A builder runs more than once, so every connect() it makes passes Qt::UniqueConnection and
//   names a member-function slot (never a lambda, which cannot be recognised as a repeat). Each
//   signal then reaches its slot exactly once however often the builder runs.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The open contest, or null on the welcome page.
    CSetupInfo *getSetupInfo() const { return setupinfo; }
    const QMap<QString, QString> &getRegionTable() const { return tmap; }

    // Enables or disables New, Open and Save as, the commands that replace the open contest or
    // move its home.
    virtual void setLifecycleEnabled(bool enabled);

protected:
    void closeEvent(QCloseEvent *event) override;

    virtual void init_tmap();

    // --- Statistics page (pages/mainwindow_statistics.cpp): operations ---
    virtual void statwindowUi();
    virtual void fillPlayersinfoTB();
    virtual void fillTeamTB();
    virtual void fillTaskStat();
    virtual void fillLevelStat();

    // --- Player management page (pages/mainwindow_players.cpp): operations ---
    virtual void evalwndowUi();
    virtual void fillManageTBHeader();
    virtual void addPlayerToManageTB(QString id, QString name);

    // --- Evaluation control (pages/mainwindow_evaluation.cpp): operations ---
    virtual void fillScoreToManageTB();
    virtual void fillScoreToManageTB(QString id, int r, int columnCount);
    virtual void updateMystat(QString id, QString name);
    virtual void getResultToMystat();

    // --- Task configuration page (pages/mainwindow_taskconfig.cpp): operations ---
    virtual void hideFilter();
    virtual void fillTaskInfo();
    virtual void fillDayTB(CDayInfo *day);
    virtual void showfilter();
    virtual void fillspTB(bool keep);
    virtual void managewindowUi();

    virtual void welcomewindowUi();

public slots:
    virtual void translateToMainPage();

    // --- Statistics page, CSV export and printing: slots ---
    virtual void tabChangedToStatSlot(int index);
    virtual void exportResultSlot();
    virtual void importWrittenSlot();
    virtual void rangeAddSlot();
    virtual void rangeDelSlot();
    virtual void printfinalSlot();
    virtual void printselectedSlot();
    virtual void teamstatPBSlot();
    virtual void printTeamPBSlot();
    virtual void exportTeamPBSlot();
    virtual void statTaskCBChangeSlot(const QString &name);
    virtual void gradeStatPBSlot();

    // --- Player management, evaluation control and result viewer: slots ---
    virtual void tabChangedToEvalSlot(int index);
    virtual void evaldayChangedSlot(const QString &text);
    virtual void selectAllPlayerSlot();
    virtual void addPlayerSlot();
    virtual void deletePlayerSlot();
    virtual void downDirSlot();
    virtual void importPlayerSlot();
    virtual void exportPlayerSlot();
    virtual void findPlayerSlot();
    virtual void showAllPlayerSlot();
    virtual void playerClickedSlot(int r, int c);
    virtual void tickCurrentPlayerSlot();
    virtual void showPlayerProgramSlot(int r, int c);
    virtual void evalSelectPlayersSlot();
    virtual void evalOneTaskCompleteSlot(QString id, int r, int taskidx, bool success);
    virtual void startEvalPlayerSlot(int r);
    virtual void endEvalPlayerSlot(int r, bool success);
    virtual void evalFailedSlot(QString reason);
    virtual void evalProblemSlot(int r, QString task, QString reason);
    virtual void evalThreadFinishedSlot();

    // --- Task configuration page: slots ---
    virtual void showMenuOnProLVSlot(const QPoint &pos);
    virtual void addDaySlot();
    virtual void addTaskSlot();
    virtual void deleteSlot();
    virtual void changeInfoWSSlot(QTreeWidgetItem *item);
    virtual void tasknameChangedSlot(const QString &text);
    virtual void submitChangedSlot(const QString &text);
    virtual void tscChangedSlot(const QString &text);
    virtual void testpointnumchangedSlot(const QString &text);
    virtual void spTBchangedSlot(int row, int column);
    virtual void timelimitChangedSlot(const QString &text);
    virtual void memlimitChangedSlot(const QString &text);
    virtual void methodChangedSlot(const QString &text);
    virtual void stringCBChangedSlot(const QString &text);
    virtual void numCBChangedSlot(const QString &text);
    virtual void preciseChangeSlot(const QString &text);
    virtual void selectMethodSlot();
    virtual void testlibCBClicked(bool checked);
    virtual void scCBClicked(bool checked);
    virtual void scLEChanged(const QString &text);
    virtual void scplusCBClicked(bool checked);
    virtual void scplusLEChanged(const QString &text);
    virtual void spasCBClicked(bool checked);
    virtual void spasLEChanged(const QString &text);
    virtual void spythonCBClicked(bool checked);
    virtual void spythonLEChanged(const QString &text);
    virtual void sjavaCBClicked(bool checked);
    virtual void sjavaLEChanged(const QString &text);

    // --- Contest lifecycle (app/mainwindow.cpp) ---
    virtual void newGameSlot();
    virtual void openGameSlot();
    virtual void saveGameSlot();
    virtual void anotherSaveSlot();
    virtual void aboutSlot();
    virtual void adddir();

private:
    // Saves nothing; forgets the open contest and every page pointer into it.
    void releaseContest();
    // Tells the user, in one box, what was read or done differently than asked.
    void showNotices(const QStringList &notices);
    // Shows the reason when saved is false; returns saved.
    bool reportSave(bool saved);
    void centreOnScreen();
    // Connects the print buttons of the statistics page (pages/mainwindow_printing.cpp).
    void connectPrintButtons();

    // Player management and evaluation (pages/mainwindow_players.cpp, mainwindow_evaluation.cpp).
    void connectEvalPage();
    void rebuildManageRows(int field, const QString &text);
    QString regionOf(const QString &id) const;
    void setRowStatus(int r, const QString &text, const QString &icon,
                      const QString &why = QString());
    // The status of row r for the day shown, from the result file and the problems the
    // evaluation reported; the line under the table sums up the day's failures.
    void showEvalStatus(int r);
    void showEvalFailures();
    QStringList evalFailureCauses(int r) const;
    // Task configuration: says on the form that the task shown has no filter.
    void showMissingFilter();
    bool confirmTaskRename(const QString &oldName);
    void setEvalControlsEnabled(bool enabled);
    // Before the first evaluation: warns once when the submission sandbox is not available, and
    // refuses when the full sandbox is required.
    bool sandboxAllowsEvaluation();
    void startParallelEvaluation(int day, int taskIndex);
    void releaseParallelEvaluation();
    void releaseEvalThread();

    Ui_MainWindow *ui;
    // The widgets of the statistics tab.
    Ui_StatisticsPage *statui;
    // The widgets of the evaluation tab.
    Ui_EvalPage *evalUi;
    // The widgets of the task configuration tab.
    Ui_TaskConfigPage *taskUi;
    CSetupInfo *setupinfo;
    QMap<QString, QString> tmap;
    enum { SandboxUnknown, SandboxFull, SandboxPlain } sandboxState = SandboxUnknown;
    QString sandboxReason;
    bool sandboxWarned = false;
    // The running evaluation of several players at once, or null.
    ParallelEval *parallel = nullptr;
    // Per (day index, player id), why an evaluation failed where the result file cannot say
    // (a task refused for its name, a result file that could not be opened).
    QMap<QPair<int, QString>, QStringList> evalProblems;
};

#endif
