#pragma once
#include <windows.h>
#include "framework/CObject.h"
#include "framework/CString.h"

class CWnd;

// A menu that owns its handle: destroyed with the object (with every submenu appended
// to it), movable, never copied. A submenu appended with MF_POPUP belongs to its parent
// afterwards: Detach it from its own object.
class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    CMenu(CMenu&& other) noexcept : m_hMenu(other.Detach()) {}
    CMenu& operator=(CMenu&& other) noexcept
    {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    // Takes the handle; the one held before is destroyed.
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL DestroyMenu();

    // idOrPopup: the command id, or with MF_POPUP the submenu's handle.
    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, const wchar_t* text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, idOrPopup, text);
    }
    // Answers the item's previous check state, or (UINT)-1 when there is no such item.
    UINT CheckMenuItem(UINT item, UINT check) { return (UINT)::CheckMenuItem(m_hMenu, item, check); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE)
    {
        return ::SetMenuDefaultItem(m_hMenu, item, byPosition);
    }
    // Shows the popup at a screen point for the owner window and returns when it closes.
    // Without TPM_RETURNCMD the chosen item arrives at the owner as WM_COMMAND and the
    // answer is TRUE when the menu was shown; with it, the answer is the chosen id or 0.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* exclude = nullptr);

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    CString GetMenuString(UINT item, UINT flags) const;
    // The submenu at a position (owned by this menu), or null.
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }

    HMENU m_hMenu = nullptr;
};
