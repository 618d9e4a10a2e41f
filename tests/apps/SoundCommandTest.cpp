// SPDX-License-Identifier: MIT
#include "SubcommandRun.h"

#include <gtest/gtest.h>

namespace sorvala::ctl {
namespace {

using Result = SubcommandResult;

Result runSound(std::vector<std::string> args) {
    return runSubcommand("sound", std::move(args));
}

TEST(SoundCommand, BadInputIsOneLineAndPlaysNothing) {
    const std::vector<std::string> bad[] = {
        {}, {"Basso"}, {"glass"}, {"Pop", "--volume", "1.5"}, {"Pop", "--volume", "0.5x"}, {"Pop", "--volume"},
        {"Pop", "Tink"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(::testing::PrintToString(args));
        expectRefused(runSound(args));
    }
    // A name it does not know is answered with the names it does.
    EXPECT_EQ(runSound({"Basso"}).err,
              "sorvalactl: unknown sound 'Basso' (one of Glass, Submarine, Hero, Purr, Pop, Tink)\n");
}

} // namespace
} // namespace sorvala::ctl
