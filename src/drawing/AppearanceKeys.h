// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

/// The preference keys of the drawing's appearance, shared by the application and the screen saver.
namespace sorvala::AppearanceKeys {

inline constexpr std::string_view themeKey = "theme";
inline constexpr std::string_view speedKey = "speed";
inline constexpr std::string_view styleKey = "style";
inline constexpr std::string_view inkKey = "ink";
inline constexpr std::string_view drawingKey = "drawing";
inline constexpr std::string_view enabledDrawingsKey = "enabledDrawings";
inline constexpr std::string_view enabledDrawingsCountKey = "enabledDrawingsCount";
inline constexpr std::string_view appearanceMigratedKey = "appearanceMigratedFromScreenSaverDefaults";

/// The seven keys the one-time migration copies from the screen saver's retired domain.
inline constexpr std::array<std::string_view, 7> migratedKeys = {
    themeKey, speedKey, styleKey, inkKey, drawingKey, enabledDrawingsKey, enabledDrawingsCountKey};

} // namespace sorvala::AppearanceKeys
