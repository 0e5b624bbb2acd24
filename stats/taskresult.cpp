#include "taskresult.h"

#include <algorithm>

TaskResult::TaskResult(const QString &name) : name(name)
{
    std::fill(std::begin(score), std::end(score), 0);
    std::fill(std::begin(time), std::end(time), 0.0f);
}
