#include "cliutil.h"
#include "commands.h"
#include "globals.h"

#include <QCoreApplication>
#include <QTextCodec>
#include <QTextStream>

namespace
{

struct Subcommand {
    const char *name;
    int (*run)(const QStringList &args);
    const char *summary;
};

const Subcommand subcommands[] = {
    {"new", cmdNew, "create a contest home"},
    {"show", cmdShow, "print a contest as JSON"},
    {"save", cmdSave, "read a contest and write it back"},
    {"eval", cmdEval, "evaluate players on a day"},
    {"results", cmdResults, "write the results CSV of a contest"},
    {"teams", cmdTeams, "write the team table CSV of a contest"},
    {"fetch", cmdFetch, "download submissions from an FTP server"},
};

int usage(int status)
{
    QTextStream stream(status == CliOk ? stdout : stderr);
    stream << "usage: taldon-cli <command> [arguments] (taldon-cli <command> --help)\n"
           << "commands:\n";
    for (const Subcommand &command : subcommands)
        stream << "  " << command.name << "\t" << command.summary << '\n';
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    setProgramDirectory(argv[0]);
    QCoreApplication app(argc, argv);
    // Names, paths and contents are UTF-8 whatever the locale of the caller says.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(CliBadInput);
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return usage(CliOk);
    for (const Subcommand &command : subcommands) {
        if (name == QLatin1String(command.name))
            return command.run(args);
    }
    return reportError(CliBadInput, QStringLiteral("unknown command: ") + name);
}
