#include "common/programrun.h"
#include "common/testfiles.h"
#include "ftpserverprocess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestFetchCli : public QObject
{
    Q_OBJECT

private slots:
    void fetchesIntoPlayers();
};

void TestFetchCli::fetchesIntoPlayers()
{
    QTemporaryDir serverRoot;
    QVERIFY(writeFile(serverRoot.path() + "/day1/1001/add/add.c", "int main() {}\n"));
    FtpServerProcess server;
    QVERIFY2(server.start("ftpserver.py", {serverRoot.path(), "judge", "p w$(x)"}),
             qPrintable(server.errorText()));
    QTemporaryDir work;
    const QString home = work.path() + "/contest home";
    QCOMPARE(runCli({"new", home}).status, 0);
    const QString good = work.path() + "/good";
    const QString bad = work.path() + "/bad";
    QVERIFY(writeFile(good, "p w$(x)\n"));
    QVERIFY(writeFile(bad, "nope\n"));
    const QStringList common{"fetch",  home,          "--server", "127.0.0.1",
                             "--port", server.port(), "--user",   "judge"};

    const ProgramRun wrong = runCli(common + QStringList{"--password-file", bad, "--dir", "day1"});
    QCOMPARE(wrong.status, 1);
    QVERIFY2(wrong.err.contains("Password error"), qPrintable(wrong.err));

    // Bad input changes nothing on disk.
    QCOMPARE(runCli(common + QStringList{"--password-file", good}).status, 2);
    QCOMPARE(runCli(common + QStringList{"--password-file", good, "--dir", "../x"}).status, 2);
    QCOMPARE(runCli(common + QStringList{"--password-file", work.path() + "/none", "--dir", "day1"})
                 .status,
             2);
    QStringList noContest = common;
    noContest[1] = work.path() + "/no contest";
    QCOMPARE(runCli(noContest + QStringList{"--password-file", good, "--dir", "day1"}).status, 2);
    QVERIFY(QDir(home + "/players").isEmpty());

    const ProgramRun ok = runCli(common + QStringList{"--password-file", good, "--dir", "day1"});
    QCOMPARE(ok.status, 0);
    QCOMPARE(readFile(home + "/players/day1/1001/add/add.c"), QByteArray("int main() {}\n"));

    // A file cut short behind a 226 fails the command, which says which file.
    FtpServerProcess cut;
    QVERIFY2(cut.start("scriptedftp.py", {"cut"}), qPrintable(cut.errorText()));
    QStringList toCut = common;
    toCut[5] = cut.port();
    const ProgramRun partial = runCli(toCut + QStringList{"--password-file", good, "--dir", "top"});
    QCOMPARE(partial.status, 1);
    QVERIFY2(partial.err.contains("not everything arrived:\n") &&
                 partial.err.contains("six.txt failed: cut short"),
             qPrintable(partial.err));
    QVERIFY(!QFileInfo::exists(home + "/players/top/six.txt"));
    QCOMPARE(readFile(home + "/players/top/whole.txt"), QByteArray("ok"));
}

QTEST_GUILESS_MAIN(TestFetchCli)
#include "tst_fetchcli.moc"
