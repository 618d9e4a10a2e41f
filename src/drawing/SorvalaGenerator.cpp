// SPDX-License-Identifier: MIT
// Every expression below is evaluated in the order in which the drawings were first defined, and
// every random draw is taken in that order too: a regrouped product or one extra draw changes the
// doubles, and with them every drawing already saved to a gallery.
#include "drawing/SorvalaGenerator.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace sorvala::SorvalaGenerator {

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr double pi = 3.141592653589793;
constexpr double halfPi = 1.5707963267948966;
constexpr double threeHalvesPi = 4.71238898038469;
constexpr double goldenAngle = 2.399963229728653;
constexpr double fixedCircleRadius = 60;

template <typename T, std::size_t n>
const T& oneOf(SeededRandomNumberGenerator& random, const T (&choices)[n]) {
    return random.element(std::span<const T>(choices));
}

// A closed polyline of `segments` + 1 points around `centre`, the last point on top of the first.
Stroke circle(Point centre, double radius, int segments, double width) {
    Stroke stroke;
    stroke.width = width;
    stroke.points.reserve(static_cast<std::size_t>(segments) + 1);
    for (int j = 0; j <= segments; ++j) {
        const double psi = (j * twoPi) / segments;
        stroke.points.push_back({centre.x + radius * std::cos(psi), centre.y + radius * std::sin(psi)});
    }
    return stroke;
}

} // namespace

Sorvala generate(Size size, std::int64_t drawing, std::uint64_t seed) {
    const double width = size.width;
    const double height = size.height;
    if (!(width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height)))
        return Sorvala();
    SeededRandomNumberGenerator random(seed);
    const Point center{width * 0.5, height * 0.5};
    const double radius = (height < width ? height : width) * 0.45;
    switch (drawing % drawingCount) {
    case 0: return chordWeb(center, radius, random);
    case 1: return spirograph(center, radius, random);
    case 2: return mixedSpirograph(center, radius, random);
    case 3: return denseSpirograph(center, radius, random);
    case 4: return maurerRose(center, radius, random);
    case 5: return harmonograph(center, radius, random);
    case 6: return phyllotaxis(center, radius, random);
    case 7: return lissajousWeave(center, radius, size, random);
    case 8: return moireRings(center, radius, random);
    case 9: return truchetArcs(size, random);
    case 10: return hilbertCurve(center, radius, random);
    default: return dragonCurve(size, random);
    }
}

std::vector<double> penFactors(int count, double innermost) {
    assert(count >= 2);
    const double d = 1.15 - innermost;
    std::vector<double> factors;
    factors.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        factors.push_back(1.15 - (k * d) / (count - 1));
    return factors;
}

Sorvala hypotrochoids(Point center, double radius, std::span<const HypotrochoidPass> passes) {
    assert(!passes.empty());
    double widestReach = 0;
    for (std::size_t i = 0; i < passes.size(); ++i) {
        const double e = passes[i].rollingRadius * passes[i].penFactor;
        const double reach = (fixedCircleRadius - passes[i].rollingRadius) + e;
        if (i == 0 || reach > widestReach)
            widestReach = reach;
    }
    const double scale = radius / widestReach;

    std::vector<Stroke> strokes;
    strokes.reserve(passes.size());
    for (const auto& pass : passes) {
        const double r = pass.rollingRadius;
        const double e = r * pass.penFactor;
        const double fixedMinusRolling = fixedCircleRadius - r;
        const double ratio = fixedMinusRolling / r;
        const double turn = r * twoPi;
        const auto steps = static_cast<std::int64_t>(r * 540);
        Stroke stroke;
        stroke.width = pass.width;
        stroke.points.reserve(static_cast<std::size_t>(steps) + 1);
        for (std::int64_t i = 0; i <= steps; ++i) {
            const double t = turn * static_cast<double>(i) / static_cast<double>(steps);
            const double u = ratio * t;
            stroke.points.push_back({center.x + scale * (fixedMinusRolling * std::cos(t) + e * std::cos(u)),
                                     center.y + scale * (fixedMinusRolling * std::sin(t) - e * std::sin(u))});
        }
        strokes.push_back(std::move(stroke));
    }
    return Sorvala(std::move(strokes));
}

std::vector<Point> arc(Point cellOrigin, double cell, bool cornerAtOrigin, bool firstArc) {
    Point m = cellOrigin;
    double start = 0;
    if (cornerAtOrigin && !firstArc) {
        m = {cellOrigin.x + cell, cellOrigin.y + cell};
        start = pi;
    } else if (!cornerAtOrigin && firstArc) {
        m = {cellOrigin.x + cell, cellOrigin.y};
        start = halfPi;
    } else if (!cornerAtOrigin && !firstArc) {
        m = {cellOrigin.x, cellOrigin.y + cell};
        start = threeHalvesPi;
    }
    const double arcRadius = cell * 0.5;
    std::vector<Point> points;
    points.reserve(13);
    for (int k = 0; k <= 12; ++k) {
        const double angle = start + (k * halfPi) / 12;
        points.push_back({m.x + arcRadius * std::cos(angle), m.y + arcRadius * std::sin(angle)});
    }
    return points;
}

Sorvala chordWeb(Point center, double radius, SeededRandomNumberGenerator& random) {
    static constexpr int counts[] = {96, 108, 120, 132, 144};
    const int n = oneOf(random, counts);
    const double phi = random.realInRange(0, twoPi);

    std::vector<Point> around;
    around.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const double theta = phi + (k * twoPi) / n;
        around.push_back({center.x + radius * std::cos(theta), center.y + radius * std::sin(theta)});
    }
    std::vector<Stroke> strokes;
    strokes.reserve(static_cast<std::size_t>(3 * n));
    for (const double fraction : {0.2333, 0.3333, 0.4167}) {
        const auto step = static_cast<int>(std::round(n * fraction));
        for (int k = 0; k < n; ++k)
            strokes.push_back({{around[static_cast<std::size_t>(k)],
                                around[static_cast<std::size_t>((k + step) % n)]},
                               1.0});
    }
    return Sorvala(std::move(strokes), n);
}

Sorvala spirograph(Point center, double radius, SeededRandomNumberGenerator& random) {
    static constexpr double rollingRadii[] = {17, 19, 23};
    const double r = oneOf(random, rollingRadii);
    const double innermost = random.realInClosedRange(0.32, 0.48);
    const auto f = penFactors(4, innermost);
    const HypotrochoidPass passes[] = {{r, f[0], 1.8}, {r, f[1], 1.3}, {r, f[2], 1.0}, {r, f[3], 0.8}};
    return hypotrochoids(center, radius, passes);
}

Sorvala mixedSpirograph(Point center, double radius, SeededRandomNumberGenerator& random) {
    double rollingRadii[] = {7, 11, 13, 17, 19, 23, 29};
    random.shuffle(std::span<double>(rollingRadii));
    std::sort(rollingRadii, rollingRadii + 3, std::greater<>());
    const double f0 = 1.1 + random.realInClosedRange(-0.06, 0.06);
    const double f1 = 0.9 + random.realInClosedRange(-0.06, 0.06);
    const double f2 = 0.8 + random.realInClosedRange(-0.06, 0.06);
    const HypotrochoidPass passes[] = {
        {rollingRadii[0], f0, 1.4}, {rollingRadii[1], f1, 1.1}, {rollingRadii[2], f2, 0.9}};
    return hypotrochoids(center, radius, passes);
}

Sorvala denseSpirograph(Point center, double radius, SeededRandomNumberGenerator& random) {
    static constexpr double rollingRadii[] = {17, 19, 23};
    const double r = oneOf(random, rollingRadii);
    const double innermost = random.realInClosedRange(0.35, 0.5);
    const auto f = penFactors(6, innermost);
    std::vector<HypotrochoidPass> passes;
    passes.reserve(f.size());
    for (const double factor : f)
        passes.push_back({r, factor, 1.0});
    return hypotrochoids(center, radius, passes);
}

Sorvala maurerRose(Point center, double radius, SeededRandomNumberGenerator& random) {
    static constexpr int petals[] = {4, 5, 6, 7, 8};
    static constexpr int degreeSteps[] = {29, 47, 71, 97, 113};
    const double n = oneOf(random, petals);
    const double d = oneOf(random, degreeSteps);
    const double phi = random.realInRange(0, twoPi);

    const auto point = [&](double theta) {
        const double rho = radius * std::sin(n * theta);
        return Point{center.x + std::cos(phi + theta) * rho, center.y + std::sin(phi + theta) * rho};
    };
    Stroke rose{{}, 2.0};
    rose.points.reserve(721);
    for (int k = 0; k <= 720; ++k)
        rose.points.push_back(point(((k / 2.0) * pi) / 180));
    Stroke polyline{{}, 0.9};
    polyline.points.reserve(361);
    for (int k = 0; k <= 360; ++k)
        polyline.points.push_back(point(((d * k) * pi) / 180));
    return Sorvala({std::move(rose), std::move(polyline)});
}

Sorvala harmonograph(Point center, double radius, SeededRandomNumberGenerator& random) {
    struct Frequencies { double p, q; };
    static constexpr Frequencies pairs[] = {{7.002, 5.0}, {5.003, 3.0}, {9.002, 4.0}, {6.002, 4.0}, {8.002, 5.0}};
    const auto [p, q] = oneOf(random, pairs);
    const double a = random.realInClosedRange(0.88, 0.97);
    const double decay1 = random.realInClosedRange(0.0035, 0.0048);
    const double decay2 = random.realInClosedRange(0.005, 0.007);

    constexpr int lastSample = 42000;
    constexpr int startWindow = 420;
    const double s = radius / (a + 1);
    Stroke stroke{{}, 1.0};
    stroke.points.reserve(lastSample + 1);
    std::size_t start = 0;
    double nearest = 0;
    for (int k = 0; k <= lastSample; ++k) {
        const double t = (k * 350.0) / lastSample;
        const double first = std::exp(-decay1 * t);
        const double second = a * std::exp(-decay2 * t);
        const Point sample{center.x + s * (std::cos(p * t) * first + std::cos(q * t) * second),
                           center.y + s * (std::sin(p * t) * first - std::sin(q * t) * second)};
        if (k < startWindow) {
            const double distance = std::hypot(sample.x - center.x, sample.y - center.y);
            if (k == 0 || distance < nearest) {
                nearest = distance;
                start = static_cast<std::size_t>(k);
            }
        }
        stroke.points.push_back(sample);
    }
    stroke.points.erase(stroke.points.begin(), stroke.points.begin() + static_cast<std::ptrdiff_t>(start));
    return Sorvala({std::move(stroke)});
}

Sorvala phyllotaxis(Point center, double radius, SeededRandomNumberGenerator& random) {
    const auto n = static_cast<int>(random.integerInClosedRange(500, 800));
    const double a = random.realInClosedRange(0.0089, 0.0148);
    const double b = random.realInClosedRange(0.0237, 0.0385);

    const double rMin = radius * a;
    const double rGrow = radius * b;
    std::vector<Stroke> strokes;
    strokes.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const double f = std::sqrt(static_cast<double>(i) / n);
        const double rho = rMin + rGrow * f;
        const double dist = f * (radius - rho);
        const double angle = i * goldenAngle;
        const Point floret{center.x + std::cos(angle) * dist, center.y + std::sin(angle) * dist};
        strokes.push_back(circle(floret, rho, 24, 1.0));
    }
    return Sorvala(std::move(strokes));
}

Sorvala lissajousWeave(Point center, double /*radius*/, Size size, SeededRandomNumberGenerator& random) {
    struct Frequencies { double p, q; };
    static constexpr Frequencies pairs[] = {
        {3.0025, 4.0}, {4.0025, 3.0}, {5.003, 4.0}, {3.0025, 5.0}, {2.0025, 3.0}};
    const auto [p, q] = oneOf(random, pairs);
    const double period = random.realInClosedRange(120, 160);

    const auto steps = static_cast<std::int64_t>(period * 120);
    const double ax = size.width * 0.44;
    const double ay = size.height * 0.42;
    Stroke stroke{{}, 0.9};
    stroke.points.reserve(static_cast<std::size_t>(steps) + 1);
    for (std::int64_t i = 0; i <= steps; ++i) {
        const double t = (period * static_cast<double>(i)) / static_cast<double>(steps);
        stroke.points.push_back({center.x + ax * std::sin(p * t), center.y + ay * std::sin(q * t)});
    }
    // End where the weave reaches furthest into a corner, within its last tenth.
    const auto firstCandidate = static_cast<std::size_t>(steps + 1 - steps / 10);
    std::size_t end = firstCandidate;
    double best = 0;
    for (std::size_t i = firstCandidate; i < stroke.points.size(); ++i) {
        const auto& point = stroke.points[i];
        const double corner = std::min(std::abs(point.x - center.x) / ax, std::abs(point.y - center.y) / ay);
        if (i == firstCandidate || corner > best) {
            best = corner;
            end = i;
        }
    }
    stroke.points.resize(end + 1);
    return Sorvala({std::move(stroke)});
}

Sorvala moireRings(Point center, double radius, SeededRandomNumberGenerator& random) {
    const auto n = static_cast<int>(random.integerInClosedRange(34, 50));
    const double o = radius * random.realInClosedRange(0.06, 0.10);

    const double spacing = radius / n;
    std::vector<Stroke> strokes;
    strokes.reserve(static_cast<std::size_t>(2 * n));
    for (const Point ringCenter : {Point{center.x - o, center.y}, Point{center.x + o, center.y}})
        for (int k = 1; k <= n; ++k)
            strokes.push_back(circle(ringCenter, spacing * k, 72, 0.9));
    return Sorvala(std::move(strokes));
}

Sorvala truchetArcs(Size size, SeededRandomNumberGenerator& random) {
    const auto cols = static_cast<int>(random.integerInClosedRange(20, 30));
    const double cell = size.width / cols;
    const auto rows = static_cast<std::size_t>(size.height / cell);
    const double yOff = (size.height - cell * static_cast<double>(rows)) * 0.5;

    std::vector<Stroke> strokes;
    strokes.reserve(2 * rows * static_cast<std::size_t>(cols));
    for (std::size_t row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const Point origin{cell * col, yOff + cell * static_cast<double>(row)};
            const bool cornerAtOrigin = random.boolean();
            strokes.push_back({arc(origin, cell, cornerAtOrigin, true), 1.2});
            strokes.push_back({arc(origin, cell, cornerAtOrigin, false), 1.2});
        }
    }
    return Sorvala(std::move(strokes), 2);
}

Sorvala hilbertCurve(Point center, double radius, SeededRandomNumberGenerator& random) {
    const auto order = static_cast<int>(random.integerInClosedRange(6, 8));
    const bool swapAxes = random.boolean();
    const bool mirror = random.boolean();

    const std::int64_t n = std::int64_t{1} << order;
    const double cell = (2 * radius) / static_cast<double>(n);
    const double left = (center.x - radius) + cell * 0.5;
    const double top = (center.y - radius) + cell * 0.5;
    Stroke stroke{{}, 1.1};
    stroke.points.reserve(static_cast<std::size_t>(n * n));
    for (std::int64_t d = 0; d < n * n; ++d) {
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::int64_t t = d;
        for (std::int64_t s = 1; s < n; s *= 2) {
            const std::int64_t rx = (t >> 1) & 1;
            const std::int64_t ry = ((t >> 1) ^ t) & 1;
            if (ry == 0) {
                if (rx == 1) {
                    x = s - 1 - x;
                    y = s - 1 - y;
                }
                std::swap(x, y);
            }
            x += s * rx;
            y += s * ry;
            t >>= 2;
        }
        std::int64_t column = swapAxes ? y : x;
        const std::int64_t line = swapAxes ? x : y;
        if (mirror)
            column = n - 1 - column;
        stroke.points.push_back({left + cell * static_cast<double>(column), top + cell * static_cast<double>(line)});
    }
    return Sorvala({std::move(stroke)});
}

Sorvala dragonCurve(Size size, SeededRandomNumberGenerator& random) {
    const std::int64_t segments = std::int64_t{1} << (13 + random.next(4));
    const bool flip = random.boolean();

    Stroke stroke{{}, 1.1};
    stroke.points.reserve(static_cast<std::size_t>(segments) + 1);
    std::int64_t x = 0, y = 0, dx = 1, dy = 0;
    std::int64_t minX = 0, maxX = 0, minY = 0, maxY = 0;
    stroke.points.push_back({0, 0});
    for (std::int64_t i = 1; i <= segments; ++i) {
        x += dx;
        y += dy;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        stroke.points.push_back({static_cast<double>(x), static_cast<double>(y)});
        if (i < segments) {
            const bool fold = (i & (2 * (i & -i))) != 0;
            const std::int64_t oldDx = dx;
            if (flip != fold) {
                dx = dy;
                dy = -oldDx;
            } else {
                dx = -dy;
                dy = oldDx;
            }
        }
    }
    // Fit the walk into 90 % of the surface, centred.
    const double boxWidth = static_cast<double>(maxX - minX);
    const double boxHeight = static_cast<double>(maxY - minY);
    const double centreX = static_cast<double>(minX) + boxWidth / 2;
    const double centreY = static_cast<double>(minY) + boxHeight / 2;
    const double scale = std::min(size.width * 0.9 / boxWidth, size.height * 0.9 / boxHeight);
    const double offsetX = size.width * 0.5 - centreX * scale;
    const double offsetY = size.height * 0.5 - centreY * scale;
    for (auto& point : stroke.points)
        point = {offsetX + scale * point.x, offsetY + scale * point.y};
    return Sorvala({std::move(stroke)});
}

} // namespace sorvala::SorvalaGenerator
