// SPDX-License-Identifier: MIT
#pragma once

#include "drawing/Stroke.h"

#include <utility>
#include <vector>

namespace sorvala {

/// A generated drawing: its strokes in drawing order and how many consecutive strokes share a colour.
class Sorvala {
public:
    Sorvala() = default;
    explicit Sorvala(std::vector<Stroke> strokes, int colorBlockSize = 1)
        : m_strokes(std::move(strokes)), m_colorBlockSize(colorBlockSize) {}

    /// The strokes, in the order the pen draws them.
    const std::vector<Stroke>& strokes() const& { return m_strokes; }
    /// Moves the strokes out of a temporary drawing, so `for (… : generate(…).strokes())` is safe.
    std::vector<Stroke> strokes() && { return std::move(m_strokes); }
    /// Strokes 0 … n−1 form colour block 0, strokes n … 2n−1 block 1, and so on.
    int colorBlockSize() const { return m_colorBlockSize; }

    bool operator==(const Sorvala&) const = default;

private:
    std::vector<Stroke> m_strokes;
    int m_colorBlockSize = 1;
};

} // namespace sorvala
