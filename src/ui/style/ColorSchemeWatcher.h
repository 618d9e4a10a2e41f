// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/DesignTokens.h"
#include "platform/desktop/GSettingsWatch.h"

#include <QDBusConnection>
#include <QObject>
#include <QPalette>

#include <memory>
#include <optional>
#include <string_view>

class QApplication;
class QVariant;

namespace sorvala {

/// Follows the desktop's light or dark colour scheme, live: from the desktop portal's
/// appearance setting where a portal answers, else from GNOME's interface setting, else the
/// platform's own palette decides. A change gives the application the matching palette, which
/// repaints every window; SORVALA_APPEARANCE, when set, wins over the desktop.
class ColorSchemeWatcher final : public QObject {
public:
    explicit ColorSchemeWatcher(QApplication& application, QDBusConnection bus = QDBusConnection::sessionBus());

    /// The desktop's wish; nullopt when it has none.
    std::optional<DesignTokens::Appearance> preference() const { return m_preference; }

    /// The portal's color-scheme value: 1 dark, 2 light, anything else no preference.
    static std::optional<DesignTokens::Appearance> fromPortalValue(const QVariant& value);
    /// GNOME's color-scheme value: "prefer-dark", "prefer-light", anything else no preference.
    static std::optional<DesignTokens::Appearance> fromGnomeValue(std::string_view value);

private:
    bool readPortal();
    void readGnome();
    void follow(std::optional<DesignTokens::Appearance> preference);

    QApplication& m_application;
    QDBusConnection m_bus;
    QPalette m_platformPalette;
    std::optional<DesignTokens::Appearance> m_preference;
    std::unique_ptr<GSettingsWatch> m_gnomeWatch;
};

} // namespace sorvala
