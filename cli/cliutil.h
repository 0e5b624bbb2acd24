#ifndef TALDON_CLI_CLIUTIL_H
#define TALDON_CLI_CLIUTIL_H

#include <QString>
#include <QStringList>

class CSetupInfo;
class QCommandLineParser;

// Helpers shared by the subcommands of taldon-cli.

// Exit statuses of every subcommand.
enum CliStatus { CliOk = 0, CliFailed = 1, CliBadInput = 2 };

// Parses args for the subcommand name, whose options the caller has added to parser, and
// checks that exactly `positionals` positional arguments were given (a negative value -n: at
// least n). Returns -1 when the
// command is to run; otherwise the status to exit with (help printed, or a usage error).
int parseCommand(QCommandLineParser &parser, const QString &name, const QStringList &args,
                 int positionals);

// Prints "taldon-cli: message" on standard error and returns status.
int reportError(int status, const QString &message);

// Declares the <contest> argument: a contest home or the path of its setup.cfg.
void addContestArgument(QCommandLineParser &parser);

// Loads into setup the contest whose setup.cfg the parsed <contest> argument names, by its
// absolute path, and prints what the loading read differently (CSetupInfo::loadNotices) on
// standard error. When there is no such file it reports "no such contest" for command and
// returns false.
bool openContest(const QString &command, const QCommandLineParser &parser, CSetupInfo *setup);

// The day number given by option, from 1 to the number of days of setup; 0 when the option is
// missing, not a number or out of that range.
int dayOption(const QCommandLineParser &parser, const QString &option, CSetupInfo &setup);

#endif
