// SPDX-License-Identifier: MIT
#include "notices/Notice.h"

#include "i18n/I18n.h"

namespace sorvala {

namespace {

Notice dialog(std::string_view title, std::string_view body, bool isWarning) {
    Notice notice;
    notice.title = std::string(title);
    notice.body = std::string(body);
    notice.isWarning = isWarning;
    return notice;
}

} // namespace

Notice::Button::Role Notice::role(long long index) const {
    if (index < 0 || index >= static_cast<long long>(buttons.size()))
        return Button::Role::dismiss;
    return buttons[static_cast<std::size_t>(index)].role;
}

Notice Notice::preBreakCapsule(bool snoozeAllowed) {
    Notice notice;
    notice.glyph = Glyph{Glyph::Type::symbol, "timer"};
    if (snoozeAllowed)
        notice.buttons.push_back({i18nc("pre-break capsule button", "Snooze 5 min"), Button::Role::snooze});
    notice.buttons.push_back({i18nc("pre-break capsule button", "Skip"), Button::Role::skip});
    return notice;
}

Notice Notice::overtimeCapsule(std::string_view text) {
    Notice notice;
    notice.glyph = Glyph{Glyph::Type::symbol, "hourglass"};
    notice.body = std::string(text);
    return notice;
}

Notice Notice::wellnessCapsule(WellnessNudge::Kind kind) {
    Notice notice;
    notice.glyph =
        Glyph{kind == WellnessNudge::Kind::posture ? Glyph::Type::posture : Glyph::Type::blinkingEye, {}};
    notice.body = std::string(WellnessNudge::message(kind));
    return notice;
}

Notice Notice::awayUndoToast(std::string_view body) {
    Notice notice;
    notice.body = std::string(body);
    notice.buttons.push_back({i18n("Undo"), Button::Role::undo});
    return notice;
}

Notice Notice::permissionRequest(std::string_view permissionTitle, std::string_view explanation,
                                 bool needsRelaunch) {
    // TRANSLATORS: %1 is the name of what is asked for, such as "Calendar".
    auto notice = dialog(i18n("Sorvala needs %1 access", permissionTitle), explanation, false);
    if (needsRelaunch)
        notice.body += "\n\n" + i18n("Your system applies this the next time Sorvala starts, so quit and reopen it "
                                      "once you've allowed it.");
    notice.buttons = {{i18n("Continue"), Button::Role::confirm}, {i18n("Not Now"), Button::Role::dismiss}};
    return notice;
}

Notice Notice::saverInstalled() {
    return dialog(i18n("Screen saver installed"),
                  i18n("Pick \u201cSorvala\u201d in your screen saver's settings. Configure it here in Sorvala."),
                  false);
}

Notice Notice::saverInstallFailed(std::string_view reason) {
    return dialog(i18n("Could not install screen saver"), reason, true);
}

Notice Notice::invalidPlannedBreaks(std::string_view body) {
    return dialog(i18n("Planned breaks can never fire"), body, true);
}

} // namespace sorvala
