// SPDX-License-Identifier: MIT
#pragma once

#include "i18n/I18n.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sorvala::UpdatePresentation {

/// A build as people see it.
struct Version {
    std::string name; ///< "?" when unknown
    long long build = 0;
    bool operator==(const Version&) const = default;
};

struct Checking {
    Version current;
};
struct UpToDate {
    Version current;
};
struct Available {
    Version current;
    std::string newVersion;
};
struct Downloading {
    std::string newVersion;
    double progress = 0; ///< 0 to 1
    std::string step;
};
struct ReadyToInstall {
    std::string newVersion;
};
struct Failed {
    Version current;
    std::string message;
};
/// This install is updated by something else (the package manager, or whoever installed it).
struct UpdatedElsewhere {
    Version current;
    std::string message;
};
/// What the About window shows, one card each.
using State = std::variant<Checking, UpToDate, Available, Downloading, ReadyToInstall, Failed, UpdatedElsewhere>;

enum class Icon { badgeCheck, triangleAlert };
enum class Accent { neutral, green, blue, amber };
/// What a card button does.
enum class Action { downloadAndInstall, restartNow, retry, close };

struct Button {
    std::string title;
    Action action;
    bool operator==(const Button&) const = default;
};

/// Everything one card shows; the first button is the prominent one.
struct Card {
    std::string title;
    std::string subtitle;
    Icon icon = Icon::badgeCheck;
    Accent accent = Accent::neutral;
    std::optional<double> progress; ///< a progress bar, with `step` as its label
    std::string step;
    std::vector<Button> buttons;
    bool operator==(const Card&) const = default;
};

/// "Sorvala 1.2 (build 12)".
std::string line(const Version& version);
/// The card of `state`.
Card card(const State& state);

/// The step shown under the progress bar while downloading.
inline constexpr const char* downloadingStep = I18N_NOOP("Downloading…"); ///< translated on the card

/// Where to fetch a build by hand, appended to every failure.
std::string websitePointer();
/// The feed did not answer, or answered with nothing we trust.
std::string noAnswerMessage();
/// The download address was not on the feed's own host.
std::string untrustedMessage();
/// The transfer failed or its bytes were not the ones the feed promised.
std::string downloadFailedMessage();
/// Unpacking or placing the update failed with `description`.
std::string installFailedMessage(const std::string& description);
/// The relaunch could not be started.
std::string launchFailedMessage();
/// The About window's sentence for an install the package manager owns.
std::string packageManagerMessage();
/// The About window's sentence for a build that cannot update itself.
std::string installedElsewhereMessage();

} // namespace sorvala::UpdatePresentation
