#include "common/programrun.h"
#include "common/testfiles.h"
#include "csetupinfo.h"
#include "ftpconnection.h"
#include "ftplisting.h"
#include "getbyftp.h"
#include "getfile.h"
#include "partfile.h"
#include "textdecoder.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <numeric>
#include <sys/resource.h>
#include <unistd.h>

using Tree = QMap<QString, QByteArray>;

namespace
{

// The shared server's password: blanks and a shell's substitution reach nobody's shell.
const QString kPassword = "p w$(x)";

// One of this folder's FTP servers on 127.0.0.1, which prints its port once it accepts
// connections; stopped politely first, so that the launcher of a real server stops it.
struct Server {
    QProcess process;
    QString port;

    ~Server()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }

    bool start(const QString &script, const QStringList &args)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(
            "/usr/bin/python3",
            QStringList{qEnvironmentVariable("TALDON_SOURCE_DIR") + "/tests/ftp/" + script} + args);
        while (!process.canReadLine() && process.waitForReadyRead(15000)) {
        }
        port = QString::fromUtf8(process.readLine()).trimmed();
        // The launcher's status 77: the server is not installed.
        if (port.isEmpty() && process.waitForFinished(1000) && process.exitCode() == 77)
            port = "missing";
        return !port.isEmpty();
    }
};

// Every entry below dir by relative path: contents, or "<dir>"; links read as what they point to.
Tree treeOf(const QString &dir, const QString &prefix = QString())
{
    Tree tree;
    for (const QFileInfo &entry : QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                          QDir::Hidden | QDir::System)) {
        const QString name = prefix + entry.fileName();
        tree.insert(name, entry.isDir() ? QByteArray("<dir>") : readFile(entry.filePath()));
        if (entry.isDir())
            tree.insert(treeOf(entry.filePath(), name + '/'));
    }
    return tree;
}

// "top|top/a.txt=ok": the directory top holding a.txt, which holds "ok".
Tree entries(const QString &text)
{
    Tree tree;
    for (const QString &entry : text.split('|', Qt::SkipEmptyParts))
        tree.insert(entry.section('=', 0, 0),
                    entry.contains('=') ? entry.section('=', 1).toUtf8() : "<dir>");
    return tree;
}

void fill(GetByFTP *ftp, const QString &port, const QString &password, const QString &dir)
{
    ftp->setServer("127.0.0.1");
    ftp->setPort(port);
    ftp->setName("judge");
    ftp->setPass(password);
    ftp->setDir(dir);
    ftp->setTimeout(5000);
}

QByteArray unixLine(const QByteArray &name, const char *kind = "-rw-r--r--")
{
    return QByteArray(kind) + " 1 ftp ftp 12 Mar 01 10:00 " + name + "\r\n";
}

// The real dialog with its outcome box replaced, so the test reads what the user would see.
class RecordingGetFile : public GetFile
{
public:
    using GetFile::GetFile;
    QStringList shown;

protected:
    void report(const QString &title, const QString &text) override { shown << title + text; }
};

} // namespace

class TestFtp : public QObject
{
    Q_OBJECT

    QTemporaryDir serverRoot;
    Server server;

private slots:
    void initTestCase();
    void downloads_data();
    void downloads();
    void scriptedServers_data();
    void scriptedServers();
    void dialogDownloadsIntoPlayers();
    void cliFetchesIntoPlayers();
    void listingsRepliesAndAddresses();
    void read_data();
    void read();
    void partFileReportsAFullDisk();
};

// What the servers serve: blanks, UTF-8 names, links, an empty file, every byte value; 300
// players; GBK names, served as they are by Debian's servers only, and names that clash decoded.
void TestFtp::initTestCase()
{
    const QString root = serverRoot.path();
    QByteArray allBytes(256, '\0');
    std::iota(allBytes.begin(), allBytes.end(), '\0');
    QVERIFY(writeFiles(root, {{"day1/1001/add/add.c", "int main() { return 0; }\n"},
                              {"day1/1001/add/sub/deep/x.txt", "deep\n"},
                              {"day1/1002/my prog/my prog.c", "blank names\n"},
                              {"day1/1002/ lead.c", "leading blank\n"},
                              {"day1/1002/bin/all.bin", allBytes.repeated(3)},
                              {"day1/1002/empty.txt", ""},
                              {"day1/张三/add.cpp", "int main() {}\r\n"}}));
    for (int i = 0; i < 300; ++i)
        QVERIFY(writeFile(
            root + QString("/day2/player-with-a-long-id-%1/sum.c").arg(i, 3, 10, QChar('0')),
            QByteArray::number(i)));
    // Links, and names of raw bytes, which need not be valid in the locale's encoding.
    const char *more =
        "import os, sys\nos.chdir(sys.argv[1]); os.mkdir('gbk'); os.mkdir('clash')\n"
        "os.symlink('张三', 'day1/linked'); os.symlink('张三/add.cpp', 'day1/filelink')\n"
        "for n, b in [(b'gbk/\\xd5\\xc5\\xc8\\xfd.cpp', b'zhang'), (b'clash/good.c', b'ok'),\n"
        "             (b'gbk/\\xc0\\xee\\xcb\\xc4.cpp', b'li'), (b'clash/\\x80x.c', b'a'),\n"
        "             (b'clash/\\xffx.c', b'b')]:\n" // 张三.cpp and 李四.cpp in GBK
        "    open(n, 'wb').write(b)\n";
    QCOMPARE(runProgram("python3", {"-c", more, root}).status, 0);
    QVERIFY(server.start("realftp.py", {"pyftpdlib", root, kPassword}));
}

void TestFtp::downloads_data()
{
    QTest::addColumn<QString>("password"); // none: an anonymous login
    QTest::newRow("pyftpdlib") << kPassword;
    QTest::newRow("vsftpd") << "";
    QTest::newRow("proftpd") << "secret";
}

// The tree arrives whole from every server, also below missing parents; fetched again, local
// copies take the server's files; refused directories write nothing; clashing names are left out.
void TestFtp::downloads()
{
    QFETCH(QString, password);
    const bool shared = password == kPassword;
    Server real;
    QVERIFY(shared || real.start("realftp.py", {QTest::currentDataTag(), serverRoot.path()}));
    if (real.port == "missing")
        QSKIP("the server is not installed (sh scripts/bootstrap.sh test)");
    QTemporaryDir local, nested;
    GetByFTP ftp;
    fill(&ftp, shared ? server.port : real.port, password, "day1");
    ftp.setServer("localhost");
    ftp.setName(password.isEmpty() ? "anonymous" : "judge");
    QVERIFY2(ftp.getDir(local.path()) == 1, ftp.failureText());
    QCOMPARE(treeOf(local.path() + "/day1"), treeOf(serverRoot.path() + "/day1"));
    ftp.setDir("day1/1001");
    QCOMPARE(ftp.getDir(nested.path()), 1);
    QCOMPARE(treeOf(nested.path() + "/day1/1001"), treeOf(serverRoot.path() + "/day1/1001"));
    if (shared) {
        ftp.setDir("day2");
        QCOMPARE(ftp.getDir(local.path()), 1);
        QCOMPARE(treeOf(local.path() + "/day2").size(), 600);
        QVERIFY(writeFile(serverRoot.path() + "/day2/player-with-a-long-id-123/sum.c", "changed"));
        QVERIFY(writeFile(local.path() + "/day2/player-with-a-long-id-007/sum.c", "local edit"));
        QCOMPARE(ftp.getDir(local.path()), 1);
        QCOMPARE(treeOf(local.path() + "/day2"), treeOf(serverRoot.path() + "/day2"));
        // The server's refusal of the CWD is named; the login directory is not taken instead.
        for (const char *dir : {"../outside", "/day1", "day1/../../outside", "no-such-day"}) {
            ftp.setDir(dir);
            QCOMPARE(ftp.getDir(nested.path() + "/inner"), 0);
            QVERIFY2(ftp.failureText().contains(dir), ftp.failureText());
        }
        QVERIFY2(ftp.failureText().contains("info failed: 550"), ftp.failureText());
        QVERIFY(!QFileInfo::exists(nested.path() + "/inner"));
        return;
    }
    ftp.setDir("gbk");
    QVERIFY2(ftp.getDir(local.path()) == 1, ftp.failureText());
    QCOMPARE(treeOf(local.path() + "/gbk"), (Tree{{"张三.cpp", "zhang"}, {"李四.cpp", "li"}}));
    ftp.setDir("clash");
    QCOMPARE(ftp.getDir(local.path()), 0);
    QVERIFY(ftp.reachedDirectory());
    QVERIFY2(ftp.failureText().contains("\"\\x80x.c\" and \"\\xffx.c\""), ftp.failureText());
    QCOMPARE(treeOf(local.path() + "/clash"), (Tree{{"good.c", "ok"}}));
}

void TestFtp::scriptedServers_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("failure"); // texts the failure text must hold, in order
    // A transfer cut short leaves neither a truncated file nor a temporary one; a subdirectory
    // refused fails the download but the rest arrives; a tree deeper than any contest's (a loop
    // of links, say) stops 64 levels below the top.
    QString deep = "top", path = "top";
    for (int level = 1; level <= 64; ++level)
        deep += '|' + (path += "/d");
    const QString good = "top|top/good.txt=ok", in = "|top/%1|top/%1/in.c=ok";
    const QStringList rows[] = {
        {"drop", "0", "top", "big.bin|connection to the server lost"},
        {"stall", "0", "", "timed out"},
        {"refusesub", "0", good + in.arg("sub2"), "the directory sub was not fetched"},
        {"single", "1", "top" + in.arg('a') + in.arg('b') + in.arg('c'), ""},
        {"cut", "0", "top|top/whole.txt=ok|top/sub",
         "six.txt failed: cut short: 3 of 6 bytes|told.txt failed: cut short: 3 of 6 bytes|"
         "in /top/sub: the listing was cut short"},
        {"busy", "0", "", "421 Too many users, try later"},
        {"nat", "1", good, ""},
        {"notype", "0", "", "binary transfer type refused: 504"},
        {"deep", "0", deep, "directory tree too deep at /top/d/d/"}};
    for (const QStringList &row : rows)
        QTest::newRow(qPrintable(row[0])) << row[1].toInt() << row[2] << row[3];
}

void TestFtp::scriptedServers()
{
    const QString mode = QTest::currentDataTag();
    QFETCH(QString, tree);
    QFETCH(QString, failure);
    Server scripted;
    QVERIFY(scripted.start("scriptedftp.py", {mode}));
    QTemporaryDir local;
    GetByFTP ftp;
    fill(&ftp, scripted.port, "x", "top");
    ftp.setTimeout(mode == "stall" ? 300 : 5000);
    QTEST(ftp.getDir(local.path()), "result");
    QCOMPARE(treeOf(local.path()), entries(tree));
    for (const QString &part : failure.split('|'))
        QVERIFY2(ftp.failureText().contains(part.toUtf8()), ftp.failureText());
    QVERIFY2(failure.isEmpty() == ftp.failureText().isEmpty(), ftp.failureText());
}

// The dialog blames the settings until the directory is reached, then names what did not arrive.
void TestFtp::dialogDownloadsIntoPlayers()
{
    QTemporaryDir home;
    QVERIFY(QDir().mkpath(home.path() + "/players"));
    CSetupInfo setup;
    setup.setHome(home.path());
    RecordingGetFile dialog(&setup, nullptr);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("下载目录"));
    QCOMPARE(dialog.findChild<QLineEdit *>("portLE")->text(), QString("21"));
    Server partial;
    QVERIFY(partial.start("scriptedftp.py", {"refusesub"}));
    const QString before = QDir::currentPath(), check = "失败下载失败,请检查配置信息\n";
    // A session that met nothing after a good one blames the settings again.
    const QStringList clicks[] = {
        {"127.0.0.9", server.port, kPassword, "day1", check + "Connection refused"},
        {"127.0.0.1", server.port, kPassword, "day1", "成功下载成功"},
        {"127.0.0.1", server.port, "wrong", "day1", check + "Password error: 530"},
        {"127.0.0.1", partial.port, kPassword, "top",
         "失败下载失败,以下内容未能下载:\nthe directory sub was not fetched"},
        {"127.0.0.1", server.port, kPassword, "day1", "失败下载失败:比赛目录下没有 players 目录"}};
    for (const QStringList &click : clicks) {
        int field = 0;
        for (const char *name : {"serverLE", "portLE", "nameLE", "passwdLE", "dirLE"}) {
            auto *edit = dialog.findChild<QLineEdit *>(name);
            edit->clear();
            QTest::keyClicks(edit, name == QString("nameLE") ? "judge" : click[field++]);
        }
        // Without a players directory nothing is written.
        if (click[4].contains("players"))
            QVERIFY(QDir(home.path() + "/players").removeRecursively());
        QTest::mouseClick(dialog.findChild<QPushButton *>("getPB"), Qt::LeftButton);
        QVERIFY2(dialog.shown.last().startsWith(click[4].section('\n', 0, 0)) &&
                     dialog.shown.last().contains(click[4].section('\n', 1)),
                 qPrintable(dialog.shown.last()));
        QVERIFY(dialog.isVisible());
        if (dialog.shown.size() == 4) {
            QCOMPARE(treeOf(home.path() + "/players/day1"), treeOf(serverRoot.path() + "/day1"));
            QCOMPARE(readFile(home.path() + "/players/top/good.txt"), QByteArray("ok"));
        }
    }
    QCOMPARE(dialog.shown.size(), 5);
    QCOMPARE(QDir::currentPath(), before);
    QVERIFY(!QFileInfo::exists(home.path() + "/players"));
    QTest::mouseClick(dialog.findChild<QPushButton *>("cancelPB"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());

    // The plain dialog shows its outcome in a message box.
    GetFile plain(&setup, nullptr);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            shown = box->windowTitle() + box->text(), box->accept();
    });
    QTest::mouseClick(plain.findChild<QPushButton *>("getPB"), Qt::LeftButton);
    QVERIFY2(shown.startsWith("失败下载失败:比赛目录下没有 players 目录"), qPrintable(shown));
}

// taldon-cli fetch: the password from a file, and a file cut short behind a 226 named in a
// failure, its hidden file removed without a word. tst_cli refuses its bad input.
void TestFtp::cliFetchesIntoPlayers()
{
    QTemporaryDir work;
    const QString home = work.path() + "/contest home";
    QCOMPARE(runCli({"new", home}).status, 0);
    QVERIFY(writeFile(work.path() + "/good", kPassword.toUtf8() + '\n') &&
            writeFile(work.path() + "/bad", "no\n"));
    Server cut;
    QVERIFY(cut.start("scriptedftp.py", {"cut"}));
    const auto fetch = [&](const QString &password, const QString &dir, const QString &port) {
        return runCli({"fetch", home, "--server", "127.0.0.1", "--port", port, "--user", "judge",
                       "--password-file", work.path() + password, "--dir", dir});
    };
    const ProgramRun wrong = fetch("/bad", "day1", server.port);
    QCOMPARE(wrong.status, 1);
    QVERIFY2(wrong.err.contains("Password error"), qPrintable(wrong.err));
    QVERIFY(QDir(home + "/players").isEmpty());
    QCOMPARE(fetch("/good", "day1", server.port).status, 0);
    QCOMPARE(treeOf(home + "/players/day1"), treeOf(serverRoot.path() + "/day1"));
    const ProgramRun partial = fetch("/good", "top", cut.port);
    QCOMPARE(partial.status, 1);
    QVERIFY2(partial.err.contains("not everything arrived:\n") &&
                 partial.err.contains("six.txt failed: cut short") &&
                 !partial.err.contains("unlink"),
             qPrintable(partial.err));
}

// Each input beside what was read of it, so that a failure names the input.
void TestFtp::listingsRepliesAndAddresses()
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

    // The addresses tried for the data link: an internal one from a server reached from outside
    // (also over IPv6) gives way to the peer at once; anything else is tried first, the peer after.
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

void TestFtp::read_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("localNames");
    QTest::addColumn<QString>("problem"); // a text the only problem holds; empty: none
    const QByteArray zhang = QString("张三.cpp").toUtf8();
    const char *dir = "drwxr-xr-x";
    const auto row = [](const char *tag, const QByteArray &data, bool ok, const QStringList &names,
                        const QString &problem = QString()) {
        QTest::newRow(tag) << data << ok << names << problem;
    };
    row("utf-8", unixLine(zhang) + unixLine("a.c"), true, {"张三.cpp", "a.c"});
    // One name that is not UTF-8 makes the whole listing GB18030 (\xc0\xee\xcb\xc4 is 李四).
    row("gbk", unixLine(zhang) + unixLine("\xc0\xee\xcb\xc4.cpp"), true,
        {TextDecoder::fromGb18030(zhang), "李四.cpp"});
    row("clash", unixLine("\x80x.c") + unixLine("b.c") + unixLine("\xffx.c"), true, {"b.c"},
        "\"\\x80x.c\" and \"\\xffx.c\" would both be saved");
    row("dots", unixLine(".", dir) + unixLine("..", dir) + unixLine("a/b") + unixLine("c"), true,
        {"c"});
    row("cut", unixLine("a.c") + "-rw-r", false, {}, "cut short");
    row("nothing readable", "no listing\r\nnor this\r\n", false, {}, "no listing");
    row("one unreadable line", unixLine("a.c") + "what is this\r\n", true, {"a.c"},
        "unreadable listing line: what is this");
    row("empty", "total 0\r\n", true, {});
}

void TestFtp::read()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, problem);
    FtpListing listing;
    QTEST(listing.read(data), "ok");
    QStringList names;
    for (const FtpListEntry &entry : listing.entries())
        names << entry.localName;
    QTEST(names, "localNames");
    QCOMPARE(listing.problems().size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty())
        QVERIFY2(listing.problems()[0].contains(problem.toUtf8()), listing.problems()[0]);
}

// A disk that fills up (here a file size limit) fails the write, and nothing stays behind.
void TestFtp::partFileReportsAFullDisk()
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

QTEST_MAIN(TestFtp)
#include "tst_ftp.moc"
