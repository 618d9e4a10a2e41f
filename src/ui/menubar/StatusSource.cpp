// SPDX-License-Identifier: MIT
#include "ui/menubar/StatusSource.h"

#include "core/Clock.h"
#include "menubar/MenuBarCountdown.h"

namespace sorvala {

StatusSource::StatusSource(const Clock& clock, Suppliers suppliers)
    : m_clock(clock), m_suppliers(std::move(suppliers)) {}

std::optional<std::string> StatusSource::blockerLabel(double lifetime) {
    const auto now = m_clock.now();
    // A clock set back makes the age negative; that reading is stale too.
    if (!m_labelReadAt || now - *m_labelReadAt >= lifetime || now < *m_labelReadAt) {
        m_label = m_suppliers.blockerLabel ? m_suppliers.blockerLabel() : std::nullopt;
        m_labelReadAt = now;
    }
    return m_label;
}

std::string StatusSource::text(const StatusLine::Facts& facts, double labelLifetime) {
    return StatusLine::text(
        facts, [&] { return blockerLabel(labelLifetime); }, m_suppliers.shortTime);
}

StatusSource::Shown StatusSource::shown(bool countdownEnabled, double labelLifetime) {
    Shown shown{.facts = StatusLine::besideCountdown(facts()), .title = std::nullopt, .line = {}};
    const auto& read = shown.facts;
    shown.title = MenuBarCountdown::title(countdownEnabled, read.onBreak, read.pausedUntil.has_value(),
                                          MenuBarCountdown::wholeSeconds(read.secondsUntilNextBreak));
    shown.line = text(read, labelLifetime);
    return shown;
}

} // namespace sorvala
