#include "compile.h"

#include <QVector>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

int timeLimitSeconds = COMPILE_TIME_LIMIT;

bool isPlainShellChar(unsigned char c)
{
    return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') || strchr("._-+,/@%=:", c);
}

// Waits for the compiler, polling so that a compilation that overruns its time can be killed
// with its whole process group. Returns false when it had to be killed or could not be waited for.
bool waitForCompiler(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeLimitSeconds);
    auto pause = std::chrono::milliseconds(1);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return true;
        if (done < 0 && errno != EINTR) {
            perror("cannot wait for the compiler");
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    fprintf(stderr, "compilation still running after %d s, killed\n", timeLimitSeconds);
    if (kill(-pid, SIGKILL) != 0)
        perror("cannot kill the compiler");
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
}

// Runs the command line through the shell in a process group of its own, with the compiler's
// output on standard error, so that the judge's standard output carries only its own reports.
bool runCompiler(const char *cmdline)
{
    pid_t pid = fork();
    if (pid < 0) {
        perror("cannot run the compile command");
        return false;
    }
    if (pid == 0) {
        if (setpgid(0, 0) != 0 || dup2(2, 1) < 0)
            _exit(126);
        execl("/bin/sh", "sh", "-c", cmdline, static_cast<char *>(nullptr));
        _exit(127);
    }
    // Set from both sides, so the group exists whichever of the two runs first.
    if (setpgid(pid, pid) != 0 && errno != EACCES && errno != ESRCH)
        perror("cannot give the compiler its own process group");
    return waitForCompiler(pid);
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

int CompileSrc(char *exename, char *cmdline)
{
    fflush(nullptr);
    const bool finished = runCompiler(cmdline);
    fflush(nullptr);
    if (!finished) {
        unlink(exename);
        return COMPILE_FAILED;
    }
    FILE *program = fopen(exename, "rb");
    if (!program)
        return COMPILE_FAILED;
    fclose(program);
    return COMPILE_OK;
}
