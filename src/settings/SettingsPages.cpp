// SPDX-License-Identifier: MIT
#include "settings/SettingsPages.h"

#include "app/SettingsSchema.h"
#include "core/EnforcementTier.h"
#include "drawing/AppearanceKeys.h"
#include "drawing/Settings.h"
#include "notices/SoundDesign.h"
#include "sensing/Sensors.h"

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
    return makeRow(RowKind::volume, key, "Volume");
}

Row command(std::string_view key, std::string label) {
    Row row = makeRow(RowKind::command, key, std::move(label));
    row.placeholder = "notify-send \"Break\" or /path/to/script";
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
            {std::string(Appearance::displayName(static_cast<Settings::Ink>(code))), std::int64_t(code)});
    return choices;
}

std::vector<Page> buildPages() {
    std::vector<Page> pages;
    pages.push_back(
        {"Schedule",
         "When breaks happen and how long they last.",
         "alarm",
         {
             {"Rhythm",
              "",
              {number(reminderMinutesKey, "Break every", "minutes", "0 turns the interval off.")}},
             {"Micro breaks",
              "Twenty seconds looking away, on its own cadence.",
              {number(microMinutesKey, "Micro break every", "minutes", "0 turns micro breaks off."),
               toggle(breakCycleEnabledKey, "Long break every Nth micro break",
                      "Replaces the independent \"Break every\" timer while micro breaks are on."),
               number(breakCycleLengthKey, "Cycle length", "breaks")}},
             {"Planned breaks",
              "Breaks at fixed clock times, alongside the interval. A time outside your quiet hours "
              "(Delays) never fires.",
              {special(RowKind::plannedTimes, fixedBreakTimesKey)}},
         }});
    pages.push_back({"Breaks",
                     "How firmly breaks are enforced, and the ways out.",
                     "preferences-desktop-screensaver",
                     {
                         {"Enforcement",
                          "Casual breaks are easy to dismiss; hardcore breaks insist.",
                          {choice(enforcementLongBreaksKey, "Long breaks", tierChoices()),
                           choice(enforcementMicroBreaksKey, "Micro breaks", tierChoices()),
                           toggle(lockScreenOnBreakStartKey, "Lock the screen when a long break starts")}},
                         {"Escape hatches",
                          "",
                          {toggle(doubleEscapeSkipsKey, "Double-press Escape skips the break",
                                  "A single accidental Escape no longer ends the break."),
                           toggle(endNearlyDoneKey, "End break early when nearly done", nearlyDoneNote())}},
                     }});
    pages.push_back(
        {"Delays",
         "Three ways a break waits: you ask for one later, you set a quiet period, or the app waits while "
         "you're busy.",
         "media-playback-pause",
         {
             {"Later",
              "You, deliberately, for this one break — the menu, the shortcuts, the heads-up. Every one of "
              "them spends "
              "the same budget.",
              {number(snoozesPerSessionKey, "Snoozes per break", "snoozes"),
               number(snoozesPerDayKey, "Snoozes per day", "snoozes", "0 means no limit."),
               toggle(showSnoozesRemainingKey, "Show snoozes remaining in the heads-up")}},
             {"Quiet",
              "You, in advance, for a period. Breaks stop outside these hours and on unchecked days. Pause "
              "from the "
              "menu bar is the same verb, asked for on the spot.",
              {toggle(workingHoursEnabledKey, "Only within working hours"),
               special(RowKind::workingHours, workingHoursStartMinutesKey, "Hours"),
               special(RowKind::weekdays, workingWeekdaysMaskKey, "Days")}},
             {"Wait",
              "The app, while you're busy. A waiting break starts by itself the moment you're free — it is "
              "never "
              "lost. Always counts as busy: " +
                  Sensors::alwaysOnCauseLabels() + ".",
              {toggle(pauseDuringVideoKey, "Also wait while a video is playing",
                      "Any app, even in a window. Keep-awake utilities look the same and will also hold "
                      "breaks."),
               toggle(pauseDuringCalendarEventsKey, "Also wait during calendar events",
                      "All-day events don't count. Asks for calendar access when you turn this on."),
               special(RowKind::calendarSources, calendarSourcesKey, "Calendars"),
               toggle(pauseDuringScreenCaptureKey, "Also wait while the screen is recorded or shared",
                      screenCaptureNote),
               toggle(smartPauseAlertsKey, "Tell me when a break is waiting",
                      "One notification naming what it is waiting for."),
               choice(smartPauseCooldownSecondsKey, "Keep waiting after you're free",
                      labelledChoices(smartPauseCooldownSecondsKey,
                                      {"Off", "30 seconds", "1 minute", "2 minutes", "5 minutes"}))}},
             {"Apps that mean busy",
              "Breaks wait while any of these is frontmost.",
              {special(RowKind::busyApps, excludedAppBundleIdentifiersKey)}},
         }});
    pages.push_back(
        {"Notifications",
         "Heads-ups before a break, and nudges after one is due.",
         "preferences-system-notifications",
         {
             {"Pre-break countdown",
              "A floating countdown that blurs the screen as the break approaches, replacing the heads-up "
              "notification.",
              {toggle(preBreakOverlayKey, "On-screen countdown instead of a notification"),
               choice(preBreakOverlayPositionKey, "Position",
                      {{"Top left", std::int64_t(0)},
                       {"Top center", std::int64_t(1)},
                       {"Top right", std::int64_t(2)}})}},
             {"Overtime",
              "A small floating badge once you work past the break interval. Shake the cursor to dismiss "
              "it.",
              {toggle(overtimeNudgeKey, "Nudge when overdue for a break"),
               toggle(overtimeNudgeWhilePausedKey, "Show even while paused")}},
             {"Menu bar", "", {toggle(menuBarCountdownKey, "Show countdown to next break")}},
         }});
    pages.push_back(
        {"Sound",
         "Everything is silent unless turned on here.",
         "audio-volume-high",
         {
             {"Breaks",
              "",
              {toggle(softChimeEnabledKey, "Soft chime when a break starts and ends"),
               choice(soundPairKey, "Sound pair", soundPairChoices()), volume(breaksSoundVolumeKey)}},
             {"Reminders",
              "",
              {toggle(reminderSoundEnabledKey, "Chime with the break heads-up"),
               toggle(smartPauseSoundEnabledKey, "Chime when a break is waiting"),
               toggle(activeAfterIdleSoundEnabledKey, "Chime when you return from being away"),
               volume(remindersSoundVolumeKey)}},
             {"Nudges",
              "",
              {toggle(overtimeNudgeSoundEnabledKey, "Chime when the overtime nudge appears"),
               volume(nudgesSoundVolumeKey)}},
         }});
    pages.push_back(
        {"Wellness",
         "Brief posture and blink glyphs between breaks.",
         "emblem-favorite",
         {
             {"",
              "A small glyph, top centre, for six seconds. It stays out of screen recordings and waits "
              "while you're busy.",
              {toggle(wellnessPostureKey, "Posture reminders"), toggle(wellnessBlinkKey, "Blink reminders"),
               choice(wellnessIntervalMinutesKey, "Cadence",
                      labelledChoices(wellnessIntervalMinutesKey,
                                      {"Every 5 minutes", "Every 10 minutes", "Every 15 minutes",
                                       "Every 20 minutes", "Every 30 minutes"}))}},
         }});
    pages.push_back(
        {"Appearance",
         "How the sorvala looks while it draws.",
         "preferences-desktop-theme",
         {
             {"Canvas",
              "★ marks the recommended pace. A long break lasts as long as its sorvala takes to draw, and "
              "the "
              "sparsest drawings finish sooner.",
              {choice(AppearanceKeys::themeKey, "Theme",
                      {{"Paper", std::int64_t(0)},
                       {"Dark", std::int64_t(1)},
                       {"Match system", std::int64_t(2)},
                       {"Random", std::int64_t(3)}}),
               choice(AppearanceKeys::styleKey, "Style",
                      {{"Pencil", std::int64_t(0)}, {"Brush", std::int64_t(1)}, {"Random", std::int64_t(2)}}),
               choice(AppearanceKeys::inkKey, "Ink", inkChoices()),
               special(RowKind::speed, AppearanceKeys::speedKey, "Drawing speed")}},
             {"Drawings",
              "Unchecked drawings never come up. Unchecking all re-enables every drawing.",
              {special(RowKind::drawings, AppearanceKeys::enabledDrawingsKey)}},
         }});
    pages.push_back(
        {"Shortcuts",
         "Global keyboard shortcuts, available from any app.",
         "preferences-desktop-keyboard-shortcuts",
         {
             {"",
              "Click a button, then press a key combination (needs Super, Ctrl or Alt). Press Delete to "
              "clear one, Escape to cancel.",
              {special(RowKind::shortcuts, "")}},
         }});
    pages.push_back({"Automation",
                     "Run a command or script when a break starts and ends.",
                     "utilities-terminal",
                     {
                         {"Break hooks",
                          "Lights, status, Slack DND — anything scriptable. Blank = off.",
                          {command(breakStartCommandKey, "On start"), command(breakEndCommandKey, "On end")}},
                     }});
    return pages;
}

} // namespace

std::string nearlyDoneNote() {
    return "Exits in the last " + std::to_string(nearlyDoneThresholdSeconds) + " seconds count as completed.";
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
