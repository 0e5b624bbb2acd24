#ifndef TALDON_FTP_GETBYFTP_H
#define TALDON_FTP_GETBYFTP_H

#include <QByteArray>
#include <QString>

#include <functional>

class QSaveFile;
struct addrinfo;

// One entry of a long-form directory listing, as the download needs it.
struct FtpListEntry {
    QByteArray name;
    bool isDir = false;
};

// A small blocking FTP client (passive mode, IPv4) that copies one remote directory tree into a
// local directory. It reports its progress as lines on standard output. Every wait on the
// network is bounded by a time-out, and every failure ends as a 0 result, never as the end of
// the process: the caller may hold unsaved work.
class GetByFTP
{
public:
    // Long enough for a slow server to answer, short enough that a stalled one does not hold
    // the window for minutes.
    static constexpr int DefaultTimeoutMs = 30000;

    GetByFTP();
    ~GetByFTP();
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

    // The first failure of the last getDir, for callers that report it elsewhere.
    QByteArray failureText() const { return failure; }

    // "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)" to "h1.h2.h3.h4" and p1 * 256 + p2.
    static bool ParsePasvReply(const QByteArray &reply, QByteArray *address, int *port);
    // A listing line in long form; false for lines of fewer than nine fields ("total 12").
    static bool ParseListLine(const QByteArray &line, FtpListEntry *entry);
    // A remote entry name that stays inside the directory it is listed in.
    static bool isSafeName(const QByteArray &name);
    // A requested directory whose local mirror stays below the local base.
    static bool isSafeDir(const QByteArray &dir);

private:
    int ConnectServer(const QByteArray &host, const QByteArray &service);
    int connectOne(const addrinfo *a);
    bool waitFor(int sock, short events);
    int receive(int sock, char *buf, int size);
    bool sendCommand(const QByteArray &command);
    int ReadLine(QByteArray *line);
    int ReadReply();
    bool command(const QByteArray &text);
    static bool CheckCode(const QByteArray &text, const char *code);
    bool CreateControlLink(const QByteArray &host, const QByteArray &service);
    bool Login(const QByteArray &user, const QByteArray &password);
    bool Pasv();
    bool openData();
    // Reads the data link to its end, handing each block to sink; false when the link fails or
    // sink refuses a block.
    bool drainData(const std::function<bool(const char *, int)> &sink);
    bool ReadData(QByteArray *out);
    bool List(bool print, QByteArray *out);
    bool Pwd(bool print, QByteArray *out);
    bool Cd(const QByteArray &directory);
    void Get(const QByteArray &fileName, const QString &localDir);
    bool receiveFile(QSaveFile *file);
    bool GetDir(const QByteArray &directory, const QString &local, int depth);
    void fetchEntries(const QByteArray &listing, const QString &local, const QByteArray &serverPath,
                      int depth);
    void sessionQuit();
    void closeSock(int *sock);
    void fail(const QByteArray &text);

    QByteArray replyText;
    QByteArray controlBuf;
    int controlSock = -1;
    int dataSock = -1;
    bool broken = false;
    bool incomplete = false;
    QByteArray failure;
    int timeoutMs = DefaultTimeoutMs;
    QByteArray server;
    QByteArray port = "21";
    QByteArray name;
    QByteArray pass;
    QByteArray dir;
};

#endif
