#include "common/testcontest.h"
#include "common/testfiles.h"
#include "evallist.h"
#include "language.h"
#include "mythread.h"
#include "runctrl.h"
#include "testpoint.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// Python and Java submissions compiled and run by the engine in its sandbox.
class TstLanguages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void verdicts_data();
    void verdicts();
    void interpreterNotStarted();
    void javaClassNames();

private:
    std::unique_ptr<TestContest> contest;
    QHash<QString, bool> judged; // per player, as evalOneTaskComplete said
};

namespace
{

// The verdict is the block's test point line, or the code and message of a block without one.
struct Submission {
    const char *id, *task, *source, *verdict;
};
const char kOk[] = "101 10 T ok", kWrong[] = "101 0 T wrong answer on line 1",
           kFailed[] = "-101 Compile failed.", kTimeOut[] = "-103 0 T Time out.",
           kMemory[] = "-108 0 T Exceeding memory limit.";

#define JAVA_MAIN(statements)                                                                      \
    "public class sum {\n  public static void main(String[] x) throws Exception {\n" statements    \
    "\n  }\n}\n"

// A status or a message alone is not a memory error; an uncaught exception is a wrong answer, as
// a wrong output is, whatever the language.
const Submission kSubmissions[] = {
    {"py_ok", "sum",
     "a, b = map(int, open('sum.in').read().split())\nopen('sum.out', 'w').write(f'{a + b}\\n')\n",
     kOk},
    {"py_wrong", "sum", "open('sum.out', 'w').write('0\\n')\n", kWrong},
    {"py_syntax", "sum", "def f(:\n", kFailed},
    {"py_raise", "sum", "raise ValueError('no')\n", kWrong},
    {"py_loop", "sum", "while True:\n    pass\n", kTimeOut},
    {"py_hog", "sum", "a = []\nwhile True:\n    a.append(bytearray(1 << 20))\n", kMemory},
    // Only the threads use the CPU: the run ends on their time, not on the wall-clock bound.
    {"py_threads", "sum",
     "import threading, time\ndef spin():\n    while True:\n        pass\n"
     "for _ in range(3):\n    threading.Thread(target=spin, daemon=True).start()\n"
     "time.sleep(60)\n",
     kTimeOut},
    {"py_claims", "sum", "import sys\nsys.stderr.write('MemoryError\\n')\nsys.exit(2)\n", kWrong},
    {"py_peek", "peek",
     "def read(path):\n    try:\n        return 'read ' + open(path).read().strip()\n"
     "    except OSError as e:\n        return type(e).__name__\n"
     "open('peek.out', 'w').write(read('../evaldata/sum1.ans') + ' ' + "
     "read('@HOME@/evaldata/sum1.ans') + '\\n')\n",
     "101 10 T FileNotFoundError FileNotFoundError"},
    {"java_ok", "sum",
     JAVA_MAIN("java.util.Scanner in = new java.util.Scanner(new java.io.File(\"sum.in\"));\n"
               "try (java.io.PrintWriter out = new java.io.PrintWriter(\"sum.out\")) {\n"
               "  out.println(in.nextInt() + in.nextInt());\n}"),
     kOk},
    {"java_syntax", "sum", "public class sum { void f( }\n", kFailed},
    {"java_loop", "sum", JAVA_MAIN("long k = 0;\nwhile (true) k++;"), kTimeOut},
    {"java_heap", "sum",
     JAVA_MAIN("java.util.List<long[]> kept = new java.util.ArrayList<>();\n"
               "while (true) kept.add(new long[1 << 16]);"),
     kMemory},
    {"java_threads", "sum",
     JAVA_MAIN("for (int i = 0; i < 3; ++i) {\n"
               "  Thread t = new Thread(() -> { long k = 0; while (true) k++; });\n"
               "  t.setDaemon(true);\n  t.start();\n}\nThread.sleep(60000);"),
     kTimeOut},
    // No room left for another thread's stack.
    {"java_stacks", "sum",
     JAVA_MAIN(
         "for (int i = 0; i < 40; ++i) {\n"
         "  Thread t = new Thread(() -> { try { Thread.sleep(60000); } catch (Exception e) {} });\n"
         "  t.setDaemon(true);\n  t.start();\n}"),
     kMemory},
    {"java_exit3", "sum", JAVA_MAIN("System.exit(3);"), kWrong},
    // javac succeeds, but no class is named after the task (a stale one is submitted too).
    {"java_noclass", "sum", "class Main {\n  public static void main(String[] x) {}\n}\n", kFailed},
    {"java_hyphen", "two-sum", "public class Main {}\n",
     "-106 the task name two-sum cannot be a Java class name, Java refused."},
    {"py_nocompiler", "nopy", "print(1)\n",
     "-106 Can not compile: python3-not-here is not installed."},
};

const char *const kTasks[] = {"sum", "peek", "two-sum", "nopy"};

} // namespace

void TstLanguages::initTestCase()
{
    contest = std::make_unique<TestContest>();
    TestContest &c = *contest;
    for (const char *name : kTasks) {
        CTaskInfo *task = c.addTask(QLatin1String(name), SOURCE, 1, 1.0f);
        task->addACcl(new CCompileCmd("py", "python3 -m py_compile %i "));
        // The compiler's quick tier alone: javac's own run is short, and twice as fast so.
        task->addACcl(
            new CCompileCmd("java", "javac -J-XX:TieredStopAtLevel=1 -J-XX:+UseSerialGC %i "));
        c.writePoint(QLatin1String(name), 1, "1 2\n", "3\n");
    }
    c.day.getTaskInfo(1)->setPlugname("show");
    c.day.getTaskInfo(3)->getCcl("py")->setCmd("python3-not-here -m py_compile %i ");
    for (const Submission &s : kSubmissions)
        c.submit(s.id, s.task, s.task + QLatin1String(s.id[0] == 'p' ? ".py" : ".java"),
                 QByteArray(s.source).replace("@HOME@", QFile::encodeName(c.home)));
    // A class handed in beside the source cannot pass for a compiled one.
    c.submit("java_noclass", "sum", "sum.class", "stale");
    for (int t = 0; t < int(std::size(kTasks)); ++t) {
        evallist.clear();
        for (const Submission &s : kSubmissions)
            if (qstrcmp(s.task, kTasks[t]) == 0)
                evallist.append({evallist.size(), QLatin1String(s.id)});
        MyThread thread(&c.day, 1, t);
        QSignalSpy done(&thread, &MyThread::evalOneTaskComplete);
        thread.start();
        QVERIFY(thread.wait(120000));
        for (const QList<QVariant> &args : done)
            judged.insert(args.at(0).toString(), args.at(3).toBool());
    }
}

void TstLanguages::verdicts_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<bool>("success");
    for (const Submission &s : kSubmissions) {
        const QString verdict = QLatin1String(s.verdict);
        const QString block =
            verdict.contains(" T ")
                ? QStringLiteral("{%1 100 Compile successfully\n%2\n}102 %3\n")
                      .arg(s.task, verdict, verdict.section(' ', 1, 1))
                : QStringLiteral("{%1 %2\n%3 0 ? %4\n}102 0\n")
                      .arg(s.task, verdict, verdict.section(' ', 0, 0), verdict.section(' ', 1));
        QTest::newRow(s.id) << block << !verdict.startsWith("-106");
    }
}

void TstLanguages::verdicts()
{
    QFETCH(QString, block);
    QFETCH(bool, success);
    const QString id = QString::fromLatin1(QTest::currentDataTag());
    QCOMPARE(contest->result(id), block);
    QCOMPARE(judged.value(id, !success), success);
    // CPU time ends the loops, the threads' time the _threads programs, whose main thread sleeps;
    // on a busy machine the wall-clock bound may come before the whole limit is used.
    const QByteArray raw =
        readFile(QStringLiteral("%1/result/day1/%2/%2.result").arg(contest->home, id));
    const auto used = QRegularExpression("\\n-103 0 (\\d+\\.\\d+) ").match(raw);
    if (id.endsWith("_loop") || id.endsWith("_threads"))
        QVERIFY2(used.captured(1).toDouble() > 0.5, raw.constData());
}

void TstLanguages::interpreterNotStarted()
{
    for (const char *program : {"python3-not-here", "/nonexistent/java"}) {
        RunPlan plan;
        plan.argv = {program, "x.py"};
        plan.interpreter = true;
        char msg[MESSAGE_SIZE] = {};
        int score = 7;
        float used = -1;
        QCOMPARE(runPlanUnderCtrl(plan, 1.0f, &used, msg, &score), int(RunNotStarted));
        QCOMPARE(QString::fromUtf8(msg),
                 QStringLiteral("Cannot start %1: %2.")
                     .arg(program,
                          program[0] == '/' ? "No such file or directory" : "it is not installed"));
        QCOMPARE(score, 0);
        QCOMPARE(used, 0.0f);
    }
}

// Python runs a file, whatever its name.
void TstLanguages::javaClassNames()
{
    const QList<QPair<QString, bool>> names = {
        {"sum", true},   {"Max_2$b", true}, {"求和", true}, {"two-sum", false},
        {"2sum", false}, {"class", false},  {"var", false}};
    for (const auto &name : names) {
        QCOMPARE(Language("java").refusal(name.first.toUtf8()).isEmpty(), name.second);
        QVERIFY(Language("py").refusal(name.first.toUtf8()).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TstLanguages)
#include "tst_languages.moc"
