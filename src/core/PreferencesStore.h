// SPDX-License-Identifier: MIT
#pragma once

#include "core/Subscription.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sorvala {

/// A value in the preferences store: truth value, integer, number, text or list of texts.
using PreferenceValue = std::variant<bool, std::int64_t, double, std::string, std::vector<std::string>>;

/// Stable, readable text of a value: true/false, 20, 0.25, Glass, [a, b]. Equal values read equally.
std::string describe(const PreferenceValue& value);

/// The per-user key-value store every setting lives in, with a registration domain of factory
/// defaults that every read falls back to. Reads convert the way the platform store does: a number
/// read as a truth value is true when non-zero, the text "20" reads as the integer 20.
class PreferencesStore {
public:
    virtual ~PreferencesStore() = default;

    /// Adds `defaults` to the registration domain (in memory only; rebuilt at every launch).
    virtual void registerDefaults(const std::map<std::string, PreferenceValue>& defaults) = 0;
    /// The keys of the registration domain.
    virtual std::set<std::string> registrationKeys() const = 0;

    /// The value the user stored, else the registered default, else nullopt.
    virtual std::optional<PreferenceValue> object(std::string_view key) const = 0;
    /// Stores a value under `key`; observers hear of it once per burst of writes.
    virtual void set(std::string_view key, const PreferenceValue& value) = 0;
    /// Removes the user's value; reads fall back to the registered default.
    virtual void remove(std::string_view key) = 0;
    /// Calls `observer` after changes, from the owner's main loop; coalesces a burst into one call.
    virtual Subscription observeChanges(std::function<void()> observer) = 0;

    /// Truth value: a stored number is true when non-zero, a text when it reads as one ("true",
    /// "YES", "1"); false when absent.
    virtual bool boolean(std::string_view key) const;
    /// Integer: numbers are truncated, texts parsed ("20" is 20), truth values are 0 or 1; 0 when absent.
    virtual std::int64_t integer(std::string_view key) const;
    /// `integer` narrowed to an int and clamped to ±1e9, so counts and minutes read from a
    /// hand-edited file cannot overflow the arithmetic done on them.
    int boundedInteger(std::string_view key) const;
    /// Number: integers widen, texts parse ("0.25"), truth values are 0 or 1; 0 when absent.
    virtual double number(std::string_view key) const;
    /// Text: numbers and truth values are described; nullopt when absent or a list.
    virtual std::optional<std::string> text(std::string_view key) const;
    /// List of texts; nullopt when absent or not a list.
    virtual std::optional<std::vector<std::string>> textList(std::string_view key) const;
};

/// The conversions of the typed reads, for a value already in hand.
namespace PreferenceConversion {
bool toBoolean(const PreferenceValue& value);
std::int64_t toInteger(const PreferenceValue& value);
double toNumber(const PreferenceValue& value);
std::optional<std::string> toText(const PreferenceValue& value);
std::optional<std::vector<std::string>> toTextList(const PreferenceValue& value);
} // namespace PreferenceConversion

} // namespace sorvala
