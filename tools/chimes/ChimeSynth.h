// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

/// Our own chimes, synthesised from a few sine partials: the same samples on every build.
namespace sorvala::ChimeSynth {

inline constexpr int sampleRate = 48000;
/// The loudest sample of every chime: about -3 dBFS.
inline constexpr double peakLevel = 0.7079457843841379;

/// The 16-bit mono samples of the chime called `name`; nullopt for a name we do not make.
std::optional<std::vector<std::int16_t>> synthesise(std::string_view name);

/// A complete WAV file (RIFF, PCM, 48 kHz, mono, 16-bit) holding `samples`.
std::vector<std::uint8_t> encodeWav(const std::vector<std::int16_t>& samples);

} // namespace sorvala::ChimeSynth
