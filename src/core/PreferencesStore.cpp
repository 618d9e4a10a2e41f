// SPDX-License-Identifier: MIT
#include "core/PreferencesStore.h"

#include "core/Text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace sorvala {

namespace {

using Text::trimmed;

// Reads a leading decimal number the way the platform store does: "20" is 20, "20.7" is 20.7,
// "abc" is 0. Trailing text after the number is ignored.
double leadingNumber(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    return error == std::errc{} && std::isfinite(value) ? value : 0.0;
}

std::int64_t clampedInteger(double value) {
    if (!std::isfinite(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::string numberText(double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string("nan");
}

} // namespace

std::string describe(const PreferenceValue& value) {
    struct Visitor {
        std::string operator()(bool v) const { return v ? "true" : "false"; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const { return numberText(v); }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(const std::vector<std::string>& v) const {
            return "[" + Text::joined(v) + "]";
        }
    };
    return std::visit(Visitor{}, value);
}

namespace PreferenceConversion {

bool toBoolean(const PreferenceValue& value) {
    if (const auto* v = std::get_if<bool>(&value))
        return *v;
    if (const auto* v = std::get_if<std::int64_t>(&value))
        return *v != 0;
    if (const auto* v = std::get_if<double>(&value))
        return *v != 0;
    if (const auto* v = std::get_if<std::string>(&value)) {
        std::string word(trimmed(*v));
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (word == "true" || word == "yes")
            return true;
        return leadingNumber(word) != 0;
    }
    return false;
}

std::int64_t toInteger(const PreferenceValue& value) {
    if (const auto* v = std::get_if<bool>(&value))
        return *v ? 1 : 0;
    if (const auto* v = std::get_if<std::int64_t>(&value))
        return *v;
    if (const auto* v = std::get_if<double>(&value))
        return clampedInteger(*v);
    if (const auto* v = std::get_if<std::string>(&value)) {
        const std::string_view text = trimmed(*v);
        std::int64_t whole = 0;
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), whole);
        if (error == std::errc{} && end == digits.data() + digits.size())
            return whole;
        return clampedInteger(leadingNumber(text));
    }
    return 0;
}

double toNumber(const PreferenceValue& value) {
    if (const auto* v = std::get_if<bool>(&value))
        return *v ? 1.0 : 0.0;
    if (const auto* v = std::get_if<std::int64_t>(&value))
        return static_cast<double>(*v);
    if (const auto* v = std::get_if<double>(&value))
        return *v;
    if (const auto* v = std::get_if<std::string>(&value))
        return leadingNumber(*v);
    return 0;
}

std::optional<std::string> toText(const PreferenceValue& value) {
    if (std::holds_alternative<std::vector<std::string>>(value))
        return std::nullopt;
    if (const auto* v = std::get_if<bool>(&value))
        return *v ? "1" : "0";
    return describe(value);
}

std::optional<std::vector<std::string>> toTextList(const PreferenceValue& value) {
    if (const auto* v = std::get_if<std::vector<std::string>>(&value))
        return *v;
    return std::nullopt;
}

} // namespace PreferenceConversion

bool PreferencesStore::boolean(std::string_view key) const {
    const auto value = object(key);
    return value && PreferenceConversion::toBoolean(*value);
}

std::int64_t PreferencesStore::integer(std::string_view key) const {
    const auto value = object(key);
    return value ? PreferenceConversion::toInteger(*value) : 0;
}

int PreferencesStore::boundedInteger(std::string_view key) const {
    constexpr std::int64_t limit = 1'000'000'000;
    return static_cast<int>(std::clamp(integer(key), -limit, limit));
}

double PreferencesStore::number(std::string_view key) const {
    const auto value = object(key);
    return value ? PreferenceConversion::toNumber(*value) : 0.0;
}

std::optional<std::string> PreferencesStore::text(std::string_view key) const {
    const auto value = object(key);
    return value ? PreferenceConversion::toText(*value) : std::nullopt;
}

std::optional<std::vector<std::string>> PreferencesStore::textList(std::string_view key) const {
    const auto value = object(key);
    return value ? PreferenceConversion::toTextList(*value) : std::nullopt;
}

} // namespace sorvala
