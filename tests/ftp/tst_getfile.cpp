#include "common/testfiles.h"
#include "csetupinfo.h"
#include "ftpserverprocess.h"
#include "getfile.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// The real dialog with its outcome box replaced, so the test reads what the user would see.
class RecordingGetFile : public GetFile
{
public:
    using GetFile::GetFile;
    QStringList titles;
    QStringList texts;

protected:
    void report(const QString &title, const QString &text) override
    {
        titles << title;
        texts << text;
    }
};

void setText(QWidget *dialog, const char *name, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(name);
    QVERIFY2(edit, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

} // namespace

class TestGetFile : public QObject
{
    Q_OBJECT

private slots:
    void downloadsIntoPlayers();
};

void TestGetFile::downloadsIntoPlayers()
{
    QTemporaryDir serverRoot;
    QVERIFY(writeFile(serverRoot.path() + "/day1/1001/add/add.c", "int main() {}\n"));
    FtpServerProcess server;
    QVERIFY2(server.start("ftpserver.py", {serverRoot.path(), "judge", "secret"}),
             qPrintable(server.errorText()));

    QTemporaryDir home;
    QVERIFY(QDir().mkpath(home.path() + "/players"));
    CSetupInfo setup;
    setup.setHome(home.path());
    RecordingGetFile dialog(&setup, nullptr);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("下载目录"));
    QCOMPARE(dialog.findChild<QLineEdit *>("portLE")->text(), QString("21"));
    setText(&dialog, "serverLE", "127.0.0.1");
    setText(&dialog, "portLE", server.port());
    setText(&dialog, "nameLE", "judge");
    setText(&dialog, "passwdLE", "wrong");
    setText(&dialog, "dirLE", "day1");
    auto *getPB = dialog.findChild<QPushButton *>("getPB");
    QTest::mouseClick(getPB, Qt::LeftButton);
    QCOMPARE(dialog.titles, QStringList{"失败"});
    // The settings are the likely cause, and the client's reason is shown with the hint.
    QVERIFY2(dialog.texts.last().startsWith("下载失败,请检查配置信息\n") &&
                 dialog.texts.last().contains("Password error: 530"),
             qPrintable(dialog.texts.last()));
    QVERIFY(dialog.isVisible());

    setText(&dialog, "passwdLE", "secret");
    const QString before = QDir::currentPath();
    QTest::mouseClick(getPB, Qt::LeftButton);
    QCOMPARE(QDir::currentPath(), before);
    QCOMPARE(dialog.texts.last(), QString("下载成功"));
    QCOMPARE(dialog.titles.last(), QString("成功"));
    QCOMPARE(readFile(home.path() + "/players/day1/1001/add/add.c"), QByteArray("int main() {}\n"));

    // Once the directory is reached, a failure names what did not arrive, not the settings.
    FtpServerProcess partial;
    QVERIFY2(partial.start("scriptedftp.py", {"refusesub"}), qPrintable(partial.errorText()));
    setText(&dialog, "portLE", partial.port());
    setText(&dialog, "dirLE", "top");
    QTest::mouseClick(getPB, Qt::LeftButton);
    QCOMPARE(dialog.titles.last(), QString("失败"));
    QVERIFY2(dialog.texts.last().startsWith("下载失败,以下内容未能下载:\n") &&
                 dialog.texts.last().contains("the directory sub was not fetched"),
             qPrintable(dialog.texts.last()));
    QCOMPARE(readFile(home.path() + "/players/top/good.txt"), QByteArray("ok"));

    // Without a players directory nothing is written and the failure is shown.
    QVERIFY(QDir(home.path() + "/players").removeRecursively());
    QTest::mouseClick(getPB, Qt::LeftButton);
    QVERIFY(dialog.texts.last().startsWith("下载失败:比赛目录下没有 players 目录"));
    QVERIFY(!QFileInfo::exists(home.path() + "/players"));

    QTest::mouseClick(dialog.findChild<QPushButton *>("cancelPB"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestGetFile)
#include "tst_getfile.moc"
