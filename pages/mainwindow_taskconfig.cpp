#include "mainwindow.h"

#include "checkerbuild.h"
#include "compileoptions.h"
#include "csetupinfo.h"
#include "customfilter.h"
#include "filedialogs.h"
#include "filtername.h"
#include "globals.h"
#include "mystat.h"
#include "pageglobals.h"
#include "recordloader.h"
#include "statsglobals.h"
#include "ui_mainwindow.h"
#include "ui_taskconfigpage.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTemporaryDir>

namespace
{

// Where a record stands in the contest: day index, and task index within it (-1 for a day).
struct Position {
    int day = -1;
    int task = -1;
};

// The positions of the records the pages hold pointers to, taken before the contest's arrays
// are rebuilt and used to fetch the records again afterwards.
struct HeldRecords {
    Position shownTask;
    int evaluationDay = -1;
};

QString dayName(int number)
{
    return QStringLiteral("第%1场--day%1").arg(number);
}

Position positionOfTask(CSetupInfo *setup, const CTaskInfo *task)
{
    for (int d = 0; task && d < setup->getDayNum(); ++d) {
        CDayInfo *day = setup->getDayInfo(d);
        for (int t = 0; t < day->getTaskNum(); ++t) {
            if (day->getTaskInfo(t) == task)
                return {d, t};
        }
    }
    return {};
}

int indexOfDay(CSetupInfo *setup, const CDayInfo *day)
{
    for (int d = 0; day && d < setup->getDayNum(); ++d) {
        if (setup->getDayInfo(d) == day)
            return d;
    }
    return -1;
}

CTaskInfo *taskAt(CSetupInfo *setup, Position at)
{
    CDayInfo *day = setup->getDayInfo(at.day);
    return day ? day->getTaskInfo(at.task) : nullptr;
}

HeldRecords holdRecords(CSetupInfo *setup)
{
    return {positionOfTask(setup, curTask), indexOfDay(setup, curDay)};
}

void fetchRecords(CSetupInfo *setup, const HeldRecords &held)
{
    curTask = taskAt(setup, held.shownTask);
    curDay = setup->getDayInfo(held.evaluationDay);
}

// A later day moves up one place; the deleted day is forgotten with its tasks.
void dayDeleted(HeldRecords *held, int day)
{
    if (held->shownTask.day == day)
        held->shownTask = {};
    else if (held->shownTask.day > day)
        --held->shownTask.day;
    if (held->evaluationDay == day)
        held->evaluationDay = -1;
    else if (held->evaluationDay > day)
        --held->evaluationDay;
}

void taskDeleted(HeldRecords *held, Position deleted)
{
    Position &shown = held->shownTask;
    if (shown.day != deleted.day)
        return;
    if (shown.task == deleted.task)
        shown = {};
    else if (shown.task > deleted.task)
        --shown.task;
}

Position itemPosition(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!item)
        return {};
    QTreeWidgetItem *parent = item->parent();
    if (!parent)
        return {tree->indexOfTopLevelItem(item), -1};
    return {tree->indexOfTopLevelItem(parent), parent->indexOfChild(item)};
}

QTableWidgetItem *textCell(const QString &text)
{
    return new QTableWidgetItem(text);
}

// Checks one language's box and shows the options of its command, if the task has it.
void showCompileCmd(CTaskInfo *task, const QString &lang, QCheckBox *box, QLineEdit *options)
{
    const CCompileCmd *cmd = task->getCcl(lang);
    box->setChecked(cmd != nullptr);
    options->setEnabled(cmd != nullptr);
    options->setText(cmd ? compileOptions(cmd->getCmd()) : QString());
}

// A language's box was clicked: the task gains the language with its default command, or
// loses it. The box's own change of its options field must not edit the command.
void switchLanguage(const QString &lang, const QString &defaultCmd, bool checked,
                    QLineEdit *options)
{
    if (!isResponse || !curTask)
        return;
    isResponse = false;
    if (checked)
        curTask->addACcl(new CCompileCmd(lang, defaultCmd));
    else
        curTask->delACcl(lang);
    const CCompileCmd *cmd = curTask->getCcl(lang);
    options->setText(cmd ? compileOptions(cmd->getCmd()) : QString());
    options->setEnabled(checked);
    isResponse = true;
}

void editCompileOptions(const QString &lang, const QString &options)
{
    CCompileCmd *cmd = isResponse && curTask ? curTask->getCcl(lang) : nullptr;
    if (cmd)
        cmd->setCmd(withCompileOptions(cmd->getCmd(), options));
}

// Makes a chosen custom filter available in the contest as `name`, where the engine looks for
// it; asks before it replaces a different file of the same name. False when the choice is
// dropped.
bool placeFilterInContest(QWidget *parent, const QString &home, const QString &path,
                          const QString &name)
{
    FilterPlacement placed = placeCustomFilter(home, path, false, name);
    if (placed == FilterPlacement::NameTaken) {
        const auto answer = QMessageBox::question(
            parent, QStringLiteral("替换过滤程序"),
            QStringLiteral("比赛的 filter 目录中已有另一个 %1，是否替换?").arg(name),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
        placed = placeCustomFilter(home, path, true, name);
    }
    if (placed == FilterPlacement::Failed) {
        QMessageBox::warning(parent, QStringLiteral("Error"),
                             QStringLiteral("无法把过滤程序复制到比赛的 filter 目录!"),
                             QMessageBox::Ok);
        return false;
    }
    return true;
}

// Compiles a chosen checker source with the task's C++ command; a failure is shown at once.
bool compileChecker(QWidget *parent, CTaskInfo *task, const QString &source, const QString &program)
{
    const CCompileCmd *cpp = task->getCcl(QStringLiteral("cpp"));
    QString messages;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool built = buildChecker(source, cpp ? cpp->getCmd() : CPLUS_CL, program, &messages);
    QApplication::restoreOverrideCursor();
    if (!built)
        QMessageBox::warning(parent, QStringLiteral("Error"),
                             QStringLiteral("校验器编译失败:\n%1").arg(messages.left(2000)),
                             QMessageBox::Ok);
    return built;
}

// Deleting a day whose directories hold files asks first, saying what the next save will rename.
bool confirmDayDeletion(QWidget *parent, CSetupInfo *setup, int index)
{
    CDayInfo *day = setup->getDayInfo(index);
    if (!day || !DayDirectories::holdFiles(setup->getHome(), day->getDirNumber()))
        return true;
    QStringList moves;
    for (const DayDirectories::Move &move : setup->movesIfDeleted(index))
        moves << move.from + QStringLiteral(" → ") + move.to;
    const QString text =
        QStringLiteral("%1 的目录中有选手的文件。保存比赛时将把这些目录改名 (不删除任何文件):\n"
                       "%2\n确定删除这一场?")
            .arg(day->getDayname(), moves.join('\n'));
    return QMessageBox::question(parent, QStringLiteral("删除考试"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

void MainWindow::hideFilter()
{
    taskUi->numCB->hide();
    taskUi->numCB->setCurrentIndex(0);
    taskUi->stringCB->hide();
    taskUi->stringCB->setCurrentIndex(0);
    taskUi->floatF->hide();
    taskUi->preciseSB->setValue(1);
    taskUi->customF->hide();
    taskUi->methodLE->clear();
    taskUi->testlibCB->setChecked(false);
}

void MainWindow::fillTaskInfo()
{
    if (!curTask)
        return;
    isResponse = false;
    showCompileCmd(curTask, QStringLiteral("c"), taskUi->scCB, taskUi->scLE);
    showCompileCmd(curTask, QStringLiteral("cpp"), taskUi->scplusCB, taskUi->scplusLE);
    showCompileCmd(curTask, QStringLiteral("pas"), taskUi->spascalCB, taskUi->spascalLE);
    showCompileCmd(curTask, QStringLiteral("py"), taskUi->spythonCB, taskUi->spythonLE);
    showCompileCmd(curTask, QStringLiteral("java"), taskUi->sjavaCB, taskUi->sjavaLE);
    taskUi->basenameLE->setText(curTask->getTaskname());
    taskUi->submitCB->setCurrentIndex(curTask->getCommitType() == SOURCE ? 0 : 1);
    // Values beyond a box's range show clamped; the record keeps its own until that very box
    // is edited, because isResponse keeps these changes from reaching the record.
    taskUi->testpointnumSB->setValue(curTask->getSamplenum());
    taskUi->timelimitSB->setValue(static_cast<int>(curTask->getTimelimit()));
    taskUi->memlimitSB->setValue(curTask->getMemlimit());
    showfilter();
    fillspTB(false);
    showMissingFilter();
    isResponse = true;
}

void MainWindow::showMissingFilter()
{
    taskUi->nofilterTL->setVisible(curTask && curTask->getPlugname().isEmpty());
}

// A task's results are found by its name: renamed, the results of the old name no longer
// count. Asked whenever the name about to go has results.
bool MainWindow::confirmTaskRename(const QString &oldName)
{
    bool hasResults = false;
    for (const PlayerStat &player : mystat ? mystat->players : QMap<QString, PlayerStat>())
        hasResults = hasResults || player.tasks.contains(oldName);
    if (!hasResults)
        return true;
    const QString text = QStringLiteral("试题 %1 已有选手的评测结果, 改名后这些结果将不再计入成绩 "
                                        "(改回原名即可恢复)。确定改名?")
                             .arg(oldName);
    return QMessageBox::question(this, QStringLiteral("修改试题名称"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MainWindow::fillDayTB(CDayInfo *day)
{
    if (!day)
        return;
    QTableWidget *table = taskUi->dayTB;
    table->setRowCount(0);
    table->setRowCount(day->getTaskNum());
    for (int t = 0; t < day->getTaskNum(); ++t) {
        const CTaskInfo *task = day->getTaskInfo(t);
        table->setItem(t, 0, textCell(task->getTaskname()));
        table->setItem(t, 1, textCell(QString()));
        table->setItem(t, 2,
                       textCell(task->getCommitType() == SOURCE ? QStringLiteral("源文件")
                                                                : QStringLiteral("答案文件")));
        table->setItem(t, 3, textCell(QStringLiteral("%1").arg(task->getTotal())));
        table->setItem(t, 4, textCell(QStringLiteral("%1").arg(task->getSamplenum())));
        table->setItem(
            t, 5, textCell(QString::number(task->getTimelimit(), 'g', 6) + QStringLiteral("sec")));
        table->setItem(t, 6, textCell(task->getPlugname()));
    }
}

void MainWindow::showfilter()
{
    FilterChoice choice = readFilterName(curTask->getPlugname());
    // A checker shows as the custom choice it was made by, whatever its name.
    if (curTask->hasTestlibChecker() && !curTask->getPlugname().isEmpty()) {
        choice = FilterChoice();
        choice.method = CompareMethod::Custom;
        choice.customName = curTask->getPlugname();
    }
    const int method = static_cast<int>(choice.method);
    // The method list shows and hides the sub-choices by its change signal, which does not
    // come when the previous task had the same method.
    if (taskUi->methodCB->currentIndex() == method)
        methodChangedSlot(taskUi->methodCB->currentText());
    else
        taskUi->methodCB->setCurrentIndex(method);
    switch (choice.method) {
    case CompareMethod::String:
        taskUi->stringCB->setCurrentIndex(choice.stringEntry);
        break;
    case CompareMethod::Float:
        if (choice.precision > 0)
            taskUi->preciseSB->setValue(choice.precision);
        else
            taskUi->floatF->hide();
        Q_FALLTHROUGH();
    case CompareMethod::Integer:
        taskUi->numCB->setCurrentIndex(choice.numberEntry);
        break;
    case CompareMethod::Custom:
        taskUi->methodLE->setText(choice.customName);
        taskUi->testlibCB->setChecked(curTask->hasTestlibChecker());
        break;
    case CompareMethod::None:
        break;
    }
}

void MainWindow::fillspTB(bool keep)
{
    if (!curTask)
        return;
    QTableWidget *table = taskUi->spTB;
    table->hide();
    table->setColumnCount(0);
    const int count = qMax(0, curTask->getSamplenum());
    table->setColumnCount(count);
    int total = 0;
    bool equal = true;
    for (int i = 1; i <= count; ++i) {
        const int mark = curTask->getSampleMark(i);
        table->setItem(0, i - 1, textCell(QStringLiteral("%1").arg(mark)));
        total += mark;
        equal = equal && mark == curTask->getSampleMark(1);
    }
    if (!keep) {
        taskUi->tscSB->setValue(total);
        taskUi->aveCB->setChecked(equal);
        taskUi->tscSB->setEnabled(equal);
        table->setEnabled(!equal);
    }
    table->show();
}

void MainWindow::managewindowUi()
{
    hideFilter();
    const auto unique = Qt::UniqueConnection;
    Ui_TaskConfigPage *u = taskUi;
    connect(u->proLV, &QTreeWidget::customContextMenuRequested, this,
            &MainWindow::showMenuOnProLVSlot, unique);
    connect(ui->addDayAct, &QAction::triggered, this, &MainWindow::addDaySlot, unique);
    connect(ui->addTaskAct, &QAction::triggered, this, &MainWindow::addTaskSlot, unique);
    connect(ui->deleteAct, &QAction::triggered, this, &MainWindow::deleteSlot, unique);
    connect(u->proLV, &QTreeWidget::itemClicked, this, &MainWindow::changeInfoWSSlot, unique);
    // The form follows the current item however it became current, by the arrow keys too; a
    // click on the item that is current already comes through itemClicked.
    connect(u->proLV, &QTreeWidget::currentItemChanged, this, &MainWindow::changeInfoWSSlot,
            unique);
    connect(u->basenameLE, &QLineEdit::textChanged, this, &MainWindow::tasknameChangedSlot, unique);
    connect(u->submitCB, &QComboBox::currentTextChanged, this, &MainWindow::submitChangedSlot,
            unique);
    connect(u->tscSB, &QSpinBox::textChanged, this, &MainWindow::tscChangedSlot, unique);
    connect(u->testpointnumSB, &QSpinBox::textChanged, this, &MainWindow::testpointnumchangedSlot,
            unique);
    connect(u->spTB, &QTableWidget::cellChanged, this, &MainWindow::spTBchangedSlot, unique);
    connect(u->timelimitSB, &QSpinBox::textChanged, this, &MainWindow::timelimitChangedSlot,
            unique);
    connect(u->memlimitSB, &QSpinBox::textChanged, this, &MainWindow::memlimitChangedSlot, unique);
    connect(u->methodCB, &QComboBox::currentTextChanged, this, &MainWindow::methodChangedSlot,
            unique);
    connect(u->stringCB, &QComboBox::currentTextChanged, this, &MainWindow::stringCBChangedSlot,
            unique);
    connect(u->numCB, &QComboBox::currentTextChanged, this, &MainWindow::numCBChangedSlot, unique);
    connect(u->preciseSB, &QSpinBox::textChanged, this, &MainWindow::preciseChangeSlot, unique);
    connect(u->methodPB, &QPushButton::clicked, this, &MainWindow::selectMethodSlot, unique);
    connect(u->testlibCB, &QCheckBox::clicked, this, &MainWindow::testlibCBClicked, unique);
    connect(u->scCB, &QCheckBox::clicked, this, &MainWindow::scCBClicked, unique);
    connect(u->scLE, &QLineEdit::textChanged, this, &MainWindow::scLEChanged, unique);
    connect(u->scplusCB, &QCheckBox::clicked, this, &MainWindow::scplusCBClicked, unique);
    connect(u->scplusLE, &QLineEdit::textChanged, this, &MainWindow::scplusLEChanged, unique);
    connect(u->spascalCB, &QCheckBox::clicked, this, &MainWindow::spasCBClicked, unique);
    connect(u->spascalLE, &QLineEdit::textChanged, this, &MainWindow::spasLEChanged, unique);
    connect(u->spythonCB, &QCheckBox::clicked, this, &MainWindow::spythonCBClicked, unique);
    connect(u->spythonLE, &QLineEdit::textChanged, this, &MainWindow::spythonLEChanged, unique);
    connect(u->sjavaCB, &QCheckBox::clicked, this, &MainWindow::sjavaCBClicked, unique);
    connect(u->sjavaLE, &QLineEdit::textChanged, this, &MainWindow::sjavaLEChanged, unique);

    u->proLV->clear();
    curItem = nullptr;
    curTask = nullptr;
    for (int d = 0; d < setupinfo->getDayNum(); ++d) {
        CDayInfo *day = setupinfo->getDayInfo(d);
        auto *dayItem = new QTreeWidgetItem(u->proLV, {day->getDayname()});
        for (int t = 0; t < day->getTaskNum(); ++t)
            new QTreeWidgetItem(dayItem, {day->getTaskInfo(t)->getTaskname()});
    }
    u->infoWS->setCurrentIndex(1);
}

void MainWindow::showMenuOnProLVSlot(const QPoint &pos)
{
    QTreeWidgetItem *item = taskUi->proLV->itemAt(pos);
    QMenu menu(this);
    if (!item) {
        menu.addAction(ui->addDayAct);
    } else {
        // The item the menu acts on; as after a right click, the form stays where it is.
        const QSignalBlocker quiet(taskUi->proLV);
        taskUi->proLV->setCurrentItem(item);
        curItem = item;
        if (!item->parent())
            menu.addAction(ui->addTaskAct);
        menu.addAction(ui->deleteAct);
    }
    menu.exec(QCursor::pos());
}

void MainWindow::addDaySlot()
{
    if (!setupinfo)
        return;
    const HeldRecords held = holdRecords(setupinfo);
    const QString name = dayName(taskUi->proLV->topLevelItemCount() + 1);
    auto *day = new CDayInfo;
    day->setDayname(name);
    setupinfo->addADay(day);
    fetchRecords(setupinfo, held);
    new QTreeWidgetItem(taskUi->proLV, {name});
}

void MainWindow::addTaskSlot()
{
    if (!setupinfo || !curItem)
        return;
    CDayInfo *day = setupinfo->getDayInfo(taskUi->proLV->indexOfTopLevelItem(curItem));
    if (!day)
        return;
    const HeldRecords held = holdRecords(setupinfo);
    auto *task = new CTaskInfo;
    const QString name = task->getTaskname();
    day->addATask(task);
    fetchRecords(setupinfo, held);
    new QTreeWidgetItem(curItem, {name});
    curItem->setExpanded(true);
    fillDayTB(day);
}

void MainWindow::deleteSlot()
{
    if (!setupinfo || !curItem)
        return;
    QTreeWidget *tree = taskUi->proLV;
    HeldRecords held = holdRecords(setupinfo);
    const Position at = itemPosition(tree, curItem);
    if (at.task < 0 && !confirmDayDeletion(this, setupinfo, at.day))
        return;
    if (at.task < 0) {
        for (int k = at.day + 1; k < setupinfo->getDayNum(); ++k) {
            setupinfo->getDayInfo(k)->setDayname(dayName(k));
            tree->topLevelItem(k)->setText(0, dayName(k));
        }
        setupinfo->delADay(at.day);
        dayDeleted(&held, at.day);
    } else if (CDayInfo *day = setupinfo->getDayInfo(at.day)) {
        day->delATask(at.task);
        taskDeleted(&held, at);
    }
    {
        // The tree would make a neighbour current while the records are half updated; the
        // form is shown for the current item once they are whole again, below.
        const QSignalBlocker quiet(tree);
        delete curItem;
    }
    curItem = nullptr;
    fetchRecords(setupinfo, held);
    if (tree->topLevelItemCount() == 0)
        taskUi->infoWS->setCurrentIndex(1);
    else
        changeInfoWSSlot(tree->currentItem());
}

void MainWindow::changeInfoWSSlot(QTreeWidgetItem *item)
{
    curItem = item;
    if (QApplication::mouseButtons() & Qt::RightButton)
        return;
    const Position at = itemPosition(taskUi->proLV, item);
    if (!setupinfo || at.day < 0) {
        taskUi->infoWS->setCurrentIndex(1);
    } else if (at.task >= 0) {
        curTask = taskAt(setupinfo, at);
        fillTaskInfo();
        taskUi->infoWS->setCurrentIndex(curTask ? 0 : 1);
    } else {
        fillDayTB(setupinfo->getDayInfo(at.day));
        taskUi->infoWS->setCurrentIndex(2);
    }
}

void MainWindow::tasknameChangedSlot(const QString &text)
{
    if (!isResponse || !curTask || text.isEmpty() || !isRecordValue(text))
        return;
    if (!confirmTaskRename(curTask->getTaskname())) {
        const QSignalBlocker quiet(taskUi->basenameLE);
        taskUi->basenameLE->setText(curTask->getTaskname());
        return;
    }
    curTask->setTaskname(text);
    const Position at = positionOfTask(setupinfo, curTask);
    QTreeWidgetItem *dayItem = taskUi->proLV->topLevelItem(at.day);
    QTreeWidgetItem *taskItem = dayItem ? dayItem->child(at.task) : nullptr;
    if (taskItem)
        taskItem->setText(0, text);
}

void MainWindow::submitChangedSlot(const QString &text)
{
    if (!isResponse || !curTask)
        return;
    if (text == QStringLiteral("源文件"))
        curTask->setCommitType(SOURCE);
    else if (text == QStringLiteral("答案文件"))
        curTask->setCommitType(ANSWERS);
}

void MainWindow::tscChangedSlot(const QString &text)
{
    const int count = curTask ? curTask->getSamplenum() : 0;
    if (!isResponse || count <= 0)
        return;
    isResponse = false;
    const int mark = text.toInt() / count;
    for (int i = 1; i <= count; ++i) {
        curTask->setSampleMark(i, mark);
        taskUi->spTB->setItem(0, i - 1, textCell(QStringLiteral("%1").arg(mark)));
    }
    isResponse = true;
}

void MainWindow::testpointnumchangedSlot(const QString &text)
{
    const int count = text.toInt();
    if (!isResponse || !curTask || count <= 0)
        return;
    isResponse = false;
    for (int i = 1; i <= count; ++i)
        curTask->setSampleMark(i, taskUi->tscSB->value() / count);
    curTask->setSamplenum(count);
    fillspTB(true);
    isResponse = true;
}

void MainWindow::spTBchangedSlot(int row, int column)
{
    QTableWidgetItem *cell = taskUi->spTB->item(row, column);
    if (!isResponse || !curTask || !cell)
        return;
    isResponse = false;
    curTask->setSampleMark(column + 1, cell->text().toInt());
    // The cell shows what the record holds, so a refused negative mark does not linger.
    cell->setText(QStringLiteral("%1").arg(curTask->getSampleMark(column + 1)));
    taskUi->tscSB->setValue(curTask->getTotal());
    isResponse = true;
}

void MainWindow::timelimitChangedSlot(const QString &text)
{
    bool ok = false;
    const float seconds = text.toFloat(&ok);
    if (isResponse && curTask && ok)
        curTask->setTimelimit(seconds);
}

void MainWindow::memlimitChangedSlot(const QString &text)
{
    bool ok = false;
    const int megabytes = text.toInt(&ok);
    if (isResponse && curTask && ok)
        curTask->setMemlimit(megabytes);
}

void MainWindow::methodChangedSlot(const QString &)
{
    hideFilter();
    switch (static_cast<CompareMethod>(taskUi->methodCB->currentIndex())) {
    case CompareMethod::String:
        taskUi->stringCB->show();
        break;
    case CompareMethod::Float:
        taskUi->floatF->show();
        Q_FALLTHROUGH();
    case CompareMethod::Integer:
        taskUi->numCB->show();
        break;
    case CompareMethod::Custom:
        taskUi->customF->show();
        break;
    case CompareMethod::None:
        break;
    }
    // A new method has no sub-choice yet, whatever the sub-choice lists showed before.
    if (isResponse && curTask) {
        curTask->setPlugname(QString());
        curTask->setChecker(QString());
    }
    showMissingFilter();
}

void MainWindow::stringCBChangedSlot(const QString &)
{
    if (!isResponse || !curTask)
        return;
    FilterChoice choice;
    choice.method = CompareMethod::String;
    choice.stringEntry = taskUi->stringCB->currentIndex();
    curTask->setPlugname(composeFilterName(choice));
    showMissingFilter();
}

void MainWindow::numCBChangedSlot(const QString &)
{
    if (!isResponse || !curTask)
        return;
    FilterChoice choice;
    choice.method = taskUi->methodCB->currentIndex() == static_cast<int>(CompareMethod::Integer)
                        ? CompareMethod::Integer
                        : CompareMethod::Float;
    choice.numberEntry = taskUi->numCB->currentIndex();
    choice.precision = taskUi->preciseSB->value();
    curTask->setPlugname(composeFilterName(choice));
    showMissingFilter();
}

void MainWindow::preciseChangeSlot(const QString &text)
{
    if (isResponse && curTask && taskUi->numCB->currentIndex() > 0)
        curTask->setPlugname(withPrecision(curTask->getPlugname(), text));
}

void MainWindow::selectMethodSlot()
{
    if (!curTask)
        return;
    const QString path =
        FileDialogs::getOpenFileName(this, QStringLiteral("Choose a file"),
                                     FileDialogs::startDirectory(), QStringLiteral("Filters (*)"));
    if (path.isEmpty())
        return;
    // Archives call every checker "checker": in the contest each task's has a name of its own.
    const bool testlib = taskUi->testlibCB->isChecked();
    const QString name =
        testlib ? curTask->getTaskname() + QStringLiteral("_checker") : QFileInfo(path).fileName();
    QTemporaryDir build;
    QString program = path;
    if (testlib && path.endsWith(QLatin1String(".cpp"))) {
        program = build.filePath(name);
        if (!build.isValid() || !compileChecker(this, curTask, path, program))
            return;
    }
    if (!placeFilterInContest(this, setupinfo->getHome(), program, name))
        return;
    curTask->setPlugname(name);
    taskUi->methodLE->setText(name);
    showMissingFilter();
}

void MainWindow::testlibCBClicked(bool checked)
{
    if (isResponse && curTask)
        curTask->setChecker(checked ? TestlibChecker : QString());
}

void MainWindow::scCBClicked(bool checked)
{
    switchLanguage(QStringLiteral("c"), C_CL, checked, taskUi->scLE);
}

void MainWindow::scLEChanged(const QString &text)
{
    editCompileOptions(QStringLiteral("c"), text);
}

void MainWindow::scplusCBClicked(bool checked)
{
    switchLanguage(QStringLiteral("cpp"), CPLUS_CL, checked, taskUi->scplusLE);
}

void MainWindow::scplusLEChanged(const QString &text)
{
    editCompileOptions(QStringLiteral("cpp"), text);
}

void MainWindow::spasCBClicked(bool checked)
{
    switchLanguage(QStringLiteral("pas"), PAS_CL, checked, taskUi->spascalLE);
}

void MainWindow::spasLEChanged(const QString &text)
{
    editCompileOptions(QStringLiteral("pas"), text);
}

void MainWindow::spythonCBClicked(bool checked)
{
    switchLanguage(QStringLiteral("py"), PY_CL, checked, taskUi->spythonLE);
}

void MainWindow::spythonLEChanged(const QString &text)
{
    editCompileOptions(QStringLiteral("py"), text);
}

void MainWindow::sjavaCBClicked(bool checked)
{
    switchLanguage(QStringLiteral("java"), JAVA_CL, checked, taskUi->sjavaLE);
}

void MainWindow::sjavaLEChanged(const QString &text)
{
    editCompileOptions(QStringLiteral("java"), text);
}
