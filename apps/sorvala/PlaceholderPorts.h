// SPDX-License-Identifier: MIT
// Stand-ins for the windows and services that are not part of the program yet. Each logs what it
// was asked and does the harmless thing, so the schedule keeps running; each goes when the real
// one is wired in main.cpp.
#pragma once

#include "app/ports/BannerCenter.h"
#include "app/ports/BreakScreen.h"
#include "app/ports/Notices.h"
#include "app/ports/Updater.h"

namespace sorvala {

class Logger;

/// Shows no break: says so in the log and ends the break at once, unrecorded, so the work
/// stretches start over as after any break.
class PlaceholderBreakScreen final : public BreakScreen {
public:
    explicit PlaceholderBreakScreen(Logger& log) : m_log(log) {}
    void begin(int restSeconds, bool isMicroBreak, bool startedManually) override;
    void end(bool, bool) override {}
    bool isActive() const override { return false; }
    void setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) override { m_onEnded = std::move(callback); }

private:
    Logger& m_log;
    std::function<void(bool)> m_onEnded;
};

/// Shows no notice. The away-undo notice "goes away without undo" after its usual time, so an
/// absence is still credited as rest.
class PlaceholderNotices final : public Notices {
public:
    explicit PlaceholderNotices(Logger& log) : m_log(log) {}
    void wire(Callbacks callbacks) override { m_callbacks = std::move(callbacks); }
    void show(const UserSignal& signal) override;
    void clear(UserSignal::Kind kind) override;
    void refreshOvertimeTicker() override {}
    void refreshWellnessTicker() override {}
    void stopOvertimeTicker() override {}

private:
    Logger& m_log;
    Callbacks m_callbacks;
    int m_awayUndoShown = 0;
};

/// Posts no banners: reports them unavailable, so the heads-up picks the on-screen medium.
class PlaceholderBannerCenter final : public BannerCenter {
public:
    void registerCategories(const std::vector<int>&) override {}
    void refreshAuthorization(bool) override {}
    bool isAvailable() const override { return false; }
    void clearDelivered() override {}
};

/// Checks for no updates.
class PlaceholderUpdater final : public Updater {
public:
    explicit PlaceholderUpdater(Logger& log) : m_log(log) {}
    void startAutomaticChecks() override;

private:
    Logger& m_log;
};

} // namespace sorvala
