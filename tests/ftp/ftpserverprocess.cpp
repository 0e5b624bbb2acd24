#include "ftpserverprocess.h"

FtpServerProcess::~FtpServerProcess()
{
    if (process.state() == QProcess::NotRunning)
        return;
    // A polite stop first: the launcher of the real servers then stops its server and cleans up.
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool FtpServerProcess::start(const QString &script, const QStringList &args)
{
    // Debian's interpreter, which has the FTP server module; another python3 may come first on
    // PATH.
    const QString path = qEnvironmentVariable("TALDON_SOURCE_DIR") + "/tests/ftp/" + script;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{path} + args);
    if (!process.waitForStarted(10000)) {
        error = process.errorString();
        return false;
    }
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(15000)) {
            process.waitForFinished(1000);
            // 77: the launcher's status for a server that is not installed.
            missing = process.state() == QProcess::NotRunning && process.exitCode() == 77;
            error = missing ? args.value(0) + " is not installed (sh scripts/bootstrap.sh test "
                                              "unpacks it)"
                            : "no port from " + script;
            return false;
        }
    }
    serverPort = QString::fromUtf8(process.readLine()).trimmed();
    return !serverPort.isEmpty();
}
