#include "runctrl.h"

#include "childsetup.h"
#include "fileops.h"
#include "plainchild.h"
#include "runclock.h"
#include "sandbox.h"

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
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

// Read between fork and exec; set before an evaluation starts.
uid_t g_submissionUid = kSubmissionUid;

// Read by the SIGALRM handler, which may run on any thread of the process.
std::atomic<pid_t> userprogrampid{0};
static_assert(std::atomic<pid_t>::is_always_lock_free, "the timer handler needs a lock-free pid");
int exitstatus = 0;
struct rusage ruse;

const char kSystemError[] = "Client of evaluate system error.";
const char kTimeOut[] = "Time out.";
const char kMemoryExceeded[] = "Exceeding memory limit.";

struct RunBounds {
    float cpu;
    double wall;
    timespec start;
};

// What a sandboxed run adds to the plain one: the clock over all of its processes and the
// report of its init.
struct SandboxedRun {
    RunClock clock;
    int statusfd = -1;
};

// Waits for the child's report: false if it failed in a way that leaves nothing to judge.
// A failed exec or redirection is a normal end whose missing output the filter judges, unless
// what failed to start is the judge's interpreter; then *execError is its errno.
bool childStarted(int fd, bool interpreter, int *execError)
{
    ChildReport failure;
    ssize_t n;
    do
        n = read(fd, &failure, sizeof failure);
    while (n < 0 && errno == EINTR);
    if (n == 0)
        return true;
    if (n != ssize_t(sizeof failure) || failure.kind != ReportFailure) {
        perror("runUnderCtrl: reading the child's report");
        return false;
    }
    const char *text = strerror(failure.error);
    if (failure.step == StepExec) {
        fputs("#####execl error !!!!!!!!!!!!!!!!!!!!!\n", stderr);
        fprintf(stderr, "%s: %s\n", text, text);
        *execError = interpreter ? failure.error : 0;
        return !interpreter;
    }
    fprintf(stderr, "runUnderCtrl: %s failed: %s\n", childStepName(failure.step), text);
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

// The program's status and the CPU time of all its processes, from the init of a sandboxed run
// that has ended; false when the init did not get to report (it was killed).
bool readRunStatus(SandboxedRun *boxed, float *usedtime)
{
    RunStatus status;
    ssize_t n;
    do
        n = read(boxed->statusfd, &status, sizeof status);
    while (n < 0 && errno == EINTR);
    if (n != ssize_t(sizeof status))
        return false;
    exitstatus = status.status;
    *usedtime = float(status.userTime) / 1000000.0f;
    return true;
}

int superviseRun(pid_t pid, const RunBounds &bounds, SandboxedRun *boxed, float *usedtime)
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
        const bool stopped = WIFSTOPPED(exitstatus);
        *usedtime = userSeconds();
        if (boxed && stopped)
            *usedtime = float(boxed->clock.userSeconds());
        else if (boxed)
            readRunStatus(boxed, usedtime);
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

// Where a run's standard error is kept for its verdict: a file without a name in the working
// directory, so that it counts against the box like everything else the run writes.
int openErrorCapture()
{
    const int fd = open(".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    return fd >= 0 ? fd : memfd_create("taldon-stderr", MFD_CLOEXEC);
}

// The last bytes of what the run wrote to standard error.
QByteArray errorTail(int fd)
{
    constexpr off_t kTail = 4096;
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0)
        return QByteArray();
    QByteArray tail(int(std::min<off_t>(st.st_size, kTail)), '\0');
    const ssize_t n = pread(fd, tail.data(), size_t(tail.size()), st.st_size - tail.size());
    return n == ssize_t(tail.size()) ? tail : QByteArray();
}

// The argument vector and environment of a run as C strings, pointing into the plan.
struct ExecStrings {
    explicit ExecStrings(const RunPlan &plan, bool sandboxed)
    {
        for (const QByteArray &arg : plan.argv)
            argv.push_back(const_cast<char *>(arg.constData()));
        argv.push_back(nullptr);
        if (sandboxed) {
            envp = Sandbox::environment(plan.environment);
            return;
        }
        envp = judgeEnvironment(plan.environment);
    }
    std::vector<char *> argv;
    std::vector<const char *> envp;
};

// Starts the program as a plain child; the read end of its report pipe goes to *reports.
pid_t startPlainRun(const ChildExec &exec, int *reports)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        perror("runUnderCtrl: pipe2");
        return -1;
    }
    const pid_t pid = startPlain(exec, fds[0], fds[1]);
    close(fds[1]);
    *reports = fds[0];
    return pid;
}

int startAndSupervise(const RunPlan &plan, float timelimit, float *usedtime, int errors,
                      int *execError)
{
    *usedtime = 0;
    const Sandbox *sandbox = Sandbox::active();
    RunBounds bounds{timelimit, wallClockBound(timelimit), {}};
    if (clock_gettime(CLOCK_MONOTONIC, &bounds.start) != 0) {
        perror("runUnderCtrl: clock_gettime");
        return RunNotStarted;
    }
    const ExecStrings strings(plan, sandbox != nullptr);
    Sandbox::Launched run;
    if (sandbox) {
        run = sandbox->launch({strings.argv.data(), plan.memlimit, plan.addressSpace, -1, errors,
                               strings.envp.data()});
    } else {
        const ChildExec exec{strings.argv.data(), const_cast<char *const *>(strings.envp.data()),
                             plan.memlimit, plan.addressSpace, errors};
        run.init = startPlainRun(exec, &run.reports);
    }
    const pid_t pid = run.init;
    SandboxedRun boxed;
    boxed.statusfd = run.status;
    bool started = pid > 0 && childStarted(run.reports, plan.interpreter, execError);
    if (run.reports >= 0)
        close(run.reports);
    boxed.clock.attach(pid);
    int code = RunNotStarted;
    if (pid > 0) {
        userprogrampid = pid;
        if (!started || signal(SIGALRM, sig_evaluate) == SIG_ERR ||
            !armTicker(tickerSeconds(timelimit))) {
            if (started)
                perror("runUnderCtrl: arming the timer");
            killAndReap(pid);
        } else {
            code = superviseRun(pid, bounds, sandbox ? &boxed : nullptr, usedtime);
        }
    }
    if (run.status >= 0)
        close(run.status);
    return code;
}

int reportOutcome(int code, char *msg, int *score, const QByteArray &why = QByteArray())
{
    const char *text = code == RunTimeOut      ? kTimeOut
                       : code == RunSegfault   ? kMemoryExceeded
                       : code == RunNotStarted ? kSystemError
                                               : nullptr;
    if (code == RunNotStarted && !why.isEmpty())
        text = why.constData();
    if (text) {
        snprintf(msg, 1024, "%s", text);
        *score = 0;
    }
    return code;
}

// Runs the plan with SIGCHLD caught; an interpreter that could not be started is named in *why.
int supervisePlan(const RunPlan &plan, float timelimit, float *usedtime, QByteArray *why)
{
    const QByteArray program = plan.argv.value(0);
    *usedtime = 0;
    if (plan.interpreter && !program.contains('/')) {
        *why = "Cannot start " + program + ": it is not installed.";
        return RunNotStarted;
    }
    const QByteArray blocked =
        plan.interpreter && !Sandbox::active() ? blockedForSubmission() : QByteArray();
    if (!blocked.isEmpty()) {
        *why = "Cannot start " + program + ": uid " + QByteArray::number(submissionUid()) +
               " cannot search " + blocked + '.';
        return RunNotStarted;
    }
    const int errors = plan.ranOutOfMemory ? openErrorCapture() : -1;
    if (plan.ranOutOfMemory && errors < 0)
        perror("runUnderCtrl: keeping standard error");
    int execError = 0;
    int code = startAndSupervise(plan, timelimit, usedtime, errors, &execError);
    if (execError != 0)
        *why = "Cannot start " + program + ": " + QByteArray(strerror(execError)) + '.';
    if (code == RunEnded && plan.ranOutOfMemory &&
        plan.ranOutOfMemory(exitstatus, errorTail(errors)))
        code = RunSegfault;
    if (errors >= 0)
        close(errors);
    return code;
}

} // namespace

uid_t submissionUid()
{
    return g_submissionUid;
}

void setSubmissionUid(uid_t uid)
{
    g_submissionUid = uid;
}

double wallClockBound(float timelimit)
{
    return 2.0 * std::max(0.0f, timelimit) + 1.0;
}

// No sync() around the run: the judge reads the output back through the same page cache, and
// flushing every disk of the machine twice per test point doubled the cost of judging.
int runPlanUnderCtrl(const RunPlan &plan, float timelimit, float *usedtime, char *msg, int *score)
{
    const sighandler_t oldChild = signal(SIGCHLD, sig_child);
    if (oldChild == SIG_ERR) {
        alarm(0);
        *usedtime = 0;
        return reportOutcome(RunNotStarted, msg, score);
    }
    QByteArray why;
    const int code = supervisePlan(plan, timelimit, usedtime, &why);
    if (signal(SIGCHLD, oldChild) == SIG_ERR)
        perror("runUnderCtrl: restoring SIGCHLD");
    return reportOutcome(code, msg, score, why);
}

int runUnderCtrl(char *program, float timelimit, int memlimit, float *usedtime, char *msg,
                 int *score)
{
    RunPlan plan;
    plan.argv = {QByteArray(program)};
    plan.memlimit = memlimit;
    return runPlanUnderCtrl(plan, timelimit, usedtime, msg, score);
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
    const int saved = errno;
    if (pid > 0 && kill(-pid, SIGKILL) != 0 && errno != ESRCH) {
        // Only async-signal-safe calls, as a signal handler stops runs too; a failed write of
        // the message has nowhere left to be told.
        static const char message[] = "stopCurrentRun: killing the process group failed\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    }
    errno = saved;
}
