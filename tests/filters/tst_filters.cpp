#include "common/programrun.h"
#include "common/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Runs the stock filters as the judge does: three file arguments, the verdict on standard
// output as a message line and a score line.
class TestFilters : public QObject
{
    Q_OBJECT

private slots:
    void everyStockNameJudges();
    void fullText_data();
    void fullText();
    void filterSpace_data();
    void filterSpace();
    void integers_data();
    void integers();
    void floats_data();
    void floats();
    void unreadableFiles();
    void messagesStaySafe();
    void copiesWorkOnTheirOwn();

private:
    struct Run {
        QString message;
        int score = -1;
        int exitCode = -1;
    };
    void addCases();
    void checkCase();
    Run judge(const QString &program, const QByteArray &output, const QByteArray &answer);
    Run runFilter(const QString &program, const QStringList &arguments);

    QTemporaryDir m_dir;
};

static QString filterDir()
{
    return QString::fromLocal8Bit(qgetenv("TALDON_BINARY_DIR")) + "/app/filter";
}

static QStringList stockNames()
{
    QStringList names{"fulltext_e", "mlss_filterspace_e", "slss_filterspace_e"};
    for (const QString prefix : {"slsn_", "slmn_", "mlsn_", "mlmn_"}) {
        names << prefix + "int_e";
        for (int k = 1; k <= 5; ++k)
            names << prefix + QString("float_%1e").arg(k);
    }
    return names;
}

TestFilters::Run TestFilters::runFilter(const QString &program, const QStringList &arguments)
{
    const ProgramRun ran = runProgram(program, arguments, m_dir.path());
    Run run;
    if (ran.status < 0)
        return run;
    run.exitCode = ran.status;
    // Exactly two lines: the message, then the score.
    const QList<QByteArray> lines = ran.out.split('\n');
    if (lines.size() != 3 || !lines[2].isEmpty())
        return run;
    run.message = QString::fromUtf8(lines[0]);
    bool ok = false;
    run.score = lines[1].toInt(&ok);
    if (!ok)
        run.score = -1;
    return run;
}

TestFilters::Run TestFilters::judge(const QString &program, const QByteArray &output,
                                    const QByteArray &answer)
{
    if (!writeFile(m_dir.filePath("task.in"), "input\n") ||
        !writeFile(m_dir.filePath("task.out"), output) ||
        !writeFile(m_dir.filePath("task1.ans"), answer))
        QTest::qFail("cannot write the files to judge", __FILE__, __LINE__);
    return runFilter(program, {"task.in", "task.out", m_dir.filePath("task1.ans")});
}

void TestFilters::addCases()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("messagePart");
}

void TestFilters::checkCase()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, answer);
    QFETCH(int, score);
    QFETCH(QString, messagePart);
    const Run run = judge(filterDir() + "/" + name, output, answer);
    QCOMPARE(run.score, score);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.message.contains(messagePart), qPrintable(run.message));
}

void TestFilters::everyStockNameJudges()
{
    const QStringList names = stockNames();
    QCOMPARE(names.size(), 27);
    for (const QString &name : names) {
        const QString program = filterDir() + "/" + name;
        QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(program));
        const Run same = judge(program, "7\n", "7\n");
        QCOMPARE(same.message, QString("Accepted."));
        QCOMPARE(same.score, 10);
        const Run other = judge(program, "8\n", "7\n");
        QCOMPARE(other.score, 0);
        QVERIFY2(other.message.contains("Line 1"), qPrintable(name + ": " + other.message));
    }
}

void TestFilters::fullText_data()
{
    addCases();
    QTest::newRow("equal") << "fulltext_e" << QByteArray("a b\nc\n") << QByteArray("a b\nc\n") << 10
                           << "Accepted.";
    QTest::newRow("both empty") << "fulltext_e" << QByteArray() << QByteArray() << 10
                                << "Accepted.";
    QTest::newRow("CR LF is not LF") << "fulltext_e" << QByteArray("a\r\nb\r\n")
                                     << QByteArray("a\nb\n") << 0 << "Line 1, column 2";
    QTest::newRow("missing last newline")
        << "fulltext_e" << QByteArray("a\nb") << QByteArray("a\nb\n") << 0 << "read end of file";
    QTest::newRow("extra trailing blank")
        << "fulltext_e" << QByteArray("a\nb \n") << QByteArray("a\nb\n") << 0 << "Line 2, column 2";
    QTest::newRow("line two differs")
        << "fulltext_e" << QByteArray("x\nhello\n") << QByteArray("x\nhelp\n") << 0
        << "Line 2, column 4: expected \"help\", read \"hello\"";
}

void TestFilters::fullText()
{
    checkCase();
}

void TestFilters::filterSpace_data()
{
    addCases();
    const QString sl = "slss_filterspace_e";
    const QString ml = "mlss_filterspace_e";
    QTest::newRow("sl blanks removed")
        << sl << QByteArray(" a b\tc ") << QByteArray("abc\n") << 10 << "Accepted.";
    QTest::newRow("sl ignores line 2")
        << sl << QByteArray("abc\nxyz\n") << QByteArray("abc\n") << 10 << "Accepted.";
    QTest::newRow("sl differs") << sl << QByteArray("ab\n") << QByteArray("abc\n") << 0
                                << "Line 1: expected \"abc\", read \"ab\".";
    QTest::newRow("sl empty output") << sl << QByteArray() << QByteArray("abc\n") << 0 << "Line 1";
    QTest::newRow("ml CR LF and trailing empty lines")
        << ml << QByteArray("a b\r\nc d\r\n\r\n  \n\n") << QByteArray("ab\ncd") << 10
        << "Accepted.";
    QTest::newRow("ml blank line inside")
        << ml << QByteArray("a\n \t\nb\n") << QByteArray("a\n\nb\n") << 10 << "Accepted.";
    QTest::newRow("ml missing line") << ml << QByteArray("a\nb\n") << QByteArray("a\nb\nc\n") << 0
                                     << "Line 3: output ends, expected \"c\"";
    QTest::newRow("ml extra line") << ml << QByteArray("a\nb\nc\n") << QByteArray("a\nb\n") << 0
                                   << "Line 3: extra output \"c\"";
    QTest::newRow("ml empty line is not missing")
        << ml << QByteArray("a\n\nb\n") << QByteArray("a\nb\n") << 0 << "Line 2";
}

void TestFilters::filterSpace()
{
    checkCase();
}

void TestFilters::integers_data()
{
    addCases();
    QTest::newRow("plus sign and blanks")
        << "slsn_int_e" << QByteArray("  +42 \r\n") << QByteArray("42") << 10 << "Accepted.";
    QTest::newRow("minus zero") << "slsn_int_e" << QByteArray("-0") << QByteArray("0") << 10
                                << "Accepted.";
    QTest::newRow("64-bit bounds")
        << "slmn_int_e" << QByteArray("9223372036854775807 -9223372036854775808")
        << QByteArray("9223372036854775807\t-9223372036854775808\n") << 10 << "Accepted.";
    QTest::newRow("overflow") << "slsn_int_e" << QByteArray("9223372036854775808")
                              << QByteArray("-9223372036854775808") << 0
                              << "\"9223372036854775808\" is not a 64-bit integer";
    QTest::newRow("not an integer")
        << "slsn_int_e" << QByteArray("1.0") << QByteArray("1") << 0 << "is not a 64-bit integer";
    QTest::newRow("sign alone") << "slsn_int_e" << QByteArray("-") << QByteArray("1") << 0
                                << "is not a 64-bit integer";
    QTest::newRow("single wants one")
        << "slsn_int_e" << QByteArray("5 6") << QByteArray("5") << 0 << "expected 1 number, read 2";
    QTest::newRow("many counts must match")
        << "slmn_int_e" << QByteArray("1 2") << QByteArray("1 2 3") << 0
        << "expected 3 numbers, read 2";
    QTest::newRow("many names the number")
        << "mlmn_int_e" << QByteArray("1 2\n3 5\n") << QByteArray("1 2\n3 4\n") << 0
        << "Line 2, number 2: expected \"4\", read \"5\"";
    QTest::newRow("ml trailing empty lines")
        << "mlsn_int_e" << QByteArray("1\r\n2\r\n\r\n") << QByteArray("1\n2") << 10 << "Accepted.";
    QTest::newRow("ml extra line") << "mlsn_int_e" << QByteArray("1\n2\n3\n")
                                   << QByteArray("1\n2\n") << 0 << "Line 3: extra output";
    QTest::newRow("sl ignores the rest") << "slmn_int_e" << QByteArray("1 2\ngarbage\n")
                                         << QByteArray("1 2\n3\n") << 10 << "Accepted.";
}

void TestFilters::integers()
{
    checkCase();
}

void TestFilters::floats_data()
{
    addCases();
    QTest::newRow("within 10^-3") << "slsn_float_3e" << QByteArray("1.0009") << QByteArray("1")
                                  << 10 << "Accepted.";
    QTest::newRow("beyond 10^-3") << "slsn_float_3e" << QByteArray("1.0011") << QByteArray("1") << 0
                                  << "expected \"1\", read \"1.0011\"";
    QTest::newRow("exactly 10^-1 apart")
        << "slsn_float_1e" << QByteArray("1.3") << QByteArray("1.2") << 10 << "Accepted.";
    QTest::newRow("large exactly 10^-1 apart") << "slsn_float_1e" << QByteArray("12345678.9")
                                               << QByteArray("12345679.0") << 10 << "Accepted.";
    QTest::newRow("just beyond 10^-5")
        << "slsn_float_5e" << QByteArray("0.000011") << QByteArray("0") << 0 << "expected";
    QTest::newRow("forms") << "slmn_float_2e" << QByteArray("+.5 5. 1e2 -2.5E-1")
                           << QByteArray("0.5 5 100 -0.25") << 10 << "Accepted.";
    QTest::newRow("underflow is zero")
        << "slsn_float_1e" << QByteArray("1e-400") << QByteArray("0") << 10 << "Accepted.";
    QTest::newRow("overflow") << "slsn_float_1e" << QByteArray("1e400") << QByteArray("0") << 0
                              << "is not a finite decimal number";
    QTest::newRow("nan") << "slsn_float_1e" << QByteArray("nan") << QByteArray("0") << 0
                         << "is not a finite decimal number";
    QTest::newRow("inf") << "slsn_float_1e" << QByteArray("inf") << QByteArray("0") << 0
                         << "is not a finite decimal number";
    QTest::newRow("hex") << "slsn_float_1e" << QByteArray("0x10") << QByteArray("16") << 0
                         << "is not a finite decimal number";
    QTest::newRow("bare exponent") << "slsn_float_1e" << QByteArray("1e") << QByteArray("1") << 0
                                   << "is not a finite decimal number";
    QTest::newRow("mlmn lines") << "mlmn_float_3e" << QByteArray("1.0001 2\r\n\r\n3.14159\n\n")
                                << QByteArray("1 2.0002\n\n3.1416\n") << 10 << "Accepted.";
}

void TestFilters::floats()
{
    checkCase();
}

void TestFilters::unreadableFiles()
{
    const QString program = filterDir() + "/mlmn_int_e";
    QVERIFY(writeFile(m_dir.filePath("task1.ans"), "1\n"));
    const Run missing = runFilter(program, {"in", "no such.out", m_dir.filePath("task1.ans")});
    QCOMPARE(missing.score, 0);
    QCOMPARE(missing.exitCode, 0);
    QVERIFY2(missing.message.startsWith("Cannot read the output file"),
             qPrintable(missing.message));

    QVERIFY(QDir(m_dir.path()).mkpath("a dir"));
    const Run directory = runFilter(program, {"in", "a dir", m_dir.filePath("task1.ans")});
    QCOMPARE(directory.score, 0);
    QVERIFY2(directory.message.startsWith("Cannot read the output file"),
             qPrintable(directory.message));

    QVERIFY(writeFile(m_dir.filePath("$(touch pwned).out"), "1\n"));
    const Run noAnswer = runFilter(program, {"in", "$(touch pwned).out", "no such.ans"});
    QCOMPARE(noAnswer.score, 0);
    QCOMPARE(noAnswer.exitCode, 1);
    QVERIFY2(noAnswer.message.startsWith("Cannot read the answer file"),
             qPrintable(noAnswer.message));
    QVERIFY(!QFile::exists(m_dir.filePath("pwned")));

    const Run badAnswer = judge(program, "1\n", "one\n");
    QCOMPARE(badAnswer.score, 0);
    QCOMPARE(badAnswer.exitCode, 1);
    QVERIFY2(badAnswer.message.startsWith("Answer file line 1"), qPrintable(badAnswer.message));
}

void TestFilters::messagesStaySafe()
{
    for (const char *name : {"fulltext_e", "mlss_filterspace_e", "mlmn_int_e"}) {
        const Run braces =
            judge(filterDir() + "/" + QString(name), "{\t}\r\n{x}\n", "{\t}\r\n{y}\n");
        QCOMPARE(braces.score, 0);
        QVERIFY2(!braces.message.contains('{') && !braces.message.contains('}'),
                 qPrintable(braces.message));
    }
    // A long line of three-byte characters: the message is short and cut between characters.
    const QByteArray longLine = QString(5000, QChar(0x4E2D)).toUtf8();
    const Run cut = judge(filterDir() + "/slss_filterspace_e", longLine + "a", longLine + "b");
    QCOMPARE(cut.score, 0);
    QVERIFY2(cut.message.size() < 200, qPrintable(cut.message));
    QVERIFY(!cut.message.contains(QChar::ReplacementCharacter));
    QVERIFY2(cut.message.contains("expected \"...") && cut.message.contains("b\""),
             qPrintable(cut.message));
}

void TestFilters::copiesWorkOnTheirOwn()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    for (const QString name : {"mlmn_float_3e", "fulltext_e", "myfilter"}) {
        const QString source = filterDir() + "/" + (name == "myfilter" ? "fulltext_e" : name);
        QCOMPARE(QProcess::execute("cp", {source, elsewhere.filePath(name)}), 0);
    }
    const Run floats = judge(elsewhere.filePath("mlmn_float_3e"), "1.0001 2\n", "1 2\n");
    QCOMPARE(floats.score, 10);
    const Run text = judge(elsewhere.filePath("fulltext_e"), "a\n", "a\r\n");
    QCOMPARE(text.score, 0);

    const Run unknown = judge(elsewhere.filePath("myfilter"), "a\n", "a\n");
    QCOMPARE(unknown.exitCode, 2);
    QCOMPARE(unknown.score, 0);
    QVERIFY2(unknown.message.contains("myfilter"), qPrintable(unknown.message));

    const Run usage = runFilter(filterDir() + "/fulltext_e", {"only", "two"});
    QCOMPARE(usage.exitCode, 2);
    QCOMPARE(usage.score, 0);
}

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
