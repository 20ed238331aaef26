#include "configurator/function_picker/MacroRecording.h"

int RecordedKey(int vk, UINT keyFlags)
{
    const bool extended = (keyFlags & 0x100) != 0;
    switch (vk) {
    case VK_CONTROL:
        return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU:
        return extended ? VK_RMENU : VK_LMENU;
    case VK_SHIFT:
        // The two Shift keys differ only by their scan codes.
        if ((keyFlags & 0xFF) == 0x2A) return VK_LSHIFT;
        if ((keyFlags & 0xFF) == 0x36) return VK_RSHIFT;
        return VK_SHIFT;
    case VK_RETURN:
        return extended ? VK_SEPARATOR : VK_RETURN;
    default:
        return vk;
    }
}

bool IsKeyDownIn(const MacroEvent* events, int count, int vk)
{
    for (int i = count - 1; i >= 0; --i) {
        if (events[i].vk == vk) return events[i].up == 0;
    }
    return false;
}

void SetAutomaticDelays(MacroEvent* events, int n, int vk)
{
    if (n == 1) {
        const bool slash = vk == VK_OEM_2;
        events[0].delay = slash ? 20 : 10;
        events[1].delay = slash ? 50 : 20;
    } else if (n > 0 && n < MACRO_EVENT_COUNT) {
        events[n].delay = n % 2 == 0 ? 10 : 20;
    }
}

namespace {

DWORD (*g_tickSource)() = nullptr;

}  // namespace

DWORD RecorderTickCount()
{
    return g_tickSource ? g_tickSource() : GetTickCount();
}

void SetRecorderTickSource(DWORD (*source)())
{
    g_tickSource = source;
}
