// Previews: each picture as a person sees it, cut by the window's mask over a stand-in
// desktop, with the texts the programs draw at run time put on by GDI the same way. Only
// for looking at; nothing here goes into the shipped files.
#include "SkinFiles.h"
#include <windows.h>
#include <cstdio>

namespace {

// A stand-in desktop: a blue gradient with light diagonal bands, so both dark and light
// surroundings of a cut edge show.
Canvas Desktop(int w, int h)
{
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb base = Mix(Hex(0x3a6ea5), Hex(0x1d3b5e), (float)y / (h > 1 ? h - 1 : 1));
            float band = (float)((x + y) % 160) / 160.0f;
            c.At(x, y) = band < 0.5f ? base : Mix(base, Hex(0xd8e4f0), 0.55f);
        }
    return c;
}

COLORREF Ref(uint32_t rrggbb)
{
    return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

// The profile buttons and the colour button show the light colour (default 0x3CFF).
const COLORREF kLightColor = 0x00003CFF;

class TextLayer {
public:
    explicit TextLayer(Canvas& c) : m_c(c)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = c.W();
        bi.bmiHeader.biHeight = -c.H();
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bmp = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bmp);
        std::vector<uint8_t> rgb = c.Bytes();
        for (size_t i = 0; i < (size_t)c.W() * c.H(); ++i)
            m_bits[i] = rgb[i * 3 + 2] | rgb[i * 3 + 1] << 8 | rgb[i * 3] << 16;
        SetBkMode(m_dc, TRANSPARENT);
    }
    ~TextLayer()
    {
        GdiFlush();
        for (int y = 0; y < m_c.H(); ++y)
            for (int x = 0; x < m_c.W(); ++x) {
                uint32_t v = m_bits[(size_t)y * m_c.W() + x];
                m_c.At(x, y) = Rgb{(float)((v >> 16) & 0xFF), (float)((v >> 8) & 0xFF), (float)(v & 0xFF)};
            }
        SelectObject(m_dc, m_old);
        DeleteObject(m_bmp);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    void Fill(RECT r, COLORREF color)
    {
        HBRUSH b = CreateSolidBrush(color);
        FillRect(m_dc, &r, b);
        DeleteObject(b);
    }

private:
    Canvas& m_c;
    HDC m_dc = nullptr;
    HBITMAP m_bmp = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

HFONT KitFont(int height, int weight, int escapement = 0)
{
    return CreateFontW(height, 0, escapement, escapement, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS,
                       L"MS Shell Dlg");
}

// The control's caption, placed as the bitmap button places it.
void DrawCaption(HDC dc, const Entry& e, const std::wstring& text, bool hot)
{
    bool light = e.caption == Caption::Light;
    SetTextColor(dc, hot || light ? RGB(255, 255, 255) : Ref(0xFFCC00));
    int weight = light ? 300 : (e.caption == Caption::Plain ? 400 : 700);
    int esc = e.caption == Caption::Up ? 900 : (e.caption == Caption::Down ? 2700 : 0);
    HFONT f = KitFont(12, weight, esc);
    HGDIOBJ old = SelectObject(dc, f);
    SIZE sz{};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &sz);
    const int lm = e.leftMargin, rm = e.rightMargin;
    if (e.caption == Caption::Up) {
        TextOutW(dc, e.x + lm + 5, e.y + e.h / 2 + sz.cx / 2 + 5, text.c_str(), (int)text.size());
    } else if (e.caption == Caption::Bold) {
        TextOutW(dc, e.x + lm + 5 + (e.w - rm - sz.cx) / 2, e.y + e.h / 2 - sz.cy / 2 - 2, text.c_str(), (int)text.size());
    } else if (e.caption == Caption::Down) {
        TextOutW(dc, e.x + lm + 15, e.y + e.h / 2 - sz.cx / 2 + 5, text.c_str(), (int)text.size());
    } else {
        RECT r{e.x + lm + 5, e.y + e.h / 2 - sz.cy / 2, e.x + e.w - rm - 2, e.y + e.h};
        DrawTextW(dc, text.c_str(), (int)text.size(), &r, 0x8123);
    }
    SelectObject(dc, old);
    DeleteObject(f);
}

void DrawTexts(Canvas& c, const WindowPlan& w, int layer, State state, int ox, int oy)
{
    TextLayer layerDc(c);
    HDC dc = layerDc.Dc();
    SetViewportOrgEx(dc, ox, oy, nullptr);
    const bool hot = state != State::Normal;
    for (const Entry& e : w.entries) {
        if (!(e.layers & layer)) continue;
        const std::wstring& text = e.sample.empty() ? e.text : e.sample;
        if (e.kind == EntryKind::Label) {
            SetTextColor(dc, Ref(w.textColor));
            HFONT f = KitFont(e.textHeight, e.textWeight);
            HGDIOBJ old = SelectObject(dc, f);
            UINT align = SetTextAlign(dc, e.centred ? TA_CENTER : TA_LEFT);
            TextOutW(dc, e.x, e.y, text.c_str(), (int)text.size());
            SetTextAlign(dc, align);
            SelectObject(dc, old);
            DeleteObject(f);
            continue;
        }
        if (e.kind != EntryKind::Control) continue;
        if (e.look == Look::Profile) {
            layerDc.Fill(RECT{e.x, e.y + e.h - 3, e.x + e.w, e.y + e.h}, kLightColor);
        } else if (e.look == Look::Swatch) {
            layerDc.Fill(RECT{e.x + 1, e.y + 1, e.x + e.w - 21, e.y + e.h - 1}, kLightColor);
        }
        if (e.caption == Caption::Painted) {
            SetTextColor(dc, Ref(w.textColor));
            HFONT f = KitFont(e.textHeight, e.textWeight);
            HGDIOBJ old = SelectObject(dc, f);
            RECT r{e.x, e.y, e.x + e.w, e.y + e.h};
            DrawTextW(dc, text.c_str(), (int)text.size(), &r, DT_WORDBREAK | DT_VCENTER);
            SelectObject(dc, old);
            DeleteObject(f);
        } else if (e.caption != Caption::None && !text.empty()) {
            DrawCaption(dc, e, text, hot);
        }
    }
}

bool WritePng(const std::wstring& path, const Canvas& c)
{
    if (WriteBytes(path, PngBytes(c))) return true;
    fwprintf(stderr, L"cannot write %ls\n", path.c_str());
    return false;
}

// NAME_NORMAL -> normal, MACRO_PASTE_DOWN -> paste-down, MAIN_DISABLE -> disable; a window
// whose pictures carry another prefix (RENAME_NORMAL under RENAME_PROFILE) -> normal.
std::wstring StateName(const Picture& p, const std::wstring& window)
{
    size_t skip = p.element.compare(0, window.size() + 1, window + L"_") == 0 ? window.size() + 1 : p.element.find(L'_') + 1;
    std::wstring s = Lower(p.element.substr(skip));
    for (wchar_t& ch : s)
        if (ch == L'_') ch = L'-';
    return s;
}

const PlainPicture* FindPicture(const SkinPlan& plan, const wchar_t* path)
{
    for (const PlainPicture& p : plan.pictures)
        if (p.path == path) return &p;
    return nullptr;
}

// The picker's side bar as the program fills it at run time: four folder headers from the
// header pictures, the DPI folder open with its rows, each row with its marker.
void MockSideBar(Canvas& shown, const SkinPlan& plan, int ox, int oy)
{
    const PlainPicture* closed = FindPicture(plan, L"skins/button-p.bmp");
    const PlainPicture* open = FindPicture(plan, L"skins/button-m.bmp");
    const PlainPicture* bullet = FindPicture(plan, L"bitmaps/bullet.bmp");
    if (!closed || !open || !bullet) return;
    Canvas bar(174, 370, Hex(0x000000));
    Canvas headerClosed(closed->w, closed->h), headerOpen(open->w, open->h), marker(bullet->w, bullet->h);
    closed->draw(headerClosed);
    open->draw(headerOpen);
    bullet->draw(marker);
    struct Folder {
        const wchar_t* name;
        bool isOpen;
        int height;
    };
    const Folder folders[] = {{L"Game commands", false, 220}, {L"DPI", true, 200}, {L"Profiles", false, 240}, {L"Macros", false, 240}};
    const wchar_t* rows[] = {L"400 DPI", L"800 DPI", L"1600 DPI", L"3200 DPI", L"DPI up", L"DPI down"};
    struct Text {
        RECT r;
        const wchar_t* text;
        COLORREF color;
        bool centred;
    };
    std::vector<Text> texts;
    int y = 0;
    for (int i = 0; i < 4; ++i) {
        const Folder& f = folders[i];
        // The header button sits at (-20, y + 5), 170 x 19, cut from the picture at (1, 1).
        bar.Paste(f.isOpen ? headerOpen : headerClosed, 21, 1, 150, 19, 0, y + 5);
        texts.push_back({RECT{-20 + 5, y + 5, -20 + 168, y + 24}, f.name, RGB(255, 204, 0), true});
        y += i == 3 ? 50 : 20;
        if (f.isOpen) {
            for (int r = 0; r < 6; ++r) {
                int top = y + 5 + r * 20;
                if (r == 1)
                    for (int yy = top; yy < top + 20; ++yy)
                        for (int xx = 0; xx < 174; ++xx) bar.At(xx, yy) = Hex(0x292929);
                else
                    for (int yy = top; yy < top + 20; ++yy)
                        for (int xx = 0; xx < 174; ++xx) bar.At(xx, yy) = Hex(0x161616);
                bar.Paste(marker, 0, 0, marker.W(), marker.H(), 12, top + 4);
                texts.push_back({RECT{21, top, 174, top + 20}, rows[r], r == 1 ? RGB(0x80, 0x80, 0x00) : RGB(255, 204, 0), false});
            }
            y += f.height;
        }
    }
    {
        TextLayer layer(bar);
        HFONT font = KitFont(12, 400);
        HGDIOBJ old = SelectObject(layer.Dc(), font);
        for (Text& t : texts) {
            SetTextColor(layer.Dc(), t.color);
            DrawTextW(layer.Dc(), t.text, -1, &t.r, DT_SINGLELINE | (t.centred ? DT_CENTER | DT_VCENTER : 0));
        }
        SelectObject(layer.Dc(), old);
        DeleteObject(font);
    }
    shown.Paste(bar, 0, 0, bar.W(), bar.H(), ox, oy);
}

const WindowPlan* FindWindow(const SkinPlan& plan, const wchar_t* name)
{
    for (const WindowPlan& w : plan.windows)
        if (w.skinsName == name) return &w;
    return nullptr;
}

// Puts a window's NORMAL look, cut by its mask and with its texts, on a screen canvas.
void Place(Canvas& screen, const WindowPlan& w, int x, int y)
{
    Picture normal = w.pictures.front();
    Canvas pic = RenderPicture(w, normal);
    Canvas mask = RenderMask(w);
    Canvas shown(w.w, w.h);
    for (int j = 0; j < w.h; ++j)
        for (int i = 0; i < w.w; ++i)
            if (x + i >= 0 && y + j >= 0 && x + i < screen.W() && y + j < screen.H()) shown.At(i, j) = screen.At(x + i, y + j);
    for (int j = 0; j < w.h; ++j)
        for (int i = 0; i < w.w; ++i)
            if (mask.At(i, j).r < 128) shown.At(i, j) = pic.At(i, j);
    DrawTexts(shown, w, normal.layer, State::Normal, 0, 0);
    screen.Paste(shown, 0, 0, w.w, w.h, x, y);
}

// The main window as the program places it on a 1280 x 1024 screen (centred, at the top),
// with its three side panels docked where the main window puts them.
bool WriteDockedPreview(const SkinPlan& plan, const std::wstring& path)
{
    const WindowPlan* main = FindWindow(plan, L"MAIN");
    const WindowPlan* settings = FindWindow(plan, L"MOUSE_PROPERTIES");
    const WindowPlan* picker = FindWindow(plan, L"BUTTON_ASSIGNMENTS");
    const WindowPlan* lighting = FindWindow(plan, L"ILLUMINATION_SETTING");
    if (!main || !settings || !picker || !lighting) return true;
    Canvas screen = Desktop(1280, 1024);
    const int left = (1280 - main->w) / 2, top = 0, right = left + main->w, bottom = top + main->h;
    Place(screen, *main, left, top);
    Place(screen, *settings, left + 17 - settings->w, top + 89);
    Place(screen, *picker, right - 16, top + 89);
    MockSideBar(screen, plan, right - 16, top + 89 + 80);
    Place(screen, *lighting, left + 87, bottom - 18);
    return WritePng(path, screen);
}

}  // namespace

bool WritePreviews(const SkinPlan& plan, const std::wstring& folder)
{
    const int margin = 24;
    for (const WindowPlan& w : plan.windows) {
        if (w.skinsName.empty()) continue;
        const std::wstring base = folder + L"skin-" + w.skinsName + L"-";
        Canvas mask = RenderMask(w);
        for (const Picture& p : w.pictures) {
            if (p.mask) {
                if (!WritePng(base + L"mask.png", mask)) return false;
                continue;
            }
            if (p.make) {
                Canvas own = p.make();
                if (!WritePng(base + StateName(p, w.skinsName) + L".png", own)) return false;
                continue;
            }
            Canvas pic = RenderPicture(w, p);
            Canvas shown = Desktop(w.w + 2 * margin, w.h + 2 * margin);
            for (int y = 0; y < w.h; ++y)
                for (int x = 0; x < w.w; ++x)
                    if (mask.At(x, y).r < 128) shown.At(x + margin, y + margin) = pic.At(x, y);
            DrawTexts(shown, w, p.layer, p.state, margin, margin);
            if (w.skinsName == L"BUTTON_ASSIGNMENTS") MockSideBar(shown, plan, margin, margin + 80);
            if (!WritePng(base + StateName(p, w.skinsName) + L".png", shown)) return false;
        }
    }
    if (!WriteDockedPreview(plan, folder + L"skin-docked.png")) return false;
    // Icons over the desktop, at their real sizes side by side.
    for (const IconPlan& icon : plan.icons) {
        int width = 8;
        for (int size : icon.sizes) width += size + 8;
        Canvas shown = Desktop(width, 64);
        int x = 8;
        for (int size : icon.sizes) {
            Canvas color(size, size), alpha(size, size);
            icon.draw(color, alpha);
            for (int y = 0; y < size; ++y)
                for (int i = 0; i < size; ++i) {
                    Rgb& d = shown.At(x + i, 8 + y);
                    d = Mix(d, color.At(i, y), alpha.At(i, y).r / 255);
                }
            x += size + 8;
        }
        std::wstring name = icon.path.substr(icon.path.rfind(L'/') + 1);
        name.resize(name.rfind(L'.'));
        if (!WritePng(folder + L"skin-icon-" + name + L".png", shown)) return false;
    }
    for (const PlainPicture& p : plan.pictures) {
        Canvas c(p.w, p.h, Hex(0x000000));
        p.draw(c);
        std::wstring name = p.element.empty() ? p.path.substr(p.path.rfind(L'/') + 1) : p.element;
        size_t dot = name.rfind(L'.');
        if (dot != std::wstring::npos) name.resize(dot);
        if (!WritePng(folder + L"skin-" + name + L".png", c)) return false;
    }
    return true;
}
