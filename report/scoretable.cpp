#include "scoretable.h"

#include <QtGlobal>

ScoreTable::ScoreTable(const QString &taskName, float timeLimit, int sampleNum)
    : taskName(taskName), timeLimit(timeLimit), sampleNum(qMax(0, sampleNum)),
      scores(this->sampleNum, 0), messages(this->sampleNum), times(this->sampleNum, 0.0f)
{
}

ScoreTable::~ScoreTable() = default;
