// SPDX-License-Identifier: MIT
#include "ui/style/ColorSchemeWatcher.h"

#include "ui/style/DconfNoticeListener.h"
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
const QString gnomeSchema = QStringLiteral("org.gnome.desktop.interface");
const QString gnomeKeyPath = QStringLiteral("/org/gnome/desktop/interface/color-scheme");
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
    if (forced == "dark" || forced == "light")
        return;
    askPortal();
}

ColorSchemeWatcher::~ColorSchemeWatcher() {
    // A read still under way when the program ends is of no more use; QProcess would complain.
    if (m_gnomeRead) {
        m_gnomeRead->disconnect(this);
        m_gnomeRead->kill();
        m_gnomeRead->waitForFinished();
    }
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

bool ColorSchemeWatcher::dconfNoticeCoversGnomeKey(const QString& prefix, const QStringList& keys) {
    // A folder's path ends in a slash; a notice about one key gives its path and one empty key.
    const auto covers = [](const QString& path) {
        return path == gnomeKeyPath || (path.endsWith(QLatin1Char('/')) && gnomeKeyPath.startsWith(path));
    };
    if (keys.isEmpty())
        return covers(prefix);
    return std::any_of(keys.begin(), keys.end(), [&](const QString& key) { return covers(prefix + key); });
}

void ColorSchemeWatcher::askPortal() {
    auto message = QDBusMessage::createMethodCall(portalService, portalPath, portalInterface, QStringLiteral("Read"));
    message << appearanceGroup << colorSchemeKey;
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, portalTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        answered->deleteLater();
        const QDBusMessage reply = answered->reply();
        if (reply.type() != QDBusMessage::ReplyMessage)
            followGnome();
        else
            followPortal(reply.arguments().isEmpty() ? QVariant() : reply.arguments().constFirst());
    });
}

void ColorSchemeWatcher::followPortal(const QVariant& answer) {
    auto* listener = new PortalSettingListener(this);
    connect(listener, &PortalSettingListener::changed, this,
            [this](const QString& group, const QString& key, const QVariant& value) {
                if (group == appearanceGroup && key == colorSchemeKey)
                    follow(fromPortalValue(value));
            });
    m_bus.connect(portalService, portalPath, portalInterface, QStringLiteral("SettingChanged"), listener,
                  SLOT(settingChanged(QString, QString, QDBusVariant)));
    follow(fromPortalValue(answer));
}

void ColorSchemeWatcher::followGnome() {
    // dconf's service announces every write to the user's settings, from whichever process made
    // it; one that touches GNOME's key is read again.
    auto* listener = new DconfNoticeListener(this);
    connect(listener, &DconfNoticeListener::notified, this, [this](const QString& prefix, const QStringList& keys) {
        if (dconfNoticeCoversGnomeKey(prefix, keys))
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
    // The tool answers with an error where the schema or the key is not installed, and is not
    // there at all on a desktop without GSettings: either way the desktop states no wish.
    m_gnomeRead = new QProcess(this);
    m_gnomeRead->setStandardInputFile(QProcess::nullDevice());
    m_gnomeRead->setStandardErrorFile(QProcess::nullDevice());
    connect(m_gnomeRead, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const QByteArray printed = m_gnomeRead->readAllStandardOutput();
        gnomeRead(status == QProcess::NormalExit && code == 0
                      ? fromGnomeValue(std::string_view(printed.constData(), size_t(printed.size())))
                      : std::nullopt);
    });
    connect(m_gnomeRead, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            gnomeRead(std::nullopt);
    });
    m_gnomeRead->start(QStringLiteral("gsettings"), {QStringLiteral("get"), gnomeSchema, colorSchemeKey});
}

void ColorSchemeWatcher::gnomeRead(std::optional<DesignTokens::Appearance> preference) {
    m_gnomeRead->deleteLater();
    m_gnomeRead = nullptr;
    follow(preference);
    if (std::exchange(m_readGnomeAgain, false))
        readGnome();
}

void ColorSchemeWatcher::follow(std::optional<DesignTokens::Appearance> preference) {
    if (preference == m_preference)
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

} // namespace sorvala
