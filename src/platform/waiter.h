// The program's fixed waits (after the power keys, before an upload, after
// "Reconnect") go through one function, so tests can record them instead of
// sleeping.
#pragma once

#include <functional>

// Blocks the calling thread for nMilliseconds (through the installed waiter).
void WaitMilliseconds(int nMilliseconds);

// Installs a waiter (empty restores the real sleep) and returns the previous one
// (empty when it was the real sleep).
using Waiter = std::function<void(int)>;
Waiter SetWaiter(Waiter waiter);
