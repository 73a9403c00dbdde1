// test-links: mojuan_app
#include "app/SignalClose.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Runs the event loop until `done` or two seconds have passed.
bool SpinUntil(const bool& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done;
}

class SignalCloseTest : public testing::TestWithParam<int> {};

TEST_P(SignalCloseTest, SignalClosesThroughTheEventLoop) {
    int calls = 0;
    bool closed = false;
    ASSERT_TRUE(InstallCloseOnSignals([&] {
        ++calls;
        closed = true;
    }));
    std::raise(GetParam());
    EXPECT_EQ(calls, 0); // never from inside the signal handler
    EXPECT_TRUE(SpinUntil(closed));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
}

INSTANTIATE_TEST_SUITE_P(CloseSignals, SignalCloseTest, testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(SignalCloseAgainTest, SecondSignalEndsTheProcessAtOnce) {
    EXPECT_EXIT(
        {
            InstallCloseOnSignals([] {});
            std::raise(SIGTERM);
            std::raise(SIGTERM);
            std::_Exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}

} // namespace
