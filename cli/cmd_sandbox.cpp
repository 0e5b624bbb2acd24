#include "cliutil.h"
#include "commands.h"
#include "sandbox.h"

#include <QCommandLineParser>
#include <QTextStream>

int cmdSandboxCheck(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tries the submission sandbox on this machine and prints which protections are in "
        "force; exits 1 when the full sandbox is not available."));
    const int parsed = parseCommand(parser, QStringLiteral("sandbox-check"), args, 0);
    if (parsed >= 0)
        return parsed;
    QStringList lines;
    const bool full = Sandbox::check(&lines);
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    for (const QString &line : qAsConst(lines))
        out << line << '\n';
    return full ? CliOk : CliFailed;
}
