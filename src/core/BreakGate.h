// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

/// The blocks that keep a due break from starting or from taking the screen.
namespace sorvala::BreakGate {

/// What holds a due break back.
enum class Block { smartPause, cooldown, typing };
/// What the typing retry does on one firing.
enum class Retry { abandon, wait, take };

inline constexpr Block allBlocks[] = {Block::smartPause, Block::cooldown, Block::typing};

/// The block that stops a due break from being committed: a busy cause, else its cooldown.
std::optional<Block> startBlock(bool smartPauseActive, double cooldownRemaining);
/// Typing blocks when the last key press is more recent than `typingPauseSeconds`.
std::optional<Block> takeBlock(double secondsSinceKeyDown, double typingPauseSeconds);
/// The block at the moment a break would cover the screen: busy cause, then cooldown, then typing.
std::optional<Block> screenTakeBlock(bool smartPauseActive, double cooldownRemaining, double secondsSinceKeyDown,
                                     double typingPauseSeconds);
/// Whether a long break held only by typing is given up, waited on, or taken now.
Retry typingHoldRetry(bool present, double secondsSinceKeyDown, double typingPauseSeconds);

} // namespace sorvala::BreakGate

namespace sorvala {
/// "smartPause", "cooldown" or "typing": the word in log lines.
std::string_view text(BreakGate::Block block);
/// The block a word names; nullopt for a word it does not know.
std::optional<BreakGate::Block> blockFromText(std::string_view word);
} // namespace sorvala
