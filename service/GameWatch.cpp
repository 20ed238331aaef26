#include "service/GameWatch.h"
#include "service/HIDWnd.h"
#include "service/ServiceSeams.h"
#include "service/ProfileSwitch.h"
#include "core/AppPaths.h"

int FindGameProfile(const ConfigData& cfg, const wchar_t* exeName)
{
    if (!exeName || !exeName[0]) return -1;
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        for (int n = 0; n < GAME_NAME_COUNT; ++n) {
            const auto& field = cfg.profiles[p].GAME_NAME[n];
            CString name(field, FieldLength(field));
            if (!name.IsEmpty() && lstrcmpiW(name, exeName) == 0) return p;
        }
    }
    return -1;
}

void CHIDWnd::WatchForegroundGame()
{
    CString exe;
    // Without a readable process list nothing is known about the front: this tick does nothing.
    if (!ForegroundSeam().LookUpProcessName(exe)) return;
    if (exe.CompareNoCase(GAME_WATCH_FROZEN_PROGRAM) == 0) return;
    int found = FindGameProfile(m_config, exe);
    if (found >= 0) {
        if (found == m_config.PROFILE_ID) return;
        m_nSavedProfile = m_config.PROFILE_ID;
        m_bSwitchedByGame = 1;
        SwitchProfile(found);
        WriteProfileChanged(&m_nSavedProfile, &m_bSwitchedByGame, CString(g_szConfDir));
    } else if (m_bSwitchedByGame == 1) {
        SwitchProfile(m_nSavedProfile);
        m_bSwitchedByGame = 0;
        WriteProfileChanged(&m_nSavedProfile, &m_bSwitchedByGame, CString(g_szConfDir));
    }
}
