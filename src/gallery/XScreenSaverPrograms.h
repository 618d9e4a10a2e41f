// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Our screen saver's line in the `programs` resource of an xscreensaver resource file
/// (~/.xscreensaver, or the app-defaults file it starts from). Edits touch only the lines of that
/// line; every other byte of the file stays as it was. Pure.
namespace sorvala::XScreenSaverPrograms {

/// The name the saver carries in xscreensaver's list.
inline constexpr std::string_view prettyName = "Sorvala";

/// The command xscreensaver runs: `"Sorvala"  <program> --root`.
std::string entry(std::string_view programPath);

/// The entries of the `programs` resource ("programs:" or "*programs:"), trimmed, in order;
/// nullopt when the file has no such resource.
std::optional<std::vector<std::string>> programs(std::string_view file);

/// The program path of our entry (named "Sorvala", or running a program called sorvala-saver);
/// nullopt when the list has none.
std::optional<std::string> registeredProgram(std::string_view file);

/// The file with our entry for `programPath`: an entry of ours is rewritten in place (a leading
/// "-" that disables it is kept when `keepDisabled`); otherwise the entry becomes the last of the
/// list; a file without a list gets one at its end.
std::string withEntry(std::string_view file, std::string_view programPath, bool keepDisabled);

/// A new ~/.xscreensaver from the text of xscreensaver's app-defaults file: its program list with
/// ours at the end. Settings the file leaves out keep coming from the app-defaults file.
std::string fromDefaults(std::string_view defaults, std::string_view programPath);

} // namespace sorvala::XScreenSaverPrograms
