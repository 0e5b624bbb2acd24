#include "cliutil.h"
#include "commands.h"
#include "contesttree.h"
#include "csetupinfo.h"

#include <QCommandLineParser>
#include <QFileInfo>

int cmdSave(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads a contest and writes all its record files again, into its home "
                       "or, with --to, into another existing directory that becomes its home."));
    addContestArgument(parser);
    const QCommandLineOption toOption(QStringLiteral("to"),
                                      QStringLiteral("Write the contest into DIR instead."),
                                      QStringLiteral("DIR"));
    parser.addOption(toOption);
    const int parsed = parseCommand(parser, QStringLiteral("save"), args, 1);
    if (parsed >= 0)
        return parsed;

    CSetupInfo setup;
    if (!openContest(QStringLiteral("save"), parser, &setup))
        return CliBadInput;
    const bool elsewhere = parser.isSet(toOption);
    const QString target = parser.value(toOption);
    if (elsewhere && !QFileInfo(target).isDir())
        return reportError(CliBadInput, QStringLiteral("save: no such directory: ") + target);

    const bool saved =
        elsewhere ? setup.saveSetupInfo(ContestTree::absoluteHome(target)) : setup.saveSetupInfo();
    if (!saved)
        return reportError(CliFailed, QStringLiteral("save: cannot write the contest into ") +
                                          setup.getHome() + QStringLiteral(": ") +
                                          setup.saveError());
    return CliOk;
}
