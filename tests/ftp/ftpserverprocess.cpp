#include "ftpserverprocess.h"

#include <QDir>

FtpServerProcess::~FtpServerProcess()
{
    if (process.state() != QProcess::NotRunning) {
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
            error = QStringLiteral("no port from ") + script;
            return false;
        }
    }
    serverPort = QString::fromUtf8(process.readLine()).trimmed();
    return !serverPort.isEmpty();
}
