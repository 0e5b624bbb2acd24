#ifndef TALDON_EVAL_MYTHREAD_H
#define TALDON_EVAL_MYTHREAD_H

#include "workdirlock.h"

#include <QByteArray>
#include <QString>
#include <QThread>

#include <cstdio>

class CDayInfo;
class CTaskInfo;
class Sandbox;

// Evaluates the players of `evallist` on one day, all tasks or one, in <home>/tmp, appending to
// each player's result file <home>/result/day<d>/<id>/<id>.result. Progress is reported by
// signals; when the evaluation cannot start at all, evalFailed says why and nothing else is
// emitted. A player's success is false when a task of theirs could not be evaluated (refused,
// or written as a failed evaluation); evalProblem says why when the result file cannot.
class MyThread : public QThread
{
    Q_OBJECT

public:
    MyThread(CDayInfo *day, int dayNumber, int taskIndex);

    // Refuses to evaluate when the full sandbox is not available, instead of running the
    // submissions with the plain protections.
    void setRequireSandbox(bool require);

    // The working directory: <home>/tmp unless set (a worker's own, or a machine's local disk).
    void setWorkDir(const QByteArray &dir);
    // Waits for another evaluation to leave the working directory instead of refusing.
    void setWaitForLock(bool wait);

    bool gotoDir();
    void evalPlayer(QString id, int r, bool *success);
    // Stops the evaluation: the run in progress is killed with all its processes, the block
    // under way is ended with its trailer, and no other task or player is begun.
    void requestStop();

signals:
    void startEvalPlayer(int r);
    void endEvalPlayer(int r, bool success);
    void evalComplete(bool success);
    void evalOneTaskComplete(QString id, int r, int taskidx, bool success);
    void evalFailed(QString reason);
    // A player, or one task of theirs (task empty for the player), could not be evaluated for a
    // reason that the result file does not hold.
    void evalProblem(int r, QString task, QString reason);

protected:
    void run() override;

private:
    QByteArray workingDirectory() const;
    bool lockWorkDir();
    bool enterSandbox(Sandbox *sandbox);
    void leaveSandbox(Sandbox *sandbox);
    bool prepareResultDir(const QByteArray &id, QByteArray *resultFile);
    bool evalTask(int index, const QByteArray &id, int r, const QByteArray &resultFile,
                  bool *opened);
    // Copies the player's files of the task in and evaluates them: 1 when the task's block was
    // written (*failed set when it records a failed evaluation), 0 when the task was refused
    // (why in *refusal), -1 when its submit type is neither kind.
    int evalSubmission(CTaskInfo *task, const QByteArray &id, FILE *result, bool *failed,
                       QByteArray *refusal);

    CDayInfo *day;
    int dayNumber;
    int taskIndex;
    bool requireSandbox = false;
    bool waitForLock = false;
    QByteArray workDir;
    WorkDirLock lock;
    QString failure;
};

#endif
