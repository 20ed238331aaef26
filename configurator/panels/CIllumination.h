#pragma once
#include "framework/CDialog.h"

struct ConfigData;

// The lighting panel, docked at the main window's bottom edge. Until the panel is built it
// is an empty hidden window that keeps the record it edits.
class CIllumination : public CDialog {
public:
    CIllumination();
    // Hidden, owned by the main window.
    BOOL Create(CWnd* owner);
    void SetConfig(ConfigData* config) { m_pConfig = config; }

    ConfigData* m_pConfig = nullptr;
    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;
};
