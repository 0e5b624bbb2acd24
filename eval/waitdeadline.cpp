#include "waitdeadline.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

using Clock = std::chrono::steady_clock;

// Without process descriptors (kernels before 5.3): poll the child with growing pauses.
bool pollUntil(pid_t pid, Clock::time_point deadline, int *status)
{
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const pid_t done = waitpid(pid, status, WNOHANG);
        if (done == pid)
            return true;
        if (done < 0 && errno != EINTR) {
            perror("waitpid");
            return false;
        }
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

} // namespace

bool waitWithDeadline(pid_t pid, double seconds, int *status)
{
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    const int fd = int(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0)
        return pollUntil(pid, deadline, status);
    bool ended = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd, POLLIN, 0};
        const int n = poll(&p, 1, int(std::max<long long>(0, left.count())));
        if (n < 0 && errno == EINTR)
            continue;
        ended = n > 0;
        break;
    }
    close(fd);
    if (!ended)
        return false;
    pid_t done;
    do
        done = waitpid(pid, status, 0);
    while (done < 0 && errno == EINTR);
    return done == pid;
}

void killAndReapGroup(pid_t pid)
{
    if (kill(-pid, SIGKILL) != 0 && kill(pid, SIGKILL) != 0)
        perror("kill");
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}
