#include "teamresult.h"

#include <algorithm>
#include <functional>
#include <numeric>

void TeamResult::addScore(int score)
{
    if (score >= 0)
        scores.append(score);
}

int TeamResult::total() const
{
    return std::accumulate(scores.cbegin(), scores.cend(), 0);
}

float TeamResult::average() const
{
    return scores.isEmpty() ? 0.0f : static_cast<float>(total()) / scores.size();
}

int TeamResult::highest() const
{
    return scores.isEmpty() ? 0 : *std::max_element(scores.cbegin(), scores.cend());
}

int TeamResult::lowest() const
{
    return scores.isEmpty() ? 0 : *std::min_element(scores.cbegin(), scores.cend());
}

int TeamResult::bestSum(int n) const
{
    if (n < 1)
        return 0;
    QVector<int> sorted = scores;
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    return std::accumulate(sorted.cbegin(), sorted.cbegin() + std::min(n, sorted.size()), 0);
}
