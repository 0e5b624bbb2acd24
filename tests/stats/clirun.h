#ifndef TALDON_TESTS_STATS_CLIRUN_H
#define TALDON_TESTS_STATS_CLIRUN_H

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// A finished run of the built taldon-cli: exit status (-1 when it did not finish within 30 s)
// and what it wrote.
struct CliRun {
    int status;
    QByteArray out;
    QByteArray err;
};

inline CliRun runCli(const QStringList &args)
{
    QProcess cli;
    cli.start(qEnvironmentVariable("TALDON_BINARY_DIR") + "/cli/taldon-cli", args);
    if (!cli.waitForFinished(30000))
        return {-1, {}, "did not finish"};
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

// The standard output of a successful run; a marker that matches no real output otherwise.
inline QByteArray cliOutput(const QStringList &args)
{
    const CliRun run = runCli(args);
    return run.status == 0 ? run.out : QByteArray("<taldon-cli failed>");
}

#endif
