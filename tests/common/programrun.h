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

// Runs program with args in workDir, with no input; evaluations take a while, so the bound is
// generous. The outputs are kept also for a run that failed, to say why.
inline ProgramRun runProgram(const QString &program, const QStringList &args,
                             const QString &workDir = QString(), int waitMs = 120000)
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, args);
    process.closeWriteChannel();
    const bool ended =
        process.waitForFinished(waitMs) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
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
