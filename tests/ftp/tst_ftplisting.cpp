#include "ftpconnection.h"
#include "ftplisting.h"
#include "partfile.h"
#include "textdecoder.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

// The reading of listings and passive replies, the address rules and the file on its way; the
// network side is exercised through GetByFTP against real servers.
namespace
{

QByteArray unixLine(const QByteArray &name, const char *kind = "-rw-r--r--")
{
    return QByteArray(kind) + " 1 ftp ftp 12 Mar 01 10:00 " + name + "\r\n";
}

} // namespace

class TestFtpListing : public QObject
{
    Q_OBJECT

private slots:
    void parseLinesAndReplies();
    void read_data();
    void read();
    void dataAddresses();
    void partFileReportsAFullDisk();
};

// Each input beside what was read of it, so that a failure names the input.
void TestFtpListing::parseLinesAndReplies()
{
    // "d" or "-" for a directory, "l" or "-" for a link, the size and the name; empty when the
    // line is no entry.
    const char *const lines[][2] = {
        {"drwxr-xr-x   2 ftp ftp 4096 Mar 01 10:00 day1", "d- -1 day1"},
        {"-rw-r--r-- 1 ftp ftp 12 Mar  1  2024 my prog.c", "-- 12 my prog.c"},
        {"-rw-r--r-- 1 0 0 5 Dec 07 09:29  lead.c", "-- 5  lead.c"},
        {"-rw-r--r-- 1 owner 7 Jan 01 00:00 a b", "-- 7 a b"},
        {"lrwxrwxrwx 1 ftp ftp 5 Mar 01 10:00 a b -> c d", "-l -1 a b"},
        {"-rw-r--r-- 1 ftp ftp 5 Mar 01 10:00 x -> y", "-- 5 x -> y"},
        {"01-15-24  10:30AM       <DIR>           sub", "d- -1  sub"},
        {"01-15-24  10:31PM                 1234 my add.c", "-- 1234 my add.c"},
        {"12-31-2023  23:59                    0 empty.txt", "-- 0 empty.txt"},
        {"total 12", ""},
        {"-rw-r--r-- 1 ftp ftp 12 Mar 01", ""},
        {"2024-01-15  10:30AM  <DIR>  day1", ""},
        {"", ""}};
    for (const auto &line : lines) {
        FtpListEntry got;
        const QByteArray read = FtpListing::parseLine(line[0], &got)
                                    ? QByteArray(got.isDir ? "d" : "-") +
                                          (got.isLink ? "l " : "- ") +
                                          QByteArray::number(got.size) + ' ' + got.name
                                    : QByteArray();
        QCOMPARE(line[0] + (" -> " + read), line[0] + QByteArray(" -> ") + line[1]);
    }
    // The address with the port after a colon; empty when refused.
    const char *const replies[][2] = {
        {"227 Entering Passive Mode (192,168,1,5,19,137)\r\n", "192.168.1.5:5001"},
        {"227 =( 10, 0, 0, 1, 0, 21 )", "10.0.0.1:21"},
        {"500 (1,2,3,4,5,6)", ""},
        {"227 1,2,3,4,5,6", ""},
        {"227 (1,2,3,4,5)", ""},
        {"227 (1,2,3,4,256,6)", ""},
        {"227 (a,2,3,4,5,6)", ""}};
    for (const auto &reply : replies) {
        QByteArray host;
        int port = 0;
        const QByteArray read = FtpConnection::parsePasvReply(reply[0], &host, &port)
                                    ? host + ':' + QByteArray::number(port)
                                    : QByteArray();
        QCOMPARE(reply[0] + (" -> " + read), reply[0] + QByteArray(" -> ") + reply[1]);
    }
    for (const char *bad : {"", ".", "..", "a/b", "/etc", "x\ry"})
        QVERIFY2(!FtpListing::isSafeName(bad), bad);
    for (const char *good : {"a", "...", "..x", "my prog.c", "-rf", " lead"})
        QVERIFY2(FtpListing::isSafeName(good), good);
}

void TestFtpListing::read_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("localNames");
    QTest::addColumn<QStringList>("problems"); // a text each problem must contain, in order
    const QByteArray utf8Zhang = QString("张三.cpp").toUtf8();
    const QByteArray gbkLi("\xc0\xee\xcb\xc4.cpp"); // 李四.cpp in GBK
    QTest::newRow("utf-8") << unixLine(utf8Zhang) + unixLine("a.c") << true
                           << QStringList{"张三.cpp", "a.c"} << QStringList();
    // One name that is not UTF-8 makes the whole listing GB18030.
    QTest::newRow("gbk") << unixLine(utf8Zhang) + unixLine(gbkLi) << true
                         << QStringList{TextDecoder::fromGb18030(utf8Zhang), "李四.cpp"}
                         << QStringList();
    QTest::newRow("clash") << unixLine("\x80x.c") + unixLine("b.c") + unixLine("\xffx.c") << true
                           << QStringList{"b.c"}
                           << QStringList{"\"\\x80x.c\" and \"\\xffx.c\" would both be saved"};
    QTest::newRow("dots") << unixLine(".", "drwxr-xr-x") + unixLine("..", "drwxr-xr-x") +
                                 unixLine("a/b") + unixLine("c")
                          << true << QStringList{"c"} << QStringList();
    QTest::newRow("cut") << unixLine("a.c") + "-rw-r" << false << QStringList()
                         << QStringList{"cut short"};
    QTest::newRow("nothing readable") << QByteArray("no listing\r\nnor this\r\n") << false
                                      << QStringList() << QStringList{"no listing"};
    QTest::newRow("one unreadable line")
        << unixLine("a.c") + "what is this\r\n"
        << true << QStringList{"a.c"} << QStringList{"unreadable listing line: what is this"};
    QTest::newRow("empty") << QByteArray("total 0\r\n") << true << QStringList() << QStringList();
}

void TestFtpListing::read()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, problems);
    FtpListing listing;
    QTEST(listing.read(data), "ok");
    QStringList names;
    for (const FtpListEntry &entry : listing.entries())
        names << entry.localName;
    QTEST(names, "localNames");
    QCOMPARE(listing.problems().size(), problems.size());
    for (int i = 0; i < problems.size(); ++i)
        QVERIFY2(listing.problems()[i].contains(problems[i].toUtf8()),
                 listing.problems()[i].constData());
}

// The addresses tried for the data link: an internal one from a server reached from outside
// (also over IPv6) gives way to the peer at once; anything else is tried first, the peer after.
void TestFtpListing::dataAddresses()
{
    const QByteArray peer = "198.51.100.7";
    for (const char *internal : {"10.0.0.5", "172.16.0.1", "172.31.255.1", "192.168.1.5",
                                 "127.0.0.1", "0.0.0.0", peer.constData()})
        QCOMPARE(FtpConnection::dataAddresses(internal, peer), QList<QByteArray>{peer});
    for (const char *other : {"172.32.0.1", "172.15.0.1", "192.169.0.1", "203.0.113.4"})
        QCOMPARE(FtpConnection::dataAddresses(other, peer), (QList<QByteArray>{other, peer}));
    QCOMPARE(FtpConnection::dataAddresses("10.0.0.5", "::1"), QList<QByteArray>{"::1"});
    QCOMPARE(FtpConnection::dataAddresses("127.0.0.2", "127.0.0.1"),
             (QList<QByteArray>{"127.0.0.2", "127.0.0.1"}));
}

// A disk that fills up (here a file size limit) fails the write, and nothing stays behind.
void TestFtpListing::partFileReportsAFullDisk()
{
    QTemporaryDir dir;
    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, old.rlim_max};
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written;
    QByteArray error;
    {
        PartFile file(dir.filePath("big.bin"));
        const QByteArray data(10000, 'x');
        written = file.open() && file.write(data.constData(), data.size());
        error = file.errorText();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    QVERIFY(!written);
    QVERIFY2(error.contains("write failed on") && error.contains("too large"), error);
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestFtpListing)
#include "tst_ftplisting.moc"
