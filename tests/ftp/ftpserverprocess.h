#ifndef TALDON_TESTS_FTPSERVERPROCESS_H
#define TALDON_TESTS_FTPSERVERPROCESS_H

#include <QProcess>
#include <QStringList>

// Runs one of the test FTP servers of this folder on 127.0.0.1 and stops it when destroyed.
// The scripts print their port once they listen, so start() returns when connections are
// accepted.
class FtpServerProcess
{
public:
    ~FtpServerProcess();
    // script: a file name in tests/ftp; false when the server did not come up.
    bool start(const QString &script, const QStringList &args);
    QString port() const { return serverPort; }
    QString errorText() const { return error; }
    // After a failed start: the server is not installed on this machine, so the test skips.
    bool unavailable() const { return missing; }

private:
    QProcess process;
    QString serverPort;
    QString error;
    bool missing = false;
};

// Starts server in a test function, skipping the test when the server is not installed.
#define START_FTP_SERVER(server, script, args)                                                     \
    do {                                                                                           \
        if (!(server).start(script, args)) {                                                       \
            if ((server).unavailable())                                                            \
                QSKIP(qPrintable((server).errorText()));                                           \
            QFAIL(qPrintable((server).errorText()));                                               \
        }                                                                                          \
    } while (false)

#endif
