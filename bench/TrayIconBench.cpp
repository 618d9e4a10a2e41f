// SPDX-License-Identifier: MIT
// The tray icon drawn at every panel size on the offscreen platform: as the countdown's minute
// moves (once a minute all day), and as its look changes (paused, panel colour, a break starting).
#include "OffscreenApplication.h"
#include "ui/menubar/TrayIconArt.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace sorvala;

QGuiApplication& application() {
    return offscreenApplication<QGuiApplication>();
}

void MinuteMoves(benchmark::State& state) {
    application();
    int minute = 59;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TrayIconArt::icon(QString::number(minute), false, false));
        minute = minute == 1 ? 59 : minute - 1;
    }
}
BENCHMARK(MinuteMoves);

void LookChanges(benchmark::State& state) {
    application();
    bool paused = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TrayIconArt::icon({}, paused, false));
        paused = !paused;
    }
}
BENCHMARK(LookChanges);

} // namespace
