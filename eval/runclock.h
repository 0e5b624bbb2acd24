#ifndef TALDON_EVAL_RUNCLOCK_H
#define TALDON_EVAL_RUNCLOCK_H

#include <sys/types.h>

// The user CPU time of every process of a sandboxed run while it runs: the run's init and all
// its descendants, found in /proc, each with the time of the children it has reaped. The init
// is PID 1 of the run's namespace, so every orphan of the run becomes its child and nothing
// that ran is left out. Only world-readable fields are used, so a process of the run cannot
// hide by making itself unreadable.
class RunClock
{
public:
    void attach(pid_t init) { root = init; }
    // Seconds of user CPU time used so far by all processes of the run.
    double userSeconds() const;

private:
    pid_t root = 0;
};

#endif
