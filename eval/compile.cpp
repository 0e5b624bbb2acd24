#include "compile.h"

#include <QVector>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

bool isPlainShellChar(unsigned char c)
{
    return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') || strchr("._-+,/@%=:", c);
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
    if (system(cmdline) == -1)
        perror("cannot run the compile command");
    fflush(nullptr);
    FILE *program = fopen(exename, "rb");
    if (!program)
        return COMPILE_FAILED;
    fclose(program);
    return COMPILE_OK;
}
