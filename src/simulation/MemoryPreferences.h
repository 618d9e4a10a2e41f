// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"

#include <map>

namespace sorvala {

/// A preferences store in memory. Observers are called synchronously after every write.
class MemoryPreferences final : public PreferencesStore {
public:
    void registerDefaults(const std::map<std::string, PreferenceValue>& defaults) override;
    std::set<std::string> registrationKeys() const override;
    std::optional<PreferenceValue> object(std::string_view key) const override;
    void set(std::string_view key, const PreferenceValue& value) override;
    void remove(std::string_view key) override;
    Subscription observeChanges(std::function<void()> observer) override;

    /// Only what the user stored, without the registration domain.
    const std::map<std::string, PreferenceValue, std::less<>>& storedValues() const { return m_values; }
    int writeCount() const { return m_writes; }

private:
    void notify();

    std::map<std::string, PreferenceValue, std::less<>> m_values;
    std::map<std::string, PreferenceValue, std::less<>> m_registered;
    std::map<int, std::function<void()>> m_observers;
    int m_nextObserver = 0;
    int m_writes = 0;
};

} // namespace sorvala
