#include "runctrl.h"

#include "fileops.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// Read by the SIGALRM handler, which may run on any thread of the process.
std::atomic<pid_t> userprogrampid{0};
static_assert(std::atomic<pid_t>::is_always_lock_free, "the timer handler needs a lock-free pid");
int exitstatus = 0;
struct rusage ruse;

const char kSystemError[] = "Client of evaluate system error.";
const char kTimeOut[] = "Time out.";
const char kMemoryExceeded[] = "Exceeding memory limit.";

// Steps of the child before the submission starts; a failure is sent to the parent over a
// close-on-exec pipe, whose end of file means that exec succeeded.
enum ChildStep {
    StepGroup,
    StepDescriptors,
    StepSignals,
    StepLimits,
    StepStdin,
    StepStdout,
    StepIds,
    StepExec
};
const char *const kStepNames[] = {
    "setpgid", "closing descriptors", "signal reset", "setrlimit", "stdin",
    "stdout",  "id switch",           "execl"};
const int kChildFault = 127;

struct ChildFailure {
    int step;
    int error;
};

struct RunBounds {
    float cpu;
    double wall;
    timespec start;
};

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

[[noreturn]] void failChild(int pipefd, ChildStep step, int status)
{
    const ChildFailure failure{step, errno};
    writeAll(pipefd, &failure, sizeof failure);
    _exit(status);
}

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

// Leaves descriptors 0, 1, 2 and the report pipe, moved to 3 or above; returns the pipe or -1.
int closeOtherDescriptors(int pipefd)
{
    if (pipefd < 3) {
        pipefd = fcntl(pipefd, F_DUPFD_CLOEXEC, 3);
        if (pipefd < 0)
            return -1;
    }
    if (!closeRange(3, unsigned(pipefd) - 1) || !closeRange(unsigned(pipefd) + 1, ~0U))
        return -1;
    return pipefd;
}

// Ignored signals and the blocked mask survive exec; the submission gets a clean slate.
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

// Sets soft and hard limit to `value`, or to the inherited hard limit if that is lower.
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
           setresuid(kSubmissionUid, kSubmissionUid, kSubmissionUid) == 0;
}

[[noreturn]] void runChild(const char *program, int memlimit, int pipefd)
{
    if (setpgid(0, 0) != 0)
        failChild(pipefd, StepGroup, kChildFault);
    const int report = closeOtherDescriptors(pipefd);
    if (report < 0)
        failChild(pipefd, StepDescriptors, kChildFault);
    if (!resetSignals())
        failChild(report, StepSignals, kChildFault);
    if (memlimit > 0)
        limitAddressSpace(memlimit);
    if (!capLimit(RLIMIT_FSIZE, rlim_t(kSubmissionFileLimit)) || !capLimit(RLIMIT_CORE, 0))
        failChild(report, StepLimits, kChildFault);
    alarm(0);
    if (!reopenOnDevNull(0, O_RDONLY)) {
        writeErr("could not open /dev/null as stdin");
        failChild(report, StepStdin, 1);
    }
    if (!reopenOnDevNull(1, O_WRONLY)) {
        writeErr("could not open /dev/null as stdout");
        failChild(report, StepStdout, 2);
    }
    if (!dropPrivileges())
        failChild(report, StepIds, kChildFault);
    execl(program, program, static_cast<char *>(nullptr));
    failChild(report, StepExec, 255);
}

// Waits for the child's report: false if it failed in a way that leaves nothing to judge.
// A failed exec or redirection is a normal end whose missing output the filter judges.
bool childStarted(int fd)
{
    ChildFailure failure;
    ssize_t n;
    do
        n = read(fd, &failure, sizeof failure);
    while (n < 0 && errno == EINTR);
    if (n == 0)
        return true;
    if (n != ssize_t(sizeof failure)) {
        perror("runUnderCtrl: reading the child's report");
        return false;
    }
    const char *text = strerror(failure.error);
    if (failure.step == StepExec) {
        fputs("#####execl error !!!!!!!!!!!!!!!!!!!!!\n", stderr);
        fprintf(stderr, "%s: %s\n", text, text);
        return true;
    }
    fprintf(stderr, "runUnderCtrl: %s failed: %s\n", kStepNames[failure.step], text);
    return failure.step == StepStdin || failure.step == StepStdout;
}

bool armTicker(int seconds)
{
    struct itimerval timer;
    memset(&timer, 0, sizeof timer);
    timer.it_value.tv_sec = seconds;
    timer.it_value.tv_usec = 100000;
    timer.it_interval.tv_usec = 500000;
    return setitimer(ITIMER_REAL, &timer, nullptr) == 0;
}

int tickerSeconds(float timelimit)
{
    return int(std::clamp(std::trunc(timelimit), 0.0f, 1e6f));
}

double secondsSince(const timespec &start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
}

// Called before the child is reaped, so that its id still names its process group and cannot
// have been reused: every process the submission started dies with it.
void endRun(pid_t pid)
{
    userprogrampid = 0;
    alarm(0);
    if (kill(-pid, SIGKILL) != 0 && errno != ESRCH)
        perror("runUnderCtrl: killing the process group");
    if (kill(pid, SIGKILL) != 0 && errno != ESRCH)
        perror("runUnderCtrl: killing the child");
}

// Ends the run, then collects the child.
void killAndReap(pid_t pid)
{
    endRun(pid);
    int status;
    pid_t r;
    do
        r = waitpid(pid, &status, 0);
    while (r < 0 && errno == EINTR);
    if (r < 0)
        perror("runUnderCtrl: waitpid");
}

// Waits for the next stop or end of the child without consuming it.
bool awaitEvent(pid_t pid, bool *ended)
{
    siginfo_t info;
    memset(&info, 0, sizeof info);
    int r;
    do
        r = waitid(P_PID, id_t(pid), &info, WEXITED | WSTOPPED | WNOWAIT);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
        perror("runUnderCtrl: waitid");
        return false;
    }
    *ended = info.si_code == CLD_EXITED || info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED;
    return true;
}

bool consumeEvent(pid_t pid)
{
    memset(&ruse, 0, sizeof ruse);
    pid_t r;
    do
        r = wait4(pid, &exitstatus, WUNTRACED, &ruse);
    while (r < 0 && errno == EINTR);
    if (r < 0)
        perror("runUnderCtrl: wait4");
    return r == pid;
}

float userSeconds()
{
    return float(ruse.ru_utime.tv_sec) + float(ruse.ru_utime.tv_usec) / 1000000.0f;
}

int superviseRun(pid_t pid, const RunBounds &bounds, float *usedtime)
{
    for (;;) {
        bool ended = false;
        const bool seen = awaitEvent(pid, &ended);
        if (seen && ended)
            endRun(pid);
        if (!seen || !consumeEvent(pid)) {
            killAndReap(pid);
            *usedtime = 0;
            return RunNotStarted;
        }
        *usedtime = userSeconds();
        const bool stopped = WIFSTOPPED(exitstatus);
        // Killed from outside between the two waits: the group still has to go.
        if (!stopped && !ended)
            endRun(pid);
        if (*usedtime > bounds.cpu || (stopped && secondsSince(bounds.start) > bounds.wall)) {
            if (stopped)
                killAndReap(pid);
            return RunTimeOut;
        }
        if (!stopped)
            return WIFSIGNALED(exitstatus) && WTERMSIG(exitstatus) == SIGSEGV ? RunSegfault
                                                                              : RunEnded;
        // The stop only gives us a moment to read the CPU time; resume at once. Should this
        // fail, the next stops end the run at the wall-clock bound.
        if (kill(-pid, SIGCONT) != 0)
            perror("runUnderCtrl: resuming the process group");
    }
}

int startAndSupervise(const char *program, float timelimit, int memlimit, float *usedtime)
{
    *usedtime = 0;
    int fds[2];
    RunBounds bounds{timelimit, wallClockBound(timelimit), {}};
    if (pipe2(fds, O_CLOEXEC) != 0 || clock_gettime(CLOCK_MONOTONIC, &bounds.start) != 0) {
        perror("runUnderCtrl: pipe2");
        return RunNotStarted;
    }
    const pid_t pid = fork();
    if (pid == 0)
        runChild(program, memlimit, fds[1]);
    close(fds[1]);
    if (pid < 0) {
        perror("runUnderCtrl: fork");
        close(fds[0]);
        return RunNotStarted;
    }
    const bool started = childStarted(fds[0]);
    close(fds[0]);
    userprogrampid = pid;
    if (!started || signal(SIGALRM, sig_evaluate) == SIG_ERR ||
        !armTicker(tickerSeconds(timelimit))) {
        if (started)
            perror("runUnderCtrl: arming the timer");
        killAndReap(pid);
        return RunNotStarted;
    }
    return superviseRun(pid, bounds, usedtime);
}

int reportOutcome(int code, char *msg, int *score)
{
    const char *text = code == RunTimeOut      ? kTimeOut
                       : code == RunSegfault   ? kMemoryExceeded
                       : code == RunNotStarted ? kSystemError
                                               : nullptr;
    if (text) {
        strcpy(msg, text);
        *score = 0;
    }
    return code;
}

} // namespace

double wallClockBound(float timelimit)
{
    return 2.0 * std::max(0.0f, timelimit) + 1.0;
}

// No sync() around the run: the judge reads the output back through the same page cache, and
// flushing every disk of the machine twice per test point doubled the cost of judging.
int runUnderCtrl(char *program, float timelimit, int memlimit, float *usedtime, char *msg,
                 int *score)
{
    const sighandler_t oldChild = signal(SIGCHLD, sig_child);
    if (oldChild == SIG_ERR) {
        alarm(0);
        *usedtime = 0;
        return reportOutcome(RunNotStarted, msg, score);
    }
    const int code = startAndSupervise(program, timelimit, memlimit, usedtime);
    if (signal(SIGCHLD, oldChild) == SIG_ERR)
        perror("runUnderCtrl: restoring SIGCHLD");
    return reportOutcome(code, msg, score);
}

void set_ticker(int seconds)
{
    if (!armTicker(seconds))
        perror("set_ticker");
}

void sig_evaluate(int)
{
    const int savedErrno = errno;
    const pid_t pid = userprogrampid;
    // A failed stop needs no action: the group is gone only when the child has ended.
    if (pid > 0)
        kill(-pid, SIGSTOP);
    signal(SIGALRM, sig_evaluate);
    errno = savedErrno;
}

void sig_child(int) {}

int lastExitStatus()
{
    return exitstatus;
}

void stopCurrentRun()
{
    const pid_t pid = userprogrampid;
    if (pid > 0 && kill(-pid, SIGKILL) != 0 && errno != ESRCH)
        perror("stopCurrentRun: killing the process group");
}
