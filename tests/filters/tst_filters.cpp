#include "common/programrun.h"
#include "common/testfiles.h"

#include <QtTest>

// Runs the stock filters as the judge does: three file arguments, the verdict on standard
// output as a message line and a score line.
class TestFilters : public QObject
{
    Q_OBJECT

private slots:
    void everyStockNameJudges();
    void verdicts_data();
    void verdicts();
    void filesAndNames();

private:
    struct Run {
        QString message;
        int score = -1, exitCode = -1;
    };
    Run judge(const QString &name, const QByteArray &output, const QByteArray &answer);
    Run runFilter(const QString &program, const QStringList &arguments);

    QTemporaryDir m_dir;
};

namespace
{

const QString Accepted = "Accepted.";

QString filterPath(const QString &name)
{
    return name.contains('/') ? name
                              : qEnvironmentVariable("TALDON_BINARY_DIR") + "/app/filter/" + name;
}

} // namespace

// The message and the score, when the output is exactly these two lines.
TestFilters::Run TestFilters::runFilter(const QString &program, const QStringList &arguments)
{
    const ProgramRun ran = runProgram(filterPath(program), arguments, m_dir.path());
    const QList<QByteArray> lines = ran.out.split('\n');
    bool ok = lines.size() == 3 && lines[2].isEmpty();
    const int score = ok ? lines[1].toInt(&ok) : -1;
    return Run{ok ? QString::fromUtf8(lines[0]) : QString(), ok ? score : -1, ran.status};
}

TestFilters::Run TestFilters::judge(const QString &name, const QByteArray &output,
                                    const QByteArray &answer)
{
    if (!writeFile(m_dir.filePath("task.out"), output) ||
        !writeFile(m_dir.filePath("task1.ans"), answer))
        qFatal("cannot write the files to judge");
    return runFilter(name, {"task.in", "task.out", m_dir.filePath("task1.ans")});
}

void TestFilters::everyStockNameJudges()
{
    QStringList names{"fulltext_e", "mlss_filterspace_e", "slss_filterspace_e"};
    for (const QString prefix : {"slsn_", "slmn_", "mlsn_", "mlmn_"})
        for (int k = 0; k <= 5; ++k)
            names << prefix + (k ? QString("float_%1e").arg(k) : "int_e");
    for (const QString &name : names) {
        QCOMPARE(judge(name, "7\n", "7\n").message, Accepted);
        const Run other = judge(name, "8\n", "7\n");
        QVERIFY2(other.score == 0 && other.message.contains("Line 1"), qPrintable(name));
        // float_<k>e forgives 0.9 * 10^-k and not 1.1 * 10^-k.
        const int k = name.contains("float_") ? name.at(name.size() - 2).digitValue() : 0;
        const QByteArray zeros(qMax(k - 1, 0), '0');
        QCOMPARE(judge(name, "1." + zeros + "09\n", "1\n").score, k > 0 ? 10 : 0);
        QCOMPARE(judge(name, "1." + zeros + "11\n", "1\n").score, 0);
    }
}

// Each filter's verdicts, the message word for word; an accepted pair is also accepted the other
// way round, and the output against itself. A fault of the answer file is the organiser's: it
// ends with status 1, not as a wrong output.
void TestFilters::verdicts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("message");
    const char *const A = "Accepted.";
    const struct {
        const char *name, *output, *answer, *message;
    } rows[] = {
        {"fulltext_e", "a b\nc\n", "a b\nc\n", A},
        {"fulltext_e", "", "", A},
        {"fulltext_e", "a\r\nb\r\n", "a\nb\n", "Line 1, column 2: expected \"a\", read \"a\\r\"."},
        {"fulltext_e", "a\nb", "a\nb\n", "Line 2, column 2: expected \"b\", read end of file."},
        {"fulltext_e", "a\nb \n", "a\nb\n", "Line 2, column 2: expected \"b\", read \"b \"."},
        {"fulltext_e", "x\nhello\n", "x\nhelp\n",
         "Line 2, column 4: expected \"help\", read \"hello\"."},
        // Braces and tabs, which would break the judge's records, are written otherwise.
        {"fulltext_e", "{\tx}\n", "{\ty}\n",
         "Line 1, column 3: expected \"(\\ty)\", read \"(\\tx)\"."},
        {"mlss_filterspace_e", "{\t}\r\n{x}\n", "{\t}\r\n{y}\n",
         "Line 2: expected \"(y)\", read \"(x)\"."},
        {"mlmn_int_e", "1 {x}\n", "1 {y}\n",
         "Answer file line 1, number 2: \"(y)\" is not a 64-bit integer."},
        {"slss_filterspace_e", " a b\tc ", "abc\n", A},
        {"slss_filterspace_e", "abc\nxyz\n", "abc\n", A},
        {"slss_filterspace_e", "ab\n", "abc\n", "Line 1: expected \"abc\", read \"ab\"."},
        {"slss_filterspace_e", "", "abc\n", "Line 1: expected \"abc\", read \"\"."},
        {"mlss_filterspace_e", "a b\r\nc d\r\n\r\n  \n\n", "ab\ncd", A},
        {"mlss_filterspace_e", "a\n \t\nb\n", "a\n\nb\n", A},
        {"mlss_filterspace_e", "a\nb\n", "a\nb\nc\n", "Line 3: output ends, expected \"c\"."},
        {"mlss_filterspace_e", "a\nb\nc\n", "a\nb\n", "Line 3: extra output \"c\"."},
        {"mlss_filterspace_e", "a\n\nb\n", "a\nb\n", "Line 2: expected \"b\", read \"\"."},
        {"slsn_int_e", "1234567890123456788", "1234567890123456789",
         "Line 1: expected \"1234567890123456789\", read \"1234567890123456788\"."},
        {"slmn_int_e", "7 5", "7 -5", "Line 1, number 2: expected \"-5\", read \"5\"."},
        {"slmn_int_e", "11 1", "1 1", "Line 1, number 1: expected \"1\", read \"11\"."},
        {"slsn_int_e", "5 6", "5", "Line 1: expected 1 number, read 2."},
        {"slmn_int_e", "1 2", "1 2 3", "Line 1: expected 3 numbers, read 2."},
        {"slmn_int_e", "1 x", "1 2 3", "Line 1, number 2: \"x\" is not a 64-bit integer."},
        {"slmn_int_e", "1", "1 x", "Line 1: expected 2 numbers, read 1."},
        {"mlmn_int_e", "1 2\n3 5\n", "1 2\n3 4\n", "Line 2, number 2: expected \"4\", read \"5\"."},
        {"slmn_int_e", "", "", A},
        {"slsn_int_e", "", "1\n", "Line 1: expected 1 number, read 0."},
        {"slmn_int_e", "1 2\ngarbage\n", "1 2\n3\n", A},
        {"mlsn_int_e", "", "", A},
        {"mlsn_int_e", "", "1\n", "Line 1: output ends, expected \"1\"."},
        {"mlmn_int_e", "1 2\n3", "1 2\n3\n", A},
        {"mlsn_int_e", "1\r\n2\r\n \t\r\n\n", "1\n2", A},
        // Trailing blank lines are blanks, tabs and CRs only: a vertical tab is output.
        {"mlmn_int_e", "1\n2\n\v\n", "1\n2\n", "Line 3: extra output \"?\"."},
        {"mlmn_int_e", "1 2 \n3\t\r\n", "1 2\n3 \n", A},
        {"mlmn_int_e", "1\n\n2\n", "1\n\n2\n", A},
        {"mlmn_int_e", "1\n", "1\n2\n", "Line 2: output ends, expected \"2\"."},
        {"mlsn_int_e", "1\n2\n3\n", "1\n2\n", "Line 3: extra output \"3\"."},
        {"slmn_float_1e", "7 2.5", "7 -2.5", "Line 1, number 2: expected \"-2.5\", read \"2.5\"."},
        // Tells a correctly rounded reading from one a unit in the last place off.
        {"slsn_float_1e", "0", "0.100000000001000102",
         "Line 1: expected \"0.100000000001000102\", read \"0\"."},
        {"mlmn_float_3e", "1.0001 2\r\n\r\n3.14159\n\n", "1 2.0002\n\n3.1416\n", A},
        {"mlmn_float_3e", "1 2 3\n4 5.5 6\n", "1 2 3\n4 5.502 6\n",
         "Line 2, number 2: expected \"5.502\", read \"5.5\"."},
        // The first digits of long numbers, followed by others.
        {"slmn_int_e", "-8765432198765432198 7", "-7765432198765432198 7",
         "Line 1, number 1: expected \"-7765432198765432198\", read \"-8765432198765432198\"."},
        {"slmn_float_5e", "-12345678.9012345 7", "-22345678.9012345 7",
         "Line 1, number 1: expected \"-22345678.9012345\", read \"-12345678.9012345\"."},
        {"slmn_int_e", "1 y\n", "1 x\n",
         "Answer file line 1, number 2: \"x\" is not a 64-bit integer."},
        {"slsn_int_e", "1 2\n", "1 2\n", "Answer file line 1 holds 2 numbers, expected one."},
        {"mlmn_float_2e", "1 x \n", "1 x\n",
         "Answer file line 1, number 2: \"x\" is not a finite decimal number."},
        {"slsn_int_e", "1\n", "1 2\n", "Answer file line 1 holds 2 numbers, expected one."},
        {"slsn_float_1e", "", "", "Answer file line 1 holds 0 numbers, expected one."},
        {"mlsn_int_e", "1\n2\n", "1\n\n2\n", "Answer file line 2 holds 0 numbers, expected one."},
        // Equal numbers written otherwise.
        {"slsn_int_e", "  +42 \r\n", "42", A},
        {"slsn_int_e", "-0", "0", A},
        {"slmn_int_e", "007 -0000000000000000000000042", "7 -42", A},
        {"slmn_int_e", "09223372036854775807 -09223372036854775808",
         "9223372036854775807\t-9223372036854775808\n", A},
        {"slmn_int_e", "\f1\v2\r3\t4 ", "1 2 3 4", A},
        {"slsn_float_3e", "1.0009", "1", A},
        {"slsn_float_1e", "1.3", "1.2", A},
        {"slsn_float_1e", "12345678.9", "12345679.0", A},
        {"slmn_float_2e", "+.5 5. 1e2 -2.5E-1 1e+5 7", "0.5 5 100 -0.25 100000 7.000", A},
        {"slmn_float_5e", "000000000000000000000001.5 -0.30000000000000000000000001", "1.5 -0.3",
         A},
        {"slsn_float_3e", "12345678901234567890123", "12345678901234567890123.0001", A},
        {"slsn_float_1e", "9007199254740993", "9007199254740992", A},
        {"slsn_float_1e", "1.7976931348623157e308", "1.7976931348623157e308", A},
        {"slmn_float_1e", "4.9e-324 1e-400 -1e-99999999999999999999 0e99999999999999999999",
         "0 0 0 0", A},
        {"slsn_float_2e", "-0.01000000000100001", "0", A},
        {"slsn_float_5e", "0.000010000001000000011", "0", A},
    };
    int index = 0;
    for (const auto &row : rows)
        QTest::addRow("%d %s", ++index, row.name) << QString(row.name) << QByteArray(row.output)
                                                  << QByteArray(row.answer) << QString(row.message);
    // Tokens that are not numbers of the rule's kind, in the output and in the answer, also where
    // the output is written just as the answer.
    const QString refused[] = {
        "slsn_int_e|64-bit integer|9223372036854775808 -9223372036854775809 18446744073709551616 "
        "99999999999999999999 1.0 1e3 12a - + +-1 1- 1: /1 12345678:",
        "slsn_float_1e|finite decimal number|1e400 1.7976931348623159e308 1e99999999999999999999 "
        "nan inf -infinity 0x10 1e 1e- -. .e1 1.2.3 1e5.5 +-1 1,5 1: /1 1.5: 1.2345678/"};
    for (const QString &row : refused) {
        const QStringList kind = row.split('|');
        for (const QString &token : kind[2].split(' ')) {
            const QString what = QString("Line 1: \"%1\" is not a %2.").arg(token, kind[1]);
            const QByteArray bytes = token.toUtf8();
            QTest::addRow("%s", qPrintable(token)) << kind[0] << bytes << QByteArray("0\n") << what;
            for (const QByteArray &output : {QByteArray("0\n"), bytes})
                QTest::addRow("answer %s%s", qPrintable(token), output == bytes ? " twice" : "")
                    << kind[0] << output << bytes << "Answer file line 1: " + what.mid(8);
        }
    }
    // A long line of three-byte characters: the excerpts are cut between characters.
    const QByteArray longLine = QString(5000, QChar(0x4E2D)).toUtf8();
    QTest::newRow("long line") << "slss_filterspace_e" << longLine + "a" << longLine + "b"
                               << "Line 1: expected \"...中中中中b\", read \"...中中中中a\".";
    // A difference early in a line longer than the blocks compared at once.
    QByteArray wrong(5000, 'a'), same(40, 'a');
    wrong[100] = 'b';
    QTest::newRow("early difference")
        << "fulltext_e" << wrong << QByteArray(5000, 'a')
        << QString("Line 1, column 101: expected \"..." + same + "...\", read \"..." +
                   same.left(10) + 'b' + same.left(29) + "...\".");
}

void TestFilters::verdicts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, answer);
    QFETCH(QString, message);
    const Run run = judge(name, output, answer);
    QCOMPARE(run.message, message);
    QCOMPARE(run.score, message == Accepted ? 10 : 0);
    QCOMPARE(run.exitCode, message.startsWith("Answer file") ? 1 : 0);
    if (message == Accepted) {
        QCOMPARE(judge(name, answer, output).message, Accepted);
        QCOMPARE(judge(name, output, output).message, Accepted);
    }
}

// An unreadable output is wrong, a missing answer the organiser's fault; pipes and devices are read
// to the end; names never reach a shell; the rule is the name's; an unwritable verdict is an error.
void TestFilters::filesAndNames()
{
    const QString answer = m_dir.filePath("task1.ans");
    QVERIFY(writeFile(answer, "1 2\n3\n") && QDir(m_dir.path()).mkpath("a dir") &&
            writeFile(m_dir.filePath("$(touch pwned).out"), "1\n"));
    const struct {
        const char *output, *answer;
        int exitCode;
        const char *message;
    } runs[] = {
        {"no such.out", "task1.ans", 0, "Cannot read the output file"},
        {"a dir", "task1.ans", 0, "Cannot read the output file"},
        {"$(touch pwned).out", "no such.ans", 1, "Cannot read the answer file"},
        {"/dev/null", "task1.ans", 0, "Line 1: output ends, expected \"1 2\"."},
    };
    for (const auto &run : runs) {
        const Run got = runFilter("mlmn_int_e", {"in", run.output, m_dir.filePath(run.answer)});
        QCOMPARE(got.exitCode, run.exitCode);
        QCOMPARE(got.score, 0);
        QVERIFY2(got.message.startsWith(run.message), qPrintable(got.message));
    }
    QVERIFY(!QFile::exists(m_dir.filePath("pwned")));
    QProcess filter;
    filter.start(filterPath("mlmn_int_e"), {"in", "/dev/stdin", answer});
    QVERIFY(filter.waitForStarted());
    filter.write(QByteArray(100000, ' ') + "1 2\n3 4\n");
    filter.closeWriteChannel();
    QVERIFY(filter.waitForFinished(30000));
    QCOMPARE(filter.readAllStandardOutput(), QByteArray("Line 2: expected 1 number, read 2.\n0\n"));
    QTemporaryDir elsewhere;
    for (const QString name : {"mlmn_float_3e", "myfilter", "slsn_float_0e"})
        QVERIFY(QFile::copy(filterPath("fulltext_e"), elsewhere.filePath(name)));
    QCOMPARE(judge(elsewhere.filePath("mlmn_float_3e"), "1.0001 2\n", "1 2\n").score, 10);
    for (const QString name : {"myfilter", "slsn_float_0e"}) {
        const Run unknown = judge(elsewhere.filePath(name), "a\n", "a\n");
        QCOMPARE(unknown.exitCode, 2);
        QCOMPARE(unknown.message, "Unknown filter name \"" + name + "\".");
    }
    const Run usage = runFilter("fulltext_e", {"only", "two"});
    QCOMPARE(usage.exitCode, 2);
    QCOMPARE(usage.score, 0);
    QProcess full;
    full.setStandardOutputFile("/dev/full");
    full.start(filterPath("fulltext_e"), {"in", "task.out", m_dir.filePath("task1.ans")});
    QVERIFY(full.waitForFinished(30000));
    QCOMPARE(full.exitCode(), 1);
    QVERIFY(full.readAllStandardError().startsWith("cannot write the verdict: No space left"));
}

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
