#include "SkinFiles.h"
#include "Looks.h"
#include "core/XmlDoc.h"
#include <windows.h>
#include <algorithm>
#include <map>
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

}  // namespace

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

namespace {

std::wstring Native(std::wstring path)
{
    for (wchar_t& ch : path)
        if (ch == L'/') ch = L'\\';
    return path;
}

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

// A new document as the system writes one: UTF-16LE with a byte-order mark, positioned
// inside its root element.
void StartDoc(CXmlDoc& doc)
{
    doc.SetDocText(kDeclaration);
    doc.m_docFlags |= XMLDOC_UTF16LE_BOM;
    doc.AddElement(L"root");
    doc.EnterNode();
}

bool WriteOrSay(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    if (WriteBytes(path, bytes)) return true;
    fwprintf(stderr, L"cannot write %ls\n", path.c_str());
    return false;
}

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

std::vector<uint8_t> MonoBmpBytes(const Canvas& c)
{
    const int stride = ((c.W() + 31) / 32) * 4;
    const uint32_t imageSize = (uint32_t)stride * c.H();
    std::vector<uint8_t> b{'B', 'M'};
    Put32(b, 62 + imageSize);
    Put32(b, 0);
    Put32(b, 62);
    Put32(b, 40);
    Put32(b, (uint32_t)c.W());
    Put32(b, (uint32_t)c.H());
    Put16(b, 1);
    Put16(b, 1);
    Put32(b, 0);
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 2);
    Put32(b, 2);
    Put32(b, 0x00000000);  // index 0: black
    Put32(b, 0x00FFFFFF);  // index 1: white
    for (int y = c.H() - 1; y >= 0; --y) {
        std::vector<uint8_t> row((size_t)stride, 0);
        for (int x = 0; x < c.W(); ++x)
            if (c.At(x, y).r >= 128) row[x / 8] |= (uint8_t)(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

std::vector<uint8_t> IcoBytes(const std::vector<std::pair<Canvas, Canvas>>& images)
{
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, (uint32_t)images.size());
    std::vector<std::vector<uint8_t>> bodies;
    for (const auto& [color, alpha] : images) {
        const int w = color.W(), h = color.H();
        const int maskStride = ((w + 31) / 32) * 4;
        std::vector<uint8_t> b;
        Put32(b, 40);
        Put32(b, (uint32_t)w);
        Put32(b, (uint32_t)(2 * h));
        Put16(b, 1);
        Put16(b, 32);
        Put32(b, 0);
        Put32(b, (uint32_t)(w * h * 4 + maskStride * h));
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, 0);
        std::vector<uint8_t> rgb = color.Bytes(), a = alpha.Bytes();
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) {
                size_t i = ((size_t)y * w + x) * 3;
                b.push_back(rgb[i + 2]);
                b.push_back(rgb[i + 1]);
                b.push_back(rgb[i]);
                b.push_back(a[i]);
            }
        for (int y = h - 1; y >= 0; --y) {
            std::vector<uint8_t> row((size_t)maskStride, 0);
            for (int x = 0; x < w; ++x)
                if (a[((size_t)y * w + x) * 3] == 0) row[x / 8] |= (uint8_t)(0x80 >> (x % 8));
            b.insert(b.end(), row.begin(), row.end());
        }
        bodies.push_back(b);
    }
    uint32_t offset = 6 + 16 * (uint32_t)images.size();
    for (size_t k = 0; k < images.size(); ++k) {
        int w = images[k].first.W(), h = images[k].first.H();
        out.push_back((uint8_t)(w >= 256 ? 0 : w));
        out.push_back((uint8_t)(h >= 256 ? 0 : h));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, (uint32_t)bodies[k].size());
        Put32(out, offset);
        offset += (uint32_t)bodies[k].size();
    }
    for (const auto& b : bodies) out.insert(out.end(), b.begin(), b.end());
    return out;
}

std::vector<uint8_t> GifBytes(const Canvas& c)
{
    // A duotone palette from black through grey to gold, indexed by brightness: the
    // pictures saved as GIF are drawn in those colours.
    std::vector<uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, (uint32_t)c.W());
    Put16(out, (uint32_t)c.H());
    out.insert(out.end(), {0xF7, 0, 0});
    for (int i = 0; i < 256; ++i) {
        Rgb col = GifRamp(i);
        out.push_back((uint8_t)col.r);
        out.push_back((uint8_t)col.g);
        out.push_back((uint8_t)col.b);
    }
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, (uint32_t)c.W());
    Put16(out, (uint32_t)c.H());
    out.push_back(0);
    out.push_back(8);  // minimum code size

    // Each brightness maps to the ramp entry nearest to it in brightness.
    auto luma = [](float r, float g, float b) { return (r * 77 + g * 150 + b * 29) / 256; };
    uint8_t nearest[256];
    for (int l = 0; l < 256; ++l) {
        int best = 0;
        float bestDiff = 1e9f;
        for (int i = 0; i < 256; ++i) {
            Rgb col = GifRamp(i);
            float d = luma(col.r, col.g, col.b) - l;
            d = d < 0 ? -d : d;
            if (d < bestDiff) bestDiff = d, best = i;
        }
        nearest[l] = (uint8_t)best;
    }
    std::vector<uint8_t> rgb = c.Bytes();
    std::vector<uint8_t> index(rgb.size() / 3);
    for (size_t i = 0; i < index.size(); ++i) {
        int l = (int)(luma(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]) + 0.5f);
        index[i] = nearest[l > 255 ? 255 : l];
    }

    // LZW with variable code size; the table starts over well before it is full.
    const int clear = 256, end = 257;
    std::vector<int16_t> table(4096 * 256, -1);
    std::vector<uint8_t> packed;
    uint32_t acc = 0;
    int bits = 0, codeSize = 9, next = 258;
    auto emit = [&](int code) {
        acc |= (uint32_t)code << bits;
        bits += codeSize;
        while (bits >= 8) {
            packed.push_back((uint8_t)acc);
            acc >>= 8;
            bits -= 8;
        }
    };
    emit(clear);
    int prefix = index.empty() ? -1 : index[0];
    for (size_t i = 1; i < index.size(); ++i) {
        int k = index[i];
        int16_t known = table[(size_t)prefix * 256 + k];
        if (known >= 0) {
            prefix = known;
            continue;
        }
        emit(prefix);
        table[(size_t)prefix * 256 + k] = (int16_t)next++;
        if (next > (1 << codeSize) && codeSize < 12) ++codeSize;
        if (next >= 4000) {
            emit(clear);
            std::fill(table.begin(), table.end(), (int16_t)-1);
            codeSize = 9;
            next = 258;
        }
        prefix = k;
    }
    if (prefix >= 0) emit(prefix);
    emit(end);
    if (bits > 0) packed.push_back((uint8_t)acc);
    for (size_t pos = 0; pos < packed.size(); pos += 255) {
        size_t n = packed.size() - pos < 255 ? packed.size() - pos : 255;
        out.push_back((uint8_t)n);
        out.insert(out.end(), packed.begin() + pos, packed.begin() + pos + n);
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

Rgb GifRamp(int i)
{
    float t = i / 255.0f;
    if (t < 0.35f) return Mix(Hex(0x000000), Hex(0x3a3a3a), t / 0.35f);
    if (t < 0.7f) return Mix(Hex(0x3a3a3a), Hex(0xc8962a), (t - 0.35f) / 0.35f);
    return Mix(Hex(0xc8962a), Hex(0xfff2c8), (t - 0.7f) / 0.3f);
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

Canvas RenderPicture(const WindowPlan& w, const Picture& p)
{
    // The backdrop is the same in every state: drawn once per window and look.
    static std::map<std::pair<const WindowPlan*, int>, Canvas> backdrops;
    auto key = std::make_pair(&w, p.layer);
    auto it = backdrops.find(key);
    if (it == backdrops.end()) {
        Canvas b(w.w, w.h, Hex(0x000000));
        if (w.backdrop) w.backdrop(b, w, p.layer);
        it = backdrops.emplace(key, b).first;
    }
    Canvas c = it->second;
    for (const Entry& e : w.entries) {
        if (e.kind != EntryKind::Control || !(e.layers & p.layer)) continue;
        if (w.control && w.control(c, w, e, p.state)) continue;
        DrawControlLook(c, e, p.state);
    }
    return c;
}

Canvas RenderMask(const WindowPlan& w)
{
    static std::map<const WindowPlan*, Canvas> masks;
    auto it = masks.find(&w);
    if (it != masks.end()) return it->second;
    Canvas c(w.w, w.h, Hex(0xFFFFFF));
    Field f = w.shape(w);
    for (int y = 0; y < w.h; ++y)
        for (int x = 0; x < w.w; ++x)
            if (f.At(x, y) < 0) c.At(x, y) = Hex(0x000000);
    masks.emplace(&w, c);
    return c;
}

bool WriteSkinFiles(const SkinPlan& plan, const std::wstring& folder)
{
    for (const WindowPlan& w : plan.windows)
        for (const Entry& e : w.entries)
            for (const std::wstring& p : CheckEntry(e)) {
                fwprintf(stderr, L"%ls: %ls\n", w.stringsName.c_str(), p.c_str());
                return false;
            }
    CreateDirectoryW((folder + L"skins").c_str(), nullptr);
    CreateDirectoryW((folder + L"bitmaps").c_str(), nullptr);
    CreateDirectoryW((folder + L"icons").c_str(), nullptr);
    for (const IconPlan& icon : plan.icons) {
        std::vector<std::pair<Canvas, Canvas>> images;
        for (int size : icon.sizes) {
            Canvas color(size, size), alpha(size, size);
            icon.draw(color, alpha);
            images.emplace_back(color, alpha);
        }
        if (!WriteOrSay(folder + Native(icon.path), IcoBytes(images))) return false;
    }

    CXmlDoc skins;
    StartDoc(skins);
    for (const WindowPlan& w : plan.windows) {
        if (w.skinsName.empty()) continue;
        skins.AddElement(w.skinsName.c_str());
        skins.EnterNode();
        for (const Picture& p : w.pictures) {
            skins.AddElement(p.element.c_str(), p.file.c_str());
            Canvas c = p.make ? p.make() : (p.mask ? RenderMask(w) : RenderPicture(w, p));
            bool gif = Lower(p.file).size() > 4 && Lower(p.file).substr(p.file.size() - 4) == L".gif";
            if (!WriteOrSay(folder + L"skins\\" + p.file, gif ? GifBytes(c) : BmpBytes(c))) return false;
        }
        skins.LeaveNode();
    }
    for (const PlainPicture& p : plan.pictures) {
        if (!p.element.empty()) {
            std::wstring file = p.path.substr(p.path.rfind(L'/') + 1);
            skins.AddElement(p.element.c_str(), file.c_str());
        }
        Canvas c(p.w, p.h, Hex(0x000000));
        p.draw(c);
        if (!WriteOrSay(folder + Native(p.path), p.mono ? MonoBmpBytes(c) : BmpBytes(c))) return false;
    }
    if (!SaveDoc(skins, folder + L"Skins.xml")) return false;

    CXmlDoc strings;
    StartDoc(strings);
    for (const WindowPlan& w : plan.windows) {
        if (w.stringsName.empty()) continue;
        strings.AddElement(w.stringsName.c_str());
        strings.EnterNode();
        for (const Entry& e : w.entries) strings.AddElement(e.name.c_str(), EntryText(e).c_str());
        strings.LeaveNode();
    }
    return SaveDoc(strings, folder + L"Strings.xml");
}
