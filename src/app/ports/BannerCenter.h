// SPDX-License-Identifier: MIT
#pragma once

#include "notices/UserSignal.h"

#include <functional>
#include <string>
#include <vector>

namespace sorvala {

/// The desktop's notification banners.
class BannerCenter {
public:
    /// What the user did with one of our banners.
    struct Response {
        std::string action; ///< the chosen action's identifier ("snooze-5"); "default" for the banner itself
        std::string category; ///< the banner's category ("pre-break")
        bool isDefaultAction = false;
    };

    virtual ~BannerCenter() = default;
    /// Registers the banner categories and their snooze actions of `snoozeMinuteChoices` minutes.
    virtual void registerCategories(const std::vector<int>& snoozeMinuteChoices) = 0;
    /// Refreshes whether banners may be posted, asking the user when `ask` and still undecided.
    virtual void refreshAuthorization(bool ask) = 0;
    /// Whether a banner can be posted now.
    virtual bool isAvailable() const = 0;
    /// Withdraws every banner of ours still on screen or in the notification list.
    virtual void clearDelivered() = 0;

    /// Whether posted banners can show action buttons.
    virtual bool supportsActions() const { return true; }
    /// Delivers `signal` as a banner, replacing an earlier one with the same identifier.
    virtual void post(const UserSignal&) {}
    /// Sets what receives the user's responses, once at launch.
    virtual void setOnResponse(std::function<void(const Response&)>) {}
};

} // namespace sorvala
