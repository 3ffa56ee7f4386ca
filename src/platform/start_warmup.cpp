#include "platform/start_warmup.h"

#include "platform/printer_cups.h"

#include <fontconfig/fontconfig.h>

#include <system_error>
#include <thread>

namespace platform
{

namespace
{

// Joined when the process ends. The window's first page waits for the
// printer's answer, so by then the thread has long finished.
struct WarmUpThread {
    std::thread thread;
    ~WarmUpThread()
    {
        if (thread.joinable())
            thread.join();
    }
};

} // namespace

void StartWarmUp()
{
    // The answer's slot is made before the thread's holder, so that it is
    // gone only after the thread was joined.
    std::function<void()> askPrinter = BeginDefaultQueuePrefetch();
    if (!askPrinter)
        return; // started before
    static WarmUpThread warmUp;
    try {
        warmUp.thread = std::thread([askPrinter] {
            // Qt reads the same configuration when it needs its first font.
            // fontconfig keeps one per process and lets only one reading in,
            // so the window finds it read.
            FcInit();
            askPrinter();
        });
    } catch (const std::system_error &) {
        askPrinter(); // no thread to be had: the window must not wait for an answer in vain
    }
}

} // namespace platform
