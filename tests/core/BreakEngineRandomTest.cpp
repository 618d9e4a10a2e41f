// SPDX-License-Identifier: MIT
#include "core/BreakEngine.h"
#include "core/SettingsKeys.h"
#include "core/SnoozeRequest.h"

#include "support/CoreDefaults.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <sstream>

namespace sorvala {
namespace {

using Kind = BreakEvent::Kind;
using E = BreakEngine;

// Plays the application object's part around the engine, much simplified, with random facts:
// the heads-up, the typing retry, breaks on screen, pauses, snoozes, planned breaks and settings
// changes. Every engine call is checked against rules that must hold whatever happens.
class Driver {
public:
    explicit Driver(unsigned seed) : m_random(seed) {
        registerCoreDefaults(m_store);
        m_engine.startFreshWorkStretch(m_now);
    }

    void step() {
        advanceTime();
        switch (pick(12)) {
        case 0: changeSettings(); break;
        case 1: togglePause(); break;
        case 2: snooze(); break;
        case 3: armPlannedBreak(); break;
        case 4: settleAwayUndo(); break;
        case 5: m_engine.dismissOvertimeBadge(m_now); break;
        default: break;
        }
        if (m_pendingLongAt && m_now >= *m_pendingLongAt)
            takeLongBreak();
        if (m_typingRetry)
            typingRetry();
        if (m_onBreak && m_now >= m_breakEndsAt)
            endBreak();
        if (!m_paused)
            poll();
        if (::testing::Test::HasFailure())
            return;
        if (const auto until = m_engine.workClock().secondsUntilNextBreak(m_now, m_engine.intervals())) {
            EXPECT_GE(*until, 0) << trace();
        }
    }

    /// How often each kind of effect came out, so the test can tell the generator reaches them all.
    static inline std::array<int, std::variant_size_v<E::Effect>> seen{};

    std::string trace() const {
        std::ostringstream out;
        out << "\nrecent calls:\n";
        for (const auto& line : m_trace)
            out << "  " << line << "\n";
        return out.str();
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

    void note(std::string line) {
        m_trace.push_back(std::move(line));
        if (m_trace.size() > 40)
            m_trace.pop_front();
    }

    void advanceTime() {
        m_now += chance(0.02) ? 200.0 + pick(3000) : 10.0;
        if (chance(0.03))
            m_awaySince = m_awaySince ? std::nullopt : std::optional<Instant>(m_now);
        if (chance(0.05))
            m_withinHours = !m_withinHours;
        if (chance(0.05))
            m_cause = m_cause ? std::nullopt : std::optional<std::string>(chance(0.5) ? "Call" : "Video");
        if (chance(0.03))
            m_displayAsleep = !m_displayAsleep;
    }

    E::Facts facts() {
        E::Facts f;
        f.now = m_now;
        f.schedulingAllowed = !m_engine.isPaused();
        f.withinWorkingHours = m_withinHours;
        f.resting = m_onBreak.has_value() || m_pendingLongAt.has_value() || m_typingRetry;
        f.idleSeconds = m_awaySince ? m_now - *m_awaySince : pick(30);
        f.displayAsleep = m_displayAsleep;
        if (m_cause && chance(0.5))
            f.presenceLastProvenAt = m_now - pick(200);
        return f;
    }

    E::World world() {
        E::World w;
        w.facts = facts();
        w.secondsSinceKeyDown = pick(12);
        w.smartPauseCause = m_cause;
        w.smartPauseIsAttendedActivity = m_cause == "Call";
        w.cooldownRemaining = chance(0.2) ? 1.0 + pick(30) : 0.0;
        return w;
    }

    // Checks that hold for the effects of any single engine call, then carries them out.
    void perform(const E::Effects& effects, const std::optional<DueBreak>& before, const char* call) {
        std::ostringstream line;
        line << call << " ->";
        for (const auto& effect : effects)
            line << " [" << effect << "]";
        note(line.str());

        int due = 0;
        int dropped = 0;
        for (const auto& effect : effects)
            ++seen[effect.index()];
        for (std::size_t i = 0; i < effects.size(); ++i) {
            const auto& effect = effects[i];
            if (std::holds_alternative<E::BreakDue>(effect))
                ++due;
            if (std::holds_alternative<E::HoldDropped>(effect)) {
                ++dropped;
                EXPECT_TRUE(before && before->isHeld()) << "released a hold that was not there" << trace();
            }
            if (const auto* alert = std::get_if<E::AlertSmartPauseHold>(&effect)) {
                ASSERT_GT(i, 0u) << trace();
                const auto* held = std::get_if<E::BreakHeld>(&effects[i - 1]);
                EXPECT_TRUE(held && held->cause == alert->cause) << "an alert follows its hold" << trace();
            }
            if (const auto* suppression = std::get_if<E::TickSuppressionChanged>(&effect)) {
                EXPECT_NE(suppression->reason, m_lastReportedSuppression) << "reported twice" << trace();
                m_lastReportedSuppression = suppression->reason;
            }
        }
        EXPECT_LE(due, 1) << "two breakDue in one call" << trace();
        EXPECT_LE(dropped, 1) << trace();

        for (const auto& effect : effects) {
            if (const auto* d = std::get_if<E::BreakDue>(&effect)) {
                const auto sample = world();
                const auto prior = m_engine.dueBreak();
                perform(m_engine.decide(d->kind, sample), prior, "decide");
            } else if (const auto* c = std::get_if<E::Commit>(&effect)) {
                m_committed[static_cast<int>(c->kind)] = true;
                if (c->kind == Kind::long_) {
                    m_engine.breakAnnounced();
                    m_pendingLongAt = m_now + 30;
                }
            } else if (const auto* s = std::get_if<E::ClaimScreen>(&effect)) {
                EXPECT_TRUE(m_committed[static_cast<int>(s->kind)])
                    << "claimScreen without a commit of its kind since the last break ended" << trace();
                EXPECT_FALSE(m_engine.dueBreak() && m_engine.dueBreak()->hold) << trace();
                m_onBreak = s->kind;
                m_breakEndsAt = m_now + (s->kind == Kind::micro ? 20 : 300);
            } else if (std::holds_alternative<E::RetryTypingHold>(effect)) {
                m_typingRetry = true;
            } else if (std::holds_alternative<E::HoldDropped>(effect)) {
                m_typingRetry = false;
            } else if (const auto* held = std::get_if<E::BreakHeld>(&effect)) {
                EXPECT_EQ(m_engine.holdingBlock(), held->block) << trace();
            } else if (std::holds_alternative<E::OfferAwayUndo>(effect)) {
                m_undoOffered = true;
            } else if (std::holds_alternative<E::CreditAwayRest>(effect)) {
                m_engine.creditLongRest();
                m_engine.consumeAwayState();
            }
        }
    }

    void poll() {
        const E::Facts f = facts();
        const WorkClock clockBefore = m_engine.workClock();
        const auto before = m_engine.dueBreak();
        const E::Effects effects = m_engine.tick(f);
        const bool canFire = f.schedulingAllowed && f.withinWorkingHours;
        for (const auto& effect : effects)
            EXPECT_FALSE(std::holds_alternative<E::BreakDue>(effect) && (!canFire || f.resting))
                << "breakDue while paused, off hours or resting" << trace();
        if (f.resting) {
            EXPECT_EQ(m_engine.workClock(), clockBefore) << "the clock moved during a break" << trace();
        }
        perform(effects, before, "tick");
    }

    void takeLongBreak() {
        m_pendingLongAt.reset();
        const auto before = m_engine.dueBreak();
        if (m_engine.isPaused()) {
            perform(m_engine.abandonHold("schedulingNotAllowed"), before, "abandonHold");
            return;
        }
        if (m_onBreak)
            return;
        perform(m_engine.screenTake(Kind::long_, world()), before, "screenTake");
    }

    void typingRetry() {
        const E::Facts f = facts();
        switch (BreakGate::typingHoldRetry(f.isPresent(), pick(12), BreakTiming::typingPauseSeconds)) {
        case BreakGate::Retry::abandon: {
            m_typingRetry = false;
            const auto before = m_engine.dueBreak();
            perform(m_engine.abandonHold("away"), before, "abandonHold");
            break;
        }
        case BreakGate::Retry::take:
            m_typingRetry = false;
            takeLongBreak();
            break;
        case BreakGate::Retry::wait: break;
        }
    }

    void endBreak() {
        const Kind kind = *m_onBreak;
        m_onBreak.reset();
        m_engine.breakEnded(kind);
        m_typingRetry = false;
        m_committed = {false, false};
        if (kind == Kind::long_) {
            m_engine.abandonDueBreak();
            m_engine.startFreshWorkStretch(m_now);
        } else {
            m_engine.startFreshMicroCadence(m_now);
        }
        note(std::string("breakEnded ") + std::string(text(kind)));
    }

    void changeSettings() {
        const std::int64_t minutes[] = {0, 1, 2, 3, 20};
        m_store.set(SettingsSchema::microMinutesKey, minutes[pick(5)]);
        m_store.set(SettingsSchema::reminderMinutesKey, minutes[1 + pick(4)]);
        m_store.set(SettingsSchema::breakCycleEnabledKey, chance(0.5));
        m_store.set(SettingsSchema::breakCycleLengthKey, std::int64_t{1 + pick(3)});
        m_engine.abandonDueBreak();
        m_engine.startFreshWorkStretch(m_now);
        note("settings changed; fresh stretches");
    }

    void togglePause() {
        if (m_engine.isPaused()) {
            m_engine.resume();
            m_engine.abandonDueBreak();
            m_engine.startFreshWorkStretch(m_now);
            note("resume");
        } else {
            m_engine.pause(chance(0.5) ? Instant::distantFuture() : m_now + 600);
            m_pendingLongAt.reset();
            m_typingRetry = false;
            EXPECT_EQ(m_engine.dueBreak(), std::nullopt) << trace();
            note("pause");
        }
    }

    void snooze() {
        const int count = m_engine.snoozeCount();
        if (!SnoozeRequest::isAllowed(m_engine.snoozeBudget(), count, 0))
            return;
        m_engine.snooze(60.0 * (1 + pick(5)), m_now);
        m_typingRetry = false;
        EXPECT_EQ(m_engine.snoozeCount(), count + 1) << trace();
        EXPECT_EQ(m_engine.dueBreak(), std::nullopt) << trace();
        note("snooze");
    }

    void armPlannedBreak() {
        if (m_engine.isPaused())
            return;
        m_engine.armFixedTimeBreak();
        const auto before = m_engine.dueBreak();
        perform(m_engine.decide(Kind::long_, world()), before, "planned decide");
    }

    void settleAwayUndo() {
        if (!m_undoOffered)
            return;
        m_undoOffered = false;
        if (chance(0.5)) {
            m_engine.undoAwayReset();
        } else {
            m_engine.acceptAwayReset();
            m_engine.creditLongRest();
            m_engine.consumeAwayState();
        }
    }

    std::mt19937 m_random;
    MemoryPreferences m_store;
    BreakEngine m_engine{m_store};
    Instant m_now = Instant::fromSecondsSinceReferenceDate(800'000'000);
    std::optional<Instant> m_awaySince;
    std::optional<std::string> m_cause;
    bool m_withinHours = true;
    bool m_displayAsleep = false;
    bool m_paused = false;
    std::optional<Instant> m_pendingLongAt;
    bool m_typingRetry = false;
    bool m_undoOffered = false;
    std::optional<Kind> m_onBreak;
    Instant m_breakEndsAt;
    std::array<bool, 2> m_committed{false, false};
    std::optional<Diagnostics::SuppressedTickReason> m_lastReportedSuppression;
    std::deque<std::string> m_trace;
};

TEST(BreakEngineRandomised, InvariantsHoldOverGeneratedDays) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Driver driver(seed);
        for (int i = 0; i < 400 && !::testing::Test::HasFailure(); ++i)
            driver.step();
        if (::testing::Test::HasFailure())
            return;
    }
    for (std::size_t i = 0; i < Driver::seen.size(); ++i)
        EXPECT_GT(Driver::seen[i], 0) << "no effect of alternative " << i << " was generated";
}

} // namespace
} // namespace sorvala
