// SPDX-License-Identifier: MIT
#include "notices/PostureFigure.h"

#include <algorithm>
#include <cmath>

namespace sorvala::PostureFigure {

namespace {

constexpr double blinkPeriod = 2.0;
constexpr std::array<double, 4> blinkKeyTimes = {0, 0.91, 0.955, 1};
constexpr std::array<double, 4> blinkValues = {1, 1, 0.08, 1};

Point mix(Point a, Point b, double f) {
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

template <std::size_t N>
std::array<Point, N> mix(const std::array<Point, N>& a, const std::array<Point, N>& b, double f) {
    std::array<Point, N> result;
    for (std::size_t i = 0; i < N; ++i)
        result[i] = mix(a[i], b[i], f);
    return result;
}

double cubic(double a, double b, double t) {
    // A cubic Bézier coordinate with end points 0 and 1 and control values a and b.
    const double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}

} // namespace

Pose seated() {
    return {{{{11, 16}, {24, 16}, {24, 3}, {29, 3}}},
            {{{11, 16}, {10, 23}, {12, 30}}},
            {{{11.5, 29}, {18, 18}}},
            {12.5, 36}};
}

Pose standing() {
    return {{{{19, 20}, {19, 11}, {19, 3}, {24, 3}}},
            {{{19, 20}, {19, 26}, {19, 33}}},
            {{{19, 32}, {21, 22}}},
            {19, 39}};
}

Pose between(const Pose& from, const Pose& to, double fraction) {
    const double f = std::clamp(fraction, 0.0, 1.0);
    return {mix(from.legs, to.legs, f), mix(from.spine, to.spine, f), mix(from.arm, to.arm, f),
            mix(from.head, to.head, f)};
}

double easeInOut(double fraction) {
    const double x = std::clamp(fraction, 0.0, 1.0);
    // The curve's control points are (0.42, 0) and (0.58, 1); find t for x by bisection.
    double low = 0;
    double high = 1;
    for (int i = 0; i < 30; ++i) {
        const double mid = (low + high) / 2;
        (cubic(0.42, 0.58, mid) < x ? low : high) = mid;
    }
    return cubic(0, 1, (low + high) / 2);
}

Pose at(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        return seated();
    const double cycle = std::floor(seconds / cycleSeconds);
    const double phase = seconds - cycle * cycleSeconds;
    const double delay = cycle == 0 ? 0 : seatedSeconds;
    if (phase < delay)
        return seated();
    return between(seated(), standing(), easeInOut((phase - delay) / riseSeconds));
}

double blinkScale(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        return 1;
    const double cycle = std::floor(seconds / blinkPeriod);
    const double f = easeInOut((seconds - cycle * blinkPeriod) / blinkPeriod);
    for (std::size_t i = 1; i < blinkKeyTimes.size(); ++i) {
        if (f <= blinkKeyTimes[i]) {
            const double span = blinkKeyTimes[i] - blinkKeyTimes[i - 1];
            const double local = (f - blinkKeyTimes[i - 1]) / span;
            return blinkValues[i - 1] + (blinkValues[i] - blinkValues[i - 1]) * local;
        }
    }
    return 1;
}

} // namespace sorvala::PostureFigure
