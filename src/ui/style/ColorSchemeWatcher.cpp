// SPDX-License-Identifier: MIT
#include "ui/style/ColorSchemeWatcher.h"

#include "ui/style/DconfNoticeListener.h"
#include "ui/style/DesktopAnimations.h"
#include "ui/style/PortalSettingListener.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QProcess>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace sorvala {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
/// A portal that has not answered by then counts as none.
constexpr int portalTimeoutMs = 500;
/// GNOME's interface settings: its portal backends serve them to the portal's readers too.
const QString gnomeSchema = QStringLiteral("org.gnome.desktop.interface");
const QString animationsKey = QStringLiteral("enable-animations");
const QString gnomeFolder = QStringLiteral("/org/gnome/desktop/interface/");
const QStringList gnomeKeyPaths = {gnomeFolder + colorSchemeKey, gnomeFolder + animationsKey};
const QString dconfInterface = QStringLiteral("ca.desrt.dconf.Writer");

/// The portal's Read wraps the value in a variant inside a variant.
QVariant unwrapped(QVariant value) {
    for (int depth = 0;
         depth < 4 && value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>();
         ++depth)
        value = value.value<QDBusVariant>().variant();
    return value;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

ColorSchemeWatcher::ColorSchemeWatcher(QApplication& application, QDBusConnection bus)
    : QObject(&application), m_application(application), m_bus(std::move(bus)),
      m_platformPalette(application.palette()) {
    const QByteArray forced = qgetenv("SORVALA_APPEARANCE");
    m_schemeForced = forced == "dark" || forced == "light";
    readPortal(appearanceGroup, colorSchemeKey, [this](std::optional<QVariant> answer) {
        if (answer)
            followPortal(*answer);
        else
            followGnome();
    });
}

ColorSchemeWatcher::~ColorSchemeWatcher() {
    // A read still under way when the program ends is of no more use; QProcess would complain.
    if (m_gnomeRead) {
        m_gnomeRead->disconnect(this);
        m_gnomeRead->kill();
        m_gnomeRead->waitForFinished();
    }
    followAnimations(std::nullopt);
}

std::optional<DesignTokens::Appearance> ColorSchemeWatcher::fromPortalValue(const QVariant& value) {
    bool ok = false;
    const uint scheme = unwrapped(value).toUInt(&ok);
    if (!ok)
        return std::nullopt;
    if (scheme == 1)
        return DesignTokens::Appearance::dark;
    if (scheme == 2)
        return DesignTokens::Appearance::light;
    return std::nullopt;
}

std::optional<DesignTokens::Appearance> ColorSchemeWatcher::fromGnomeValue(std::string_view value) {
    value = trimmed(value);
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        value = value.substr(1, value.size() - 2);
    if (value == "prefer-dark")
        return DesignTokens::Appearance::dark;
    if (value == "prefer-light")
        return DesignTokens::Appearance::light;
    return std::nullopt;
}

std::optional<bool> ColorSchemeWatcher::fromPortalBoolean(const QVariant& value) {
    const QVariant plain = unwrapped(value);
    if (plain.userType() != QMetaType::Bool)
        return std::nullopt;
    return plain.toBool();
}

std::optional<bool> ColorSchemeWatcher::fromGnomeBoolean(std::string_view value) {
    value = trimmed(value);
    if (value == "true")
        return true;
    if (value == "false")
        return false;
    return std::nullopt;
}

std::string_view ColorSchemeWatcher::gnomeListedValue(std::string_view listing, std::string_view key) {
    while (!listing.empty()) {
        const auto end = listing.find('\n');
        std::string_view line = listing.substr(0, end);
        listing = end == std::string_view::npos ? std::string_view() : listing.substr(end + 1);
        // "schema key value": the value is all that follows the second space.
        const auto keyStart = line.find(' ');
        if (keyStart == std::string_view::npos)
            continue;
        line.remove_prefix(keyStart + 1);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ' ')
            return trimmed(line.substr(key.size() + 1));
    }
    return {};
}

bool ColorSchemeWatcher::dconfNoticeCoversGnomeKeys(const QString& prefix, const QStringList& keys) {
    // A folder's path ends in a slash; a notice about one key gives its path and one empty key.
    const auto covers = [](const QString& path) {
        return std::any_of(gnomeKeyPaths.begin(), gnomeKeyPaths.end(), [&](const QString& keyPath) {
            return path == keyPath || (path.endsWith(QLatin1Char('/')) && keyPath.startsWith(path));
        });
    };
    if (keys.isEmpty())
        return covers(prefix);
    return std::any_of(keys.begin(), keys.end(), [&](const QString& key) { return covers(prefix + key); });
}

void ColorSchemeWatcher::readPortal(const QString& group, const QString& key,
                                    std::function<void(std::optional<QVariant>)> answered) {
    auto message = QDBusMessage::createMethodCall(portalService, portalPath, portalInterface, QStringLiteral("Read"));
    message << group << key;
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, portalTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [answered = std::move(answered)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusMessage reply = finished->reply();
                if (reply.type() != QDBusMessage::ReplyMessage)
                    answered(std::nullopt);
                else
                    answered(reply.arguments().isEmpty() ? QVariant() : reply.arguments().constFirst());
            });
}

void ColorSchemeWatcher::followPortal(const QVariant& answer) {
    auto* listener = new PortalSettingListener(this);
    connect(listener, &PortalSettingListener::changed, this,
            [this](const QString& group, const QString& key, const QVariant& value) {
                if (group == appearanceGroup && key == colorSchemeKey)
                    follow(fromPortalValue(value));
                else if (group == gnomeSchema && key == animationsKey)
                    followAnimations(fromPortalBoolean(value));
            });
    m_bus.connect(portalService, portalPath, portalInterface, QStringLiteral("SettingChanged"), listener,
                  SLOT(settingChanged(QString, QString, QDBusVariant)));
    follow(fromPortalValue(answer));
    // Only GNOME's and GTK's portal backends know GNOME's settings; others answer an error: no wish.
    readPortal(gnomeSchema, animationsKey, [](std::optional<QVariant> enabled) {
        followAnimations(enabled ? fromPortalBoolean(*enabled) : std::nullopt);
    });
}

void ColorSchemeWatcher::followGnome() {
    // dconf's service announces every write to the user's settings, from whichever process made
    // it; one that touches a GNOME key followed here is read again.
    auto* listener = new DconfNoticeListener(this);
    connect(listener, &DconfNoticeListener::notified, this, [this](const QString& prefix, const QStringList& keys) {
        if (dconfNoticeCoversGnomeKeys(prefix, keys))
            readGnome();
    });
    m_bus.connect(QString(), QString(), dconfInterface, QStringLiteral("Notify"), listener,
                  SLOT(notify(QString, QStringList, QString)));
    readGnome();
}

void ColorSchemeWatcher::readGnome() {
    if (m_gnomeRead) {
        m_readGnomeAgain = true;
        return;
    }
    // One run lists all of GNOME's interface settings, both keys among them. The tool answers
    // with an error where the schema is not installed, and is not there at all on a desktop
    // without GSettings: either way the desktop states no wish; a key not listed states none either.
    m_gnomeRead = new QProcess(this);
    m_gnomeRead->setStandardInputFile(QProcess::nullDevice());
    m_gnomeRead->setStandardErrorFile(QProcess::nullDevice());
    connect(m_gnomeRead, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const QByteArray printed = m_gnomeRead->readAllStandardOutput();
        gnomeRead(status == QProcess::NormalExit && code == 0 ? printed : QByteArray());
    });
    connect(m_gnomeRead, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            gnomeRead(QByteArray());
    });
    m_gnomeRead->start(QStringLiteral("gsettings"), {QStringLiteral("list-recursively"), gnomeSchema});
}

void ColorSchemeWatcher::gnomeRead(const QByteArray& listing) {
    m_gnomeRead->deleteLater();
    m_gnomeRead = nullptr;
    const std::string_view text(listing.constData(), size_t(listing.size()));
    follow(fromGnomeValue(gnomeListedValue(text, colorSchemeKey.toStdString())));
    followAnimations(fromGnomeBoolean(gnomeListedValue(text, animationsKey.toStdString())));
    if (std::exchange(m_readGnomeAgain, false))
        readGnome();
}

void ColorSchemeWatcher::follow(std::optional<DesignTokens::Appearance> preference) {
    if (m_schemeForced || preference == m_preference)
        return;
    m_preference = preference;
    const auto platform = DesignTokens::appearanceForBackgroundLightness(
        m_platformPalette.color(QPalette::Window).lightnessF());
    // No wish, or a wish the platform's palette already meets: the platform's own palette.
    if (!preference || *preference == platform)
        m_application.setPalette(m_platformPalette);
    else if (*preference == DesignTokens::Appearance::dark)
        m_application.setPalette(QtDesignTokens::darkPalette());
    else
        m_application.setPalette(m_application.style()->standardPalette());
}

void ColorSchemeWatcher::followAnimations(std::optional<bool> enabled) {
    DesktopAnimations::setOff(enabled == false);
}

} // namespace sorvala
