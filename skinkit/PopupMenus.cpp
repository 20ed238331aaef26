#include "skinkit/PopupMenus.h"
#include "skinkit/PopupMenusRes.h"
#include "core/Messages.h"

CButtonMenu* g_pButtonMenu = nullptr;
CDPIMenu* g_pDpiMenu = nullptr;
CIntensityMenu* g_pIntensityMenu = nullptr;
CPulsationMenu* g_pPulsationMenu = nullptr;
CRegionMenu* g_pRegionMenu = nullptr;

namespace {

const wchar_t* const kButtonRows[] = {L"LEFT_CLICK",       L"RIGHT_CLICK",      L"DOUBLE_CLICK", L"WINDOWS_BUTTON_4",
                                      L"WINDOWS_BUTTON_5", L"UNIVERSAL_SCROLL", L"BUTTON_OFF"};
const wchar_t* const kDpiRows[] = {L"DPI_400", L"DPI_800", L"DPI_1600", L"DPI_3200"};
const wchar_t* const kLightRows[] = {L"HIGH", L"MEDIUM", L"LOW", L"OFF"};
const wchar_t* const kRegionRows[] = {L"USA", L"EUROPE", L"KOREA", L"TAIWAN", L"CHINA"};

template <int N> constexpr int Count(const wchar_t* const (&)[N]) { return N; }

}  // namespace

const PopupMenuKind BUTTON_MENU_KIND = {L"BUTTON_MENU", L"BUTTON_MENU", kButtonRows, Count(kButtonRows),
                                        108, WM_BUTTONMENU_SELECT, false};
const PopupMenuKind DPI_MENU_KIND = {L"MOUSE_PROPERTIES_MENU", L"DPI_MENU", kDpiRows, Count(kDpiRows),
                                     102, WM_DPIMENU_SELECT, true};
const PopupMenuKind INTENSITY_MENU_KIND = {L"ILLUMINATION_MENU", L"INTENSITY_MENU", kLightRows, Count(kLightRows),
                                           106, WM_INTENSITYMENU_SELECT, false};
const PopupMenuKind PULSATION_MENU_KIND = {L"ILLUMINATION_MENU", L"PULSATION_MENU", kLightRows, Count(kLightRows),
                                           107, WM_PULSATIONMENU_SELECT, true};
const PopupMenuKind REGION_MENU_KIND = {L"REGION_MENU", L"CHRONICLE", kRegionRows, Count(kRegionRows),
                                        118, WM_REGION_SELECT, true};

CButtonMenu::CButtonMenu(CWnd* owner, int button)
    : CSkinPopupMenu(IDD_BUTTON_MENU, BUTTON_MENU_KIND, owner, nullptr), m_nButton(button)
{
}

CDPIMenu::CDPIMenu(CWnd* owner, int* hoverFlag) : CSkinPopupMenu(IDD_DPI_MENU, DPI_MENU_KIND, owner, hoverFlag)
{
}

CIntensityMenu::CIntensityMenu(CWnd* owner, int* hoverFlag)
    : CSkinPopupMenu(IDD_ILLUMINATION_MENU, INTENSITY_MENU_KIND, owner, hoverFlag)
{
}

CPulsationMenu::CPulsationMenu(CWnd* owner, int* hoverFlag)
    : CSkinPopupMenu(IDD_ILLUMINATION_MENU, PULSATION_MENU_KIND, owner, hoverFlag)
{
}

BEGIN_MESSAGE_MAP(CRegionMenu, CSkinPopupMenu)
    ON_MESSAGE(WM_DESTROY, OnDestroyRegion)
END_MESSAGE_MAP()

CRegionMenu::CRegionMenu(CWnd* owner, int* hoverFlag)
    : CSkinPopupMenu(IDD_REGION_MENU, REGION_MENU_KIND, owner, hoverFlag)
{
}

LRESULT CRegionMenu::OnDestroyRegion(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = OnDestroy(wParam, lParam);
    m_list.DestroyWindow();
    return r;
}
