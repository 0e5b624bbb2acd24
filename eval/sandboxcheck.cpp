#include "childsetup.h"
#include "runctrl.h"
#include "sandbox.h"
#include "waitdeadline.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// Runs a shell that exits 0 in the sandbox; true when it did.
bool probeRun(const Sandbox &sandbox, QString *reason)
{
    int report[2], status[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    if (pipe2(status, O_CLOEXEC) != 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    const char *argv[] = {"/bin/sh", "-c", "exit 0", nullptr};
    const Sandbox::Command command{argv, 0, kCompileAddressSpace, -1};
    const pid_t init = sandbox.spawn(command, report[0], report[1], status[1]);
    close(report[1]);
    close(status[1]);
    ChildReport failure{};
    ssize_t n = 0;
    while (init > 0 && (n = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    int initStatus = 0;
    if (init > 0 && !waitWithDeadline(init, 10, &initStatus))
        killAndReapGroup(init);
    RunStatus run{-1, 0};
    const bool reported = init > 0 && read(status[0], &run, sizeof run) == ssize_t(sizeof run);
    close(report[0]);
    close(status[0]);
    if (n == ssize_t(sizeof failure))
        *reason = QStringLiteral("%1: %2").arg(QLatin1String(childStepName(failure.step)),
                                               QString::fromLocal8Bit(strerror(failure.error)));
    else if (!reported || !WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0)
        *reason = QStringLiteral("the test run did not end normally");
    return reason->isEmpty();
}

} // namespace

bool Sandbox::check(QStringList *lines)
{
    Sandbox sandbox;
    QString reason;
    const bool full = sandbox.start(&reason) && probeRun(sandbox, &reason);
    const QString yes = QStringLiteral("yes"), no = QStringLiteral("no");
    const QString ids = geteuid() == 0 ? QStringLiteral("uid %1, gid %2 (the judge is root)")
                                             .arg(submissionUid())
                                             .arg(kSubmissionGid)
                                       : QStringLiteral("a user namespace of the judge's user");
    *lines << QStringLiteral("sandbox: %1").arg(full ? QStringLiteral("complete") : reason)
           << QStringLiteral("submissions run as: %1")
                  .arg(full || geteuid() == 0 ? ids : QStringLiteral("the judge's own user"))
           << QStringLiteral("own session, PID and mount namespaces per run: %1")
                  .arg(full ? yes : QStringLiteral("own session only"))
           << QStringLiteral("network (loopback, down), IPC and UTS namespaces: %1")
                  .arg(full ? yes : no)
           << QStringLiteral("private root, contest hidden, size-bounded box, /tmp, /dev/shm: %1")
                  .arg(full ? yes : no)
           << QStringLiteral("system call filter, no new privileges, no capabilities: %1")
                  .arg(full ? yes : no)
           << QStringLiteral("every process counted and killed at the end of a run: %1")
                  .arg(full ? yes : QStringLiteral("process group only"))
           << QStringLiteral("limits on memory, file size, core files%1: yes")
                  .arg(full || geteuid() == 0 ? QStringLiteral(", processes") : QString());
    return full;
}
