#pragma once
// The end of the session: SIGTERM (logout, shutdown, kill), SIGHUP (the
// display or terminal goes) and SIGINT (Ctrl+C) would end the process at
// once and leave its lock and undo files behind. They are turned into a call
// on the event loop instead, where the program quits the normal way.

#include <functional>

class QObject;

namespace platform
{
// Calls onSignal from context's event loop whenever one of the signals
// arrives. Once per process.
void WatchTerminationSignals(QObject *context, std::function<void()> onSignal);
} // namespace platform
