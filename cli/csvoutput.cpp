#include "csvoutput.h"

#include "cliutil.h"
#include "csvexport.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

namespace
{

const char outputName[] = "output";

} // namespace

void addOutputOption(QCommandLineParser &parser)
{
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("o"), QString(outputName)},
                                        QStringLiteral("Write to <file> instead of standard "
                                                       "output."),
                                        QStringLiteral("file")));
}

int writeCsvOutput(const QCommandLineParser &parser, const QString &command, const QString &text)
{
    if (parser.isSet(outputName)) {
        const QString path = parser.value(outputName);
        if (!writeTextFile(path, text))
            return reportError(CliFailed, command + QStringLiteral(": cannot write ") + path);
        return CliOk;
    }
    QFile out;
    const QByteArray bytes = text.toUtf8();
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        return reportError(CliFailed, command + QStringLiteral(": cannot write standard output"));
    return CliOk;
}
