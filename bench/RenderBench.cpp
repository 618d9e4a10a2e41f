// SPDX-License-Identifier: MIT
// A whole drawing painted offscreen at 3840×2160 in 60 frames per second of virtual time: the cost
// of each frame (pen, new stamps, repaint of the changed region), how much of the screen a frame
// touches, and the memory the view adds.
#include "render/SorvalaSaverView.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using namespace sorvala;

constexpr int screenWidth = 3840;
constexpr int screenHeight = 2160;
constexpr double fullScreenBytes = 3840.0 * 2160.0 * 4.0;

// Heap in use now, in bytes, including large blocks the allocator maps on their own (images).
double heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// CPU time of this thread, in milliseconds: the frame's own cost, whatever else the machine runs.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long long area(const QRegion& region) {
    long long total = 0;
    for (const QRect& rect : region)
        total += static_cast<long long>(rect.width()) * rect.height();
    return total;
}

void wholeDrawingAt4K(benchmark::State& state, Settings::Style style, Settings::Theme theme) {
    const int drawing = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double memoryBefore = heapInUse();
        double memoryPeak = memoryBefore;
        Settings appearance;
        appearance.theme = theme;
        appearance.style = style;
        appearance.ink = Settings::Ink::classic;
        appearance.enabledDrawings = {drawing};
        ProgressiveRenderer::Environment environment;
        environment.random = [n = std::uint64_t{0x1234}]() mutable { return n = n * 6364136223846793005ull + 1442695040888963407ull; };
        environment.profiling = false;
        double now = 0;
        SorvalaSaverView view(appearance, now, environment);
        view.logic().drawingOverride = drawing;
        view.setGeometry(QSizeF(screenWidth, screenHeight), 1.0);
        view.startAnimation();
        QImage target(view.pixelSize(), QImage::Format_ARGB32_Premultiplied);
        target.setDevicePixelRatio(1.0);
        view.animateOneFrame(now);
        view.renderInto(target, true);

        std::vector<double> frameMs;
        std::vector<double> frameCpuMs;
        long long largestTouch = 0;
        while (!view.isDrawingComplete()) {
            now += 1.0 / 60;
            const double cpuStart = threadMilliseconds();
            const auto start = std::chrono::steady_clock::now();
            const QRegion changed = view.animateOneFrame(now);
            view.renderInto(target);
            const auto stop = std::chrono::steady_clock::now();
            frameCpuMs.push_back(threadMilliseconds() - cpuStart);
            frameMs.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
            largestTouch = std::max(largestTouch, area(changed));
            if (frameMs.size() % 30 == 0)
                memoryPeak = std::max(memoryPeak, heapInUse());
        }
        memoryPeak = std::max(memoryPeak, heapInUse());
        benchmark::DoNotOptimize(target.constBits());
        std::sort(frameMs.begin(), frameMs.end());
        std::sort(frameCpuMs.begin(), frameCpuMs.end());
        const auto at = [](const std::vector<double>& sorted, double q) {
            return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1))];
        };
        state.counters["frames"] = static_cast<double>(frameMs.size());
        state.counters["median_ms"] = at(frameMs, 0.5);
        state.counters["p99_ms"] = at(frameMs, 0.99);
        state.counters["cpu_median_ms"] = at(frameCpuMs, 0.5);
        state.counters["cpu_p99_ms"] = at(frameCpuMs, 0.99);
        state.counters["cpu_max_ms"] = frameCpuMs.back();
        state.counters["stamps"] = static_cast<double>(view.stampsRasterized());
        state.counters["max_touch_%"] = 100.0 * static_cast<double>(largestTouch) / (screenWidth * screenHeight);
        state.counters["peak_screens"] = (memoryPeak - memoryBefore) / fullScreenBytes;
    }
}

// One frame of the fade after the hold: the whole screen is repainted with the ink thinning.
void fadeFrameAt4K(benchmark::State& state) {
    Settings appearance;
    appearance.theme = Settings::Theme::paper;
    appearance.enabledDrawings = {1};
    ProgressiveRenderer::Environment environment;
    environment.profiling = false;
    double now = 0;
    SorvalaSaverView view(appearance, now, environment);
    view.logic().drawingOverride = 1;
    view.setGeometry(QSizeF(screenWidth, screenHeight), 1.0);
    view.startAnimation();
    QImage target(view.pixelSize(), QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(1.0);
    while (!view.isDrawingComplete())
        view.animateOneFrame(now += 0.05);
    view.animateOneFrame(now += SaverTiming::holdSeconds);
    for (auto _ : state) {
        now += 1e-4; // stays inside the fade however many iterations run
        view.animateOneFrame(now);
        view.renderInto(target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(fadeFrameAt4K)->Unit(benchmark::kMillisecond);

void pencilOnPaper(benchmark::State& state) { wholeDrawingAt4K(state, Settings::Style::pencil, Settings::Theme::paper); }
void brushOnDark(benchmark::State& state) { wholeDrawingAt4K(state, Settings::Style::brush, Settings::Theme::dark); }

BENCHMARK(pencilOnPaper)->DenseRange(0, 11)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(brushOnDark)->DenseRange(0, 11)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
