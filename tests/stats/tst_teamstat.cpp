#include "common/contestfixture.h"
#include "mystat.h"
#include "playertotal.h"
#include "statsglobals.h"
#include "teamstat.h"

#include <QtTest>

class TestTeamStat : public QObject
{
    Q_OBJECT

private slots:
    void playersGroupByExactCode();
    void regionsKeepEveryScore();
};

void TestTeamStat::playersGroupByExactCode()
{
    ContestFixture c({{{"t", {10}}}});
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

    QCOMPARE(teams.getAverage("天津"), 0.0f);
    QCOMPARE(teams.getSelected("QQ", 3), 0);
}

void TestTeamStat::regionsKeepEveryScore()
{
    ContestFixture c({{{"t", {10}}}});
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
    QCOMPARE(teams.getSelected("广东", 99), (650 + 552) * 99 / 2);
}

QTEST_GUILESS_MAIN(TestTeamStat)
#include "tst_teamstat.moc"
