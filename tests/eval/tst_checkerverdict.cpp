#include "checkerverdict.h"
#include "testpoint.h"

#include <QtTest>

#include <csignal>

namespace
{

int exited(int status)
{
    return status << 8;
}

} // namespace

class TstCheckerVerdict : public QObject
{
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
};

void TstCheckerVerdict::verdicts_data()
{
    QTest::addColumn<QByteArray>("errors");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("score");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QByteArray>("message");
    const QByteArray wa = "wrong answer 1st numbers differ - expected: '3', found: '4'";
    QTest::newRow("ok") << QByteArray("ok 3 numbers\n") << exited(0) << 10 << false
                        << QByteArray("ok 3 numbers");
    QTest::newRow("ok alone, CR LF, more lines")
        << QByteArray("ok\r\nsecond line\n") << exited(0) << 10 << false << QByteArray("ok");
    QTest::newRow("wrong answer") << wa + "\n" << exited(1) << 0 << false << wa;
    QTest::newRow("format, 2") << QByteArray("wrong output format Expected integer") << exited(2)
                               << 0 << false << QByteArray("wrong output format Expected integer");
    QTest::newRow("format, 4") << QByteArray("wrong output format x\n") << exited(4) << 0 << false
                               << QByteArray("wrong output format x");
    QTest::newRow("end of file") << QByteArray("unexpected end of file\n") << exited(8) << 0
                                 << false << QByteArray("unexpected end of file");
    QTest::newRow("points half") << QByteArray("points 0.5 half of it\n") << exited(7) << 5 << false
                                 << QByteArray("points 0.5 half of it");
    QTest::newRow("points round down")
        << QByteArray("points 0.99\n") << exited(7) << 9 << false << QByteArray("points 0.99");
    QTest::newRow("points binary tenth")
        << QByteArray("points 0.3\n") << exited(7) << 3 << false << QByteArray("points 0.3");
    QTest::newRow("points just below a tenth")
        << QByteArray("points 0.2999\n") << exited(7) << 2 << false << QByteArray("points 0.2999");
    QTest::newRow("points 1") << QByteArray("points 1\n") << exited(7) << 10 << false
                              << QByteArray("points 1");
    QTest::newRow("points 0") << QByteArray("points 0\tnone\n") << exited(7) << 0 << false
                              << QByteArray("points 0\tnone");
    QTest::newRow("partially correct")
        << QByteArray("partially correct (45) almost\n") << exited(16) << 4 << false
        << QByteArray("partially correct (45) almost");
    QTest::newRow("partially correct 100") << QByteArray("partially correct (100)\n") << exited(0)
                                           << 10 << false << QByteArray("partially correct (100)");

    const QByteArray range = "Checker failed: no score in range in ";
    for (const char *line :
         {"points 1.5", "points -0.1", "points many", "points nan", "points", "points 0x1p-1",
          "partially correct (101)", "partially correct (x)", "partially correct 50"})
        QTest::newRow(line) << QByteArray(line) << exited(7) << 0 << true
                            << range + '"' + line + "\".";
    QTest::newRow("FAIL") << QByteArray("FAIL answer has 2 numbers\n") << exited(3) << 0 << true
                          << QByteArray("Checker failed: FAIL answer has 2 numbers");
    QTest::newRow("FAIL with exit 0")
        << QByteArray("FAIL x") << exited(0) << 0 << true << QByteArray("Checker failed: FAIL x");
    QTest::newRow("ok with exit 1") << QByteArray("ok\n") << exited(1) << 0 << true
                                    << QByteArray("Checker failed: exit status 1 does not match "
                                                  "\"ok\".");
    QTest::newRow("wrong answer with exit 0")
        << wa << exited(0) << 0 << true
        << "Checker failed: exit status 0 does not match \"" + wa + "\".";
    QTest::newRow("format with exit 1")
        << QByteArray("wrong output format x") << exited(1) << 0 << true
        << QByteArray("Checker failed: exit status 1 does not match \"wrong output format x\".");
    QTest::newRow("end of file with exit 2")
        << QByteArray("unexpected end of file") << exited(2) << 0 << true
        << QByteArray("Checker failed: exit status 2 does not match \"unexpected end of file\".");
    QTest::newRow("points with exit 0")
        << QByteArray("points 0.5") << exited(0) << 0 << true
        << QByteArray("Checker failed: exit status 0 does not match \"points 0.5\".");
    QTest::newRow("unknown line") << QByteArray("Accepted\n10\n") << exited(0) << 0 << true
                                  << QByteArray("Checker failed: unknown verdict \"Accepted\" "
                                                "(exit status 0).");
    QTest::newRow("not the word") << QByteArray("okay") << exited(0) << 0 << true
                                  << QByteArray("Checker failed: unknown verdict \"okay\" (exit "
                                                "status 0).");
    QTest::newRow("nothing") << QByteArray() << exited(0) << 0 << true
                             << QByteArray("Checker failed: no verdict on standard error (exit "
                                           "status 0).");
    QTest::newRow("verdict below an empty line")
        << QByteArray("\nok\n") << exited(0) << 0 << true
        << QByteArray("Checker failed: no verdict on standard error (exit status 0).");
    QTest::newRow("crash after its verdict") << QByteArray("ok\n") << SIGSEGV << 0 << true
                                             << QByteArray("Checker failed: killed by signal 11.");
    QTest::newRow("time out") << QByteArray("ok\n") << FILTER_TIMED_OUT << 0 << true
                              << QByteArray("Checker failed: no verdict within 10 s.");
    QTest::newRow("not started") << QByteArray() << -1 << 0 << true
                                 << QByteArray("Checker failed: it could not be started.");
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
