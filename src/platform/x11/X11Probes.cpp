// SPDX-License-Identifier: MIT
#include "platform/x11/X11Probes.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

namespace sorvala {

X11Probes::X11Probes(const std::string& displayName) : m_x(displayName) {
    if (!m_x.isOpen())
        return;
    int eventBase = 0;
    int errorBase = 0;
    m_hasScreenSaver = XScreenSaverQueryExtension(m_x.display(), &eventBase, &errorBase);
    m_hasDpms = DPMSQueryExtension(m_x.display(), &eventBase, &errorBase);
}

std::optional<double> X11Probes::idleSeconds() const {
    if (!m_hasScreenSaver)
        return std::nullopt;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info)
        return std::nullopt;
    std::optional<double> seconds;
    if (XScreenSaverQueryInfo(m_x.display(), m_x.root(), info))
        seconds = static_cast<double>(info->idle) / 1000.0;
    XFree(info);
    return seconds;
}

std::optional<DisplaySleep::DpmsState> X11Probes::dpms() const {
    if (!m_hasDpms)
        return std::nullopt;
    DisplaySleep::DpmsState state;
    state.capable = DPMSCapable(m_x.display());
    CARD16 level = 0;
    BOOL enabled = False;
    if (state.capable && DPMSInfo(m_x.display(), &level, &enabled)) {
        state.enabled = enabled;
        state.powerLevel = level;
    }
    return state;
}

std::optional<FrontmostApplication::ActiveWindow> X11Probes::activeWindow() const {
    if (!m_x.isOpen())
        return std::nullopt;
    const auto active = m_x.cardinals(m_x.root(), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (!active || active->empty() || active->front() == 0)
        return std::nullopt;
    const Window window = active->front();
    const int errorsBefore = m_x.errorCount();

    FrontmostApplication::ActiveWindow info;
    info.gtkApplicationId = m_x.text(window, "_GTK_APPLICATION_ID");
    info.kdeDesktopFile = m_x.text(window, "_KDE_NET_WM_DESKTOP_FILE");
    XClassHint hint{};
    if (XGetClassHint(m_x.display(), window, &hint)) {
        if (hint.res_name && *hint.res_name)
            info.wmClassName = hint.res_name;
        if (hint.res_class && *hint.res_class)
            info.wmClassClass = hint.res_class;
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    if (const auto pid = m_x.cardinals(window, "_NET_WM_PID", XA_CARDINAL); pid && !pid->empty())
        info.processId = static_cast<std::uint32_t>(pid->front());
    const auto atomNames = [&](const char* property, std::vector<std::string>& into) {
        if (const auto atoms = m_x.cardinals(window, property, XA_ATOM)) {
            for (const unsigned long atom : *atoms) {
                char* name = XGetAtomName(m_x.display(), atom);
                if (name) {
                    into.emplace_back(name);
                    XFree(name);
                }
            }
        }
    };
    atomNames("_NET_WM_STATE", info.states);
    atomNames("_NET_WM_WINDOW_TYPE", info.types);
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    Window child = 0;
    if (XGetGeometry(m_x.display(), window, &root, &x, &y, &width, &height, &border, &depth) &&
        XTranslateCoordinates(m_x.display(), window, root, 0, 0, &x, &y, &child)) {
        info.frame = {x, y, static_cast<int>(width), static_cast<int>(height)};
        // The frame the window manager draws around the window belongs to what the user sees.
        if (const auto extents = m_x.cardinals(window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
            extents && extents->size() == 4) {
            const auto& e = *extents; // left, right, top, bottom
            info.frame.x -= static_cast<int>(e[0]);
            info.frame.y -= static_cast<int>(e[2]);
            info.frame.width += static_cast<int>(e[0] + e[1]);
            info.frame.height += static_cast<int>(e[2] + e[3]);
        }
    }
    XSync(m_x.display(), False);
    // The window may have gone between the questions; half an answer is no answer.
    if (m_x.errorCount() != errorsBefore)
        return std::nullopt;
    return info;
}

FrontmostApplication::Rect X11Probes::rootGeometry() const {
    if (!m_x.isOpen())
        return {};
    Screen* screen = DefaultScreenOfDisplay(m_x.display());
    return {0, 0, WidthOfScreen(screen), HeightOfScreen(screen)};
}

} // namespace sorvala
