#ifndef TALDON_TESTS_COMMON_PROGRAMRUN_H
#define TALDON_TESTS_COMMON_PROGRAMRUN_H

#include <QProcess>

// What a program run gave back; status is -1 when it did not finish or crashed.
struct ProgramRun {
    int status = -1;
    QByteArray out;
    QString err;

    QString outText() const { return QString::fromUtf8(out); }
};

// Runs program with args in workDir; evaluations take a while, so the bound is generous.
inline ProgramRun runProgram(const QString &program, const QStringList &args,
                             const QString &workDir = QString())
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline QString cliPath()
{
    return qEnvironmentVariable("TALDON_BINARY_DIR") + QStringLiteral("/cli/taldon-cli");
}

inline ProgramRun runCli(const QStringList &args)
{
    return runProgram(cliPath(), args);
}

#endif
