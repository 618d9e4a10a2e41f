// SPDX-License-Identifier: MIT
#include "sensing/BlockerPermission.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "core/Text.h"
#include "sensing/Sensors.h"
#include "sensing/SystemSignals.h"

namespace sorvala {

std::string_view text(BlockerPermission permission) {
    switch (permission) {
    case BlockerPermission::screenRecording: return "screenRecording";
    case BlockerPermission::calendar: return "calendar";
    }
    return "calendar";
}

std::optional<BlockerPermission> blockerPermissionFromText(std::string_view word) {
    for (const auto permission : allBlockerPermissions)
        if (text(permission) == word)
            return permission;
    return std::nullopt;
}

std::string_view title(BlockerPermission permission) {
    switch (permission) {
    case BlockerPermission::screenRecording: return "Screen Recording";
    case BlockerPermission::calendar: return "Calendar";
    }
    return "Calendar";
}

std::string_view settingKey(BlockerPermission permission) {
    switch (permission) {
    case BlockerPermission::screenRecording: return SettingsSchema::pauseDuringScreenCaptureKey;
    case BlockerPermission::calendar: return SettingsSchema::pauseDuringCalendarEventsKey;
    }
    return SettingsSchema::pauseDuringCalendarEventsKey;
}

bool needsRelaunchAfterGranting(BlockerPermission permission) {
    return permission == BlockerPermission::screenRecording;
}

std::string_view explanation(BlockerPermission permission) {
    switch (permission) {
    case BlockerPermission::calendar:
        return "Sorvala can hold your break while a meeting is on your calendar, so a break never lands in the "
               "middle of one.\n\nIt reads only whether an event is happening right now, and ignores all-day "
               "events. Titles, guests and notes are never read, and nothing leaves this computer.";
    case BlockerPermission::screenRecording:
        return "Sorvala can hold your break while you're sharing or recording your screen, so a sorvala never "
               "takes over mid-presentation.\n\nIt notices only that your desktop is sharing or recording the "
               "screen. It never captures, stores or sends any part of your screen, and nothing leaves this "
               "computer.";
    }
    return {};
}

bool isGranted(BlockerPermission permission, SystemSignals& system, const PreferencesStore& store) {
    switch (permission) {
    case BlockerPermission::screenRecording: return system.screenRecordingGranted();
    case BlockerPermission::calendar: {
        const auto sources = Sensors::calendarSources(store);
        return !sources.empty() && system.calendarAccessGranted(sources);
    }
    }
    return false;
}

std::optional<std::string> rowNote(BlockerPermission permission, bool enabled, bool granted) {
    if (!enabled || granted)
        return std::nullopt;
    return "Needs " + std::string(title(permission)) + " permission — breaks will not wait for this until " +
           "you allow it in Sorvala's settings (Delays › Wait).";
}

std::vector<BlockerPermission> ungrantedButEnabled(const std::function<bool(BlockerPermission)>& enabled,
                                                   const std::function<bool(BlockerPermission)>& granted) {
    std::vector<BlockerPermission> out;
    for (const auto permission : allBlockerPermissions)
        if (enabled(permission) && !granted(permission))
            out.push_back(permission);
    return out;
}

std::vector<BlockerPermission> ungrantedButEnabled(const PreferencesStore& store, SystemSignals& system) {
    return ungrantedButEnabled([&](BlockerPermission p) { return store.boolean(settingKey(p)); },
                               [&](BlockerPermission p) { return isGranted(p, system, store); });
}

std::optional<std::string> missingPermissionsLine(const std::vector<BlockerPermission>& permissions) {
    if (permissions.empty())
        return std::nullopt;
    std::vector<std::string> titles;
    for (const auto permission : permissions)
        titles.emplace_back(title(permission));
    return "blockers switched on without their permission: " + Text::joined(titles);
}

} // namespace sorvala
