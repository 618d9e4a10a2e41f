// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

/// Moves the pointer to (x, y) on $DISPLAY as a mouse would; false without an X server.
bool fakePointerMotion(int x, int y);

} // namespace sorvala
