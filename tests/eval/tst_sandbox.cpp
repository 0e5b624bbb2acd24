#include "common/processes.h"
#include "common/testcontest.h"
#include "common/testfiles.h"
#include "compile.h"
#include "runctrl.h"
#include "sandbox.h"
#include "testpoint.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtTest>

#include <unistd.h>

// Hostile submissions, compiled and run by the engine in its sandbox, each ending with a sound
// verdict and nothing of it left running.
class TstSandbox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hostileSubmissions();
};

namespace
{

struct Hostile {
    const char *task;
    const char *source;
    int points;
    const char *expected; // the block's body, times as T; empty: checked by the caller
};

#define ESCAPE                                                                                     \
    "101 10 T tty No such file or directory, push Operation not permitted, net Network is "        \
    "unreachable, trace Operation not permitted, kill No such process, hidden, bounded\n"

const Hostile kHostile[] = {
    {"escape", "escape.c", 2, ESCAPE ESCAPE},
    {"incbin", "incbin.c", 1, "-101 0 ? Compile failed.\n"},
    {"spinkids", "spinkids.c", 1, "-103 0 T Time out.\n"},
    {"survivor", "survivor.c", 2, "101 10 T first\n101 10 T second\n"},
    {"survivorg", "survivor.c", 2, "101 10 T first\n101 10 T second\n"},
    {"fifo", "fifo.c", 1, "101 10 T <none>\n"},
    {"devzero", "devzero.c", 1, "-101 0 ? Compile failed.\n"},
    {"bigfiles", "bigfiles.c", 1, ""},
    {"hang", "fifo.c", 1, "-106 0 T Filter time out.\n"},
};

QString block(const QString &task, const QString &body)
{
    if (body.startsWith("-101"))
        return QStringLiteral("{%1 -101 Compile failed.\n%2}102 0\n").arg(task, body);
    int total = 0;
    for (const QString &line : body.split('\n', Qt::SkipEmptyParts))
        total += line.section(' ', 1, 1).toInt();
    return QStringLiteral("{%1 100 Compile successfully\n%2}102 %3\n").arg(task, body).arg(total);
}

} // namespace

// The fork bomb takes the whole process limit of its uid: a uid of its own keeps it from
// starving the submissions of tests that run beside this one as root.
void TstSandbox::initTestCase()
{
    setSubmissionUid(kSubmissionUid + 90);
}

void TstSandbox::hostileSubmissions()
{
    TestContest c;
    c.write("filter/hang", "#!/bin/sh\nexec sleep 60\n");
    for (const char *leak : {"/tmp/taldon-leak", "/dev/shm/taldon-leak"})
        QFile::remove(QLatin1String(leak));
    for (const Hostile &h : kHostile) {
        const QString task = QLatin1String(h.task);
        CTaskInfo *t = c.addTask(task, SOURCE, h.points, 1.0f);
        t->setPlugname(task == "hang" ? "hang" : "show");
        for (int i = 1; i <= h.points; ++i)
            c.writePoint(task, i, i == 1 ? "first\n" : "second\n", "any\n");
        QByteArray text = readFile(HOSTILE_DIR "/" + QLatin1String(h.source));
        text.replace("@HOME@", QFile::encodeName(c.home));
        text.replace("@JUDGE@", QByteArray::number(getpid()));
        text.replace(QByteArray(h.source).replace(".c", "."), task.toUtf8() + '.');
        if (task == "survivorg")
            text.prepend("#define GROUP\n");
        c.submit("p", task, task + ".c", text);
    }
    QElapsedTimer clock;
    clock.start();
    setFilterTimeLimit(1);
    const bool evaluated = c.evaluate({"p"});
    setFilterTimeLimit(FILTER_TIME_LIMIT);
    QVERIFY(evaluated);
    // The compilation of /dev/zero meets its address-space bound long before the time bound.
    QVERIFY2(clock.elapsed() < 50000, qPrintable(QString::number(clock.elapsed())));
    const QString result = c.result("p");
    QString expected;
    for (const Hostile &h : kHostile) {
        QString body = QLatin1String(h.expected);
        if (body.isEmpty()) {
            // What a run may write in all is bounded by the box, whatever the size of each file.
            const QRegularExpression wrote("\\n101 10 T (\\d+) MiB\\n");
            const auto m = wrote.match(result);
            QVERIFY2(m.hasMatch(), qPrintable(result));
            QVERIFY(m.captured(1).toInt() > 100 && m.captured(1).toLongLong() <= kBoxBytes >> 20);
            body = QStringLiteral("101 10 T %1 MiB\n").arg(m.captured(1));
        }
        expected += block(QLatin1String(h.task), body);
    }
    QCOMPARE(result.split('\n'), expected.split('\n'));
    // Every process counts: the spinning children's time is what ended the run.
    const auto m = QRegularExpression("\\{spinkids [^\\n]*\\n-103 0 (\\d+\\.\\d+) ")
                       .match(readFile(c.home + "/result/day1/p/p.result"));
    QVERIFY(m.hasMatch() && m.captured(1).toDouble() > 1.0);
    for (const char *leak : {"/tmp/taldon-leak", "/dev/shm/taldon-leak"})
        QVERIFY(!QFile::exists(QLatin1String(leak)));
    QStringList names;
    for (const Hostile &h : kHostile)
        names << QLatin1String(h.task);
    QCOMPARE(processesNamed(names, submissionUser()), QStringList());
}

QTEST_GUILESS_MAIN(TstSandbox)
#include "tst_sandbox.moc"
