// SPDX-License-Identifier: MIT
#pragma once

#include "platform/x11/X11Connection.h"
#include "saver/SaverOptions.h"

#include <optional>

namespace sorvala {

/// Where `window` lies on its root window and how large it is, in device pixels; nullopt when the
/// window does not exist. (Qt reports a foreign window as 0 × 0, so the X server is asked.)
std::optional<ScreenRect> hostWindowGeometry(const X11Connection& x, unsigned long window);

} // namespace sorvala
