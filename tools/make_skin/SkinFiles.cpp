#include "SkinFiles.h"
#include "Looks.h"
#include "core/XmlDoc.h"
#include <windows.h>
#include <cstdio>
#include <cwchar>

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void Put32BE(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back((uint8_t)(v >> 24));
    b.push_back((uint8_t)(v >> 16));
    b.push_back((uint8_t)(v >> 8));
    b.push_back((uint8_t)v);
}

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1)));
    }
    return ~crc;
}

void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    Put32BE(out, (uint32_t)data.size());
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32BE(out, Crc32(out.data() + start, out.size() - start));
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::wstring Lower(std::wstring s)
{
    for (wchar_t& ch : s)
        if (ch >= L'A' && ch <= L'Z') ch = ch - L'A' + L'a';
    return s;
}

std::wstring Native(std::wstring path)
{
    for (wchar_t& ch : path)
        if (ch == L'/') ch = L'\\';
    return path;
}

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

bool SaveDoc(CXmlDoc& doc, const std::wstring& path)
{
    if (doc.SaveFile(path.c_str())) return true;
    fwprintf(stderr, L"cannot write %ls\n", path.c_str());
    return false;
}

}  // namespace

std::vector<uint8_t> BmpBytes(const Canvas& c)
{
    const int stride = (c.W() * 3 + 3) & ~3;
    const uint32_t imageSize = (uint32_t)stride * c.H();
    std::vector<uint8_t> b;
    b.reserve(54 + imageSize);
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + imageSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, (uint32_t)c.W());
    Put32(b, (uint32_t)c.H());
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);  // BI_RGB
    Put32(b, imageSize);
    Put32(b, 2835);  // 72 dpi
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    std::vector<uint8_t> rgb = c.Bytes();
    for (int y = c.H() - 1; y >= 0; --y) {
        const uint8_t* row = rgb.data() + (size_t)y * c.W() * 3;
        for (int x = 0; x < c.W(); ++x) {
            b.push_back(row[x * 3 + 2]);
            b.push_back(row[x * 3 + 1]);
            b.push_back(row[x * 3]);
        }
        for (int pad = c.W() * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
}

std::vector<uint8_t> PngBytes(const Canvas& c)
{
    std::vector<uint8_t> raw;
    std::vector<uint8_t> rgb = c.Bytes();
    for (int y = 0; y < c.H(); ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + (size_t)y * c.W() * 3, rgb.begin() + (size_t)(y + 1) * c.W() * 3);
    }
    std::vector<uint8_t> z{0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        z.push_back(pos + n == raw.size() ? 1 : 0);
        Put16(z, (uint32_t)n);
        Put16(z, (uint32_t)(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    Put32BE(z, (b << 16) | a);

    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> ihdr;
    Put32BE(ihdr, (uint32_t)c.W());
    Put32BE(ihdr, (uint32_t)c.H());
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    PngChunk(out, "IHDR", ihdr);
    PngChunk(out, "IDAT", z);
    PngChunk(out, "IEND", {});
    return out;
}

std::wstring EntryText(const Entry& e)
{
    switch (e.kind) {
    case EntryKind::Control: {
        wchar_t nums[64];
        swprintf(nums, 64, L",%d,%d,%d,%d,", e.x, e.y, e.w, e.h);
        return e.name + nums + e.text + (e.flag ? L",TRUE" : L",FALSE");
    }
    case EntryKind::Label: {
        wchar_t nums[32];
        swprintf(nums, 32, L"%d,%d,", e.x, e.y);
        return nums + e.text;
    }
    default:
        return e.text;
    }
}

std::vector<std::wstring> CheckEntry(const Entry& e)
{
    std::vector<std::wstring> problems;
    if (e.kind == EntryKind::Control) {
        if (e.name.size() > 39) problems.push_back(e.name + L": name longer than 39 characters");
        if (e.text.size() > 99) problems.push_back(e.name + L": text longer than 99 characters");
        if (e.text.find(L',') != std::wstring::npos) problems.push_back(e.name + L": a comma in the text");
        if (e.text.find(L"TRUE") != std::wstring::npos) problems.push_back(e.name + L": TRUE in the text sets the flag");
        if (e.w <= 0 || e.h <= 0) problems.push_back(e.name + L": empty rectangle");
    } else if (e.kind == EntryKind::Label) {
        if (e.text.find(L',') != std::wstring::npos) problems.push_back(e.name + L": a comma in the label");
    }
    return problems;
}

Canvas RenderPicture(const WindowSpec& w, const Picture& p)
{
    Canvas c(w.w, w.h, Hex(0x000000));
    if (w.backdrop) w.backdrop(c, w, p.layer);
    for (const Entry& e : w.entries) {
        if (e.kind != EntryKind::Control || !(e.layers & p.layer)) continue;
        if (w.control && w.control(c, w, e, p.state)) continue;
        DrawControlLook(c, e, p.state);
    }
    return c;
}

Canvas RenderMask(const WindowSpec& w)
{
    Canvas c(w.w, w.h, Hex(0xFFFFFF));
    Field f = w.shape(w);
    for (int y = 0; y < w.h; ++y)
        for (int x = 0; x < w.w; ++x)
            if (f.At(x, y) < 0) c.At(x, y) = Hex(0x000000);
    return c;
}

bool WriteSkinFiles(const SkinSpec& spec, const std::wstring& folder)
{
    for (const WindowSpec& w : spec.windows)
        for (const Entry& e : w.entries)
            for (const std::wstring& p : CheckEntry(e)) {
                fwprintf(stderr, L"%ls: %ls\n", w.stringsName.c_str(), p.c_str());
                return false;
            }
    CreateDirectoryW((folder + L"skins").c_str(), nullptr);
    CreateDirectoryW((folder + L"bitmaps").c_str(), nullptr);

    CXmlDoc skins;
    skins.SetDocText(kDeclaration);
    skins.m_docFlags |= XMLDOC_UTF16LE_BOM;
    skins.AddElement(L"root");
    skins.EnterNode();
    for (const WindowSpec& w : spec.windows) {
        if (w.skinsName.empty()) continue;
        skins.AddElement(w.skinsName.c_str());
        skins.EnterNode();
        for (const Picture& p : w.pictures) {
            skins.AddElement(p.element.c_str(), p.file.c_str());
            Canvas c = p.mask ? RenderMask(w) : RenderPicture(w, p);
            std::wstring path = folder + L"skins\\" + p.file;
            if (!WriteBytes(path, BmpBytes(c))) {
                fwprintf(stderr, L"cannot write %ls\n", path.c_str());
                return false;
            }
        }
        skins.LeaveNode();
    }
    for (const PlainPicture& p : spec.pictures) {
        if (!p.element.empty()) {
            std::wstring file = p.path.substr(p.path.rfind(L'/') + 1);
            skins.AddElement(p.element.c_str(), file.c_str());
        }
        Canvas c(p.w, p.h, Hex(0x000000));
        p.draw(c);
        std::wstring path = folder + Native(p.path);
        if (!WriteBytes(path, BmpBytes(c))) {
            fwprintf(stderr, L"cannot write %ls\n", path.c_str());
            return false;
        }
    }
    if (!SaveDoc(skins, folder + L"Skins.xml")) return false;

    CXmlDoc strings;
    strings.SetDocText(kDeclaration);
    strings.m_docFlags |= XMLDOC_UTF16LE_BOM;
    strings.AddElement(L"root");
    strings.EnterNode();
    for (const WindowSpec& w : spec.windows) {
        if (w.stringsName.empty()) continue;
        strings.AddElement(w.stringsName.c_str());
        strings.EnterNode();
        for (const Entry& e : w.entries) strings.AddElement(e.name.c_str(), EntryText(e).c_str());
        strings.LeaveNode();
    }
    return SaveDoc(strings, folder + L"Strings.xml");
}

namespace {

// A stand-in desktop: a blue gradient with a light diagonal band, so both dark and light
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

bool WritePng(const std::wstring& path, const Canvas& c)
{
    if (WriteBytes(path, PngBytes(c))) return true;
    fwprintf(stderr, L"cannot write %ls\n", path.c_str());
    return false;
}

std::wstring StateName(const Picture& p, const std::wstring& window)
{
    // NAME_NORMAL -> normal, MACRO_PASTE_DOWN -> paste-down, MAIN_DISABLE -> disable
    std::wstring s = p.element.substr(window.size() + 1);
    s = Lower(s);
    for (wchar_t& ch : s)
        if (ch == L'_') ch = L'-';
    return s;
}

}  // namespace

bool WritePreviews(const SkinSpec& spec, const std::wstring& folder)
{
    const int margin = 24;
    for (const WindowSpec& w : spec.windows) {
        if (w.skinsName.empty()) continue;
        const std::wstring base = folder + L"skin-" + w.skinsName + L"-";
        Canvas mask = RenderMask(w);
        for (const Picture& p : w.pictures) {
            if (p.mask) {
                if (!WritePng(base + L"mask.png", mask)) return false;
                continue;
            }
            Canvas pic = RenderPicture(w, p);
            if (!WritePng(base + StateName(p, w.skinsName) + L".png", pic)) return false;
            if (p.state != State::Normal) continue;
            Canvas shown = Desktop(w.w + 2 * margin, w.h + 2 * margin);
            for (int y = 0; y < w.h; ++y)
                for (int x = 0; x < w.w; ++x)
                    if (mask.At(x, y).r < 128) shown.At(x + margin, y + margin) = pic.At(x, y);
            std::wstring look = p.layer == kAltLook ? StateName(p, w.skinsName) : L"normal";
            look = look.substr(0, look.rfind(L"normal"));
            if (!WritePng(base + look + L"masked.png", shown)) return false;
        }
    }
    for (const PlainPicture& p : spec.pictures) {
        Canvas c(p.w, p.h, Hex(0x000000));
        p.draw(c);
        std::wstring name = p.element.empty() ? p.path.substr(p.path.rfind(L'/') + 1) : p.element;
        if (name.size() > 4 && Lower(name.substr(name.size() - 4)) == L".bmp") name.resize(name.size() - 4);
        if (!WritePng(folder + L"skin-" + name + L".png", c)) return false;
    }
    return true;
}
