#ifndef TALDON_EVAL_WAITDEADLINE_H
#define TALDON_EVAL_WAITDEADLINE_H

#include <sys/types.h>

// Waits for the child `pid` to end for at most `seconds` of wall-clock time and reaps it,
// storing its wait status. Returns false when it is still running at the deadline (it is left
// as it is, for the caller to kill) or cannot be waited for. The wait sleeps on a process
// descriptor, so a child that ends at once costs no polling delay.
bool waitWithDeadline(pid_t pid, double seconds, int *status);

// Kills the process group `pid` leads, and the process itself, then reaps it.
void killAndReapGroup(pid_t pid);

#endif
