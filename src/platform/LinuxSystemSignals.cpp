// SPDX-License-Identifier: MIT
#include "platform/LinuxSystemSignals.h"

#include "platform/desktop/DesktopEntryIndex.h"
#include "platform/desktop/DesktopServices.h"
#include "platform/calendar/BackgroundCalendar.h"
#include "platform/calendar/ICalendarSources.h"
#include "platform/desktop/PipeWireScreenCapture.h"
#include "platform/audio/PulseMicrophoneMonitor.h"
#include "platform/x11/X11KeyPressTracker.h"
#include "platform/x11/X11Probes.h"
#include "platform/wayland/KWinActiveWindow.h"
#include "platform/wayland/WaylandSession.h"
#include "sensing/CalendarPause.h"
#include "sensing/DisplaySleep.h"
#include "sensing/DoNotDisturb.h"
#include "sensing/MicrophoneDetection.h"
#include "sensing/VideoDetection.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace sorvala {

namespace {

// A screencast's node comes and goes with the share; a few seconds late is soon enough.
constexpr auto pipeWireMaxAge = std::chrono::seconds(5);

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const auto& part : parts)
        out += (out.empty() ? "" : separator) + part;
    return out;
}

class LinuxSystemSignals final : public SystemSignals {
public:
    LinuxSystemSignals(Logger& log, LinuxSignalsOptions options)
        : m_log(log), m_options(std::move(options)), m_session(m_options.session.value_or(currentSession())),
          m_services(m_session, m_options.sessionBus.value_or(QDBusConnection::sessionBus()),
                     m_options.systemBus.value_or(QDBusConnection::systemBus()), m_options.dbusTimeoutMs),
          m_applications(m_options.applicationFolders),
          m_calendar(&m_log) {
        const bool x11 =
            m_session.type == LinuxSession::Type::x11 ||
            (m_session.type == LinuxSession::Type::unknown && qEnvironmentVariableIsSet("DISPLAY"));
        const bool wayland = m_session.type == LinuxSession::Type::wayland;
        const bool gnome = m_session.isGnomeFamily();

        // On Wayland, X11 answers only cover XWayland clients, so they are never asked there.
        if (x11) {
            m_x11 = std::make_unique<X11Probes>();
            if (!m_x11->isOpen())
                m_x11.reset();
            auto keys = std::make_unique<X11KeyPressTracker>();
            if (keys->isListening())
                m_keys = std::move(keys);
        }
        // Mutter offers neither Wayland protocol; its D-Bus idle monitor answers instead.
        if (wayland && !gnome) {
            m_wayland = std::make_unique<WaylandSession>(m_options.ownAppId.value_or(ownAppId()));
            if (!m_wayland->isConnected())
                m_wayland.reset();
        }
        if (m_x11 && m_x11->hasIdleTime())
            m_idle = "x11-screensaver";
        else if (gnome)
            m_idle = "mutter-idle-monitor";
        else if (m_wayland)
            m_idle = m_wayland->idleBackEnd();
        m_keyDown = m_keys ? "xinput2-raw-keys" : "none";
        if (gnome)
            m_display = "mutter-power-save";
        else if (m_x11 && m_x11->hasDpms())
            m_display = "x11-dpms";
        else
            m_display = "drm-sysfs";
        if (m_x11)
            m_frontmost = "ewmh";
        else if (m_wayland && m_wayland->tracksToplevels())
            m_frontmost = "wlr-foreign-toplevel";
        else if (m_wayland && m_session.isDesktop("KDE"))
            watchKWin();
        if (wayland) {
            m_pipeWire = std::make_unique<PipeWireScreenCapture>(
                m_options.pwDump.value_or(PipeWireScreenCapture::findProgram()), pipeWireMaxAge);
            if (!m_pipeWire->isAvailable())
                m_pipeWire.reset();
        }

        std::string line = "system signals chosen";
        for (const auto& backend : backends())
            line += " " + backend.reading + "=" + backend.choice;
        m_log.log(line);
    }

    double secondsSinceLastInput() override {
        std::optional<double> idle;
        if (m_idle == "x11-screensaver")
            idle = m_x11->idleSeconds();
        else if (m_idle == "mutter-idle-monitor")
            idle = m_services.mutterIdleSeconds();
        else if (m_wayland)
            idle = m_wayland->secondsSinceLastInput();
        return idle.value_or(0.0);
    }

    std::optional<double> secondsSinceLastKeyDown() override {
        return m_keys ? m_keys->secondsSinceLastKeyPress() : std::nullopt;
    }

    bool displayIsAsleep() override {
        if (m_display == "mutter-power-save") {
            const auto mode = m_services.mutterPowerSaveMode();
            return mode && DisplaySleep::powerSaveModeAsleep(*mode);
        }
        if (m_display == "x11-dpms") {
            const auto state = m_x11->dpms();
            return state && DisplaySleep::dpmsAsleep(*state);
        }
        return drmEveryDisplayAsleep().value_or(false);
    }

    bool everyDisplayIsAsleep() override {
        // DPMS and Mutter's power-save mode hold for every display at once.
        if (displayIsAsleep())
            return true;
        return drmEveryDisplayAsleep().value_or(false);
    }

    std::optional<std::string> frontmostApplicationBundleIdentifier() override {
        if (m_frontmost == "wlr-foreign-toplevel")
            return WaylandReadings::applicationId(m_wayland->focusedToplevel(), m_applications.entries(),
                                                  m_wayland->ownAppId());
        if (m_frontmost == "kwin-script")
            return WaylandReadings::applicationId(m_kwin->activeWindow(), m_applications.entries(),
                                                  m_wayland->ownAppId());
        if (!m_x11)
            return std::nullopt;
        const auto window = m_x11->activeWindow();
        std::string cgroup;
        if (window && window->processId)
            cgroup = readFile("/proc/" + std::to_string(*window->processId) + "/cgroup");
        return FrontmostApplication::applicationId(window, m_applications.entries(), cgroup, ownPid());
    }

    bool frontmostApplicationIsFullscreen() override {
        if (m_frontmost == "wlr-foreign-toplevel")
            return WaylandReadings::isFullscreen(m_wayland->focusedToplevel(), m_wayland->ownAppId());
        if (m_frontmost == "kwin-script")
            return WaylandReadings::isFullscreen(m_kwin->activeWindow(), m_wayland->ownAppId());
        if (!m_x11)
            return false;
        return FrontmostApplication::isFullscreen(m_x11->activeWindow(), displays(), ownPid());
    }

    bool videoPlaying() override { return VideoDetection::videoPlaying(m_services.idleInhibitorCounts()); }

    bool microphoneInUse() override {
        // Connected at the first question: a program never asked maps no sound library. The
        // application asks again long before a break could depend on the answer.
        if (!m_microphone) {
            m_microphone = std::make_unique<PulseMicrophoneMonitor>(&m_log);
            if (m_options.microphoneWaitsForLists)
                m_microphone->settle(std::chrono::milliseconds(500));
        }
        if (const auto answer = m_microphone->microphoneInUse())
            return *answer;
        if (m_microphone->failed())
            return MicrophoneDetection::alsaCaptureRunning(m_options.procAsound);
        return false;
    }

    bool screenCaptured() override { return m_pipeWire && m_pipeWire->screenCaptured(); }

    bool doNotDisturbActive() override {
        return DoNotDisturb::doNotDisturbOn(m_services.doNotDisturbReadings());
    }

    bool calendarAccessGranted(const std::vector<std::string>& sources) override {
        for (const auto& source : sources)
            if (ICalendarSources::isReadable(source))
                return true;
        return false;
    }

    bool calendarEventInProgress(const std::vector<std::string>& sources, Instant now) override {
        if (sources.empty())
            return false;
        if (m_options.calendarWaitsForReading) {
            m_calendar.eventInProgress(sources, now);
            m_calendar.waitUntilRead();
        }
        return m_calendar.eventInProgress(sources, now);
    }

    bool screenRecordingGranted() override { return true; }

    void lockScreen() override { m_services.lockScreen(); }

    std::vector<Backend> backends() override {
        std::string microphone = m_microphone && m_microphone->failed() ? "alsa-proc" : "pulseaudio";
        return {
            {"session", m_session.describe()},
            {"idle", m_idle},
            {"keyDown", m_keyDown},
            {"display", m_display},
            {"everyDisplay", m_display == "drm-sysfs" ? m_display : m_display + "+drm-sysfs"},
            {"frontmostApp", m_frontmost},
            {"fullscreen", m_frontmost},
            {"video", join(m_services.inhibitorSources(), "+")},
            {"microphone", microphone},
            {"screenCapture", m_pipeWire ? "pipewire" : "none"},
            {"doNotDisturb", "notification-server"},
            {"calendar", "icalendar-files"},
            {"lock", m_services.lockerChoice()},
        };
    }

private:
    std::optional<bool> drmEveryDisplayAsleep() const {
        return DisplaySleep::everyConnectorAsleep(DisplaySleep::readConnectors(m_options.drmRoot));
    }

    // KWin lists no windows to other clients; a script of ours inside it reports the active one.
    void watchKWin() {
        m_kwin = std::make_unique<KWinActiveWindow>(m_options.sessionBus.value_or(QDBusConnection::sessionBus()));
        if (m_kwin->isWatching())
            m_frontmost = "kwin-script";
        else
            m_kwin.reset();
    }

    static std::uint32_t ownPid() { return static_cast<std::uint32_t>(getpid()); }

    // The app id Qt gives our Wayland windows: the desktop-file name when set, else the program's.
    static std::string ownAppId() {
        const QString desktopFile = QGuiApplication::desktopFileName();
        if (!desktopFile.isEmpty())
            return desktopFile.toStdString();
        return QFileInfo(QCoreApplication::applicationFilePath()).baseName().toStdString();
    }

    std::vector<FrontmostApplication::Rect> displays() const {
        if (m_options.displays)
            return m_options.displays();
        std::vector<FrontmostApplication::Rect> rects;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            for (const QScreen* screen : QGuiApplication::screens()) {
                // X11 reports device pixels; Qt's screen geometry is in scaled ones.
                const QRect g = screen->geometry();
                const double ratio = screen->devicePixelRatio();
                rects.push_back({int(g.x() * ratio), int(g.y() * ratio), int(g.width() * ratio),
                                 int(g.height() * ratio)});
            }
        }
        if (rects.empty() && m_x11)
            rects.push_back(m_x11->rootGeometry());
        return rects;
    }

    Logger& m_log;
    LinuxSignalsOptions m_options;
    LinuxSession m_session;
    DesktopServices m_services;
    DesktopEntryIndex m_applications;
    BackgroundCalendar m_calendar;
    std::unique_ptr<X11Probes> m_x11;
    std::unique_ptr<X11KeyPressTracker> m_keys;
    std::unique_ptr<PulseMicrophoneMonitor> m_microphone;
    std::unique_ptr<PipeWireScreenCapture> m_pipeWire;
    std::unique_ptr<WaylandSession> m_wayland;
    std::unique_ptr<KWinActiveWindow> m_kwin;
    std::string m_idle = "none";
    std::string m_keyDown = "none";
    std::string m_display = "none";
    std::string m_frontmost = "none";
};

} // namespace

std::unique_ptr<SystemSignals> makeLinuxSystemSignals(Logger& log, LinuxSignalsOptions options) {
    return std::make_unique<LinuxSystemSignals>(log, std::move(options));
}

} // namespace sorvala
