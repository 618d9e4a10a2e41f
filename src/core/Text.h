// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Small text helpers shared by the parsers and the messages.
namespace sorvala::Text {

/// `text` without white space at either end.
std::string_view trimmed(std::string_view text);
/// The items joined by ", " ("09:00, 13:30").
std::string joined(const std::vector<std::string>& items);

} // namespace sorvala::Text
