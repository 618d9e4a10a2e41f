// SPDX-License-Identifier: MIT
#include "simulation/MemoryPreferences.h"

namespace sorvala {

void MemoryPreferences::registerDefaults(const std::map<std::string, PreferenceValue>& defaults) {
    for (const auto& [key, value] : defaults)
        m_registered.insert_or_assign(key, value);
}

std::set<std::string> MemoryPreferences::registrationKeys() const {
    std::set<std::string> keys;
    for (const auto& entry : m_registered)
        keys.insert(entry.first);
    return keys;
}

std::optional<PreferenceValue> MemoryPreferences::object(std::string_view key) const {
    if (const auto found = m_values.find(key); found != m_values.end())
        return found->second;
    if (const auto found = m_registered.find(key); found != m_registered.end())
        return found->second;
    return std::nullopt;
}

void MemoryPreferences::set(std::string_view key, const PreferenceValue& value) {
    m_values.insert_or_assign(std::string(key), value);
    notify();
}

void MemoryPreferences::remove(std::string_view key) {
    if (const auto found = m_values.find(key); found != m_values.end())
        m_values.erase(found);
    notify();
}

Subscription MemoryPreferences::observeChanges(std::function<void()> observer) {
    const int id = m_nextObserver++;
    m_observers.emplace(id, std::move(observer));
    return Subscription([this, id] { m_observers.erase(id); });
}

void MemoryPreferences::notify() {
    ++m_writes;
    const auto observers = m_observers; // an observer may unsubscribe while being called
    for (const auto& [id, observer] : observers)
        observer();
}

} // namespace sorvala
