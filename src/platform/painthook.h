// While a socket call waits for the recorder, only painting may happen: the
// socket calls ServePaint between its short waits. The program installs a hook
// that repaints what is marked for update and runs nothing else; outside the
// program the hook is empty.
#pragma once

#include <functional>

void ServePaint();

using PaintHook = std::function<void()>;
PaintHook SetPaintHook(PaintHook hook);
