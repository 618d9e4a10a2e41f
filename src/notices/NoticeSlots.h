// SPDX-License-Identifier: MIT
#pragma once

#include "notices/UserSignal.h"

#include <map>
#include <optional>
#include <vector>

namespace sorvala {

/// Which signal kind holds which place on screen. A claim by a higher-ranked kind pushes the
/// holders out; a claim by an equal or lower one is refused.
class NoticeSlots {
public:
    /// Gives `resources` to `kind`. None when refused (nothing changes); otherwise the kinds pushed
    /// out, in the order of their words. The claimant gives up whatever it held before, and a
    /// pushed-out kind loses all its places.
    std::optional<std::vector<UserSignal::Kind>> claim(UserSignal::Kind kind,
                                                       const std::vector<UserSignal::Resource>& resources);
    /// Frees every place `kind` holds.
    void release(UserSignal::Kind kind);
    /// Whether `kind` holds at least one place.
    bool isShowing(UserSignal::Kind kind) const;
    /// The kind holding `resource`, if any.
    std::optional<UserSignal::Kind> holder(const UserSignal::Resource& resource) const;

private:
    std::map<UserSignal::Resource, UserSignal::Kind> m_occupants;
};

} // namespace sorvala
