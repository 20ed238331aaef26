#pragma once
#include "skinkit/CSkinPopupMenu.h"

// The five popup menus. Each kind has one global pointer, held by the popup's owner.

// A popup its owner holds: deleted (closed, if still open) and forgotten.
template <class Popup>
void ForgetPopup(Popup*& popup)
{
    delete popup;
    popup = nullptr;
}

// A popup that closed itself (the focus went elsewhere) is deleted; one still open stays.
template <class Popup>
void ForgetPopupIfGone(Popup*& popup)
{
    if (popup && !popup->m_hWnd) ForgetPopup(popup);
}

// The basic functions of a mouse button (main window); reports the row and the button.
class CButtonMenu : public CSkinPopupMenu {
public:
    CButtonMenu(CWnd* owner, int button);
    int m_nButton;

protected:
    LPARAM SelectParam() const override { return m_nButton; }
};

// The DPI stages (sensor-settings panel).
class CDPIMenu : public CSkinPopupMenu {
public:
    CDPIMenu(CWnd* owner, int* hoverFlag);
};

// The light's intensity (lighting panel).
class CIntensityMenu : public CSkinPopupMenu {
public:
    CIntensityMenu(CWnd* owner, int* hoverFlag);
};

// The light's pulsation (lighting panel).
class CPulsationMenu : public CSkinPopupMenu {
public:
    CPulsationMenu(CWnd* owner, int* hoverFlag);
};

// The region of the character lookup (character dialog). hoverFlag: the region button's,
// so that a second click on it closes the popup.
class CRegionMenu : public CSkinPopupMenu {
public:
    explicit CRegionMenu(CWnd* owner, int* hoverFlag = nullptr);

protected:
    LRESULT OnDestroyRegion(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

extern CButtonMenu* g_pButtonMenu;
extern CDPIMenu* g_pDpiMenu;
extern CIntensityMenu* g_pIntensityMenu;
extern CPulsationMenu* g_pPulsationMenu;
extern CRegionMenu* g_pRegionMenu;

// The kinds' descriptions, for the tests.
extern const PopupMenuKind BUTTON_MENU_KIND;
extern const PopupMenuKind DPI_MENU_KIND;
extern const PopupMenuKind INTENSITY_MENU_KIND;
extern const PopupMenuKind PULSATION_MENU_KIND;
extern const PopupMenuKind REGION_MENU_KIND;
