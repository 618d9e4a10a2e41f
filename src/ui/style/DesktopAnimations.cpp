// SPDX-License-Identifier: MIT
#include "ui/style/DesktopAnimations.h"

#include <atomic>

namespace sorvala::DesktopAnimations {

namespace {
std::atomic<bool> switchedOff{false};
} // namespace

bool off() {
    return switchedOff.load(std::memory_order_relaxed);
}

void setOff(bool off) {
    switchedOff.store(off, std::memory_order_relaxed);
}

} // namespace sorvala::DesktopAnimations
