// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace sorvala {

/// The desktop entry that starts the program when the user logs in.
namespace AutostartEntry {

/// The entry's text for the program at `executablePath`, quoted for the Exec key.
std::string text(std::string_view executablePath);

/// Whether an entry with these contents starts the program: true unless its main group says
/// Hidden=true or X-GNOME-Autostart-enabled=false.
bool isEnabled(std::string_view contents);

/// The program an entry starts: the first argument of its main group's Exec key, with the
/// quoting and escaping of `quotedExecArgument` undone; empty when there is none.
std::string program(std::string_view contents);

/// `path` as one argument of an Exec key: bare when it holds only plain characters, otherwise in
/// double quotes with ", `, $ and \ escaped; a % is always doubled.
std::string quotedExecArgument(std::string_view path);

} // namespace AutostartEntry

} // namespace sorvala
