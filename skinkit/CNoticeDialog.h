#pragma once
#include <cstdint>
#include <vector>
#include "skinkit/CSkinDialog.h"
#include "skinkit/SkinButtons.h"
#include "skinkit/SkinFiles.h"
#include "core/SkinEntry.h"

// What the four notice boxes share: a modal box without caption or frame, of the size of
// its NORMAL picture and the shape of its MASK picture, whose buttons come from its
// section of "Strings.xml" and whose title, option label and message are drawn from that
// file at every paint in the link colour. Without "Skins.xml" the box keeps its
// template's size on a black ground; without "Strings.xml" it has neither buttons nor
// texts and closes with Esc or Enter.
class CNoticeDialog : public CSkinDialog {
protected:
    // section: "WARNING_ONE" .. "WARNING_FOUR"; fontHeight: of the drawn texts.
    CNoticeDialog(UINT templateId, const wchar_t* section, int fontHeight);

    // The box's controls, from its section of "Strings.xml".
    virtual void CreateControls(const std::vector<SkinItem>& strings) {}
    // After the region is made.
    virtual void AfterSkin() {}
    // The text drawn in the STRING entry's rectangle; false draws none.
    virtual bool MessageText(const SkinEntry& entry, CString& text) { return false; }
    // The Three and the Four draw the label beside their option button.
    virtual bool DrawsOptionLabel() const { return false; }

    void OnDraw(CDC* dc) override;
    // The Three's and the Four's buttons: exit, Yes and No, and the option, a toggle that
    // starts unchecked whatever its entry says.
    void CreateOptionButtons(const std::vector<SkinItem>& strings, CBitmapBtn& exit, CBitmapBtn& yes, CBitmapBtn& no,
                             CBitmapBtn& option);
    // Their answers: Yes stores the option's state in the per-user "Config.xml" through
    // store, then OK; No is Cancel; exit closes. A click on the option only toggles it.
    void AnswerWithOption(HWND from, CBitmapBtn& exit, CBitmapBtn& yes, CBitmapBtn& no, CBitmapBtn& option,
                          bool (*store)(const wchar_t* folder, int32_t value));
    // Ends the box the way its exit button does: WM_CLOSE, which the dialog turns into Cancel.
    void CloseAsCancel() { PostMessage(WM_CLOSE); }
    SkinStatePictures StatePictures() { return {m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpNormal}; }

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

public:
    const wchar_t* m_section;
    int m_fontHeight;
    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDown;
    SIZE m_sizeNormal = {0, 0};
    HRGN m_hRgn = nullptr;

private:
    void LoadSkin();
    CString Child(const wchar_t* suffix) const { return CString(m_section) + suffix; }
};
