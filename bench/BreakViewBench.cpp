// SPDX-License-Identifier: MIT
// The long-break view at 3840×2160 on the offscreen platform, one whole drawing and the seconds
// it then stays on screen breathing (a break ends on the finished drawing), in 60 frames per
// second of virtual time: each frame moves the pen, lets the drawing breathe, and repaints what
// changed into the window's backing store. Reports the frame time over every frame, its tail
// (p99, p99.9, the slowest) and the first frame's alone.
#include "OffscreenApplication.h"
#include "breakscreen/BreakPalette.h"
#include "simulation/MemoryPreferences.h"
#include "ui/breakscreen/BreakContent.h"

#include <QApplication>
#include <QPaintEvent>

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

namespace {

using namespace sorvala;

constexpr int screenWidth = 3840;
constexpr int screenHeight = 2160;

QApplication& application() {
    return offscreenApplication<QApplication>();
}

// CPU time of this thread, in milliseconds: the frame's own cost, whatever else the machine runs.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

/// Counts the pixels the content repaints.
class PaintedArea final : public QObject {
public:
    long long pixels = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            for (const QRect& rect : static_cast<QPaintEvent*>(event)->region())
                pixels += static_cast<long long>(rect.width()) * rect.height();
        return false;
    }
};

double at(std::vector<double> values, double q) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

void longBreakViewAt4K(benchmark::State& state, bool dark, bool reduceMotion) {
    application();
    for (auto _ : state) {
        MemoryPreferences store;
        QWidget window;
        window.resize(screenWidth, screenHeight);
        const BreakContentStyle style{BreakPalette::resolve(dark),
                                      dark ? QColor(18, 18, 20) : QColor(246, 244, 238), reduceMotion};
        auto* content = new LongBreakContent(store, style, {.skipVisible = true}, {}, &window);
        content->stopFrames(); // frames come from here, on virtual time
        content->view().logic().drawingOverride = static_cast<int>(state.range(0));
        content->setGeometry(window.rect());
        PaintedArea painted;
        content->installEventFilter(&painted);
        window.show();
        QCoreApplication::processEvents();

        std::vector<double> frames;
        double now = 0;
        std::size_t framesLeft = 0;
        constexpr std::size_t breathingFrames = 60 * 8;
        // A drawing takes minutes at any pace; the cap only keeps a broken pen from running forever.
        while (frames.size() < 60 * 900 && (framesLeft == 0 || --framesLeft > 0)) {
            now += 1.0 / 60;
            const double start = threadMilliseconds();
            content->advanceFrame(now);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
            frames.push_back(threadMilliseconds() - start);
            if (framesLeft == 0 && content->view().isDrawingComplete())
                framesLeft = breathingFrames;
        }
        state.counters["frames"] = static_cast<double>(frames.size());
        state.counters["first_ms"] = frames.empty() ? 0 : frames.front();
        state.counters["p50_ms"] = at(frames, 0.5);
        state.counters["p99_ms"] = at(frames, 0.99);
        state.counters["p99.9_ms"] = at(frames, 0.999);
        state.counters["max_ms"] = at(frames, 1);
        state.counters["screens_painted_per_frame"] = static_cast<double>(painted.pixels) /
                                                      static_cast<double>(frames.size()) /
                                                      (screenWidth * screenHeight);
    }
}

void breathingOnPaper(benchmark::State& state) {
    longBreakViewAt4K(state, false, false);
}
void breathingOnDark(benchmark::State& state) {
    longBreakViewAt4K(state, true, false);
}
void stillOnPaper(benchmark::State& state) {
    longBreakViewAt4K(state, false, true);
}

BENCHMARK(breathingOnPaper)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(breathingOnDark)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(stillOnPaper)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
