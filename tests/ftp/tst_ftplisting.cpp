#include "ftpconnection.h"
#include "ftplisting.h"
#include "textdecoder.h"

#include <QtTest>

// The reading of listings and passive replies, and the address rules; the network side is
// exercised through GetByFTP against real servers.
namespace
{

const QByteArray gbkZhang("\xd5\xc5\xc8\xfd.cpp"); // 张三.cpp in GBK
const QByteArray gbkLi("\xc0\xee\xcb\xc4.cpp");    // 李四.cpp in GBK

QByteArray unixLine(const QByteArray &name, const char *kind = "-rw-r--r--")
{
    return QByteArray(kind) + " 1 ftp ftp 12 Mar 01 10:00 " + name + "\r\n";
}

// A row of a table of two byte columns.
void row(const char *tag, const char *first, const char *second)
{
    QTest::newRow(tag) << QByteArray(first) << QByteArray(second);
}

} // namespace

class TestFtpListing : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void read_data();
    void read();
    void safeNames();
    void parsePasvReply_data();
    void parsePasvReply();
    void dataAddresses();
};

void TestFtpListing::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    // "d" or "-" for a directory, "l" or "-" for a link, the size and the name; empty when the
    // line is no entry.
    QTest::addColumn<QByteArray>("entry");
    row("directory", "drwxr-xr-x   2 ftp ftp 4096 Mar 01 10:00 day1", "d- -1 day1");
    row("file, year", "-rw-r--r-- 1 ftp ftp 12 Mar  1  2024 add.c", "-- 12 add.c");
    row("blanks in name", "-rw-r--r-- 1 ftp ftp 12 Mar 01 10:00 my prog.c", "-- 12 my prog.c");
    row("leading blank", "-rw-r--r-- 1 0 0 5 Dec 07 09:29  lead.c", "-- 5  lead.c");
    row("no group column", "-rw-r--r-- 1 owner 7 Jan 01 00:00 a b", "-- 7 a b");
    row("link", "lrwxrwxrwx 1 ftp ftp 5 Mar 01 10:00 a b -> c d", "-l -1 a b");
    row("arrow in a plain name", "-rw-r--r-- 1 ftp ftp 5 Mar 01 10:00 x -> y", "-- 5 x -> y");
    row("dos directory", "01-15-24  10:30AM       <DIR>          day1", "d- -1 day1");
    row("dos directory, leading blank", "01-15-24  10:30AM       <DIR>           sub",
        "d- -1  sub");
    row("dos file", "01-15-24  10:31PM                 1234 my add.c", "-- 1234 my add.c");
    row("dos file, four-digit year, 24 h", "12-31-2023  23:59                    0 empty.txt",
        "-- 0 empty.txt");
    row("total", "total 12", "");
    row("cut", "-rw-r--r-- 1 ftp ftp 12 Mar 01", "");
    row("dos, bad date", "2024-01-15  10:30AM  <DIR>  day1", "");
    row("empty", "", "");
}

void TestFtpListing::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, entry);
    FtpListEntry got;
    QCOMPARE(FtpListing::parseLine(line, &got)
                 ? QByteArray(got.isDir ? "d" : "-") + (got.isLink ? "l " : "- ") +
                       QByteArray::number(got.size) + ' ' + got.name
                 : QByteArray(),
             entry);
}

void TestFtpListing::read_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("localNames");
    QTest::addColumn<QStringList>("problems"); // a text each problem must contain, in order
    const QByteArray utf8Zhang = QString("张三.cpp").toUtf8();
    QTest::newRow("utf-8") << unixLine(utf8Zhang) + unixLine("a.c") << true
                           << QStringList{"张三.cpp", "a.c"} << QStringList();
    QTest::newRow("gbk") << unixLine(gbkZhang) + unixLine(gbkLi) + unixLine("a.c") << true
                         << QStringList{"张三.cpp", "李四.cpp", "a.c"} << QStringList();
    // One name that is not UTF-8 makes the whole listing GB18030.
    QTest::newRow("mixed") << unixLine(utf8Zhang) + unixLine(gbkLi) << true
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
    QTest::newRow("empty directory")
        << QByteArray("total 0\r\n") << true << QStringList() << QStringList();
    QTest::newRow("no data") << QByteArray() << true << QStringList() << QStringList();
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

void TestFtpListing::safeNames()
{
    for (const char *bad : {"", ".", "..", "a/b", "/etc", "x\ry"})
        QVERIFY2(!FtpListing::isSafeName(bad), bad);
    for (const char *good : {"a", "...", "..x", "my prog.c", "-rf", " lead"})
        QVERIFY2(FtpListing::isSafeName(good), good);
}

void TestFtpListing::parsePasvReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("address"); // with the port after a colon; empty when refused
    row("usual", "227 Entering Passive Mode (192,168,1,5,19,137)\r\n", "192.168.1.5:5001");
    row("blanks", "227 =( 10, 0, 0, 1, 0, 21 )", "10.0.0.1:21");
    row("other code", "500 (1,2,3,4,5,6)", "");
    row("no parenthesis", "227 1,2,3,4,5,6", "");
    row("too few", "227 (1,2,3,4,5)", "");
    row("too large", "227 (1,2,3,4,256,6)", "");
    row("not numbers", "227 (a,2,3,4,5,6)", "");
}

void TestFtpListing::parsePasvReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, address);
    QByteArray host;
    int port = 0;
    QCOMPARE(FtpConnection::parsePasvReply(reply, &host, &port)
                 ? host + ':' + QByteArray::number(port)
                 : QByteArray(),
             address);
}

// The addresses tried for the data link: an internal one from a server reached from outside
// gives way to the peer at once; anything else is tried first, the peer after it.
void TestFtpListing::dataAddresses()
{
    const QByteArray peer = "198.51.100.7";
    for (const char *internal : {"10.0.0.5", "172.16.0.1", "172.31.255.1", "192.168.1.5",
                                 "127.0.0.1", "0.0.0.0", peer.constData()})
        QCOMPARE(FtpConnection::dataAddresses(internal, peer), QList<QByteArray>{peer});
    for (const char *other : {"172.32.0.1", "172.15.0.1", "192.169.0.1", "203.0.113.4"})
        QCOMPARE(FtpConnection::dataAddresses(other, peer), (QList<QByteArray>{other, peer}));
    QCOMPARE(FtpConnection::dataAddresses("192.168.1.5", "192.168.1.9"),
             (QList<QByteArray>{"192.168.1.5", "192.168.1.9"}));
    QCOMPARE(FtpConnection::dataAddresses("127.0.0.2", "127.0.0.1"),
             (QList<QByteArray>{"127.0.0.2", "127.0.0.1"}));
}

QTEST_GUILESS_MAIN(TestFtpListing)
#include "tst_ftplisting.moc"
