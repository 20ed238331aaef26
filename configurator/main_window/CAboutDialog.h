#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CSkinDialog.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"

// The skinned About box: the title and the software and firmware versions drawn into its
// picture. The device service finds it by its title and posts WM_VERSION_CHANGED after
// rewriting "FWVersion.xml"; the box then reads the versions again on a clean picture.
// Enter does nothing; the exit button and Esc end it.
class CAboutDialog : public CSkinDialog {
public:
    explicit CAboutDialog(CWnd* parent = nullptr);

    // Reloads the pictures and draws the texts anew; bCreate also sizes the window and
    // makes the exit button (once, at creation).
    void LoadSkin(BOOL bCreate);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown;
    HRGN m_hRgn = nullptr;
    // The normal picture with the texts drawn in; what the box shows.
    CBitmap m_bmpBackground;
    CBitmapBtn m_btnExit;
    // The version texts last drawn.
    CString m_strSoftwareVersion;
    CString m_strFirmwareVersion;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnVersionChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void DrawTexts();
};
