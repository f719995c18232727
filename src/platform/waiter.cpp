#include "platform/waiter.h"

#include <chrono>
#include <thread>
#include <utility>

namespace {
Waiter g_waiter;
}

void WaitMilliseconds(int nMilliseconds)
{
    if (g_waiter) {
        g_waiter(nMilliseconds);
        return;
    }
    if (nMilliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
}

Waiter SetWaiter(Waiter waiter)
{
    return std::exchange(g_waiter, std::move(waiter));
}
