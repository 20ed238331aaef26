// The main window's EXPORT and IMPORT commands: the file dialogs around the single-profile
// file, and what the person is told when a file cannot be written or is refused.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/ProfileFile.h"
#include "skinkit/SkinFiles.h"
#include "framework/CFileDialog.h"

namespace {

const wchar_t kFilter[] = L"Configure File(*.xml)|*.xml|";
const wchar_t kExtension[] = L"xml";
// When "Strings.xml" has no text of its own.
const wchar_t kExportFailed[] =
    L"The profile could not be saved to that file. Check that the folder can be written to and that the file is not "
    L"read-only.";
const wchar_t kImportRefused[] = L"This file cannot be imported, so the profile stays as it was.";

// A text of the main window's section of "Strings.xml", or the built-in one.
CString MainText(const wchar_t* name, const wchar_t* fallback)
{
    std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MAIN");
    const CString* text = FindSkinItem(strings, name);
    return text ? *text : CString(fallback);
}

}  // namespace

CString CAPDlg::AskProfilePath(BOOL open)
{
    // Saving starts with the profile's name, opening with every profile file.
    CString name(L"*.xml");
    int id = m_config.PROFILE_ID;
    if (!open) name = id >= 0 && id < PROFILE_COUNT ? CString(m_config.profiles[id].PROFILE_NAME) : CString();
    CFileDialog dlg(open, kExtension, name, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter);
    CString folder = ProfileFileFolder();
    dlg.m_ofn.lpstrInitialDir = folder;
    DisableSidePanels();
    INT_PTR answer = dlg.DoModal();
    EnableSidePanels();
    return answer == IDOK ? dlg.GetPathName() : CString();
}

void CAPDlg::OnExportProfile()
{
    CString path = AskProfilePath(FALSE);
    if (path.IsEmpty()) return;
    // A file that could not be written is not passed over in silence.
    if (!ExportProfileFile(path, m_config, m_config.PROFILE_ID))
        Tell(MainText(L"STRING_EXPORT_FAILED", kExportFailed));
}

void CAPDlg::OnImportProfile()
{
    if (HasUnsavedChanges() && !Ask(m_strWarningRestoreProfile)) return;
    CString path = AskProfilePath(TRUE);
    if (path.IsEmpty() || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return;
    ImportProfile(path);
}

void CAPDlg::ImportProfile(const wchar_t* path)
{
    ProfileFileProblem problem;
    if (!ImportProfileFile(path, m_config, problem)) {
        // The profile stays as it was; the person learns why the file was refused.
        Tell(MainText(L"STRING_IMPORT_REFUSED", kImportRefused) + L" " + problem.Describe());
        return;
    }
    RefreshFromProfile();
}
