#include "childsetup.h"
#include "fileops.h"
#include "runctrl.h"
#include "sandbox.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// The environment of every compilation and run: fixed, never the judge's; PATH comes first.
const char *const kEnvironment[] = {"PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8",
                                    "HOME=/box", nullptr};

// A fork without the C library's fork handlers, for the children of a threaded program.
pid_t rawClone(unsigned long flags)
{
    return pid_t(syscall(SYS_clone, flags | SIGCHLD, nullptr, nullptr, nullptr, nullptr));
}

// The run's own /tmp, /dev/shm and /proc on the prepared root, which entering the holder's
// mount namespace has made the root.
bool enterRoot()
{
    const unsigned long quiet = MS_NOSUID | MS_NODEV;
    char options[64];
    snprintf(options, sizeof options, "size=%lld,mode=1777", kRunTmpBytes);
    return mount("tmpfs", "/tmp", "tmpfs", quiet, options) == 0 &&
           mount("tmpfs", "/dev/shm", "tmpfs", quiet, options) == 0 &&
           mount("proc", "/proc", "proc", quiet | MS_NOEXEC, nullptr) == 0 && chdir("/box") == 0;
}

bool dropCapabilities()
{
    for (int cap = 0; cap <= 63; ++cap)
        if (prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0 && errno != EINVAL)
            return false;
    return true;
}

bool clearCapabilities()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    return prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) == 0 &&
           syscall(SYS_capset, &header, data) == 0 && prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0;
}

} // namespace

std::vector<const char *> Sandbox::environment(const QByteArrayList &extra)
{
    std::vector<const char *> all(std::begin(kEnvironment), std::end(kEnvironment) - 1);
    for (const QByteArray &variable : extra)
        all.push_back(variable.constData());
    all.push_back(nullptr);
    return all;
}

QByteArrayList Sandbox::searchPath()
{
    return QByteArray(kEnvironment[0]).mid(int(strlen("PATH="))).split(':');
}

pid_t Sandbox::spawn(const Command &command, int reportRead, int reportWrite, int statusWrite) const
{
    fflush(nullptr);
    // The entering child shares the judge's memory until it ends, a moment later: only the run's
    // init needs a copy of it, and copying a large judge twice per run was the run's main cost.
    const pid_t entry = vfork();
    if (entry == 0) {
        close(reportRead);
        const int types[] = {CLONE_NEWUSER, CLONE_NEWNS, CLONE_NEWNET, CLONE_NEWIPC, CLONE_NEWUTS};
        // The user namespace first: it is what gives the rights to enter the others.
        for (int i = 0; i < 5; ++i)
            if (nsFd[i] >= 0 && setns(nsFd[i], types[i]) != 0)
                failChild(reportWrite, StepNamespaces, kChildFault);
        // The run's init becomes the judge's own child, so that the judge waits for it directly.
        const pid_t init = rawClone(CLONE_PARENT | CLONE_NEWPID | CLONE_NEWNS);
        if (init == 0)
            runInit(command, reportWrite, statusWrite);
        if (init < 0)
            failChild(reportWrite, StepClone, kChildFault);
        _exit(reportPid(reportWrite, init) ? 0 : kChildFault);
    }
    if (entry < 0) {
        perror("sandbox: fork");
        return -1;
    }
    while (waitpid(entry, nullptr, 0) < 0 && errno == EINTR) {
    }
    ChildReport report{};
    ssize_t n;
    do
        n = read(reportRead, &report, sizeof report);
    while (n < 0 && errno == EINTR);
    if (n == ssize_t(sizeof report) && report.kind == ReportPid)
        return report.pid;
    if (n == ssize_t(sizeof report))
        fprintf(stderr, "sandbox: %s failed: %s\n", childStepName(report.step),
                strerror(report.error));
    else
        fputs("sandbox: the run could not be started\n", stderr);
    return -1;
}

Sandbox::Launched Sandbox::launch(const Command &command) const
{
    Launched run;
    int report[2], status[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        perror("sandbox: pipe2");
        return run;
    }
    if (pipe2(status, O_CLOEXEC) != 0) {
        perror("sandbox: pipe2");
        close(report[0]);
        close(report[1]);
        return run;
    }
    run.init = spawn(command, report[0], report[1], status[1]);
    close(report[1]);
    close(status[1]);
    run.reports = report[0];
    run.status = status[0];
    return run;
}

bool Sandbox::readFailure(int reports, ChildReport *failure)
{
    ssize_t n;
    do
        n = read(reports, failure, sizeof *failure);
    while (n < 0 && errno == EINTR);
    return n == ssize_t(sizeof *failure);
}

void Sandbox::runInit(const Command &command, int reportfd, int statusfd) const
{
    // A session of its own: no terminal, and no signal of the judge's group reaches it.
    if (setsid() < 0)
        failChild(reportfd, StepGroup, kChildFault);
    if (prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0) != 0)
        failChild(reportfd, StepInit, kChildFault);
    if (!enterRoot())
        failChild(reportfd, StepRoot, kChildFault);
    // The program shares the init's user id when the judge is not root: it must not trace it
    // or read its memory.
    if (prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) != 0)
        failChild(reportfd, StepInit, kChildFault);
    // The program shares the init's memory until its exec, for the same reason.
    const pid_t program = vfork();
    if (program == 0) {
        close(statusfd);
        runProgram(command, reportfd);
    }
    if (program < 0)
        failChild(reportfd, StepClone, kChildFault);
    close(reportfd);
    RunStatus result{0, 0};
    bool ended = false;
    for (;;) {
        int status;
        const pid_t reaped = waitpid(-1, &status, 0);
        if (reaped < 0 && errno == EINTR)
            continue;
        if (reaped < 0)
            break;
        if (reaped == program) {
            result.status = status;
            ended = true;
        }
        // The program's end is the run's end: whatever it left behind is killed and reaped too,
        // again after every reap in case something was forked as the first kill went out.
        if (ended)
            kill(-1, SIGKILL);
    }
    struct rusage usage;
    if (getrusage(RUSAGE_CHILDREN, &usage) == 0)
        result.userTime = usage.ru_utime.tv_sec * 1000000LL + usage.ru_utime.tv_usec;
    _exit(writeAll(statusfd, &result, sizeof result) ? 0 : kChildFault);
}

void Sandbox::runProgram(const Command &command, int reportfd) const
{
    if (command.output >= 0 && (dup2(command.output, 1) != 1 || dup2(command.output, 2) != 2))
        failChild(reportfd, StepStdout, kChildFault);
    if (command.errors >= 0 && dup2(command.errors, 2) != 2)
        failChild(reportfd, StepStdout, kChildFault);
    const int report = closeOtherDescriptors(reportfd);
    if (report < 0)
        failChild(reportfd, StepDescriptors, kChildFault);
    if (!resetSignals())
        failChild(report, StepSignals, kChildFault);
    if (command.memlimit > 0)
        limitAddressSpace(command.memlimit);
    else if (command.addressSpace > 0 && !capLimit(RLIMIT_AS, command.addressSpace))
        failChild(report, StepLimits, kChildFault);
    if (!capLimit(RLIMIT_FSIZE, rlim_t(kSubmissionFileLimit)) || !capLimit(RLIMIT_CORE, 0) ||
        !capLimit(RLIMIT_NPROC, rlim_t(kSubmissionProcessLimit)))
        failChild(report, StepLimits, kChildFault);
    if (!reopenOnDevNull(0, O_RDONLY))
        failChild(report, StepStdin, 1);
    if (command.output < 0 &&
        (!reopenOnDevNull(1, O_WRONLY) || (command.errors < 0 && !reopenOnDevNull(2, O_WRONLY))))
        failChild(report, StepStdout, 2);
    if (!dropCapabilities() || !dropPrivileges() || !clearCapabilities())
        failChild(report, StepPrivileges, kChildFault);
    if (!filter.install())
        failChild(report, StepFilter, kChildFault);
    const char *const *environment = command.environment ? command.environment : kEnvironment;
    execve(command.argv[0], const_cast<char *const *>(command.argv),
           const_cast<char *const *>(environment));
    failChild(report, StepExec, 255);
}
