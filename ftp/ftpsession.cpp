#include "ftpsession.h"

#include "ftplisting.h"
#include "partfile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace
{

// A server that lists a directory inside itself (a link loop) must not recurse for ever.
constexpr int MaxDepth = 64;

// The size announced by a 150 reply, "150 Opening BINARY mode data connection for x (6 bytes)";
// -1 when it names none.
qint64 announcedSize(const QByteArray &reply)
{
    static const QRegularExpression bytes(QStringLiteral("\\((\\d+) bytes\\)"));
    const auto match = bytes.match(QString::fromLatin1(reply));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

} // namespace

FtpSession::FtpSession(FtpJobs *queue, int timeoutMs)
    : conn([this](const QByteArray &text) { fail(text); }), jobs(queue)
{
    conn.setTimeout(timeoutMs);
}

bool FtpSession::open(const QByteArray &server, const QByteArray &port, const QByteArray &name,
                      const QByteArray &pass)
{
    if (!conn.open(server, port)) {
        FtpConnection::say("can't connect to " + server + ":" + port + "\n");
        conn.quit();
        return false;
    }
    if (!Login(name, pass)) {
        fail("user name " + name + " and password *** error\n");
        conn.quit();
        return false;
    }
    // Image type: the default ASCII type rewrites line ends, and files must arrive unchanged.
    if (!conn.command("TYPE I") || !conn.reply().startsWith('2')) {
        fail("binary transfer type refused: " + conn.reply());
        conn.quit();
        return false;
    }
    return true;
}

void FtpSession::quit()
{
    conn.quit();
}

void FtpSession::fail(const QByteArray &text)
{
    FtpConnection::say(text);
    failures << text.trimmed();
}

// An entry of the tree that did not arrive: the download goes on, but fails in the end.
void FtpSession::missing(const QByteArray &text)
{
    fail(text);
    incomplete = true;
}

bool FtpSession::Login(const QByteArray &user, const QByteArray &password)
{
    if (!conn.command("USER " + user))
        return false;
    // A server that needs no password answers the user name with 230 at once.
    if (conn.replyIs("230"))
        return true;
    if (!conn.replyIs("331")) {
        fail("In function Login:User name error: " + conn.reply().trimmed() + "\n");
        return false;
    }
    if (conn.command("PASS " + password) && conn.replyIs("230"))
        return true;
    fail("In function Login:Password error: " + conn.reply().trimmed() + "\n");
    return false;
}

bool FtpSession::List(QByteArray *out)
{
    if (!conn.openData())
        return false;
    if (!conn.command("LIST")) {
        conn.closeData();
        return false;
    }
    FtpConnection::say(" " + conn.reply());
    out->clear();
    bool ok = conn.reply().startsWith('1') && conn.drainData([out](const char *block, int n) {
        out->append(block, n);
        return true;
    });
    conn.closeData();
    if (!ok || !conn.readReply())
        return false;
    FtpConnection::say(" " + conn.reply());
    return conn.reply().startsWith('2');
}

bool FtpSession::Pwd(QByteArray *out)
{
    if (!conn.command("PWD"))
        return false;
    const QByteArray &reply = conn.reply();
    FtpConnection::say(reply);
    if (!conn.replyIs("257")) {
        fail("pwd failed: " + reply.trimmed() + "\n");
        return false;
    }
    // The path stands between double quotes, a quote inside it doubled.
    out->clear();
    int i = reply.indexOf('"');
    if (i < 0)
        return false;
    for (++i; i < reply.size(); ++i) {
        if (reply[i] == '"') {
            if (i + 1 >= reply.size() || reply[i + 1] != '"')
                return true;
            ++i;
        }
        out->append(reply[i]);
    }
    return false;
}

bool FtpSession::Cd(const QByteArray &directory)
{
    if (!conn.command("CWD " + directory))
        return false;
    FtpConnection::say(conn.reply());
    return conn.reply().startsWith('2');
}

// The file is written beside its final name and renamed into place only when the server has
// confirmed the transfer and every byte announced and listed has arrived, so a broken transfer
// leaves no truncated submission behind (a server may say 226 after a cut data link). Returns
// why the file failed, or nothing.
QByteArray FtpSession::receiveFile(const QString &path, qint64 announced, qint64 listed)
{
    PartFile file(path);
    QByteArray problem;
    if (!file.open())
        problem = file.errorText();
    qint64 received = 0;
    const bool drained = conn.drainData([&](const char *block, int n) {
        received += n;
        if (problem.isEmpty() && !file.write(block, n))
            problem = file.errorText();
        return problem.isEmpty();
    });
    conn.closeData();
    const bool confirmed = conn.readReply() && conn.reply().startsWith('2');
    if (!conn.broken())
        FtpConnection::say(conn.reply());
    if (problem.isEmpty() && !drained)
        problem = "the data link failed";
    if (problem.isEmpty() && !confirmed)
        problem = "the server did not confirm it: " + conn.reply().trimmed();
    for (qint64 expected : {announced, listed}) {
        if (problem.isEmpty() && expected >= 0 && expected != received)
            problem = "cut short: " + QByteArray::number(received) + " of " +
                      QByteArray::number(expected) + " bytes arrived";
    }
    if (problem.isEmpty() && !file.commit())
        problem = file.errorText();
    return problem;
}

FtpSession::Outcome FtpSession::Get(const FtpListEntry &entry, const QString &localDir)
{
    const QByteArray shown = FtpListing::shown(entry.name);
    bool started = conn.openData() && conn.command("RETR " + entry.name);
    if (started) {
        FtpConnection::say(conn.reply());
        started = conn.reply().startsWith('1');
    }
    if (!started) {
        conn.closeData();
        if (entry.isLink && conn.reply().startsWith('5'))
            return Outcome::Refused;
        missing("No such file :" + shown + "\n");
        return Outcome::Failed;
    }
    const QByteArray problem =
        receiveFile(localDir + '/' + entry.localName, announcedSize(conn.reply()), entry.size);
    if (problem.isEmpty())
        return Outcome::Fetched;
    missing("transfer of " + shown + " failed: " + problem + "\n");
    return Outcome::Failed;
}

// Enters `directory` (relative for the requested one, absolute below it) and mirrors it into
// `local`. Subdirectories are entered by absolute path, which spares a CWD back and a PWD for
// every directory of the tree.
bool FtpSession::GetDir(const QByteArray &directory, const QString &local, int depth)
{
    const QByteArray shown = FtpListing::shown(directory);
    if (depth > MaxDepth) {
        fail("directory tree too deep at " + shown + "\n");
        return false;
    }
    if (!Cd(directory)) {
        fail("get dir " + shown + " info failed: " + conn.reply().trimmed() + "\n");
        return false;
    }
    if (!QDir().mkpath(local)) {
        fail("can't make the local directory " + QFile::encodeName(local) + "\n");
        return false;
    }
    QByteArray serverPath = directory;
    QByteArray data;
    if (depth == 0 && !Pwd(&serverPath))
        return false;
    FtpConnection::say("\nserver path:" + serverPath + "\nlocal path: " + QFile::encodeName(local) +
                       "\n");
    if (!List(&data)) {
        fail("listing of " + shown + " failed\n");
        return false;
    }
    FtpListing listing;
    const bool readable = listing.read(data);
    for (const QByteArray &problem : listing.problems())
        fail("in " + shown + ": " + problem + "\n");
    if (!readable)
        return false;
    if (!listing.problems().isEmpty())
        incomplete = true;
    for (const QByteArray &refused : listing.refused())
        FtpConnection::say("refused unsafe name: " + FtpListing::shown(refused) + "\n");
    fetchEntries(listing.entries(), local, serverPath, depth);
    return true;
}

// Files first, while the remote directory is still the listed one; then the subdirectories,
// and the links that RETR refused, which are tried as directories.
void FtpSession::fetchEntries(const QList<FtpListEntry> &entries, const QString &local,
                              const QByteArray &serverPath, int depth)
{
    QList<FtpListEntry> dirs;
    for (const FtpListEntry &entry : entries) {
        if (conn.broken())
            return;
        if (entry.isDir) {
            dirs << entry;
            continue;
        }
        FtpConnection::say("FILE: " + entry.localName.toUtf8() + " \n");
        if (Get(entry, local) == Outcome::Refused)
            dirs << entry;
    }
    const QByteArray parent = serverPath.endsWith('/') ? serverPath : serverPath + '/';
    for (const FtpListEntry &entry : dirs) {
        Job job{parent + entry.name, local + '/' + entry.localName, entry.isLink, depth + 1};
        if (depth == 0) {
            jobs->push(std::move(job));
        } else if (!conn.broken()) {
            fetchDir(job);
        }
    }
}

void FtpSession::fetchDir(const Job &job)
{
    const QByteArray shown = FtpListing::shown(job.remote.mid(job.remote.lastIndexOf('/') + 1));
    FtpConnection::say("DIR: " + shown + " \n");
    if (!GetDir(job.remote, job.local, job.depth))
        missing(job.isLink ? "the link " + shown +
                                 " is neither a file nor a directory that can be fetched\n"
                           : "the directory " + shown + " was not fetched\n");
}

bool FtpSession::fetchTop(const QByteArray &dir, const QString &local)
{
    return GetDir(dir, local, 0);
}

void FtpSession::work()
{
    Job job;
    while (!conn.broken() && jobs->pop(&job))
        fetchDir(job);
}

void FtpJobs::push(FtpSession::Job job)
{
    std::lock_guard<std::mutex> lock(mutex);
    queue.push_back(std::move(job));
}

bool FtpJobs::pop(FtpSession::Job *job)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (queue.empty())
        return false;
    *job = std::move(queue.front());
    queue.pop_front();
    return true;
}

std::size_t FtpJobs::size()
{
    std::lock_guard<std::mutex> lock(mutex);
    return queue.size();
}
