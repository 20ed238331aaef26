// Times the configuration record's load, validation, comparison and save for the default
// record and for a full one (ten profiles, fifty macros each, 320 events each), and splits
// the file work into the XML document's part and the record's part.
#include "core/AppPaths.h"
#include "core/ConfigData.h"
#include "core/ConfigFile.h"
#include "core/XmlDoc.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)freq.QuadPart;
}

// Median and best of several runs, in ms.
void Time(const char* what, int runs, const std::function<void()>& setup, const std::function<void()>& body)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (setup) setup();
        double t0 = Now();
        body();
        ms.push_back(Now() - t0);
    }
    std::sort(ms.begin(), ms.end());
    wprintf(L"  %-44hs median %9.4f ms   best %9.4f ms\n", what, ms[ms.size() / 2], ms[0]);
}

std::unique_ptr<ConfigData> FullRecord()
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    for (int n = 0; n < PROFILE_COUNT; ++n) {
        ProfileData& p = cfg->profiles[n];
        swprintf(p.SERVER_NAME, 255, L"Realm %d", n);
        swprintf(p.CHARACTER_NAME, 255, L"Hero <%d>", n);
        swprintf(p.CHARACTER_LEVEL, 100, L"%d", 60 + n);
        for (int g = 0; g < GAME_NAME_COUNT; ++g) swprintf(p.GAME_NAME[g], 255, L"game_%d_%d.exe", n, g);
        for (int i = 2; i < BUTTON_COUNT; ++i) p.buttons[i].code = 1000 + i;
        for (int k = 0; k < MACRO_COUNT; ++k) {
            MacroData& m = p.macros[k];
            swprintf(m.MACRO_NAME, 100, L"Macro %d & more", k + 1);
            for (int j = 0; j < MACRO_EVENT_COUNT; ++j) m.events[j] = {(uint8_t)(65 + j % 26), (uint8_t)(j % 2), 10 + j % 90};
            m.loopCount = 3;
            m.loopFlag = 1;
            m.delayMode = 2;
            m.startKeys[0] = {160, 0, 5};
            m.startKeys[1] = {160, 1, 5};
            m.startKeyFlag = 1;
            m.sendKeys[0] = {13, 0, 5};
            m.sendKeys[1] = {13, 1, 5};
            m.sendKeyFlag = 1;
            swprintf(m.pasteText, 260, L"paste text %d", k);
        }
    }
    return cfg;
}

void DeleteIfThere(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

void Bench(const char* title, const ConfigData& record, int runs)
{
    std::wstring dir = g_szConfDir;
    std::wstring path = dir + L"Config.xml";
    DeleteIfThere(path);
    SaveConfig(record);
    WIN32_FILE_ATTRIBUTE_DATA fa = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &fa);
    wprintf(L"%hs: Config.xml %lu bytes\n", title, fa.nFileSizeLow);

    auto cfg = NewConfigData();
    auto copy = NewConfigData();
    Time("load (ResetConfig + LoadConfig)", runs, nullptr, [&] { ResetConfig(*cfg); LoadConfig(*cfg, path.c_str()); });
    Time("  of which CXmlDoc::LoadFile", runs, nullptr, [&] { CXmlDoc doc; doc.LoadFile(path.c_str()); });
    Time("validate", runs, [&] { *copy = *cfg; }, [&] { ValidateConfig(*copy); });
    Time("compare (equal records)", runs, [&] { *copy = *cfg; }, [&] { volatile int r = CompareConfig(*cfg, *copy); (void)r; });
    Time("save, new file (SaveConfig)", runs, [&] { DeleteIfThere(path); }, [&] { SaveConfig(record); });
    Time("  of which BuildConfigDoc", runs, nullptr, [&] { CXmlDoc doc; BuildConfigDoc(doc, record); });
    Time("save in place, unchanged (SaveConfig)", runs, nullptr, [&] { SaveConfig(record); });
    Time("  of which the three registry values", runs, nullptr, [&] {
        HKEY key;
        if (OpenUserRegKey(L"Control Panel\\Mouse", &key) == ERROR_SUCCESS) {
            SetRegString(key, L"DoubleClickSpeed", L"500");
            SetRegString(key, L"MouseSensitivity", L"10");
            RegCloseKey(key);
        }
        if (OpenUserRegKey(L"Control Panel\\Desktop", &key) == ERROR_SUCCESS) {
            SetRegString(key, L"WheelScrollLines", L"10");
            RegCloseKey(key);
        }
    });
    auto changed = NewConfigData();
    *changed = record;
    for (ProfileData& p : changed->profiles)
        for (MacroData& m : p.macros) {
            m.delayMode = 3;
            for (MacroEvent& e : m.events)
                if (e.vk) e.delay += 1000;
        }
    bool flip = false;
    Time("save in place, every macro changed", runs, nullptr, [&] { SaveConfig(flip ? record : *changed); flip = !flip; });
    {
        // The file holds the unchanged record, so the update below really changes every macro.
        SaveConfig(record);
        CXmlDoc loaded;
        loaded.LoadFile(path.c_str());
        std::wstring text = loaded.GetDocText().GetString();
        Time("  of which UpdateConfigDoc", runs, nullptr, [&] {
            CXmlDoc doc;
            doc.SetDocText(text.c_str());
            UpdateConfigDoc(doc, *changed);
        });
        Time("  (SetDocText alone, subtracted above)", runs, nullptr, [&] { CXmlDoc doc; doc.SetDocText(text.c_str()); });
        Time("  of which CXmlDoc::SaveFile", runs, nullptr, [&] { loaded.SaveFile(path.c_str()); });
    }
    Time("load + save in place, unchanged", runs, nullptr, [&] {
        ResetConfig(*cfg);
        LoadConfig(*cfg, path.c_str());
        ValidateConfig(*cfg);
        SaveConfig(*cfg);
    });
    wprintf(L"\n");
}

} // namespace

int wmain()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    swprintf(g_szConfDir, MAX_PATH, L"%sconfig_bench_%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryW(g_szConfDir, nullptr);

    auto def = NewConfigData();
    ResetConfig(*def);
    ValidateConfig(*def);
    Bench("default record", *def, 21);
    Bench("full record (10 profiles x 50 macros x 320 events)", *FullRecord(), 7);

    std::wstring dir = g_szConfDir;
    DeleteIfThere(dir + L"Config.xml");
    RemoveDirectoryW(dir.c_str());
    return 0;
}
