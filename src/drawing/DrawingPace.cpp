// SPDX-License-Identifier: MIT
#include "drawing/DrawingPace.h"

#include <algorithm>
#include <cmath>

namespace sorvala::DrawingPace {

namespace {
constexpr double pi = 3.141592653589793;
}

double effectiveSpeed(double totalInkLength, double speed) {
    double ratio = totalInkLength / referenceInkLength;
    if (!(ratio > minimumLengthFactor)) // also catches NaN
        ratio = minimumLengthFactor;
    else if (ratio > maximumLengthFactor)
        ratio = maximumLengthFactor;
    return speed * pointsPerSecondPerLevel * ratio;
}

double drawingSeconds(double totalInkLength, double speed) {
    return totalInkLength / effectiveSpeed(totalInkLength, speed);
}

double easeFactor(double strokeFraction) {
    return std::sin(strokeFraction * pi) * easeDepth + easeFloor;
}

double penLiftSeconds(int strokeCount) {
    return std::min(penLiftBudgetSeconds / std::max(strokeCount - 1, 1), maximumPenLiftSeconds);
}

double widthFactor(double inkDistance) {
    return 1 + widthWaveDepth * std::sin(inkDistance / widthWaveLength);
}

double spendFrame(double elapsed, double liftOwed, const std::function<TravelOutcome(double)>& travel) {
    if (elapsed <= 0)
        return liftOwed;
    for (;;) {
        const double spent = std::min(liftOwed, elapsed);
        const double remaining = elapsed - spent;
        if (remaining <= 0)
            return liftOwed - spent;
        const TravelOutcome outcome = travel(remaining);
        if (outcome.unspent > 0 && outcome.unspent < remaining) {
            elapsed = outcome.unspent;
            liftOwed = outcome.liftOwed;
            continue;
        }
        return outcome.liftOwed;
    }
}

int estimatedMinutesPerDrawing(double speed) {
    const double minutes = referenceInkLength / (speed * pointsPerSecondPerLevel) / 60;
    const double rounded = std::round(minutes); // halves away from zero
    if (!(rounded >= 1))
        return 1;
    return rounded > 1e6 ? 1000000 : static_cast<int>(rounded);
}

std::string estimateDescription(double speed) {
    const int minutes = estimatedMinutesPerDrawing(speed);
    return "about " + std::to_string(minutes) + " minute" + (minutes >= 2 ? "s" : "") + " for a typical sorvala";
}

} // namespace sorvala::DrawingPace
