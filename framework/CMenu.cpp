#include "framework/CMenu.h"
#include "framework/CWnd.h"
#include <vector>

BOOL CMenu::Attach(HMENU menu)
{
    DestroyMenu();
    m_hMenu = menu;
    return menu != nullptr;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    BOOL ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return ok;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* exclude)
{
    HWND hwnd = owner ? owner->m_hWnd : nullptr;
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, hwnd, exclude);
}

CString CMenu::GetMenuString(UINT item, UINT flags) const
{
    int length = ::GetMenuStringW(m_hMenu, item, nullptr, 0, flags);
    if (length <= 0) return CString();
    std::vector<wchar_t> text((size_t)length + 1);
    ::GetMenuStringW(m_hMenu, item, text.data(), length + 1, flags);
    return CString(text.data());
}
