// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"

#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

class PreferencesStore;

/// How far the user may skip a break on screen.
enum class EnforcementTier { casual, balanced, hardcore };

inline constexpr EnforcementTier allEnforcementTiers[] = {EnforcementTier::casual, EnforcementTier::balanced,
                                                          EnforcementTier::hardcore};
/// Seconds of a break that must pass before a balanced break may be skipped.
inline constexpr int balancedSkipDelaySeconds = 15;

/// "casual", "balanced" or "hardcore": the stored word.
std::string_view text(EnforcementTier tier);
/// The tier a word names; nullopt for a word it does not know.
std::optional<EnforcementTier> enforcementTierFromText(std::string_view word);
/// The tier of a stored text; an absent or unknown text reads as casual.
EnforcementTier storedEnforcementTier(const std::optional<std::string>& storedValue);
/// The tier of the stored setting for breaks of `kind`, read now.
EnforcementTier storedEnforcementTier(const PreferencesStore& store, BreakEvent::Kind kind);
/// The name shown in the settings window, "Casual — skip anytime" and so on.
std::string displayName(EnforcementTier tier);
/// The tier that replaces the retired strict switch: hardcore when it was on.
EnforcementTier migratedEnforcementTier(bool fromStrict);
/// Whether a break of this tier may be skipped after `afterElapsedSeconds` on screen.
bool canSkip(EnforcementTier tier, double afterElapsedSeconds);

} // namespace sorvala
