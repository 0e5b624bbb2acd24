#include "common/testfiles.h"

#include "cplayerinfo.h"

#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>
#include <memory>

// The entries as "id@name" joined by '|'.
template <typename Entry> static QString entries(const QList<Entry> &list)
{
    QStringList out;
    for (const Entry &e : list)
        out << e.id + '@' + e.name;
    return out.join('|');
}

class TstPlayerInfo : public QObject
{
    Q_OBJECT

private slots:
    void listFilesRead_data();
    void listFilesRead();
    void unstorableIdsAndNames_data();
    void unstorableIdsAndNames();
    void comparisonsLookupsAndRemovals();

private:
    QTemporaryDir tmp;
};

void TstPlayerInfo::listFilesRead_data()
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
void TstPlayerInfo::listFilesRead()
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

void TstPlayerInfo::unstorableIdsAndNames_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    const auto row = [](const char *tag, const QString &id, const QString &name,
                        const QString &problem) { QTest::newRow(tag) << id << name << problem; };
    row("plain", "JS-09", "张 三", "");
    row("empty id", "", "x", "编号不能为空");
    row("comma in id", "JS,9", "x", "编号不能含有 ,");
    row("slash", "a/b", "x", "编号不能含有 /");
    row("dot", ".", "x", "编号不能是 . 或 ..");
    row("dots inside", "a..b", "x", "");
    row("line break in id", "JS\n09", "x", "编号不能含有换行或控制字符");
    row("separator in id", QString("JS") + QChar(0x2028), "x", "编号不能含有换行或控制字符");
    row("long id", QString(67, QChar(0x4E00)), "x", "编号太长");
    row("longest id", QString(66, QChar(0x4E00)) + "ab", "x", "");
    row("line break in name", "JS-1", "a\rDAYNUM=9", "姓名不能含有换行或控制字符");
}

void TstPlayerInfo::unstorableIdsAndNames()
{
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const QString idProblem = PlayerInfo::idProblem(id);
    QCOMPARE(idProblem.isEmpty() ? PlayerInfo::nameProblem(name) : idProblem, problem);
}

// Lookups give the first match, removals take the first match only; ids of players compare
// without regard to case, those of teams and lookups do not. A team's players are those whose
// ids contain its id.
void TstPlayerInfo::comparisonsLookupsAndRemovals()
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

QTEST_GUILESS_MAIN(TstPlayerInfo)
#include "tst_playerinfo.moc"
