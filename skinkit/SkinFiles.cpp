#include "skinkit/SkinFiles.h"
#include "skinkit/SkinPicture.h"
#include "core/AppPaths.h"
#include "core/XmlDoc.h"

std::vector<SkinItem> ReadSkinSection(const wchar_t* fileName, const wchar_t* section)
{
    std::vector<SkinItem> items;
    CXmlDoc doc;
    if (!doc.LoadFile(CString(g_szAppDir) + fileName)) return items;
    if (!doc.FindElement(nullptr) || !doc.EnterNode()) return items;
    while (doc.FindElement(section)) {
        while (doc.FindChildNode(nullptr)) items.push_back({doc.GetTagNameAt(doc.m_childPos), doc.GetChildText()});
    }
    return items;
}

const CString* FindSkinItem(const std::vector<SkinItem>& items, const wchar_t* name)
{
    for (const SkinItem& item : items) {
        if (item.name == name) return &item.text;
    }
    return nullptr;
}

SIZE LoadSkinPicture(const std::vector<SkinItem>& pictures, const wchar_t* name, CBitmap& picture)
{
    SIZE size = {0, 0};
    const CString* file = FindSkinItem(pictures, name);
    if (!file) {
        picture.DeleteObject();
        return size;
    }
    LoadPictureFile(CString(g_szAppDir) + L"skins\\" + *file, picture, size);
    return size;
}
