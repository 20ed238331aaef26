#include "core/ConfigSettings.h"
#include "core/AppPaths.h"
#include "core/XmlDoc.h"
#include <cwchar>

namespace {

CString ConfigPath(const wchar_t* folder)
{
    return CString(folder) + L"Config.xml";
}

// A child of the root, in any position, read as a decimal number; 0 when the file does
// not load or the element is missing.
int32_t ReadRootNumber(const wchar_t* path, const wchar_t* name)
{
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return 0;
    if (!doc.FindChildNode(name)) return 0;
    return (int32_t)wcstol(doc.GetChildText(), nullptr, 10);
}

// Changes the root's child, or adds it as the root's last child; saves the file. A file
// that does not load is not created. true when the file now holds the value.
bool WriteRootNumber(const wchar_t* path, const wchar_t* name, int32_t value)
{
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return false;
    doc.ResetNavigation();
    doc.FindElement(nullptr);
    doc.EnterNode();
    if (doc.FindElement(name))
        doc.SetTextAt(doc.m_currentPos, value);
    else
        doc.AddElement(name, value);
    return doc.SaveFile(path);
}

} // namespace

int32_t GetTrayIconFlag(const wchar_t* folder) { return ReadRootNumber(ConfigPath(folder), L"TRAY_ICON_FLAG"); }
bool SetTrayIconFlag(const wchar_t* folder, int32_t value) { return WriteRootNumber(ConfigPath(folder), L"TRAY_ICON_FLAG", value); }

int32_t GetWarningOptionFlag(const wchar_t* folder) { return ReadRootNumber(ConfigPath(folder), L"WARNING_OPTION_FLAG"); }
bool SetWarningOptionFlag(const wchar_t* folder, int32_t value)
{
    return WriteRootNumber(ConfigPath(folder), L"WARNING_OPTION_FLAG", value);
}

int32_t GetWarningFourOptionFlag(const wchar_t* folder)
{
    return ReadRootNumber(ConfigPath(folder), L"WARNINGFOUR_OPTION_FLAG");
}
bool SetWarningFourOptionFlag(const wchar_t* folder, int32_t value)
{
    return WriteRootNumber(ConfigPath(folder), L"WARNINGFOUR_OPTION_FLAG", value);
}

int32_t GetFirmwareVersion()
{
    return ReadRootNumber(CString(g_szConfDir) + L"FWVersion.xml", L"FW_VERSION");
}

int32_t GetSoftwareVersion()
{
    return ReadRootNumber(CString(g_szConfDir) + L"FWVersion.xml", L"SOFTWARE_VERSION");
}
