// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/ProcessLauncher.h"

#include <string>
#include <vector>

namespace sorvala {

/// Starts nothing: keeps each argument list, and answers a failure while `fails` is set.
class RecordingLauncher final : public ProcessLauncher {
public:
    std::string loginShell() const override { return "/bin/bash"; }
    Launch startDetached(const std::vector<std::string>& arguments) override {
        launched.push_back(arguments);
        return {!fails, fails ? "no such file" : ""};
    }
    /// The commands handed to the shell, the last argument of each start.
    std::vector<std::string> commands() const {
        std::vector<std::string> last;
        for (const auto& arguments : launched)
            last.push_back(arguments.back());
        return last;
    }

    bool fails = false;
    std::vector<std::vector<std::string>> launched;
};

} // namespace sorvala
