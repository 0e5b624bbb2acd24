#ifndef TALDON_FTP_FTPSESSION_H
#define TALDON_FTP_FTPSESSION_H

#include "ftpconnection.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <deque>
#include <mutex>

struct FtpListEntry;
class FtpJobs;

// One logged-in session that mirrors remote directories into local ones. The subdirectories of
// the requested directory go to a queue shared with other sessions, from which each session
// takes the next while it has work; below them a session walks the tree by itself. Entries that
// do not arrive are recorded and the walk goes on.
class FtpSession
{
public:
    // One subdirectory to mirror.
    struct Job {
        QByteArray remote; // absolute path on the server, in the server's bytes
        QString local;
        bool isLink = false;
        int depth = 0;
    };

    FtpSession(FtpJobs *jobs, int timeoutMs);
    FtpSession(const FtpSession &) = delete;
    FtpSession &operator=(const FtpSession &) = delete;

    void setTimeout(int ms) { conn.setTimeout(ms); }
    // Connects, logs in and asks for binary transfers.
    bool open(const QByteArray &server, const QByteArray &port, const QByteArray &name,
              const QByteArray &pass);
    // Enters dir (relative to the login directory) and fetches its files into local, queueing
    // its subdirectories; false when it cannot be entered or listed.
    bool fetchTop(const QByteArray &dir, const QString &local);
    // Mirrors queued subdirectories until the queue is empty.
    void work();
    void quit();

    const QList<QByteArray> &failureList() const { return failures; }
    bool broken() const { return conn.broken(); }
    bool isIncomplete() const { return incomplete; }

private:
    enum class Outcome { Fetched, Failed, Refused };

    bool Login(const QByteArray &user, const QByteArray &password);
    bool List(QByteArray *out);
    bool Pwd(QByteArray *out);
    bool Cd(const QByteArray &directory);
    Outcome Get(const FtpListEntry &entry, const QString &localDir);
    QByteArray receiveFile(const QString &path, qint64 announced, qint64 listed);
    bool GetDir(const QByteArray &directory, const QString &local, int depth);
    void fetchEntries(const QList<FtpListEntry> &entries, const QString &local,
                      const QByteArray &serverPath, int depth);
    void fetchDir(const Job &job);
    void fail(const QByteArray &text);
    void missing(const QByteArray &text);

    FtpConnection conn;
    FtpJobs *jobs;
    QList<QByteArray> failures;
    bool incomplete = false;
};

// The subdirectories waiting for a session, shared between threads.
class FtpJobs
{
public:
    void push(FtpSession::Job job);
    bool pop(FtpSession::Job *job);
    std::size_t size();

private:
    std::mutex mutex;
    std::deque<FtpSession::Job> queue;
};

#endif
