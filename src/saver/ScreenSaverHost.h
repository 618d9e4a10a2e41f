// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"
#include "core/Subscription.h"
#include "platform/x11/X11Connection.h"
#include "render/SorvalaSaverWindow.h"
#include "saver/SaverOptions.h"

#include <QTimer>

#include <memory>
#include <string>

namespace sorvala {

/// The screen saver's one window: the drawing view inside the window a saver daemon gave us,
/// over the root window, or in a window of its own. It follows the host window's size and the
/// appearance settings while it runs.
class ScreenSaverHost {
public:
    /// `store` holds the appearance and must outlive the host.
    ScreenSaverHost(PreferencesStore& store, SaverOptions options);
    ~ScreenSaverHost();

    /// Shows the window and starts drawing; answers why it could not (a host window that is gone).
    std::optional<std::string> start();

    SorvalaSaverWindow& window() { return m_window; }

private:
    std::optional<ScreenRect> hostGeometry() const;
    void followHost();

    SaverOptions m_options;
    SorvalaSaverWindow m_window;
    std::unique_ptr<QWindow> m_host;
    unsigned long m_hostId = 0;
    X11Connection m_x;
    QTimer m_hostWatch;
    std::optional<ScreenRect> m_lastHost;
    Subscription m_settingsChanges;
};

} // namespace sorvala
