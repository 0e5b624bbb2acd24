#include "ftpconnection.h"

#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace
{

// A reply of the control connection larger than this is taken as a misbehaving server rather
// than read into memory without end; listings and files have no such bound.
constexpr int MaxReplyBytes = 1 << 20;
constexpr int BlockSize = 1 << 16;

QByteArray errnoText(int error)
{
    return QByteArray(std::strerror(error));
}

} // namespace

FtpConnection::FtpConnection(Reporter reporter) : fail(std::move(reporter)) {}

FtpConnection::~FtpConnection()
{
    closeSock(&dataSock);
    closeSock(&controlSock);
}

// Not flushed line by line: a terminal gets whole lines anyway, and a file or pipe would
// otherwise cost a system call per line of a long tree.
void FtpConnection::say(const QByteArray &text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

void FtpConnection::closeSock(int *sock)
{
    if (*sock < 0)
        return;
    if (::close(*sock) != 0)
        say("close failed: " + errnoText(errno) + "\n");
    *sock = -1;
}

// The sockets block, each read, write and connect bounded by the socket's time-outs: one system
// call per step, where polling a non-blocking socket would take two or three.
bool FtpConnection::setTimeouts(int sock, int sendMs, int receiveMs)
{
    const timeval send{sendMs / 1000, (sendMs % 1000) * 1000};
    const timeval receive{receiveMs / 1000, (receiveMs % 1000) * 1000};
    return ::setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof send) == 0 &&
           ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &receive, sizeof receive) == 0;
}

void FtpConnection::setTimeout(int ms)
{
    timeoutMs = ms;
    if (controlSock >= 0 && !setTimeouts(controlSock, ms, ms))
        fail("setsockopt failed: " + errnoText(errno) + "\n");
}

QByteArray FtpConnection::ioError(int error) const
{
    if (error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS)
        return "timed out after " + QByteArray::number(timeoutMs) + " ms";
    return errnoText(error);
}

int FtpConnection::connectOne(const addrinfo *a, int ms, QByteArray *error)
{
    int sock = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (sock < 0) {
        *error = "In function ConnectServer:socket call failed: " + errnoText(errno);
        return -1;
    }
    QByteArray why;
    if (!setTimeouts(sock, ms, timeoutMs)) {
        why = "setsockopt: " + errnoText(errno);
    } else {
        int r;
        while ((r = ::connect(sock, a->ai_addr, a->ai_addrlen)) != 0 && errno == EINTR) {
        }
        if (r != 0)
            why = errno == EINPROGRESS ? "timed out after " + QByteArray::number(ms) + " ms"
                                       : errnoText(errno);
        else if (!setTimeouts(sock, timeoutMs, timeoutMs))
            why = "setsockopt: " + errnoText(errno);
    }
    if (!why.isEmpty()) {
        *error = "In function ConnectServer:connect call failed: " + why;
        closeSock(&sock);
    }
    return sock;
}

int FtpConnection::connectTo(const QByteArray &host, const QByteArray &service, int ms,
                             QByteArray *error)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo *list = nullptr;
    int rc = ::getaddrinfo(host.isEmpty() ? nullptr : host.constData(), service.constData(), &hints,
                           &list);
    if (rc != 0) {
        *error = "unknown host or service: " + host + " " + service + ": " + ::gai_strerror(rc);
        return -1;
    }
    int sock = -1;
    for (const addrinfo *a = list; a && sock < 0; a = a->ai_next) {
        error->clear();
        sock = connectOne(a, ms, error);
    }
    ::freeaddrinfo(list);
    return sock;
}

bool FtpConnection::open(const QByteArray &host, const QByteArray &service)
{
    controlBuf.clear();
    lost = false;
    passiveToPeer = false;
    QByteArray error;
    controlSock = connectTo(host, service, timeoutMs, &error);
    if (controlSock < 0) {
        fail(error + "\n");
        return false;
    }
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    char text[INET_ADDRSTRLEN] = "";
    if (::getpeername(controlSock, reinterpret_cast<sockaddr *>(&addr), &len) != 0 ||
        !::inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text)) {
        fail("getpeername failed: " + errnoText(errno) + "\n");
        return false;
    }
    peer = text;
    if (!readReply())
        return false;
    if (replyText.startsWith('2'))
        return true;
    // "421 Too many users" and the like: the server's own words are the reason.
    fail("the server refused the session: " + replyText.trimmed() + "\n");
    return false;
}

int FtpConnection::receive(int sock, char *buf, int size)
{
    for (;;) {
        ssize_t n = ::recv(sock, buf, size_t(size), 0);
        if (n >= 0)
            return int(n);
        if (errno != EINTR) {
            fail("recv failed: " + ioError(errno) + "\n");
            return -1;
        }
    }
}

void FtpConnection::dropControl()
{
    lost = true;
    closeSock(&controlSock);
}

bool FtpConnection::sendLine(const QByteArray &line)
{
    qsizetype done = 0;
    while (done < line.size()) {
        // MSG_NOSIGNAL: a peer that has gone away must not end the process with SIGPIPE.
        ssize_t n =
            ::send(controlSock, line.constData() + done, size_t(line.size() - done), MSG_NOSIGNAL);
        if (n >= 0) {
            done += n;
        } else if (errno != EINTR) {
            fail("send failed: " + ioError(errno) + "\n");
            return false;
        }
    }
    return true;
}

bool FtpConnection::command(const QByteArray &text)
{
    if (lost || controlSock < 0)
        return false;
    if (!sendLine(text + "\r\n")) {
        dropControl();
        return false;
    }
    return readReply();
}

int FtpConnection::readLine(QByteArray *line)
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

// Reads one reply, all lines of a multi-line one.
bool FtpConnection::readReply()
{
    replyText.clear();
    QByteArray line;
    QByteArray code;
    for (;;) {
        if (lost || controlSock < 0 || readLine(&line) <= 0 || replyText.size() > MaxReplyBytes) {
            if (!lost)
                fail("connection to the server lost\n");
            dropControl();
            return false;
        }
        replyText += line;
        bool coded = line.size() >= 4 && std::isdigit(uchar(line[0])) &&
                     std::isdigit(uchar(line[1])) && std::isdigit(uchar(line[2]));
        if (code.isEmpty()) {
            if (!coded || line[3] != '-')
                return true;
            code = line.left(3);
        } else if (coded && line.startsWith(code) && line[3] == ' ') {
            return true;
        }
    }
}

void FtpConnection::quit()
{
    if (!lost && controlSock >= 0)
        command("QUIT");
    closeSock(&dataSock);
    closeSock(&controlSock);
}

bool FtpConnection::parsePasvReply(const QByteArray &reply, QByteArray *address, int *port)
{
    if (!reply.startsWith("227")) {
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

bool FtpConnection::isInternal(const QByteArray &address)
{
    in_addr a{};
    if (::inet_pton(AF_INET, address.constData(), &a) != 1)
        return false;
    const quint32 ip = ntohl(a.s_addr);
    return ip == 0 || (ip >> 24) == 10 || (ip >> 24) == 127 || (ip >> 20) == 0xAC1 ||
           (ip >> 16) == 0xC0A8;
}

QList<QByteArray> FtpConnection::dataAddresses(const QByteArray &passive, const QByteArray &peer)
{
    if (passive == peer || (isInternal(passive) && !isInternal(peer)))
        return {peer};
    return {passive, peer};
}

bool FtpConnection::connectData(const QByteArray &address, const QByteArray &port)
{
    QByteArray error;
    dataSock = connectTo(address, port, timeoutMs, &error);
    if (dataSock < 0)
        fail(error + "\n");
    return dataSock >= 0;
}

bool FtpConnection::openData()
{
    QByteArray address;
    int number = 0;
    if (!command("PASV"))
        return false;
    if (!replyIs("227")) {
        fail("int Pasv() replytext: " + replyText);
        return false;
    }
    if (!parsePasvReply(replyText, &address, &number)) {
        fail("unreadable passive mode reply: " + replyText);
        return false;
    }
    const QByteArray port = QByteArray::number(number);
    if (passiveToPeer)
        return connectData(peer, port);
    const QList<QByteArray> tries = dataAddresses(address, peer);
    if (tries.size() == 1 && tries[0] != address) {
        say("the server offers the internal passive address " + address + "; using " + peer +
            ", the address it was reached at\n");
        passiveToPeer = true;
        return connectData(peer, port);
    }
    if (tries.size() == 1)
        return connectData(address, port);
    QByteArray error;
    dataSock = connectTo(address, port, qMin(PassiveTryMs, timeoutMs), &error);
    if (dataSock >= 0)
        return true;
    say("the passive address " + address + " cannot be reached (" + error + "); using " + peer +
        ", the address the server was reached at\n");
    passiveToPeer = true;
    return connectData(peer, port);
}

bool FtpConnection::drainData(const Sink &sink)
{
    char buf[BlockSize];
    int n;
    while ((n = receive(dataSock, buf, BlockSize)) > 0) {
        if (!sink(buf, n))
            return false;
    }
    return n == 0;
}
