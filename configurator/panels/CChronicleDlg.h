#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CSkinDialog.h"
#include "framework/CEdit.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"

class CAPDlg;
struct CharacterFound;

// The character dialog: the person names a game character by region, realm and name, and
// the dialog looks it up on the game's web services. A character found goes to the main
// window (CAPDlg::SetCharacter) and the dialog closes; otherwise the person is told and
// the dialog stays. Enter in the dialog tries only the character-sheet page, quietly.
// Opens with the region USA and empty fields.
class CChronicleDlg : public CSkinDialog {
public:
    // mainDlg: the window that takes the character (none: a found character only closes).
    explicit CChronicleDlg(CAPDlg* mainDlg);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The three roads, for the region chosen; each fills the result texts on success.
    BOOL LookupCharacterApi(const CString& realm, const CString& name);
    BOOL LookupCharacterSheet(const CString& realm, const CString& name);
    BOOL LookupCharacterPage(const CString& realm, const CString& name);
    // The region button's caption: the region's text of "Menu.xml" (USA for any index
    // outside the five).
    void SetRegionText(int index);

    CString m_strNoPicture;
    int m_nRegion = 0;
    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown;
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpBackground;
    CBitmapBtn m_btnExit, m_btnOK, m_btnCancel, m_btnRegion;
    CEdit m_editRealm, m_editName;
    CString m_strLevel, m_strClass, m_strRace, m_strPortraitUrl;
    CString m_strEnterCharacterName, m_strEnterRealmName, m_strNotFound;
    CFont m_font;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnRegionSelect(WPARAM, LPARAM);
    LRESULT OnPopupClosed(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void ToggleRegionMenu();
    void CloseRegionMenu();
    // OK tries every road and tells when none found the character; Enter only the page.
    void Find(bool everyRoad);
    void Notice(const CString& message);
    // A road's answer: what it found becomes the result texts.
    BOOL TakeFound(BOOL ok, const CharacterFound& found);
    CAPDlg* m_pMainDlg;
};
