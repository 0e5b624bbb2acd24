#include "compile.h"

#include "childsetup.h"
#include "plainchild.h"
#include "sandbox.h"
#include "waitdeadline.h"

#include <QVector>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

int timeLimitSeconds = COMPILE_TIME_LIMIT;

bool isPlainShellChar(unsigned char c)
{
    return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') || strchr("._-+,/@%=:", c);
}

// The first bytes of the compiler's messages, shown on the judge's standard error with control
// characters made visible, so that no source can drive the organiser's terminal.
constexpr size_t kLogShown = 16384;

// The first kLogShown bytes of the compiler's messages.
QByteArray readLog(int log)
{
    char text[kLogShown];
    const ssize_t n = pread(log, text, sizeof text, 0);
    return n > 0 ? QByteArray(text, int(n)) : QByteArray();
}

void showLog(int log)
{
    QByteArray text = readLog(log);
    for (char &byte : text) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7f)
            byte = '?';
    }
    fwrite(text.constData(), 1, size_t(text.size()), stderr);
    if (size_t(text.size()) == kLogShown)
        fputs("\n[compiler messages cut]\n", stderr);
}

// Waits for the compiler; a compilation that overruns its time is killed with all of its
// processes. Returns false when it had to be killed or could not be waited for.
bool waitForCompiler(pid_t pid, int *status)
{
    if (waitWithDeadline(pid, timeLimitSeconds, status))
        return true;
    fprintf(stderr, "compilation still running after %d s, killed\n", timeLimitSeconds);
    // In the sandbox the kill of the run's init ends every process of the compilation.
    killAndReapGroup(pid);
    return false;
}

// Runs the command line through the shell in a process group of its own, with the compiler's
// output on standard error, so that the judge's standard output carries only its own reports,
// or on `log` when it is not -1.
bool runCompiler(const char *cmdline, const QByteArrayList &extra, int *status, int log = -1)
{
    const std::vector<const char *> envp = judgeEnvironment(extra);
    const char *argv[] = {"/bin/sh", "-c", cmdline, nullptr};
    pid_t pid = fork();
    if (pid < 0) {
        perror("cannot run the compile command");
        return false;
    }
    if (pid == 0) {
        if (setpgid(0, 0) != 0 || (log >= 0 && dup2(log, 2) < 0) || dup2(2, 1) < 0)
            _exit(126);
        execve(argv[0], const_cast<char *const *>(argv), const_cast<char *const *>(envp.data()));
        _exit(127);
    }
    // Set from both sides, so the group exists whichever of the two runs first.
    if (setpgid(pid, pid) != 0 && errno != EACCES && errno != ESRCH)
        perror("cannot give the compiler its own process group");
    return waitForCompiler(pid, status);
}

// The shell's wait status, which the init of the compilation's run reports when it has ended.
bool readShellStatus(int fd, int *status)
{
    RunStatus result;
    ssize_t n;
    do
        n = read(fd, &result, sizeof result);
    while (n < 0 && errno == EINTR);
    if (n != ssize_t(sizeof result))
        return false;
    *status = result.status;
    return true;
}

// Runs the command line in the sandbox: unprivileged, inside the box, under an address-space
// bound, with the compiler's messages caught in memory.
bool runSandboxedCompiler(const Sandbox &sandbox, const char *cmdline, const QByteArrayList &extra,
                          int *shellStatus)
{
    const int log = memfd_create("taldon-compiler", MFD_CLOEXEC);
    if (log < 0) {
        perror("cannot run the compile command");
        return false;
    }
    const char *argv[] = {"/bin/sh", "-c", cmdline, nullptr};
    const std::vector<const char *> envp = Sandbox::environment(extra);
    const Sandbox::Launched run =
        sandbox.launch({argv, 0, kCompileAddressSpace, log, -1, envp.data()});
    ChildReport failure;
    if (run.init > 0 && Sandbox::readFailure(run.reports, &failure))
        fprintf(stderr, "compile command not started: %s failed: %s\n", childStepName(failure.step),
                strerror(failure.error));
    int initStatus = 0;
    const bool finished = run.init > 0 && waitForCompiler(run.init, &initStatus) &&
                          readShellStatus(run.status, shellStatus);
    for (int fd : {run.reports, run.status})
        if (fd >= 0)
            close(fd);
    showLog(log);
    close(log);
    return finished;
}

} // namespace

int compileTimeLimit()
{
    return timeLimitSeconds;
}

void setCompileTimeLimit(int seconds)
{
    timeLimitSeconds = seconds;
}

QByteArray shellWord(const QByteArray &word)
{
    bool plain = !word.isEmpty();
    for (char c : word)
        plain = plain && isPlainShellChar(static_cast<unsigned char>(c));
    if (plain)
        return word;
    QByteArray quoted = word;
    quoted.replace('\'', "'\\''");
    return '\'' + quoted + '\'';
}

int GenCompCmd(char *cmdline, char *exename, char *lang, char *cmdtemplate)
{
    if (!cmdline)
        return 0;
    const QByteArray tmpl(cmdtemplate);
    const QByteArray program(exename);
    const QByteArray source = program + '.' + QByteArray(lang);
    const int in = tmpl.indexOf("%i");
    const int out = tmpl.indexOf("%o");
    if (in < 0 && out < 0)
        return 1;
    // Substituted by position in the template, so a name that itself holds "%o" is left alone.
    QVector<int> spots;
    for (int at : {in, out})
        if (at >= 0)
            spots.append(at);
    std::sort(spots.begin(), spots.end());
    QByteArray line;
    int from = 0;
    for (int at : spots) {
        line += tmpl.mid(from, at - from) + shellWord(at == in ? source : program);
        from = at + 2;
    }
    line += tmpl.mid(from);
    if (line.size() >= COMPCMD_SIZE) {
        fprintf(stderr, "compile command for %s is longer than %d bytes, refused\n", exename,
                COMPCMD_SIZE - 1);
        return 0;
    }
    memcpy(cmdline, line.constData(), size_t(line.size()) + 1);
    return 1;
}

int compileCapturing(char *exename, char *cmdline, QByteArray *messages)
{
    messages->clear();
    const int log = memfd_create("taldon-compiler", MFD_CLOEXEC);
    if (log < 0) {
        *messages = "cannot catch the compiler's messages: " + QByteArray(strerror(errno));
        return COMPILE_FAILED;
    }
    fflush(nullptr);
    int status = 0;
    const bool finished = runCompiler(cmdline, QByteArrayList(), &status, log);
    messages->append(readLog(log));
    close(log);
    if (!finished) {
        unlink(exename);
        messages->append("\nThe compiler could not be run, or ran longer than " +
                         QByteArray::number(timeLimitSeconds) + " s.");
        return COMPILE_FAILED;
    }
    return access(exename, F_OK) == 0 ? COMPILE_OK : COMPILE_FAILED;
}

bool runCompileCommand(const char *cmdline, const QByteArrayList &environment, int *status)
{
    fflush(nullptr);
    *status = 0;
    const Sandbox *sandbox = Sandbox::active();
    const bool finished = sandbox ? runSandboxedCompiler(*sandbox, cmdline, environment, status)
                                  : runCompiler(cmdline, environment, status);
    fflush(nullptr);
    return finished;
}

int CompileSrc(char *exename, char *cmdline)
{
    int status;
    if (!runCompileCommand(cmdline, QByteArrayList(), &status)) {
        unlink(exename);
        return COMPILE_FAILED;
    }
    FILE *program = fopen(exename, "rb");
    if (!program)
        return COMPILE_FAILED;
    fclose(program);
    return COMPILE_OK;
}
