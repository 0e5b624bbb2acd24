#include "common/testfiles.h"

#include "ctaskinfo.h"
#include "globals.h"

#include <QTemporaryDir>
#include <QtTest>

// A task file as the task writes it: the lines of a new task in their stored order, those of values
// instead where the key is the same, then the extra (CCL= and MARK=) lines. CHECKER= is written
// only when set.
static QByteArray taskText(const QByteArray &values, const QByteArray &extra = {})
{
    QByteArray text;
    for (QByteArray line :
         {"TITLE=", "NAME=Unknown", "RUN=", "INFILESUFFIX=in", "ANSFILESUFFIX=ans",
          "PLUG=", "CHECKER=", "TYPE=SOURCE", "LIMIT=1", "MEMLIMITS=32", "SAMPLES=10"}) {
        const QByteArray key = line.left(line.indexOf('=') + 1);
        for (const QByteArray &given : values.split('\n')) {
            if (given.startsWith(key))
                line = given;
        }
        if (line != "CHECKER=")
            text += line + '\n';
    }
    return text + extra;
}

// The task's compile commands, "lang@cmd" each, joined by '|'.
static QString commands(CTaskInfo &task)
{
    QStringList list;
    for (int i = 1; i <= task.getCclnum(); ++i)
        list << task.getCcl(i)->getLang() + '@' + task.getCcl(i)->getCmd();
    return list.join('|');
}

class TstTaskFile : public QObject
{
    Q_OBJECT

private slots:
    void fileReadAndWrittenBack_data();
    void fileReadAndWrittenBack();
    void compileCommandsCopiesAndReset();

private:
    QTemporaryDir tmp;
};

void TstTaskFile::fileReadAndWrittenBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("notice");
    const auto row = [](const char *tag, const QByteArray &file, const QByteArray &written,
                        int total, const QString &notice = QString()) {
        QTest::newRow(tag) << file << written << total << notice;
    };

    const QByteArray every =
        taskText("TITLE=加法\nNAME=add\nRUN=./add\nINFILESUFFIX=dat\nANSFILESUFFIX=out\n"
                 "PLUG=fulltext\nLIMIT=0.5\nMEMLIMITS=128\nSAMPLES=4\n",
                 "CCL=cpp@g++ -O2 -o %o %i \nCCL=c@gcc -o %o %i \nCCL=py@python3 %i \n"
                 "MARK=1@5\nMARK=2@25\nMARK=3@0\n");
    row("every field", every, every, 5 + 25 + 0 + 10);
    // A checker's kind has a line of its own after PLUG=; a kind this version does not know is kept
    // as it stands.
    for (const char *kind : {"testlib", "interactor"}) {
        const QByteArray checked = taskText("CHECKER=" + QByteArray(kind) + "\nTYPE=ANSWERS");
        row(kind, checked, checked, 100);
    }
    // A line belongs to the first key of the table found anywhere in it, untrimmed and cut at the
    // next occurrence of its key; other lines are skipped.
    row("keys inside lines",
        "RUN=./a NAME=1\nTITLE=NAME=x\n  PLUG=Day one PLUG=x\nANSFILESUFFIX= ans\n"
        "NAME=first\nNAME=second\njust a comment line\n\n",
        taskText("TITLE=NAME=x\nNAME=second\nANSFILESUFFIX= ans\nPLUG=Day one "), 100);
    // The file's commands replace the stock ones, none included.
    row("empty", "", taskText(""), 100);
    row("compile commands", "CCL=c\nCCL=@gcc\nCCL=c@\nCCL=c@gcc -o %o %i @x\nCCL=c@cc %i\n",
        taskText("", "CCL=c@gcc -o %o %i \nCCL=c@cc %i\n"), 100);
    row("marks and limits",
        "SAMPLES=5\nMARK=3@0\nMARK=0@5\nMARK=100@5\nMARK=4@-1\nMARK=5\nMARK=2@x@15\n"
        "MARK=1@abc\nMEMLIMITS=4096\nTYPE=source\nLIMIT=fast\n",
        taskText("TYPE=INVALID\nLIMIT=0\nMEMLIMITS=2048\nSAMPLES=5", "MARK=2@15\nMARK=3@0\n"),
        10 + 15 + 0 + 10 + 10);
    row("negative counts", "MEMLIMITS=-5\nSAMPLES=-2\n", taskText("MEMLIMITS=-5\nSAMPLES=-2"), 0);
    // A task holds 99 marks: a larger count is cut to 99, and said.
    row("too many points", "SAMPLES=2000000000\nMARK=99@0\n", taskText("SAMPLES=99", "MARK=99@0\n"),
        98 * 10, "SAMPLES=2000000000 超过 99 个测试点的上限, 按 99 读入");
    row("99 points", "SAMPLES=99\nMARK=99@1\n", taskText("SAMPLES=99", "MARK=99@1\n"), 98 * 10 + 1);
}

// The file is read into a task, whose copy writes it back; the copy's file, its total and the
// notices say what was read.
void TstTaskFile::fileReadAndWrittenBack()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, written);
    QFETCH(int, total);
    QFETCH(QString, notice);
    const QString path = tmp.filePath("task1_1.info");
    QVERIFY(writeFile(path, file));
    CTaskInfo task;
    QStringList notices;
    QVERIFY(task.loadTaskInfo(path, &notices));
    QCOMPARE(notices, notice.isEmpty() ? QStringList() : QStringList(path + ": " + notice));
    QCOMPARE(task.hasTestlibChecker(), written.contains("CHECKER=testlib\n"));
    CTaskInfo copy;
    copy = task;
    QCOMPARE(copy.getHome(), tmp.path());
    QCOMPARE(copy.getTotal(), total);
    QVERIFY(copy.save(tmp.path(), 2, 3));
    QCOMPARE(readFile(tmp.filePath("task2_3.info")), written);
}

void TstTaskFile::compileCommandsCopiesAndReset()
{
    CTaskInfo task;
    QCOMPARE(commands(task), QString("c@gcc -o %o %i |cpp@g++ -o %o %i |pas@fpc %i "));
    task.addACcl(new CCompileCmd("java", JAVA_CL));
    auto *dup = new CCompileCmd("c", "clang %i");
    task.addACcl(dup); // refused: the caller still owns it
    delete dup;
    task.delACcl(QString("cpp"));
    task.delACcl(QString("none"));
    QCOMPARE(commands(task), QString("c@gcc -o %o %i |pas@fpc %i |java@javac %i "));
    QCOMPARE(task.getCcl(2)->getLang(), QString("pas"));
    QVERIFY(!task.getCcl(0) && !task.getCcl(4));

    // A file may repeat a language: lookups and removals take the first. A missing file changes
    // nothing, and a second file read does not keep the first one's commands.
    const QString path = tmp.filePath("task1_1.info");
    QVERIFY(!task.loadTaskInfo(tmp.filePath("no/such/task1_1.info")));
    QCOMPARE(task.getCclnum(), 3);
    QVERIFY(writeFile(path, "CCL=c@first\nCCL=py@p\nCCL=c@second\nSAMPLES=3\n"));
    QVERIFY(task.loadTaskInfo(path));
    QCOMPARE(task.getCcl(QString("c"))->getCmd(), QString("first"));
    CTaskInfo fromPath(path);
    QCOMPARE(fromPath.getTotal(), 30);
    QCOMPARE(commands(fromPath), commands(task));
    QCOMPARE(CTaskInfo(tmp.filePath("missing.info")).getCclnum(), 0);
    task.delACcl(QString("c"));
    QCOMPARE(commands(task), QString("py@p|c@second"));
    // Setting the commands from a part of the task's own array must not read freed memory.
    task.setCcl(1, task.getCclAll() + 1);
    QCOMPARE(commands(task), QString("c@second"));
    CTaskInfo copy(task);
    task.delACcl(QString("c"));
    QCOMPARE(commands(copy), QString("c@second"));

    // A reset gives the limits, marks, filter and commands of a new task without commands, and
    // keeps the names.
    const QByteArray names = "TITLE=题\nNAME=kept\nRUN=./kept\nINFILESUFFIX=i\nANSFILESUFFIX=o\n";
    QVERIFY(writeFile(path, names + "PLUG=f\nCHECKER=testlib\nTYPE=ANSWERS\nLIMIT=2.5\n"
                                    "MEMLIMITS=256\nSAMPLES=4\nCCL=c@cc\nMARK=2@30\n"));
    QVERIFY(task.loadTaskInfo(path));
    task.resetInfo();
    QVERIFY(task.save(tmp.path(), 1, 2));
    QCOMPARE(readFile(tmp.filePath("task1_2.info")),
             names + "PLUG=\nTYPE=SOURCE\nLIMIT=1\nMEMLIMITS=32\nSAMPLES=10\n");
}

QTEST_GUILESS_MAIN(TstTaskFile)
#include "tst_taskfile.moc"
