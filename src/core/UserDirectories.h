// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

namespace sorvala::UserDirectories {

/// `$XDG_DATA_HOME`, else ~/.local/share: where the history and the gallery live.
std::filesystem::path dataHome();

/// `$XDG_STATE_HOME`, else ~/.local/state: where the application log lives.
std::filesystem::path stateHome();

} // namespace sorvala::UserDirectories
