// SPDX-License-Identifier: MIT
// What the sensors read from other programs and the kernel: `pw-dump` ('0'), `pactl list
// sources` ('1') and `source-outputs` ('2'), `makoctl mode` ('3'), an ALSA substream status
// ('4'), a DRM connector's attribute files ('5', the three separated by '|') and
// /proc/<pid>/cgroup ('6').
#include "FuzzSupport.h"

#include "sensing/DisplaySleep.h"
#include "sensing/DoNotDisturb.h"
#include "sensing/FrontmostApplication.h"
#include "sensing/MicrophoneDetection.h"
#include "sensing/ScreenCaptureDetection.h"

#include "core/Text.h"

using namespace sorvala;

namespace {

fuzz::ScratchFolder& scratch() {
    static fuzz::ScratchFolder folder;
    return folder;
}

/// The first line as the DRM reader keeps it: without trailing blanks.
std::string firstLine(std::string_view file) {
    std::string line(file.substr(0, file.find('\n')));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
        line.pop_back();
    return line;
}

void drmConnector(std::string_view text) {
    const auto& root = scratch().fresh();
    constexpr const char* names[] = {"status", "enabled", "dpms"};
    std::string_view parts[3];
    for (int i = 0; i < 3; ++i) {
        const auto bar = text.find('|');
        parts[i] = text.substr(0, bar);
        text.remove_prefix(bar == std::string_view::npos ? text.size() : bar + 1);
        scratch().write(std::string("card0-eDP-1/") + names[i], parts[i]);
    }
    const auto connectors = DisplaySleep::readConnectors(root);
    fuzz::require(connectors.size() == 1, "the one connector is read");
    fuzz::require(connectors[0].status == firstLine(parts[0]) &&
                      connectors[0].enabled == firstLine(parts[1]) &&
                      connectors[0].dpms == firstLine(parts[2]),
                  "a connector's attributes read as their first lines");
    DisplaySleep::everyConnectorAsleep(connectors);
}

void cgroup(std::string_view text) {
    for (const auto& id :
         {FrontmostApplication::desktopIdFromCgroup(text), FrontmostApplication::desktopIdFromUnit(text)})
        if (id)
            fuzz::require(!id->empty(), "a desktop id found is not empty");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [reader, text] = fuzz::pick(data, size, 7);
    switch (reader) {
    case 0:
        if (const auto nodes = ScreenCaptureDetection::parsePwDump(text))
            ScreenCaptureDetection::screenCaptured(*nodes);
        break;
    case 1: MicrophoneDetection::microphoneInUse(MicrophoneDetection::parseSourceList(text), {}, 0); break;
    case 2:
        MicrophoneDetection::microphoneInUse({}, MicrophoneDetection::parseSourceOutputList(text), 0);
        break;
    case 3:
        for (const auto& mode : DoNotDisturb::parseMakoModes(text))
            fuzz::require(!mode.empty() && mode == Text::trimmed(mode),
                          "mako modes are trimmed and not blank");
        break;
    case 4: {
        const auto& root = scratch().fresh();
        scratch().write("card0/pcm0c/sub0/status", text);
        MicrophoneDetection::alsaCaptureRunning(root);
        break;
    }
    case 5: drmConnector(text); break;
    default: cgroup(text); break;
    }
    return 0;
}
