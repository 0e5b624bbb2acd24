#ifndef TALDON_FTP_GETBYFTP_H
#define TALDON_FTP_GETBYFTP_H

#include <QByteArray>
#include <QList>
#include <QString>

class FtpSession;

// A small blocking FTP client (passive mode, IPv4) that copies one remote directory tree into a
// local directory. It reports its progress as lines on standard output. Every wait on the
// network is bounded by a time-out, and every failure ends as a 0 result, never as the end of
// the process: the caller may hold unsaved work. Nothing goes missing silently: a file that
// cannot be fetched whole, an entry it cannot read or name, fails the download, and the
// failures are kept for the caller to show. The call blocks until the tree is fetched; a second
// session on a thread of its own may share the work meanwhile.
class GetByFTP
{
public:
    // Long enough for a slow server to answer, short enough that a stalled one does not hold
    // the window for minutes.
    static constexpr int DefaultTimeoutMs = 30000;
    // How long a second session may take to be let in before the first goes on alone.
    static constexpr int SecondSessionMs = 3000;

    GetByFTP();
    GetByFTP(const GetByFTP &) = delete;
    GetByFTP &operator=(const GetByFTP &) = delete;

    void setServer(const QString &s) { server = s.toUtf8(); }
    void setPort(const QString &p) { port = p.toUtf8(); }
    void setName(const QString &n) { name = n.toUtf8(); }
    void setPass(const QString &p) { pass = p.toUtf8(); }
    void setDir(const QString &d) { dir = d.toUtf8(); }
    // The time-out in milliseconds for connecting and for every single read or write.
    void setTimeout(int ms) { timeoutMs = ms; }

    // Downloads the remote directory `dir` into <current directory>/<dir>; 1 on success.
    int getDir();
    // The same into <localBase>/<dir>, leaving the process's current directory alone.
    int getDir(const QString &localBase);

    // The failures of the last getDir, one per line, for callers that report them elsewhere.
    QByteArray failureText() const { return failures.join('\n'); }
    // Whether the last getDir entered the remote directory, so that its failures are about
    // entries of the tree rather than the settings.
    bool reachedDirectory() const { return reached; }

    // A requested directory whose local mirror stays below the local base.
    static bool isSafeDir(const QByteArray &dir);

private:
    int fetch(const QString &localBase);
    bool help(FtpSession *second);
    void fail(const QByteArray &text);

    QList<QByteArray> failures;
    bool reached = false;
    int timeoutMs = DefaultTimeoutMs;
    QByteArray server;
    QByteArray port = "21";
    QByteArray name;
    QByteArray pass;
    QByteArray dir;
};

#endif
