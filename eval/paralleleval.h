#ifndef TALDON_EVAL_PARALLELEVAL_H
#define TALDON_EVAL_PARALLELEVAL_H

#include "evallist.h"
#include "workdirlock.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QProcess;

// Evaluates players on several cores at once. The engine's state belongs to the whole process
// (the timer, the run in progress, the working directory), so each worker is a process of its
// own: the command-line program's `eval --worker K`, with its working directory <dir>/job<K>,
// its own sandbox and the submission uid 60000 + K, pinned to a core of its own when there are
// enough. Players are handed out one at a time to whichever worker is free, and the workers'
// reports arrive as the evaluation thread's signals do.
class ParallelEval : public QObject
{
    Q_OBJECT

public:
    struct Request {
        QString program; // the command-line program that runs the workers
        QString contest; // the contest's home or setup.cfg, as saved
        QString home;    // the contest's home, for the default working directory
        int day = 0;     // from 1
        QString task;    // one task's name, or empty for all tasks of the day
        QList<_evaldata> players;
        int jobs = 2;
        bool requireSandbox = false;
        bool waitForLock = false;
        QString workDir; // the directory that holds the workers' own; empty: <home>/tmp
    };

    explicit ParallelEval(QObject *parent = nullptr);
    ~ParallelEval() override;

    // Takes the working directory's lock and starts the workers; false with the reason when
    // the directory is in use or no worker could start.
    bool start(const Request &request, QString *reason);
    bool isRunning() const { return running > 0; }
    // Hands out no more players and asks each worker to stop as closing the window stops an
    // evaluation, then waits for them: their players' blocks are completed.
    void stop();

    // The command-line program beside `applicationDir` (installed together, or in the build
    // tree), or the one TALDON_CLI names.
    static QString findProgram(const QString &applicationDir);
    // How many players a machine with `cores` cores may evaluate at once.
    static int maxJobs();

signals:
    void startEvalPlayer(int r);
    void evalOneTaskComplete(QString id, int r, int taskidx, bool success);
    void endEvalPlayer(int r, bool success);
    void evalFailed(QString reason);
    void evalProblem(int r, QString task, QString reason);
    void finished();

private:
    void readWorker(int k);
    void feedWorker(int k);
    void workerEnded();
    int rowOf(const QString &id) const;

    Request request;
    QList<QProcess *> workers;
    QList<QByteArray> pending;
    int next = 0;
    int running = 0;
    bool failed = false;
    bool stopping = false;
    WorkDirLock lock;
};

#endif
