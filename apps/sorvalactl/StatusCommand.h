// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dbus/ControlService.h"

#include <optional>
#include <string>

namespace sorvala::ctl {

/// Exit status when Sorvala is not running.
inline constexpr int notRunning = 3;

/// One line of `sorvalactl status`: the status line, or a JSON object for status bars (with
/// "text", "tooltip" and "class" beside the values); none means Sorvala is not running.
std::string statusLine(const std::optional<ControlService::Status>& status, bool json);

} // namespace sorvala::ctl
