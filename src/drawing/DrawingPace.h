// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

/// How fast the pen moves, how long it pauses between strokes, how it slows at the ends of a
/// stroke, how the line width breathes and how long a drawing takes. A long break lasts as long as
/// its drawing, so this is also the model of break length.
namespace sorvala::DrawingPace {

inline constexpr double referenceInkLength = 150000;
inline constexpr double recommendedSpeed = 3.0;
inline constexpr double referenceDrawingSeconds = 180;
inline constexpr double pointsPerSecondPerLevel = 277.77777777777777;
inline constexpr double minimumLengthFactor = 0.4;
inline constexpr double maximumLengthFactor = 4.0;
inline constexpr double easeDepth = 0.5;
inline constexpr double easeFloor = 0.6816901138162093;
inline constexpr double penLiftBudgetSeconds = 5.0;
inline constexpr double maximumPenLiftSeconds = 0.18;
inline constexpr double widthWaveDepth = 0.12;
inline constexpr double widthWaveLength = 1600;

/// Pen speed in points per second before easing: sparse and dense drawings alike take about the
/// same time at one speed level.
double effectiveSpeed(double totalInkLength, double speed);

/// Seconds the pen spends travelling over the whole drawing, without pen lifts and easing.
double drawingSeconds(double totalInkLength, double speed);

/// Speed multiplier along a stroke: slow at both ends, fast in the middle, averaging 1.
double easeFactor(double strokeFraction);

/// The pause between two strokes: the lift budget shared among the gaps, at most 0.18 s each.
double penLiftSeconds(int strokeCount);

/// The slowly breathing line width multiplier at this much ink drawn so far.
double widthFactor(double inkDistance);

/// What a travel step did with its time budget.
struct TravelOutcome {
    double unspent = 0;  ///< seconds the pen did not use
    double liftOwed = 0; ///< pen-lift seconds owed after the step
};

/// Spends one frame's elapsed time: owed pen lift first, then travel, alternating as strokes end.
/// Answers the pen-lift time still owed afterwards.
double spendFrame(double elapsed, double liftOwed, const std::function<TravelOutcome(double)>& travel);

/// Whole minutes a typical drawing takes at this speed level, at least 1.
int estimatedMinutesPerDrawing(double speed);

/// "about 3 minutes for a typical sorvala".
std::string estimateDescription(double speed);

} // namespace sorvala::DrawingPace

/// What happens after a drawing is finished, when nobody stops the renderer.
namespace sorvala::SaverTiming {

/// Seconds a finished drawing stays on screen.
inline constexpr double holdSeconds = 20;
/// Seconds it then takes to fade out.
inline constexpr double fadeSeconds = 2;

} // namespace sorvala::SaverTiming
