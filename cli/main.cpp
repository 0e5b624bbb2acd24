#include "cliutil.h"
#include "commands.h"
#include "globals.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextStream>

#include <memory>

namespace
{

struct Subcommand {
    const char *name;
    int (*run)(const QStringList &args);
    const char *summary;
    // The score reports are drawn by widgets, so that command needs a GUI application.
    bool drawsWidgets = false;
};

const Subcommand subcommands[] = {
    {"new", cmdNew, "create a contest home"},
    {"show", cmdShow, "print a contest as JSON"},
    {"save", cmdSave, "read a contest and write it back"},
    {"eval", cmdEval, "evaluate players on a day"},
    {"results", cmdResults, "write the results CSV of a contest"},
    {"teams", cmdTeams, "write the team table CSV of a contest"},
    {"written", cmdWritten, "import the written-exam scores of a contest"},
    {"report", cmdReport, "write the score reports of a day as PDF files", true},
    {"fetch", cmdFetch, "download submissions from an FTP server"},
    {"sandbox-check", cmdSandboxCheck, "print which submission protections work here"},
};

// The row of the table named name (ASCII, as every command name is), or null.
const Subcommand *findSubcommand(const char *name)
{
    for (const Subcommand &command : subcommands) {
        if (qstrcmp(name, command.name) == 0)
            return &command;
    }
    return nullptr;
}

int usage(int status)
{
    QTextStream stream(status == CliOk ? stdout : stderr);
    stream << "usage: taldon-cli <command> [arguments] (taldon-cli <command> --help)\n"
           << "commands:\n";
    for (const Subcommand &command : subcommands)
        stream << "  " << command.name << "\t" << command.summary << '\n';
    return status;
}

// A command that draws widgets never shows a window, so it runs on the offscreen platform and
// needs no display. Setting that platform up looks into the session's runtime directory and
// warns on standard error when there is none (as for root or under cron): such a run gets a
// private one of its own, removed when the program ends.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv, const Subcommand *command)
{
    if (command && command->drawsWidgets) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            static QTemporaryDir runtime;
            if (runtime.isValid())
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        }
        return std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    setProgramDirectory(argv[0]);
    const Subcommand *command = argc > 1 ? findSubcommand(argv[1]) : nullptr;
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv, command);
    // Names, paths and contents are UTF-8 whatever the locale of the caller says.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty())
        return usage(CliBadInput);
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return usage(CliOk);
    if (command)
        return command->run(args);
    return reportError(CliBadInput, QStringLiteral("unknown command: ") + name);
}
