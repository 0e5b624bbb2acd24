#include "compile.h"

#include <QVector>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

bool isPlainShellChar(unsigned char c)
{
    return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') || strchr("._-+,/@%=:", c);
}

// Runs the command line through the shell with the compiler's output on standard error, so that
// the judge's standard output carries only its own reports.
void runCompiler(const char *cmdline)
{
    pid_t pid = fork();
    if (pid < 0) {
        perror("cannot run the compile command");
        return;
    }
    if (pid == 0) {
        if (dup2(2, 1) < 0)
            _exit(126);
        execl("/bin/sh", "sh", "-c", cmdline, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            perror("cannot wait for the compiler");
            return;
        }
    }
}

} // namespace

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
    runCompiler(cmdline);
    fflush(nullptr);
    FILE *program = fopen(exename, "rb");
    if (!program)
        return COMPILE_FAILED;
    fclose(program);
    return COMPILE_OK;
}
