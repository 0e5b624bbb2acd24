#include "ftpconnection.h"

#include <QtTest>

// The address rules only: the network side is exercised through GetByFTP against real servers.
class TestFtpConnection : public QObject
{
    Q_OBJECT

private slots:
    void parsePasvReply_data();
    void parsePasvReply();
    void dataAddresses_data();
    void dataAddresses();
};

void TestFtpConnection::parsePasvReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<int>("port");
    QTest::newRow("usual") << QByteArray("227 Entering Passive Mode (192,168,1,5,19,137)\r\n")
                           << true << QByteArray("192.168.1.5") << 5001;
    QTest::newRow("blanks") << QByteArray("227 =( 10, 0, 0, 1, 0, 21 )") << true
                            << QByteArray("10.0.0.1") << 21;
    QTest::newRow("other code") << QByteArray("500 (1,2,3,4,5,6)") << false << QByteArray() << 0;
    QTest::newRow("no parenthesis") << QByteArray("227 1,2,3,4,5,6") << false << QByteArray() << 0;
    QTest::newRow("too few") << QByteArray("227 (1,2,3,4,5)") << false << QByteArray() << 0;
    QTest::newRow("too large") << QByteArray("227 (1,2,3,4,256,6)") << false << QByteArray() << 0;
    QTest::newRow("not numbers") << QByteArray("227 (a,2,3,4,5,6)") << false << QByteArray() << 0;
}

void TestFtpConnection::parsePasvReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    QByteArray address;
    int port = 0;
    QCOMPARE(FtpConnection::parsePasvReply(reply, &address, &port), ok);
    if (ok) {
        QTEST(address, "address");
        QTEST(port, "port");
    }
}

void TestFtpConnection::dataAddresses_data()
{
    QTest::addColumn<QByteArray>("passive");
    QTest::addColumn<QByteArray>("peer");
    QTest::addColumn<QList<QByteArray>>("tries");
    const QByteArray peer = "198.51.100.7";
    // An internal address from a server reached from outside: the peer at once.
    for (const char *internal :
         {"10.0.0.5", "172.16.0.1", "172.31.255.1", "192.168.1.5", "127.0.0.1", "0.0.0.0"})
        QTest::newRow(internal) << QByteArray(internal) << peer << QList<QByteArray>{peer};
    // Anything else is tried first, the peer after it.
    for (const char *other : {"172.32.0.1", "172.15.0.1", "192.169.0.1", "203.0.113.4"})
        QTest::newRow(other) << QByteArray(other) << peer
                             << QList<QByteArray>{QByteArray(other), peer};
    QTest::newRow("both on the LAN") << QByteArray("192.168.1.5") << QByteArray("192.168.1.9")
                                     << QList<QByteArray>{"192.168.1.5", "192.168.1.9"};
    QTest::newRow("both loopback") << QByteArray("127.0.0.2") << QByteArray("127.0.0.1")
                                   << QList<QByteArray>{"127.0.0.2", "127.0.0.1"};
    QTest::newRow("the peer itself") << peer << peer << QList<QByteArray>{peer};
}

void TestFtpConnection::dataAddresses()
{
    QFETCH(QByteArray, passive);
    QFETCH(QByteArray, peer);
    QTEST(FtpConnection::dataAddresses(passive, peer), "tries");
}

QTEST_GUILESS_MAIN(TestFtpConnection)
#include "tst_ftpconnection.moc"
