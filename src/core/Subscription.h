// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <utility>

namespace sorvala {

/// Keeps an observer registered for as long as it lives; destroying it (or `cancel`) unregisters.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            m_cancel = std::exchange(other.m_cancel, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { cancel(); }

    void cancel() {
        if (auto cancelNow = std::exchange(m_cancel, nullptr))
            cancelNow();
    }

private:
    std::function<void()> m_cancel;
};

} // namespace sorvala
