#ifndef TALDON_CLI_COMMANDS_H
#define TALDON_CLI_COMMANDS_H

#include <QStringList>

// The subcommands of taldon-cli. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 the operation failed, 2 bad usage or bad input (nothing changed on disk).

int cmdNew(const QStringList &args);
int cmdShow(const QStringList &args);
int cmdSave(const QStringList &args);
int cmdEval(const QStringList &args);
int cmdResults(const QStringList &args);
int cmdTeams(const QStringList &args);
int cmdReport(const QStringList &args);
int cmdFetch(const QStringList &args);
int cmdSandboxCheck(const QStringList &args);
int cmdWritten(const QStringList &args);

#endif
