#include "ftpserverprocess.h"

#include "common/testfiles.h"
#include "getbyftp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// Every entry below dir by relative path: file contents, or "<dir>" for a directory.
QMap<QString, QByteArray> treeOf(const QString &dir)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        const bool isDir = it.fileInfo().isDir();
        tree.insert(QDir(dir).relativeFilePath(path),
                    isDir || !f.open(QIODevice::ReadOnly) ? QByteArray("<dir>") : f.readAll());
    }
    return tree;
}

} // namespace

class TestGetByFtp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parsePasvReply_data();
    void parsePasvReply();
    void parseListLine_data();
    void parseListLine();
    void safeNames();
    void downloadsWholeTree();
    void largeDirectoryAndRefetch();
    void refusedLoginAndDirectory();
    void unsafeListingStaysInside();
    void brokenServersFail();

private:
    void fill(GetByFTP *ftp, const QString &port, const QString &password, const QString &dir);
    int fetchScripted(const QString &mode, const QString &base, int timeoutMs);

    QTemporaryDir serverRoot;
    FtpServerProcess server;
    QByteArray allBytes;
};

void TestGetByFtp::initTestCase()
{
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            allBytes.append(char(b));
    const QString root = serverRoot.path();
    QVERIFY(writeFile(root + "/day1/1001/add/add.c", "int main() { return 0; }\n"));
    QVERIFY(writeFile(root + "/day1/1001/add/sub/deep/x.txt", "deep\n"));
    QVERIFY(writeFile(root + "/day1/1002/my prog/my prog.c", "blank names\n"));
    QVERIFY(writeFile(root + "/day1/1002/bin/all.bin", allBytes));
    QVERIFY(writeFile(root + "/day1/1002/empty.txt", QByteArray()));
    for (int i = 0; i < 300; ++i)
        QVERIFY(writeFile(
            root + QString("/day2/player-with-a-long-id-%1/sum.c").arg(i, 3, 10, QChar('0')),
            QByteArray::number(i)));
    QVERIFY2(server.start("ftpserver.py", {root, "judge", "secret"}),
             qPrintable(server.errorText()));
}

void TestGetByFtp::fill(GetByFTP *ftp, const QString &port, const QString &password,
                        const QString &dir)
{
    ftp->setServer("127.0.0.1");
    ftp->setPort(port);
    ftp->setName("judge");
    ftp->setPass(password);
    ftp->setDir(dir);
    ftp->setTimeout(5000);
}

void TestGetByFtp::parsePasvReply_data()
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

void TestGetByFtp::parsePasvReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    QByteArray address;
    int port = 0;
    QCOMPARE(GetByFTP::ParsePasvReply(reply, &address, &port), ok);
    if (ok) {
        QTEST(address, "address");
        QTEST(port, "port");
    }
}

void TestGetByFtp::parseListLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("isDir");
    QTest::newRow("directory") << QByteArray("drwxr-xr-x   2 ftp ftp 4096 Mar 01 10:00 day1")
                               << true << QByteArray("day1") << true;
    QTest::newRow("file") << QByteArray("-rw-r--r-- 1 ftp ftp 12 Mar 01  2024 add.c") << true
                          << QByteArray("add.c") << false;
    QTest::newRow("blanks in name") << QByteArray("-rw-r--r-- 1 ftp ftp 12 Mar 01 10:00 my prog.c")
                                    << true << QByteArray("my prog.c") << false;
    QTest::newRow("link") << QByteArray("lrwxrwxrwx 1 ftp ftp 5 Mar 01 10:00 a b -> c d") << true
                          << QByteArray("a b") << false;
    QTest::newRow("arrow in a plain name")
        << QByteArray("-rw-r--r-- 1 ftp ftp 5 Mar 01 10:00 x -> y") << true << QByteArray("x -> y")
        << false;
    QTest::newRow("total") << QByteArray("total 12") << false << QByteArray() << false;
    QTest::newRow("eight fields") << QByteArray("-rw-r--r-- 1 ftp ftp 12 Mar 01 10:00   ") << false
                                  << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << false << QByteArray() << false;
}

void TestGetByFtp::parseListLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, ok);
    FtpListEntry entry;
    QCOMPARE(GetByFTP::ParseListLine(line, &entry), ok);
    if (ok) {
        QTEST(entry.name, "name");
        QTEST(entry.isDir, "isDir");
    }
}

void TestGetByFtp::safeNames()
{
    for (const char *bad : {"", ".", "..", "a/b", "/etc", "x\ry"})
        QVERIFY2(!GetByFTP::isSafeName(bad), bad);
    for (const char *good : {"a", "...", "..x", "my prog.c", "-rf"})
        QVERIFY2(GetByFTP::isSafeName(good), good);
    for (const char *bad : {"", "/abs", "..", "day1/..", "a/../../b", "day1\r\nDELE x"})
        QVERIFY2(!GetByFTP::isSafeDir(bad), bad);
    for (const char *good : {"day1", "day1/1001", ".", "day1/"})
        QVERIFY2(GetByFTP::isSafeDir(good), good);
}

void TestGetByFtp::downloadsWholeTree()
{
    QTemporaryDir local;
    GetByFTP ftp;
    fill(&ftp, server.port(), "secret", "day1");
    ftp.setServer("localhost");
    QCOMPARE(ftp.getDir(local.path()), 1);
    const auto got = treeOf(local.path() + "/day1");
    QCOMPARE(got, treeOf(serverRoot.path() + "/day1"));
    QCOMPARE(got.value("1002/bin/all.bin"), allBytes);
    QVERIFY(got.contains("1002/empty.txt"));

    // A path of several parts lands below missing parents, which are made.
    QTemporaryDir nested;
    ftp.setDir("day1/1001");
    QCOMPARE(ftp.getDir(nested.path()), 1);
    QCOMPARE(treeOf(nested.path() + "/day1/1001"), treeOf(serverRoot.path() + "/day1/1001"));
}

void TestGetByFtp::largeDirectoryAndRefetch()
{
    QTemporaryDir local;
    GetByFTP ftp;
    fill(&ftp, server.port(), "secret", "day2");
    QCOMPARE(ftp.getDir(local.path()), 1);
    const auto first = treeOf(local.path() + "/day2");
    QCOMPARE(first.size(), 600);
    QCOMPARE(first, treeOf(serverRoot.path() + "/day2"));

    // A second download overwrites the local copies with the server's current files.
    const QString changed = "/day2/player-with-a-long-id-123/sum.c";
    QVERIFY(writeFile(serverRoot.path() + changed, "changed"));
    QVERIFY(writeFile(local.path() + "/day2/player-with-a-long-id-007/sum.c", "local edit"));
    QCOMPARE(ftp.getDir(local.path()), 1);
    QCOMPARE(treeOf(local.path() + "/day2"), treeOf(serverRoot.path() + "/day2"));
}

void TestGetByFtp::refusedLoginAndDirectory()
{
    QTemporaryDir local;
    GetByFTP ftp;
    fill(&ftp, server.port(), "wrong", "day1");
    QCOMPARE(ftp.getDir(local.path()), 0);
    fill(&ftp, server.port(), "secret", "no-such-day");
    QCOMPARE(ftp.getDir(local.path()), 0);
    for (const char *escape : {"../outside", "/day1", "day1/../../outside"}) {
        fill(&ftp, server.port(), "secret", escape);
        QCOMPARE(ftp.getDir(local.path() + "/inner"), 0);
    }
    fill(&ftp, "1", "secret", "day1");
    QCOMPARE(ftp.getDir(local.path()), 0);
    QVERIFY(treeOf(local.path()).isEmpty());
}

// Downloads "top" from a scripted server behaving as mode; -1 when the server did not start.
int TestGetByFtp::fetchScripted(const QString &mode, const QString &base, int timeoutMs)
{
    FtpServerProcess scripted;
    if (!scripted.start("scriptedftp.py", {mode})) {
        qWarning("%s", qPrintable(scripted.errorText()));
        return -1;
    }
    GetByFTP ftp;
    fill(&ftp, scripted.port(), "x", "top");
    ftp.setTimeout(timeoutMs);
    return ftp.getDir(base);
}

// Malicious names are skipped and nothing lands outside the directory fetched into.
void TestGetByFtp::unsafeListingStaysInside()
{
    QTemporaryDir outer;
    const QString base = outer.path() + "/players";
    QVERIFY(QDir().mkpath(base));
    QCOMPARE(fetchScripted("unsafe", base, 5000), 1);
    QMap<QString, QByteArray> expected{
        {"players", "<dir>"}, {"players/top", "<dir>"}, {"players/top/good.txt", "ok"}};
    QCOMPARE(treeOf(outer.path()), expected);
}

void TestGetByFtp::brokenServersFail()
{
    // A transfer cut short leaves no truncated file behind, nor a temporary one.
    QTemporaryDir dropped;
    QCOMPARE(fetchScripted("drop", dropped.path(), 5000), 0);
    QMap<QString, QByteArray> expected{{"top", "<dir>"}};
    QCOMPARE(treeOf(dropped.path()), expected);

    QTemporaryDir stalled;
    QCOMPARE(fetchScripted("stall", stalled.path(), 300), 0);

    // A refused CWD is not taken for the login directory.
    QTemporaryDir refused;
    QCOMPARE(fetchScripted("refuse", refused.path(), 5000), 0);
    QVERIFY(treeOf(refused.path()).isEmpty());

    // A subdirectory that cannot be entered fails the download; the rest still arrives.
    QTemporaryDir refusedSub;
    QCOMPARE(fetchScripted("refusesub", refusedSub.path(), 5000), 0);
    QCOMPARE(treeOf(refusedSub.path()).value("top/good.txt"), QByteArray("ok"));
}

QTEST_GUILESS_MAIN(TestGetByFtp)
#include "tst_getbyftp.moc"
