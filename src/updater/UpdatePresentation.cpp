// SPDX-License-Identifier: MIT
#include "updater/UpdatePresentation.h"

#include <variant>

namespace sorvala::UpdatePresentation {

namespace {

template <class... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

const Button closeButton{"Close", Action::close};
const Button laterButton{"Later", Action::close};

} // namespace

std::string line(const Version& version) {
    return "Sorvala " + version.name + " (build " + std::to_string(version.build) + ")";
}

Card card(const State& state) {
    return std::visit(
        Overloaded{
            [](const Checking& s) {
                return Card{line(s.current), "Checking for updates…", Icon::badgeCheck, Accent::neutral, {}, {}, {}};
            },
            [](const UpToDate& s) {
                return Card{"You're up to date", line(s.current) + " is the latest version.",
                            Icon::badgeCheck, Accent::green, {}, {}, {closeButton}};
            },
            [](const Available& s) {
                return Card{"Sorvala " + s.newVersion + " is available",
                            "You have " + line(s.current) +
                                ". Sorvala will download it, replace itself, and relaunch.",
                            Icon::badgeCheck,
                            Accent::blue,
                            {},
                            {},
                            {{"Download & Install", Action::downloadAndInstall}, laterButton}};
            },
            [](const Downloading& s) {
                return Card{"Updating to Sorvala " + s.newVersion,
                            "Sorvala will replace itself and relaunch when the update is ready.",
                            Icon::badgeCheck,
                            Accent::blue,
                            s.progress,
                            s.step,
                            {}};
            },
            [](const ReadyToInstall& s) {
                return Card{"Sorvala " + s.newVersion + " is ready", "Restart Sorvala to finish installing the update.",
                            Icon::badgeCheck, Accent::green, {}, {}, {{"Restart Now", Action::restartNow}, laterButton}};
            },
            [](const Failed& s) {
                return Card{"Update failed", s.message, Icon::triangleAlert, Accent::amber, {}, {},
                            {{"Retry", Action::retry}, closeButton}};
            },
            [](const UpdatedElsewhere& s) {
                return Card{line(s.current), s.message, Icon::badgeCheck, Accent::neutral, {}, {}, {closeButton}};
            },
        },
        state);
}

std::string websitePointer() {
    return "You can download the latest Sorvala from https://sorvala.app and install it by hand.";
}

std::string noAnswerMessage() {
    return "The update server didn't answer. Check your internet connection and try again. " + websitePointer();
}

std::string untrustedMessage() {
    return "The update pointed somewhere unexpected and was not installed. " + websitePointer();
}

std::string downloadFailedMessage() {
    return "The download didn't finish. " + websitePointer();
}

std::string installFailedMessage(const std::string& description) {
    return description + " " + websitePointer();
}

std::string launchFailedMessage() {
    return "Couldn't launch the installer. " + websitePointer();
}

std::string packageManagerMessage() {
    return "Updates for this Sorvala come from your system's package manager.";
}

std::string installedElsewhereMessage() {
    return "Updates for this Sorvala come from where it was installed.";
}

} // namespace sorvala::UpdatePresentation
