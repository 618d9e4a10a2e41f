// SPDX-License-Identifier: MIT
#include "platform/x11/XEmbedTray.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace sorvala {

namespace {

/// The screen number of $DISPLAY (":0.1" is screen 1); the tray of screen 0 otherwise.
QByteArray screenNumber() {
    const QByteArray display = qgetenv("DISPLAY");
    const auto colon = display.lastIndexOf(':');
    const auto dot = display.lastIndexOf('.');
    if (colon < 0 || dot < colon)
        return "0";
    return display.mid(dot + 1);
}

} // namespace

bool xembedTrayPresent() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + screenNumber();
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()),
                              nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false; // nobody ever asked for the selection on this display
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace sorvala
