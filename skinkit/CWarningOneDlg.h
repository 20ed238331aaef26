#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CHyperlink.h"
#include "skinkit/CNoticeDialog.h"

// The message box: the caller's message with an OK and an exit button, both ending the
// box with IDCANCEL. It can add a link to a PDF reader's download page and can sit at the
// bottom-right corner of the work area.
class CWarningOneDlg : public CNoticeDialog {
public:
    explicit CWarningOneDlg(const CString& message);

    // Both before DoModal: the link is made while the box is created.
    void ShowReaderLink(bool show) { m_bReaderLink = show; }
    void SetCornerPlacement() { m_bCorner = true; }

    BOOL OnInitDialog() override;

    CBitmapBtn m_btnExit;
    CBitmapBtn m_btnOK;
    CString m_strMessage;
    SkinEntry m_messageEntry;
    CHyperlink m_readerLink;
    bool m_bCorner = false;
    bool m_bReaderLink = false;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void CreateControls(const std::vector<SkinItem>& strings) override;
    void AfterSkin() override;
    bool MessageText(const SkinEntry&, CString& text) override;
    void CreateReaderLink();
};

// The reader link's address: the download page of a free PDF reader.
extern const wchar_t* const PDF_READER_DOWNLOAD_URL;
