// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <optional>
#include <string_view>

/// When a long break on screen may end.
namespace sorvala::BreakHold {

/// How far the break's drawing has got.
enum class DrawingProgress { complete, inProgress, noRenderer };

/// complete for true, inProgress for false, noRenderer when there is no drawing to ask.
constexpr DrawingProgress drawingProgress(std::optional<bool> isComplete) {
    if (!isComplete)
        return DrawingProgress::noRenderer;
    return *isComplete ? DrawingProgress::complete : DrawingProgress::inProgress;
}
/// Whether the drawing is finished.
constexpr bool isComplete(DrawingProgress progress) { return progress == DrawingProgress::complete; }

/// The first instant the drawing was seen complete; nullopt while it is not complete.
std::optional<Instant> latchCompletedAt(std::optional<Instant> previous, DrawingProgress drawing, Instant now);
/// True `lingerSeconds` after completion, or `maximumDuration` after the start at the latest,
/// but never before an extension the user asked for.
bool longBreakCanEnd(std::optional<Instant> completedAt, Instant now, std::optional<Instant> extendedUntil,
                     std::optional<Instant> startedAt, double maximumDuration, double lingerSeconds);

} // namespace sorvala::BreakHold

namespace sorvala {
/// "complete", "inProgress" or "noRenderer": the words of the break screen's progress line.
std::string_view text(BreakHold::DrawingProgress progress);
} // namespace sorvala
