// SPDX-License-Identifier: MIT
// sorvalactl probe: every system reading, the back ends behind them, each smart-pause cause with
// its answer and what the sweep makes of them, as the application would see them now.
#include "ProbeCommand.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "i18n/I18n.h"
#include "sensing/Sensors.h"
#include "sensing/SystemSignals.h"

#include <nlohmann/json.hpp>

#ifdef SORVALA_WITH_QT
#include "QtCommand.h"
#include "app/SettingsSchema.h"
#include "core/Clock.h"
#include "platform/LinuxSystemSignals.h"
#include "platform/QSettingsPreferencesStore.h"
#include "platform/calendar/SystemCalendar.h"

#include <QEventLoop>
#include <QTimer>
#endif

#include <algorithm>
#include <charconv>
#include <memory>

namespace sorvala::ctl {

namespace {

namespace Keys = SettingsSchema;

// TRANSLATORS: the options and the JSON field names stay as they are.
constexpr const char* help = I18N_NOOP("usage: sorvalactl probe [--json] [--watch]\n"
    "\n"
    "Reads everything Sorvala asks the system about: idle time, key presses, display sleep, the\n"
    "frontmost application, fullscreen, video, microphone, screen capture, Do Not Disturb and the\n"
    "calendar; the session and the back end behind each reading; every smart-pause cause with its\n"
    "answer under the current settings; and the sweep's result (active cause, presence proven).\n"
    "\n"
    "  --json    one JSON object per round with the fields idleSeconds, secondsSinceKeyDown,\n"
    "            displayAsleep, everyDisplayAsleep, frontmostApp, fullscreen, videoPlaying,\n"
    "            microphoneInUse, screenCaptured, doNotDisturb, calendarEvent, activeCause,\n"
    "            presenceProven, backends, causes and withinWorkingHours\n"
    "  --watch   probe again every 2 seconds until interrupted\n");

/// One smart-pause cause with the answer its probe gave in this round.
struct CauseAnswer {
    std::string label;
    bool active = false;
    std::string note; ///< why a cause cannot fire now ("switched off"), else empty
};

/// Everything one round reads.
struct Probe {
    double idleSeconds = 0;
    std::optional<double> secondsSinceKeyDown;
    bool displayAsleep = false;
    bool everyDisplayAsleep = false;
    std::optional<std::string> frontmostApp;
    bool fullscreen = false;
    bool videoPlaying = false;
    bool microphoneInUse = false;
    bool screenCaptured = false;
    bool doNotDisturb = false;
    bool calendarEvent = false;
    bool withinWorkingHours = true;
    std::vector<SystemSignals::Backend> backends;
    std::vector<CauseAnswer> causes;
    Sensors::SmartPauseReading sweep;
};

std::string causeNote(std::string_view label, const PreferencesStore& store) {
    const auto off = [&store](std::string_view key) { return !store.boolean(key); };
    if ((label == Sensors::videoLabel && off(Keys::pauseDuringVideoKey)) ||
        (label == Sensors::calendarLabel && off(Keys::pauseDuringCalendarEventsKey)) ||
        (label == Sensors::screenCaptureLabel && off(Keys::pauseDuringScreenCaptureKey)))
        return i18nc("smart-pause cause", "switched off");
    if (label == Sensors::calendarLabel && Sensors::calendarSources(store).empty())
        return i18nc("smart-pause cause", "no calendar sources");
    if (label == Sensors::excludedAppLabel && store.textList(Keys::excludedAppBundleIdentifiersKey)
                                                 .value_or(std::vector<std::string>{})
                                                 .empty())
        return i18nc("smart-pause cause", "no excluded apps");
    return {};
}

Probe takeProbe(ProbeSources& sources) {
    SystemSignals& system = sources.system;
    const Instant now = sources.now();
    Probe probe;
    probe.backends = system.backends();
    probe.idleSeconds = system.secondsSinceLastInput();
    probe.secondsSinceKeyDown = system.secondsSinceLastKeyDown();
    probe.displayAsleep = system.displayIsAsleep();
    probe.everyDisplayAsleep = system.everyDisplayIsAsleep();
    probe.frontmostApp = system.frontmostApplicationBundleIdentifier();
    probe.fullscreen = system.frontmostApplicationIsFullscreen();
    probe.videoPlaying = system.videoPlaying();
    probe.microphoneInUse = system.microphoneInUse();
    probe.screenCaptured = system.screenCaptured();
    probe.doNotDisturb = system.doNotDisturbActive();
    const auto calendarSources = Sensors::calendarSources(sources.store);
    probe.calendarEvent = !calendarSources.empty() && system.calendarEventInProgress(calendarSources, now);
    probe.withinWorkingHours = Sensors::withinWorkingHours(sources.store, sources.calendar, now);

    // Each cause is asked once; the sweep then runs over those answers, so the causes listed
    // and the sweep's result can never disagree.
    auto causes = Sensors::smartPauseCauses(system, sources.store, now);
    for (auto& cause : causes) {
        const bool active = cause.isActive();
        probe.causes.push_back({cause.menuLabel, active, causeNote(cause.menuLabel, sources.store)});
        cause.isActive = [active] { return active; };
    }
    probe.sweep = Sensors::sweepSmartPause(causes, probe.idleSeconds);
    return probe;
}

std::string seconds(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return std::string(buffer, result.ptr);
}

/// Characters, not bytes, so that translated names line up.
std::size_t characterCount(std::string_view text) {
    const auto starts = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    return static_cast<std::size_t>(starts);
}

std::string yesNo(bool value) {
    return value ? i18nc("probe answer", "yes") : i18nc("probe answer", "no");
}

void printText(std::ostream& out, const Probe& probe) {
    constexpr std::size_t width = 30;
    const auto row = [&out](std::string_view name, const std::string& value) {
        const std::size_t shown = characterCount(name);
        out << name << std::string(shown < width ? width - shown : 1, ' ') << value << '\n';
    };
    for (const auto& backend : probe.backends)
        // TRANSLATORS: %1 names a reading such as "idle".
        row(i18n("back end %1", backend.reading), backend.choice);
    row(i18nc("probe reading", "idle seconds"), seconds(probe.idleSeconds));
    const auto none = i18nc("probe answer", "none");
    row(i18nc("probe reading", "seconds since key down"),
        probe.secondsSinceKeyDown ? seconds(*probe.secondsSinceKeyDown) : i18nc("probe answer", "unavailable"));
    row(i18nc("probe reading", "display asleep"), yesNo(probe.displayAsleep));
    row(i18nc("probe reading", "every display asleep"), yesNo(probe.everyDisplayAsleep));
    row(i18nc("probe reading", "frontmost app"), probe.frontmostApp.value_or(none));
    row(i18nc("probe reading", "fullscreen"), yesNo(probe.fullscreen));
    row(i18nc("probe reading", "video playing"), yesNo(probe.videoPlaying));
    row(i18nc("probe reading", "microphone in use"), yesNo(probe.microphoneInUse));
    row(i18nc("probe reading", "screen captured"), yesNo(probe.screenCaptured));
    row(i18nc("probe reading", "do not disturb"), yesNo(probe.doNotDisturb));
    row(i18nc("probe reading", "calendar event"), yesNo(probe.calendarEvent));
    row(i18nc("probe reading", "within working hours"), yesNo(probe.withinWorkingHours));
    out << i18nc("probe reading", "smart-pause causes") << '\n';
    for (const auto& cause : probe.causes)
        row("  " + cause.label, yesNo(cause.active) + (cause.note.empty() ? "" : " (" + cause.note + ")"));
    row(i18nc("probe reading", "active cause"), probe.sweep.active ? probe.sweep.active->menuLabel : none);
    row(i18nc("probe reading", "presence proven"), yesNo(probe.sweep.presenceProven));
}

void printJson(std::ostream& out, const Probe& probe) {
    const auto optionalJson = [](const auto& value) {
        return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json();
    };
    nlohmann::ordered_json backends = nlohmann::ordered_json::object();
    for (const auto& backend : probe.backends)
        backends[backend.reading] = backend.choice;
    nlohmann::ordered_json causes = nlohmann::ordered_json::array();
    for (const auto& cause : probe.causes)
        causes.push_back({{"label", cause.label}, {"active", cause.active}});
    const nlohmann::ordered_json object{
        {"idleSeconds", probe.idleSeconds},
        {"secondsSinceKeyDown", optionalJson(probe.secondsSinceKeyDown)},
        {"displayAsleep", probe.displayAsleep},
        {"everyDisplayAsleep", probe.everyDisplayAsleep},
        {"frontmostApp", optionalJson(probe.frontmostApp)},
        {"fullscreen", probe.fullscreen},
        {"videoPlaying", probe.videoPlaying},
        {"microphoneInUse", probe.microphoneInUse},
        {"screenCaptured", probe.screenCaptured},
        {"doNotDisturb", probe.doNotDisturb},
        {"calendarEvent", probe.calendarEvent},
        {"activeCause", probe.sweep.active ? nlohmann::ordered_json(probe.sweep.active->menuLabel)
                                           : nlohmann::ordered_json()},
        {"presenceProven", probe.sweep.presenceProven},
        {"backends", backends},
        {"causes", causes},
        {"withinWorkingHours", probe.withinWorkingHours},
    };
    // One line per round, so a watch reads as JSON Lines.
    out << object.dump() << '\n';
}

} // namespace

int runProbe(const Invocation& invocation, ProbeSources& sources) {
    bool json = false;
    bool watch = false;
    for (const auto& arg : invocation.args) {
        if (arg == "--help" || arg == "-h") {
            invocation.out << i18n(help);
            return 0;
        }
        if (arg == "--json")
            json = true;
        else if (arg == "--watch")
            watch = true;
        else
            return fail(invocation, i18n("probe does not take '%1' (see sorvalactl probe --help)", arg));
    }
    for (bool first = true;; first = false) {
        if (!first && !json)
            invocation.out << '\n';
        const Probe probe = takeProbe(sources);
        if (json)
            printJson(invocation.out, probe);
        else
            printText(invocation.out, probe);
        invocation.out.flush();
        if (!watch || !sources.wait(probeWatchInterval))
            return 0;
    }
}

#ifdef SORVALA_WITH_QT

namespace {

/// Runs the event loop for `seconds`, so connections made in the background can answer.
void runEventsFor(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int probeCommand(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        invocation.out << help;
        return 0;
    }
    const auto app = coreApplicationIfMissing();
    // The adapters' diagnostics go to stderr, so --json output stays clean.
    StreamLogger log(invocation.err);
    QSettingsPreferencesStore store(log);
    SettingsSchema::registerDefaults(store);
    SystemCalendar calendar;
    SystemClock clock;
    LinuxSignalsOptions options;
    options.calendarWaitsForReading = true;
    options.microphoneWaitsForLists = true;
    const auto system = makeLinuxSystemSignals(log, std::move(options));
    // Readings that arrive in the background get a moment before the first round (the microphone's
    // first question waits for the sound server's lists itself).
    runEventsFor(0.3);
    ProbeSources sources{*system, store, calendar, [&clock] { return clock.now(); }, [](double seconds) {
                             runEventsFor(seconds);
                             return true;
                         }};
    return runProbe(invocation, sources);
}

#endif

} // namespace sorvala::ctl
