// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"
#include "core/PreferencesStore.h"

#include <memory>
#include <string>

namespace sorvala {

/// The preferences store of the desktop: an INI file read and written through QSettings, plus the
/// in-memory registration domain. Edits of the file by another process (the screen saver,
/// sorvalactl, a text editor) are noticed while a Qt event loop runs and reported like our own.
/// Values come back typed after the file was re-read: a key whose registered default is a truth
/// value, number or list reads back as one, not as the text the file holds.
class QSettingsPreferencesStore final : public PreferencesStore {
public:
    /// The store of this user: `standardPath()`. `logger` must outlive the store.
    explicit QSettingsPreferencesStore(Logger& logger);
    /// A store over any file, for tests and tools. `logger` must outlive the store.
    QSettingsPreferencesStore(std::string filePath, Logger& logger);
    ~QSettingsPreferencesStore() override;
    QSettingsPreferencesStore(const QSettingsPreferencesStore&) = delete;
    QSettingsPreferencesStore& operator=(const QSettingsPreferencesStore&) = delete;

    /// `$XDG_CONFIG_HOME/Sorvala/Sorvala.conf`, with `~/.config` when XDG_CONFIG_HOME is unset
    /// or not absolute.
    static std::string standardPath();
    /// The file this store reads and writes.
    std::string filePath() const;

    void registerDefaults(const std::map<std::string, PreferenceValue>& defaults) override;
    std::set<std::string> registrationKeys() const override;
    std::optional<PreferenceValue> object(std::string_view key) const override;
    /// Writes through to the file at once; a failed write is logged and the value stays readable
    /// from memory until the process ends.
    void set(std::string_view key, const PreferenceValue& value) override;
    void remove(std::string_view key) override;
    /// Observers are called on the thread that made the store, once per burst of changes, from
    /// its event loop. The subscription may outlive the store.
    Subscription observeChanges(std::function<void()> observer) override;

    /// Whether the user (or another process) stored a value under `key`, ignoring the defaults.
    bool hasStoredValue(std::string_view key) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace sorvala
