// SPDX-License-Identifier: MIT
#include "drawing/SeededRandomNumberGenerator.h"

#include <cassert>
#include <cmath>

namespace sorvala {

namespace {

__extension__ using UInt128 = unsigned __int128;

constexpr std::uint64_t mantissaMask = (std::uint64_t{1} << 53) - 1;
constexpr double twoToMinus53 = 0x1p-53;

} // namespace

std::uint64_t SeededRandomNumberGenerator::next() {
    m_state += 0x9E3779B97F4A7C15u;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

std::uint64_t SeededRandomNumberGenerator::next(std::uint64_t upperBound) {
    assert(upperBound > 0);
    UInt128 product = UInt128{next()} * upperBound;
    auto low = static_cast<std::uint64_t>(product);
    if (low < upperBound) {
        const std::uint64_t threshold = (0 - upperBound) % upperBound;
        while (low < threshold) {
            product = UInt128{next()} * upperBound;
            low = static_cast<std::uint64_t>(product);
        }
    }
    return static_cast<std::uint64_t>(product >> 64);
}

std::int64_t SeededRandomNumberGenerator::integerInRange(std::int64_t a, std::int64_t b) {
    assert(a < b);
    const std::uint64_t bound = static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + next(bound));
}

std::int64_t SeededRandomNumberGenerator::integerInClosedRange(std::int64_t a, std::int64_t b) {
    assert(a <= b);
    const std::uint64_t bound = static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a) + 1;
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + next(bound));
}

double SeededRandomNumberGenerator::realInRange(double a, double b) {
    const double span = b - a;
    assert(span > 0 && std::isfinite(span));
    double v = 0;
    do {
        const double u = static_cast<double>(next() & mantissaMask) * twoToMinus53;
        v = span * u + a;
    } while (v == b);
    return v;
}

double SeededRandomNumberGenerator::realInClosedRange(double a, double b) {
    constexpr std::uint64_t top = std::uint64_t{1} << 53;
    const std::uint64_t r = next(top + 1);
    if (r == top)
        return b;
    return (static_cast<double>(r) * twoToMinus53) * (b - a) + a;
}

bool SeededRandomNumberGenerator::boolean() {
    return ((next() >> 17) & 1) == 0;
}

} // namespace sorvala
