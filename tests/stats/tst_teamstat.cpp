#include "contestfixture.h"
#include "mystat.h"
#include "regiontable.h"
#include "statsglobals.h"
#include "teamstat.h"

#include <QtTest>

namespace
{

void setTotal(MyStat *stat, const QString &id, int total)
{
    stat->addPlayer(id, id);
    stat->players[id].total = total;
}

} // namespace

class TestTeamStat : public QObject
{
    Q_OBJECT

private slots:
    void regionTableOrderAndCodes();
    void playersGroupByExactCode();
    void regionsKeepEveryScore();
    void missingPrerequisitesLeaveRegionsEmpty();
};

void TestTeamStat::regionTableOrderAndCodes()
{
    const auto &table = regionTable();
    QCOMPARE(table.size(), 34);
    QCOMPARE(table.first(), qMakePair(QString("bj"), QString("北京")));
    QCOMPARE(table.at(14), qMakePair(QString("sd"), QString("山东")));
    QCOMPARE(table.at(15), qMakePair(QString("ha"), QString("河南")));
    QCOMPARE(table.last(), qMakePair(QString("tw"), QString("台湾")));
    QCOMPARE(regionName("nm"), QString("内蒙古"));
    QCOMPARE(regionName("NM"), QString("内蒙古"));
    QCOMPARE(regionName("Nm"), QString());
    QCOMPARE(regionName("zz"), QString());
}

void TestTeamStat::playersGroupByExactCode()
{
    ContestFixture c(QList<QList<TaskSpec>>{{}});
    c.registerPlayers({{"JS-001", "a"},
                       {"js-002", "b"},
                       {"Js-003", "c"},
                       {"QQ-004", "d"},
                       {"JS-005", "never evaluated"},
                       {"BJ-006", "e"},
                       {"BJ-007", "f"},
                       {"bj-008", "g"}});
    MyStat stat(&c.setup);
    setTotal(&stat, "JS-001", 80);
    setTotal(&stat, "js-002", 60);
    setTotal(&stat, "Js-003", 500);
    setTotal(&stat, "QQ-004", 700);
    setTotal(&stat, "BJ-006", 90);
    setTotal(&stat, "BJ-007", 70);
    setTotal(&stat, "bj-008", 0);
    TeamStat teams(&c.setup);
    teams.getScores(&stat);
    QCOMPARE(teams.teams.size(), 34);
    QCOMPARE(teams.teams.value("江苏").getNum(), 3);
    QCOMPARE(teams.getTotal("江苏"), 140);
    QCOMPARE(teams.getAverage("江苏"), 140.0f / 3);
    QCOMPARE(teams.getMax("江苏"), 80);
    QCOMPARE(teams.getMin("江苏"), 0);

    QCOMPARE(teams.getTotal("北京"), 160);
    QCOMPARE(teams.getAverage("北京"), 160.0f / 3);
    QCOMPARE(teams.getSelected("北京", 0), 0);
    QCOMPARE(teams.getSelected("北京", 1), teams.getMax("北京"));
    QCOMPARE(teams.getSelected("北京", 2), 160);
    QCOMPARE(teams.getSelected("北京", 5), 160);

    QCOMPARE(teams.getTotal("天津"), 0);
    QCOMPARE(teams.getAverage("天津"), 0.0f);
    QCOMPARE(teams.getMin("天津"), 0);
    QCOMPARE(teams.getTotal("QQ"), 0);
    QCOMPARE(teams.getSelected("QQ", 3), 0);
}

void TestTeamStat::regionsKeepEveryScore()
{
    ContestFixture c(QList<QList<TaskSpec>>{{}});
    QList<QPair<QString, QString>> registry;
    for (int i = 1; i <= 650; ++i)
        registry.append(qMakePair(QString("GD-%1").arg(i), QString("p")));
    registry.append(qMakePair(QString("GD-neg"), QString("p")));
    c.registerPlayers(registry);
    MyStat stat(&c.setup);
    for (int i = 1; i <= 650; ++i)
        setTotal(&stat, QString("GD-%1").arg(i), i);
    setTotal(&stat, "GD-neg", -20);
    mystat = &stat;
    TeamStat teams(&c.setup);
    teams.getScores();
    mystat = nullptr;
    QCOMPARE(teams.teams.value("广东").getNum(), 650);
    QCOMPARE(teams.getTotal("广东"), 650 * 651 / 2);
    QCOMPARE(teams.getMin("广东"), 1);
    QCOMPARE(teams.getMax("广东"), 650);
    QCOMPARE(teams.getSelected("广东", 2), 650 + 649);
    QCOMPARE(teams.getSelected("广东", 99), (650 + 552) * 99 / 2);
}

void TestTeamStat::missingPrerequisitesLeaveRegionsEmpty()
{
    ContestFixture c(QList<QList<TaskSpec>>{{}});
    c.registerPlayers({{"JS-001", "a"}});
    TeamStat withoutStat(&c.setup);
    withoutStat.getScores();
    QCOMPARE(withoutStat.teams.value("江苏").getNum(), 0);

    ContestFixture noRegistry(QList<QList<TaskSpec>>{{}});
    MyStat stat(&noRegistry.setup);
    TeamStat teams(&noRegistry.setup);
    teams.getScores(&stat);
    QCOMPARE(teams.teams.value("江苏").getNum(), 0);
}

QTEST_GUILESS_MAIN(TestTeamStat)
#include "tst_teamstat.moc"
