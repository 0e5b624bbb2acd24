#include "compileoptions.h"
#include "customfilter.h"
#include "filtername.h"

#include "common/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CompareMethod)

class TestFilterName : public QObject
{
    Q_OBJECT

private slots:
    void composedNamesReadBack_data();
    void composedNamesReadBack();
    void namesTheFormCannotCompose();
    void compileOptionsKeepTheCompiler();
    void customFilterPlacedInContest();
};

void TestFilterName::composedNamesReadBack_data()
{
    QTest::addColumn<CompareMethod>("method");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("name");

    const CompareMethod S = CompareMethod::String;
    QTest::newRow("whole text") << S << 1 << 0 << "fulltext_e";
    QTest::newRow("lines of strings") << S << 2 << 0 << "mlss_filterspace_e";
    QTest::newRow("one string") << S << 3 << 0 << "slss_filterspace_e";
    const char *const prefixes[] = {"slsn", "slmn", "mlsn", "mlmn"};
    for (int entry = 1; entry <= 4; ++entry) {
        const QString prefix = QLatin1String(prefixes[entry - 1]);
        QTest::addRow("%s int", prefixes[entry - 1])
            << CompareMethod::Integer << entry << 0 << prefix + "_int_e";
        for (int digit = 1; digit <= 5; ++digit)
            QTest::addRow("%s float %d", prefixes[entry - 1], digit)
                << CompareMethod::Float << entry << digit
                << QStringLiteral("%1_float_%2e").arg(prefix).arg(digit);
    }
}

// Every name the form can compose is one the engine has a stock filter for, and reading it back
// gives the choice that composed it.
void TestFilterName::composedNamesReadBack()
{
    QFETCH(CompareMethod, method);
    QFETCH(int, entry);
    QFETCH(int, precision);
    QFETCH(QString, name);

    FilterChoice choice;
    choice.method = method;
    (method == CompareMethod::String ? choice.stringEntry : choice.numberEntry) = entry;
    choice.precision = precision;
    QCOMPARE(composeFilterName(choice), name);
    // The engine runs the filter by this name; a stock one of that name must exist.
    QVERIFY2(QFile::exists(qEnvironmentVariable("TALDON_BINARY_DIR") + "/app/filter/" + name),
             qPrintable(name));

    const FilterChoice back = readFilterName(name);
    QCOMPARE(back.method, method);
    QCOMPARE(back.stringEntry, choice.stringEntry);
    QCOMPARE(back.numberEntry, choice.numberEntry);
    if (method == CompareMethod::Float)
        QCOMPARE(back.precision, precision);
    QVERIFY(back.customName.isEmpty());

    // The empty sub-choice of any method composes the empty name.
    choice.stringEntry = choice.numberEntry = 0;
    QCOMPARE(composeFilterName(choice), QString());
}

void TestFilterName::namesTheFormCannotCompose()
{
    QCOMPARE(readFilterName(QString()).method, CompareMethod::None);
    FilterChoice none;
    QCOMPARE(composeFilterName(none), QString());

    // Precision characters the box cannot show: a digit above 5 shows as 5, anything else hides
    // the precision while the name is still read as a floating point one.
    QCOMPARE(readFilterName("mlmn_float_7e").precision, 5);
    const FilterChoice zero = readFilterName("mlmn_float_0e");
    QCOMPARE(zero.method, CompareMethod::Float);
    QCOMPARE(zero.numberEntry, 4);
    QCOMPARE(zero.precision, 0);
    QCOMPARE(readFilterName("slsn_float_xe").precision, 0);

    // Names that merely look alike are the organiser's own filters, shown by their names.
    for (const char *own : {"checker", "slsn_int_strict", "alxx_int_e", "slsn_float_12e",
                            "mlmn_float_3", "fulltext", "判题器"}) {
        const FilterChoice custom = readFilterName(QString::fromUtf8(own));
        QVERIFY2(custom.method == CompareMethod::Custom, own);
        QCOMPARE(custom.customName, QString::fromUtf8(own));
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
    QCOMPARE(withCompileOptions("fpc %i -Xs", QString()), QStringLiteral("fpc %i "));
    // Options that name the source again stay options: the split is at the first placeholder.
    const QString twice = withCompileOptions("g++ -o %o %i ", "-O2 %i extra.cpp");
    QCOMPARE(twice, QStringLiteral("g++ -o %o %i -O2 %i extra.cpp"));
    QCOMPARE(compileOptions(twice), QStringLiteral("-O2 %i extra.cpp"));
    QCOMPARE(withCompileOptions(twice, "-O2 %i extra2.cpp"),
             QStringLiteral("g++ -o %o %i -O2 %i extra2.cpp"));
    // A template without the placeholder is shown and edited whole.
    QCOMPARE(compileOptions("make"), QStringLiteral("make"));
    QCOMPARE(withCompileOptions("make", "make all"), QStringLiteral("make all"));
}

void TestFilterName::customFilterPlacedInContest()
{
    QTemporaryDir tmp;
    const QString home = tmp.path() + QStringLiteral("/比赛 $(x)");
    const QString outside = tmp.path() + QStringLiteral("/my judge");
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
    const QString fresh = tmp.path() + QStringLiteral("/fresh");
    QCOMPARE(placeCustomFilter(fresh, chosen, false), FilterPlacement::Copied);
    QVERIFY(QFile::exists(fresh + QStringLiteral("/filter/判题")));
    QCOMPARE(placeCustomFilter(home, outside + "/gone", false), FilterPlacement::Failed);
    QCOMPARE(placeCustomFilter(home, outside, false), FilterPlacement::Failed);
    QVERIFY(!QFile::exists(home + "/filter/gone"));
}

QTEST_GUILESS_MAIN(TestFilterName)
#include "tst_filtername.moc"
