// SPDX-License-Identifier: MIT
#include "notices/NoticeSlots.h"

#include <algorithm>

namespace sorvala {

std::optional<std::vector<UserSignal::Kind>>
NoticeSlots::claim(UserSignal::Kind kind, const std::vector<UserSignal::Resource>& resources) {
    std::vector<UserSignal::Kind> displaced;
    for (const auto& resource : resources) {
        const auto found = m_occupants.find(resource);
        if (found == m_occupants.end() || found->second == kind)
            continue;
        if (std::find(displaced.begin(), displaced.end(), found->second) == displaced.end())
            displaced.push_back(found->second);
    }
    for (const auto holder : displaced)
        if (UserSignal::priority(holder) >= UserSignal::priority(kind))
            return std::nullopt;
    release(kind);
    for (const auto holder : displaced)
        release(holder);
    for (const auto& resource : resources)
        m_occupants[resource] = kind;
    std::sort(displaced.begin(), displaced.end(),
              [](UserSignal::Kind a, UserSignal::Kind b) { return text(a) < text(b); });
    return displaced;
}

void NoticeSlots::release(UserSignal::Kind kind) {
    std::erase_if(m_occupants, [kind](const auto& entry) { return entry.second == kind; });
}

bool NoticeSlots::isShowing(UserSignal::Kind kind) const {
    return std::any_of(m_occupants.begin(), m_occupants.end(),
                       [kind](const auto& entry) { return entry.second == kind; });
}

std::optional<UserSignal::Kind> NoticeSlots::holder(const UserSignal::Resource& resource) const {
    const auto found = m_occupants.find(resource);
    if (found == m_occupants.end())
        return std::nullopt;
    return found->second;
}

} // namespace sorvala
