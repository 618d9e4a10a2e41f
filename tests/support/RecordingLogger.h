// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"

#include <string>
#include <vector>

namespace sorvala {

/// Keeps every logged line, in order.
class RecordingLogger final : public Logger {
public:
    void log(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

} // namespace sorvala
