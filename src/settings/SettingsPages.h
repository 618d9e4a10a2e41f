// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"
#include "i18n/I18n.h"

#include <string>
#include <vector>

/// The settings window's nine pages: every section, row, note and footer it shows, in order.
namespace sorvala::SettingsPages {

/// What kind of control a row holds.
enum class RowKind {
    toggle,          ///< a switch, a truth value
    number,          ///< a number field with a stepper and a unit after it
    choice,          ///< a pop-up of `choices`
    volume,          ///< a slider from 0 to 1 that plays a preview
    speed,           ///< the drawing speed slider with its estimate
    command,         ///< a text field for a command line
    plannedTimes,    ///< the planned break times, each removable, and "Add Time…"
    workingHours,    ///< two time pickers: start and end of working hours
    weekdays,        ///< seven weekday check boxes
    busyApps,        ///< the applications that mean busy, each removable, and an add button
    calendarSources, ///< the calendar files and folders the calendar cause reads
    drawings,        ///< one check box per drawing
    shortcuts,       ///< one recorder per action
};

/// One entry of a pop-up.
struct Choice {
    std::string label;
    PreferenceValue value;
};

struct Row {
    RowKind kind = RowKind::toggle;
    std::string key; ///< the setting it edits; empty for rows of several settings
    std::string label;
    std::string unit; ///< shown after a number field ("minutes")
    std::string note; ///< small text under the row
    std::string placeholder;
    std::vector<Choice> choices;
    double minimum = 0; ///< number fields: the editor range
    double maximum = 0;
};

struct Section {
    std::string title; ///< may be empty
    std::string footer;
    std::vector<Row> rows;
};

struct Page {
    std::string title;
    std::string subtitle;
    std::string iconName; ///< a freedesktop icon-theme name
    std::vector<Section> sections;
};

/// The nine pages, in sidebar order.
const std::vector<Page>& pages();

/// The row that edits `key`, or nullptr.
const Row* rowFor(const std::string& key);

/// The note under "End break early when nearly done".
std::string nearlyDoneNote();

/// The row note of the planned breaks while some can never fire.
inline constexpr const char* neverFiresMark = I18N_NOOP("Never fires with these working hours");
/// The heading of the dialog that refuses a save.
inline constexpr const char* plannedRejectionTitle = I18N_NOOP("Planned breaks can never fire");
/// The note under the screen-sharing switch.
inline constexpr const char* screenCaptureNote = I18N_NOOP("Your desktop is sharing or recording the screen.");
/// The placeholders of the list rows.
inline constexpr const char* noPlannedBreaks = I18N_NOOP("No planned breaks");
inline constexpr const char* noExcludedApps = I18N_NOOP("No excluded apps");
inline constexpr const char* noCalendars = I18N_NOOP("No calendars chosen");

} // namespace sorvala::SettingsPages
