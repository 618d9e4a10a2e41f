// SPDX-License-Identifier: MIT
#include "ui/style/ColorSchemeWatcher.h"

#include "platform/dbus/BoundedDBus.h"
#include "platform/desktop/GSettingsValue.h"
#include "ui/style/PortalSettingListener.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QDBusVariant>
#include <QStyle>

namespace sorvala {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
constexpr const char* gnomeSchema = "org.gnome.desktop.interface";
constexpr const char* colorSchemeGnomeKey = "color-scheme";

/// The portal's Read wraps the value in a variant inside a variant.
QVariant unwrapped(QVariant value) {
    for (int depth = 0;
         depth < 4 && value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>();
         ++depth)
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

ColorSchemeWatcher::ColorSchemeWatcher(QApplication& application, QDBusConnection bus)
    : QObject(&application), m_application(application), m_bus(std::move(bus)),
      m_platformPalette(application.palette()) {
    const QByteArray forced = qgetenv("SORVALA_APPEARANCE");
    if (forced == "dark" || forced == "light")
        return;
    if (readPortal())
        return;
    // Without a portal, GNOME's own key announces its changes.
    m_gnomeWatch =
        std::make_unique<GSettingsWatch>(gnomeSchema, colorSchemeGnomeKey, [this] { readGnome(); });
    readGnome();
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
    if (value == "prefer-dark")
        return DesignTokens::Appearance::dark;
    if (value == "prefer-light")
        return DesignTokens::Appearance::light;
    return std::nullopt;
}

bool ColorSchemeWatcher::readPortal() {
    BoundedDBus dbus(m_bus, 500);
    const auto answer = dbus.call(portalService, portalPath, portalInterface, QStringLiteral("Read"),
                                  {appearanceGroup, colorSchemeKey});
    if (!answer)
        return false;
    auto* listener = new PortalSettingListener(this);
    connect(listener, &PortalSettingListener::changed, this,
            [this](const QString& group, const QString& key, const QVariant& value) {
                if (group == appearanceGroup && key == colorSchemeKey)
                    follow(fromPortalValue(value));
            });
    m_bus.connect(portalService, portalPath, portalInterface, QStringLiteral("SettingChanged"), listener,
                  SLOT(settingChanged(QString, QString, QDBusVariant)));
    follow(fromPortalValue(*answer));
    return true;
}

void ColorSchemeWatcher::readGnome() {
    const auto value = gsettingsString(gnomeSchema, colorSchemeGnomeKey);
    follow(value ? fromGnomeValue(*value) : std::nullopt);
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
