// SPDX-License-Identifier: MIT
#include "updater/UpdatePresentation.h"

#include "i18n/I18n.h"

#include <variant>

namespace sorvala::UpdatePresentation {

namespace {

template <class... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

Button closeButton() {
    return {i18nc("update card button", "Close"), Action::close};
}

Button laterButton() {
    return {i18nc("update card button", "Later"), Action::close};
}

} // namespace

std::string line(const Version& version) {
    // TRANSLATORS: %1 is a version such as 1.4.2, %2 a build number.
    return i18n("Sorvala %1 (build %2)", version.name, version.build);
}

Card card(const State& state) {
    return std::visit(
        Overloaded{
            [](const Checking& s) {
                return Card{line(s.current), i18n("Checking for updates…"), Icon::badgeCheck, Accent::neutral, {}, {}, {}};
            },
            [](const UpToDate& s) {
                // TRANSLATORS: %1 is a version line such as "Sorvala 1.4.2 (build 42)".
                return Card{i18n("You're up to date"), i18n("%1 is the latest version.", line(s.current)),
                            Icon::badgeCheck, Accent::green, {}, {}, {closeButton()}};
            },
            [](const Available& s) {
                return Card{i18n("Sorvala %1 is available", s.newVersion),
                            // TRANSLATORS: %1 is a version line such as "Sorvala 1.4.2 (build 42)".
                            i18n("You have %1. Sorvala will download it, replace itself, and relaunch.",
                                 line(s.current)),
                            Icon::badgeCheck,
                            Accent::blue,
                            {},
                            {},
                            {{i18n("Download & Install"), Action::downloadAndInstall}, laterButton()}};
            },
            [](const Downloading& s) {
                return Card{i18n("Updating to Sorvala %1", s.newVersion),
                            i18n("Sorvala will replace itself and relaunch when the update is ready."),
                            Icon::badgeCheck,
                            Accent::blue,
                            s.progress,
                            s.step.empty() ? s.step : i18n(s.step.c_str()),
                            {}};
            },
            [](const ReadyToInstall& s) {
                return Card{i18n("Sorvala %1 is ready", s.newVersion),
                            i18n("Restart Sorvala to finish installing the update."), Icon::badgeCheck, Accent::green,
                            {}, {}, {{i18n("Restart Now"), Action::restartNow}, laterButton()}};
            },
            [](const Failed& s) {
                return Card{i18n("Update failed"), s.message, Icon::triangleAlert, Accent::amber, {}, {},
                            {{i18n("Retry"), Action::retry}, closeButton()}};
            },
            [](const UpdatedElsewhere& s) {
                return Card{line(s.current), s.message, Icon::badgeCheck, Accent::neutral, {}, {}, {closeButton()}};
            },
        },
        state);
}

std::string websitePointer() {
    return i18n("You can download the latest Sorvala from https://sorvala.app and install it by hand.");
}

std::string noAnswerMessage() {
    return i18n("The update server didn't answer. Check your internet connection and try again.") + " " +
           websitePointer();
}

std::string untrustedMessage() {
    return i18n("The update pointed somewhere unexpected and was not installed.") + " " + websitePointer();
}

std::string downloadFailedMessage() {
    return i18n("The download didn't finish.") + " " + websitePointer();
}

std::string installFailedMessage(const std::string& description) {
    // The installer's fixed descriptions are in the catalogue; a failed command's stays as it is.
    return (description.empty() ? description : i18n(description.c_str())) + " " + websitePointer();
}

std::string launchFailedMessage() {
    return i18n("Couldn't launch the installer.") + " " + websitePointer();
}

std::string packageManagerMessage() {
    return i18n("Updates for this Sorvala come from your system's package manager.");
}

std::string installedElsewhereMessage() {
    return i18n("Updates for this Sorvala come from where it was installed.");
}

} // namespace sorvala::UpdatePresentation
