#include "configurator/panels/PanelSettings.h"
#include "core/AppPaths.h"
#include "core/XmlDoc.h"

namespace {

// The setting each slider edits.
int32_t ProfileData::*MarkerField(int id)
{
    switch (id) {
    case MARKER_DOUBLE_CLICK: return &ProfileData::DOUBLE_CLICK_SPEED;
    case MARKER_SCROLL: return &ProfileData::SCROLL_SPEED;
    case MARKER_SENSITIVITY: return &ProfileData::SENSITIVITY;
    case MARKER_SENSITIVITY_X: return &ProfileData::ADVANCE_SENSITIVITY_X;
    case MARKER_SENSITIVITY_Y: return &ProfileData::ADVANCE_SENSITIVITY_Y;
    default: return nullptr;
    }
}

}  // namespace

int MarkerValueOf(const ProfileData& profile, int id)
{
    int32_t ProfileData::*field = MarkerField(id);
    if (!field) return 0;
    return id == MARKER_DOUBLE_CLICK ? DoubleClickSliderValue(profile.*field) : profile.*field;
}

bool StoreMarkerValue(ProfileData& profile, int id, int value)
{
    int32_t ProfileData::*field = MarkerField(id);
    if (!field) return false;
    // The mapping is its own inverse.
    profile.*field = id == MARKER_DOUBLE_CLICK ? DoubleClickSliderValue(value) : value;
    return true;
}

const wchar_t* DpiMenuItem(int row)
{
    static const wchar_t* const items[] = {L"DPI_400", L"DPI_800", L"DPI_1600", L"DPI_3200"};
    return row >= 0 && row < 4 ? items[row] : nullptr;
}

const wchar_t* LightLevelItem(int row)
{
    static const wchar_t* const items[] = {L"HIGH", L"MEDIUM", L"LOW", L"OFF"};
    return row >= 0 && row < 4 ? items[row] : nullptr;
}

bool ReadMenuItem(const wchar_t* section, const wchar_t* item, CString& text)
{
    CXmlDoc doc;
    if (!section || !item || !doc.LoadFile(CString(g_szAppDir) + L"Menu.xml")) return false;
    if (!doc.FindChildNode(section) || !doc.EnterNode() || !doc.FindChildNode(item)) return false;
    text = doc.GetChildText();
    return true;
}
