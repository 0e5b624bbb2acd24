#include "stopsignals.h"

#include "runctrl.h"
#include "taskeval.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace
{

volatile sig_atomic_t g_signalled = 0;
int g_notifyFd = -1;

void onStopSignal(int)
{
    const int saved = errno;
    g_signalled = 1;
    setEvaluationStopRequested(true);
    stopCurrentRun();
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = write(g_notifyFd, &byte, 1);
    errno = saved;
}

} // namespace

StopSignals::StopSignals()
{
    g_signalled = 0;
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        perror("eval: pipe for the stop signals");
        return;
    }
    g_notifyFd = pipeFds[1];
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    if (sigemptyset(&action.sa_mask) != 0 || sigaction(SIGINT, &action, &oldInt) != 0 ||
        sigaction(SIGTERM, &action, &oldTerm) != 0) {
        perror("eval: handling SIGINT and SIGTERM");
        return;
    }
    ok = true;
}

StopSignals::~StopSignals()
{
    if (sigaction(SIGINT, &oldInt, nullptr) != 0 || sigaction(SIGTERM, &oldTerm, nullptr) != 0)
        perror("eval: restoring the handlers of SIGINT and SIGTERM");
    g_notifyFd = -1;
    for (int fd : pipeFds)
        if (fd >= 0 && close(fd) != 0)
            perror("eval: closing the stop signals' pipe");
}

bool StopSignals::requested() const
{
    return g_signalled != 0;
}
