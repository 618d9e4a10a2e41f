// SPDX-License-Identifier: MIT
#include "ChimeSynth.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace sorvala::ChimeSynth {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double attackSeconds = 0.005;
constexpr double releaseSeconds = 0.03;

/// One decaying sine partial starting at `onset`.
struct Partial {
    double frequency;
    double amplitude;
    double decaySeconds; ///< time constant of the exponential tail
    double onset = 0;
};

/// Amplitude envelope of one partial: a 5 ms raised-cosine attack, then an exponential tail.
double envelope(double t, double decaySeconds) {
    if (t < 0)
        return 0;
    const double attack = t < attackSeconds ? 0.5 - 0.5 * std::cos(pi * t / attackSeconds) : 1.0;
    return attack * std::exp(-t / decaySeconds);
}

std::vector<double> render(double seconds, const std::function<double(double)>& wave) {
    const auto count = static_cast<std::size_t>(seconds * sampleRate);
    std::vector<double> out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = wave(static_cast<double>(i) / sampleRate);
    return out;
}

std::vector<double> partials(double seconds, const std::vector<Partial>& list) {
    return render(seconds, [&](double t) {
        double sum = 0;
        for (const Partial& p : list)
            sum += p.amplitude * envelope(t - p.onset, p.decaySeconds) *
                   std::sin(2 * pi * p.frequency * (t - p.onset));
        return sum;
    });
}

// Bell-like: inharmonic partials, the high ones dying first.
std::vector<double> glass() {
    return partials(1.4, {{1568.0, 1.0, 0.45}, {3638.0, 0.45, 0.22}, {6664.0, 0.2, 0.1}});
}

// A sonar ping with a softer echo.
std::vector<double> submarine() {
    return partials(
        1.5, {{880.0, 1.0, 0.32}, {1760.0, 0.12, 0.12}, {880.0, 0.3, 0.28, 0.42}, {1760.0, 0.04, 0.1, 0.42}});
}

// A quick rising major arpeggio C6 E6 G6 C7 with overlapping tails.
std::vector<double> hero() {
    return partials(1.3, {{1046.50, 0.8, 0.3, 0.0},
                          {1318.51, 0.8, 0.3, 0.09},
                          {1567.98, 0.8, 0.32, 0.18},
                          {2093.00, 1.0, 0.42, 0.27},
                          {4186.01, 0.1, 0.15, 0.27}});
}

// A low tone with a 24 Hz flutter.
std::vector<double> purr() {
    return render(0.7, [](double t) {
        const double flutter = 0.55 + 0.45 * std::sin(2 * pi * 24.0 * t);
        const double tone = std::sin(2 * pi * 170.0 * t) + 0.35 * std::sin(2 * pi * 340.0 * t);
        return flutter * tone * envelope(t, 0.22);
    });
}

// A blip whose pitch falls from 700 Hz to 180 Hz.
std::vector<double> pop() {
    constexpr double length = 0.12;
    return render(length, [](double t) {
        // The phase is the integral of an exponential glide, so the sweep has no clicks.
        const double rate = std::log(180.0 / 700.0) / length;
        const double phase = 2 * pi * 700.0 * (std::exp(rate * t) - 1.0) / rate;
        return std::sin(phase) * envelope(t, 0.035);
    });
}

// A short high tick.
std::vector<double> tink() {
    return partials(0.45, {{2480.0, 1.0, 0.08}, {5830.0, 0.25, 0.03}});
}

std::vector<std::int16_t> finish(std::vector<double> wave) {
    // A short linear release, so the last sample is silent whatever the tail left.
    const auto release = static_cast<std::size_t>(releaseSeconds * sampleRate);
    for (std::size_t i = 0; i < release && i < wave.size(); ++i)
        wave[wave.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(release);
    double peak = 0;
    for (double v : wave)
        peak = std::max(peak, std::fabs(v));
    const double gain = peak > 0 ? peakLevel / peak : 0;
    std::vector<std::int16_t> samples(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(wave[i] * gain * 32767.0));
    return samples;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::optional<std::vector<std::int16_t>> synthesise(std::string_view name) {
    if (name == "Glass")
        return finish(glass());
    if (name == "Submarine")
        return finish(submarine());
    if (name == "Hero")
        return finish(hero());
    if (name == "Purr")
        return finish(purr());
    if (name == "Pop")
        return finish(pop());
    if (name == "Tink")
        return finish(tink());
    return std::nullopt;
}

std::vector<std::uint8_t> encodeWav(const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out;
}

} // namespace sorvala::ChimeSynth
