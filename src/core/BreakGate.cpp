// SPDX-License-Identifier: MIT
#include "core/BreakGate.h"

namespace sorvala {

namespace BreakGate {

std::optional<Block> startBlock(bool smartPauseActive, double cooldownRemaining) {
    if (smartPauseActive)
        return Block::smartPause;
    if (cooldownRemaining > 0)
        return Block::cooldown;
    return std::nullopt;
}

std::optional<Block> takeBlock(double secondsSinceKeyDown, double typingPauseSeconds) {
    if (secondsSinceKeyDown < typingPauseSeconds)
        return Block::typing;
    return std::nullopt;
}

std::optional<Block> screenTakeBlock(bool smartPauseActive, double cooldownRemaining, double secondsSinceKeyDown,
                                     double typingPauseSeconds) {
    if (const auto block = startBlock(smartPauseActive, cooldownRemaining))
        return block;
    return takeBlock(secondsSinceKeyDown, typingPauseSeconds);
}

Retry typingHoldRetry(bool present, double secondsSinceKeyDown, double typingPauseSeconds) {
    if (!present)
        return Retry::abandon;
    return secondsSinceKeyDown >= typingPauseSeconds ? Retry::take : Retry::wait;
}

} // namespace BreakGate

std::string_view text(BreakGate::Block block) {
    switch (block) {
    case BreakGate::Block::smartPause: return "smartPause";
    case BreakGate::Block::cooldown: return "cooldown";
    case BreakGate::Block::typing: return "typing";
    }
    return "smartPause";
}

std::optional<BreakGate::Block> blockFromText(std::string_view word) {
    for (const auto block : BreakGate::allBlocks)
        if (text(block) == word)
            return block;
    return std::nullopt;
}

} // namespace sorvala
