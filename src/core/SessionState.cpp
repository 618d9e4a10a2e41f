// SPDX-License-Identifier: MIT
#include "core/SessionState.h"

#include "core/Logger.h"
#include "core/PreferencesStore.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace sorvala {

namespace {

constexpr const char* pausedUntilKey = "pausedUntil";
constexpr const char* longStretchKey = "longStretchStartedAt";
constexpr const char* microStretchKey = "microStretchStartedAt";
constexpr const char* savedAtKey = "savedAt";
constexpr const char* versionKey = "version";

void putInstant(nlohmann::json& object, const char* key, const std::optional<Instant>& instant) {
    if (instant)
        object[key] = instant->secondsSinceReferenceDate();
}

// A key that is missing or null reads as absent; anything but a finite number is damage.
bool readInstant(const nlohmann::json& object, const char* key, std::optional<Instant>& out) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return true;
    if (!found->is_number())
        return false;
    const double seconds = found->get<double>();
    if (!std::isfinite(seconds))
        return false;
    out = Instant::fromSecondsSinceReferenceDate(seconds);
    return true;
}

} // namespace

std::optional<std::string> SessionState::encoded() const {
    nlohmann::json object = nlohmann::json::object();
    putInstant(object, pausedUntilKey, pausedUntil);
    putInstant(object, longStretchKey, longStretchStartedAt);
    putInstant(object, microStretchKey, microStretchStartedAt);
    object[savedAtKey] = savedAt.secondsSinceReferenceDate();
    object[versionKey] = version;
    try {
        return object.dump();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

std::optional<SessionState> SessionState::decoded(std::string_view text) {
    const nlohmann::json object = nlohmann::json::parse(text, nullptr, false);
    if (!object.is_object())
        return std::nullopt;
    SessionState state;
    std::optional<Instant> savedAt;
    if (!readInstant(object, pausedUntilKey, state.pausedUntil) ||
        !readInstant(object, longStretchKey, state.longStretchStartedAt) ||
        !readInstant(object, microStretchKey, state.microStretchStartedAt) ||
        !readInstant(object, savedAtKey, savedAt) || !savedAt)
        return std::nullopt;
    state.savedAt = *savedAt;
    const auto version = object.find(versionKey);
    if (version == object.end() || !version->is_string())
        return std::nullopt;
    state.version = version->get<std::string>();
    return state;
}

void SessionState::save(PreferencesStore& defaults, Logger& log) const {
    const auto text = encoded();
    if (!text) {
        log.log("session state could not be encoded; pause and work clock not saved");
        return;
    }
    defaults.set(defaultsKey, *text);
}

std::optional<SessionState> SessionState::load(PreferencesStore& defaults, Logger& log) {
    const auto stored = defaults.object(defaultsKey);
    if (!stored)
        return std::nullopt;
    const auto* text = std::get_if<std::string>(&*stored);
    auto state = text ? decoded(*text) : std::nullopt;
    if (!state) {
        log.log("saved session could not be read; discarded");
        defaults.remove(defaultsKey);
    }
    return state;
}

void SessionState::clear(PreferencesStore& defaults) {
    defaults.remove(defaultsKey);
}

std::optional<SessionState> SessionState::restored(Instant now, std::string_view currentVersion,
                                                   double maximumGap) const {
    SessionState result = *this;
    const double gap = now - savedAt;
    const bool stretchesSurvive =
        !currentVersion.empty() && currentVersion == version && gap >= 0 && gap < maximumGap;
    if (!stretchesSurvive) {
        result.longStretchStartedAt.reset();
        result.microStretchStartedAt.reset();
    }
    if (result.pausedUntil && !(*result.pausedUntil > now))
        result.pausedUntil.reset();
    if (!result.pausedUntil && !result.longStretchStartedAt && !result.microStretchStartedAt)
        return std::nullopt;
    return result;
}

} // namespace sorvala
