#include "cli/clitest.h"
#include "csetupinfo.h"
#include "report/reportcontest.h"

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

namespace
{

QJsonObject show(const QString &contest)
{
    const ProgramRun run = runCli({"show", contest});
    return run.status == 0 ? QJsonDocument::fromJson(run.out).object() : QJsonObject();
}

// Every directory and file below dir, the files with a digest, to check that nothing changed.
QByteArray snapshot(const QString &dir)
{
    const char *list = "{ find \"$1\" -type d; find \"$1\" -type f -exec sha1sum {} +; } | sort";
    return runProgram("sh", {"-c", list, "sh", dir}).out;
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
    void reportWritesTheDay();
    void readmeMatchesTheProgramsAndScripts();
};

// No installed stock filters, only those placed beside the programs; no display, platform or
// session directory, as for root at a console or under cron. Child processes inherit all this.
void TestCli::initTestCase()
{
    qputenv("TALDON_FILTER_DIR", QByteArray());
    for (const char *name : {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        qunsetenv(name);
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
    QVERIFY(before.contains("/setup.cfg\n"));
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
    const QString home = tmp.path() + "/c", days = tmp.path() + "/d";
    QCOMPARE(runCli({"new", home}).status, 0);
    QCOMPARE(runCli({"new", days}).status, 0);
    fillContest(days + "/setup.cfg");
    const QString file = tmp.path() + "/plain file";
    QVERIFY(writeFile(file, QByteArray()));
    const auto before = snapshot(tmp.path());
    QVERIFY(before.contains("/d/setup.cfg\n"));

    // A case a line, arguments joined by '|' (none on the empty line): %t the temporary directory,
    // %h a contest, %d one with a day, %f a plain file, %p a fetch's server options, %n a newline.
    const QString bad =
        "show|%t/missing\nshow|%t\nsave|%t/missing\nsave|%h|--to|%t/nowhere\n"
        "new|%f\nnew|%h/x|--name|\nnew|%h/x|--name|赛%nDAYNUM=5\nnew\n"
        "show|%h|%h\nsave|%h|--bogus\nfrobnicate\nreport|%h\nreport|%h|--day|1\n"
        "report|%h|--day|x\nreport|%t/missing|--day|1\nteams|%h|--best|100\nteams|%h|--best|-1\n"
        "eval|%d|--day|2\neval|%d|--day|x\neval|%d\neval|%d|--day|1|--task|nope\n"
        "eval|%d|--day|1|JS-001|XX-999\neval|%t/missing|--day|1\neval|%d|--day=1|--shard=0/2\n"
        "eval|%d|--day=1|--shard=3/2\neval|%d|--day=1|--shard=1/2/2\neval|%d|--day=1|--jobs=0\n"
        "eval|%d|--day=1|--jobs=65\neval|%d|--day=1|--ids-file|%t/missing\nfetch|%h|%p|%f\n"
        "fetch|%h|%p|%f|--dir|../x\nfetch|%h|%p|%t/missing|--dir|d\nfetch|%t/"
        "missing|%p|%f|--dir|d\n";
    for (const QString &line : bad.split('\n')) {
        QString joined = line;
        joined.replace("%p", "--server|127.0.0.1|--user|judge|--password-file")
            .replace("%t", tmp.path())
            .replace("%h", home)
            .replace("%d", days)
            .replace("%f", file);
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

// What the model read differently from the files, a huge test point count and a GBK player list
// (tests/model checks how), is said on standard error.
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
    QVERIFY2(run.err.contains("SAMPLES=2000000000 超过 99 个测试点的上限"), qPrintable(run.err));
    QVERIFY(run.err.contains("player.info 不是 UTF-8 编码"));
}

// Two of three players have results, one with blanks in its id. A report that cannot be written
// fails the command and leaves the others.
void TestCli::reportWritesTheDay()
{
    QTemporaryDir dir;
    const QString home = dir.path() + "/my contest";
    QVERIFY(QDir().mkpath(home));
    auto setup = makeContest(home, {{{"sum", {10, 10}}}, {{"b", {10}}}});
    for (const QString player : {"a 1|甲", "b2|乙", "c3|丙"})
        setup->getPlayerInfo()->addPlayerInfo(player.section('|', 0, 0), player.section('|', 1));
    QVERIFY(setup->saveSetupInfo(home));
    const QByteArray block =
        "{sum 100 Compile successfully\n101 10 0.1 ok\n101 3 0.2 partly\n}102 13\n";
    appendResult(home, 1, "a 1", block);
    appendResult(home, 1, "c3", block);
    const ProgramRun run = runCli({"report", home, "--day", "1"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QVERIFY(run.outText().contains(
        QString("[1/3] a 1: %1/a 1/a 1.pdf\n[2/3] b2: no results\n[3/3] c3: %1/c3/c3.pdf\n")
            .arg(home + "/ps/day1")));
    QVERIFY(pdfText(home + "/ps/day1/a 1/a 1.pdf").contains(QStringLiteral("姓名:甲")));
    QVERIFY(pdfText(home + "/ps/day1/c3/c3.pdf").contains("partly"));
    QVERIFY(!QFile::exists(home + "/ps/day1/b2"));

    QVERIFY(QDir(home + "/ps/day1/c3").removeRecursively() &&
            writeFile(home + "/ps/day1/c3", QByteArray()));
    const ProgramRun blocked = runCli({"report", home, "--day", "1"});
    QCOMPARE(blocked.status, 1);
    QVERIFY(blocked.outText().contains("c3: FAILED"));
    QVERIFY(blocked.err.contains("c3"));
    QVERIFY(QFile::exists(home + "/ps/day1/a 1/a 1.pdf"));
}

// The README starts with the commands that CI and the script run; run tells a user without a
// display how to get one first; every screenshot is shown at window size. Each subcommand of
// --help has an example in the README's indented code, using only options its --help lists.
void TestCli::readmeMatchesTheProgramsAndScripts()
{
    const QString readme = readSource("README.md");
    QStringList lines = readme.split('\n');
    lines.removeAll(QString());
    QCOMPARE(lines.mid(0, 3), QStringList({"# Taldon", "    sh scripts/taldon.sh run",
                                           "    sh scripts/taldon.sh test"}));
    QVERIFY(
        QRegularExpression("^sh scripts/taldon\\.sh test\\b", QRegularExpression::MultilineOption)
            .match(readSource(".ci/run"))
            .hasMatch());
    const QString script = readSource("scripts/taldon.sh");
    for (const QString word : {"run", "test"})
        QVERIFY2(script.contains('\n' + word + ")\n") &&
                     script.contains("scripts/taldon.sh " + word),
                 qPrintable(word));

    QTemporaryDir build;
    const ProgramRun run = runProgram("env", {"TALDON_BUILD_DIR=" + build.path() + "/b", "sh",
                                              sourcePath("scripts/taldon.sh"), "run"});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("xvfb-run -a sh scripts/taldon.sh run"), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(build.path() + "/b"));

    const QRegularExpression image("!\\[[^\\]]*\\]\\(([^)]+)\\)");
    QStringList shown;
    for (auto it = image.globalMatch(readme); it.hasNext();)
        shown << it.next().captured(1);
    const QStringList taken =
        QDir(sourcePath("docs/screenshots")).entryList({"*.png"}, QDir::Files);
    QCOMPARE(taken.size(), 4);
    for (const QString &file : taken)
        QVERIFY2(shown.contains("docs/screenshots/" + file), qPrintable(file));
    for (const QString &path : shown)
        QCOMPARE(QImageReader(sourcePath(path)).size(), QSize(760, 578));

    const ProgramRun list = runCli({"--help"});
    QCOMPARE(list.status, 0);
    QStringList names;
    const QRegularExpression row("^  (\\S+)\\t", QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(list.outText()); it.hasNext();)
        names << it.next().captured(1);
    QVERIFY2(names.size() >= 8, qPrintable(names.join(' ')));
    QStringList code;
    for (const QString &line :
         QString(readme).replace(QRegularExpression("\\\\\n\\s*"), " ").split('\n'))
        if (line.startsWith("    "))
            code << line.trimmed();
    const QRegularExpression option("(?:^|\\s)(--?[a-z][a-z-]*)");
    for (const QString &name : names) {
        const QString prefix = "taldon-cli " + name + ' ';
        const ProgramRun run = runCli({name, "--help"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString()); // nor any of the toolkit's warnings
        const QString help = run.outText();
        // The usage line names the subcommand, as it is to be typed.
        const QString usage = help.section('\n', 0, 0);
        QVERIFY2(usage.startsWith("Usage: ") && usage.contains(prefix + "[options]"),
                 qPrintable(usage));
        int examples = 0;
        for (const QString &line : code) {
            if (!line.startsWith(prefix))
                continue;
            ++examples;
            // An example given a path has the usage line say what that path is.
            if (line.mid(prefix.size()).startsWith('/'))
                QVERIFY2(!usage.section("[options]", 1).trimmed().isEmpty(), qPrintable(usage));
            for (auto it = option.globalMatch(line); it.hasNext();) {
                const QString used = it.next().captured(1);
                QVERIFY2(help.contains(used + ' ') || help.contains(used + ','),
                         qPrintable(name + ": " + used));
            }
        }
        QVERIFY2(examples > 0, qPrintable("no example of " + name));
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
