// SPDX-License-Identifier: MIT
#include "SubcommandRun.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sorvala::ctl {
namespace {

using Result = SubcommandResult;

Result runSound(std::vector<std::string> args) {
    return runSubcommand("sound", std::move(args));
}

TEST(SoundCommand, BadInputIsOneLineAndPlaysNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {"no name", {}, "sorvalactl: which sound? one of Glass, Submarine, Hero, Purr, Pop, Tink\n"},
        {"unknown name",
         {"Basso"},
         "sorvalactl: unknown sound 'Basso' (one of Glass, Submarine, Hero, Purr, Pop, Tink)\n"},
        {"volume above 1",
         {"Pop", "--volume", "1.5"},
         "sorvalactl: volume '1.5' is not a number from 0 to 1\n"},
        {"volume with trailing text",
         {"Pop", "--volume", "0.5x"},
         "sorvalactl: volume '0.5x' is not a number from 0 to 1\n"},
        {"volume missing", {"Pop", "--volume"}, "sorvalactl: --volume needs a value from 0 to 1\n"},
        {"two names",
         {"Pop", "Tink"},
         "sorvalactl: unexpected argument 'Tink' (see sorvalactl sound --help)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result result = runSound(c.args);
        EXPECT_EQ(result.status, usageError);
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
} // namespace sorvala::ctl
