#ifndef TALDON_CLI_CLIUTIL_H
#define TALDON_CLI_CLIUTIL_H

#include <QString>
#include <QStringList>

class QCommandLineParser;

// Helpers shared by the subcommands of taldon-cli.

// Exit statuses of every subcommand.
enum CliStatus { CliOk = 0, CliFailed = 1, CliBadInput = 2 };

// Parses args for the subcommand name, whose options the caller has added to parser, and
// checks that exactly `positionals` positional arguments were given. Returns -1 when the
// command is to run; otherwise the status to exit with (help printed, or a usage error).
int parseCommand(QCommandLineParser &parser, const QString &name, const QStringList &args,
                 int positionals);

// Prints "taldon-cli: message" on standard error and returns status.
int reportError(int status, const QString &message);

// The setup.cfg of a contest given as its home or as the path of its setup.cfg, as an absolute
// path; empty when there is no such file.
QString findSetupFile(const QString &contest);

#endif
