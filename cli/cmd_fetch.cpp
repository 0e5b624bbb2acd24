#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "getbyftp.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

namespace
{

// The password comes from a file so that it shows neither in the process list nor in the
// shell's history; its first line is the password.
bool readPassword(const QString &path, QString *password)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    *password = QString::fromUtf8(line);
    return true;
}

} // namespace

int cmdFetch(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Downloads DIR from an FTP server into <home>/players, as the fetch "
                       "dialog does."));
    addContestArgument(parser);
    const QCommandLineOption server(QStringLiteral("server"),
                                    QStringLiteral("The server's address or host name."),
                                    QStringLiteral("HOST"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port number or service name (21)."),
                                  QStringLiteral("P"), QStringLiteral("21"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("The user name."),
                                  QStringLiteral("U"));
    const QCommandLineOption passwordFile(
        QStringLiteral("password-file"), QStringLiteral("A file whose first line is the password."),
        QStringLiteral("F"));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("The remote directory, relative to the login "
                                                "directory."),
                                 QStringLiteral("DIR"));
    parser.addOptions({server, port, user, passwordFile, dir});
    const int parsed = parseCommand(parser, QStringLiteral("fetch"), args, 1);
    if (parsed >= 0)
        return parsed;

    for (const QCommandLineOption &required : {server, user, passwordFile, dir}) {
        if (!parser.isSet(required))
            return reportError(CliBadInput,
                               QStringLiteral("fetch: missing --") + required.names().constFirst());
    }
    CSetupInfo setup;
    if (!openContest(QStringLiteral("fetch"), parser, &setup))
        return CliBadInput;
    QString password;
    if (!readPassword(parser.value(passwordFile), &password))
        return reportError(CliBadInput, QStringLiteral("fetch: cannot read password file: ") +
                                            parser.value(passwordFile));
    if (!GetByFTP::isSafeDir(parser.value(dir).toUtf8()))
        return reportError(CliBadInput, QStringLiteral("fetch: --dir must be a relative path "
                                                       "without '..': ") +
                                            parser.value(dir));
    const QString players = setup.getHome() + QStringLiteral("/players");
    if (!QFileInfo(players).isDir())
        return reportError(CliBadInput, QStringLiteral("fetch: no such directory: ") + players);

    GetByFTP ftp;
    ftp.setServer(parser.value(server));
    ftp.setPort(parser.value(port));
    ftp.setName(parser.value(user));
    ftp.setPass(password);
    ftp.setDir(parser.value(dir));
    if (ftp.getDir(players) != 1)
        return reportError(CliFailed, (ftp.reachedDirectory()
                                           ? QStringLiteral("fetch: not everything arrived:\n")
                                           : QStringLiteral("fetch: ")) +
                                          QString::fromUtf8(ftp.failureText()));
    return CliOk;
}
