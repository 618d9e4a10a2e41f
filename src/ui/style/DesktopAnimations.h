// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala::DesktopAnimations {

/// Whether the desktop has said its animations are off, as last heard by the watcher that follows
/// it; false where no watcher runs or no answer has arrived yet.
bool off();
void setOff(bool off);

} // namespace sorvala::DesktopAnimations
