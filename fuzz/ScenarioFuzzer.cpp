// SPDX-License-Identifier: MIT
// The scenario files of `sorvalactl simulate`: read any text; run what reads as a short day.
#include "FuzzSupport.h"

#include "simulation/Scenario.h"

using namespace sorvala;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = Scenario::parse(fuzz::text(data, size));
    if (const auto* error = std::get_if<Scenario::Error>(&parsed)) {
        fuzz::require(error->line >= 1 && !error->message.empty(),
                      "a refused scenario names a line and a fault");
        return 0;
    }
    const auto& scenario = std::get<Scenario>(parsed);
    // Longer days take the simulation seconds each; their reading is what is fuzzed here.
    if (scenario.untilSeconds <= 2 * 3600)
        scenario.output();
    return 0;
}
