#ifndef TALDON_FTP_FTPCONNECTION_H
#define TALDON_FTP_FTPCONNECTION_H

#include <QByteArray>
#include <QList>

#include <functional>

struct addrinfo;

// The control connection of one FTP session and its passive data links, over IPv4. Every wait
// on the network is bounded by the time-out; a lost control connection marks the session
// broken, after which every operation fails at once. Failures are handed to the reporter given
// at construction; progress lines go to standard output.
class FtpConnection
{
public:
    using Reporter = std::function<void(const QByteArray &)>;
    using Sink = std::function<bool(const char *, int)>;

    // The first try of a passive address that may be wrong waits no longer than this before
    // the server's own address is tried.
    static constexpr int PassiveTryMs = 5000;

    explicit FtpConnection(Reporter fail);
    ~FtpConnection();
    FtpConnection(const FtpConnection &) = delete;
    FtpConnection &operator=(const FtpConnection &) = delete;

    // Also for the control connection when it is open.
    void setTimeout(int ms);
    // Connects and reads the greeting; false unless the server greets with a 2xx reply.
    bool open(const QByteArray &host, const QByteArray &service);
    // Sends one command line and reads its reply.
    bool command(const QByteArray &text);
    bool readReply();
    // The last reply, all its lines with their line ends.
    const QByteArray &reply() const { return replyText; }
    bool replyIs(const char *code) const { return replyText.startsWith(code); }
    bool broken() const { return lost; }
    // Says QUIT when the session still stands and closes the control connection.
    void quit();

    // Asks for passive mode and connects the data link.
    bool openData();
    // Reads the data link to its end, handing each block to sink; false when the link fails or
    // sink refuses a block.
    bool drainData(const Sink &sink);
    void closeData() { closeSock(&dataSock); }

    // "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)" to "h1.h2.h3.h4" and p1 * 256 + p2.
    static bool parsePasvReply(const QByteArray &reply, QByteArray *address, int *port);
    // The addresses to try for a passive data link, in order, given the address of the 227
    // reply and the control connection's peer. A private, loopback or 0.0.0.0 address from a
    // server that is itself reached elsewhere is the server's mistake (NAT, a container): the
    // peer is used at once. Otherwise the given address comes first and the peer second.
    static QList<QByteArray> dataAddresses(const QByteArray &passive, const QByteArray &peer);
    // 10/8, 172.16/12, 192.168/16, 127/8 and 0.0.0.0.
    static bool isInternal(const QByteArray &address);
    // Progress on standard output.
    static void say(const QByteArray &text);

private:
    int connectTo(const QByteArray &host, const QByteArray &service, int timeoutMs,
                  QByteArray *error);
    int connectOne(const addrinfo *a, int timeoutMs, QByteArray *error);
    static bool setTimeouts(int sock, int sendMs, int receiveMs);
    QByteArray ioError(int error) const;
    int receive(int sock, char *buf, int size);
    bool sendLine(const QByteArray &line);
    int readLine(QByteArray *line);
    bool connectData(const QByteArray &address, const QByteArray &port);
    void dropControl();
    void closeSock(int *sock);

    Reporter fail;
    QByteArray replyText;
    QByteArray controlBuf;
    QByteArray peer;
    int controlSock = -1;
    int dataSock = -1;
    int timeoutMs = 30000;
    bool lost = false;
    // Set once the passive address proved unreachable: the session's later links go to the
    // peer straight away.
    bool passiveToPeer = false;
};

#endif
