#include "csetupinfo.h"

#include "common/programrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include "common/testfiles.h"

namespace
{

QJsonObject show(const QString &contest)
{
    const ProgramRun run = runCli({"show", contest});
    return run.status == 0 ? QJsonDocument::fromJson(run.out).object() : QJsonObject();
}

// Every file below dir with a digest of its bytes, so "nothing changed" can be checked.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray digest;
        if (file.open(QIODevice::ReadOnly))
            digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        files.insert(path, digest);
    }
    return files;
}

// A contest with one day of two tasks and a registry, written through the model.
void fillContest(const QString &setupFile)
{
    CSetupInfo setup(setupFile);
    auto *day = new CDayInfo;
    day->setDayname("第一试");
    day->setBaseScore(20);
    auto *source = new CTaskInfo;
    source->setTaskname("sum");
    source->setTitle("求和");
    source->setTimelimit(1.5f);
    source->setMemlimit(128);
    source->setSamplenum(3);
    source->setSampleMark(1, 20);
    source->setSampleMark(2, 30);
    source->setSampleMark(3, 50);
    const CCompileCmd commands[] = {{"c", "gcc -o %o %i"}, {"java", "javac %i "}};
    source->setCcl(2, commands);
    day->addATask(source);
    auto *answers = new CTaskInfo;
    answers->setTaskname("maze");
    answers->setCommitType(ANSWERS);
    answers->setSamplenum(2);
    answers->setPlugname("maze_checker");
    answers->setChecker(TestlibChecker);
    day->addATask(answers);
    setup.addADay(day);
    CPlayerInfo registry;
    registry.addPlayerInfo("JS-001", "张三");
    registry.addTeamInfo("JS", "江苏队");
    setup.setPlayerInfo(&registry);
    QVERIFY(setup.saveSetupInfo());
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void newCreatesHome();
    void showAndSaveRoundTrip();
    void badInputChangesNothing();
    void showSaysWhatItReadDifferently();
};

// Stock filters installed on this machine must not be found instead of the ones the tests place
// (or leave out) beside the programs; child processes inherit the setting.
void TestCli::initTestCase()
{
    qputenv("TALDON_FILTER_DIR", QByteArray());
}

void TestCli::newCreatesHome()
{
    QTemporaryDir tmp;
    // A copy of the program with stock filters beside it, as an installation has them.
    const QString program = tmp.path() + "/bin/taldon-cli";
    QVERIFY(QDir(tmp.path()).mkpath("bin/filter"));
    QVERIFY(QFile::copy(cliPath(), program));
    const QString filter = tmp.path() + "/bin/filter/lines";
    QVERIFY(writeFile(filter, "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(filter, QFile::ReadOwner | QFile::ExeOwner));

    const QString home = tmp.path() + "/新 建/考试 '$(touch pwned)'";
    const ProgramRun run = runProgram(program, {"new", home, "--name", "全国 赛"}, tmp.path());
    QCOMPARE(run.status, 0);
    QVERIFY(!QFile::exists(tmp.path() + "/pwned"));
    for (const char *sub : {"players", "data", "result", "final", "tmp", "filter", "evaldata"})
        QVERIFY2(QDir(home + '/' + sub).exists(), sub);
    QVERIFY(QFileInfo(home + "/filter/lines").isExecutable());

    const QJsonObject contest = show(home);
    QCOMPARE(contest.value("name").toString(), QString("全国 赛"));
    QCOMPARE(contest.value("home").toString(), home);
    QCOMPARE(contest.value("days").toArray().size(), 0);

    // The default name is the dialog's; the build's program finds the build's filters.
    const QString plain = tmp.path() + "/plain";
    QCOMPARE(runCli({"new", plain}).status, 0);
    QCOMPARE(show(plain + "/setup.cfg").value("name").toString(), QString("程序设计竞赛"));
    QVERIFY(QFileInfo(plain + "/filter/fulltext_e").isExecutable());

    // A copy with no filters anywhere near it still makes the contest, and says what is missing.
    const QString lone = tmp.path() + "/lone/taldon-cli";
    QVERIFY(QDir(tmp.path()).mkpath("lone"));
    QVERIFY(QFile::copy(cliPath(), lone));
    const QString bare = tmp.path() + "/bare";
    const ProgramRun warned = runProgram(lone, {"new", bare}, tmp.path());
    QCOMPARE(warned.status, 0);
    QVERIFY2(warned.err.contains("no stock filters found"), qPrintable(warned.err));
    QVERIFY(QFile::exists(bare + "/setup.cfg"));
    QVERIFY(QDir(bare + "/filter").isEmpty());
}

void TestCli::showAndSaveRoundTrip()
{
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/比赛 一";
    QCOMPARE(runCli({"new", home}).status, 0);
    fillContest(home + "/setup.cfg");

    const QJsonObject contest = show(home);
    // Every setting as written, and the defaults of those left unset.
    QCOMPARE(
        QJsonDocument(contest.value("days").toArray()).toJson(QJsonDocument::Compact),
        QByteArray(R"([{"baseScore":20,"name":"第一试","tasks":[)"
                   R"({"ansSuffix":"ans","checker":"filter","compile":[{"cmd":"gcc -o %o %i",)"
                   R"("lang":"c"},{"cmd":"javac %i ","lang":"java"}],"inSuffix":"in",)"
                   R"("marks":[20,30,50],"memLimit":128,"name":"sum","plug":"","run":"",)"
                   R"("samples":3,"timeLimit":1.5,"title":"求和","total":100,"type":"SOURCE"},)"
                   R"({"ansSuffix":"ans","checker":"testlib","compile":[{"cmd":"gcc -o %o %i ",)"
                   R"("lang":"c"},{"cmd":"g++ -o %o %i ","lang":"cpp"},{"cmd":"fpc %i ",)"
                   R"("lang":"pas"}],"inSuffix":"in","marks":[10,10],"memLimit":32,"name":"maze",)"
                   R"("plug":"maze_checker","run":"","samples":2,"timeLimit":1,"title":"",)"
                   R"("total":20,"type":"ANSWERS"}]}])"));
    QCOMPARE(contest.value("players").toArray()[0].toObject().value("name").toString(),
             QString("张三"));
    QCOMPARE(contest.value("teams").toArray()[0].toObject().value("id").toString(), QString("JS"));

    // Saving in place rewrites the same bytes.
    const auto before = snapshot(home);
    QCOMPARE(runCli({"save", home}).status, 0);
    QCOMPARE(snapshot(home), before);

    // Saving elsewhere moves the home and keeps everything else.
    const QString copy = tmp.path() + "/副本 $HOME";
    QVERIFY(QDir().mkdir(copy));
    QCOMPARE(runCli({"save", home + "/setup.cfg", "--to", copy}).status, 0);
    QJsonObject copied = show(copy);
    QCOMPARE(copied.value("home").toString(), copy);
    copied.insert("home", home);
    QCOMPARE(copied, contest);
    QVERIFY(QDir(copy).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

void TestCli::badInputChangesNothing()
{
    QTemporaryDir tmp;
    const QString home = tmp.path() + "/c";
    QCOMPARE(runCli({"new", home}).status, 0);
    const QString file = tmp.path() + "/plain file";
    QVERIFY(writeFile(file, QByteArray()));
    const auto before = snapshot(tmp.path());

    // One case a line, its arguments joined by '|': %t is the temporary directory, %h the
    // contest, %f a plain file and %n a line break; the empty line is no arguments at all.
    const QString bad =
        "show|%t/missing\nshow|%t\nsave|%t/missing\nsave|%h|--to|%t/nowhere\n"
        "new|%f\nnew|%h/x|--name|\nnew|%h/x|--name|赛%nDAYNUM=5\nnew\n"
        "show|%h|%h\nsave|%h|--bogus\nfrobnicate\nreport|%h\nreport|%h|--day|1\n"
        "report|%h|--day|x\nreport|%t/missing|--day|1\nteams|%h|--best|100\nteams|%h|--best|-1\n";
    for (const QString &line : bad.split('\n')) {
        QString joined = line;
        joined.replace("%t", tmp.path()).replace("%h", home).replace("%f", file);
        const QStringList args =
            line.isEmpty() ? QStringList() : joined.replace("%n", "\n").split('|');
        const ProgramRun run = runCli(args);
        QVERIFY2(run.status == 2 && run.out.isEmpty() && !run.err.trimmed().isEmpty(),
                 qPrintable(args.join(' ')));
    }
    const ProgramRun missing = runCli({"show", tmp.path() + "/missing"});
    QCOMPARE(missing.err.trimmed().count('\n'), 0);
    QVERIFY(missing.err.contains(tmp.path() + "/missing"));
    QCOMPARE(snapshot(tmp.path()), before);
}

// A huge test point count is read as the 99 a task can hold, and a GBK player list decoded; both
// are said on standard error.
void TestCli::showSaysWhatItReadDifferently()
{
    QTemporaryDir tmp;
    QVERIFY(writeFiles(
        tmp.path(),
        {{"setup.cfg", "NAME=c\nDAYNUM=1\nPLAYER=player.info\n"},
         {"day1.info", "NAME=d\nTASKNUM=1\n"},
         {"task1_1.info", "NAME=sum\nSAMPLES=2000000000\n"},
         {"player.info", QTextCodec::codecForName("GB18030")->fromUnicode("JS-1@张三\n")}}));
    const ProgramRun run = runCli({"show", tmp.path()});
    QCOMPARE(run.status, 0);
    const QJsonObject contest = QJsonDocument::fromJson(run.out).object();
    const QJsonObject task =
        contest.value("days").toArray().at(0).toObject().value("tasks").toArray().at(0).toObject();
    QCOMPARE(task.value("marks").toArray().size(), 99);
    QCOMPARE(contest.value("players").toArray().at(0).toObject().value("name").toString(),
             QString("张三"));
    QVERIFY2(run.err.contains("SAMPLES=2000000000 超过 99 个测试点的上限"), qPrintable(run.err));
    QVERIFY(run.err.contains("player.info 不是 UTF-8 编码"));
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
