#include "service/ProfileSwitch.h"
#include "service/HIDWnd.h"
#include "service/DriverLink.h"
#include "service/PeerWindows.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "core/XmlDoc.h"
#include <cwchar>

void CHIDWnd::SwitchProfile(int profile)
{
    if (!IsProfileIndex(profile)) return;
    m_prevConfig = m_config;
    m_config.PROFILE_ID = profile;
    WriteProfileId(profile);
    ApplyProfile();
    ApplyChangedDeviceSettings();
    SendToWindowTitled(GEARLOOM_MAIN_TITLE, WM_SERVICE_PROFILE_CHANGED, (WPARAM)profile, 0);
}

int CHIDWnd::SetProfile(int profile)
{
    if (!g_hDevice) return 0;
    if (!IsProfileIndex(profile)) return 0;
    SwitchProfile(profile);
    return 1;
}

LRESULT CHIDWnd::OnProfileChange(WPARAM profile, LPARAM)
{
    // Checked before narrowing, so no large value can wrap into the range.
    if (profile <= 9) SetProfile((int)profile);
    return 1;
}

int WriteProfileId(int profile)
{
    CString path = CString(g_szConfDir) + L"Config.xml";
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return 1;
    doc.FindElement(nullptr);
    doc.EnterNode();
    if (doc.FindElement(L"PROFILE_ID")) doc.SetTextAt(doc.m_currentPos, profile);
    doc.SaveFile(path);
    return 1;
}

int WriteProfileChanged(int* savedProfile, int* switched, const CString& folder)
{
    CString path = folder + L"Config.xml";
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return 1;
    CString text;
    text.Format(L"%d,%d,", *savedProfile, *switched);
    doc.FindElement(nullptr);
    doc.EnterNode();
    // The files written by the system carry no such element; without it a game switch
    // could not be undone after a restart, so it is added as the root's last child.
    if (doc.FindElement(L"PROFILE_CHAGED"))
        doc.SetTextAt(doc.m_currentPos, text);
    else
        doc.AddElement(L"PROFILE_CHAGED", text);
    doc.SaveFile(path);
    return 1;
}

static int LeadingNumber(const CString& text)
{
    return (int)wcstol(text, nullptr, 10);
}

void ParseProfileChanged(const CString& text, int* savedProfile, int* switched)
{
    int comma = text.Find(L',');
    *savedProfile = comma < 0 ? 0 : LeadingNumber(text.Left(comma));
    CString rest = comma < 0 ? CString() : text.Mid(comma + 1);
    int second = rest.Find(L',');
    *switched = second < 0 ? 0 : LeadingNumber(rest.Left(second));
}

int ReadProfileChanged(int* savedProfile, int* switched, const CString& folder)
{
    CXmlDoc doc;
    if (!doc.LoadFile(folder + L"Config.xml")) return 0;
    CString text;
    if (doc.FindChildNode(L"PROFILE_CHAGED")) text = doc.GetChildText();
    ParseProfileChanged(text, savedProfile, switched);
    return 1;
}
