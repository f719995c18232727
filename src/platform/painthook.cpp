#include "platform/painthook.h"

#include <utility>

namespace {
PaintHook g_hook;
}

void ServePaint()
{
    if (g_hook)
        g_hook();
}

PaintHook SetPaintHook(PaintHook hook)
{
    return std::exchange(g_hook, std::move(hook));
}
