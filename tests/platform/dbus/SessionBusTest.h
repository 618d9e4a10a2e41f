// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvala {

/// A test that talks over the private session bus of scripts/test-session; skipped outside it.
class OnTheSessionBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "needs a private session bus (run inside scripts/test-session)";
        static int argc = 1;
        static char name[] = "sorvala_platform_dbus_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv); // lives for the whole test process
    }
};

/// Runs the event loop until `done` holds or the time is up; whether it holds.
template <typename Done>
bool pumpUntil(Done done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace sorvala
