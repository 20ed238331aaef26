#include "SkinPlan.h"

const Entry* WindowPlan::Find(const std::wstring& name) const
{
    for (const Entry& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

Entry Ctl(const wchar_t* name, int x, int y, int w, int h, const wchar_t* text, Look look, bool flag, int layers)
{
    Entry e;
    e.kind = EntryKind::Control;
    e.name = name;
    e.x = x;
    e.y = y;
    e.w = w;
    e.h = h;
    e.text = text;
    e.flag = flag;
    e.look = look;
    e.layers = layers;
    if (look == Look::Push || look == Look::Command || look == Look::Bar) e.caption = Caption::Plain;
    return e;
}

Entry Lbl(const wchar_t* name, int x, int y, const wchar_t* text, int layers)
{
    Entry e;
    e.kind = EntryKind::Label;
    e.name = name;
    e.x = x;
    e.y = y;
    e.text = text;
    e.layers = layers;
    return e;
}

Entry Txt(const wchar_t* name, const wchar_t* text)
{
    Entry e;
    e.kind = EntryKind::Text;
    e.name = name;
    e.text = text;
    return e;
}

std::vector<Picture> StandardPictures(const std::wstring& name)
{
    std::wstring file;
    for (wchar_t ch : name) file += (ch >= L'A' && ch <= L'Z') ? (wchar_t)(ch - L'A' + L'a') : ch;
    return {
        {name + L"_NORMAL", file + L"_normal.bmp", false, State::Normal, kMainLook},
        {name + L"_OVER", file + L"_over.bmp", false, State::Over, kMainLook},
        {name + L"_DOWN", file + L"_down.bmp", false, State::Down, kMainLook},
        {name + L"_MASK", file + L"_mask.bmp", true, State::Normal, kMainLook},
    };
}
