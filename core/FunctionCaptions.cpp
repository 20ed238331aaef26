#include "core/FunctionCaptions.h"
#include "core/ConfigData.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"

namespace {

CaptionSource FromMenu(CaptionFrom from, const wchar_t* section, const wchar_t* element)
{
    CaptionSource s;
    s.from = from;
    s.file = MENU_FILE_NAME;
    s.section = section;
    s.element = element;
    return s;
}

// The text of the current element's first child of that name.
bool ReadChild(CXmlDoc& doc, const wchar_t* name, CString& text)
{
    if (!doc.FindChildNode(name)) return false;
    text = doc.GetChildText();
    return true;
}

bool ReadFromEveryFamily(CXmlDoc& doc, const CaptionSource& s, CString& text)
{
    bool found = false;
    while (doc.FindChildNode(s.section)) {
        doc.EnterNode();
        CString item;
        if (ReadChild(doc, s.element, item)) {
            text = item;
            found = true;
        }
        doc.LeaveNode();
    }
    return found;
}

bool ReadFromFirstSection(CXmlDoc& doc, const CaptionSource& s, CString& text)
{
    if (!doc.FindChildNode(s.section)) return false;
    doc.EnterNode();
    return ReadChild(doc, s.element, text);
}

bool ReadFromCatalogue(CXmlDoc& doc, const CaptionSource& s, CString& text)
{
    if (!doc.FindChildNode(s.section)) return false;
    doc.EnterNode();
    if (!doc.FindChildNode(s.group)) return false;
    doc.EnterNode();
    return ReadChild(doc, s.element, text);
}

template <int N> CString FieldText(const wchar_t (&field)[N])
{
    return CString(field, FieldLength(field));
}

} // namespace

CaptionSource CaptionSourceFor(int code, CaptionVariant variant)
{
    const FunctionCodeInfo info = DescribeFunctionCode(code);
    const bool scroll = variant == CaptionVariant::ScrollPopup;
    const wchar_t* family = scroll ? L"SCROLL_BUTTON_MENU" : L"BUTTON_MENU";
    CaptionSource s;
    switch (info.family) {
    case FunctionFamily::Mouse:
        if (code == 6) {
            if (scroll) return s;
            s = FromMenu(CaptionFrom::MenuFamilies, L"BUTTON_MENU", info.element);
        } else {
            s = FromMenu(CaptionFrom::MenuFamilies, family, info.element);
        }
        s.writesSlot = true;
        return s;
    case FunctionFamily::ButtonOff:
        s = FromMenu(CaptionFrom::MenuFamilies, family, info.element);
        s.writesSlot = true;
        return s;
    case FunctionFamily::ScrollEntry:
        if (!scroll) return s;
        s = FromMenu(CaptionFrom::MenuFamilies, L"SCROLL_BUTTON_MENU", info.element);
        s.writesSlot = true;
        return s;
    case FunctionFamily::OpenPicker:
        s = FromMenu(CaptionFrom::MenuFamilies, L"BUTTON_MENU", info.element);
        s.opensPicker = true;
        return s;
    case FunctionFamily::Chat:
        s = FromMenu(CaptionFrom::MenuFamilies, L"BUTTON_MENU", info.element);
        s.writesSlot = true;
        return s;
    case FunctionFamily::Dpi:
        return FromMenu(CaptionFrom::MenuSection, L"CHANGE_DPI", info.element);
    case FunctionFamily::Profile:
        if (code >= FIRST_PROFILE_CODE && code < FIRST_PROFILE_CODE + PROFILE_COUNT) {
            s.from = CaptionFrom::ProfileName;
            s.index = code - FIRST_PROFILE_CODE;
            return s;
        }
        return FromMenu(CaptionFrom::MenuSection, L"CHANGE_PROFILE", info.element);
    case FunctionFamily::GameCommand:
        s.from = CaptionFrom::Catalogue;
        s.file = FUNCTIONS_FILE_NAME;
        s.section = L"GAME_COMMANDS";
        s.group = CatalogueGroups()[info.group - 1].element;
        s.element = info.element;
        return s;
    case FunctionFamily::Macro:
        s.from = CaptionFrom::MacroName;
        s.index = code - FIRST_MACRO_CODE;
        return s;
    case FunctionFamily::None:
        break;
    }
    return s;
}

bool ReadCaptionText(const CaptionSource& source, CXmlDoc* doc, const ConfigData& cfg, CString& text)
{
    switch (source.from) {
    case CaptionFrom::ProfileName:
        if (source.index < 0 || source.index >= PROFILE_COUNT) return false;
        text = FieldText(cfg.profiles[source.index].PROFILE_NAME);
        return true;
    case CaptionFrom::MacroName:
        // A working record is validated, but a stray index must not read past the profiles.
        if (cfg.PROFILE_ID < 0 || cfg.PROFILE_ID >= PROFILE_COUNT) return false;
        if (source.index < 0 || source.index >= MACRO_COUNT) return false;
        text = FieldText(cfg.profiles[cfg.PROFILE_ID].macros[source.index].MACRO_NAME);
        return true;
    case CaptionFrom::Nothing:
        return false;
    default:
        break;
    }
    if (!doc) return false;
    doc->ResetNavigation();
    switch (source.from) {
    case CaptionFrom::MenuFamilies: return ReadFromEveryFamily(*doc, source, text);
    case CaptionFrom::MenuSection: return ReadFromFirstSection(*doc, source, text);
    case CaptionFrom::Catalogue: return ReadFromCatalogue(*doc, source, text);
    default: return false;
    }
}
