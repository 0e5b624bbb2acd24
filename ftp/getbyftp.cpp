#include "getbyftp.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

// A reply of the control connection larger than this is taken as a misbehaving server rather
// than read into memory without end; listings and files have no such bound.
constexpr int MaxReplyBytes = 1 << 20;
// A server that lists a directory inside itself (a link loop) must not recurse for ever.
constexpr int MaxDepth = 64;
constexpr int BlockSize = 1 << 16;

void say(const QByteArray &text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

QByteArray errnoText()
{
    return QByteArray(std::strerror(errno));
}

bool hasLineBreak(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

} // namespace

GetByFTP::GetByFTP() = default;

GetByFTP::~GetByFTP()
{
    closeSock(&dataSock);
    closeSock(&controlSock);
}

void GetByFTP::fail(const QByteArray &text)
{
    say(text);
    if (failure.isEmpty())
        failure = text.trimmed();
}

void GetByFTP::closeSock(int *sock)
{
    if (*sock < 0)
        return;
    if (::close(*sock) != 0)
        say("close failed: " + errnoText() + "\n");
    *sock = -1;
}

bool GetByFTP::waitFor(int sock, short events)
{
    pollfd p{sock, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, timeoutMs);
        if (r > 0)
            return true;
        if (r == 0) {
            fail("timed out after " + QByteArray::number(timeoutMs) + " ms\n");
            return false;
        }
        if (errno != EINTR) {
            fail("poll failed: " + errnoText() + "\n");
            return false;
        }
    }
}

// Connects one address without blocking, so that the connect is bounded by the time-out too.
int GetByFTP::connectOne(const addrinfo *a)
{
    int sock = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (sock < 0) {
        fail("In function ConnectServer:socket call failed.\n");
        return -1;
    }
    int flags = ::fcntl(sock, F_GETFL);
    bool ok = flags >= 0 && ::fcntl(sock, F_SETFL, flags | O_NONBLOCK) == 0;
    if (ok && ::connect(sock, a->ai_addr, a->ai_addrlen) != 0) {
        ok = errno == EINPROGRESS && waitFor(sock, POLLOUT);
        int err = 0;
        socklen_t len = sizeof err;
        if (ok && (::getsockopt(sock, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0)) {
            errno = err ? err : errno;
            ok = false;
        }
    }
    if (!ok) {
        fail("In function ConnectServer:connect call failed: " + errnoText() + "\n");
        closeSock(&sock);
    }
    return sock;
}

int GetByFTP::ConnectServer(const QByteArray &host, const QByteArray &service)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo *list = nullptr;
    int rc = ::getaddrinfo(host.isEmpty() ? nullptr : host.constData(), service.constData(), &hints,
                           &list);
    if (rc != 0) {
        fail("unknown host or service: " + host + " " + service + ": " + ::gai_strerror(rc) + "\n");
        return -1;
    }
    int sock = -1;
    for (const addrinfo *a = list; a && sock < 0; a = a->ai_next)
        sock = connectOne(a);
    ::freeaddrinfo(list);
    return sock;
}

// The sockets do not block: a read is tried first and waited for only when nothing is there.
int GetByFTP::receive(int sock, char *buf, int size)
{
    for (;;) {
        ssize_t n = ::recv(sock, buf, size_t(size), 0);
        if (n >= 0)
            return int(n);
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(sock, POLLIN))
                return -1;
        } else if (errno != EINTR) {
            fail("recv failed: " + errnoText() + "\n");
            return -1;
        }
    }
}

bool GetByFTP::sendCommand(const QByteArray &text)
{
    if (broken || controlSock < 0)
        return false;
    const QByteArray line = text + "\r\n";
    qsizetype done = 0;
    while (done < line.size()) {
        // MSG_NOSIGNAL: a peer that has gone away must not end the process with SIGPIPE.
        ssize_t n =
            ::send(controlSock, line.constData() + done, size_t(line.size() - done), MSG_NOSIGNAL);
        if (n >= 0) {
            done += n;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(controlSock, POLLOUT))
                break;
        } else if (errno != EINTR) {
            fail("send failed: " + errnoText() + "\n");
            break;
        }
    }
    if (done < line.size()) {
        broken = true;
        closeSock(&controlSock);
        return false;
    }
    return true;
}

int GetByFTP::ReadLine(QByteArray *line)
{
    char buf[4096];
    int end;
    while ((end = controlBuf.indexOf('\n')) < 0) {
        if (controlBuf.size() > MaxReplyBytes) {
            fail("reply line too long\n");
            return -1;
        }
        int n = receive(controlSock, buf, int(sizeof buf));
        if (n <= 0)
            return n;
        controlBuf.append(buf, n);
    }
    *line = controlBuf.left(end + 1);
    controlBuf.remove(0, end + 1);
    return line->size();
}

// Reads one reply, all lines of a multi-line one. A lost connection marks the session broken;
// the operations then fail one after the other up to getDir.
int GetByFTP::ReadReply()
{
    replyText.clear();
    QByteArray line;
    QByteArray code;
    for (;;) {
        if (broken || controlSock < 0 || ReadLine(&line) <= 0 || replyText.size() > MaxReplyBytes) {
            if (!broken)
                fail("connection to the server lost\n");
            broken = true;
            closeSock(&controlSock);
            return 0;
        }
        replyText += line;
        bool coded = line.size() >= 4 && std::isdigit(uchar(line[0])) &&
                     std::isdigit(uchar(line[1])) && std::isdigit(uchar(line[2]));
        if (code.isEmpty()) {
            if (!coded || line[3] != '-')
                return 1;
            code = line.left(3);
        } else if (coded && line.startsWith(code) && line[3] == ' ') {
            return 1;
        }
    }
}

bool GetByFTP::command(const QByteArray &text)
{
    return sendCommand(text) && ReadReply();
}

bool GetByFTP::CheckCode(const QByteArray &text, const char *code)
{
    return text.startsWith(QByteArray(code, 3));
}

bool GetByFTP::CreateControlLink(const QByteArray &host, const QByteArray &service)
{
    controlBuf.clear();
    controlSock = ConnectServer(host, service);
    if (controlSock < 0)
        return false;
    return ReadReply() && replyText.startsWith('2');
}

bool GetByFTP::Login(const QByteArray &user, const QByteArray &password)
{
    if (!command("USER " + user))
        return false;
    // A server that needs no password answers the user name with 230 at once.
    if (CheckCode(replyText, "230"))
        return true;
    if (!CheckCode(replyText, "331")) {
        fail("In function Login:User name error\n");
        return false;
    }
    if (command("PASS " + password) && CheckCode(replyText, "230"))
        return true;
    fail("In function Login:Password error\n");
    return false;
}

bool GetByFTP::Pasv()
{
    if (!command("PASV"))
        return false;
    if (CheckCode(replyText, "227"))
        return true;
    fail("int Pasv() replytext: " + replyText + "\n");
    return false;
}

bool GetByFTP::ParsePasvReply(const QByteArray &reply, QByteArray *address, int *port)
{
    if (!CheckCode(reply, "227")) {
        say("enter passive mode error!\n");
        return false;
    }
    int open = reply.indexOf('(');
    int close = reply.indexOf(')', open);
    if (open < 0 || close < 0)
        return false;
    const QList<QByteArray> parts = reply.mid(open + 1, close - open - 1).split(',');
    if (parts.size() != 6)
        return false;
    int v[6];
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || v[i] < 0 || v[i] > 255)
            return false;
    }
    *address = QByteArray::number(v[0]) + '.' + QByteArray::number(v[1]) + '.' +
               QByteArray::number(v[2]) + '.' + QByteArray::number(v[3]);
    *port = v[4] * 256 + v[5];
    return true;
}

bool GetByFTP::openData()
{
    QByteArray address;
    int dataPort = 0;
    if (!Pasv() || !ParsePasvReply(replyText, &address, &dataPort))
        return false;
    dataSock = ConnectServer(address, QByteArray::number(dataPort));
    return dataSock >= 0;
}

bool GetByFTP::drainData(const std::function<bool(const char *, int)> &sink)
{
    char buf[BlockSize];
    int n;
    while ((n = receive(dataSock, buf, BlockSize)) > 0) {
        if (!sink(buf, n))
            return false;
    }
    return n == 0;
}

bool GetByFTP::ReadData(QByteArray *out)
{
    out->clear();
    return drainData([out](const char *block, int n) {
        out->append(block, n);
        return true;
    });
}

bool GetByFTP::List(bool print, QByteArray *out)
{
    if (!openData())
        return false;
    if (!command("LIST")) {
        closeSock(&dataSock);
        return false;
    }
    say(" " + replyText);
    bool ok = replyText.startsWith('1') && ReadData(out);
    closeSock(&dataSock);
    if (!ok)
        return false;
    if (print)
        say("Read Data\n " + *out);
    if (!ReadReply())
        return false;
    say(" " + replyText);
    return replyText.startsWith('2');
}

bool GetByFTP::Pwd(bool print, QByteArray *out)
{
    if (!command("PWD"))
        return false;
    if (print)
        say(replyText);
    if (!CheckCode(replyText, "257")) {
        fail("pwd failed\n");
        return false;
    }
    // The path stands between double quotes, a quote inside it doubled.
    out->clear();
    int i = replyText.indexOf('"');
    if (i < 0)
        return false;
    for (++i; i < replyText.size(); ++i) {
        if (replyText[i] == '"') {
            if (i + 1 >= replyText.size() || replyText[i + 1] != '"')
                return true;
            ++i;
        }
        out->append(replyText[i]);
    }
    return false;
}

bool GetByFTP::Cd(const QByteArray &directory)
{
    if (!command("CWD " + directory))
        return false;
    say(replyText);
    if (replyText.startsWith('2'))
        return true;
    fail("can't change to dir " + directory + "\n");
    return false;
}

bool GetByFTP::receiveFile(QSaveFile *file)
{
    if (!file->open(QIODevice::WriteOnly)) {
        fail("can't write local file " + QFile::encodeName(file->fileName()) + ": " +
             file->errorString().toUtf8() + "\n");
        return false;
    }
    return drainData([this, file](const char *block, int n) {
        if (file->write(block, n) == n)
            return true;
        fail("write failed: " + file->errorString().toUtf8() + "\n");
        return false;
    });
}

// The file is written beside its final name and renamed into place only when the server has
// confirmed the whole transfer, so a broken transfer leaves no truncated submission behind.
void GetByFTP::Get(const QByteArray &fileName, const QString &localDir)
{
    bool started = openData() && command("RETR " + fileName);
    if (started) {
        say(replyText);
        started = replyText.startsWith('1');
    }
    if (!started) {
        closeSock(&dataSock);
        fail("No such file :" + fileName + "\n");
        incomplete = true;
        return;
    }
    QSaveFile file(localDir + '/' + QFile::decodeName(fileName));
    bool received = receiveFile(&file);
    closeSock(&dataSock);
    bool confirmed = ReadReply() && replyText.startsWith('2');
    if (!broken)
        say(replyText);
    if (received && confirmed && file.commit())
        return;
    fail("transfer of " + fileName + " failed\n");
    incomplete = true;
}

// Enters `directory` (relative for the requested one, absolute below it) and mirrors it into
// `local`. Subdirectories are entered by absolute path, which spares a CWD back and a PWD for
// every directory of the tree.
bool GetByFTP::GetDir(const QByteArray &directory, const QString &local, int depth)
{
    if (depth > MaxDepth) {
        fail("directory tree too deep at " + directory + "\n");
        return false;
    }
    if (!Cd(directory)) {
        fail("get dir " + directory + " info failed\n");
        return false;
    }
    if (!QDir().mkpath(local)) {
        fail("can't changed dir to " + directory + "\n");
        return false;
    }
    QByteArray serverPath = directory;
    QByteArray listing;
    if (depth == 0 && !Pwd(true, &serverPath))
        return false;
    say("\nserver path:" + serverPath + "\nlocal path: " + QFile::encodeName(local) + "\n");
    if (!List(true, &listing))
        return false;
    fetchEntries(listing, local, serverPath, depth);
    return true;
}

// Files first, while the remote directory is still the listed one; then the subdirectories.
void GetByFTP::fetchEntries(const QByteArray &listing, const QString &local,
                            const QByteArray &serverPath, int depth)
{
    QList<QByteArray> dirs;
    for (QByteArray line : listing.split('\n')) {
        if (broken)
            return;
        if (line.endsWith('\r'))
            line.chop(1);
        FtpListEntry entry;
        if (!ParseListLine(line, &entry))
            continue;
        if (!isSafeName(entry.name)) {
            say("refused unsafe name: " + entry.name + "\n");
        } else if (entry.isDir) {
            dirs << entry.name;
        } else {
            say("FILE: " + entry.name + " \n");
            Get(entry.name, local);
        }
    }
    const QByteArray parent = serverPath.endsWith('/') ? serverPath : serverPath + '/';
    for (const QByteArray &dirName : dirs) {
        if (broken)
            return;
        say("DIR: " + dirName + " \n");
        if (!GetDir(parent + dirName, local + '/' + QFile::decodeName(dirName), depth + 1))
            incomplete = true;
    }
}

void GetByFTP::sessionQuit()
{
    if (!broken && controlSock >= 0)
        command("QUIT");
    closeSock(&controlSock);
}

int GetByFTP::getDir()
{
    return getDir(QDir::currentPath());
}

int GetByFTP::getDir(const QString &localBase)
{
    say("server " + server + " port " + port + " name " + name + " pass ***\n");
    failure.clear();
    if (!isSafeDir(dir)) {
        fail("refused directory name: " + dir + "\n");
        return 0;
    }
    if (hasLineBreak(server + port + name + pass)) {
        fail("refused settings with line breaks\n");
        return 0;
    }
    broken = false;
    incomplete = false;
    if (!CreateControlLink(server, port)) {
        say("can't connect to " + server + ":" + port + "\n");
        closeSock(&controlSock);
        return 0;
    }
    if (!Login(name, pass)) {
        fail("user name " + name + " and password *** error\n");
        sessionQuit();
        return 0;
    }
    // Image type: the default ASCII type rewrites line ends, and files must arrive unchanged.
    if (!command("TYPE I") || !replyText.startsWith('2')) {
        fail("binary transfer type refused: " + replyText);
        sessionQuit();
        return 0;
    }
    bool entered = GetDir(dir, localBase + '/' + QFile::decodeName(dir), 0);
    sessionQuit();
    if (entered && (broken || incomplete))
        fail("some entries were not fetched\n");
    return entered && !broken && !incomplete ? 1 : 0;
}

static bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool GetByFTP::ParseListLine(const QByteArray &line, FtpListEntry *entry)
{
    int i = 0;
    QByteArray permissions;
    for (int field = 0; field < 8; ++field) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        int start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i == start)
            return false;
        if (field == 0)
            permissions = line.mid(start, i - start);
    }
    while (i < line.size() && isBlank(line[i]))
        ++i;
    QByteArray rest = line.mid(i);
    if (permissions.startsWith('l')) {
        int arrow = rest.indexOf(" -> ");
        if (arrow >= 0)
            rest.truncate(arrow);
    }
    if (rest.isEmpty())
        return false;
    entry->name = rest;
    entry->isDir = permissions.startsWith('d');
    return true;
}

bool GetByFTP::isSafeName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !hasLineBreak(name);
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
