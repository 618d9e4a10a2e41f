// SPDX-License-Identifier: MIT
// sorvalactl settings: show and change the settings, in the same store the application uses.
#include "Subcommand.h"

#include "app/SettingsSchema.h"
#include "core/Text.h"
#include "i18n/I18n.h"
#include "platform/QSettingsPreferencesStore.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

namespace sorvala::ctl {

namespace {

// TRANSLATORS: the command, its actions, KEY, VALUE, --all, --json and the path stay as they are.
constexpr const char* overview = I18N_NOOP("usage: sorvalactl settings <list|get|set|reset> ...\n"
    "\n"
    "  list [--json]     every setting: key, type, factory default, current value, whether it has an effect\n"
    "  get KEY           the current value of one setting\n"
    "  set KEY VALUE     store a value (true/false/1/0, a whole number, a number, a text, or a\n"
    "                    comma-separated list; an empty VALUE is an empty text or list)\n"
    "  reset KEY         back to the factory default\n"
    "  reset --all       every setting back to its factory default\n"
    "\n"
    "The settings live in $XDG_CONFIG_HOME/Sorvala/Sorvala.conf; a running Sorvala sees changes at once.\n");

// TRANSLATORS: "live" and "inactive" are printed as they are; keep them in English.
constexpr const char* listHelp = I18N_NOOP("usage: sorvalactl settings list [--json]\n"
    "\n"
    "One line per setting: key, type, factory default, current value, and \"live\" when the setting\n"
    "has an effect now (\"inactive\" when a setting it depends on is off), then the choices of a\n"
    "setting that takes only some words. With --json, one JSON array of objects with key, type,\n"
    "default, value and live, and choices where the setting has them.\n");

constexpr const char* getHelp = I18N_NOOP("usage: sorvalactl settings get KEY\n"
    "\n"
    "Prints the current value of the setting KEY (its factory default when never set).\n");

constexpr const char* setHelp = I18N_NOOP("usage: sorvalactl settings set KEY VALUE\n"
    "\n"
    "Stores VALUE under KEY. Truth values take true, false, 1 or 0; integers a whole number and\n"
    "numbers a decimal number, each within the range the settings window allows; texts anything,\n"
    "the empty text too, except where the setting is a choice (settings list shows the choices);\n"
    "lists comma-separated items (blanks around items are dropped).\n"
    "Nothing is written when the key or the value is not right.\n");

constexpr const char* resetHelp = I18N_NOOP("usage: sorvalactl settings reset KEY\n"
    "       sorvalactl settings reset --all\n"
    "\n"
    "Removes the stored value, so the factory default applies again.\n");

// Carries the store's diagnostics to the error stream and remembers that something failed.
class CommandLogger final : public Logger {
public:
    explicit CommandLogger(std::ostream& err) : m_err(err) {}
    void log(std::string_view message) override {
        m_err << "sorvalactl: " << message << '\n';
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    std::ostream& m_err;
    bool m_failed = false;
};

struct OpenStore {
    explicit OpenStore(std::ostream& err) : logger(err), store(logger) {
        SettingsSchema::registerDefaults(store);
    }
    CommandLogger logger;
    QSettingsPreferencesStore store;
};

std::string shown(const PreferenceValue& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return text->empty() ? "\"\"" : *text;
    return describe(value);
}

nlohmann::ordered_json toJson(const PreferenceValue& value) {
    return std::visit([](const auto& payload) { return nlohmann::ordered_json(payload); }, value);
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.resize(width, ' ');
    return text;
}

// "one of 1, 2, 5": what a setting takes.
std::string choicesOf(const std::vector<std::string>& choices) {
    // TRANSLATORS: what a setting takes; %1 lists the values it accepts.
    return i18n("one of %1", Text::joined(choices));
}

std::string rangeText(const Setting& setting) {
    std::vector<std::string> choices;
    for (const std::int64_t choice : setting.editorChoices)
        choices.push_back(std::to_string(choice));
    if (setting.editorRange) {
        const auto low = describe(setting.editorRange->minimum);
        const auto high = describe(setting.editorRange->maximum);
        // TRANSLATORS: what a setting takes: %1 and %2 are the lowest and highest value, %3 lists values.
        return choices.empty() ? i18n("%1 to %2", low, high)
                               : i18n("%1 to %2, one of %3", low, high, Text::joined(choices));
    }
    return choices.empty() ? std::string() : choicesOf(choices);
}

// "one of casual, balanced, hardcore" for a text setting that is a choice.
std::string choicesText(const Setting& setting) {
    return choicesOf(std::vector<std::string>(setting.textChoices.begin(), setting.textChoices.end()));
}

// The value of `text` for `setting`, or an error sentence.
struct Parsed {
    std::optional<PreferenceValue> value;
    std::string error;
};

Parsed parseValue(const Setting& setting, const std::string& text) {
    const std::string key(setting.key);
    switch (setting.factoryDefault.type()) {
    case FactoryDefault::Type::boolean:
        if (text == "true" || text == "1")
            return {true, {}};
        if (text == "false" || text == "0")
            return {false, {}};
        // TRANSLATORS: %1 is a settings key; true, false, 1 and 0 are typed as they are.
        return {std::nullopt, i18n("%1 takes true, false, 1 or 0, not '%2'", key, text)};
    case FactoryDefault::Type::integer: {
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        std::int64_t whole = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), whole);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size())
            return {std::nullopt, i18n("%1 takes a whole number, not '%2'", key, text)};
        if (!setting.acceptsInEditor(static_cast<double>(whole)))
            // TRANSLATORS: %1 is a settings key, %2 what it takes, such as "1 to 90".
            return {std::nullopt, i18n("%1 takes %2, not %3", key, rangeText(setting), text)};
        return {whole, {}};
    }
    case FactoryDefault::Type::number: {
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        double number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || !std::isfinite(number))
            return {std::nullopt, i18n("%1 takes a number, not '%2'", key, text)};
        if (!setting.acceptsInEditor(number))
            return {std::nullopt, i18n("%1 takes %2, not %3", key, rangeText(setting), text)};
        return {number, {}};
    }
    case FactoryDefault::Type::text:
        if (!setting.acceptsText(text))
            // TRANSLATORS: %1 is a settings key, %2 what it takes, such as "one of casual, balanced".
            return {std::nullopt, i18n("%1 takes %2, not '%3'", key, choicesText(setting), text)};
        return {text, {}};
    case FactoryDefault::Type::textList: {
        std::vector<std::string> items;
        std::string_view rest = text;
        while (true) {
            const auto comma = rest.find(',');
            const std::string_view item = Text::trimmed(rest.substr(0, comma));
            if (!item.empty())
                items.emplace_back(item);
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
        return {items, {}};
    }
    }
    return {std::nullopt, "unknown type"};
}

const Setting* findSetting(const Invocation& invocation, const std::string& key) {
    const auto& rows = SettingsSchema::byKey();
    const auto found = rows.find(key);
    if (found == rows.end()) {
        fail(invocation, i18n("unknown setting '%1' (see sorvalactl settings list)", key));
        return nullptr;
    }
    return found->second;
}

int list(const Invocation& invocation, const std::vector<std::string>& args) {
    if (args.size() > 1 || (args.size() == 1 && args[0] != "--json"))
        return fail(invocation, i18n("settings list takes only --json (see sorvalactl settings list --help)"));
    OpenStore open(invocation.err);
    const auto& store = open.store;
    if (!args.empty()) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (const Setting& setting : SettingsSchema::settings()) {
            const auto value = store.object(setting.key);
            rows.push_back({{"key", setting.key},
                            {"type", text(setting.factoryDefault.type())},
                            {"default", toJson(setting.factoryDefault.stored())},
                            {"value", value ? toJson(*value) : nlohmann::ordered_json()},
                            {"live", SettingsSchema::isLive(setting.key, store)}});
            if (!setting.textChoices.empty())
                rows.back()["choices"] = setting.textChoices;
        }
        invocation.out << rows.dump(2) << '\n';
        return 0;
    }
    struct Line {
        std::string key, type, factoryDefault, value, live, choices;
    };
    std::vector<Line> lines;
    std::size_t keyWidth = 0, defaultWidth = 0, valueWidth = 0;
    for (const Setting& setting : SettingsSchema::settings()) {
        const auto value = store.object(setting.key);
        lines.push_back({std::string(setting.key), std::string(text(setting.factoryDefault.type())),
                         shown(setting.factoryDefault.stored()), value ? shown(*value) : "unset",
                         SettingsSchema::isLive(setting.key, store) ? "live" : "inactive",
                         setting.textChoices.empty() ? std::string() : "  (" + choicesText(setting) + ")"});
        keyWidth = std::max(keyWidth, lines.back().key.size());
        defaultWidth = std::max(defaultWidth, lines.back().factoryDefault.size());
        valueWidth = std::max(valueWidth, lines.back().value.size());
    }
    for (const Line& line : lines)
        invocation.out << padded(line.key, keyWidth + 2) << padded(line.type, 10)
                       << padded(line.factoryDefault, defaultWidth + 2) << padded(line.value, valueWidth + 2)
                       << line.live << line.choices << '\n';
    return 0;
}

int get(const Invocation& invocation, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return fail(invocation, i18n("settings get takes one KEY (see sorvalactl settings get --help)"));
    const Setting* setting = findSetting(invocation, args[0]);
    if (!setting)
        return usageError;
    OpenStore open(invocation.err);
    const auto value = open.store.object(setting->key);
    invocation.out << (value ? describe(*value) : "unset") << '\n';
    return 0;
}

int set(const Invocation& invocation, const std::vector<std::string>& args) {
    if (args.size() != 2)
        return fail(invocation, i18n("settings set takes KEY and VALUE (see sorvalactl settings set --help)"));
    const Setting* setting = findSetting(invocation, args[0]);
    if (!setting)
        return usageError;
    const Parsed parsed = parseValue(*setting, args[1]);
    if (!parsed.value)
        return fail(invocation, parsed.error);
    OpenStore open(invocation.err);
    open.store.set(setting->key, *parsed.value);
    return open.logger.failed() ? 1 : 0;
}

int reset(const Invocation& invocation, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return fail(invocation,
                    i18n("settings reset takes one KEY or --all (see sorvalactl settings reset --help)"));
    std::vector<std::string_view> keys;
    if (args[0] == "--all") {
        for (const Setting& setting : SettingsSchema::settings())
            keys.push_back(setting.key);
    } else if (const Setting* setting = findSetting(invocation, args[0])) {
        keys.push_back(setting->key);
    } else {
        return usageError;
    }
    OpenStore open(invocation.err);
    for (const auto key : keys)
        if (open.store.hasStoredValue(key))
            open.store.remove(key);
    return open.logger.failed() ? 1 : 0;
}

} // namespace

int settingsCommand(const Invocation& invocation) {
    const auto& args = invocation.args;
    if (args.empty())
        return fail(invocation, i18n("settings needs list, get, set or reset (see sorvalactl settings --help)"));
    if (args[0] == "--help" || args[0] == "-h") {
        invocation.out << i18n(overview);
        return 0;
    }
    const std::string& action = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    struct Action {
        std::string_view name;
        const char* help;
        int (*run)(const Invocation&, const std::vector<std::string>&);
    };
    const Action actions[] = {{"list", listHelp, list}, {"get", getHelp, get}, {"set", setHelp, set},
                              {"reset", resetHelp, reset}};
    for (const auto& candidate : actions) {
        if (candidate.name != action)
            continue;
        if (wantsHelp(Invocation{rest, invocation.out, invocation.err})) {
            invocation.out << i18n(candidate.help);
            return 0;
        }
        return candidate.run(invocation, rest);
    }
    return fail(invocation, i18n("unknown settings action '%1' (see sorvalactl settings --help)", action));
}

} // namespace sorvala::ctl
