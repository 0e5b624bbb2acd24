#include "filehelpers.h"

#include "contesttree.h"
#include "globals.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TstContestTree : public QObject
{
    Q_OBJECT

private slots:
    void makesTreeAndCopiesFilters();
    void failsWhereDirectoryCannotBeMade();
    void programDirectoryFromArgv0();

private:
    QTemporaryDir tmp;
};

void TstContestTree::makesTreeAndCopiesFilters()
{
    const QString stock = tmp.filePath("stock");
    QVERIFY(QDir().mkpath(stock + "/subdir"));
    QVERIFY(writeBytes(stock + "/fulltext", "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(stock + "/fulltext", QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ExeOther));
    QVERIFY(writeBytes(stock + "/比较 $(x)", "data"));

    const QString home = tmp.filePath("a/b/考试 2026");
    QVERIFY(QDir().mkpath(home + "/players/day1"));
    QVERIFY(QDir().mkpath(home + "/filter"));
    QVERIFY(writeBytes(home + "/filter/fulltext", "old filter that is longer"));
    QVERIFY(ContestTree::makeTree(home, stock));

    const QStringList subdirs{"players", "data", "result", "final", "tmp", "filter", "evaldata"};
    for (const QString &d : subdirs)
        QVERIFY2(QFileInfo(home + '/' + d).isDir(), qPrintable(d));
    QVERIFY(QFileInfo(home + "/players/day1").isDir());
    QCOMPARE(QDir(home + "/filter").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"fulltext", "比较 $(x)"}));
    QCOMPARE(readBytes(home + "/filter/fulltext"), QByteArray("#!/bin/sh\n"));
    QCOMPARE(QFileInfo(home + "/filter/fulltext").permissions(),
             QFileInfo(stock + "/fulltext").permissions());
    QCOMPARE(readBytes(home + "/filter/比较 $(x)"), QByteArray("data"));

    const QString bare = tmp.filePath("bare");
    QVERIFY(ContestTree::makeTree(bare, tmp.filePath("no-stock")));
    QVERIFY(QDir(bare + "/filter").isEmpty());
}

void TstContestTree::failsWhereDirectoryCannotBeMade()
{
    const QString home = tmp.filePath("blocked");
    QVERIFY(QDir().mkpath(home));
    QVERIFY(writeBytes(home + "/tmp", "a file where a directory belongs"));
    QVERIFY(!ContestTree::makeTree(home, QString()));
    QVERIFY(QFileInfo(home + "/final").isDir());
    QVERIFY(!QFileInfo::exists(home + "/filter"));

    QVERIFY(!ContestTree::makeTree(home + "/tmp/inner", QString()));
}

void TstContestTree::programDirectoryFromArgv0()
{
    setProgramDirectory("/opt/考试/bin/taldon");
    QCOMPARE(QString::fromUtf8(g_directory), QString("/opt/考试/bin/"));
    QCOMPARE(ContestTree::stockFilterDir(), QString("/opt/考试/bin/filter"));

    setProgramDirectory("taldon");
    QCOMPARE(g_directory[0], '\0');

    const QByteArray fits = "/" + QByteArray(91, 'd') + "/taldon";
    QCOMPARE(fits.size(), 99);
    setProgramDirectory(fits.constData());
    QCOMPARE(QByteArray(g_directory), fits.left(93));
    const QByteArray tooLong = fits + "x";
    setProgramDirectory(tooLong.constData());
    QCOMPARE(g_directory[0], '\0');
    setProgramDirectory(nullptr);
    QCOMPARE(g_directory[0], '\0');
}

QTEST_GUILESS_MAIN(TstContestTree)
#include "tst_contesttree.moc"
