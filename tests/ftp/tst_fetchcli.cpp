#include "ftpserverprocess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

struct Run {
    int status = -1;
    QString err;
};

Run runCli(const QStringList &args)
{
    QProcess process;
    process.start(qEnvironmentVariable("TALDON_BINARY_DIR") + "/cli/taldon-cli", args);
    Run run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
        run.err = QString::fromUtf8(process.readAllStandardError());
    }
    return run;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestFetchCli : public QObject
{
    Q_OBJECT

private slots:
    void fetchesIntoPlayers();
};

void TestFetchCli::fetchesIntoPlayers()
{
    QTemporaryDir serverRoot;
    writeFile(serverRoot.path() + "/day1/1001/add/add.c", "int main() {}\n");
    FtpServerProcess server;
    QVERIFY2(server.start("ftpserver.py", {serverRoot.path(), "judge", "p w$(x)"}),
             qPrintable(server.errorText()));
    QTemporaryDir work;
    const QString home = work.path() + "/contest home";
    QCOMPARE(runCli({"new", home}).status, 0);
    const QString good = work.path() + "/good";
    const QString bad = work.path() + "/bad";
    writeFile(good, "p w$(x)\n");
    writeFile(bad, "nope\n");
    const QStringList common{"fetch",  home,          "--server", "127.0.0.1",
                             "--port", server.port(), "--user",   "judge"};

    const Run wrong = runCli(common + QStringList{"--password-file", bad, "--dir", "day1"});
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

    const Run ok = runCli(common + QStringList{"--password-file", good, "--dir", "day1"});
    QCOMPARE(ok.status, 0);
    QFile fetched(home + "/players/day1/1001/add/add.c");
    QVERIFY(fetched.open(QIODevice::ReadOnly));
    QCOMPARE(fetched.readAll(), QByteArray("int main() {}\n"));
}

QTEST_GUILESS_MAIN(TestFetchCli)
#include "tst_fetchcli.moc"
