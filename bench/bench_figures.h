#pragma once
// One benchmark figure: the median of several runs, with the fastest and the slowest.
#include <algorithm>
#include <functional>
#include <vector>

struct Figure {
    double median = 0, min = 0, max = 0;
};

inline Figure figureOf(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

// `measure` run `runs` times; each run gives one sample.
inline Figure sample(int runs, const std::function<double()> &measure)
{
    std::vector<double> v;
    for (int i = 0; i < runs; ++i)
        v.push_back(measure());
    return figureOf(std::move(v));
}
