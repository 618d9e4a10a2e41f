// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

class PreferencesStore;
class SystemSignals;

/// A permission some gated smart-pause cause needs before its probe can answer. On Linux the
/// calendar is granted while at least one chosen calendar source is readable (asking opens a
/// file chooser); screen recording needs no permission and is always granted.
enum class BlockerPermission { screenRecording, calendar };

/// Every case, in case order.
inline constexpr BlockerPermission allBlockerPermissions[] = {BlockerPermission::screenRecording,
                                                              BlockerPermission::calendar};

/// The raw value, printed in logs: "screenRecording", "calendar".
std::string_view text(BlockerPermission permission);
std::optional<BlockerPermission> blockerPermissionFromText(std::string_view word);

/// The name shown to the user: "Screen Recording", "Calendar".
std::string_view title(BlockerPermission permission);
/// The boolean setting that switches the gated cause on.
std::string_view settingKey(BlockerPermission permission);
/// Whether a grant only takes effect after a relaunch.
bool needsRelaunchAfterGranting(BlockerPermission permission);
/// The text shown before asking for the permission.
std::string_view explanation(BlockerPermission permission);

/// Whether the permission is granted now (the calendar reads its sources from `store`).
bool isGranted(BlockerPermission permission, SystemSignals& system, const PreferencesStore& store);

/// The note under the setting's switch: present only while enabled and not granted.
std::optional<std::string> rowNote(BlockerPermission permission, bool enabled, bool granted);

/// The cases, in case order, that are enabled and not granted.
std::vector<BlockerPermission> ungrantedButEnabled(const std::function<bool(BlockerPermission)>& enabled,
                                                   const std::function<bool(BlockerPermission)>& granted);
/// The same with `enabled` read from each case's setting and `granted` from `isGranted`.
std::vector<BlockerPermission> ungrantedButEnabled(const PreferencesStore& store, SystemSignals& system);

/// The launch log line for permissions that are switched on but missing; nullopt when none are.
std::optional<std::string> missingPermissionsLine(const std::vector<BlockerPermission>& permissions);

} // namespace sorvala
