#include "common/testcontest.h"
#include "compile.h"
#include "evallist.h"
#include "mythread.h"
#include "taskeval.h"
#include "testpoint.h"

#include "common/processes.h"
#include "common/testfiles.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QByteArray SUM_OK =
    "#include <stdio.h>\nint main(void){int a,b;FILE*i=fopen(\"sum.in\",\"r\");"
    "FILE*o=fopen(\"sum.out\",\"w\");if(!i||!o||fscanf(i,\"%d %d\",&a,&b)!=2)return 1;"
    "fprintf(o,\"%d\\n\",a+b);return 0;}\n";
const QByteArray SUM_OK_CPP =
    "#include <fstream>\nint main(){std::ifstream i(\"sum.in\");std::ofstream "
    "o(\"sum.out\");int a,b;i>>a>>b;o<<a+b<<'\\n';}\n";
const QByteArray SUM_WRONG = "#include <stdio.h>\nint main(void){FILE*o=fopen(\"sum.out\",\"w\");"
                             "fprintf(o,\"0\\n\");return 0;}\n";
const QByteArray SPIN = "int main(void){volatile int x=0;for(;;)x++;}\n";

QString genCmd(const char *tmpl, const char *name = "sum", const char *lang = "c")
{
    char line[COMPCMD_SIZE] = {};
    QByteArray t(tmpl), n(name), l(lang);
    if (!GenCompCmd(line, n.data(), l.data(), t.data()))
        return QStringLiteral("<refused>");
    return QString::fromUtf8(line);
}

} // namespace

class TstTaskEval : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void compileCommand();
    void endlessCompilationIsKilled();
    void sourceOutcomes();
    void answersTask();
    void filterMessages();
    void testlibCheckers();
    void evaluationFailures_data();
    void evaluationFailures();
    void stopEndsTheRunAndTheBlock();
    void hostileNamesRunNothing();
    void refusedTaskNames();
    void filterOutputAndBound();
    void threadSignals();
    void failureToStartIsSignalled();
};

void TstTaskEval::initTestCase()
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
}

void TstTaskEval::compileCommand()
{
    QCOMPARE(genCmd("g++ -o %o %i ", "sum", "cpp"), QStringLiteral("g++ -o sum sum.cpp "));
    QCOMPARE(genCmd("fpc %i ", "sum", "pas"), QStringLiteral("fpc sum.pas "));
    QCOMPARE(genCmd("gcc %i -o %o"), QStringLiteral("gcc sum.c -o sum"));
    QCOMPARE(genCmd("make"), QString());
    // Only the first of each placeholder is filled; other '%' sequences stay as written.
    QCOMPARE(genCmd("gcc -o %o %i %d %s %n %i"), QStringLiteral("gcc -o sum sum.c %d %s %n %i"));
    QCOMPARE(genCmd("gcc -o %o %i", "%i"), QStringLiteral("gcc -o %i %i.c"));
    QCOMPARE(genCmd("gcc -o %o %i", "a b'$(x)"),
             QStringLiteral("gcc -o 'a b'\\''$(x)' 'a b'\\''$(x).c'"));
    QCOMPARE(genCmd("gcc -o %o %i", "求和"), QStringLiteral("gcc -o 求和 求和.c"));
    QCOMPARE(genCmd(QByteArray("gcc -o %o %i ").append(QByteArray(COMPCMD_SIZE, 'x')).constData()),
             QStringLiteral("<refused>"));
    QByteArray t("gcc %i"), n("sum"), l("c");
    QCOMPARE(GenCompCmd(nullptr, n.data(), l.data(), t.data()), 0);
}

void TstTaskEval::endlessCompilationIsKilled()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    // The "compiler" leaves a partial program and a background process behind, then hangs.
    QByteArray cmd("echo partial > sum; (sleep 30; touch late) & sleep 30");
    QByteArray exe("sum");
    setCompileTimeLimit(1);
    QElapsedTimer clock;
    clock.start();
    const int code = CompileSrc(exe.data(), cmd.data());
    setCompileTimeLimit(COMPILE_TIME_LIMIT);
    QCOMPARE(code, COMPILE_FAILED);
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(!QFile::exists("sum"));
    // The whole group was killed: the background process never gets to write.
    QTest::qWait(1500);
    QVERIFY(!QFile::exists("late"));

    // Within the bound a compilation is judged by its program file as before.
    setCompileTimeLimit(1);
    QByteArray quick("echo built > sum");
    QCOMPARE(CompileSrc(exe.data(), quick.data()), COMPILE_OK);
    setCompileTimeLimit(COMPILE_TIME_LIMIT);
    QVERIFY(QDir::setCurrent(before));
}

void TstTaskEval::sourceOutcomes()
{
    TestContest c;
    CTaskInfo *sum = c.addTask(QStringLiteral("sum"), SOURCE, 2, 0.5f);
    c.writePoint(QStringLiteral("sum"), 1, "1 2\n", "3\n");
    c.writePoint(QStringLiteral("sum"), 2, "5 5\n", "10\n");
    Q_UNUSED(sum);
    c.submit(QStringLiteral("ok"), QStringLiteral("sum"), QStringLiteral("sum.c"), SUM_OK);
    // The c entry comes first, so a broken sum.cpp beside a good sum.c is never compiled.
    c.submit(QStringLiteral("ok"), QStringLiteral("sum"), QStringLiteral("sum.cpp"), "broken");
    c.submit(QStringLiteral("cpp"), QStringLiteral("sum"), QStringLiteral("sum.cpp"), SUM_OK_CPP);
    c.submit(QStringLiteral("wrong"), QStringLiteral("sum"), QStringLiteral("sum.c"), SUM_WRONG);
    c.submit(QStringLiteral("broken"), QStringLiteral("sum"), QStringLiteral("sum.c"),
             "int main( {");
    c.submit(QStringLiteral("slow"), QStringLiteral("sum"), QStringLiteral("sum.c"), SPIN);
    QVERIFY(c.evaluate({"ok", "cpp", "wrong", "broken", "slow", "absent"}));

    const QString accepted =
        QStringLiteral("{sum 100 Compile successfully\n101 10 T ok\n101 10 T ok\n}102 20\n");
    QCOMPARE(c.result(QStringLiteral("ok")), accepted);
    QCOMPARE(c.result(QStringLiteral("cpp")), accepted);
    QCOMPARE(c.result(QStringLiteral("wrong")),
             QStringLiteral("{sum 100 Compile successfully\n"
                            "101 0 T wrong answer on line 1\n"
                            "101 0 T wrong answer on line 1\n}102 0\n"));
    QCOMPARE(c.result(QStringLiteral("broken")),
             QStringLiteral("{sum -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n"));
    QCOMPARE(
        c.result(QStringLiteral("slow")),
        QStringLiteral(
            "{sum 100 Compile successfully\n-103 0 T Time out.\n-103 0 T Time out.\n}102 0\n"));
    QCOMPARE(c.result(QStringLiteral("absent")),
             QStringLiteral(
                 "{sum -100 Can not find source code file.\n-100 0 ? Can not find source code "
                 "file.\n}102 0\n"));

    // A second evaluation appends a new block after the old one.
    QVERIFY(c.evaluate({"ok"}, 0));
    QCOMPARE(c.result(QStringLiteral("ok")), accepted + accepted);
    QVERIFY(QDir(c.home + QStringLiteral("/tmp"))
                .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TstTaskEval::answersTask()
{
    TestContest c;
    c.addTask(QStringLiteral("words"), ANSWERS, 3);
    for (int i = 1; i <= 3; ++i)
        c.writePoint(QStringLiteral("words"), i, "q\n", "yes\n");
    c.submit(QStringLiteral("p"), QStringLiteral("words"), QStringLiteral("words1.out"), "yes\n");
    c.submit(QStringLiteral("p"), QStringLiteral("words"), QStringLiteral("words2.out"), "no\n");
    QVERIFY(c.evaluate({"p"}));
    QCOMPARE(readFile(c.home + QStringLiteral("/result/day1/p/p.result")),
             QByteArray("{words 100 Evaluate answer files.\n101 10 0.000 ok\n101 0 0.000 wrong "
                        "answer on line 1\n"
                        "101 0 0.000 wrong answer on line 1\n}102 10\n"));
}

void TstTaskEval::filterMessages()
{
    TestContest c;
    c.addTask(QStringLiteral("sum"), SOURCE, 3);
    c.writePoint(QStringLiteral("sum"), 1, "1 2\n", "braces\n");
    c.writePoint(QStringLiteral("sum"), 2, "1 2\n", "silent\n");
    c.writePoint(QStringLiteral("sum"), 3, "1 2\n", "3\n");
    c.submit(QStringLiteral("p"), QStringLiteral("sum"), QStringLiteral("sum.c"), SUM_OK);
    QVERIFY(c.evaluate({"p"}));
    QCOMPARE(c.result(QStringLiteral("p")), QStringLiteral("{sum 100 Compile successfully\n"
                                                           "101 5 T got (x) and ) tail\n"
                                                           "101 0 T No Score.\n"
                                                           "101 10 T ok\n"
                                                           "}102 15\n"));
    char msg[] = "a{b}\nc\rd";
    cleanMessage(msg);
    QCOMPARE(QByteArray(msg), QByteArray("a(b) c d"));
}

// A testlib-style checker's verdicts become the points' scores and messages; its failures (a
// FAIL, a crash, a time-out) are the evaluation's, not the player's, and fail the task. The
// checker takes input, output and answer in that order, or FAILs.
void TstTaskEval::testlibCheckers()
{
    TestContest c;
    const QStringList words = {"ok",      "wa",   "pe",    "eof", "points",
                               "partial", "fail", "crash", "hang"};
    c.addTask(QStringLiteral("t"), ANSWERS, words.size());
    c.addTask(QStringLiteral("good"), SOURCE, 1);
    for (int t = 0; t < 2; ++t) {
        CTaskInfo *task = c.day.getTaskInfo(t);
        const QString name = task->getTaskname() + QStringLiteral("_checker");
        task->setPlugname(name);
        task->setChecker(TestlibChecker);
        QVERIFY(QFile::copy(QStringLiteral(CHECKER_PROGRAM), c.home + "/filter/" + name));
    }
    for (int i = 0; i < words.size(); ++i) {
        c.writePoint(QStringLiteral("t"), i + 1, "input\n", "answer\n");
        c.submit(QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("t%1.out").arg(i + 1),
                 words[i].toUtf8() + '\n');
    }
    c.writePoint(QStringLiteral("good"), 1, "input\n", "answer\n");
    c.submit(QStringLiteral("p"), QStringLiteral("good"), QStringLiteral("good.c"),
             "#include <stdio.h>\nint main(void){FILE*o=fopen(\"good.out\",\"w\");"
             "return !o||fputs(\"ok\\n\",o)<0;}\n");
    evallist = {{0, QStringLiteral("p")}};
    MyThread thread(&c.day, 1, -1);
    QSignalSpy task(&thread, &MyThread::evalOneTaskComplete);
    setFilterTimeLimit(1);
    thread.start();
    QVERIFY(thread.wait(30000));
    setFilterTimeLimit(FILTER_TIME_LIMIT);
    QCOMPARE(c.result(QStringLiteral("p")),
             QStringLiteral("{t 100 Evaluate answer files.\n"
                            "101 10 T ok 1 token\n"
                            "101 0 T wrong answer expected 'ok', found 'wa'\n"
                            "101 0 T wrong output format Expected a token\n"
                            "101 0 T unexpected end of file\n"
                            "101 7 T points 0.75 three quarters\n"
                            "101 4 T partially correct (45) (almost)\n"
                            "-106 0 T Checker failed: FAIL the answer is broken\n"
                            "-106 0 T Checker failed: killed by signal 11.\n"
                            "-106 0 T Checker failed: no verdict within 1 s.\n"
                            "}102 21\n"
                            "{good 100 Compile successfully\n101 10 T ok 1 token\n}102 10\n"));
    QCOMPARE(task.size(), 2);
    QCOMPARE(task.at(0).at(3).toBool(), false);
    QCOMPARE(task.at(1).at(3).toBool(), true);
}

void TstTaskEval::evaluationFailures_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("plug");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QString>("cause");
    QTest::newRow("no filter") << int(SOURCE) << "" << QStringList()
                               << "The task has no filter: choose its comparison method.";
    QTest::newRow("filter missing")
        << int(ANSWERS) << "gone" << QStringList() << "Filter filter/gone not found.";
    QTest::newRow("filter not executable")
        << int(SOURCE) << "plain" << QStringList() << "Filter filter/plain is not executable.";
    QTest::newRow("checker of unknown kind")
        << int(SOURCE) << "judge" << QStringList() << "Unknown checker kind CHECKER=interactor.";
    QTest::newRow("answer missing") << int(SOURCE) << "judge" << QStringList("sum2.ans")
                                    << "Test data evaldata/sum2.ans not found.";
    QTest::newRow("inputs missing")
        << int(ANSWERS) << "judge" << QStringList({"sum1.in", "sum2.in"})
        << "Test data evaldata/sum1.in not found (2 files missing).";
}

// A task that cannot be evaluated is refused once per player, before anything runs, with a
// block of code -106 that names the cause, also for a player without a source; the thread
// reports the player as failed.
void TstTaskEval::evaluationFailures()
{
    QFETCH(int, type);
    QFETCH(QString, plug);
    QFETCH(QStringList, removed);
    QFETCH(QString, cause);
    TestContest c;
    CTaskInfo *failing = c.addTask(QStringLiteral("sum"), _com_type(type), 2);
    failing->setPlugname(plug);
    if (QByteArray(QTest::currentDataTag()).startsWith("checker"))
        failing->setChecker(QStringLiteral("interactor"));
    c.write(QStringLiteral("filter/plain"), "#!/bin/sh\necho ok; echo 10\n");
    QFile::setPermissions(c.home + QStringLiteral("/filter/plain"),
                          QFile::ReadOwner | QFile::ReadOther);
    c.writePoint(QStringLiteral("sum"), 1, "1 2\n", "3\n");
    c.writePoint(QStringLiteral("sum"), 2, "5 5\n", "10\n");
    for (const QString &file : removed)
        QVERIFY(QFile::remove(c.home + QStringLiteral("/evaldata/") + file));
    c.submit(QStringLiteral("p"), QStringLiteral("sum"), QStringLiteral("sum.c"), SUM_OK);
    c.submit(QStringLiteral("p"), QStringLiteral("sum"), QStringLiteral("sum1.out"), "3\n");
    evallist = {{0, QStringLiteral("p")}, {1, QStringLiteral("absent")}};
    MyThread thread(&c.day, 1, -1);
    QSignalSpy task(&thread, &MyThread::evalOneTaskComplete);
    QSignalSpy end(&thread, &MyThread::endEvalPlayer);
    thread.start();
    QVERIFY(thread.wait(30000));
    const QString block = QStringLiteral("{sum -106 %1\n-106 0 ? %1\n}102 0\n").arg(cause);
    QCOMPARE(c.result(QStringLiteral("p")), block);
    QCOMPARE(c.result(QStringLiteral("absent")), block);
    QCOMPARE(task.at(0).at(3).toBool(), false);
    QCOMPARE(end.at(0), (QList<QVariant>{0, false}));
    QCOMPARE(end.at(1), (QList<QVariant>{1, false}));
}

// Stopping kills the run in progress with the processes it started, ends the player's block
// with the points left written as not evaluated, and begins no other player.
void TstTaskEval::stopEndsTheRunAndTheBlock()
{
    TestContest c;
    c.addTask(QStringLiteral("spin"), SOURCE, 3, 5.0f);
    for (int i = 1; i <= 3; ++i)
        c.writePoint(QStringLiteral("spin"), i, "\n", "\n");
    // A child that outlives its parent's stop, were the stop to miss it.
    const QByteArray spin = "#include <unistd.h>\nint main(void){if(fork()==0)for(;;);for(;;);}\n";
    c.submit(QStringLiteral("p1"), QStringLiteral("spin"), QStringLiteral("spin.c"), spin);
    c.submit(QStringLiteral("p2"), QStringLiteral("spin"), QStringLiteral("spin.c"), spin);
    evallist = {{0, QStringLiteral("p1")}, {1, QStringLiteral("p2")}};
    MyThread thread(&c.day, 1, -1);
    QSignalSpy end(&thread, &MyThread::endEvalPlayer);
    thread.start();
    QTRY_COMPARE_WITH_TIMEOUT(processesNamed({QStringLiteral("spin")}, submissionUser()).size(), 2,
                              30000);
    QElapsedTimer clock;
    clock.start();
    thread.requestStop();
    QVERIFY(thread.wait(30000));
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    const QString stopped = QStringLiteral("-106 0 T Evaluation stopped.\n");
    QCOMPARE(c.result(QStringLiteral("p1")), QStringLiteral("{spin 100 Compile successfully\n") +
                                                 stopped + stopped + stopped +
                                                 QStringLiteral("}102 0\n"));
    QCOMPARE(c.result(QStringLiteral("p2")), QStringLiteral("<no result file>"));
    QCOMPARE(end.size(), 1);
    QCOMPARE(end.at(0), (QList<QVariant>{0, false}));
    QCOMPARE(processesNamed({QStringLiteral("spin")}, submissionUser()), QStringList());
}

void TstTaskEval::hostileNamesRunNothing()
{
    TestContest c(QStringLiteral("考试 2026 $(touch pwned) 'q"));
    CTaskInfo *task = c.addTask(QStringLiteral("求和"), SOURCE, 1);
    task->setCcl(0, nullptr);
    task->addACcl(new CCompileCmd(QStringLiteral("c"), QStringLiteral("gcc -o %o %i # %d %s %n ")));
    c.writePoint(QStringLiteral("求和"), 1, "2 2\n", "4\n");
    const QString id = QStringLiteral("JS-$(touch pwned) `touch pwned` b");
    c.submit(id, QStringLiteral("求和"), QStringLiteral("求和.c"),
             QByteArray(SUM_OK).replace("sum.", "求和."));
    QVERIFY(c.evaluate({id}));
    QCOMPARE(c.result(id),
             QStringLiteral("{求和 100 Compile successfully\n101 10 T ok\n}102 10\n"));
    QDirIterator it(c.base.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        QVERIFY2(it.next().section(QLatin1Char('/'), -1) != QLatin1String("pwned"),
                 qPrintable(it.filePath()));
}

void TstTaskEval::refusedTaskNames()
{
    TestContest c;
    c.addTask(QStringLiteral("two words"), SOURCE, 1);
    c.addTask(QStringLiteral("x{y"), ANSWERS, 1);
    c.addTask(QString(TASKNAME_MAX + 1, QLatin1Char('n')), SOURCE, 1);
    c.submit(QStringLiteral("p"), QStringLiteral("two words"), QStringLiteral("two words.c"),
             SUM_OK);
    evallist = {{7, QStringLiteral("p")}};
    MyThread thread(&c.day, 1, -1);
    QSignalSpy done(&thread, &MyThread::evalOneTaskComplete);
    QSignalSpy end(&thread, &MyThread::endEvalPlayer);
    thread.start();
    QVERIFY(thread.wait(30000));
    QCOMPARE(done.count(), 3);
    for (const QList<QVariant> &args : done)
        QCOMPARE(args.at(3).toBool(), false);
    QCOMPARE(end.count(), 1);
    QCOMPARE(end.at(0), (QList<QVariant>{7, false}));
    QCOMPARE(readFile(c.home + QStringLiteral("/result/day1/p/p.result")), QByteArray());
}

// The filter's output is caught in memory, so nothing planted at a path can be read as a score
// or block the judge; a filter that overruns its bound is killed with its children.
void TstTaskEval::filterOutputAndBound()
{
    char msg[MESSAGE_SIZE];
    int points = -1;
    QByteArray sh("/bin/sh"), dashC("-c"), script("echo 'it {is} here'; echo 7");
    char *argv[] = {sh.data(), dashC.data(), script.data(), nullptr};
    QCOMPARE(callfilter(argv), 0);
    QCOMPARE(readscorefile(msg, &points), 0);
    QCOMPARE(QByteArray(msg), QByteArray("it {is} here"));
    QCOMPARE(points, 7);

    QTemporaryDir dir;
    const QByteArray marker = QFile::encodeName(dir.path()) + "/grandchild-ran";
    QByteArray hang = "(sleep 3; touch " + marker + ") & exec sleep 60";
    char *hung[] = {sh.data(), dashC.data(), hang.data(), nullptr};
    setFilterTimeLimit(1);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(callfilter(hung), FILTER_TIMED_OUT);
    setFilterTimeLimit(FILTER_TIME_LIMIT);
    QVERIFY(clock.elapsed() < 2500);
    QTest::qWait(2500);
    QVERIFY(!QFile::exists(QFile::decodeName(marker)));
}

void TstTaskEval::threadSignals()
{
    TestContest c;
    c.addTask(QStringLiteral("a"), ANSWERS, 1);
    c.addTask(QStringLiteral("b"), ANSWERS, 1);
    c.addTask(QStringLiteral("off"), INVALID, 1);
    c.writePoint(QStringLiteral("b"), 1, "", "yes\n");
    c.submit(QStringLiteral("p1"), QStringLiteral("b"), QStringLiteral("b1.out"), "yes\n");
    evallist = {{3, QStringLiteral("p1")}, {5, QStringLiteral("p2")}};
    MyThread thread(&c.day, 1, 1);
    QSignalSpy start(&thread, &MyThread::startEvalPlayer);
    QSignalSpy task(&thread, &MyThread::evalOneTaskComplete);
    QSignalSpy end(&thread, &MyThread::endEvalPlayer);
    QSignalSpy failed(&thread, &MyThread::evalFailed);
    thread.start();
    QVERIFY(thread.wait(30000));
    QCOMPARE(start.count(), 2);
    QCOMPARE(start.at(1).at(0).toInt(), 5);
    QCOMPARE(task.count(), 2);
    QCOMPARE(task.at(0), (QList<QVariant>{QStringLiteral("p1"), 3, 1, true}));
    QCOMPARE(end.at(1), (QList<QVariant>{5, true}));
    QCOMPARE(failed.count(), 0);
    QCOMPARE(c.result(QStringLiteral("p1")),
             QStringLiteral("{b 100 Evaluate answer files.\n101 10 T ok\n}102 10\n"));

    // An INVALID task: the result file is created empty, no task signal.
    evallist = {{0, QStringLiteral("p3")}};
    MyThread invalid(&c.day, 1, 2);
    QSignalSpy invalidTask(&invalid, &MyThread::evalOneTaskComplete);
    QSignalSpy invalidEnd(&invalid, &MyThread::endEvalPlayer);
    invalid.start();
    QVERIFY(invalid.wait(30000));
    QCOMPARE(invalidTask.count(), 0);
    QCOMPARE(invalidEnd.count(), 1);
    QCOMPARE(invalidEnd.at(0), (QList<QVariant>{0, true}));
    QCOMPARE(readFile(c.home + QStringLiteral("/result/day1/p3/p3.result")), QByteArray());
}

void TstTaskEval::failureToStartIsSignalled()
{
    TestContest c;
    c.addTask(QStringLiteral("a"), ANSWERS, 1);
    QVERIFY(QDir(c.home + QStringLiteral("/tmp")).removeRecursively());
    evallist = {{0, QStringLiteral("p")}};
    for (int taskIndex : {-1, 4}) {
        MyThread thread(&c.day, 1, taskIndex);
        QSignalSpy start(&thread, &MyThread::startEvalPlayer);
        QSignalSpy failed(&thread, &MyThread::evalFailed);
        thread.start();
        QVERIFY(thread.wait(30000));
        QCOMPARE(failed.count(), 1);
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
        QCOMPARE(start.count(), 0);
    }
    QVERIFY(!QFile::exists(c.home + QStringLiteral("/result/day1/p/p.result")));
}

QTEST_GUILESS_MAIN(TstTaskEval)
#include "tst_taskeval.moc"
