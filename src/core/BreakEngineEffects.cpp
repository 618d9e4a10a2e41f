// SPDX-License-Identifier: MIT
#include "core/BreakEngine.h"

#include <cmath>
#include <ostream>
#include <sstream>

namespace sorvala {

namespace {

// Seconds as the log writes them: whole seconds with an "s".
std::string wholeSeconds(double seconds) {
    return std::to_string(static_cast<long long>(std::trunc(seconds))) + "s";
}

} // namespace

std::ostream& operator<<(std::ostream& os, const BreakEngine::TickSuppressionChanged& effect) {
    if (!effect.reason)
        return os << "work clock running";
    return os << "work clock tick suppressed reason=" << text(*effect.reason);
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::OfferAwayUndo& effect) {
    return os << "work clock reset on return from idle; undo offered away=" << wholeSeconds(effect.awaySeconds);
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::CreditAwayRest& effect) {
    return os << "work clock reset on return from idle; no undo offered away=" << wholeSeconds(effect.seconds);
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::HoldDropped& effect) {
    return os << "break hold dropped reason=" << effect.reason;
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakDue& effect) {
    return os << "break due kind=" << text(effect.kind);
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakDropped& effect) {
    return os << "break due kind=" << text(effect.kind) << " dropped reason=" << text(effect.reason);
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakIgnored& effect) {
    return os << "break due kind=" << text(effect.kind) << " ignored reason=alreadyResting";
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakHeld& effect) {
    return os << "break due but held kind=" << text(effect.kind) << " reason=" << text(effect.block)
              << " cause=" << effect.cause.value_or("—");
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::AlertSmartPauseHold& effect) {
    return os << "smart pause holding break cause=" << effect.cause;
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::AlertBlockerStillHolding& effect) {
    return os << "break still held after " << effect.minutes << "m cause=" << effect.cause;
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::Commit& effect) {
    os << "break due kind=" << text(effect.kind) << " proceeding";
    if (effect.afterHoldSince)
        os << " heldSince=" << iso8601(*effect.afterHoldSince);
    return os;
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::ClaimScreen& effect) {
    os << "break screen taking now kind=" << text(effect.kind);
    if (effect.excusedSince)
        os << " excusedSince=" << iso8601(*effect.excusedSince);
    return os;
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::HideAwayUndo&) {
    return os << "away undo hidden";
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::RetryTypingHold&) {
    return os << "typing retry armed";
}

std::ostream& operator<<(std::ostream& os, const BreakEngine::Effect& effect) {
    std::visit([&os](const auto& e) { os << e; }, effect);
    return os;
}

std::string describe(const BreakEngine::Effect& effect) {
    std::ostringstream out;
    out << effect;
    return out.str();
}

} // namespace sorvala
