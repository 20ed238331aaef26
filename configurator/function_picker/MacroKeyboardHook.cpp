#include "configurator/function_picker/MacroKeyboardHook.h"
#include "core/Messages.h"

HHOOK g_hKeyboardHook = nullptr;
HWND g_hMacroDialog = nullptr;
BYTE g_bWindowsKeyLatch = 0;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM info)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* key = (const KBDLLHOOKSTRUCT*)info;
        if (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN) {
            if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
                if (!g_bWindowsKeyLatch) {
                    g_bWindowsKeyLatch = 1;
                    PostMessageW(g_hMacroDialog, WM_WINDOWS_KEY, 0, 0);
                }
                return 1;
            }
            if (message == WM_KEYUP || message == WM_SYSKEYUP) {
                g_bWindowsKeyLatch = 0;
                PostMessageW(g_hMacroDialog, WM_WINDOWS_KEY, 1, 0);
                return 1;
            }
        }
    }
    return CallNextHookEx(g_hKeyboardHook, code, message, info);
}
