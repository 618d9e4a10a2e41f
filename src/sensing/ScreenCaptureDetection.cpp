// SPDX-License-Identifier: MIT
#include "sensing/ScreenCaptureDetection.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

namespace sorvala::ScreenCaptureDetection {

namespace {

std::string textProperty(const nlohmann::json& props, const char* key) {
    const auto found = props.find(key);
    return found != props.end() && found->is_string() ? found->get<std::string>() : std::string();
}

} // namespace

std::optional<std::vector<PipeWireNode>> parsePwDump(std::string_view json) {
    const auto document = nlohmann::json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_array())
        return std::nullopt;
    std::vector<PipeWireNode> nodes;
    for (const auto& object : document) {
        if (!object.is_object() || object.value("type", nlohmann::json()) != "PipeWire:Interface:Node")
            continue;
        // A monitoring pw-dump reports a removed object with "info": null.
        const auto info = object.find("info");
        if (info == object.end() || !info->is_object())
            continue;
        PipeWireNode node;
        const auto id = object.find("id");
        if (id != object.end() && id->is_number_unsigned() &&
            id->get<std::uint64_t>() <= std::numeric_limits<std::uint32_t>::max())
            node.id = id->get<std::uint32_t>();
        node.state = textProperty(*info, "state");
        const auto props = info->find("props");
        if (props != info->end() && props->is_object()) {
            node.mediaClass = textProperty(*props, "media.class");
            node.nodeName = textProperty(*props, "node.name");
            node.applicationName = textProperty(*props, "application.name");
            if (const auto api = props->find("device.api"); api != props->end() && api->is_string())
                node.deviceApi = api->get<std::string>();
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

bool screenCaptured(const std::vector<PipeWireNode>& nodes) {
    return std::any_of(nodes.begin(), nodes.end(), [](const PipeWireNode& node) {
        return node.mediaClass == videoSourceClass && !node.deviceApi &&
               (node.state == "running" || node.state == "idle");
    });
}

} // namespace sorvala::ScreenCaptureDetection
