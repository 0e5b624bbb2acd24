#include "common/testfiles.h"

#include "cplayerinfo.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TstPlayerInfo : public QObject
{
    Q_OBJECT

private slots:
    void listFilesSplitAtSeparators();
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

    reg.addTeamInfo("JS", "江苏");
    QVERIFY(!reg.getTeamInfoByName("江"));
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
