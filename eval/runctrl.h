#ifndef RUNCTRL_H
#define RUNCTRL_H

#include <QByteArray>
#include <QByteArrayList>

#include <sys/resource.h>
#include <sys/types.h>

// Runs one compiled submission once under the task's limits and classifies how it ended.
//
// The submission runs in its own process group with standard input and output on /dev/null,
// nothing but descriptors 0, 1 and 2 open, an address-space limit, a bound on the size of the
// files it writes, no core files and, when the judge may change ids, the fixed unprivileged ids
// below. Its user CPU time is sampled by a stop-and-check cycle driven by the interval timer;
// the whole process group is killed when the run ends, whatever the outcome.

// Ids a submission runs under when the judge is privileged to change ids.
constexpr uid_t kSubmissionUid = 60000;
constexpr gid_t kSubmissionGid = 2000;

// The uid this process runs submissions under: kSubmissionUid, or kSubmissionUid + k for the
// k-th worker of a parallel evaluation, so that one player's processes never count against
// another's process limit.
uid_t submissionUid();
void setSubmissionUid(uid_t uid);

// The largest file a submission may write (RLIMIT_FSIZE): far above the output of any sane
// solution, small enough that a program writing in an endless loop cannot fill the disk.
constexpr long long kSubmissionFileLimit = 256LL << 20;

// The most processes the submission user may have (RLIMIT_NPROC), set when the judge switches
// ids: enough for a program that forks a few helpers, too few for a fork bomb to starve the
// machine. An unprivileged judge cannot set it, since the count would include its own processes.
constexpr long long kSubmissionProcessLimit = 64;

// A run that has not ended after this wall-clock time is a time out, so that a program that
// sleeps or blocks cannot hold the evaluation forever: twice the limit plus one second.
double wallClockBound(float timelimit);

// Outcome codes of runUnderCtrl.
enum RunOutcome {
    RunEnded = 0,
    RunTimeOut = -103,
    RunNotStarted = -106,
    RunSegfault = -108,
};

// How runPlanUnderCtrl starts a program.
struct RunPlan {
    QByteArrayList argv;        // argv[0]: a path; without '/', a file of the working directory
    QByteArrayList environment; // variables added to the environment the run gets
    int memlimit = 0;           // MB as RLIMIT_AS, with its diagnostics; 0 or less: none
    rlim_t addressSpace = 0;    // when memlimit is not set, a bound in bytes; 0: none
    // argv[0] is an interpreter of the judge's: a run it cannot start is the judge's fault
    // (RunNotStarted, the message naming it), not a normal end judged by the filter.
    bool interpreter = false;
    // Tells from the wait status of a normal end and the last bytes the run wrote to standard
    // error whether it ran out of memory (RunSegfault); null: standard error is not kept.
    bool (*ranOutOfMemory)(int status, const QByteArray &errors) = nullptr;
};

// Runs the program of `plan` under the limits as runUnderCtrl does.
int runPlanUnderCtrl(const RunPlan &plan, float timelimit, float *usedtime, char *msg, int *score);

// Runs the executable `program` (a path; the engine passes the bare task name, run in the
// current directory). `timelimit` is in seconds of user CPU time, `memlimit` in megabytes
// (0 or less: no address-space limit). Stores the user CPU seconds of the run (the child and
// the descendants it has reaped) in *usedtime. For the bad outcomes writes the message into
// `msg` (at least 1024 bytes) and sets *score to 0; after a normal end leaves both alone.
// Returns a RunOutcome code.
int runUnderCtrl(char *program, float timelimit, int memlimit, float *usedtime, char *msg,
                 int *score);

// Arms the real-time interval timer: first expiry after `seconds` + 0.1 s, then every 0.5 s.
void set_ticker(int seconds);

// SIGALRM handler: stops the process group of the run in progress, if any.
void sig_evaluate(int signo);

// SIGCHLD handler: does nothing; SIGCHLD is caught rather than left at its old disposition.
void sig_child(int signo);

// The wait status word of the last run that ended (the standard wait status encoding).
int lastExitStatus();

// Kills the process group of the run in progress, if any, with SIGKILL: the run then ends as
// if its program had been killed. Safe to call from any thread and from a signal handler.
void stopCurrentRun();

#endif // RUNCTRL_H
