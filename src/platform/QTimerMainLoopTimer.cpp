// SPDX-License-Identifier: MIT
#include "platform/QTimerMainLoopTimer.h"

#include "core/Clock.h"

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace sorvala {

namespace {

// QTimer counts whole milliseconds in an int; longer waits are made of several rounds.
constexpr double longestRoundMilliseconds = std::numeric_limits<int>::max() / 2.0;

class QTimerHandle final : public TimerHandle {
public:
    QTimerHandle(const Clock& clock, double after, bool repeats, double tolerance, std::function<void()> block)
        : m_clock(clock), m_timer(new QTimer), m_repeats(repeats), m_block(std::move(block)) {
        m_timer->setTimerType(QTimerMainLoopTimer::timerType(tolerance));
        m_intervalMilliseconds = milliseconds(std::max(after, repeats ? 0.001 : 0.0));
        QObject::connect(m_timer, &QTimer::timeout, [this] { fired(); });
        arm(m_clock.now() + after);
    }

    ~QTimerHandle() override {
        m_timer->stop();
        // The timer may be the one whose timeout is running right now; let the loop delete it.
        QObject::disconnect(m_timer, nullptr, nullptr, nullptr);
        m_timer->deleteLater();
    }

    void invalidate() override {
        m_valid = false;
        m_timer->stop();
    }
    bool isValid() const override { return m_valid; }
    Instant fireDate() const override {
        // The timer counts elapsed time: after the wall clock is set, its firing is as far away as
        // it was, and the date it fires at moved with the clock.
        if (m_valid && !m_partialRound && m_timer->isActive())
            return m_clock.now() + std::max(0, m_timer->remainingTime()) / 1000.0;
        return m_target;
    }
    void setFireDate(Instant date) override {
        if (m_valid)
            arm(date);
    }

private:
    static int milliseconds(double seconds) {
        return static_cast<int>(std::clamp(std::ceil(seconds * 1000), 0.0, longestRoundMilliseconds));
    }

    void arm(Instant target) {
        m_target = target;
        const double wanted = (target - m_clock.now()) * 1000;
        m_partialRound = wanted > longestRoundMilliseconds;
        m_timer->setSingleShot(true);
        m_timer->start(milliseconds(target - m_clock.now()));
    }

    void fired() {
        if (!m_valid)
            return;
        // A wait longer than one round goes on until its target.
        if (m_partialRound) {
            arm(m_target);
            return;
        }
        if (m_repeats)
            arm(m_clock.now() + m_intervalMilliseconds / 1000.0);
        else
            m_valid = false;
        const auto block = m_block; // the block may destroy this handle
        block();
    }

    const Clock& m_clock;
    QTimer* m_timer;
    bool m_repeats;
    bool m_valid = true;
    bool m_partialRound = false;
    int m_intervalMilliseconds = 0;
    Instant m_target;
    std::function<void()> m_block;
};

} // namespace

Qt::TimerType QTimerMainLoopTimer::timerType(double tolerance) {
    return tolerance <= 0 ? Qt::PreciseTimer : Qt::CoarseTimer;
}

TimerField QTimerMainLoopTimer::scheduled(double after, bool repeats, double tolerance, std::function<void()> block) {
    return std::make_unique<QTimerHandle>(m_clock, after, repeats, tolerance, std::move(block));
}

} // namespace sorvala
