#include "taskresult.h"

#include "ctaskinfo.h"
#include "resultfile.h"

#include <algorithm>

namespace
{

// Slot 0 is not used; slots 1 to 99 hold the test points.
const int MaxPoints = 99;

} // namespace

TaskResult::TaskResult(const QString &name) : name(name)
{
    std::fill(std::begin(score), std::end(score), 0);
    std::fill(std::begin(time), std::end(time), 0.0f);
}

void TaskResult::takeRaw(const ResultBlock &block)
{
    for (int i = 0; i < block.points.size() && i < MaxPoints; ++i) {
        score[i + 1] = block.points.at(i).score;
        time[i + 1] = block.points.at(i).time;
    }
}

void TaskResult::toPoints(const CTaskInfo &task)
{
    int sum = 0;
    for (int i = 1; i <= task.getSamplenum() && i <= MaxPoints; ++i) {
        if (score[i] <= 0)
            continue;
        score[i] = static_cast<int>(task.getSampleMark(i) * score[i] / 10.0);
        sum += score[i];
    }
    total = sum;
}
