// SPDX-License-Identifier: MIT
#include "menubar/ControlAction.h"

namespace sorvala {

std::string_view text(ControlAction action) {
    switch (action) {
    case ControlAction::startBreak: return "start-break";
    case ControlAction::startMicroBreak: return "start-micro-break";
    case ControlAction::togglePause: return "toggle-pause";
    case ControlAction::snooze1: return "snooze-1";
    case ControlAction::snooze5: return "snooze-5";
    case ControlAction::snooze15: return "snooze-15";
    case ControlAction::skipBreak: return "skip-break";
    }
    return "unknown";
}

std::optional<ControlAction> controlActionFromText(std::string_view name) {
    for (const auto action : allControlActions)
        if (text(action) == name)
            return action;
    return std::nullopt;
}

int snoozeMinutes(ControlAction action) {
    switch (action) {
    case ControlAction::snooze1: return 1;
    case ControlAction::snooze5: return 5;
    case ControlAction::snooze15: return 15;
    case ControlAction::startBreak:
    case ControlAction::startMicroBreak:
    case ControlAction::togglePause:
    case ControlAction::skipBreak: return 0;
    }
    return 0;
}

std::string_view controlActionNames() {
    return "start-break, start-micro-break, toggle-pause, snooze-1, snooze-5, snooze-15, skip-break";
}

} // namespace sorvala
