// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/ProcessLauncher.h"

namespace sorvala {

/// Starts children with QProcess::startDetached: Qt forks twice, so the child is re-parented
/// away from us and never becomes a zombie we would have to wait for. Its standard input, output
/// and error go to /dev/null, so a child that never ends holds no pipe or terminal of ours open.
class DetachedProcessLauncher final : public ProcessLauncher {
public:
    std::string loginShell() const override;
    Launch startDetached(const std::vector<std::string>& arguments) override;
};

} // namespace sorvala
