// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

/// The first-run walkthrough.
class Onboarding {
public:
    virtual ~Onboarding() = default;
    /// Shows the walkthrough unless it was shown before.
    virtual void showIfNeeded() = 0;
    /// Whether the walkthrough is on screen (a reopen request then opens nothing else).
    virtual bool isShowing() const = 0;
};

} // namespace sorvala
