// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopServices.h"

#include "platform/desktop/GSettingsValue.h"
#include "sensing/VideoDetection.h"

#include <QDBusArgument>

#include <unistd.h>

namespace sorvala {

namespace {

const QString notificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");

// gnome-session's inhibit flag for "the session may not go idle".
constexpr uint gnomeInhibitIdle = 8;
// PowerDevil's policy for screen settings (dimming, blanking), what screen-saver inhibitors take.
constexpr uint plasmaChangeScreenSettings = 4;

std::optional<bool> asBool(const std::optional<QVariant>& value) {
    if (!value || !value->isValid())
        return std::nullopt;
    return value->toBool();
}

std::vector<VideoDetection::LogindInhibitor> logindInhibitors(const QVariant& value) {
    std::vector<VideoDetection::LogindInhibitor> list;
    if (!value.canConvert<QDBusArgument>())
        return list;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::ArrayType)
        return list;
    argument.beginArray();
    while (!argument.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0;
        uint pid = 0;
        argument.beginStructure();
        argument >> what >> who >> why >> mode >> uid >> pid;
        argument.endStructure();
        list.push_back(
            {what.toStdString(), who.toStdString(), why.toStdString(), mode.toStdString(), uid, pid});
    }
    argument.endArray();
    return list;
}

} // namespace

DesktopServices::DesktopServices(LinuxSession session, QDBusConnection sessionBus, QDBusConnection systemBus,
                                 int timeoutMs)
    : m_session(std::move(session)), m_sessionBus(std::move(sessionBus), timeoutMs),
      m_systemBus(std::move(systemBus), timeoutMs) {}

std::optional<double> DesktopServices::mutterIdleSeconds() {
    const auto value = m_sessionBus.call(
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    bool ok = false;
    const qulonglong ms = value ? value->toULongLong(&ok) : 0;
    return ok ? std::optional<double>(static_cast<double>(ms) / 1000.0) : std::nullopt;
}

std::optional<int> DesktopServices::mutterPowerSaveMode() {
    const auto value = m_sessionBus.property(
        QStringLiteral("org.gnome.Mutter.DisplayConfig"), QStringLiteral("/org/gnome/Mutter/DisplayConfig"),
        QStringLiteral("org.gnome.Mutter.DisplayConfig"), QStringLiteral("PowerSaveMode"));
    bool ok = false;
    const int mode = value ? value->toInt(&ok) : 0;
    return ok ? std::optional<int>(mode) : std::nullopt;
}

std::vector<std::string> DesktopServices::inhibitorSources() const {
    std::vector<std::string> sources;
    if (m_session.isGnomeFamily())
        sources.emplace_back("gnome-session");
    if (m_session.isDesktop("KDE"))
        sources.emplace_back("plasma");
    if (m_session.isDesktop("XFCE"))
        sources.emplace_back("xfce-power-manager");
    sources.emplace_back("logind");
    return sources;
}

std::map<std::string, int> DesktopServices::idleInhibitorCounts() {
    std::map<std::string, int> counts;
    for (const std::string& source : inhibitorSources()) {
        std::optional<bool> inhibited;
        if (source == "gnome-session") {
            inhibited = asBool(m_sessionBus.call(QStringLiteral("org.gnome.SessionManager"),
                                                 QStringLiteral("/org/gnome/SessionManager"),
                                                 QStringLiteral("org.gnome.SessionManager"),
                                                 QStringLiteral("IsInhibited"), {gnomeInhibitIdle}));
        } else if (source == "plasma") {
            inhibited =
                asBool(m_sessionBus.call(QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent"),
                                         QStringLiteral("/org/kde/Solid/PowerManagement/PolicyAgent"),
                                         QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent"),
                                         QStringLiteral("HasInhibition"), {plasmaChangeScreenSettings}));
        } else if (source == "xfce-power-manager") {
            inhibited = asBool(m_sessionBus.call(QStringLiteral("org.freedesktop.PowerManagement"),
                                                 QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                                                 QStringLiteral("org.freedesktop.PowerManagement.Inhibit"),
                                                 QStringLiteral("HasInhibit")));
        } else if (source == "logind") {
            const auto list = m_systemBus.call(
                QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("ListInhibitors"));
            if (list)
                counts[source] = VideoDetection::idleInhibitorCount(logindInhibitors(*list), getuid(),
                                                                    static_cast<std::uint32_t>(getpid()));
            continue;
        }
        if (inhibited)
            counts[source] = *inhibited ? 1 : 0;
    }
    return counts;
}

std::optional<std::string> DesktopServices::notificationServerName() {
    const auto name = m_sessionBus.call(notificationsService, notificationsPath, notificationsService,
                                        QStringLiteral("GetServerInformation"));
    if (!name || name->toString().isEmpty())
        return std::nullopt;
    return name->toString().toStdString();
}

std::optional<bool> DesktopServices::readFlag(DoNotDisturb::Source source) {
    using DoNotDisturb::Source;
    switch (source) {
    case Source::plasma:
        return asBool(m_sessionBus.property(notificationsService, notificationsPath, notificationsService,
                                            QStringLiteral("Inhibited")));
    case Source::dunst:
        return asBool(m_sessionBus.property(notificationsService, notificationsPath,
                                            QStringLiteral("org.dunstproject.cmd0"),
                                            QStringLiteral("paused")));
    case Source::xfce: {
        const auto value =
            m_sessionBus.call(QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf"),
                              QStringLiteral("org.xfce.Xfconf"), QStringLiteral("GetProperty"),
                              {QStringLiteral("xfce4-notifyd"), QStringLiteral("/do-not-disturb")});
        if (!value)
            return std::nullopt;
        if (value->canConvert<QDBusVariant>())
            return value->value<QDBusVariant>().variant().toBool();
        return value->toBool();
    }
    case Source::gnome: return gsettingsBoolean("org.gnome.desktop.notifications", "show-banners");
    case Source::cinnamon:
        return gsettingsBoolean("org.cinnamon.desktop.notifications", "display-notifications");
    case Source::mako: return std::nullopt; // needs a helper program; not asked
    }
    return std::nullopt;
}

std::vector<DoNotDisturb::Reading> DesktopServices::doNotDisturbReadings() {
    std::vector<DoNotDisturb::Reading> readings;
    const auto server = notificationServerName();
    if (!server)
        return readings;
    const auto source = DoNotDisturb::sourceForServer(*server);
    if (!source)
        return readings;
    DoNotDisturb::Reading reading;
    reading.source = *source;
    reading.flag = readFlag(*source);
    readings.push_back(std::move(reading));
    return readings;
}

std::string DesktopServices::lockerChoice() {
    // GNOME also owns org.freedesktop.ScreenSaver, but answers Lock there with NotSupported.
    if (m_sessionBus.isOwned(QStringLiteral("org.gnome.ScreenSaver")))
        return "gnome-screensaver";
    if (m_sessionBus.isOwned(QStringLiteral("org.freedesktop.ScreenSaver")))
        return "freedesktop-screensaver";
    return "logind";
}

void DesktopServices::lockScreen() {
    const std::string choice = lockerChoice();
    if (choice == "gnome-screensaver")
        m_sessionBus.send(QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver"),
                          QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("Lock"));
    else if (choice == "freedesktop-screensaver")
        m_sessionBus.send(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/ScreenSaver"),
                          QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("Lock"));
    else
        m_systemBus.send(QStringLiteral("org.freedesktop.login1"),
                         QStringLiteral("/org/freedesktop/login1/session/auto"),
                         QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Lock"));
}

} // namespace sorvala
