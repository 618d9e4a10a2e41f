// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <vector>

namespace sorvala {

/// Recognises a brisk side-to-side shake of the pointer: four turns, each after a swing of at
/// least 20 points, within 1.5 seconds. Slow drifts and small jitters never count.
class ShakeDetector {
public:
    static constexpr double minimumSwingPoints = 20;
    static constexpr int reversalsRequired = 4;
    static constexpr double windowSeconds = 1.5;

    /// Feeds one pointer position `x` seen at `at` (seconds); true exactly when it completes a shake.
    bool addSample(double x, double at);

private:
    std::optional<double> m_lastX;
    double m_direction = 0;
    double m_swingStartX = 0;
    std::vector<double> m_reversalTimes;
};

} // namespace sorvala
