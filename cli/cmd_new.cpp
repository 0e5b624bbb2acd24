#include "cliutil.h"
#include "commands.h"
#include "contesttree.h"
#include "csetupinfo.h"
#include "recordloader.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

int cmdNew(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates a contest home (with missing parents): setup.cfg, the seven "
                       "subdirectories and the stock filters in filter/."));
    parser.addPositionalArgument(QStringLiteral("home"), QStringLiteral("The contest home."));
    const QCommandLineOption nameOption(QStringLiteral("name"), QStringLiteral("Contest name."),
                                        QStringLiteral("TEXT"), QStringLiteral("程序设计竞赛"));
    parser.addOption(nameOption);
    const int parsed = parseCommand(parser, QStringLiteral("new"), args, 1);
    if (parsed >= 0)
        return parsed;

    const QString given = parser.positionalArguments().constFirst();
    const QString name = parser.value(nameOption);
    if (given.isEmpty())
        return reportError(CliBadInput, QStringLiteral("new: the home is empty"));
    if (name.isEmpty())
        return reportError(CliBadInput, QStringLiteral("new: the contest name is empty"));
    if (!isRecordValue(name))
        return reportError(CliBadInput,
                           QStringLiteral("new: the contest name may not hold a line break"));
    const QFileInfo info(given);
    if (info.exists() && !info.isDir())
        return reportError(CliBadInput, QStringLiteral("new: not a directory: ") + given);

    const QString home = ContestTree::absoluteHome(given);
    if (!QDir().mkpath(home))
        return reportError(CliFailed, QStringLiteral("new: cannot create ") + home);
    CSetupInfo setup;
    setup.setHome(home);
    setup.setContestName(name);
    if (!setup.saveSetupInfo())
        return reportError(CliFailed, QStringLiteral("new: cannot write ") + setup.saveError());
    const QString stock = ContestTree::stockFilterDir();
    if (!ContestTree::makeTree(home, stock))
        return reportError(CliFailed,
                           QStringLiteral("new: cannot lay out the directories of ") + home);
    if (stock.isEmpty())
        return reportError(CliOk, QStringLiteral("new: warning: no stock filters found, ") + home +
                                      QStringLiteral("/filter is empty"));
    return CliOk;
}
