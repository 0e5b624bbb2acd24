#include "checkerverdict.h"
#include "testpoint.h"

#include <QtTest>

#include <csignal>

class TstCheckerVerdict : public QObject
{
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
};

namespace
{

const int kFailed = -1;

struct Row {
    const char *errors;
    int status; // the wait status; a number of 256 or more is an exit status times 256
    int score;  // kFailed: the checker failed
    const char *message;
};

const char kWrong[] = "wrong answer 1st numbers differ - expected: '3', found: '4'";

const Row kRows[] = {
    {"ok 3 numbers\n", 0, 10, "ok 3 numbers"},
    {"ok\r\nsecond line\n", 0, 10, "ok"},
    {"wrong answer 1st numbers differ - expected: '3', found: '4'\n", 1 << 8, 0, kWrong},
    {"wrong output format Expected integer", 2 << 8, 0, "wrong output format Expected integer"},
    {"wrong output format x\n", 4 << 8, 0, "wrong output format x"},
    {"unexpected end of file\n", 8 << 8, 0, "unexpected end of file"},
    {"points 0.5 half of it\n", 7 << 8, 5, "points 0.5 half of it"},
    {"points 0.99\n", 7 << 8, 9, "points 0.99"},
    {"points 0.3\n", 7 << 8, 3, "points 0.3"},
    {"points 0.2999\n", 7 << 8, 2, "points 0.2999"},
    {"points 1\n", 7 << 8, 10, "points 1"},
    {"points 0\tnone\n", 7 << 8, 0, "points 0\tnone"},
    {"partially correct (45) almost\n", 16 << 8, 4, "partially correct (45) almost"},
    {"partially correct (100)\n", 0, 10, "partially correct (100)"},
    {"FAIL answer has 2 numbers\n", 3 << 8, kFailed, "FAIL answer has 2 numbers"},
    {"FAIL x", 0, kFailed, "FAIL x"},
    {"ok\n", 1 << 8, kFailed, "exit status 1 does not match \"ok\"."},
    {kWrong, 0, kFailed,
     "exit status 0 does not match \"wrong answer 1st numbers differ - expected: '3', found: "
     "'4'\"."},
    {"wrong output format x", 1 << 8, kFailed,
     "exit status 1 does not match \"wrong output format x\"."},
    {"unexpected end of file", 2 << 8, kFailed,
     "exit status 2 does not match \"unexpected end of file\"."},
    {"points 0.5", 0, kFailed, "exit status 0 does not match \"points 0.5\"."},
    {"Accepted\n10\n", 0, kFailed, "unknown verdict \"Accepted\" (exit status 0)."},
    {"okay", 0, kFailed, "unknown verdict \"okay\" (exit status 0)."},
    {"", 0, kFailed, "no verdict on standard error (exit status 0)."},
    {"\nok\n", 0, kFailed, "no verdict on standard error (exit status 0)."},
    {"ok\n", SIGSEGV, kFailed, "killed by signal 11."},
    {"ok\n", FILTER_TIMED_OUT, kFailed, "no verdict within 10 s."},
    {"", -1, kFailed, "it could not be started."},
};

} // namespace

void TstCheckerVerdict::verdicts_data()
{
    QTest::addColumn<QByteArray>("errors");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("score");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QByteArray>("message");
    for (const Row &row : kRows) {
        const bool failed = row.score == kFailed;
        const QByteArray message = QByteArray(failed ? "Checker failed: " : "") + row.message;
        QTest::newRow(qPrintable(QStringLiteral("%1, status %2").arg(row.errors).arg(row.status)))
            << QByteArray(row.errors) << row.status << (failed ? 0 : row.score) << failed
            << message;
    }
    // A score out of range, or no score at all, is the checker's failure.
    for (const char *line :
         {"points 1.5", "points -0.1", "points many", "points nan", "points", "points 0x1p-1",
          "partially correct (101)", "partially correct (x)", "partially correct 50"})
        QTest::newRow(line) << QByteArray(line) << (7 << 8) << 0 << true
                            << "Checker failed: no score in range in \"" + QByteArray(line) + "\".";
}

void TstCheckerVerdict::verdicts()
{
    QFETCH(QByteArray, errors);
    QFETCH(int, status);
    const CheckerVerdict verdict = CheckerVerdict::judge(errors, status);
    QTEST(verdict.score, "score");
    QTEST(verdict.failed, "failed");
    QTEST(verdict.message, "message");
}

QTEST_GUILESS_MAIN(TstCheckerVerdict)
#include "tst_checkerverdict.moc"
