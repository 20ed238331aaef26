#pragma once
#include "framework/CDialog.h"

struct ConfigData;

// The sensor-settings panel, docked at the main window's left edge. Until the panel is
// built it is an empty hidden window that keeps the record it edits.
class CPropertiesDlg : public CDialog {
public:
    CPropertiesDlg();
    // Hidden, owned by the main window.
    BOOL Create(CWnd* owner);
    void SetConfig(ConfigData* config) { m_pConfig = config; }

    ConfigData* m_pConfig = nullptr;
    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;
    int m_bSliding = 0;
};
