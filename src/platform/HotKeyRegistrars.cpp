// SPDX-License-Identifier: MIT
#include "platform/HotKeyRegistrars.h"

#include "core/Logger.h"
#include "platform/dbus/PortalHotKeyRegistrar.h"
#include "platform/x11/X11HotKeyRegistrar.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace sorvala {

bool x11ServerReachable() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

std::unique_ptr<HotKeyRegistrar> createHotKeyRegistrar(std::string_view sessionType, Logger& log) {
    // Through XWayland a grab would only see keys typed into other X clients: not global.
    if (sessionType == "wayland") {
        if (auto registrar = PortalHotKeyRegistrar::create(log))
            return registrar;
    } else if (auto registrar = X11HotKeyRegistrar::create(log)) {
        return registrar;
    }
    log.log("hot keys unavailable session=" + std::string(sessionType.empty() ? "unknown" : sessionType) +
            " hint=bind \"sorvala --action NAME\" in the desktop's keyboard settings");
    return std::make_unique<UnavailableHotKeyRegistrar>();
}

} // namespace sorvala
