// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace sorvala {

/// The desktop's notification banners.
class BannerCenter {
public:
    virtual ~BannerCenter() = default;
    /// Registers the banner categories and their snooze actions of `snoozeMinuteChoices` minutes.
    virtual void registerCategories(const std::vector<int>& snoozeMinuteChoices) = 0;
    /// Refreshes whether banners may be posted, asking the user when `ask` and still undecided.
    virtual void refreshAuthorization(bool ask) = 0;
    /// Whether a banner can be posted now.
    virtual bool isAvailable() const = 0;
    /// Withdraws every banner of ours still on screen or in the notification list.
    virtual void clearDelivered() = 0;
};

} // namespace sorvala
