#include "common/testfiles.h"

#include "cplayerinfo.h"

#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>
#include <memory>

class TstPlayerInfo : public QObject
{
    Q_OBJECT

private slots:
    void listFilesSplitAtSeparators();
    void windowsListsAreDecoded();
    void unstorableIdsAndNames_data();
    void unstorableIdsAndNames();
    void saveAndExportWriteTheirLines();
    void comparisonsAndLookups();
    void teamMembershipFollowsIds();

private:
    QTemporaryDir tmp;
};

void TstPlayerInfo::listFilesSplitAtSeparators()
{
    const QString players = tmp.filePath("player.info");
    QVERIFY(writeFile(players, "A1@Alpha\n@Beta\nB2\nC3@名@extra\r\n\n"));
    CPlayerInfo reg;
    reg.loadPlayerInfo(players);
    QList<PlayerInfo> &list = *reg.getPlayerInfo();
    QCOMPARE(list.size(), 3);
    QCOMPARE(list[0].name, QString("Alpha"));
    QCOMPARE(list[1].id, QString("B2"));
    QCOMPARE(list[1].name, QString());
    QCOMPARE(list[2].name, QString("名"));

    const QString csv = tmp.filePath("import.csv");
    QVERIFY(writeFile(csv, "C3,Gamma,extra\n D4, Delta\n,nobody\n"));
    reg.importPlayerInfo(csv);
    QCOMPARE(list.size(), 5);
    QCOMPARE(list[3].name, QString("Gamma"));
    QCOMPARE(list[4].id, QString(" D4"));
    QCOMPARE(list[4].name, QString(" Delta"));

    reg.loadTeamInfo(tmp.filePath("missing.info"));
    QVERIFY(reg.getTeamInfo()->isEmpty());
}

// A list made on Chinese Windows (GBK, CR LF, perhaps a byte order mark) reads right, says so
// once, and is written back as UTF-8.
void TstPlayerInfo::windowsListsAreDecoded()
{
    QTextCodec *gbk = QTextCodec::codecForName("GB18030");
    const QString players = tmp.filePath("gbk/player.info");
    QVERIFY(writeFile(players, gbk->fromUnicode(QString("JS-01@张三\r\nJS-02@李雷\r\n"))));
    CPlayerInfo reg;
    QStringList notices;
    reg.loadPlayerInfo(players, &notices);
    QCOMPARE(reg.getPlayerInfoById("JS-02")->name, QString("李雷"));
    QCOMPARE(notices.size(), 1);
    QVERIFY2(notices.at(0).startsWith("player.info 不是 UTF-8 编码"), qPrintable(notices.at(0)));
    QVERIFY(reg.save(tmp.filePath("gbk")));
    QCOMPARE(readFile(players), QString("JS-01@张三\nJS-02@李雷\n").toUtf8());

    notices.clear();
    reg.loadTeamInfo(players, &notices);
    QCOMPARE(reg.getTeamInfo()->value(1).name, QString("李雷"));
    QVERIFY(notices.isEmpty());

    const QString csv = tmp.filePath("bom.csv");
    QVERIFY(writeFile(csv, "\xEF\xBB\xBFGD-1,\xE9\x99\x88\r\n"));
    CPlayerInfo imported;
    imported.importPlayerInfo(csv, &notices);
    QCOMPARE(imported.getPlayerInfo()->size(), 1);
    QCOMPARE(imported.getPlayerInfo()->value(0).id, QString("GD-1"));
    QCOMPARE(imported.getPlayerInfo()->value(0).name, QString("陈"));
    QVERIFY(notices.isEmpty());
}

void TstPlayerInfo::unstorableIdsAndNames_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("plain") << "JS-09"
                           << "张 三"
                           << "";
    QTest::newRow("at in id") << "JS@09"
                              << "张三"
                              << "编号不能含有 @";
    QTest::newRow("comma in id") << "JS,9"
                                 << "x"
                                 << "编号不能含有 ,";
    QTest::newRow("slash") << "a/b"
                           << "x"
                           << "编号不能含有 /";
    QTest::newRow("dot") << "."
                         << "x"
                         << "编号不能是 . 或 ..";
    QTest::newRow("dot dot") << ".."
                             << "x"
                             << "编号不能是 . 或 ..";
    QTest::newRow("dots inside") << "a..b"
                                 << "x"
                                 << "";
    QTest::newRow("line break in id") << "JS\n09"
                                      << "x"
                                      << "编号不能含有换行或控制字符";
    QTest::newRow("separator in id") << QString("JS") + QChar(0x2028) << "x"
                                     << "编号不能含有换行或控制字符";
    QTest::newRow("long id") << QString(67, QChar(0x4E00)) << "x"
                             << "编号太长";
    QTest::newRow("at in name") << "JS-1"
                                << "a@b"
                                << "姓名不能含有 @";
    QTest::newRow("line break in name") << "JS-1"
                                        << "a\rDAYNUM=9"
                                        << "姓名不能含有换行或控制字符";
}

// What cannot be stored is refused by the checks and by the import, which says which line.
void TstPlayerInfo::unstorableIdsAndNames()
{
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const QString idProblem = PlayerInfo::idProblem(id);
    QCOMPARE(idProblem.isEmpty() ? PlayerInfo::nameProblem(name) : idProblem, problem);
    if (id.contains('\n') || id.contains(',') || name.contains('\r'))
        return;
    const QString csv = tmp.filePath("one.csv");
    QVERIFY(writeFile(csv, ("OK-1,fine\n" + id + ',' + name + '\n').toUtf8()));
    CPlayerInfo reg;
    QStringList notices;
    reg.importPlayerInfo(csv, &notices);
    QCOMPARE(reg.getPlayerInfo()->size(), problem.isEmpty() ? 2 : 1);
    QCOMPARE(notices, problem.isEmpty()
                          ? QStringList()
                          : QStringList(QString("第 2 行没有导入: %1 (%2)").arg(problem, id)));
}

void TstPlayerInfo::saveAndExportWriteTheirLines()
{
    CPlayerInfo reg;
    reg.addPlayerInfo("JS-1", "Li");
    reg.addPlayerInfo("JS-2", "王");
    QVERIFY(reg.save(tmp.path()));
    QCOMPARE(readFile(tmp.filePath("team.info")), QByteArray());
    QCOMPARE(readFile(tmp.filePath("player.info")), QByteArray("JS-1@Li\nJS-2@王\n"));

    QVERIFY(reg.exportPlayerInfo(tmp.filePath("名单.csv")));
    QCOMPARE(readFile(tmp.filePath("名单.csv")), QByteArray("JS-1,Li\nJS-2,王\n"));
    CPlayerInfo back;
    back.importPlayerInfo(tmp.filePath("名单.csv"));
    QCOMPARE(*back.getPlayerInfo(), *reg.getPlayerInfo());

    // A name holding the separator is cut at it when read back.
    reg.addTeamInfo("T", "a@b");
    QVERIFY(reg.save(tmp.path()));
    CPlayerInfo cut;
    cut.loadTeamInfo(tmp.filePath("team.info"));
    QCOMPARE(cut.getTeamInfoById("T")->name, QString("a"));

    QVERIFY(!reg.save(tmp.filePath("player.info")));
    QVERIFY(!reg.exportPlayerInfo(tmp.filePath("no/dir/x.csv")));
}

void TstPlayerInfo::comparisonsAndLookups()
{
    QVERIFY(PlayerInfo("a1", "x") == PlayerInfo("A1", "y"));
    QVERIFY(PlayerInfo("a9", "") < PlayerInfo("B1", ""));
    QVERIFY(!(PlayerInfo("b1", "") < PlayerInfo("A9", "")));
    QVERIFY(!(TeamInfo("js", "") == TeamInfo("JS", "")));

    CPlayerInfo reg;
    reg.addPlayerInfo("A1", "Same");
    reg.addPlayerInfo("A2", "Same");
    QVERIFY(!reg.getPlayerInfoById("a1"));
    QCOMPARE(reg.getPlayerInfoByName("Same")->id, QString("A1"));
    reg.delPlayerInfoByName("Same");
    QCOMPARE(reg.getPlayerInfo()->size(), 1);
    reg.delPlayerInfoById("a2");
    QCOMPARE(reg.getPlayerInfo()->size(), 1);
    reg.delPlayerInfoById("A2");
    QVERIFY(reg.getPlayerInfo()->isEmpty());

    // Teams: lookups give the first match, removals take the first match only.
    reg.addTeamInfo("JS", "江苏");
    reg.addTeamInfo("SU", "江苏");
    reg.addTeamInfo("JS", "又一个");
    QVERIFY(!reg.getTeamInfoByName("江"));
    QCOMPARE(reg.getTeamInfoByName("江苏")->id, QString("JS"));
    QCOMPARE(reg.getTeamInfoById("JS")->name, QString("江苏"));
    reg.delTeamInfoById("JS");
    QCOMPARE(reg.getTeamInfo()->size(), 2);
    QCOMPARE(reg.getTeamInfoById("JS")->name, QString("又一个"));
    reg.delTeamInfoByName("江苏");
    QCOMPARE(reg.getTeamInfo()->size(), 1);
    QCOMPARE(reg.getTeamInfo()->first().id, QString("JS"));
    reg.delTeamInfoByName("none");
    reg.delTeamInfoById("none");
    QCOMPARE(reg.getTeamInfo()->size(), 1);
}

void TstPlayerInfo::teamMembershipFollowsIds()
{
    QList<PlayerInfo> all{PlayerInfo("JS-01", "a"), PlayerInfo("js-02", "b"),
                          PlayerInfo("XJS-9", "c"), PlayerInfo("ZJ-1", "d")};
    const TeamInfo team("JS", "江苏");
    std::unique_ptr<QList<PlayerInfo>> members(team.getTeamPlayers(all));
    QCOMPARE(members->size(), 2);
    QCOMPARE(members->at(0).id, QString("JS-01"));
    QCOMPARE(members->at(1).id, QString("XJS-9"));
    QVERIFY(!all[1].belongTeam(team));
    QVERIFY(all[3].belongTeam(QString("ZJ")));
}

QTEST_GUILESS_MAIN(TstPlayerInfo)
#include "tst_playerinfo.moc"
