// SPDX-License-Identifier: MIT
#include "drawing/ProgressiveRenderer.h"

#include "drawing/SorvalaGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>

namespace sorvala {

namespace {

constexpr StylePass pencilPasses[] = {{1.0, 0.5}};
constexpr StylePass brushPasses[] = {{2.6, 0.18}, {1.5, 0.35}, {0.7, 0.75}};
constexpr double visualUpdateInterval = 1.0 / 65;
constexpr double maximumFrameSeconds = 0.05;
constexpr std::size_t tailPointLimit = 256;
constexpr double tailExtentLimit = 160;

double segmentLength(const Point& a, const Point& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

std::uint64_t randomBelow(const std::function<std::uint64_t()>& random, std::uint64_t bound) {
    if (bound <= 1)
        return 0;
    const std::uint64_t all = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t limit = all - all % bound;
    for (;;) {
        const std::uint64_t value = random();
        if (value < limit)
            return value % bound;
    }
}

Rgba mix(const Rgba& a, const Rgba& b, double fractionOfB) {
    return {a.r * (1 - fractionOfB) + b.r * fractionOfB, a.g * (1 - fractionOfB) + b.g * fractionOfB,
            a.b * (1 - fractionOfB) + b.b * fractionOfB, 1};
}

bool profilingRequested() {
    static const bool requested = std::getenv("SORVALA_PROFILE") != nullptr;
    return requested;
}

} // namespace

std::span<const StylePass> stylePasses(Settings::Style resolvedStyle) {
    if (resolvedStyle == Settings::Style::brush)
        return brushPasses;
    return pencilPasses;
}

double widestFactor(Settings::Style resolvedStyle) {
    double widest = 0;
    for (const auto& pass : stylePasses(resolvedStyle))
        widest = std::max(widest, pass.widthFactor);
    return widest;
}

std::vector<std::vector<Point>> styledCopies(std::span<const Point> points, int phaseBase, Settings::Style resolvedStyle) {
    if (resolvedStyle == Settings::Style::brush)
        return {std::vector<Point>(points.begin(), points.end())};
    std::vector<std::vector<Point>> copies;
    for (const double offset : {0.0, 2.1}) {
        std::vector<Point> copy;
        copy.reserve(points.size());
        for (std::size_t k = 0; k < points.size(); ++k) {
            const double a = (static_cast<double>(k) + phaseBase) * 0.61 + offset;
            copy.push_back({points[k].x + 0.45 * std::sin(a), points[k].y + 0.45 * std::cos(a * 1.37)});
        }
        copies.push_back(std::move(copy));
    }
    return copies;
}

Settings::Ink InkPlan::inkFor(double inkDistance, std::size_t strokeIndex) const {
    if (setting != Settings::Ink::multicolor)
        return resolved;
    std::size_t block = 0;
    if (inkPerBlock > 0)
        block = static_cast<std::size_t>(std::max(std::floor(inkDistance / inkPerBlock), 0.0));
    else
        block = strokeIndex / static_cast<std::size_t>(std::max(colorBlockSize, 1));
    return palette[block % palette.size()];
}

std::array<Settings::Ink, 3> multicolorPalette(std::uint64_t start) {
    using Ink = Settings::Ink;
    static constexpr Ink ring[] = {Ink::classic, Ink::ocean, Ink::forest, Ink::sepia, Ink::crimson, Ink::plum};
    return {ring[start % 6], ring[(start + 1) % 6], ring[(start + 2) % 6]};
}

bool isClosed(const Stroke& stroke) {
    const auto& points = stroke.points;
    return points.size() >= 3 && segmentLength(points.front(), points.back()) < 0.01;
}

InkPlan inkPlanFor(const Sorvala& sorvala, Settings::Ink setting, Settings::Ink resolved, std::uint64_t paletteStart) {
    InkPlan plan;
    plan.setting = setting;
    plan.resolved = resolved;
    plan.palette = multicolorPalette(paletteStart);
    plan.colorBlockSize = sorvala.colorBlockSize();
    double totalInk = 0;
    for (const auto& stroke : sorvala.strokes())
        totalInk += stroke.length();
    const auto blocks = sorvala.strokes().size() / static_cast<std::size_t>(std::max(sorvala.colorBlockSize(), 1));
    plan.inkPerBlock = blocks < plan.palette.size() ? totalInk / 12 : 0;
    return plan;
}

Extent extentOf(std::span<const Point> points) {
    if (points.empty())
        return {};
    Extent extent{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const auto& p : points) {
        extent.minX = std::min(extent.minX, p.x);
        extent.maxX = std::max(extent.maxX, p.x);
        extent.minY = std::min(extent.minY, p.y);
        extent.maxY = std::max(extent.maxY, p.y);
    }
    return extent;
}

bool tailNeedsCommit(std::span<const Point> tail) {
    if (tail.size() < 2)
        return false;
    if (tail.size() > tailPointLimit)
        return true;
    const Extent extent = extentOf(tail);
    return std::max(extent.maxX - extent.minX, extent.maxY - extent.minY) > tailExtentLimit;
}

std::vector<PendingStamp> finishedStamps(const Sorvala& sorvala, const InkPlan& plan) {
    std::vector<PendingStamp> stamps;
    double inkDistance = 0;
    const auto& strokes = sorvala.strokes();
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const auto& points = strokes[i].points;
        if (points.empty())
            continue;
        const bool open = !isClosed(strokes[i]);
        auto chunk = [&](std::vector<Point> tail, int phaseBase) {
            return PendingStamp{std::move(tail), strokes[i].width * DrawingPace::widthFactor(inkDistance), phaseBase,
                                plan.inkFor(inkDistance, i), open && phaseBase == 0, false};
        };
        PendingStamp current = chunk({points[0]}, 0);
        for (std::size_t k = 1; k < points.size(); ++k) {
            current.points.push_back(points[k]);
            inkDistance += segmentLength(points[k - 1], points[k]);
            if (k + 1 < points.size() && tailNeedsCommit(current.points)) {
                const int nextBase = current.phaseBase + static_cast<int>(current.points.size()) - 1;
                const Point last = current.points.back();
                stamps.push_back(std::move(current));
                current = chunk({last}, nextBase);
            }
        }
        current.roundEnd = open;
        stamps.push_back(std::move(current));
    }
    return stamps;
}

ProgressiveRenderer::ProgressiveRenderer(PreferencesStore& store, Environment environment, double now)
    : ProgressiveRenderer(Settings{}, std::move(environment), now) {
    m_store = &store;
    m_settings = loadSettings();
    configureLayers();
}

ProgressiveRenderer::ProgressiveRenderer(Settings appearance, Environment environment, double now)
    : m_fixedSettings(std::move(appearance)), m_environment(std::move(environment)), m_profileLastReport(now) {
    if (m_fixedSettings.enabledDrawings.empty())
        m_fixedSettings.enabledDrawings.insert(0);
    if (!m_environment.generate)
        m_environment.generate = [](double width, double height, int drawing, std::uint64_t seed) {
            return SorvalaGenerator::generate({width, height}, drawing, seed);
        };
    if (!m_environment.random)
        m_environment.random = [] { return secureRandom64(); };
    if (!m_environment.profileSink)
        m_environment.profileSink = [](std::string_view line) { std::cerr << line << std::flush; };
    if (m_environment.drawingCount < 1)
        m_environment.drawingCount = 1;
    m_profiling = m_environment.profiling.value_or(profilingRequested());
    m_settings = loadSettings();
    m_drawingIndex = static_cast<int>(
        randomBelow(m_environment.random, static_cast<std::uint64_t>(m_environment.drawingCount)));
    configureLayers();
}

void ProgressiveRenderer::setSize(double width, double height) {
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    if (!m_sorvala.strokes().empty())
        startNewSorvala();
    else
        configureLayers();
}

void ProgressiveRenderer::setSuppressed(bool suppressed) {
    if (suppressed == m_suppressed)
        return;
    m_suppressed = suppressed;
    configureLayers();
}

void ProgressiveRenderer::setSystemDark(bool dark) {
    if (dark == m_systemDark)
        return;
    m_systemDark = dark;
    if (m_settings.theme != Settings::Theme::system)
        return;
    if (!m_sorvala.strokes().empty())
        startNewSorvala();
    else
        configureLayers();
}

void ProgressiveRenderer::startAnimation() {
    Appearance::rerollRandomTheme();
    m_lastFrameTime.reset();
    if (m_sorvala.strokes().empty())
        startNewSorvala();
}

Settings ProgressiveRenderer::loadSettings() const {
    return m_store ? Settings::load(*m_store, m_environment.drawingCount) : m_fixedSettings;
}

void ProgressiveRenderer::reloadSettings() {
    m_settings = loadSettings();
    m_currentStyle = Appearance::resolvedStyle(m_settings.style, m_environment.random());
    m_strokeColorCache.reset();
    if (m_sorvala.strokes().empty())
        configureLayers();
    else
        startNewSorvala();
}

Settings::Style ProgressiveRenderer::currentStyle() {
    if (!m_currentStyle)
        m_currentStyle = Appearance::resolvedStyle(m_settings.style, m_environment.random());
    return *m_currentStyle;
}

int ProgressiveRenderer::nextEnabledFrom(int number) const {
    const int count = m_environment.drawingCount;
    for (int step = 0; step < count; ++step) {
        const int candidate = ((number + step) % count + count) % count;
        if (m_settings.enabledDrawings.count(candidate) != 0)
            return candidate;
    }
    return ((number % count) + count) % count; // unreachable: the enabled set is never empty
}

void ProgressiveRenderer::startNewSorvala() {
    if (!(m_width > 0) || !(m_height > 0) || m_suppressed)
        return;
    int number = 0;
    if (drawingOverride)
        number = *drawingOverride;
    else if (m_settings.pinnedDrawing)
        number = *m_settings.pinnedDrawing;
    else
        number = m_drawingIndex = nextEnabledFrom(m_drawingIndex);

    const std::uint64_t seed = m_environment.random();
    m_sorvala = m_environment.generate(m_width, m_height, number, seed);
    m_currentDrawing = number;
    if (!drawingOverride)
        m_drawingIndex = nextEnabledFrom(m_drawingIndex + 1);

    const auto& strokes = m_sorvala.strokes();
    m_totalInk = 0;
    for (const auto& stroke : strokes)
        m_totalInk += stroke.length();
    m_effectiveSpeed = DrawingPace::effectiveSpeed(m_totalInk, speedOverride.value_or(m_settings.speed));

    const Settings::Ink resolvedInk = Appearance::resolvedInk(m_settings.ink, randomBelow(m_environment.random, 10));
    m_currentStyle = Appearance::resolvedStyle(m_settings.style, m_environment.random());
    m_plan = inkPlanFor(m_sorvala, m_settings.ink, resolvedInk, randomBelow(m_environment.random, 6));

    m_penLiftSeconds = DrawingPace::penLiftSeconds(static_cast<int>(std::min<std::size_t>(strokes.size(), 1u << 30)));
    m_penLiftRemaining = 0;
    m_strokeIndex = 0;
    m_strokeColorCache.reset();
    m_segmentIndex = 0;
    m_distanceIntoSegment = 0;
    m_penTailPhaseBase = 0;
    m_pendingStamps.clear();
    m_currentStrokePoints.clear();
    m_verticesVisited.assign(strokes.size(), 0);
    if (!strokes.empty() && !strokes[0].points.empty()) {
        m_currentStrokePoints.push_back(strokes[0].points[0]);
        m_verticesVisited[0] = 1;
    }
    m_inkDistance = 0;
    m_stampsReleased = 0;

    beginInkChunk();
    configureLayers();
    m_changes.inkCleared = true;
    m_changes.stamps.clear();
    m_inkOpacity = 1;
    m_phase = Phase{};
}

void ProgressiveRenderer::beginInkChunk() {
    const auto& strokes = m_sorvala.strokes();
    const double base = m_strokeIndex < strokes.size() ? strokes[m_strokeIndex].width : 1.0;
    m_currentPenWidth = base * DrawingPace::widthFactor(m_inkDistance);
    m_currentPenInk = m_plan.inkFor(m_inkDistance, m_strokeIndex);
}

void ProgressiveRenderer::configureLayers() {
    // The theme is fixed here, so paper and ink agree until the surface is configured again.
    m_theme = Appearance::resolved(m_settings.theme, m_systemDark);
    m_strokeColorCache.reset();
    m_changes.repaintAll = true;
}

bool ProgressiveRenderer::isDrawingComplete() const {
    return !m_sorvala.strokes().empty() && m_strokeIndex >= m_sorvala.strokes().size();
}

std::vector<Point> ProgressiveRenderer::livePenTail() const {
    if (isDrawingComplete() || m_currentStrokePoints.empty())
        return {};
    std::vector<Point> tail = m_currentStrokePoints;
    const auto& points = m_sorvala.strokes()[m_strokeIndex].points;
    if (m_distanceIntoSegment > 0 && m_segmentIndex + 1 < points.size()) {
        const Point& a = points[m_segmentIndex];
        const Point& b = points[m_segmentIndex + 1];
        const double length = segmentLength(a, b);
        if (length > 0) {
            const double t = m_distanceIntoSegment / length;
            tail.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    return tail;
}

DrawingPace::TravelOutcome ProgressiveRenderer::travel(double budget) {
    m_penLiftRemaining = 0;
    const auto& strokes = m_sorvala.strokes();
    if (m_strokeIndex >= strokes.size())
        return {budget, 0};

    double ease = 1;
    const auto& current = strokes[m_strokeIndex].points;
    if (current.size() >= 2) {
        double progress = static_cast<double>(m_segmentIndex);
        if (m_distanceIntoSegment > 0 && m_segmentIndex + 1 < current.size()) {
            const double length = segmentLength(current[m_segmentIndex], current[m_segmentIndex + 1]);
            if (length > 0)
                progress += m_distanceIntoSegment / length;
        }
        ease = DrawingPace::easeFactor(std::min(progress / static_cast<double>(current.size() - 1), 1.0));
    }
    const double v = m_effectiveSpeed * ease;
    if (!(v > 0))
        return {budget, 0};
    const double d = budget * v;
    double r = d;
    while (r > 0) {
        if (m_strokeIndex >= strokes.size() || m_penLiftRemaining > 0)
            break;
        const auto& points = strokes[m_strokeIndex].points;
        if (m_segmentIndex + 1 >= points.size()) {
            const bool open = !isClosed(strokes[m_strokeIndex]);
            m_pendingStamps.push_back(
                {m_currentStrokePoints, m_currentPenWidth, m_penTailPhaseBase, m_currentPenInk, open && m_penTailPhaseBase == 0, open});
            m_penTailPhaseBase = 0;
            ++m_strokeIndex;
            m_segmentIndex = 0;
            m_distanceIntoSegment = 0;
            m_currentStrokePoints.clear();
            if (m_strokeIndex < strokes.size()) {
                m_penLiftRemaining = m_penLiftSeconds;
                if (!strokes[m_strokeIndex].points.empty()) {
                    m_currentStrokePoints.push_back(strokes[m_strokeIndex].points[0]);
                    m_verticesVisited[m_strokeIndex] = 1;
                }
            }
            beginInkChunk();
            continue;
        }
        const double left = segmentLength(points[m_segmentIndex], points[m_segmentIndex + 1]) - m_distanceIntoSegment;
        if (left <= r) {
            m_currentStrokePoints.push_back(points[m_segmentIndex + 1]);
            ++m_segmentIndex;
            ++m_verticesVisited[m_strokeIndex];
            r -= left;
            m_distanceIntoSegment = 0;
        } else {
            m_distanceIntoSegment += r;
            r = 0;
        }
    }
    m_inkDistance += d - r;
    if (m_profiling)
        m_profilePenDistance += v * (budget - r / v);
    return {r / v, m_penLiftRemaining};
}

void ProgressiveRenderer::commitTailAndRelease() {
    if (!isDrawingComplete()) {
        std::vector<Point> tail = livePenTail();
        if (tailNeedsCommit(tail)) {
            const Point last = tail.back();
            const int count = static_cast<int>(tail.size());
            const bool roundStart = m_penTailPhaseBase == 0 && !isClosed(m_sorvala.strokes()[m_strokeIndex]);
            m_pendingStamps.push_back({std::move(tail), m_currentPenWidth, m_penTailPhaseBase, m_currentPenInk, roundStart, false});
            m_penTailPhaseBase += count - 1;
            m_currentStrokePoints.assign(1, last);
            beginInkChunk();
        }
    }
    if (!m_pendingStamps.empty()) {
        m_profileStampCount += static_cast<int>(m_pendingStamps.size());
        m_stampsReleased += static_cast<long long>(m_pendingStamps.size());
        for (auto& stamp : m_pendingStamps)
            m_changes.stamps.push_back(std::move(stamp));
        m_pendingStamps.clear();
    }
}

void ProgressiveRenderer::animateOneFrame(double now) {
    const double elapsed = std::min(now - m_lastFrameTime.value_or(now), maximumFrameSeconds);
    m_lastFrameTime = now;

    if (m_sorvala.strokes().empty()) {
        startNewSorvala();
        profile(now);
        return;
    }
    switch (m_phase.kind) {
    case Phase::Kind::holding:
        if (now >= m_phase.until)
            m_phase = {Phase::Kind::fading, now + SaverTiming::fadeSeconds};
        break;
    case Phase::Kind::fading: {
        const double left = m_phase.until - now;
        m_inkOpacity = std::max(left, 0.0) / SaverTiming::fadeSeconds;
        m_changes.repaintAll = true;
        if (left <= 0)
            startNewSorvala();
        break;
    }
    case Phase::Kind::drawing:
        m_penLiftRemaining = DrawingPace::spendFrame(elapsed, m_penLiftRemaining,
                                                     [this](double budget) { return travel(budget); });
        if (isDrawingComplete() || now - m_lastVisualUpdateTime >= visualUpdateInterval) {
            m_lastVisualUpdateTime = now;
            commitTailAndRelease();
        }
        if (m_strokeIndex >= m_sorvala.strokes().size())
            m_phase = {Phase::Kind::holding, now + SaverTiming::holdSeconds};
        break;
    }
    profile(now);
}

ProgressiveRenderer::Changes ProgressiveRenderer::takeChanges() {
    Changes taken = std::move(m_changes);
    m_changes = Changes{};
    return taken;
}

const ProgressiveRenderer::StrokeColors& ProgressiveRenderer::strokeColors() {
    if (m_strokeColorCache && m_strokeColorCache->ink == m_currentPenInk)
        return *m_strokeColorCache;
    const Rgba ink = Appearance::inkColor(m_theme, m_currentPenInk);
    StrokeColors colors;
    colors.ink = m_currentPenInk;
    for (const auto& pass : stylePasses(currentStyle()))
        colors.tailPassColors.push_back(ink.withAlpha(pass.alpha));
    if (m_theme == Settings::Theme::dark) {
        colors.glowFill = mix(Rgba{1, 1, 1, 1}, ink, 0.3);
        colors.glowShadow = ink;
    } else {
        colors.glowFill = ink;
        colors.glowShadow = mix(ink, Rgba{0, 0, 0, 1}, 0.3);
    }
    m_strokeColorCache = std::move(colors);
    return *m_strokeColorCache;
}

void ProgressiveRenderer::profile(double now) {
    if (!m_profiling)
        return;
    ++m_profileFrameCount;
    if (m_profileLastFrameTime)
        m_profileWorstFrameGap = std::max(m_profileWorstFrameGap, now - *m_profileLastFrameTime);
    m_profileLastFrameTime = now;
    const double interval = now - m_profileLastReport;
    if (interval < 1.0)
        return;
    char line[200];
    std::snprintf(line, sizeof line, "frames/s %3.0f | worst gap %5.1fms | stamps %3d | stroke %d/%d | pen %5.0fpt/s speed %.0f\n",
                  m_profileFrameCount / interval, m_profileWorstFrameGap * 1000, m_profileStampCount,
                  static_cast<int>(m_strokeIndex), static_cast<int>(m_sorvala.strokes().size()),
                  m_profilePenDistance / interval, m_settings.speed);
    m_environment.profileSink(line);
    m_profileFrameCount = 0;
    m_profileStampCount = 0;
    m_profilePenDistance = 0;
    m_profileWorstFrameGap = 0;
    m_profileLastReport = now;
}

} // namespace sorvala
