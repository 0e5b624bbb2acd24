#ifndef TALDON_STATS_TEAMRESULT_H
#define TALDON_STATS_TEAMRESULT_H

#include <QString>
#include <QVector>

// The contest totals collected for one region, in the order collected. Negative totals are
// refused; a region keeps every score, however many players it has.
class TeamResult
{
public:
    TeamResult() = default;
    explicit TeamResult(const QString &name) : name(name) {}

    void addScore(int score);
    int getNum() const { return scores.size(); }

    int total() const;
    float average() const;
    int highest() const;
    int lowest() const;
    int bestSum(int n) const;

    QString name;
    QVector<int> scores;
};

#endif
