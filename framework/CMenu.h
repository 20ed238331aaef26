#pragma once
#include <windows.h>
#include "framework/CObject.h"

// A menu handle owned by the object: destroyed with it unless detached.
class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    BOOL CreatePopupMenu()
    {
        DestroyMenu();
        m_hMenu = ::CreatePopupMenu();
        return m_hMenu != nullptr;
    }
    BOOL Attach(HMENU menu)
    {
        DestroyMenu();
        m_hMenu = menu;
        return menu != nullptr;
    }
    HMENU Detach()
    {
        HMENU h = m_hMenu;
        m_hMenu = nullptr;
        return h;
    }
    BOOL DestroyMenu()
    {
        if (!m_hMenu) return FALSE;
        BOOL ok = ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
        return ok;
    }
    BOOL AppendMenu(UINT flags, UINT_PTR idOrSubmenu = 0, const wchar_t* text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, idOrSubmenu, text);
    }
    UINT CheckMenuItem(UINT item, UINT check) { return (UINT)::CheckMenuItem(m_hMenu, item, check); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    // Runs the menu at a screen point until it closes; a chosen item goes to owner as
    // WM_COMMAND, or is answered when TPM_RETURNCMD is among the flags.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner)
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr);
    }
};
