// SPDX-License-Identifier: MIT
#include "core/BreakEngine.h"
#include "core/SettingsKeys.h"

#include "support/CoreDefaults.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <random>
#include <sstream>

namespace sorvala {
namespace {

using Kind = BreakEvent::Kind;
using E = BreakEngine;

// Plays the application's part around the engine with random facts (a much simplified main loop:
// heads-up, typing retry, breaks on screen, pauses, snoozes, planned breaks, settings changes) and
// checks every call against rules that must hold whatever happens.
class Driver {
public:
    explicit Driver(unsigned seed) : m_random(seed) {
        registerCoreDefaults(m_store);
        m_engine.startFreshWorkStretch(m_now);
    }

    static inline std::array<int, std::variant_size_v<E::Effect>> seen{};

    void step() {
        m_now += chance(0.02) ? 200.0 + pick(3000) : 10.0;
        if (chance(0.03))
            m_awaySince = m_awaySince ? std::nullopt : std::optional<Instant>(m_now);
        m_withinHours ^= chance(0.05);
        m_displayAsleep ^= chance(0.03);
        if (chance(0.05))
            m_cause = m_cause ? std::nullopt : std::optional<std::string>(chance(0.5) ? "Call" : "Video");
        command(pick(12));
        if (m_headsUpEndsAt && m_now >= *m_headsUpEndsAt)
            takeLongBreak();
        if (m_typingRetry) {
            const auto retry = BreakGate::typingHoldRetry(facts().isPresent(), pick(12), BreakTiming::typingPauseSeconds);
            m_typingRetry = retry == BreakGate::Retry::wait;
            if (retry == BreakGate::Retry::abandon)
                call("abandonHold", [&] { return m_engine.abandonHold("away"); });
            else if (retry == BreakGate::Retry::take)
                takeLongBreak();
        }
        if (m_onBreak && m_now >= m_breakEndsAt)
            endBreak();
        if (!m_engine.isPaused() || chance(0.3)) { // the application does not poll while paused; the engine copes
            const E::Facts f = facts();
            const WorkClock before = m_engine.workClock();
            const E::Effects effects = call("tick", [&] { return m_engine.tick(f); });
            for (const auto& effect : effects)
                EXPECT_FALSE(std::holds_alternative<E::BreakDue>(effect) && (!f.withinWorkingHours || f.resting))
                    << "breakDue off hours or while resting" << trace();
            EXPECT_TRUE(!f.resting || m_engine.workClock() == before) << "the clock ran during a break" << trace();
        }
        const auto until = m_engine.workClock().secondsUntilNextBreak(m_now, m_engine.intervals());
        EXPECT_GE(until.value_or(0), 0) << trace();
    }

    std::string trace() const {
        std::ostringstream out;
        for (const auto& line : m_trace)
            out << "\n  " << line;
        return out.str();
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

    E::Facts facts() {
        return E::Facts{m_now, !m_engine.isPaused(), m_withinHours, m_onBreak || m_headsUpEndsAt || m_typingRetry,
                        m_awaySince ? m_now - *m_awaySince : pick(30), m_displayAsleep,
                        m_cause && chance(0.5) ? std::optional<Instant>(m_now - pick(200)) : std::nullopt};
    }
    E::World world() {
        return E::World{facts(), static_cast<double>(pick(12)), m_cause, m_cause == "Call",
                        chance(0.2) ? 1.0 + pick(30) : 0.0};
    }

    // Calls the engine, checks the effects of that one call, then carries them out.
    E::Effects call(const char* name, const std::function<E::Effects()>& engineCall) {
        const auto before = m_engine.dueBreak();
        const E::Effects effects = engineCall();
        std::ostringstream line;
        line << name;
        for (const auto& effect : effects)
            line << " [" << effect << "]";
        m_trace.push_back(line.str());
        if (m_trace.size() > 30)
            m_trace.pop_front();

        int due = 0;
        for (const auto& effect : effects) {
            ++seen[effect.index()];
            due += std::holds_alternative<E::BreakDue>(effect);
            if (std::holds_alternative<E::HoldDropped>(effect)) {
                EXPECT_TRUE(before && before->isHeld()) << "released a hold that was not there" << trace();
            }
            if (const auto* s = std::get_if<E::TickSuppressionChanged>(&effect)) {
                EXPECT_NE(s->reason, m_lastSuppression) << "the same suppression reported twice" << trace();
                m_lastSuppression = s->reason;
            }
        }
        EXPECT_LE(due, 1) << "two breakDue in one call" << trace();
        EXPECT_FALSE(due && m_engine.isPaused()) << "breakDue while paused" << trace();

        for (const auto& effect : effects) {
            if (const auto* d = std::get_if<E::BreakDue>(&effect)) {
                call("decide", [&] { return m_engine.decide(d->kind, world()); });
            } else if (const auto* c = std::get_if<E::Commit>(&effect)) {
                m_committed[static_cast<std::size_t>(c->kind)] = true;
                if (c->kind == Kind::long_) {
                    m_engine.breakAnnounced();
                    m_headsUpEndsAt = m_now + 30;
                }
            } else if (const auto* s = std::get_if<E::ClaimScreen>(&effect)) {
                EXPECT_TRUE(m_committed[static_cast<std::size_t>(s->kind)])
                    << "claimScreen without a commit of its kind since the last break ended" << trace();
                m_onBreak = s->kind;
                m_breakEndsAt = m_now + (s->kind == Kind::micro ? 20 : 300);
            } else if (std::holds_alternative<E::RetryTypingHold>(effect)) {
                m_typingRetry = true;
            } else if (std::holds_alternative<E::HoldDropped>(effect)) {
                m_typingRetry = false;
            } else if (std::holds_alternative<E::CreditAwayRest>(effect) || std::holds_alternative<E::OfferAwayUndo>(effect)) {
                m_engine.creditLongRest();
                m_engine.consumeAwayState();
            }
        }
        return effects;
    }

    void takeLongBreak() {
        m_headsUpEndsAt.reset();
        if (!m_onBreak)
            call("screenTake", [&] { return m_engine.screenTake(Kind::long_, world()); });
    }

    void endBreak() {
        const Kind kind = *m_onBreak;
        m_onBreak.reset();
        m_committed = {false, false};
        m_engine.breakEnded(kind);
        if (kind == Kind::long_)
            m_engine.startFreshWorkStretch(m_now);
        else
            m_engine.startFreshMicroCadence(m_now);
    }

    void command(int which) {
        if (which == 0) {
            const std::int64_t minutes[] = {0, 1, 2, 3, 20};
            m_store.set(SettingsSchema::microMinutesKey, minutes[pick(5)]);
            m_store.set(SettingsSchema::reminderMinutesKey, minutes[1 + pick(4)]);
            m_store.set(SettingsSchema::breakCycleEnabledKey, chance(0.5));
            m_store.set(SettingsSchema::breakCycleLengthKey, std::int64_t{1 + pick(3)});
            m_engine.startFreshWorkStretch(m_now);
        } else if (which == 1 && m_engine.isPaused()) {
            m_engine.resume();
            m_engine.startFreshWorkStretch(m_now);
        } else if (which == 1) {
            m_engine.pause(chance(0.5) ? Instant::distantFuture() : m_now + 600);
            m_headsUpEndsAt.reset();
            m_typingRetry = false;
        } else if (which == 2 && m_engine.snoozeBudget().allowsSnooze(m_engine.snoozeCount(), 0)) {
            m_engine.snooze(60.0 * (1 + pick(5)), m_now);
            m_typingRetry = false;
        } else if (which == 3 && !m_engine.isPaused()) {
            m_engine.armFixedTimeBreak();
            call("planned decide", [&] { return m_engine.decide(Kind::long_, world()); });
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
    std::optional<Instant> m_headsUpEndsAt;
    bool m_typingRetry = false;
    std::optional<Kind> m_onBreak;
    Instant m_breakEndsAt;
    std::array<bool, 2> m_committed{false, false};
    std::optional<Diagnostics::SuppressedTickReason> m_lastSuppression;
    std::deque<std::string> m_trace;
};

TEST(BreakEngineRandomised, InvariantsHoldOverGeneratedDays) {
    for (unsigned seed = 1; seed <= 200 && !::testing::Test::HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Driver driver(seed);
        for (int i = 0; i < 400 && !::testing::Test::HasFailure(); ++i)
            driver.step();
    }
    for (std::size_t i = 0; i < Driver::seen.size(); ++i)
        EXPECT_GT(Driver::seen[i], 0) << "the generator never produced effect alternative " << i;
}

} // namespace
} // namespace sorvala
