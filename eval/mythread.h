#ifndef TALDON_EVAL_MYTHREAD_H
#define TALDON_EVAL_MYTHREAD_H

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
// emitted.
class MyThread : public QThread
{
    Q_OBJECT

public:
    MyThread(CDayInfo *day, int dayNumber, int taskIndex);

    // Refuses to evaluate when the full sandbox is not available, instead of running the
    // submissions with the plain protections.
    void setRequireSandbox(bool require);

    bool gotoDir();
    void evalPlayer(QString id, int r, bool *success);

signals:
    void startEvalPlayer(int r);
    void endEvalPlayer(int r, bool success);
    void evalComplete(bool success);
    void evalOneTaskComplete(QString id, int r, int taskidx, bool success);
    void evalFailed(QString reason);

protected:
    void run() override;

private:
    bool enterSandbox(Sandbox *sandbox);
    void leaveSandbox(Sandbox *sandbox);
    bool prepareResultDir(const QByteArray &id, QByteArray *resultFile);
    bool evalTask(int index, const QByteArray &id, int r, const QByteArray &resultFile,
                  bool *opened);
    // Copies the player's files of the task in and evaluates them: 1 when the task's block was
    // written, 0 when the task was refused, TASK_FAILED when its block records a failed
    // evaluation, -1 when its submit type is neither kind.
    int evalSubmission(CTaskInfo *task, const QByteArray &id, FILE *result);

    CDayInfo *day;
    int dayNumber;
    int taskIndex;
    bool requireSandbox = false;
    QString failure;
};

#endif
