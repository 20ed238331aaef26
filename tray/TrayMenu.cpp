#include "tray/TrayMenu.h"
#include "core/XmlDoc.h"
#include <cwchar>

namespace {

// Reads the named children of the element entered, each searched from its first child,
// so their order in the file does not matter.
void ReadTrayIconElement(CXmlDoc& doc, TrayMenuTexts& texts)
{
    struct Field {
        const wchar_t* name;
        CString* text;
    };
    Field fields[14] = {{L"OPEN", &texts.open}, {L"PROFILE", &texts.profile}};
    wchar_t names[10][16];
    for (int i = 0; i < 10; ++i) {
        swprintf(names[i], 16, L"PROFILE_%d", i + 1);
        fields[2 + i] = {names[i], &texts.profiles[i]};
    }
    fields[12] = {L"HELP", &texts.help};
    fields[13] = {L"HIDE", &texts.hide};
    for (const Field& f : fields) {
        if (doc.FindChildNode(f.name)) {
            *f.text = doc.GetChildText();
            doc.RewindChildren();
        }
    }
}

}  // namespace

TrayMenuTexts ReadTrayMenuTexts(const wchar_t* confDir, const wchar_t* appDir)
{
    TrayMenuTexts texts;
    CXmlDoc doc;
    if (!doc.LoadFile(CString(confDir) + L"TrayIcon.xml") && !doc.LoadFile(CString(appDir) + L"TrayIcon.xml"))
        return texts;
    while (doc.FindChildNode(L"TRAY_ICON")) {
        doc.EnterNode();
        ReadTrayIconElement(doc, texts);
        doc.LeaveNode();
    }
    return texts;
}

int ReadProfileId(const wchar_t* folder)
{
    CXmlDoc doc;
    if (!doc.LoadFile(CString(folder) + L"Config.xml")) return 0;
    if (!doc.FindChildNode(L"PROFILE_ID")) return 0;
    return (int)wcstol(doc.GetChildText(), nullptr, 10);
}

UINT CheckedProfileCmd(int profileId)
{
    return (profileId >= 1 && profileId <= 9) ? ID_TRAY_PROFILE_1 + (UINT)profileId : ID_TRAY_PROFILE_1;
}

BOOL BuildTrayMenu(CMenu& menu, const TrayMenuTexts& texts, UINT checkedCmd)
{
    CMenu profiles;
    if (!menu.CreatePopupMenu() || !profiles.CreatePopupMenu()) return FALSE;
    for (int i = 0; i < 10; ++i) {
        if (i > 0) profiles.AppendMenu(MF_SEPARATOR);
        profiles.AppendMenu(MF_STRING, ID_TRAY_PROFILE_1 + i, texts.profiles[i]);
    }
    profiles.CheckMenuItem(checkedCmd, MF_BYCOMMAND | MF_CHECKED);

    menu.AppendMenu(MF_STRING, ID_TRAY_OPEN, texts.open);
    menu.SetDefaultItem(ID_TRAY_OPEN);
    menu.AppendMenu(MF_SEPARATOR);
    if (!menu.AppendMenu(MF_POPUP, (UINT_PTR)profiles.GetSafeHmenu(), texts.profile)) return FALSE;
    profiles.Detach();
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_TRAY_HELP, texts.help);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_TRAY_HIDE, texts.hide);
    return TRUE;
}
