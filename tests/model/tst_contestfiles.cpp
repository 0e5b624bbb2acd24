#include "common/testfiles.h"

#include "csetupinfo.h"
#include "globals.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <memory>

using Files = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(Files)

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

// The entries as "id@name" joined by '|'.
template <typename Entry> static QString entries(const QList<Entry> &list)
{
    QStringList out;
    for (const Entry &e : list)
        out << e.id + '@' + e.name;
    return out.join('|');
}

class TstContestFiles : public QObject
{
    Q_OBJECT

private slots:
    void taskFileReadAndWrittenBack_data();
    void taskFileReadAndWrittenBack();
    void compileCommandsCopiesAndReset();
    void listFilesRead_data();
    void listFilesRead();
    void unstorableIdsAndNames();
    void comparisonsLookupsAndRemovals();
    void contestRoundTripUnderOddPath();
    void handWrittenFilesRead_data();
    void handWrittenFilesRead();
    void failedSaveKeepsOldFiles();
    void deletedDaysTakeTheirDirectories();
    void failedRenameIsUndone();
    void dayAndTaskLists();

private:
    QTemporaryDir tmp;
};

void TstContestFiles::taskFileReadAndWrittenBack_data()
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
void TstContestFiles::taskFileReadAndWrittenBack()
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

void TstContestFiles::compileCommandsCopiesAndReset()
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

void TstContestFiles::listFilesRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QStringList>("notices");
    const auto row = [](const char *tag, const QString &file, const QByteArray &bytes,
                        const QString &read, const QStringList &notices = {}) {
        QTest::newRow(tag) << file << bytes << read << notices;
    };
    const QByteArray list = "A1@Alpha\n@Beta\nB2\nC3@名@extra\r\n\n";
    row("players", "player.info", list, "A1@Alpha|B2@|C3@名");
    row("teams", "team.info", list, "A1@Alpha|B2@|C3@名");
    row("missing", "team.info", "<none>", "");
    row("import", "import.csv", "C3,Gamma,extra\n D4, Delta\n,nobody\n", "C3@Gamma| D4@ Delta");
    // What cannot be stored is left out of an import, which says which line.
    row("import refusals", "import.csv", "OK-1,fine\nJS@09,张三\n..,x\nJS-1,a@b\nJS-2,b\n",
        "OK-1@fine|JS-2@b",
        {"第 2 行没有导入: 编号不能含有 @ (JS@09)", "第 3 行没有导入: 编号不能是 . 或 .. (..)",
         "第 4 行没有导入: 姓名不能含有 @ (JS-1)"});
    // A list made on Chinese Windows (GBK, CR LF, perhaps a byte order mark) reads right and
    // says so once; so does one that is not whole UTF-8.
    const QString gbk =
        "player.info 不是 UTF-8 编码, 已按 GB18030 (GBK) 读入; 保存时将写成 UTF-8。";
    row("gbk", "player.info",
        QTextCodec::codecForName("GB18030")->fromUnicode(QString("JS-01@张三\r\nJS-02@李雷\r\n")),
        "JS-01@张三|JS-02@李雷", {gbk});
    row("gbk that starts like utf-8", "player.info", "JS-1@\xc0\xee\xcb\xc4\n", "JS-1@李四", {gbk});
    row("utf-8 cut short", "player.info", "JS-1@a\xe5\xbc", "JS-1@a寮", {gbk});
    row("overlong slash", "player.info", "JS-1@\xc0\xaf\n", "JS-1@蜡", {gbk});
    row("bom", "import.csv", "\xEF\xBB\xBFGD-1,\xE9\x99\x88\r\n", "GD-1@陈");
}

// The list is read by its reader, saved as UTF-8 id@name lines and exported as id,name ones.
void TstContestFiles::listFilesRead()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, read);
    QFETCH(QStringList, notices);
    const QString dir = tmp.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(dir));
    if (bytes != "<none>")
        QVERIFY(writeFile(dir + '/' + file, bytes));
    CPlayerInfo reg;
    QStringList said;
    const bool teams = file == "team.info";
    if (teams)
        reg.loadTeamInfo(dir + '/' + file, &said);
    else if (file == "player.info")
        reg.loadPlayerInfo(dir + '/' + file, &said);
    else
        reg.importPlayerInfo(dir + '/' + file, &said);
    QCOMPARE(teams ? entries(*reg.getTeamInfo()) : entries(*reg.getPlayerInfo()), read);
    QCOMPARE(said, notices);
    QVERIFY(reg.save(dir));
    const QString lines = read.isEmpty() ? QString() : QString(read).replace('|', '\n') + '\n';
    QCOMPARE(readFile(dir + (teams ? "/team.info" : "/player.info")), lines.toUtf8());
    QCOMPARE(readFile(dir + (teams ? "/player.info" : "/team.info")), QByteArray());
    QVERIFY(reg.exportPlayerInfo(dir + "/out.csv"));
    QCOMPARE(readFile(dir + "/out.csv"), teams ? QByteArray() : lines.toUtf8().replace('@', ','));
}

void TstContestFiles::unstorableIdsAndNames()
{
    const QList<QPair<QString, QString>> ids = {
        {"JS-09", ""},
        {"", "编号不能为空"},
        {"JS,9", "编号不能含有 ,"},
        {"a/b", "编号不能含有 /"},
        {".", "编号不能是 . 或 .."},
        {"a..b", ""},
        {"JS\n09", "编号不能含有换行或控制字符"},
        {QString("JS") + QChar(0x2028), "编号不能含有换行或控制字符"},
        {QString(67, QChar(0x4E00)), "编号太长"},
        {QString(66, QChar(0x4E00)) + "ab", ""}};
    for (const auto &id : ids)
        QCOMPARE(PlayerInfo::idProblem(id.first), id.second);
    QCOMPARE(PlayerInfo::nameProblem("张 三") + PlayerInfo::nameProblem("a\rDAYNUM=9"),
             QString("姓名不能含有换行或控制字符"));
}

// Lookups give the first match, removals take the first match only; ids of players compare
// without regard to case, those of teams and lookups do not. A team's players are those whose
// ids contain its id.
void TstContestFiles::comparisonsLookupsAndRemovals()
{
    QVERIFY(PlayerInfo("a1", "x") == PlayerInfo("A1", "y"));
    QVERIFY(PlayerInfo("a9", "") < PlayerInfo("B1", ""));
    QVERIFY(!(PlayerInfo("b1", "") < PlayerInfo("A9", "")));
    QVERIFY(!(TeamInfo("js", "") == TeamInfo("JS", "")));
    CPlayerInfo reg;
    for (const char *id : {"A1", "A2", "A1"})
        reg.addPlayerInfo(id, QString("Same ") + id);
    reg.addPlayerInfo("A3", "Same A2");
    QVERIFY(!reg.getPlayerInfoById("a1"));
    QCOMPARE(reg.getPlayerInfoById("A1"), &(*reg.getPlayerInfo())[0]);
    QCOMPARE(reg.getPlayerInfoByName("Same A2")->id, QString("A2"));
    reg.delPlayerInfoById("a2");
    reg.delPlayerInfoByName("nobody");
    reg.delPlayerInfoById("A1");
    reg.delPlayerInfoByName("Same A2");
    QCOMPARE(entries(*reg.getPlayerInfo()), QString("A1@Same A1|A3@Same A2"));
    reg.addTeamInfo("JS", "江苏");
    reg.addTeamInfo("SU", "江苏");
    reg.addTeamInfo("JS", "又一个");
    QVERIFY(!reg.getTeamInfoByName("江"));
    QCOMPARE(reg.getTeamInfoByName("江苏")->id, QString("JS"));
    QCOMPARE(reg.getTeamInfoById("JS")->name, QString("江苏"));
    reg.delTeamInfoById("JS");
    QCOMPARE(entries(*reg.getTeamInfo()), QString("SU@江苏|JS@又一个"));
    reg.delTeamInfoByName("江苏");
    reg.delTeamInfoByName("none");
    reg.delTeamInfoById("none");
    QCOMPARE(entries(*reg.getTeamInfo()), QString("JS@又一个"));
    QList<PlayerInfo> all{PlayerInfo("JS-01", "a"), PlayerInfo("js-02", "b"),
                          PlayerInfo("XJS-9", "c"), PlayerInfo("ZJ-1", "d")};
    std::unique_ptr<QList<PlayerInfo>> members(TeamInfo("JS", "江苏").getTeamPlayers(all));
    QCOMPARE(entries(*members), QString("JS-01@a|XJS-9@c"));
    QVERIFY(all[3].belongTeam(QString("ZJ")));
    QVERIFY(!reg.save(tmp.filePath("no/dir")));
    QVERIFY(!reg.exportPlayerInfo(tmp.filePath("no/dir/x.csv")));
}

// Two days, the first with task t11, the second with t21 and t22, each of 10 points with mark
// 30 on point 2; a player and a team.
static void buildContest(CSetupInfo &setup)
{
    setup.setContestName("省赛 2026");
    for (int d = 1; d <= 2; ++d) {
        auto *day = new CDayInfo;
        day->setDayname(QString("第%1天").arg(d));
        day->setBaseScore(d * 5);
        setup.addADay(day);
        for (int t = 1; t <= d; ++t) {
            auto *task = new CTaskInfo;
            task->setTaskname(QString("t%1%2").arg(d).arg(t));
            task->setSampleMark(2, 30);
            setup.getDayInfo(d - 1)->addATask(task);
        }
    }
    CPlayerInfo players;
    players.addPlayerInfo("JS-01", "李雷");
    players.addTeamInfo("JS", "江苏");
    setup.setPlayerInfo(&players);
}

// The contest as one line: its name; per day the name, base score, directory number and the
// tasks with their totals; the players and teams, or "-" without a registry.
static QString describe(CSetupInfo &setup)
{
    QStringList parts{setup.getContestName()};
    for (int d = 0; d < setup.getDayNum(); ++d) {
        CDayInfo *day = setup.getDayInfo(d);
        QString text = day->getDayname() +
                       QString("/%1/%2:").arg(day->getBaseScore()).arg(day->getDirNumber());
        for (int t = 0; t < day->getTaskNum(); ++t)
            text += ' ' + day->getTaskInfo(t)->getTaskname() + '=' +
                    QString::number(day->getTaskInfo(t)->getTotal());
        parts << text;
    }
    if (!setup.getPlayerInfo())
        return (parts << "-").join('|');
    for (const PlayerInfo &p : *setup.getPlayerInfo()->getPlayerInfo())
        parts << p.id + '@' + p.name;
    for (const TeamInfo &t : *setup.getPlayerInfo()->getTeamInfo())
        parts << "team " + t.id + '@' + t.name;
    return parts.join('|');
}

void TstContestFiles::contestRoundTripUnderOddPath()
{
    const QString home = tmp.filePath("考试 2026/$(touch x) 'q'");
    QVERIFY(QDir().mkpath(home));
    CSetupInfo setup;
    setup.setHome(home);
    buildContest(setup);
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(readFile(home + "/setup.cfg"),
             QByteArray("NAME=省赛 2026\nDAYNUM=2\nPLAYER=player.info\nTEAM=team.info\n"));
    QCOMPARE(readFile(home + "/day2.info"), QByteArray("NAME=第2天\nBASESCORE=10\nTASKNUM=2\n"));
    QCOMPARE(readFile(home + "/player.info"), QByteArray("JS-01@李雷\n"));
    QCOMPARE(readFile(home + "/team.info"), QByteArray("JS@江苏\n"));
    CSetupInfo loaded(home + "/setup.cfg");
    const QString contest =
        "省赛 2026|第1天/5/1: t11=120|第2天/10/2: t21=120 t22=120|JS-01@李雷|team JS@江苏";
    QCOMPARE(describe(loaded), contest);
    QCOMPARE(loaded.getDayInfo(QString("第2天"))->getTaskInfo(QString("t22"))->getHome(), home);

    // Saving elsewhere moves the home.
    QVERIFY(QDir().mkpath(tmp.filePath("副本")));
    QVERIFY(loaded.saveSetupInfo(tmp.filePath("副本")));
    QCOMPARE(loaded.getHome(), tmp.filePath("副本"));
    QCOMPARE(readFile(tmp.filePath("副本/task2_2.info")), readFile(home + "/task2_2.info"));
    QVERIFY(!QFile::exists(home + "/x"));
}

void TstContestFiles::handWrittenFilesRead_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("contest");
    QTest::newRow("crlf") << Files{{"setup.cfg", "NAME=win\r\nDAYNUM=1\r\nPLAYER=player.info\r\n"},
                                   {"day1.info", "NAME=d\r\nBASESCORE=7\r\nTASKNUM=1\r\n"},
                                   {"task1_1.info", "NAME=sum\r\nSAMPLES=2\r\n"},
                                   {"player.info", "A1@Alpha\r\nB2@Beta\r\n"}}
                          << "win|d/7/1: sum=20|A1@Alpha|B2@Beta";
    // Missing files give defaults; a day file without TASKNUM= has no tasks, whatever was read
    // before it.
    QTest::newRow("missing files")
        << Files{{"setup.cfg", "NAME=c\nDAYNUM=3\nPLAYER=nobody.info\nTEAM=team.info\n"},
                 {"day1.info", "NAME=one\nTASKNUM=3\n"},
                 {"task1_1.info", "NAME=a\n"},
                 {"task1_3.info", "NAME=c\n"},
                 {"day2.info", "NAME=two\n"},
                 {"task2_1.info", "NAME=stray\n"},
                 {"team.info", "JS@江苏\n"}}
        << "c|one/0/1: a=100 Unknown=100 c=100|two/0/2:|/0/3:|team JS@江苏";
    QTest::newRow("no setup") << Files{} << "程序设计竞赛|-";
    // Absurd counts do not make absurd allocations.
    QString absurd = "程序设计竞赛|/0/1:" + QString(" Unknown=100").repeated(99);
    for (int d = 2; d <= 99; ++d)
        absurd += QString("|/0/%1:").arg(d);
    QTest::newRow("absurd counts")
        << Files{{"setup.cfg", "DAYNUM=2000000000\n"}, {"day1.info", "TASKNUM=2000000000\n"}}
        << absurd + "|-";
}

// A copy of the contest read from hand-written files.
void TstContestFiles::handWrittenFilesRead()
{
    QFETCH(Files, files);
    QFETCH(QString, contest);
    const QString home = tmp.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(home));
    QVERIFY(writeFiles(home, files));
    CSetupInfo setup(home + "/setup.cfg");
    CSetupInfo copy;
    copy = setup;
    QCOMPARE(describe(copy), contest);
    QCOMPARE(copy.getSetupFileName(), home + "/setup.cfg");
    QCOMPARE(copy.getHome(), home);
    for (int d = 0; d < copy.getDayNum(); ++d)
        QCOMPARE(copy.getDayInfo(d)->getHome(), home);
    QVERIFY(!CDayInfo().loadDayInfo(home, 100));
}

void TstContestFiles::failedSaveKeepsOldFiles()
{
    const QString home = tmp.filePath("locked");
    QVERIFY(QDir().mkpath(home));
    CSetupInfo setup;
    buildContest(setup);
    QVERIFY(setup.saveSetupInfo(home));
    const QByteArray oldTask = readFile(home + "/task2_1.info");

    // A directory where day2.info belongs: day 1 is written, day 2 and its tasks are not.
    QVERIFY(QFile::remove(home + "/day2.info"));
    QVERIFY(QDir().mkdir(home + "/day2.info"));
    setup.getDayInfo(1)->getTaskInfo(0)->setTaskname("changed");
    setup.getDayInfo(0)->setDayname("renamed");
    QVERIFY(!setup.saveSetupInfo(home));
    QVERIFY2(setup.saveError().startsWith(home + "/day2.info: "), qPrintable(setup.saveError()));
    QVERIFY(readFile(home + "/day1.info").startsWith("NAME=renamed\n"));
    QCOMPARE(readFile(home + "/task2_1.info"), oldTask);
    QCOMPARE(QDir(home).entryList(QDir::Files | QDir::Hidden).filter("day2").size(), 0);

    // A registry whose team list cannot be written writes no player list either.
    QVERIFY(QDir().rmdir(home + "/day2.info"));
    QVERIFY(setup.saveSetupInfo(home));
    QVERIFY(QFile::remove(home + "/team.info"));
    QVERIFY(QDir().mkdir(home + "/team.info"));
    setup.getPlayerInfo()->addPlayerInfo("JS-02", "韩梅梅");
    QVERIFY(!setup.saveSetupInfo(home));
    QVERIFY(setup.saveError().startsWith(home + "/team.info: "));
    QCOMPARE(readFile(home + "/player.info"), QByteArray("JS-01@李雷\n"));
}

// The files below the directories of home, "path=contents" each, in path order.
static QString treeFiles(const QString &home)
{
    QStringList files;
    QDirIterator it(home, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next().mid(home.size() + 1);
        if (path.contains('/'))
            files << path + '=' + readFile(it.filePath());
    }
    files.sort();
    return files.join('|');
}

// Three days with files in their directories, saved: the contest as the window opens it.
static CSetupInfo *threeDaysWithFiles(const QString &home)
{
    CSetupInfo written;
    for (int d = 1; d <= 3; ++d) {
        auto *day = new CDayInfo;
        day->setDayname(QString("day %1").arg(d));
        written.addADay(day);
        const QByteArray mark = QByteArray::number(d);
        writeFiles(home, {{QString("players/day%1/p/t.c").arg(d), "source " + mark},
                          {QString("result/day%1/p.result").arg(d), "result " + mark}});
    }
    writeFile(home + "/ps/day3/p.pdf", "report 3");
    written.saveSetupInfo(home);
    return new CSetupInfo(home + "/setup.cfg");
}

void TstContestFiles::deletedDaysTakeTheirDirectories()
{
    const QString home = tmp.filePath("renumber");
    std::unique_ptr<CSetupInfo> opened(threeDaysWithFiles(home));
    QCOMPARE(opened->movesIfDeleted(1).size(), 5);
    opened->delADay(1);
    // A copy carries the pending deletion. Until the save every day keeps its own directories,
    // and a new day takes fresh ones.
    CSetupInfo setup;
    setup = *opened;
    setup.addADay(new CDayInfo);
    QCOMPARE(describe(setup), QString("程序设计竞赛|day 1/0/1:|day 3/0/3:|/0/4:"));
    QVERIFY(writeFile(home + "/result/day4/p.result", "result 4"));
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(treeFiles(home),
             QString("players/day1/p/t.c=source 1|players/day2.deleted/p/t.c=source 2|"
                     "players/day2/p/t.c=source 3|ps/day2/p.pdf=report 3|"
                     "result/day1/p.result=result 1|result/day2.deleted/p.result=result 2|"
                     "result/day2/p.result=result 3|result/day3/p.result=result 4"));
    QVERIFY(readFile(home + "/day2.info").startsWith("NAME=day 3\n"));
    QCOMPARE(describe(setup), QString("程序设计竞赛|day 1/0/1:|day 3/0/2:|/0/3:"));

    // A second deletion of a day numbered 2 keeps the first one's files too; a day deleted by
    // name goes the same way. Reading the files again forgets a deletion never saved.
    setup.delADay(QString("day 3"));
    QVERIFY(setup.saveSetupInfo());
    setup.delADay(0);
    QVERIFY(setup.loadSetupInfo(home + "/setup.cfg"));
    QVERIFY(setup.saveSetupInfo());
    QCOMPARE(treeFiles(home),
             QString("players/day1/p/t.c=source 1|players/day2.deleted.2/p/t.c=source 3|"
                     "players/day2.deleted/p/t.c=source 2|ps/day2.deleted/p.pdf=report 3|"
                     "result/day1/p.result=result 1|result/day2.deleted.2/p.result=result 3|"
                     "result/day2.deleted/p.result=result 2|result/day2/p.result=result 4"));
}

void TstContestFiles::failedRenameIsUndone()
{
    const QString home = tmp.filePath("undo");
    const QString files = "players/a/f=a|players/c/f=c|players/d/f=d";
    QVERIFY(writeFiles(home, {{"players/a/f", "a"}, {"players/c/f", "c"}, {"players/d/f", "d"}}));
    QString error;
    QVERIFY(!DayDirectories::apply(home, {{"players/a", "players/b"}, {"players/c", "players/d"}},
                                   &error));
    QCOMPARE(error, home + "/players/c → players/d: 目标已存在");
    QCOMPARE(treeFiles(home), files);

    // Renames made for a setup.cfg that cannot be written are taken back.
    std::unique_ptr<CSetupInfo> setup(threeDaysWithFiles(home));
    const QString before = treeFiles(home);
    setup->delADay(0);
    QVERIFY(QFile::remove(home + "/setup.cfg"));
    QVERIFY(QDir().mkdir(home + "/setup.cfg"));
    QVERIFY(!setup->saveSetupInfo());
    QCOMPARE(setup->saveError(), home + "/setup.cfg: Filename refers to a directory");
    QCOMPARE(treeFiles(home), before);
}

// Lookups by name take the first match, removals take it alone; copies are deep.
void TstContestFiles::dayAndTaskLists()
{
    CSetupInfo setup;
    setup.setHome("/contest");
    buildContest(setup);
    auto *same = new CDayInfo;
    same->setDayname("第1天");
    setup.addADay(same);
    QCOMPARE(setup.getDayInfo(2)->getHome(), QString("/contest"));
    QCOMPARE(setup.getDayInfo(QString("第1天")), setup.getDayInfo(0));
    CSetupInfo copy;
    copy = setup;
    const QString before = describe(setup);
    setup.delADay(5);
    setup.delADay(-1);
    setup.delADay(QString("第1天"));
    QCOMPARE(describe(setup), QString("省赛 2026|第2天/10/2: t21=120 t22=120|第1天/0/3:|"
                                      "JS-01@李雷|team JS@江苏"));
    setup.delADay(0);
    setup.delADay(0);
    QVERIFY(!setup.getDayInfo(0));
    setup.getPlayerInfo()->delPlayerInfoAll();
    QCOMPARE(describe(setup), QString("省赛 2026|team JS@江苏"));
    QCOMPARE(describe(copy), before);
    CDayInfo *day = copy.getDayInfo(1);
    auto *twin = new CTaskInfo;
    twin->setTaskname("t21");
    twin->setSamplenum(3);
    day->addATask(twin);
    QCOMPARE(day->getTaskInfo(QString("t21")), day->getTaskInfo(0));
    day->updateTaskMemLimit(64);
    for (int t = 0; t < day->getTaskNum(); ++t)
        QCOMPARE(day->getTaskInfo(t)->getMemlimit(), 64);
    day->delATask(QString("t21"));
    QCOMPARE(describe(copy).section('|', 2, 2), QString("第2天/10/2: t22=120 t21=30"));
    day->delATask(0);
    day->delATask(1);
    QCOMPARE(describe(copy).section('|', 2, 2), QString("第2天/10/2: t21=30"));
}

QTEST_GUILESS_MAIN(TstContestFiles)
#include "tst_contestfiles.moc"
