#include "checkerbuild.h"

#include "compile.h"

#include <QFile>
#include <QFileInfo>

bool buildChecker(const QString &source, const QString &cmdTemplate, const QString &program,
                  QString *messages)
{
    const QString copy = program + QStringLiteral(".cpp");
    QFile::remove(copy);
    if (!QFile::copy(source, copy)) {
        *messages = QStringLiteral("cannot read %1").arg(source);
        return false;
    }
    const QByteArray include = QFile::encodeName(QFileInfo(source).absolutePath());
    QByteArray tmpl = cmdTemplate.toUtf8() + " -I " + shellWord(include);
    QByteArray exename = QFile::encodeName(program), lang("cpp");
    char cmdline[COMPCMD_SIZE] = {};
    if (!GenCompCmd(cmdline, exename.data(), lang.data(), tmpl.data()) || !cmdline[0]) {
        *messages = QStringLiteral("the C++ compile command cannot be used: %1").arg(cmdTemplate);
        return false;
    }
    QByteArray log;
    const bool built = compileCapturing(exename.data(), cmdline, &log) == COMPILE_OK;
    *messages = QString::fromUtf8(cmdline) + '\n' + QString::fromUtf8(log);
    return built;
}
