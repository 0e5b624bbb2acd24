#include "common/programrun.h"
#include "common/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cctype>

// Runs the stock filters as the judge does: three file arguments, the verdict on standard
// output as a message line and a score line.
class TestFilters : public QObject
{
    Q_OBJECT

private slots:
    void everyStockNameJudges();
    void verdicts_data();
    void verdicts();
    void equalNumbers_data();
    void equalNumbers();
    void refusedNumbers_data();
    void refusedNumbers();
    void digitPlaces_data();
    void digitPlaces();
    void numbersAtEveryAlignment();
    void unreadableFiles();
    void nonRegularFiles();
    void messagesStaySafe();
    void copiesWorkOnTheirOwn();

private:
    struct Run {
        QString message;
        int score = -1;
        int exitCode = -1;
    };
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
        // float_<k>e forgives 0.9 * 10^-k and not 1.1 * 10^-k.
        const int k = name.contains("float_") ? name.at(name.size() - 2).digitValue() : 0;
        if (k > 0) {
            const QByteArray zeros(k - 1, '0');
            QCOMPARE(judge(program, "1." + zeros + "09\n", "1\n").score, 10);
            QCOMPARE(judge(program, "1." + zeros + "11\n", "1\n").score, 0);
        }
    }
}

// Each filter's verdicts: the score, and the message word for word. A fault of the answer file
// is the organiser's: it ends with status 1, not as a wrong output.
void TestFilters::verdicts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("message");
    QTest::newRow("equal") << "fulltext_e" << QByteArray("a b\nc\n") << QByteArray("a b\nc\n") << 10
                           << "Accepted.";
    QTest::newRow("both empty") << "fulltext_e" << QByteArray("") << QByteArray("") << 10
                                << "Accepted.";
    QTest::newRow("CR LF is not LF")
        << "fulltext_e" << QByteArray("a\r\nb\r\n") << QByteArray("a\nb\n") << 0
        << "Line 1, column 2: expected \"a\", read \"a\\r\".";
    QTest::newRow("missing last newline")
        << "fulltext_e" << QByteArray("a\nb") << QByteArray("a\nb\n") << 0
        << "Line 2, column 2: expected \"b\", read end of file.";
    QTest::newRow("extra trailing blank")
        << "fulltext_e" << QByteArray("a\nb \n") << QByteArray("a\nb\n") << 0
        << "Line 2, column 2: expected \"b\", read \"b \".";
    QTest::newRow("line two differs")
        << "fulltext_e" << QByteArray("x\nhello\n") << QByteArray("x\nhelp\n") << 0
        << "Line 2, column 4: expected \"help\", read \"hello\".";
    QTest::newRow("sl blanks removed") << "slss_filterspace_e" << QByteArray(" a b\tc ")
                                       << QByteArray("abc\n") << 10 << "Accepted.";
    QTest::newRow("sl ignores line 2") << "slss_filterspace_e" << QByteArray("abc\nxyz\n")
                                       << QByteArray("abc\n") << 10 << "Accepted.";
    QTest::newRow("sl differs") << "slss_filterspace_e" << QByteArray("ab\n") << QByteArray("abc\n")
                                << 0 << "Line 1: expected \"abc\", read \"ab\".";
    QTest::newRow("sl empty output")
        << "slss_filterspace_e" << QByteArray("") << QByteArray("abc\n") << 0
        << "Line 1: expected \"abc\", read \"\".";
    QTest::newRow("ml CR LF and trailing empty lines")
        << "mlss_filterspace_e" << QByteArray("a b\r\nc d\r\n\r\n  \n\n") << QByteArray("ab\ncd")
        << 10 << "Accepted.";
    QTest::newRow("ml blank line inside") << "mlss_filterspace_e" << QByteArray("a\n \t\nb\n")
                                          << QByteArray("a\n\nb\n") << 10 << "Accepted.";
    QTest::newRow("ml missing line")
        << "mlss_filterspace_e" << QByteArray("a\nb\n") << QByteArray("a\nb\nc\n") << 0
        << "Line 3: output ends, expected \"c\".";
    QTest::newRow("ml extra line") << "mlss_filterspace_e" << QByteArray("a\nb\nc\n")
                                   << QByteArray("a\nb\n") << 0 << "Line 3: extra output \"c\".";
    QTest::newRow("ml empty line is not missing")
        << "mlss_filterspace_e" << QByteArray("a\n\nb\n") << QByteArray("a\nb\n") << 0
        << "Line 2: expected \"b\", read \"\".";
    QTest::newRow("int, 19 digits, one off")
        << "slsn_int_e" << QByteArray("1234567890123456788") << QByteArray("1234567890123456789")
        << 0 << "Line 1: expected \"1234567890123456789\", read \"1234567890123456788\".";
    QTest::newRow("int, sign matters") << "slmn_int_e" << QByteArray("7 5") << QByteArray("7 -5")
                                       << 0 << "Line 1, number 2: expected \"-5\", read \"5\".";
    QTest::newRow("int, same start is not the same number")
        << "slmn_int_e" << QByteArray("11 1") << QByteArray("1 1") << 0
        << "Line 1, number 1: expected \"1\", read \"11\".";
    QTest::newRow("int, single wants one") << "slsn_int_e" << QByteArray("5 6") << QByteArray("5")
                                           << 0 << "Line 1: expected 1 number, read 2.";
    QTest::newRow("int, many counts must match")
        << "slmn_int_e" << QByteArray("1 2") << QByteArray("1 2 3") << 0
        << "Line 1: expected 3 numbers, read 2.";
    QTest::newRow("int, bad number before missing ones")
        << "slmn_int_e" << QByteArray("1 x") << QByteArray("1 2 3") << 0
        << "Line 1, number 2: \"x\" is not a 64-bit integer.";
    QTest::newRow("int, missing number before bad answer")
        << "slmn_int_e" << QByteArray("1") << QByteArray("1 x") << 0
        << "Line 1: expected 2 numbers, read 1.";
    QTest::newRow("int, many names the number")
        << "mlmn_int_e" << QByteArray("1 2\n3 5\n") << QByteArray("1 2\n3 4\n") << 0
        << "Line 2, number 2: expected \"4\", read \"5\".";
    QTest::newRow("int, sl empty files")
        << "slmn_int_e" << QByteArray("") << QByteArray("") << 10 << "Accepted.";
    QTest::newRow("int, sl empty output") << "slsn_int_e" << QByteArray("") << QByteArray("1\n")
                                          << 0 << "Line 1: expected 1 number, read 0.";
    QTest::newRow("int, sl ignores the rest") << "slmn_int_e" << QByteArray("1 2\ngarbage\n")
                                              << QByteArray("1 2\n3\n") << 10 << "Accepted.";
    QTest::newRow("int, ml empty files")
        << "mlsn_int_e" << QByteArray("") << QByteArray("") << 10 << "Accepted.";
    QTest::newRow("int, ml empty output") << "mlsn_int_e" << QByteArray("") << QByteArray("1\n")
                                          << 0 << "Line 1: output ends, expected \"1\".";
    QTest::newRow("int, ml no last newline")
        << "mlmn_int_e" << QByteArray("1 2\n3") << QByteArray("1 2\n3\n") << 10 << "Accepted.";
    QTest::newRow("int, ml trailing empty lines")
        << "mlsn_int_e" << QByteArray("1\r\n2\r\n \t\r\n\n") << QByteArray("1\n2") << 10
        << "Accepted.";
    // Trailing blank lines are blanks, tabs and CRs only: a form feed or vertical tab is output.
    QTest::newRow("int, ml trailing vertical tab")
        << "mlmn_int_e" << QByteArray("1\n2\n\v\n") << QByteArray("1\n2\n") << 0
        << "Line 3: extra output \"?\".";
    QTest::newRow("int, ml blanks at line ends") << "mlmn_int_e" << QByteArray("1 2 \n3\t\r\n")
                                                 << QByteArray("1 2\n3 \n") << 10 << "Accepted.";
    QTest::newRow("int, ml empty lines inside")
        << "mlmn_int_e" << QByteArray("1\n\n2\n") << QByteArray("1\n\n2\n") << 10 << "Accepted.";
    QTest::newRow("int, ml missing line")
        << "mlmn_int_e" << QByteArray("1\n") << QByteArray("1\n2\n") << 0
        << "Line 2: output ends, expected \"2\".";
    QTest::newRow("int, ml extra line")
        << "mlsn_int_e" << QByteArray("1\n2\n3\n") << QByteArray("1\n2\n") << 0
        << "Line 3: extra output \"3\".";
    QTest::newRow("float, sign matters")
        << "slmn_float_1e" << QByteArray("7 2.5") << QByteArray("7 -2.5") << 0
        << "Line 1, number 2: expected \"-2.5\", read \"2.5\".";
    QTest::newRow("float, beyond 10^-3")
        << "slsn_float_3e" << QByteArray("1.0011") << QByteArray("1") << 0
        << "Line 1: expected \"1\", read \"1.0011\".";
    QTest::newRow("float, just beyond 10^-5")
        << "slsn_float_5e" << QByteArray("0.000011") << QByteArray("0") << 0
        << "Line 1: expected \"0\", read \"0.000011\".";
    // The boundary cases below tell a correctly rounded reading from one a unit in the last
    // place off: by a reciprocal power of ten, or by a mantissa rounded before it is scaled.
    QTest::newRow("float, correctly rounded, outside")
        << "slsn_float_1e" << QByteArray("0") << QByteArray("0.100000000001000102") << 0
        << "Line 1: expected \"0.100000000001000102\", read \"0\".";
    QTest::newRow("float, mlmn lines")
        << "mlmn_float_3e" << QByteArray("1.0001 2\r\n\r\n3.14159\n\n")
        << QByteArray("1 2.0002\n\n3.1416\n") << 10 << "Accepted.";
    QTest::newRow("float, many names the number")
        << "mlmn_float_3e" << QByteArray("1 2 3\n4 5.5 6\n") << QByteArray("1 2 3\n4 5.502 6\n")
        << 0 << "Line 2, number 2: expected \"5.502\", read \"5.5\".";
    QTest::newRow("bad answer before bad output")
        << "slmn_int_e" << QByteArray("1 y\n") << QByteArray("1 x\n") << 0
        << "Answer file line 1, number 2: \"x\" is not a 64-bit integer.";
    QTest::newRow("two numbers for one, as written")
        << "slsn_int_e" << QByteArray("1 2\n") << QByteArray("1 2\n") << 0
        << "Answer file line 1 holds 2 numbers, expected one.";
    QTest::newRow("not a number, as written but for a blank")
        << "mlmn_float_2e" << QByteArray("1 x \n") << QByteArray("1 x\n") << 0
        << "Answer file line 1, number 2: \"x\" is not a finite decimal number.";
    QTest::newRow("two numbers for one")
        << "slsn_int_e" << QByteArray("1\n") << QByteArray("1 2\n") << 0
        << "Answer file line 1 holds 2 numbers, expected one.";
    QTest::newRow("no number for one") << "slsn_float_1e" << QByteArray("") << QByteArray("") << 0
                                       << "Answer file line 1 holds 0 numbers, expected one.";
    QTest::newRow("blank line for one")
        << "mlsn_int_e" << QByteArray("1\n2\n") << QByteArray("1\n\n2\n") << 0
        << "Answer file line 2 holds 0 numbers, expected one.";
}

void TestFilters::verdicts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, answer);
    QFETCH(int, score);
    QFETCH(QString, message);
    const Run run = judge(filterDir() + "/" + name, output, answer);
    QCOMPARE(run.score, score);
    QCOMPARE(run.message, message);
    QCOMPARE(run.exitCode, message.startsWith("Answer file") ? 1 : 0);
}

// Pairs of equal numbers, in either file.
void TestFilters::equalNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    const char *const rows[][3] = {
        {"slsn_int_e", "  +42 \r\n", "42"},
        {"slsn_int_e", "-0", "0"},
        {"slmn_int_e", "007 -0000000000000000000000042", "7 -42"},
        {"slmn_int_e", "9223372036854775807 -9223372036854775808",
         "9223372036854775807\t-9223372036854775808\n"},
        {"slmn_int_e", "\f1\v2\r3\t4 ", "1 2 3 4"},
        {"slsn_float_3e", "1.0009", "1"},
        {"slsn_float_1e", "1.3", "1.2"},
        {"slsn_float_1e", "12345678.9", "12345679.0"},
        {"slmn_float_2e", "+.5 5. 1e2 -2.5E-1 1e+5 7", "0.5 5 100 -0.25 100000 7.000"},
        {"slmn_float_5e", "000000000000000000000001.5 -0.30000000000000000000000001", "1.5 -0.3"},
        {"slsn_float_3e", "12345678901234567890123", "12345678901234567890123.0001"},
        {"slsn_float_1e", "9007199254740993", "9007199254740992"},
        {"slsn_float_1e", "1.7976931348623157e308", "1.7976931348623157e308"},
        {"slmn_float_1e", "4.9e-324 1e-400 -1e-99999999999999999999 0e99999999999999999999",
         "0 0 0 0"},
        {"slsn_float_2e", "-0.01000000000100001", "0"},
        {"slsn_float_5e", "0.000010000001000000011", "0"},
    };
    int index = 0;
    for (const auto &row : rows)
        QTest::addRow("%s %d", row[0], ++index)
            << row[0] << QByteArray(row[1]) << QByteArray(row[2]);
}

void TestFilters::equalNumbers()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    const QString program = filterDir() + "/" + name;
    QCOMPARE(judge(program, first, second).message, QString("Accepted."));
    QCOMPARE(judge(program, second, first).message, QString("Accepted."));
    QCOMPARE(judge(program, first, first).message, QString("Accepted."));
}

// Tokens that are not numbers of the rule's kind, in the output and in the answer.
void TestFilters::refusedNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("token");
    for (const char *token : {"9223372036854775808", "-9223372036854775809", "18446744073709551616",
                              "99999999999999999999", "1.0", "1e3", "12a", "-", "+", "+-1", "1-",
                              "1:", "/1", "12345678:"})
        QTest::addRow("int %s", token) << "slsn_int_e" << QByteArray(token);
    for (const char *token : {"1e400", "1.7976931348623159e308", "1e99999999999999999999", "nan",
                              "inf", "-infinity", "0x10", "1e", "1e-", "-.", ".e1", "1.2.3",
                              "1e5.5", "+-1", "1,5", "1:", "/1", "1.5:", "1.2345678/"})
        QTest::addRow("float %s", token) << "slsn_float_1e" << QByteArray(token);
}

void TestFilters::refusedNumbers()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, token);
    const QString program = filterDir() + "/" + name;
    const QString what =
        QString("\"%1\" is not a %2.")
            .arg(token, name.contains("int") ? "64-bit integer" : "finite decimal number");
    const Run output = judge(program, token, "0\n");
    QCOMPARE(output.message, "Line 1: " + what);
    QCOMPARE(output.exitCode, 0);
    // The answer's fault, also where the output is written just as the answer.
    for (const QByteArray &output : {QByteArray("0\n"), token}) {
        const Run answer = judge(program, output, token);
        QCOMPARE(answer.message, "Answer file line 1: " + what);
        QCOMPARE(answer.exitCode, 1);
    }
}

// A digit changed at any place of a number is found where it matters: everywhere in an integer,
// and in a float down to the tolerance (5 units of 10^-6 are forgiven). Each number ends its line
// or is followed by others, so that its bytes are read both near a line's end and in whole words.
void TestFilters::digitPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("rest");
    QTest::addColumn<bool>("accepted");
    const QList<QPair<QString, QByteArray>> numbers{{"slmn_int_e", "1234567890123456789"},
                                                    {"slmn_int_e", "-8765432198765432198"},
                                                    {"slmn_int_e", "-123456789012345"},
                                                    {"slmn_float_5e", "-12345678.9012345"},
                                                    {"slmn_float_5e", "1234567.1234567"}};
    for (const auto &number : numbers) {
        const QByteArray &answer = number.second;
        const bool real = number.first.contains("float");
        for (int at = 0; at < answer.size(); ++at) {
            if (!std::isdigit(static_cast<unsigned char>(answer[at])))
                continue;
            QByteArray output = answer;
            // An integer's digit goes down by one (up from 0), which keeps it in range.
            const int digit = answer[at] - '0';
            output[at] = char('0' + (real ? (digit + 5) % 10 : digit == 0 ? 1 : digit - 1));
            const bool forgiven = real && at > answer.indexOf('.') + 5;
            for (const QByteArray rest : {"", " 7 7 7 7 7 7 7 7 7 7"})
                QTest::addRow("%s at %d%s", answer.constData(), at, rest.isEmpty() ? "" : ", more")
                    << number.first << answer << output << rest << forgiven;
        }
    }
}

void TestFilters::digitPlaces()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, rest);
    QFETCH(bool, accepted);
    const Run run = judge(filterDir() + "/" + name, output + rest + "\n", answer + rest + "\n");
    const QString wrong =
        QString("Line 1, number 1: expected \"%1\", read \"%2\".").arg(answer, output);
    QCOMPARE(run.message, accepted ? QString("Accepted.") : wrong);
}

// Numbers of every length, written in the output with leading zeros (a plus sign, trailing
// zeros in a fraction) that move their digits to every place of a word, read as equal; the
// last number of each line ends where the line does.
void TestFilters::numbersAtEveryAlignment()
{
    const QByteArray digits = "1234567890123456789";
    QByteArray integerAnswer, integerOutput, realAnswer, realOutput;
    for (int length = 1; length <= digits.size(); ++length) {
        const QByteArray number = digits.right(length);
        for (int zeros = 0; zeros < 8; ++zeros) {
            const char *separator = zeros < 7 ? " " : "\n";
            integerAnswer += (zeros % 2 ? "-" : "") + number + separator;
            integerOutput += (zeros % 2 ? "-" : "+") + QByteArray(zeros, '0') + number + separator;
            const QByteArray real = number.left(zeros) + '.' + number.mid(zeros);
            realAnswer += real + separator;
            realOutput += QByteArray(zeros, '0') + real + QByteArray(7 - zeros, '0') + separator;
        }
    }
    QCOMPARE(judge(filterDir() + "/mlmn_int_e", integerOutput, integerAnswer).message,
             QString("Accepted."));
    QCOMPARE(judge(filterDir() + "/mlmn_float_5e", realOutput, realAnswer).message,
             QString("Accepted."));
    // Read as a float, the same integers are equal too; one changed in its last digit is not.
    QCOMPARE(judge(filterDir() + "/mlmn_float_5e", integerOutput, integerAnswer).message,
             QString("Accepted."));
    QByteArray changed = integerOutput;
    changed[changed.indexOf("\n") - 1] = '0';
    QCOMPARE(judge(filterDir() + "/mlmn_float_5e", changed, integerAnswer).message,
             QString("Line 1, number 8: expected \"-9\", read \"-00000000\"."));
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

// An output that is not a regular file is read to its end: a pipe, or a device.
void TestFilters::nonRegularFiles()
{
    QVERIFY(writeFile(m_dir.filePath("task1.ans"), "1 2\n3\n"));
    QProcess filter;
    filter.start(filterDir() + "/mlmn_int_e", {"in", "/dev/stdin", m_dir.filePath("task1.ans")});
    QVERIFY(filter.waitForStarted());
    filter.write(QByteArray(100000, ' ') + "1 2\n");
    filter.write("3 4\n");
    filter.closeWriteChannel();
    QVERIFY(filter.waitForFinished(30000));
    QCOMPARE(filter.readAllStandardOutput(), QByteArray("Line 2: expected 1 number, read 2.\n0\n"));

    QVERIFY(writeFile(m_dir.filePath("task1.ans"), "\n\n"));
    const Run empty =
        runFilter(filterDir() + "/mlmn_float_3e", {"in", "/dev/null", m_dir.filePath("task1.ans")});
    QCOMPARE(empty.message, QString("Accepted."));
    QCOMPARE(empty.exitCode, 0);
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
