// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// Whether displays sleep, over what DPMS, the compositor and the kernel's DRM connectors say.
namespace sorvala::DisplaySleep {

/// The X server's DPMS answer: DPMSCapable, then DPMSInfo's enabled flag and power level.
struct DpmsState {
    bool capable = false;
    bool enabled = false;
    int powerLevel = 0; ///< DPMSModeOn 0, Standby 1, Suspend 2, Off 3
    bool operator==(const DpmsState&) const = default;
};

/// Asleep when DPMS is there, enabled, and the level is anything but on.
bool dpmsAsleep(const DpmsState& state);

/// Mutter's DisplayConfig PowerSaveMode (0 on, 1 standby, 2 suspend, 3 off, -1 unknown):
/// asleep for 1 to 3.
bool powerSaveModeAsleep(int mode);

/// One DRM connector of /sys/class/drm (card0-HDMI-A-1, ...): its three attribute files.
struct Connector {
    std::string name;
    std::string status;  ///< "connected", "disconnected", "unknown"
    std::string enabled; ///< "enabled", "disabled"
    std::string dpms;    ///< "On", "Standby", "Suspend", "Off"
    bool operator==(const Connector&) const = default;
};

/// The connectors under `drmRoot` (/sys/class/drm): every card*-* entry, sorted by name, with
/// its attribute files read and trimmed (a missing file reads empty). Unreadable root: empty.
std::vector<Connector> readConnectors(const std::filesystem::path& drmRoot);

/// Whether every display in use (connected and enabled) sleeps, i.e. reads any DPMS level but
/// "On". Nullopt when no display is in use, so the caller falls back to the main display.
std::optional<bool> everyConnectorAsleep(const std::vector<Connector>& connectors);

} // namespace sorvala::DisplaySleep
