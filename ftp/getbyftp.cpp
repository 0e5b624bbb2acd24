#include "getbyftp.h"

#include "ftpsession.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <thread>

namespace
{

bool hasLineBreak(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

} // namespace

GetByFTP::GetByFTP() = default;

void GetByFTP::fail(const QByteArray &text)
{
    FtpConnection::say(text);
    failures << text.trimmed();
}

int GetByFTP::getDir()
{
    return getDir(QDir::currentPath());
}

int GetByFTP::getDir(const QString &localBase)
{
    const int result = fetch(localBase);
    std::fflush(stdout);
    return result;
}

int GetByFTP::fetch(const QString &localBase)
{
    FtpConnection::say("server " + server + " port " + port + " name " + name + " pass ***\n");
    failures.clear();
    reached = false;
    if (!isSafeDir(dir)) {
        fail("refused directory name: " + dir + "\n");
        return 0;
    }
    if (hasLineBreak(server + port + name + pass)) {
        fail("refused settings with line breaks\n");
        return 0;
    }
    FtpJobs jobs;
    FtpSession first(&jobs, timeoutMs);
    FtpSession second(&jobs, timeoutMs);
    if (!first.open(server, port, name, pass)) {
        failures = first.failureList();
        return 0;
    }
    reached = first.fetchTop(dir, localBase + '/' + QFile::decodeName(dir));
    bool helped = false;
    std::thread helper;
    if (reached && jobs.size() > 1)
        helper = std::thread([this, &second, &helped] { helped = help(&second); });
    first.work();
    if (helper.joinable())
        helper.join();
    first.quit();
    failures = first.failureList();
    if (helped)
        failures += second.failureList();
    const bool lost = first.broken() || (helped && second.broken());
    const bool incomplete = first.isIncomplete() || (helped && second.isIncomplete());
    if (reached && (lost || incomplete))
        fail("some entries were not fetched\n");
    return reached && !lost && !incomplete ? 1 : 0;
}

// The subdirectories are shared with a second session: most of a fetch is waiting for the
// server's answers, and two sessions wait side by side. A server that refuses a second session,
// or keeps it waiting, leaves all to the first; the short time-out bounds the wait. True when
// the session got in, and so its failures count.
bool GetByFTP::help(FtpSession *second)
{
    second->setTimeout(qMin(timeoutMs, SecondSessionMs));
    const bool in = second->open(server, port, name, pass);
    if (in) {
        second->setTimeout(timeoutMs);
        second->work();
    } else {
        FtpConnection::say("no second session; one session fetches everything\n");
    }
    second->quit();
    return in;
}

bool GetByFTP::isSafeDir(const QByteArray &dir)
{
    if (dir.isEmpty() || dir.startsWith('/') || hasLineBreak(dir))
        return false;
    for (const QByteArray &part : dir.split('/')) {
        if (part == "..")
            return false;
    }
    return true;
}
