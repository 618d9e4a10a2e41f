// SPDX-License-Identifier: MIT
// Keeping a finished drawing from a 4K display (1920 × 1080 points at 2 pixels per point): the
// render of the finished drawing, and the PNG encode and write with pruning. Run inside
// scripts/test-session or with QT_QPA_PLATFORM=offscreen.
#include "drawing/SorvalaGenerator.h"
#include "platform/desktop/Gallery.h"
#include "render/SorvalaSaverView.h"
#include "support/TemporaryDirectory.h"
#include "support/ZoneCalendar.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace sorvala;

class NoDesktop final : public DesktopPicture {
public:
    std::vector<std::filesystem::path> currentPictures() override { return {}; }
    std::optional<Outcome> set(const std::filesystem::path&) override { return std::nullopt; }
};

class TickingClock final : public Clock {
public:
    Instant now() const override { return m_at = m_at + 1; } // a new name for every save
private:
    mutable Instant m_at = Instant::fromSecondsSinceEpoch(1'780'000'000);
};

FinishedLook look(const Sorvala& sorvala) {
    FinishedLook result;
    result.theme = Settings::Theme::paper;
    result.style = Settings::Style::brush;
    result.ink = inkPlanFor(sorvala, Settings::Ink::classic, Settings::Ink::classic, 0);
    return result;
}

const Sorvala& drawing(int number) {
    static std::map<int, Sorvala> drawings;
    auto found = drawings.find(number);
    if (found == drawings.end())
        found = drawings.emplace(number, SorvalaGenerator::generate({1920, 1080}, number, 0xC0FFEEu)).first;
    return found->second;
}

void RenderFinished4K(benchmark::State& state) {
    const Sorvala& sorvala = drawing(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(renderFinishedDrawing(sorvala, QSizeF(1920, 1080), 2.0, look(sorvala)));
}
BENCHMARK(RenderFinished4K)->Arg(0)->Arg(7)->Unit(benchmark::kMillisecond);

// What a break's end costs: the finished view's ink copied onto its paper at the display's ratio.
void ComposeFinishedView4K(benchmark::State& state) {
    Settings appearance;
    appearance.theme = Settings::Theme::paper;
    SorvalaSaverView view(appearance, 0);
    view.setGeometry(QSizeF(1920, 1080), 2.0);
    view.animateOneFrame(0);
    TemporaryDirectory folder;
    NullLogger log;
    TickingClock clock;
    ZoneCalendar calendar("UTC");
    NoDesktop desktop;
    Gallery gallery(log, clock, calendar, desktop, folder.path());
    for (auto _ : state)
        gallery.save(view, 2.0);
}
BENCHMARK(ComposeFinishedView4K)->Unit(benchmark::kMillisecond);

void SavePng4K(benchmark::State& state) {
    const Sorvala& sorvala = drawing(static_cast<int>(state.range(0)));
    const QImage image = renderFinishedDrawing(sorvala, QSizeF(1920, 1080), 2.0, look(sorvala));
    TemporaryDirectory folder;
    NullLogger log;
    TickingClock clock;
    ZoneCalendar calendar("UTC");
    NoDesktop desktop;
    Gallery gallery(log, clock, calendar, desktop, folder.path());
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const auto path = gallery.saveImage(image);
        if (!path) {
            state.SkipWithError("save failed");
            break;
        }
        bytes = static_cast<std::int64_t>(std::filesystem::file_size(*path));
    }
    state.counters["png_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(SavePng4K)->Arg(0)->Arg(7)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
