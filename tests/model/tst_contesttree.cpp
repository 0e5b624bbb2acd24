#include "common/testfiles.h"

#include "contesttree.h"
#include "globals.h"

#include <QCoreApplication>
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
    void findsStockFilters();

private:
    QTemporaryDir tmp;
};

void TstContestTree::makesTreeAndCopiesFilters()
{
    const QString stock = tmp.filePath("stock");
    QVERIFY(QDir().mkpath(stock + "/subdir"));
    QVERIFY(writeFile(stock + "/fulltext", "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(stock + "/fulltext", QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ExeOther));
    QVERIFY(writeFile(stock + "/比较 $(x)", "data"));

    const QString home = tmp.filePath("a/b/考试 2026");
    QVERIFY(QDir().mkpath(home + "/players/day1"));
    QVERIFY(QDir().mkpath(home + "/filter"));
    QVERIFY(writeFile(home + "/filter/fulltext", "old filter that is longer"));
    QVERIFY(ContestTree::makeTree(home, stock));

    QCOMPARE(QDir(home).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             QStringList({"data", "evaldata", "filter", "final", "players", "result", "tmp"}));
    QVERIFY(QFileInfo(home + "/players/day1").isDir());
    QCOMPARE(QDir(home + "/filter").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"fulltext", "比较 $(x)"}));
    QCOMPARE(readFile(home + "/filter/fulltext"), QByteArray("#!/bin/sh\n"));
    QCOMPARE(QFileInfo(home + "/filter/fulltext").permissions(),
             QFileInfo(stock + "/fulltext").permissions());
    QCOMPARE(readFile(home + "/filter/比较 $(x)"), QByteArray("data"));

    // A missing stock directory copies nothing; no stock directory found at all does not take
    // the files of the current directory for filters.
    QVERIFY(ContestTree::makeTree(tmp.filePath("bare"), tmp.filePath("no-stock")));
    QVERIFY(QDir(tmp.filePath("bare/filter")).isEmpty());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(stock));
    QVERIFY(ContestTree::makeTree(tmp.filePath("none"), QString()));
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(QDir(tmp.filePath("none/filter")).isEmpty());
}

void TstContestTree::failsWhereDirectoryCannotBeMade()
{
    const QString home = tmp.filePath("blocked");
    QVERIFY(QDir().mkpath(home));
    QVERIFY(writeFile(home + "/tmp", "a file where a directory belongs"));
    QVERIFY(!ContestTree::makeTree(home, QString()));
    QVERIFY(QFileInfo(home + "/final").isDir());
    QVERIFY(!QFileInfo::exists(home + "/filter"));

    QVERIFY(!ContestTree::makeTree(home + "/tmp/inner", QString()));
}

void TstContestTree::programDirectoryFromArgv0()
{
    setProgramDirectory("/opt/考试/bin/taldon");
    QCOMPARE(QString::fromUtf8(g_directory), QString("/opt/考试/bin/"));
    QCOMPARE(ContestTree::stockFilterCandidates().value(0), QString("/opt/考试/bin/filter"));

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

void TstContestTree::findsStockFilters()
{
    const QString missing = tmp.filePath("missing");
    const QString empty = tmp.filePath("empty");
    const QString onlySubdir = tmp.filePath("only-subdir");
    const QString full = tmp.filePath("full");
    const QString later = tmp.filePath("later");
    for (const QString &dir : {empty, onlySubdir + "/fulltext_e", full, later})
        QVERIFY(QDir().mkpath(dir));
    QVERIFY(writeFile(full + "/fulltext_e", "#!/bin/sh\n"));
    QVERIFY(writeFile(later + "/fulltext_e", "#!/bin/sh\n"));
    QCOMPARE(ContestTree::firstFilterDir({missing, QString(), empty, onlySubdir, full, later}),
             full);
    QCOMPARE(ContestTree::firstFilterDir({missing, empty, onlySubdir}), QString());

    // Started through the search path: the bare name says nothing, the real executable does,
    // and a filter directory in the current directory is not mistaken for the program's.
    setProgramDirectory("taldon");
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp.path()));
    QVERIFY(QDir().mkpath(tmp.filePath("filter")));
    QVERIFY(writeFile(tmp.filePath("filter/stray"), "not a stock filter"));
    const QStringList candidates = ContestTree::stockFilterCandidates();
    QCOMPARE(candidates.value(0), QCoreApplication::applicationDirPath() + "/filter");
    QVERIFY(!candidates.contains("filter"));
    for (const QString &dir : candidates)
        QVERIFY2(QDir::isAbsolutePath(dir), qPrintable(dir));
    // The installed directory comes last and may be named by the environment instead.
    qputenv("TALDON_FILTER_DIR", "/opt/taldon/filter");
    QCOMPARE(ContestTree::stockFilterCandidates().constLast(), QString("/opt/taldon/filter"));
    qputenv("TALDON_FILTER_DIR", QByteArray());

    const QString beside = QCoreApplication::applicationDirPath() + "/filter";
    QVERIFY(QDir().mkpath(beside));
    QVERIFY(writeFile(beside + "/exact", "#!/bin/sh\n"));
    const QString found = ContestTree::stockFilterDir();
    QVERIFY(QDir(beside).removeRecursively());
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(found, beside);
}

QTEST_GUILESS_MAIN(TstContestTree)
#include "tst_contesttree.moc"
