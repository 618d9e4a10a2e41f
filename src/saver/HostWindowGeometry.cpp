// SPDX-License-Identifier: MIT
// Kept apart from Qt's headers: Xlib defines names (KeyPress, None, ...) that Qt uses.
#include "saver/HostWindowGeometry.h"

#include <X11/Xlib.h>

namespace sorvala {

std::optional<ScreenRect> hostWindowGeometry(const X11Connection& x, unsigned long window) {
    if (!x.isOpen() || window == 0)
        return std::nullopt;
    Window root = 0;
    Window child = 0;
    int left = 0;
    int top = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (!XGetGeometry(x.display(), window, &root, &left, &top, &width, &height, &border, &depth))
        return std::nullopt;
    int rootX = 0;
    int rootY = 0;
    if (!XTranslateCoordinates(x.display(), window, root, 0, 0, &rootX, &rootY, &child))
        return std::nullopt;
    return ScreenRect{rootX, rootY, static_cast<int>(width), static_cast<int>(height)};
}

} // namespace sorvala
