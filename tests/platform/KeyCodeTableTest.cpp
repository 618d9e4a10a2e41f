// SPDX-License-Identifier: MIT
#include "app/KeyCodes.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h> // last: its macros (None, KeyPress, ...) clash with other headers

#include <string>

namespace sorvala {
namespace {

TEST(KeyCodeTableAgainstXlib, EveryKeysymNumberMatchesItsName) {
    for (const auto& entry : KeyCodes::entries()) {
        SCOPED_TRACE(entry.keysymName);
        EXPECT_EQ(XStringToKeysym(std::string(entry.keysymName).c_str()), entry.keysym);
    }
}

} // namespace
} // namespace sorvala
