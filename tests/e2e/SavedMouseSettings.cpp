#include "SavedMouseSettings.h"
#include "TestSupport.h"

SavedMouseSettings::SavedMouseSettings()
{
    for (Value& v : m_values) v.text = RegistryText(v.key, v.name);
}

SavedMouseSettings::~SavedMouseSettings()
{
    for (const Value& v : m_values) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, v.key, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) continue;
        if (v.text.IsEmpty())
            RegDeleteValueW(key, v.name);
        else
            RegSetValueExW(key, v.name, 0, REG_SZ, (const BYTE*)(const wchar_t*)v.text,
                           (DWORD)((v.text.GetLength() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}
