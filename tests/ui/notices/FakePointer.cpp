// SPDX-License-Identifier: MIT
// Moves the pointer the way a mouse does, through XTest: unlike a warp, that makes the X server
// report device motion (raw motion events), as a real hand on a real mouse would.
#include "FakePointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace sorvala {

bool fakePointerMotion(int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XTestFakeMotionEvent(display, -1, x, y, 0);
    XCloseDisplay(display); // flushes the request
    return true;
}

} // namespace sorvala
