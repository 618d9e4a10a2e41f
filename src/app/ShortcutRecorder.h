// SPDX-License-Identifier: MIT
#pragma once

#include "app/KeyboardShortcut.h"
#include "i18n/I18n.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorvala::ShortcutRecorder {

/// The key press that ends a recording, already in stored terms. `keyCode` is nullopt for a
/// key the code table does not know; `characters` is the key's text ignoring modifiers.
struct KeyPress {
    std::optional<std::uint32_t> keyCode;
    std::uint32_t modifiers = 0;
    std::string characters;
};

/// How a recording ended: the recorder's binding afterwards, and whether to beep.
struct Outcome {
    std::optional<KeyboardShortcut> shortcut;
    bool beep = false;
    bool operator==(const Outcome&) const = default;
};

/// Escape cancels (the binding stays), Backspace clears it (and so does Delete pressed without
/// Super, Ctrl or Alt), a valid combination replaces it; anything else beeps and keeps it.
Outcome record(const std::optional<KeyboardShortcut>& current, const KeyPress& press);

/// The button's title: the binding's display string, or "Record Shortcut" without one.
std::string title(const std::optional<KeyboardShortcut>& shortcut);

/// The button's title while it waits for a key.
inline constexpr std::string_view recordingTitle = I18N_NOOP("Type shortcut…");
/// The explanation above the recorders.
inline constexpr std::string_view instructions =
    I18N_NOOP("Click a button, then press a key combination (needs Super, Ctrl or Alt). Press Delete to clear "
              "one, Escape to cancel.");

} // namespace sorvala::ShortcutRecorder
