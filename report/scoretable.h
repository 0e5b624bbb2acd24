#ifndef TALDON_REPORT_SCORETABLE_H
#define TALDON_REPORT_SCORETABLE_H

#include <QObject>
#include <QString>
#include <QVector>

// What the score report shows of one task: per test point the score, message and time used,
// and the task total; or, when rows is 0, the note drawn in place of the table.
class ScoreTable : public QObject
{
    Q_OBJECT

public:
    ScoreTable(const QString &taskName, float timeLimit, int sampleNum);
    ~ScoreTable() override;

    QString taskName;
    float timeLimit;
    int sampleNum;
    QVector<int> scores;
    QVector<QString> messages;
    QVector<float> times;
    int total = 0;
    QString note;
    int rows = 0;
};

#endif
