// SPDX-License-Identifier: MIT
#include "platform/TimerFdWallClockChanges.h"

#include "core/Logger.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/timerfd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace sorvala {

namespace {

/// Moves smaller than this are the clock being read twice, not someone setting it.
constexpr double smallestChangeSeconds = 1;

double seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

double wallMinusBootSeconds() {
    return seconds(CLOCK_REALTIME) - seconds(CLOCK_BOOTTIME);
}

TimerFdWallClockChanges::TimerFdWallClockChanges(Logger& log) : m_log(log) {
    m_fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) {
        m_log.log("clock change watch failed reason=" + std::string(std::strerror(errno)));
        return;
    }
    if (!arm() || !QCoreApplication::instance())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { fired(); });
}

TimerFdWallClockChanges::~TimerFdWallClockChanges() {
    m_notifier.reset();
    if (m_fd >= 0)
        close(m_fd);
}

Subscription TimerFdWallClockChanges::observe(std::function<void(double)> changed) {
    const int id = m_nextObserver++;
    m_observers.emplace(id, std::move(changed));
    return Subscription([this, id] { m_observers.erase(id); });
}

bool TimerFdWallClockChanges::arm() {
    m_wallMinusBoot = wallMinusBootSeconds();
    // An expiry that never comes: the timer exists only to be cancelled when the clock is set.
    itimerspec never{};
    never.it_value.tv_sec = static_cast<time_t>(seconds(CLOCK_REALTIME)) + 100LL * 365 * 24 * 3600;
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) != 0) {
        m_log.log("clock change watch failed reason=" + std::string(std::strerror(errno)));
        return false;
    }
    return true;
}

void TimerFdWallClockChanges::fired() {
    std::uint64_t expirations = 0;
    // A set clock makes the read fail with ECANCELED; the timer must then be armed again.
    const ssize_t got = read(m_fd, &expirations, sizeof expirations);
    if (got >= 0 || errno != ECANCELED)
        return;
    const double before = m_wallMinusBoot;
    if (!arm())
        m_notifier.reset();
    const double by = m_wallMinusBoot - before;
    if (std::abs(by) < smallestChangeSeconds)
        return;
    const auto observers = m_observers;
    for (const auto& [id, changed] : observers)
        changed(by);
}

} // namespace sorvala
