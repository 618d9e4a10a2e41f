// SPDX-License-Identifier: MIT
#include "core/EnforcementTier.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "i18n/I18n.h"

namespace sorvala {

std::string_view text(EnforcementTier tier) {
    switch (tier) {
    case EnforcementTier::casual: return "casual";
    case EnforcementTier::balanced: return "balanced";
    case EnforcementTier::hardcore: return "hardcore";
    }
    return "casual";
}

std::optional<EnforcementTier> enforcementTierFromText(std::string_view word) {
    for (const auto tier : allEnforcementTiers)
        if (text(tier) == word)
            return tier;
    return std::nullopt;
}

EnforcementTier storedEnforcementTier(const std::optional<std::string>& storedValue) {
    if (!storedValue)
        return EnforcementTier::casual;
    return enforcementTierFromText(*storedValue).value_or(EnforcementTier::casual);
}

EnforcementTier storedEnforcementTier(const PreferencesStore& store, BreakEvent::Kind kind) {
    const auto key = kind == BreakEvent::Kind::micro ? SettingsSchema::enforcementMicroBreaksKey
                                                     : SettingsSchema::enforcementLongBreaksKey;
    return storedEnforcementTier(store.text(key));
}

std::string displayName(EnforcementTier tier) {
    switch (tier) {
    case EnforcementTier::casual: return i18n("Casual — skip anytime");
    case EnforcementTier::balanced:
        // TRANSLATORS: %1 is a number of seconds; "s" abbreviates seconds.
        return i18n("Balanced — skip after %1 s", balancedSkipDelaySeconds);
    case EnforcementTier::hardcore: return i18n("Hardcore — no skipping");
    }
    return i18n("Casual — skip anytime");
}

EnforcementTier migratedEnforcementTier(bool fromStrict) {
    return fromStrict ? EnforcementTier::hardcore : EnforcementTier::casual;
}

bool canSkip(EnforcementTier tier, double afterElapsedSeconds) {
    switch (tier) {
    case EnforcementTier::casual: return true;
    case EnforcementTier::balanced: return afterElapsedSeconds >= balancedSkipDelaySeconds;
    case EnforcementTier::hardcore: return false;
    }
    return true;
}

} // namespace sorvala
