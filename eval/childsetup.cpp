#include "childsetup.h"

#include "fileops.h"
#include "runctrl.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

namespace
{

const char *const kStepNames[] = {
    "setsid", "closing descriptors", "signal reset", "setrlimit",          "stdin",
    "stdout", "id switch",           "execve",       "namespaces",         "clone",
    "mounts", "private root",        "privileges",   "system call filter", "init of the run"};

bool closeRange(unsigned first, unsigned last)
{
    if (first > last || close_range(first, last, 0) == 0)
        return true;
    // Older kernels and some container filters lack close_range: close one by one.
    if (errno != ENOSYS && errno != EPERM)
        return false;
    struct rlimit files;
    if (getrlimit(RLIMIT_NOFILE, &files) != 0)
        return false;
    const unsigned end = unsigned(std::min<rlim_t>(last, files.rlim_cur));
    for (unsigned fd = first; fd <= end; ++fd)
        if (close(int(fd)) != 0 && errno != EBADF)
            return false;
    return true;
}

} // namespace

const char *childStepName(int step)
{
    const int count = int(sizeof kStepNames / sizeof *kStepNames);
    return step >= 0 && step < count ? kStepNames[step] : "unknown step";
}

// The child of a threaded program may only use async-signal-safe calls, so it formats into a
// buffer and writes instead of using stdio.
void printErr(const char *format, long value)
{
    char line[96];
    const int n = snprintf(line, sizeof line, format, value);
    if (n > 0)
        writeAll(2, line, std::min(size_t(n), sizeof line - 1));
}

void writeErr(const char *text)
{
    writeAll(2, text, strlen(text));
}

void failChild(int reportfd, int step, int status)
{
    const ChildReport report{ReportFailure, step, errno, 0};
    writeAll(reportfd, &report, sizeof report);
    _exit(status);
}

bool reportPid(int reportfd, pid_t pid)
{
    const ChildReport report{ReportPid, 0, 0, pid};
    return writeAll(reportfd, &report, sizeof report);
}

int closeOtherDescriptors(int reportfd)
{
    if (reportfd < 3) {
        reportfd = fcntl(reportfd, F_DUPFD_CLOEXEC, 3);
        if (reportfd < 0)
            return -1;
    }
    if (!closeRange(3, unsigned(reportfd) - 1) || !closeRange(unsigned(reportfd) + 1, ~0U))
        return -1;
    return reportfd;
}

bool resetSignals()
{
    struct sigaction dfl;
    memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sig == SIGKILL || sig == SIGSTOP)
            continue;
        if (sigaction(sig, &dfl, nullptr) != 0 && errno != EINVAL)
            return false;
    }
    sigset_t none;
    sigemptyset(&none);
    return sigprocmask(SIG_SETMASK, &none, nullptr) == 0;
}

void limitAddressSpace(int memlimit)
{
    printErr("memlimit = %ldMB\n", memlimit);
    struct rlimit old;
    if (getrlimit(RLIMIT_AS, &old) != 0)
        return;
    // The hard limit equals the soft one, so that the submission cannot raise it again.
    const rlim_t bytes = rlim_t(memlimit) << 20;
    struct rlimit limit = {bytes, bytes};
    printErr("RLIM_INFINITY = %ld\n", long(RLIM_INFINITY));
    printErr("RLIM_INFINITY = %ld\n", long(limit.rlim_cur));
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        writeErr("Failed\n");
        // Only a privileged judge may go above the inherited hard limit; that one is the
        // tightest limit left.
        limit.rlim_cur = limit.rlim_max = old.rlim_max;
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            writeErr("Failed\n");
        return;
    }
    if (getrlimit(RLIMIT_AS, &limit) == 0)
        printErr("rlim_new.rlim_cur = %ld\n", long(limit.rlim_cur));
}

bool capLimit(int resource, rlim_t value)
{
    struct rlimit limit;
    if (getrlimit(resource, &limit) != 0)
        return false;
    limit.rlim_cur = limit.rlim_max = std::min(value, limit.rlim_max);
    return setrlimit(resource, &limit) == 0;
}

bool reopenOnDevNull(int fd, int flags)
{
    if (close(fd) != 0 && errno != EBADF)
        return false;
    return open("/dev/null", flags) == fd;
}

bool dropPrivileges()
{
    // Only a privileged judge can change ids; otherwise the submission keeps the judge's ids.
    if (geteuid() != 0)
        return true;
    // The process bound and groups first: once the user ids are given up neither can be set. All
    // three user ids change, so the submission cannot take back uid 0 with seteuid.
    return capLimit(RLIMIT_NPROC, rlim_t(kSubmissionProcessLimit)) && setgroups(0, nullptr) == 0 &&
           setresgid(kSubmissionGid, kSubmissionGid, kSubmissionGid) == 0 &&
           setresuid(submissionUid(), submissionUid(), submissionUid()) == 0;
}
