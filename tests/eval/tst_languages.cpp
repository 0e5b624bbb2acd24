#include "common/testcontest.h"
#include "evallist.h"
#include "language.h"
#include "mythread.h"
#include "runctrl.h"
#include "testpoint.h"

#include "common/testfiles.h"

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

const char SHOW[] = "#!/bin/sh\n"
                    "printf '%s\\n10\\n' \"$(head -n 1 \"$2\" 2>/dev/null)\"\n";

struct Submission {
    const char *id;
    const char *task;
    const char *file;
    const char *source;
};

// A class sum whose main method runs the statements.
#define JAVA_MAIN(statements)                                                                      \
    "public class sum {\n  public static void main(String[] x) throws Exception {\n" statements    \
    "\n  }\n}\n"

const Submission kSubmissions[] = {
    {"py_ok", "sum", "sum.py",
     "a, b = map(int, open('sum.in').read().split())\nopen('sum.out', 'w').write(f'{a + b}\\n')\n"},
    {"py_wrong", "sum", "sum.py", "open('sum.out', 'w').write('0\\n')\n"},
    {"py_syntax", "sum", "sum.py", "def f(:\n"},
    {"py_raise", "sum", "sum.py", "raise ValueError('no')\n"},
    {"py_loop", "sum", "sum.py", "while True:\n    pass\n"},
    {"py_hog", "sum", "sum.py", "a = []\nwhile True:\n    a.append(bytearray(1 << 20))\n"},
    // Only the threads use the CPU: the run ends on their time, not on the wall-clock bound.
    {"py_threads", "sum", "sum.py",
     "import threading, time\ndef spin():\n    while True:\n        pass\n"
     "for _ in range(3):\n    threading.Thread(target=spin, daemon=True).start()\n"
     "time.sleep(60)\n"},
    {"py_claims", "sum", "sum.py", "import sys\nsys.stderr.write('MemoryError\\n')\nsys.exit(2)\n"},
    {"py_peek", "peek", "peek.py",
     "def read(path):\n    try:\n        return 'read ' + open(path).read().strip()\n"
     "    except OSError as e:\n        return type(e).__name__\n"
     "open('peek.out', 'w').write(read('../evaldata/sum1.ans') + ' ' + "
     "read('@HOME@/evaldata/sum1.ans') + '\\n')\n"},
    {"java_ok", "sum", "sum.java",
     JAVA_MAIN("java.util.Scanner in = new java.util.Scanner(new java.io.File(\"sum.in\"));\n"
               "try (java.io.PrintWriter out = new java.io.PrintWriter(\"sum.out\")) {\n"
               "  out.println(in.nextInt() + in.nextInt());\n}")},
    {"java_syntax", "sum", "sum.java", "public class sum { void f( }\n"},
    {"java_loop", "sum", "sum.java", JAVA_MAIN("long k = 0;\nwhile (true) k++;")},
    {"java_heap", "sum", "sum.java",
     JAVA_MAIN("java.util.List<long[]> kept = new java.util.ArrayList<>();\n"
               "while (true) kept.add(new long[1 << 16]);")},
    {"java_threads", "sum", "sum.java",
     JAVA_MAIN("for (int i = 0; i < 3; ++i) {\n"
               "  Thread t = new Thread(() -> { long k = 0; while (true) k++; });\n"
               "  t.setDaemon(true);\n  t.start();\n}\nThread.sleep(60000);")},
    // No room left for another thread's stack.
    {"java_stacks", "sum", "sum.java",
     JAVA_MAIN(
         "for (int i = 0; i < 40; ++i) {\n"
         "  Thread t = new Thread(() -> { try { Thread.sleep(60000); } catch (Exception e) {} });\n"
         "  t.setDaemon(true);\n  t.start();\n}")},
    {"java_exit3", "sum", "sum.java", JAVA_MAIN("System.exit(3);")},
    // javac succeeds, but no class is named after the task (a stale one is submitted too).
    {"java_noclass", "sum", "sum.java",
     "class Main {\n  public static void main(String[] x) {}\n}\n"},
    {"java_hyphen", "two-sum", "two-sum.java", "public class Main {}\n"},
    {"py_nocompiler", "nopy", "nopy.py", "print(1)\n"},
};

const char *const kTasks[] = {"sum", "peek", "two-sum", "nopy"};

// The user CPU seconds written for the first test point of the player's block.
double firstTime(const QString &home, const QString &id)
{
    const QByteArray raw = readFile(QStringLiteral("%1/result/day1/%2/%2.result").arg(home, id));
    const auto m =
        QRegularExpression("\\n-?\\d+ -?\\d+ (\\d+\\.\\d+) ").match(QString::fromUtf8(raw));
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

} // namespace

void TstLanguages::initTestCase()
{
    contest = std::make_unique<TestContest>();
    TestContest &c = *contest;
    c.write("filter/show", SHOW);
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
        c.submit(QLatin1String(s.id), QLatin1String(s.task), QLatin1String(s.file),
                 QByteArray(s.source).replace("@HOME@", QFile::encodeName(c.home)));
    // A class handed in beside the source cannot pass for a compiled one.
    c.submit("java_noclass", "sum", "sum.class", "stale");
    // One evaluation per task, of the players who submitted it.
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
    const QString compiled = "{sum 100 Compile successfully\n%1}102 %2\n";
    const QString failed = "{sum -101 Compile failed.\n-101 0 ? Compile failed.\n}102 0\n";
    const QString ok = compiled.arg("101 10 T ok\n").arg(10);
    const QString wrong = compiled.arg("101 0 T wrong answer on line 1\n").arg(0);
    const QString timeOut = compiled.arg("-103 0 T Time out.\n").arg(0);
    const QString memory = compiled.arg("-108 0 T Exceeding memory limit.\n").arg(0);
    for (const char *lang : {"py", "java"}) {
        const QByteArray p(lang);
        QTest::newRow(p + "_ok") << ok << true;
        QTest::newRow(p + "_syntax") << failed << true;
        QTest::newRow(p + "_loop") << timeOut << true;
        QTest::newRow(p + "_threads") << timeOut << true;
    }
    QTest::newRow("py_wrong") << wrong << true;
    QTest::newRow("py_raise") << wrong << true;
    QTest::newRow("py_hog") << memory << true;
    QTest::newRow("java_heap") << memory << true;
    QTest::newRow("java_stacks") << memory << true;
    // A status or a message alone is not a memory error; an uncaught exception is a wrong answer,
    // as a wrong output is, whatever the language.
    QTest::newRow("py_claims") << wrong << true;
    QTest::newRow("java_exit3") << wrong << true;
    QTest::newRow("java_noclass") << failed << true;
    QTest::newRow("py_peek") << QString("{peek 100 Compile successfully\n101 10 T "
                                        "FileNotFoundError FileNotFoundError\n}102 10\n")
                             << true;
    const QString refused = "{%1 -106 %2\n-106 0 ? %2\n}102 0\n";
    QTest::newRow("java_hyphen")
        << refused.arg("two-sum",
                       "the task name two-sum cannot be a Java class name, Java refused.")
        << false;
    QTest::newRow("py_nocompiler")
        << refused.arg("nopy", "Can not compile: python3-not-here is not installed.") << false;
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
    const double used = firstTime(contest->home, id);
    if (id.endsWith("_loop") || id.endsWith("_threads"))
        QVERIFY2(used > 0.5, qPrintable(QString::number(used)));
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
