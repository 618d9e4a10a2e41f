// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace sorvala {

/// Starts programs on the user's behalf, detached from the application.
class ProcessLauncher {
public:
    /// Whether a start worked, and if not, why.
    struct Launch {
        bool started = false;
        std::string failure;
    };

    virtual ~ProcessLauncher() = default;

    /// The user's login shell: the user database's entry, else $SHELL, else /bin/sh.
    virtual std::string loginShell() const = 0;
    /// Starts `arguments[0]` with the rest as its arguments and returns at once; nothing waits
    /// for the child or reads its result.
    virtual Launch startDetached(const std::vector<std::string>& arguments) = 0;
};

} // namespace sorvala
