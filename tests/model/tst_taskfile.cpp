#include "common/testfiles.h"

#include "ctaskinfo.h"
#include "globals.h"

#include <QTemporaryDir>
#include <QtTest>

class TstTaskFile : public QObject
{
    Q_OBJECT

private slots:
    void readsHandWrittenFileAndWritesItBackByteForByte();
    void lineBelongsToFirstKeyOfTable();
    void marksAndLimitsFollowTheirRules();
    void compileCommandLines();
    void missingFileKeepsTask();
    void compileCommandListOperations();

private:
    CTaskInfo load(const QByteArray &text, QStringList *notices = nullptr);
    QTemporaryDir tmp;
};

CTaskInfo TstTaskFile::load(const QByteArray &text, QStringList *notices)
{
    const QString path = tmp.filePath("task1_1.info");
    if (!writeFile(path, text))
        qFatal("cannot write %s", qPrintable(path));
    CTaskInfo task;
    if (!task.loadTaskInfo(path, notices))
        qFatal("cannot read %s", qPrintable(path));
    return task;
}

void TstTaskFile::readsHandWrittenFileAndWritesItBackByteForByte()
{
    const QByteArray text = "TITLE=加法\n"
                            "NAME=add\n"
                            "RUN=./add\n"
                            "INFILESUFFIX=in\n"
                            "ANSFILESUFFIX=out\n"
                            "PLUG=fulltext\n"
                            "TYPE=SOURCE\n"
                            "LIMIT=0.5\n"
                            "MEMLIMITS=128\n"
                            "SAMPLES=4\n"
                            "CCL=cpp@g++ -O2 -o %o %i \n"
                            "CCL=c@gcc -o %o %i \n"
                            "CCL=py@python3 -m py_compile %i \n"
                            "CCL=java@javac -encoding UTF-8 %i \n"
                            "MARK=2@25\n"
                            "MARK=3@0\n";
    CTaskInfo task = load(text);
    QCOMPARE(task.getTitle(), QString("加法"));
    QCOMPARE(task.getHome(), tmp.path());
    QCOMPARE(task.getTimelimit(), 0.5f);
    QCOMPARE(task.getTotal(), 10 + 25 + 0 + 10);
    QCOMPARE(task.getCclnum(), 4);
    QCOMPARE(task.getCcl(1)->getLang(), QString("cpp"));
    QCOMPARE(task.getCcl(QStringLiteral("java"))->getCmd(), QString("javac -encoding UTF-8 %i "));

    QVERIFY(task.save(tmp.path(), 2, 3));
    QCOMPARE(readFile(tmp.filePath("task2_3.info")), text);
    QVERIFY(!task.hasTestlibChecker());

    // A checker's kind has a line of its own after PLUG=, read and written back as it stands;
    // a kind this version does not know is kept too.
    for (const QByteArray kind : {"testlib", "interactor"}) {
        QByteArray checked = text;
        checked.replace("TYPE=", "CHECKER=" + kind + "\nTYPE=");
        CTaskInfo copy;
        copy = load(checked);
        QCOMPARE(copy.hasTestlibChecker(), kind == "testlib");
        QVERIFY(copy.save(tmp.path(), 2, 4));
        QCOMPARE(readFile(tmp.filePath("task2_4.info")), checked);
        copy.resetInfo();
        QVERIFY(copy.getChecker().isEmpty());
    }

    // The defaults come out in the stored order, with LIMIT=1 and the three stock commands.
    CTaskInfo fresh;
    QVERIFY(fresh.save(tmp.path(), 1, 2));
    QCOMPARE(readFile(tmp.filePath("task1_2.info")),
             QByteArray("TITLE=\nNAME=Unknown\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\nPLUG=\n"
                        "TYPE=SOURCE\nLIMIT=1\nMEMLIMITS=32\nSAMPLES=10\n"
                        "CCL=c@gcc -o %o %i \nCCL=cpp@g++ -o %o %i \nCCL=pas@fpc %i \n"));
}

void TstTaskFile::lineBelongsToFirstKeyOfTable()
{
    CTaskInfo task = load("RUN=./a NAME=1\n"
                          "TITLE=NAME=x\n"
                          "  PLUG=Day one\n"
                          "ANSFILESUFFIX= ans\n"
                          "NAME=first\nNAME=second\n"
                          "just a comment line\n\n");
    QCOMPARE(task.getTaskname(), QString("second"));
    QCOMPARE(task.getRuncmd(), QString());
    QCOMPARE(task.getTitle(), QString("NAME=x"));
    QCOMPARE(task.getPlugname(), QString("Day one"));
    QCOMPARE(task.getAnsfilesuffix(), QString(" ans"));

    CTaskInfo cut = load("TITLE=A TITLE=B\n");
    QCOMPARE(cut.getTitle(), QString("A "));

    CTaskInfo empty = load("");
    QCOMPARE(empty.getTaskname(), QString("Unknown"));
    QCOMPARE(empty.getSamplenum(), 10);
    QCOMPARE(empty.getCclnum(), 0);
}

void TstTaskFile::marksAndLimitsFollowTheirRules()
{
    CTaskInfo task = load("SAMPLES=5\nMARK=3@0\nMARK=0@5\nMARK=100@5\nMARK=4@-1\nMARK=5\n"
                          "MARK=2@x@15\nMARK=1@abc\nMEMLIMITS=4096\nTYPE=source\nLIMIT=fast\n");
    QCOMPARE(task.getSampleMark(3), 0);
    QCOMPARE(task.getSampleMark(2), 15);
    QCOMPARE(task.getSampleMark(1), 10);
    QCOMPARE(task.getSampleMark(4), 10);
    QCOMPARE(task.getSampleMark(5), 10);
    QCOMPARE(task.getMemlimit(), 2048);
    QCOMPARE(task.getCommitType(), INVALID);
    QCOMPARE(task.getTimelimit(), 0.0f);

    QVERIFY(task.save(tmp.path(), 1, 1));
    const QByteArray saved = readFile(tmp.filePath("task1_1.info"));
    QVERIFY(saved.contains("\nTYPE=INVALID\n"));
    QVERIFY(saved.contains("\nLIMIT=0\n"));
    QVERIFY(saved.endsWith("SAMPLES=5\nMARK=2@15\nMARK=3@0\n"));

    CTaskInfo negative = load("MEMLIMITS=-5\nSAMPLES=-2\n");
    QCOMPARE(negative.getMemlimit(), -5);
    QCOMPARE(negative.getTotal(), 0);

    // A task holds 99 marks: a larger count is cut to 99, and said.
    QStringList notices;
    CTaskInfo many = load("SAMPLES=2000000000\nMARK=99@0\n", &notices);
    QCOMPARE(many.getSamplenum(), 99);
    QCOMPARE(many.getTotal(), 98 * 10);
    QCOMPARE(notices, QStringList(tmp.filePath("task1_1.info") +
                                  ": SAMPLES=2000000000 超过 99 个测试点的上限, 按 99 读入"));
    QVERIFY(many.save(tmp.path(), 1, 1));
    QVERIFY(readFile(tmp.filePath("task1_1.info")).endsWith("SAMPLES=99\nMARK=99@0\n"));
    notices.clear();
    QCOMPARE(load("SAMPLES=99\n", &notices).getSamplenum(), 99);
    QVERIFY(notices.isEmpty());
}

void TstTaskFile::compileCommandLines()
{
    CTaskInfo task = load("CCL=c\nCCL=@gcc\nCCL=c@\nCCL=c@gcc -o %o %i @x\nCCL=c@cc %i\n");
    QCOMPARE(task.getCclnum(), 2);
    QCOMPARE(task.getCcl(QString("c"))->getCmd(), QString("gcc -o %o %i "));
    QCOMPARE(task.getCcl(2)->getCmd(), QString("cc %i"));
    QVERIFY(!task.getCcl(0));
    QVERIFY(!task.getCcl(3));

    // Loading a second file into the same task does not carry the first file's commands over.
    const QString other = tmp.filePath("task1_2.info");
    QVERIFY(writeFile(other, "CCL=pas@fpc %i \n"));
    QVERIFY(task.loadTaskInfo(other));
    QCOMPARE(task.getCclnum(), 1);
    QCOMPARE(task.getCcl(1)->getLang(), QString("pas"));
}

void TstTaskFile::missingFileKeepsTask()
{
    CTaskInfo task;
    task.setTaskname("kept");
    QVERIFY(!task.loadTaskInfo(tmp.filePath("no/such/task1_1.info")));
    QCOMPARE(task.getTaskname(), QString("kept"));
    QCOMPARE(task.getCclnum(), 3);

    CTaskInfo fromPath(tmp.filePath("missing.info"));
    QCOMPARE(fromPath.getCclnum(), 0);
    QCOMPARE(fromPath.getTaskname(), QString("Unknown"));
}

void TstTaskFile::compileCommandListOperations()
{
    CTaskInfo task;
    auto *dup = new CCompileCmd("c", "clang %i");
    task.addACcl(dup);
    QCOMPARE(task.getCclnum(), 3);
    QCOMPARE(dup->getCmd(), QString("clang %i")); // refused: the caller still owns it
    delete dup;
    task.addACcl(new CCompileCmd("java", JAVA_CL));
    QCOMPARE(task.getCcl(4)->getLang(), QString("java"));
    task.delACcl(QString("cpp"));
    task.delACcl(QString("none"));
    QStringList langs;
    for (int i = 1; i <= task.getCclnum(); ++i)
        langs << task.getCcl(i)->getLang();
    QCOMPARE(langs, QStringList({"c", "pas", "java"}));

    // Assignment copies the commands deeply and leaves the task index alone.
    task.setTaskindex(7);
    CTaskInfo copy;
    copy = task;
    task.delACcl(QString("c"));
    QCOMPARE(copy.getCclnum(), 3);
    QCOMPARE(copy.getTaskindex(), 0);
    // A reset gives the defaults of the limits, marks and filter and no compile commands, and
    // keeps the names.
    copy.setPlugname("fulltext_e");
    copy.setSamplenum(4);
    copy.setCommitType(ANSWERS);
    copy.setTimelimit(2.5f);
    copy.setMemlimit(256);
    copy.setSampleMark(2, 30);
    copy.setTaskname("kept");
    copy.setTitle("题");
    CTaskInfo reset;
    reset = copy;
    reset.resetInfo();
    QCOMPARE(reset.getCclnum(), 0);
    QCOMPARE(reset.getPlugname(), QString());
    QCOMPARE(reset.getSamplenum(), 10);
    QCOMPARE(reset.getCommitType(), SOURCE);
    QCOMPARE(reset.getTimelimit(), 1.0f);
    QCOMPARE(reset.getMemlimit(), 32);
    QCOMPARE(reset.getSampleMark(2), 10);
    QCOMPARE(reset.getTaskname(), QString("kept"));
    QCOMPARE(reset.getTitle(), QString("题"));

    // Setting the commands from a part of the task's own array must not read freed memory.
    copy.setCcl(copy.getCclnum() - 1, copy.getCclAll() + 1);
    QCOMPARE(copy.getCcl(1)->getLang(), QString("pas"));
}

QTEST_GUILESS_MAIN(TstTaskFile)
#include "tst_taskfile.moc"
