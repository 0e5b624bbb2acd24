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
    const char *argv[] = {"/bin/sh", "-c", "exit 0", nullptr};
    const Sandbox::Launched run = sandbox.launch({argv, 0, kCompileAddressSpace, -1});
    ChildReport failure{};
    const bool failed = run.init > 0 && Sandbox::readFailure(run.reports, &failure);
    int initStatus = 0;
    if (run.init > 0 && !waitWithDeadline(run.init, 10, &initStatus))
        killAndReapGroup(run.init);
    RunStatus status{-1, 0};
    const bool reported =
        run.init > 0 && read(run.status, &status, sizeof status) == ssize_t(sizeof status);
    for (int fd : {run.reports, run.status})
        if (fd >= 0)
            close(fd);
    if (failed)
        *reason = QStringLiteral("%1: %2").arg(QLatin1String(childStepName(failure.step)),
                                               QString::fromLocal8Bit(strerror(failure.error)));
    else if (!reported || !WIFEXITED(status.status) || WEXITSTATUS(status.status) != 0)
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
