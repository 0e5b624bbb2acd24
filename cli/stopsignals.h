#ifndef TALDON_CLI_STOPSIGNALS_H
#define TALDON_CLI_STOPSIGNALS_H

#include <csignal>

// While it lives, SIGINT and SIGTERM stop the evaluation as closing the window does: the run in
// progress is killed, the player's block is completed and nobody else is evaluated. Each signal
// also writes a byte to notifier(), for an event loop that must act on it.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // False when a handler or the pipe could not be set up; the evaluation then runs without.
    bool installed() const { return ok; }
    bool requested() const;
    int notifier() const { return pipeFds[0]; }

private:
    struct sigaction oldInt = {}, oldTerm = {};
    int pipeFds[2] = {-1, -1};
    bool ok = false;
};

#endif
