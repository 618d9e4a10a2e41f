// SPDX-License-Identifier: MIT
#include "simulation/VirtualTimers.h"

#include <algorithm>

namespace sorvala {

struct VirtualTimers::Entry {
    std::uint64_t order = 0;
    Instant deadline;
    double interval = 0;
    bool repeats = false;
    bool valid = true;
    std::function<void()> block;
};

namespace {

class VirtualTimerHandle final : public TimerHandle {
public:
    explicit VirtualTimerHandle(std::shared_ptr<VirtualTimers::Entry> entry) : m_entry(std::move(entry)) {}
    ~VirtualTimerHandle() override { invalidate(); }
    void invalidate() override { m_entry->valid = false; }
    bool isValid() const override { return m_entry->valid; }
    Instant fireDate() const override { return m_entry->deadline; }
    void setFireDate(Instant date) override { m_entry->deadline = date; }

private:
    std::shared_ptr<VirtualTimers::Entry> m_entry;
};

} // namespace

TimerField VirtualTimers::scheduled(double after, bool repeats, double, std::function<void()> block) {
    auto entry = std::make_shared<Entry>();
    entry->order = m_created++;
    // A repeating timer of no interval would fire forever at one instant.
    entry->interval = repeats ? std::max(after, 0.001) : after;
    entry->deadline = m_clock.now() + std::max(after, 0.0);
    entry->repeats = repeats;
    entry->block = std::move(block);
    m_entries.push_back(entry);
    return std::make_unique<VirtualTimerHandle>(std::move(entry));
}

void VirtualTimers::runUntil(Instant until) {
    // Timers dropped without firing go too, or a program that re-arms without firing piles them up.
    std::erase_if(m_entries, [](const auto& entry) { return !entry->valid; });
    for (;;) {
        std::shared_ptr<Entry> next;
        for (const auto& entry : m_entries)
            if (entry->valid && entry->deadline <= until &&
                (!next || entry->deadline < next->deadline ||
                 (entry->deadline == next->deadline && entry->order < next->order)))
                next = entry;
        if (!next)
            break;
        m_clock.set(std::max(m_clock.now(), next->deadline));
        if (next->repeats)
            next->deadline = next->deadline + next->interval;
        else
            next->valid = false;
        ++m_firings;
        // The entry stays alive through its own block even when the block drops its handle.
        const auto block = next->block;
        block();
        std::erase_if(m_entries, [](const auto& entry) { return !entry->valid; });
    }
    m_clock.set(std::max(m_clock.now(), until));
}

void VirtualTimers::suspend(double seconds) {
    m_clock.set(m_clock.now() + seconds);
    for (const auto& entry : m_entries)
        entry->deadline = entry->deadline + seconds;
}

int VirtualTimers::liveCount() const {
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(), [](const auto& e) { return e->valid; }));
}

} // namespace sorvala
