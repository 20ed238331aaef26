// The captions of the mouse-button images: the name of each button's function.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "core/AppPaths.h"
#include "core/FunctionCaptions.h"
#include "core/XmlDoc.h"

void CAPDlg::ShowButtonAssignment(int code, int index)
{
    CaptionFromCode(code, index, false);
}

void CAPDlg::ShowScrollButtonAssignment(int code, int index)
{
    CaptionFromCode(code, index, true);
}

void CAPDlg::SetButtonText(CBitmapBtn& button, const CString& text)
{
    button.SetCaption(text);
    button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SetButtonTip(button, text);
}

void CAPDlg::CaptionFromCode(int code, int index, bool scrollVariant)
{
    if (index < 0 || index >= BUTTON_COUNT) return;
    const CaptionSource source =
        CaptionSourceFor(code, scrollVariant ? CaptionVariant::ScrollPopup : CaptionVariant::ButtonPopup);
    if (source.from == CaptionFrom::Nothing) return;
    // Texts are read anew at every call: a changed file shows at the next refresh.
    CXmlDoc doc;
    bool loaded = source.file && doc.LoadFile(CString(g_szAppDir) + source.file);
    CString text;
    if (!ReadCaptionText(source, loaded ? &doc : nullptr, m_config, text)) return;
    CBitmapBtn& button = m_mouseButtons[index];
    if (button.m_hWnd) SetButtonText(button, text);
    int profile = m_config.PROFILE_ID;
    if (source.writesSlot && profile >= 0 && profile < PROFILE_COUNT) m_config.profiles[profile].buttons[index].code = code;
    if (source.opensPicker) {
        MakeFunctionPicker();
        if (m_bPickerShown)
            g_pAdvanceFunctionDlg->SelectCurrentFunction(index);
        else
            ShowAssignmentsPanel(index);
    }
}
