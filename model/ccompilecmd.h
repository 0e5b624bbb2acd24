#ifndef TALDON_MODEL_CCOMPILECMD_H
#define TALDON_MODEL_CCOMPILECMD_H

#include <QString>

// One accepted language of a task: the language key (also the source file's extension) and
// the shell command template with the placeholders %i (source file) and %o (program).
class CCompileCmd
{
public:
    CCompileCmd() = default;
    CCompileCmd(const QString &lang, const QString &cmd) : lang(lang), cmd(cmd) {}

    QString getLang() const { return lang; }
    void setLang(const QString &l) { lang = l; }
    QString getCmd() const { return cmd; }
    void setCmd(const QString &c) { cmd = c; }

private:
    QString lang;
    QString cmd;
};

#endif
