// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Whether the desktop is in Do Not Disturb, over what each notification service reports.
namespace sorvala::DoNotDisturb {

/// Where a reading came from; each service states Do Not Disturb its own way.
enum class Source {
    plasma,   ///< org.freedesktop.Notifications property "Inhibited": true in Do Not Disturb
    gnome,    ///< GSettings org.gnome.desktop.notifications show-banners: false in Do Not Disturb
    dunst,    ///< org.dunstproject.cmd0 property "paused": true in Do Not Disturb
    xfce,     ///< xfconf xfce4-notifyd /do-not-disturb: true in Do Not Disturb
    cinnamon, ///< GSettings org.cinnamon.desktop.notifications display-notifications: false in it
    mako,     ///< `makoctl mode`: the active modes, Do Not Disturb when one is "do-not-disturb"
};

/// The word of a source in logs and `sorvalactl probe`: "plasma", "gnome", ...
std::string_view text(Source source);
std::optional<Source> sourceFromText(std::string_view word);

/// One source's answer: `flag` is the value the service reports, as it reports it (not yet
/// turned into "Do Not Disturb on"); `modes` holds mako's active modes. A source that failed
/// to answer has no flag and no modes.
struct Reading {
    Source source = Source::plasma;
    std::optional<bool> flag;
    std::vector<std::string> modes;
    bool operator==(const Reading&) const = default;
};

/// Whether this one reading says Do Not Disturb; a reading without an answer says no.
bool meansDoNotDisturb(const Reading& reading);

/// True when any reading says Do Not Disturb.
bool doNotDisturbOn(const std::vector<Reading>& readings);

/// The source to ask first for the notification server named by GetServerInformation
/// ("Plasma", "gnome-shell", "dunst", "Xfce Notify Daemon", "cinnamon", "mako"); nullopt for
/// servers without a known Do Not Disturb switch.
std::optional<Source> sourceForServer(std::string_view serverName);

/// The modes of `makoctl mode` output: one per line, blanks dropped.
std::vector<std::string> parseMakoModes(std::string_view text);

} // namespace sorvala::DoNotDisturb
