// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <utility>

namespace sorvala {

/// SplitMix64 and the exact rules by which its outputs become integers, reals, booleans and
/// shuffles. Every drawing depends on these rules bit for bit: changing one redraws every picture.
class SeededRandomNumberGenerator {
public:
    /// The seed becomes the state as it is; 0 is a valid seed.
    explicit SeededRandomNumberGenerator(std::uint64_t seed) : m_state(seed) {}

    /// One SplitMix64 step.
    std::uint64_t next();

    /// A value in 0 … upperBound−1 by multiply-and-reject; the bound must be positive.
    std::uint64_t next(std::uint64_t upperBound);

    /// An integer in the half-open range [a, b); needs a < b.
    std::int64_t integerInRange(std::int64_t a, std::int64_t b);

    /// An integer in the closed range [a, b]; needs a ≤ b.
    std::int64_t integerInClosedRange(std::int64_t a, std::int64_t b);

    /// A real in [a, b), never b; b − a must be positive and finite.
    double realInRange(double a, double b);

    /// A real in [a, b]; b exactly when the bounded draw over 2^53 + 1 values hits 2^53.
    double realInClosedRange(double a, double b);

    /// True when bit 17 of one output is clear.
    bool boolean();

    /// One element of a non-empty array.
    template <typename T>
    const T& element(std::span<const T> elements) {
        return elements[next(elements.size())];
    }

    /// Forward Fisher–Yates; an array of fewer than two elements draws nothing.
    template <typename T>
    void shuffle(std::span<T> elements) {
        std::size_t i = 0;
        for (std::size_t remaining = elements.size(); remaining > 1; --remaining, ++i) {
            const std::size_t j = i + next(remaining);
            if (j != i)
                std::swap(elements[i], elements[j]);
        }
    }

    /// The running state, for copying and comparing generators.
    std::uint64_t state() const { return m_state; }

private:
    std::uint64_t m_state;
};

} // namespace sorvala
