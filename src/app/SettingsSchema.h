// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// A setting's factory default: a truth value, integer, number, text or list of texts.
class FactoryDefault {
public:
    enum class Type { boolean, integer, number, text, textList };

    static FactoryDefault boolean(bool value) { return FactoryDefault(value); }
    static FactoryDefault integer(std::int64_t value) { return FactoryDefault(value); }
    static FactoryDefault number(double value) { return FactoryDefault(value); }
    static FactoryDefault text(std::string value) { return FactoryDefault(std::move(value)); }
    static FactoryDefault textList(std::vector<std::string> value) { return FactoryDefault(std::move(value)); }

    Type type() const { return static_cast<Type>(m_value.index()); }
    /// The value in the store's own types, ready for the registration domain.
    const PreferenceValue& stored() const { return m_value; }
    /// Only truth values and integers may stand in another setting's dependencies.
    bool canBeDependedOn() const { return type() == Type::boolean || type() == Type::integer; }

    bool operator==(const FactoryDefault&) const = default;

private:
    explicit FactoryDefault(PreferenceValue value) : m_value(std::move(value)) {}
    PreferenceValue m_value;
};

/// The word of a type: "boolean", "integer", "number", "text", "textList".
std::string_view text(FactoryDefault::Type type);

/// One row of the settings schema.
struct Setting {
    /// What the settings editor lets the user enter for a number, both ends included.
    struct Range {
        double minimum = 0;
        double maximum = 0;
    };

    std::string_view key;
    FactoryDefault factoryDefault;
    /// The setting matters only while one of these is on (see `isLive`).
    std::vector<std::string_view> dependsOn;
    /// The editor's limits, where it limits input; the store accepts any value of the type.
    std::optional<Range> editorRange;
    /// The only values the editor offers, where it offers a list of choices.
    std::vector<std::int64_t> editorChoices;
    /// The only words a text setting takes, where it is a choice; any other word would be read as
    /// the default, so it is refused rather than stored.
    std::vector<std::string_view> textChoices;

    /// Whether the editor would accept `value` for this row (a range and a list of choices both hold).
    bool acceptsInEditor(double value) const;
    /// Whether `word` is one of the text choices, or the row has none.
    bool acceptsText(std::string_view word) const;
};

namespace SettingsSchema {

/// Every setting, in the order of the table; built once, never changed.
const std::vector<Setting>& settings();
/// The rows by key.
const std::map<std::string_view, const Setting*>& byKey();

/// Puts every factory default into the store's registration domain, in one call. (The name
/// `register` is reserved in C++, hence `registerDefaults`.)
void registerDefaults(PreferencesStore& store);

/// The row's default; nullopt for a key outside the schema.
std::optional<FactoryDefault> factoryDefault(std::string_view key);
/// The default's payload when the row exists with that type, else false, 0, 0.0 or "".
bool booleanDefault(std::string_view key);
std::int64_t integerDefault(std::string_view key);
double numberDefault(std::string_view key);
std::string textDefault(std::string_view key);

/// Whether the setting has an effect now: a row without dependencies always does, any other
/// while one of its dependencies is on and itself live. Keys outside the schema are live.
bool isLive(std::string_view key, const PreferencesStore& store);
/// The same rule with the caller telling which keys are on (the editor's unsaved controls).
bool isLive(std::string_view key, const std::function<bool(std::string_view key)>& isOn);

/// Turns the retired strict-mode truth values into enforcement tiers where the user has no tier
/// stored yet. Runs before `registerDefaults`, so only a stored tier counts; idempotent.
void migrateRetiredEnforcementKeys(PreferencesStore& store);

} // namespace SettingsSchema

/// Which settings changed, for the log line and for restarting the schedule.
namespace SettingsChanges {

/// Key to the text of the value the store returns ("unset" when none), for every registered key.
using Snapshot = std::map<std::string, std::string, std::less<>>;

Snapshot snapshot(const PreferencesStore& store);
/// "key=old->new" for each key that is new or different in `to`, in key order.
std::vector<std::string> describe(const Snapshot& from, const Snapshot& to);
/// Whether any of `keys` appears in only one snapshot or differs between them.
bool anyChanged(const std::set<std::string, std::less<>>& keys, const Snapshot& from, const Snapshot& to);
/// The settings that shape the schedule; a change to one starts a fresh work stretch.
const std::set<std::string, std::less<>>& schedulingKeys();

} // namespace SettingsChanges

} // namespace sorvala
