// SPDX-License-Identifier: MIT
#include "settings/SettingsPages.h"

#include "app/SettingsSchema.h"
#include "core/EnforcementTier.h"
#include "drawing/AppearanceKeys.h"
#include "drawing/Settings.h"
#include "notices/SoundDesign.h"
#include "sensing/Sensors.h"

#include "i18n/I18n.h"

namespace sorvala::SettingsPages {
namespace {

using namespace SettingsSchema;

// Seconds before the end of a break in which leaving still counts as completed.
constexpr int nearlyDoneThresholdSeconds = 10;

Row makeRow(RowKind kind, std::string_view key, std::string label) {
    Row row;
    row.kind = kind;
    row.key = std::string(key);
    row.label = std::move(label);
    return row;
}

Row toggle(std::string_view key, std::string label, std::string note = {}) {
    Row row = makeRow(RowKind::toggle, key, std::move(label));
    row.note = std::move(note);
    return row;
}

Row number(std::string_view key, std::string label, std::string unit, std::string note = {}) {
    Row row = makeRow(RowKind::number, key, std::move(label));
    row.unit = std::move(unit);
    row.note = std::move(note);
    if (const auto found = byKey().find(key); found != byKey().end() && found->second->editorRange) {
        row.minimum = found->second->editorRange->minimum;
        row.maximum = found->second->editorRange->maximum;
    }
    return row;
}

Row choice(std::string_view key, std::string label, std::vector<Choice> choices) {
    Row row = makeRow(RowKind::choice, key, std::move(label));
    row.choices = std::move(choices);
    return row;
}

Row volume(std::string_view key) {
    return makeRow(RowKind::volume, key, i18n("Volume"));
}

Row command(std::string_view key, std::string label) {
    Row row = makeRow(RowKind::command, key, std::move(label));
    // TRANSLATORS: an example command; "Break" is the text the notification shows.
    row.placeholder = i18n("notify-send \"Break\" or /path/to/script");
    return row;
}

Row special(RowKind kind, std::string_view key, std::string label = {}) {
    return makeRow(kind, key, std::move(label));
}

std::vector<Choice> tierChoices() {
    std::vector<Choice> choices;
    for (const auto tier : allEnforcementTiers)
        choices.push_back({displayName(tier), std::string(text(tier))});
    return choices;
}

std::vector<Choice> labelledChoices(std::string_view key, const std::vector<std::string>& labels) {
    std::vector<Choice> choices;
    const auto& values = byKey().at(key)->editorChoices;
    for (std::size_t i = 0; i < values.size() && i < labels.size(); ++i)
        choices.push_back({labels[i], values[i]});
    return choices;
}

std::vector<Choice> soundPairChoices() {
    std::vector<Choice> choices;
    for (const auto& pair : SoundDesign::pairs)
        choices.push_back({std::string(pair.name), std::string(pair.name)});
    return choices;
}

std::vector<Choice> inkChoices() {
    std::vector<Choice> choices;
    for (int code = 0; code < Settings::inkCount; ++code)
        choices.push_back(
            {i18n(Appearance::displayName(static_cast<Settings::Ink>(code)).data()), std::int64_t(code)});
    return choices;
}

std::vector<Page> buildPages() {
    std::vector<Page> pages;
    pages.push_back(
        {i18n("Schedule"),
         i18n("When breaks happen and how long they last."),
         "alarm",
         {
             {i18n("Rhythm"),
              "",
              {number(reminderMinutesKey, i18n("Break every"), i18nc("unit after a number", "minutes"),
                      i18n("0 turns the interval off."))}},
             {i18n("Micro breaks"),
              i18n("Twenty seconds looking away, on its own cadence."),
              {number(microMinutesKey, i18n("Micro break every"), i18nc("unit after a number", "minutes"),
                      i18n("0 turns micro breaks off.")),
               toggle(breakCycleEnabledKey, i18n("Long break every Nth micro break"),
                      i18n("Replaces the independent \"Break every\" timer while micro breaks are on.")),
               number(breakCycleLengthKey, i18n("Cycle length"), i18nc("unit after a number", "breaks"))}},
             {i18n("Planned breaks"),
              i18n("Breaks at fixed clock times, alongside the interval. A time outside your quiet hours "
                   "(Delays) never fires."),
              {special(RowKind::plannedTimes, fixedBreakTimesKey)}},
         }});
    pages.push_back(
        {i18n("Breaks"),
         i18n("How firmly breaks are enforced, and the ways out."),
         "preferences-desktop-screensaver",
         {
             {i18n("Enforcement"),
              i18n("Casual breaks are easy to dismiss; hardcore breaks insist."),
              {choice(enforcementLongBreaksKey, i18n("Long breaks"), tierChoices()),
               choice(enforcementMicroBreaksKey, i18n("Micro breaks"), tierChoices()),
               toggle(lockScreenOnBreakStartKey, i18n("Lock the screen when a long break starts"))}},
             {i18n("Escape hatches"),
              "",
              {toggle(doubleEscapeSkipsKey, i18n("Double-press Escape skips the break"),
                      i18n("A single accidental Escape no longer ends the break.")),
               toggle(endNearlyDoneKey, i18n("End break early when nearly done"), nearlyDoneNote())}},
         }});
    pages.push_back(
        {i18n("Delays"),
         i18n("Three ways a break waits: you ask for one later, you set a quiet period, or the app waits "
              "while "
              "you're busy."),
         "media-playback-pause",
         {
             {i18n("Later"),
              i18n("You, deliberately, for this one break — the menu, the shortcuts, the heads-up. Every one "
                   "of "
                   "them spends "
                   "the same budget."),
              {number(snoozesPerSessionKey, i18n("Snoozes per break"),
                      i18nc("unit after a number", "snoozes")),
               number(snoozesPerDayKey, i18n("Snoozes per day"), i18nc("unit after a number", "snoozes"),
                      i18n("0 means no limit.")),
               toggle(showSnoozesRemainingKey, i18n("Show snoozes remaining in the heads-up"))}},
             {i18n("Quiet"),
              i18n("You, in advance, for a period. Breaks stop outside these hours and on unchecked days. "
                   "Pause "
                   "from the "
                   "menu bar is the same verb, asked for on the spot."),
              {toggle(workingHoursEnabledKey, i18n("Only within working hours")),
               special(RowKind::workingHours, workingHoursStartMinutesKey, i18n("Hours")),
               special(RowKind::weekdays, workingWeekdaysMaskKey, i18n("Days"))}},
             {i18n("Wait"),
              i18n("The app, while you're busy. A waiting break starts by itself the moment you're free — it "
                   "is "
                   "never lost. Always counts as busy: %1.",
                   Sensors::alwaysOnCauseLabels()),
              {toggle(pauseDuringVideoKey, i18n("Also wait while a video is playing"),
                      i18n("Any app, even in a window. Keep-awake utilities look the same and will also hold "
                           "breaks.")),
               toggle(pauseDuringCalendarEventsKey, i18n("Also wait during calendar events"),
                      i18n("All-day events don't count. Asks for calendar access when you turn this on.")),
               special(RowKind::calendarSources, calendarSourcesKey, i18n("Calendars")),
               toggle(pauseDuringScreenCaptureKey, i18n("Also wait while the screen is recorded or shared"),
                      i18n(screenCaptureNote)),
               toggle(smartPauseAlertsKey, i18n("Tell me when a break is waiting"),
                      i18n("One notification naming what it is waiting for.")),
               choice(smartPauseCooldownSecondsKey, i18n("Keep waiting after you're free"),
                      labelledChoices(smartPauseCooldownSecondsKey, {i18nc("wait after a blocker", "Off"),
                                                                     i18np("%1 second", "%1 seconds", 30),
                                                                     i18np("%1 minute", "%1 minutes", 1),
                                                                     i18np("%1 minute", "%1 minutes", 2),
                                                                     i18np("%1 minute", "%1 minutes", 5)}))}},
             {i18n("Apps that mean busy"),
              i18n("Breaks wait while any of these is frontmost."),
              {special(RowKind::busyApps, excludedAppBundleIdentifiersKey)}},
         }});
    pages.push_back(
        {i18n("Notifications"),
         i18n("Heads-ups before a break, and nudges after one is due."),
         "preferences-system-notifications",
         {
             {i18n("Pre-break countdown"),
              i18n("A floating countdown that blurs the screen as the break approaches, replacing the "
                   "heads-up "
                   "notification."),
              {toggle(preBreakOverlayKey, i18n("On-screen countdown instead of a notification")),
               choice(preBreakOverlayPositionKey, i18n("Position"),
                      {{i18nc("overlay position", "Top left"), std::int64_t(0)},
                       {i18nc("overlay position", "Top center"), std::int64_t(1)},
                       {i18nc("overlay position", "Top right"), std::int64_t(2)}})}},
             {i18n("Overtime"),
              i18n(
                  "A small floating badge once you work past the break interval. Shake the cursor to dismiss "
                  "it."),
              {toggle(overtimeNudgeKey, i18n("Nudge when overdue for a break")),
               toggle(overtimeNudgeWhilePausedKey, i18n("Show even while paused"))}},
             {i18n("Menu bar"), "", {toggle(menuBarCountdownKey, i18n("Show countdown to next break"))}},
         }});
    pages.push_back(
        {i18n("Sound"),
         i18n("Everything is silent unless turned on here."),
         "audio-volume-high",
         {
             {i18n("Breaks"),
              "",
              {toggle(softChimeEnabledKey, i18n("Soft chime when a break starts and ends")),
               choice(soundPairKey, i18n("Sound pair"), soundPairChoices()), volume(breaksSoundVolumeKey)}},
             {i18n("Reminders"),
              "",
              {toggle(reminderSoundEnabledKey, i18n("Chime with the break heads-up")),
               toggle(smartPauseSoundEnabledKey, i18n("Chime when a break is waiting")),
               toggle(activeAfterIdleSoundEnabledKey, i18n("Chime when you return from being away")),
               volume(remindersSoundVolumeKey)}},
             {i18n("Nudges"),
              "",
              {toggle(overtimeNudgeSoundEnabledKey, i18n("Chime when the overtime nudge appears")),
               volume(nudgesSoundVolumeKey)}},
         }});
    pages.push_back(
        {i18n("Wellness"),
         i18n("Brief posture and blink glyphs between breaks."),
         "emblem-favorite",
         {
             {"",
              i18n("A small glyph, top centre, for six seconds. It stays out of screen recordings and waits "
                   "while you're busy."),
              {toggle(wellnessPostureKey, i18n("Posture reminders")),
               toggle(wellnessBlinkKey, i18n("Blink reminders")),
               choice(wellnessIntervalMinutesKey, i18n("Cadence"),
                      labelledChoices(wellnessIntervalMinutesKey,
                                      {i18np("Every %1 minute", "Every %1 minutes", 5),
                                       i18np("Every %1 minute", "Every %1 minutes", 10),
                                       i18np("Every %1 minute", "Every %1 minutes", 15),
                                       i18np("Every %1 minute", "Every %1 minutes", 20),
                                       i18np("Every %1 minute", "Every %1 minutes", 30)}))}},
         }});
    pages.push_back({i18n("Appearance"),
                     i18n("How the sorvala looks while it draws."),
                     "preferences-desktop-theme",
                     {
                         {i18n("Canvas"),
                          i18n("★ marks the recommended pace. A long break lasts as long as its sorvala "
                               "takes to draw, and "
                               "the "
                               "sparsest drawings finish sooner."),
                          {choice(AppearanceKeys::themeKey, i18n("Theme"),
                                  {{i18n("Paper"), std::int64_t(0)},
                                   {i18n("Dark"), std::int64_t(1)},
                                   {i18n("Match system"), std::int64_t(2)},
                                   {i18n("Random"), std::int64_t(3)}}),
                           choice(AppearanceKeys::styleKey, i18n("Style"),
                                  {{i18n("Pencil"), std::int64_t(0)},
                                   {i18n("Brush"), std::int64_t(1)},
                                   {i18n("Random"), std::int64_t(2)}}),
                           choice(AppearanceKeys::inkKey, i18n("Ink"), inkChoices()),
                           special(RowKind::speed, AppearanceKeys::speedKey, i18n("Drawing speed"))}},
                         {i18n("Drawings"),
                          i18n("Unchecked drawings never come up. Unchecking all re-enables every drawing."),
                          {special(RowKind::drawings, AppearanceKeys::enabledDrawingsKey)}},
                     }});
    pages.push_back(
        {i18n("Shortcuts"),
         i18n("Global keyboard shortcuts, available from any app."),
         "preferences-desktop-keyboard-shortcuts",
         {
             {"",
              i18n("Click a button, then press a key combination (needs Super, Ctrl or Alt). Press Delete to "
                   "clear one, Escape to cancel."),
              {special(RowKind::shortcuts, "")}},
         }});
    pages.push_back(
        {i18n("Automation"),
         i18n("Run a command or script when a break starts and ends."),
         "utilities-terminal",
         {
             {i18n("Break hooks"),
              i18n("Lights, status, Slack DND — anything scriptable. Blank = off."),
              {command(breakStartCommandKey, i18n("On start")), command(breakEndCommandKey, i18n("On end"))}},
         }});
    return pages;
}

} // namespace

std::string nearlyDoneNote() {
    return i18np("Exits in the last %1 second count as completed.",
                 "Exits in the last %1 seconds count as completed.", nearlyDoneThresholdSeconds);
}

const std::vector<Page>& pages() {
    static const std::vector<Page> built = buildPages();
    return built;
}

const Row* rowFor(const std::string& key) {
    for (const auto& page : pages())
        for (const auto& section : page.sections)
            for (const auto& row : section.rows)
                if (row.key == key)
                    return &row;
    return nullptr;
}

} // namespace sorvala::SettingsPages
