#include "common/processes.h"
#include "common/testcontest.h"
#include "common/testfiles.h"
#include "compile.h"
#include "evallist.h"
#include "mythread.h"
#include "taskeval.h"
#include "testpoint.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTextCodec>
#include <QtTest>

namespace
{

const QByteArray SUM_OK =
    "#include <stdio.h>\nint main(void){int a,b;FILE*i=fopen(\"sum.in\",\"r\");"
    "FILE*o=fopen(\"sum.out\",\"w\");if(!i||!o||fscanf(i,\"%d %d\",&a,&b)!=2)return 1;"
    "fprintf(o,\"%d\\n\",a+b);return 0;}\n";

QString genCmd(const char *tmpl, const char *name = "sum", const char *lang = "c")
{
    char line[COMPCMD_SIZE] = {};
    QByteArray t(tmpl), n(name), l(lang);
    if (!GenCompCmd(line, n.data(), l.data(), t.data()))
        return "<refused>";
    return QString::fromUtf8(line);
}

struct Evaluation {
    Evaluation(CDayInfo *day, int taskIndex, const QList<_evaldata> &players)
        : thread(day, 1, taskIndex), start(&thread, &MyThread::startEvalPlayer),
          task(&thread, &MyThread::evalOneTaskComplete), end(&thread, &MyThread::endEvalPlayer),
          failed(&thread, &MyThread::evalFailed)
    {
        evallist = players;
    }
    bool run()
    {
        thread.start();
        return thread.wait(30000);
    }
    MyThread thread;
    QSignalSpy start, task, end, failed;
};

} // namespace

class TstTaskEval : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void compileCommand();
    void boundsKillTheGroup();
    void sourceOutcomes();
    void testlibCheckers();
    void evaluationFailures_data();
    void evaluationFailures();
    void stopEndsTheRunAndTheBlock();
    void threadSignals();
};

void TstTaskEval::initTestCase()
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
}

void TstTaskEval::compileCommand()
{
    QCOMPARE(genCmd("g++ -o %o %i ", "sum", "cpp"), "g++ -o sum sum.cpp ");
    QCOMPARE(genCmd("fpc %i ", "sum", "pas"), "fpc sum.pas ");
    QCOMPARE(genCmd("gcc %i -o %o"), "gcc sum.c -o sum");
    QCOMPARE(genCmd("make"), QString());
    // Only the first of each placeholder is filled; other '%' sequences stay as written.
    QCOMPARE(genCmd("gcc -o %o %i %d %s %n %i"), "gcc -o sum sum.c %d %s %n %i");
    QCOMPARE(genCmd("gcc -o %o %i", "%i"), "gcc -o %i %i.c");
    QCOMPARE(genCmd("gcc -o %o %i", "a b'$(x)"), "gcc -o 'a b'\\''$(x)' 'a b'\\''$(x).c'");
    QCOMPARE(genCmd("gcc -o %o %i", "求和"), "gcc -o 求和 求和.c");
    QCOMPARE(genCmd(QByteArray("gcc -o %o %i ").append(QByteArray(COMPCMD_SIZE, 'x')).constData()),
             "<refused>");
    QByteArray t("gcc %i"), n("sum"), l("c");
    QCOMPARE(GenCompCmd(nullptr, n.data(), l.data(), t.data()), 0);
}

// A compiler or a filter that overruns its bound is killed with the processes it started; within
// the bound a compilation is judged by its program file as before.
void TstTaskEval::boundsKillTheGroup()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QByteArray late = "(sleep 2; touch '" + QFile::encodeName(dir.path()) + "/late') & ";
    QByteArray cmd = "echo partial > sum; " + late + "sleep 30";
    QByteArray exe("sum"), quick("echo built > sum");
    QByteArray sh("/bin/sh"), dashC("-c"), hang = late + "exec sleep 60";
    char *hung[] = {sh.data(), dashC.data(), hang.data(), nullptr};
    setCompileTimeLimit(1);
    setFilterTimeLimit(1);
    QElapsedTimer clock;
    clock.start();
    const int code = CompileSrc(exe.data(), cmd.data());
    const qint64 took = clock.restart();
    const int filtered = callfilter(hung);
    const qint64 filterTook = clock.elapsed();
    QCOMPARE(CompileSrc(exe.data(), quick.data()), COMPILE_OK);
    setCompileTimeLimit(COMPILE_TIME_LIMIT);
    setFilterTimeLimit(FILTER_TIME_LIMIT);
    QCOMPARE(code, COMPILE_FAILED);
    QCOMPARE(filtered, FILTER_TIMED_OUT);
    QVERIFY(took < 10000 && filterTook < 2500);
    QTest::qWait(2500);
    QVERIFY(!QFile::exists("late"));
    QVERIFY(QDir::setCurrent(before));
}

// Sources of either language, answer files and the filter's messages; an ANSWERS task reads the
// files handed in, a missing one is judged as an empty output. Names run nothing by a shell.
void TstTaskEval::sourceOutcomes()
{
    TestContest c("考试 2026 $(touch pwned) 'q");
    c.addTask("sum", SOURCE, 2, 0.5f);
    c.addTask("words", ANSWERS, 3);
    c.addTask("msg", SOURCE, 3);
    CTaskInfo *task = c.addTask("求和", SOURCE, 1);
    task->setCcl(0, nullptr);
    task->addACcl(new CCompileCmd("c", "gcc -o %o %i # %d %s %n "));
    c.writePoint("求和", 1, "2 2\n", "4\n");
    const QString id = "JS-$(touch pwned) `touch pwned` b";
    c.submit(id, "求和", "求和.c", QByteArray(SUM_OK).replace("sum.", "求和."));
    c.writePoint("sum", 1, "1 2\n", "3\n");
    c.writePoint("sum", 2, "5 5\n", "10\n");
    for (int i = 1; i <= 3; ++i)
        c.writePoint("words", i, "q\n", "yes\n");
    c.writePoint("msg", 1, "1 2\n", "braces\n");
    c.writePoint("msg", 2, "1 2\n", "silent\n");
    c.writePoint("msg", 3, "1 2\n", "3\n");
    c.submit("ok", "sum", "sum.c", SUM_OK);
    // The c entry comes first, so a broken sum.cpp beside a good sum.c is never compiled.
    c.submit("ok", "sum", "sum.cpp", "broken");
    c.submit("ok", "words", "words1.out", "yes\n");
    c.submit("ok", "words", "words2.out", "no\n");
    c.submit("ok", "msg", "msg.c", QByteArray(SUM_OK).replace("sum.", "msg."));
    c.submit("cpp", "sum", "sum.cpp",
             "#include <fstream>\nint main(){std::ifstream i(\"sum.in\");std::ofstream "
             "o(\"sum.out\");int a,b;i>>a>>b;o<<a+b<<'\\n';}\n");
    c.submit("wrong", "sum", "sum.c",
             "#include <stdio.h>\nint main(void){fprintf(fopen(\"sum.out\",\"w\"),\"0\\n\");}\n");
    c.submit("broken", "sum", "sum.c", "int main( {");
    c.submit("slow", "sum", "sum.c", "int main(void){volatile int x=0;for(;;)x++;}\n");
    QVERIFY(c.evaluate({"ok", "cpp", "wrong", "broken", "slow", "absent"}, 0));
    QVERIFY(c.evaluate({"ok"}, 1));
    QVERIFY(c.evaluate({"ok"}, 2));
    QVERIFY(c.evaluate({id}, 3));
    const QString compiled = "{sum 100 Compile successfully\n";
    const QString accepted = compiled + "101 10 T ok\n101 10 T ok\n}102 20\n";
    const QString wrong = "101 0 T wrong answer on line 1\n";
    QCOMPARE(c.result("ok"),
             accepted + "{words 100 Evaluate answer files.\n101 10 T ok\n" + wrong + wrong +
                 "}102 10\n{msg 100 Compile successfully\n101 5 T got (x) and ) tail\n"
                 "101 0 T No Score.\n101 10 T ok\n}102 15\n");
    QCOMPARE(c.result("cpp"), accepted);
    QCOMPARE(c.result("wrong"), compiled + wrong + wrong + "}102 0\n");
    QCOMPARE(c.result("broken"), "{sum -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n");
    QCOMPARE(c.result("slow"), compiled + "-103 0 T Time out.\n-103 0 T Time out.\n}102 0\n");
    QCOMPARE(c.result("absent"), "{sum -100 Can not find source code file.\n-100 0 ? Can not find "
                                 "source code file.\n}102 0\n");
    // Answer files take no time.
    QVERIFY(readFile(c.home + "/result/day1/ok/ok.result")
                .contains("\n101 10 0.000 ok\n101 0 0.000 wrong"));
    QVERIFY(c.evaluate({"cpp"}, 0));
    QCOMPARE(c.result("cpp"), accepted + accepted);
    QCOMPARE(c.result(id), "{求和 100 Compile successfully\n101 10 T ok\n}102 10\n");
    QDirIterator it(c.base.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        QVERIFY2(it.next().section('/', -1) != "pwned", qPrintable(it.filePath()));
    QVERIFY(QDir(c.home + "/tmp").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    char msg[] = "a{b}\nc\rd";
    cleanMessage(msg);
    QCOMPARE(QByteArray(msg), QByteArray("a(b) c d"));
}

// A testlib-style checker's verdicts become the points' scores and messages; its failures (FAIL,
// a crash, a time-out) fail the task. It takes input, output and answer in that order, or FAILs.
void TstTaskEval::testlibCheckers()
{
    TestContest c;
    const QStringList words = {"ok", "wa", "eof", "points", "partial", "fail", "crash", "hang"};
    c.addTask("t", ANSWERS, words.size());
    c.addTask("good", SOURCE, 1);
    for (int t = 0; t < 2; ++t) {
        CTaskInfo *task = c.day.getTaskInfo(t);
        const QString name = task->getTaskname() + "_checker";
        task->setPlugname(name);
        task->setChecker(TestlibChecker);
        QVERIFY(QFile::copy(CHECKER_PROGRAM, c.home + "/filter/" + name));
    }
    for (int i = 0; i < words.size(); ++i) {
        c.writePoint("t", i + 1, "input\n", "answer\n");
        c.submit("p", "t", QStringLiteral("t%1.out").arg(i + 1), words[i].toUtf8() + '\n');
    }
    c.writePoint("good", 1, "input\n", "answer\n");
    c.submit("p", "good", "good.c",
             "#include <stdio.h>\nint main(void){FILE*o=fopen(\"good.out\",\"w\");"
             "return !o||fputs(\"ok\\n\",o)<0;}\n");
    Evaluation e(&c.day, -1, {{0, "p"}});
    setFilterTimeLimit(1);
    QVERIFY(e.run());
    setFilterTimeLimit(FILTER_TIME_LIMIT);
    QCOMPARE(c.result("p"), "{t 100 Evaluate answer files.\n"
                            "101 10 T ok 1 token\n"
                            "101 0 T wrong answer expected 'ok', found 'wa'\n"
                            "101 0 T unexpected end of file\n"
                            "101 7 T points 0.75 three quarters\n"
                            "101 4 T partially correct (45) (almost)\n"
                            "-106 0 T Checker failed: FAIL the answer is broken\n"
                            "-106 0 T Checker failed: killed by signal 11.\n"
                            "-106 0 T Checker failed: no verdict within 1 s.\n"
                            "}102 21\n"
                            "{good 100 Compile successfully\n101 10 T ok 1 token\n}102 10\n");
    QCOMPARE(e.task.size(), 2);
    QCOMPARE(e.task.at(0).at(3).toBool(), false);
    QCOMPARE(e.task.at(1).at(3).toBool(), true);
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

// A task that cannot be evaluated is refused before anything runs, with a block of code -106
// naming the cause, also for a player without a source, who is reported as failed too.
void TstTaskEval::evaluationFailures()
{
    QFETCH(int, type);
    QFETCH(QString, plug);
    QFETCH(QStringList, removed);
    QFETCH(QString, cause);
    TestContest c;
    CTaskInfo *failing = c.addTask("sum", _com_type(type), 2);
    failing->setPlugname(plug);
    if (QByteArray(QTest::currentDataTag()).startsWith("checker"))
        failing->setChecker("interactor");
    c.write("filter/plain", "#!/bin/sh\necho ok; echo 10\n");
    QFile::setPermissions(c.home + "/filter/plain", QFile::ReadOwner | QFile::ReadOther);
    c.writePoint("sum", 1, "1 2\n", "3\n");
    c.writePoint("sum", 2, "5 5\n", "10\n");
    for (const QString &file : removed)
        QVERIFY(QFile::remove(c.home + "/evaldata/" + file));
    c.submit("p", "sum", "sum.c", SUM_OK);
    c.submit("p", "sum", "sum1.out", "3\n");
    Evaluation e(&c.day, -1, {{0, "p"}, {1, "absent"}});
    QVERIFY(e.run());
    const QString refused = QStringLiteral("{sum -106 %1\n-106 0 ? %1\n}102 0\n").arg(cause);
    QCOMPARE(c.result("p"), refused);
    QCOMPARE(c.result("absent"), refused);
    QCOMPARE(e.task.at(0).at(3).toBool(), false);
    QCOMPARE(e.end.at(0), (QList<QVariant>{0, false}));
    QCOMPARE(e.end.at(1), (QList<QVariant>{1, false}));
}

// Stopping kills the run in progress with the processes it started, ends the player's block
// with the points left written as not evaluated, and begins no other player.
void TstTaskEval::stopEndsTheRunAndTheBlock()
{
    TestContest c;
    c.addTask("spin", SOURCE, 3, 5.0f);
    for (int i = 1; i <= 3; ++i)
        c.writePoint("spin", i, "\n", "\n");
    // A child that outlives its parent's stop, were the stop to miss it.
    const QByteArray spin = "#include <unistd.h>\nint main(void){if(fork()==0)for(;;);for(;;);}\n";
    c.submit("p1", "spin", "spin.c", spin);
    c.submit("p2", "spin", "spin.c", spin);
    Evaluation e(&c.day, -1, {{0, "p1"}, {1, "p2"}});
    e.thread.start();
    QTRY_COMPARE_WITH_TIMEOUT(processesNamed({"spin"}, submissionUser()).size(), 2, 30000);
    QElapsedTimer clock;
    clock.start();
    e.thread.requestStop();
    QVERIFY(e.thread.wait(30000));
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    const QString stopped = "-106 0 T Evaluation stopped.\n";
    QCOMPARE(c.result("p1"),
             "{spin 100 Compile successfully\n" + stopped + stopped + stopped + "}102 0\n");
    QCOMPARE(c.result("p2"), "<no result file>");
    QCOMPARE(e.end.size(), 1);
    QCOMPARE(e.end.at(0), (QList<QVariant>{0, false}));
    QCOMPARE(processesNamed({"spin"}, submissionUser()), QStringList());
}

// The thread's signals by row; a failure to start starts no one. Names that cannot be a file's or
// a record's fail their task before anything runs; an INVALID task is left out, its player's
// result file created empty.
void TstTaskEval::threadSignals()
{
    TestContest c;
    c.addTask("a", ANSWERS, 1);
    c.addTask("b", ANSWERS, 1);
    c.writePoint("b", 1, "", "yes\n");
    c.submit("p1", "b", "b1.out", "yes\n");
    Evaluation e(&c.day, 1, {{3, "p1"}, {5, "p2"}});
    QVERIFY(e.run());
    QCOMPARE(e.start, (QList<QList<QVariant>>{{3}, {5}}));
    QCOMPARE(e.task.count(), 2);
    QCOMPARE(e.task.at(0), (QList<QVariant>{"p1", 3, 1, true}));
    QCOMPARE(e.end.at(1), (QList<QVariant>{5, true}));
    QCOMPARE(e.failed.count(), 0);
    QCOMPARE(c.result("p1"), "{b 100 Evaluate answer files.\n101 10 T ok\n}102 10\n");
    // Without its tmp folder, or with a task out of range, the day is not evaluated.
    QVERIFY(QDir(c.home + "/tmp").removeRecursively());
    for (int taskIndex : {-1, 4}) {
        Evaluation e(&c.day, taskIndex, {{0, "p"}});
        QVERIFY(e.run());
        QCOMPARE(e.failed.count(), 1);
        QVERIFY(!e.failed.at(0).at(0).toString().isEmpty());
        QCOMPARE(e.start.count(), 0);
    }
    QVERIFY(!QFile::exists(c.home + "/result/day1/p/p.result"));
    TestContest names;
    names.addTask("two words", SOURCE, 1);
    names.addTask("x{y", ANSWERS, 1);
    names.addTask(QString(TASKNAME_MAX + 1, 'n'), SOURCE, 1);
    names.addTask("off", INVALID, 1);
    names.submit("p", "two words", "two words.c", SUM_OK);
    Evaluation refused(&names.day, -1, {{7, "p"}});
    QVERIFY(refused.run());
    QCOMPARE(refused.task.count(), 3);
    for (const QList<QVariant> &args : refused.task)
        QCOMPARE(args.at(3).toBool(), false);
    QCOMPARE(refused.end, (QList<QList<QVariant>>{{7, false}}));
    QCOMPARE(readFile(names.home + "/result/day1/p/p.result"), QByteArray());
    Evaluation invalid(&names.day, 3, {{0, "p3"}});
    QVERIFY(invalid.run());
    QCOMPARE(invalid.task.count(), 0);
    QCOMPARE(invalid.end, (QList<QList<QVariant>>{{0, true}}));
    QCOMPARE(readFile(names.home + "/result/day1/p3/p3.result"), QByteArray());
}

QTEST_GUILESS_MAIN(TstTaskEval)
#include "tst_taskeval.moc"
