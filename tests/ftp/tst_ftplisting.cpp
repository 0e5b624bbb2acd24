#include "ftplisting.h"
#include "textdecoder.h"

#include <QtTest>

namespace
{

const QByteArray gbkZhang("\xd5\xc5\xc8\xfd.cpp"); // 张三.cpp in GBK
const QByteArray gbkLi("\xc0\xee\xcb\xc4.cpp");    // 李四.cpp in GBK

QByteArray unixLine(const QByteArray &name, const char *kind = "-rw-r--r--")
{
    return QByteArray(kind) + " 1 ftp ftp 12 Mar 01 10:00 " + name + "\r\n";
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
};

void TestFtpListing::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("isDir");
    QTest::addColumn<bool>("isLink");
    QTest::addColumn<qint64>("size");
    QTest::newRow("directory") << QByteArray("drwxr-xr-x   2 ftp ftp 4096 Mar 01 10:00 day1")
                               << true << QByteArray("day1") << true << false << qint64(-1);
    QTest::newRow("file, year") << QByteArray("-rw-r--r-- 1 ftp ftp 12 Mar  1  2024 add.c") << true
                                << QByteArray("add.c") << false << false << qint64(12);
    QTest::newRow("blanks in name")
        << QByteArray("-rw-r--r-- 1 ftp ftp 12 Mar 01 10:00 my prog.c") << true
        << QByteArray("my prog.c") << false << false << qint64(12);
    QTest::newRow("leading blank") << QByteArray("-rw-r--r-- 1 0 0 5 Dec 07 09:29  lead.c") << true
                                   << QByteArray(" lead.c") << false << false << qint64(5);
    QTest::newRow("no group column") << QByteArray("-rw-r--r-- 1 owner 7 Jan 01 00:00 a b") << true
                                     << QByteArray("a b") << false << false << qint64(7);
    QTest::newRow("link") << QByteArray("lrwxrwxrwx 1 ftp ftp 5 Mar 01 10:00 a b -> c d") << true
                          << QByteArray("a b") << false << true << qint64(-1);
    QTest::newRow("arrow in a plain name")
        << QByteArray("-rw-r--r-- 1 ftp ftp 5 Mar 01 10:00 x -> y") << true << QByteArray("x -> y")
        << false << false << qint64(5);
    QTest::newRow("dos directory") << QByteArray("01-15-24  10:30AM       <DIR>          day1")
                                   << true << QByteArray("day1") << true << false << qint64(-1);
    QTest::newRow("dos directory, leading blank")
        << QByteArray("01-15-24  10:30AM       <DIR>           sub") << true << QByteArray(" sub")
        << true << false << qint64(-1);
    QTest::newRow("dos file") << QByteArray("01-15-24  10:31PM                 1234 my add.c")
                              << true << QByteArray("my add.c") << false << false << qint64(1234);
    QTest::newRow("dos file, four-digit year, 24 h")
        << QByteArray("12-31-2023  23:59                    0 empty.txt") << true
        << QByteArray("empty.txt") << false << false << qint64(0);
    QTest::newRow("total") << QByteArray("total 12") << false << QByteArray() << false << false
                           << qint64(-1);
    QTest::newRow("cut") << QByteArray("-rw-r--r-- 1 ftp ftp 12 Mar 01") << false << QByteArray()
                         << false << false << qint64(-1);
    QTest::newRow("dos, bad date") << QByteArray("2024-01-15  10:30AM  <DIR>  day1") << false
                                   << QByteArray() << false << false << qint64(-1);
    QTest::newRow("empty") << QByteArray() << false << QByteArray() << false << false << qint64(-1);
}

void TestFtpListing::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, ok);
    FtpListEntry entry;
    QCOMPARE(FtpListing::parseLine(line, &entry), ok);
    if (ok) {
        QTEST(entry.name, "name");
        QTEST(entry.isDir, "isDir");
        QTEST(entry.isLink, "isLink");
        QTEST(entry.size, "size");
    }
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

QTEST_GUILESS_MAIN(TestFtpListing)
#include "tst_ftplisting.moc"
