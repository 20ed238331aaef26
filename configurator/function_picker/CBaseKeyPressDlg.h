#pragma once
#include "skinkit/CSkinDialog.h"
#include "core/ConfigData.h"

// A dialog that records the keys pressed in it as a list of macro events instead of
// letting them act: no key reaches a control or the dialog manager, so Tab, Enter and Esc
// neither move the focus nor press a button nor close the dialog. Each recorded key goes
// through the virtual PushKeyEvent, then UpdateDisplay shows the list. The macro editor is
// its one user; it is skinned, so the recorder sits on the skinned dialog.
class CBaseKeyPressDlg : public CSkinDialog {
public:
    explicit CBaseKeyPressDlg(UINT templateId, CWnd* parent = nullptr);

    // Adds the key event: 0 added, -1 refused (the list is full, or a release whose press
    // is not the key's newest event). The first event of the dialog's life first empties
    // the list, so a key pressed over a loaded macro starts a new recording. keyFlags is
    // the high word of the key message's lParam.
    virtual int PushKeyEvent(int up, int vk, UINT keyFlags);
    // Shows the working events.
    virtual void UpdateDisplay() = 0;
    // Whether the key's newest working event is a press.
    bool IsKeyDown(int vk) const;

    BOOL PreTranslateMessage(MSG* msg) override;

    MacroEvent m_events[MACRO_EVENT_COUNT];
    int m_nCount = 0;
    int m_bStarted = 0;

protected:
    // Whether PushKeyEvent would refuse the event as a release without its press; such an
    // event changes nothing at all.
    bool RefusesRelease(int up, int vk, UINT keyFlags) const;
    void ClearEvents();
    // An auto-repeated press of a held key, which is not recorded again.
    bool IsRepeat(WPARAM vk, UINT keyFlags) const;
    // Records a key message by the rules of its kind; false when it is not a key message.
    bool RecordKeyMessage(UINT message, WPARAM vk, LPARAM lParam);

    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnKeyUp(WPARAM, LPARAM);
    LRESULT OnSysKeyDown(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
