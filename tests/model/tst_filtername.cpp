#include "compileoptions.h"
#include "contesttree.h"
#include "customfilter.h"
#include "filtername.h"
#include "globals.h"

#include "common/testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

static QString describe(const FilterChoice &c)
{
    return QString("%1 %2 %3 %4 %5")
        .arg(int(c.method))
        .arg(c.stringEntry)
        .arg(c.numberEntry)
        .arg(c.precision)
        .arg(c.customName);
}

class TestFilterName : public QObject
{
    Q_OBJECT

private slots:
    void composedNamesReadBack();
    void namesTheFormCannotCompose();
    void compileOptionsKeepTheCompiler();
    void customFilterPlacedInContest();
    void makesTreeAndCopiesFilters();
    void programDirectoryAndStockFilters();

private:
    QTemporaryDir tmp;
};

// Every name the form can compose is one of the stock filters the build makes, and reads back
// as the choice that composed it; the empty sub-choice of any method composes the empty name.
void TestFilterName::composedNamesReadBack()
{
    QList<FilterChoice> choices;
    for (int entry = 1; entry <= 4; ++entry) {
        if (entry < 4)
            choices << FilterChoice{CompareMethod::String, entry, 0, 0, {}};
        choices << FilterChoice{CompareMethod::Integer, 0, entry, 0, {}};
        for (int digit = 1; digit <= 5; ++digit)
            choices << FilterChoice{CompareMethod::Float, 0, entry, digit, {}};
    }
    for (FilterChoice choice : choices) {
        const QString name = composeFilterName(choice);
        QVERIFY2(QFile::exists(qEnvironmentVariable("TALDON_BINARY_DIR") + "/app/filter/" + name),
                 qPrintable(name));
        QCOMPARE(describe(readFilterName(name)), describe(choice));
        choice.stringEntry = choice.numberEntry = 0;
        QCOMPARE(composeFilterName(choice), QString());
    }
}

void TestFilterName::namesTheFormCannotCompose()
{
    QCOMPARE(describe(readFilterName(QString())), describe(FilterChoice()));
    QCOMPARE(composeFilterName(FilterChoice()), QString());
    // A precision digit above 5 shows as 5, anything else hides it while the name is still
    // read as a floating point one.
    QCOMPARE(readFilterName("mlmn_float_9e").precision, 5);
    QCOMPARE(describe(readFilterName("mlmn_float_xe")),
             QString("%1 0 4 0 ").arg(int(CompareMethod::Float)));
    QCOMPARE(describe(readFilterName("slsn_float_0e")),
             QString("%1 0 1 0 ").arg(int(CompareMethod::Float)));

    // Names that merely look alike are the organiser's own filters, shown by their names.
    for (const char *own : {"checker", "slsn_int_strict", "alxx_int_e", "slsn_float_12e",
                            "mlmn_float_3", "fulltext", "判题器"}) {
        const FilterChoice custom = readFilterName(QString::fromUtf8(own));
        QVERIFY2(custom.method == CompareMethod::Custom, own);
        QCOMPARE(composeFilterName(custom), QString::fromUtf8(own));
        QCOMPARE(withPrecision(own, "4"), QString::fromUtf8(own));
    }
    // The precision digit is replaced in floating point names only, by one character.
    QCOMPARE(withPrecision("mlmn_float_3e", "5"), QStringLiteral("mlmn_float_5e"));
    QCOMPARE(withPrecision("slsn_float_0e", "2"), QStringLiteral("slsn_float_2e"));
    QCOMPARE(withPrecision("mlmn_float_3e", "45"), QStringLiteral("mlmn_float_3e"));
    QCOMPARE(withPrecision("slsn_int_e", "4"), QStringLiteral("slsn_int_e"));
}

void TestFilterName::compileOptionsKeepTheCompiler()
{
    QCOMPARE(compileOptions("gcc -o %o %i "), QString());
    QCOMPARE(withCompileOptions("fpc %i ", "-O2"), QStringLiteral("fpc %i -O2"));
    QCOMPARE(withCompileOptions("fpc %i -O2", "-Xs"), QStringLiteral("fpc %i -Xs"));
    // Options that name the source again stay options: the split is at the first placeholder.
    const QString twice = withCompileOptions("g++ -o %o %i ", "-O2 %i extra.cpp");
    QCOMPARE(twice, QStringLiteral("g++ -o %o %i -O2 %i extra.cpp"));
    QCOMPARE(compileOptions(twice), QStringLiteral("-O2 %i extra.cpp"));
    QCOMPARE(withCompileOptions(twice, "-O2"), QStringLiteral("g++ -o %o %i -O2"));
    // A template without the placeholder is shown and edited whole.
    QCOMPARE(compileOptions("make"), QStringLiteral("make"));
    QCOMPARE(withCompileOptions("make", "make all"), QStringLiteral("make all"));
}

void TestFilterName::customFilterPlacedInContest()
{
    const QString home = tmp.filePath("比赛 $(x)");
    const QString outside = tmp.filePath("my judge");
    QVERIFY(QDir().mkpath(home + "/filter") && QDir().mkpath(outside));
    const QString chosen = outside + QStringLiteral("/判题");
    QVERIFY(writeFile(chosen, "#!/bin/sh\necho 10\n"));
    QVERIFY(QFile::setPermissions(chosen, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString placed = home + QStringLiteral("/filter/判题");
    QCOMPARE(placeCustomFilter(home, chosen, false), FilterPlacement::Copied);
    QCOMPARE(readFile(placed), QByteArray("#!/bin/sh\necho 10\n"));
    QVERIFY(QFileInfo(placed).permissions() & QFile::ExeOwner);
    QCOMPARE(placeCustomFilter(home, chosen, false), FilterPlacement::InPlace);
    QCOMPARE(placeCustomFilter(home, placed, false), FilterPlacement::InPlace);

    // A different file of the same name is kept unless replacing was agreed.
    QVERIFY(writeFile(chosen, "#!/bin/sh\necho 5\n"));
    QCOMPARE(placeCustomFilter(home, chosen, false), FilterPlacement::NameTaken);
    QCOMPARE(readFile(placed), QByteArray("#!/bin/sh\necho 10\n"));
    QCOMPARE(placeCustomFilter(home, chosen, true), FilterPlacement::Copied);
    QCOMPARE(readFile(placed), QByteArray("#!/bin/sh\necho 5\n"));

    // A missing filter directory is made; a missing or unreadable source changes nothing.
    QCOMPARE(placeCustomFilter(tmp.filePath("fresh"), chosen, false), FilterPlacement::Copied);
    QVERIFY(QFile::exists(tmp.filePath("fresh/filter/判题")));
    QCOMPARE(placeCustomFilter(home, outside + "/gone", false), FilterPlacement::Failed);
    QCOMPARE(placeCustomFilter(home, outside, false), FilterPlacement::Failed);
    QVERIFY(!QFile::exists(home + "/filter/gone"));
}

// The stock filters replace those of an earlier contest, with their permissions. A missing
// stock directory copies nothing, nor does none at all take the current directory's files; a
// file where a directory belongs fails the tree.
void TestFilterName::makesTreeAndCopiesFilters()
{
    const QString stock = tmp.filePath("stock");
    QVERIFY(QDir().mkpath(stock + "/subdir"));
    QVERIFY(writeFile(stock + "/fulltext", "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(stock + "/fulltext", QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ExeOther));
    QVERIFY(writeFile(stock + "/比较 $(x)", "data"));
    const QString home = tmp.filePath("a/b/考试 2026");
    QVERIFY(writeFile(home + "/filter/fulltext", "old filter that is longer"));
    QVERIFY(QDir().mkpath(home + "/players/day1"));
    QVERIFY(ContestTree::makeTree(home, stock));
    QCOMPARE(QDir(home).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             QStringList({"data", "evaldata", "filter", "final", "players", "result", "tmp"}));
    QVERIFY(QFileInfo(home + "/players/day1").isDir());
    QCOMPARE(QDir(home + "/filter").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"fulltext", "比较 $(x)"}));
    QCOMPARE(readFile(home + "/filter/fulltext") + readFile(home + "/filter/比较 $(x)"),
             QByteArray("#!/bin/sh\ndata"));
    QCOMPARE(QFileInfo(home + "/filter/fulltext").permissions(),
             QFileInfo(stock + "/fulltext").permissions());
    QVERIFY(ContestTree::makeTree(tmp.filePath("bare"), tmp.filePath("no-stock")));
    QVERIFY(QDir(tmp.filePath("bare/filter")).isEmpty());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(stock));
    QVERIFY(ContestTree::makeTree(tmp.filePath("none"), QString()));
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(QDir(tmp.filePath("none/filter")).isEmpty());
    const QString blocked = tmp.filePath("blocked");
    QVERIFY(writeFile(blocked + "/tmp", "a file where a directory belongs"));
    QVERIFY(!ContestTree::makeTree(blocked, QString()));
    QVERIFY(QFileInfo(blocked + "/final").isDir() && !QFileInfo::exists(blocked + "/filter"));
    QVERIFY(!ContestTree::makeTree(blocked + "/tmp/inner", QString()));
}

// The first candidate holding a file is the stock directory. A program started through the
// search path is found by its real executable, not by a filter directory in the current one;
// the installed directory comes last and may be named by the environment.
void TestFilterName::programDirectoryAndStockFilters()
{
    setProgramDirectory("/opt/考试/bin/taldon");
    QCOMPARE(QString::fromUtf8(g_directory), QString("/opt/考试/bin/"));
    QCOMPARE(ContestTree::stockFilterCandidates().value(0), QString("/opt/考试/bin/filter"));
    const QByteArray fits = "/" + QByteArray(91, 'd') + "/taldon";
    setProgramDirectory(fits.constData());
    QCOMPARE(QByteArray(g_directory), fits.left(93));
    for (const QByteArray &refused : {fits + "x", QByteArray("taldon")}) {
        setProgramDirectory(refused.constData());
        QCOMPARE(g_directory[0], '\0');
    }
    setProgramDirectory(nullptr);
    QCOMPARE(g_directory[0], '\0');
    const QString full = tmp.filePath("full");
    QVERIFY(QDir().mkpath(tmp.filePath("empty")) && QDir().mkpath(tmp.filePath("sub/fulltext_e")));
    QVERIFY(writeFile(full + "/fulltext_e", "#!/bin/sh\n"));
    QVERIFY(writeFile(tmp.filePath("later/fulltext_e"), "#!/bin/sh\n"));
    const QStringList dirs = {tmp.filePath("missing"), QString(), tmp.filePath("empty"),
                              tmp.filePath("sub"),     full,      tmp.filePath("later")};
    QCOMPARE(ContestTree::firstFilterDir(dirs), full);
    QCOMPARE(ContestTree::firstFilterDir(dirs.mid(0, 4)), QString());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp.path()));
    QVERIFY(writeFile(tmp.filePath("filter/stray"), "not a stock filter"));
    const QString beside = QCoreApplication::applicationDirPath() + "/filter";
    const QStringList candidates = ContestTree::stockFilterCandidates();
    QCOMPARE(candidates.value(0), beside);
    for (const QString &dir : candidates)
        QVERIFY2(QDir::isAbsolutePath(dir), qPrintable(dir));
    qputenv("TALDON_FILTER_DIR", "/opt/taldon/filter");
    QCOMPARE(ContestTree::stockFilterCandidates().constLast(), QString("/opt/taldon/filter"));
    qputenv("TALDON_FILTER_DIR", QByteArray());
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(writeFile(tmp.filePath("bin/filter/exact"), "#!/bin/sh\n"));
    setProgramDirectory(tmp.filePath("bin/taldon").toUtf8().constData());
    QCOMPARE(ContestTree::stockFilterDir(), tmp.filePath("bin/filter"));
}

QTEST_GUILESS_MAIN(TestFilterName)
#include "tst_filtername.moc"
