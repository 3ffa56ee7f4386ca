// A termination signal (logout, shutdown, kill) once ended the window
// program at once, leaving its lock and undo files: it arrives as a call on
// the event loop instead, and the process lives on to quit the normal way.
#include "platform/termination.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>

#include <csignal>
#include <gtest/gtest.h>

TEST(Termination, SignalsArriveOnTheEventLoop)
{
    QObject context;
    int calls = 0;
    platform::WatchTerminationSignals(&context, [&calls] { ++calls; });
    for (int s : {SIGTERM, SIGHUP, SIGINT}) {
        const int before = calls;
        ASSERT_EQ(std::raise(s), 0);
        EXPECT_EQ(calls, before); // not inside the signal handler
        QElapsedTimer waited;
        waited.start();
        while (calls == before && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        EXPECT_EQ(calls, before + 1) << s;
    }
}
