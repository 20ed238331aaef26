#include "TrayIcons.h"
#include <algorithm>
#include <cmath>

const TrayIconFile kTrayIconFiles[3] = {
    {TrayIconKind::Program, L"Bellwick.ico"},
    {TrayIconKind::DeviceAbsent, L"DeviceAbsent.ico"},
    {TrayIconKind::DevicePresent, L"DevicePresent.ico"},
};
const int kTrayIconSizes[5] = {16, 20, 24, 32, 48};

namespace {

// The drawing is laid out on a 48 x 48 grid and sampled 4 x 4 times per pixel.
const double kGrid = 48.0;
const int kSamples = 4;

struct Rgb {
    double r, g, b;
};

Rgb Hex(uint32_t c)
{
    return {double((c >> 16) & 0xFF), double((c >> 8) & 0xFF), double(c & 0xFF)};
}

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::min(1.0, std::max(0.0, t));
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Signed distance to a rectangle with rounded corners (negative inside).
double RoundRect(double x, double y, double cx, double cy, double hw, double hh, double r)
{
    double qx = std::fabs(x - cx) - (hw - r);
    double qy = std::fabs(y - cy) - (hh - r);
    double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

struct Palette {
    Rgb rimTop, rimBottom, seam, wheel, lightEdge, lightCentre, lightRing;
};

Palette PaletteFor(TrayIconKind kind)
{
    Palette gold = {Hex(0xE9C462), Hex(0x5A4518), Hex(0xA8832E), Hex(0xE9C462),
                    Hex(0x8A6410), Hex(0xFFE27A), Hex(0x5A4518)};
    switch (kind) {
    case TrayIconKind::Program:
        return gold;
    case TrayIconKind::DevicePresent:
        gold.lightEdge = Hex(0x8C0A0A);
        gold.lightCentre = Hex(0xFF5040);
        gold.lightRing = Hex(0x4A0606);
        return gold;
    case TrayIconKind::DeviceAbsent:
        break;
    }
    return {Hex(0xA0A0A0), Hex(0x484848), Hex(0x6E6E6E), Hex(0x9A9A9A),
            Hex(0x3C3C3C), Hex(0x9C9C9C), Hex(0x2A2A2A)};
}

// The colour and coverage of one sample point of the grid.
bool Sample(const Palette& p, double x, double y, Rgb& out)
{
    const double cx = 24, cy = 24, hw = 15.5, hh = 22.8;
    double body = RoundRect(x, y, cx, cy, hw, hh, 15.5);
    if (body >= 1.0) return false;
    if (body >= 0) {  // a black outline, so the mouse stands out on light task bars
        out = Hex(0x000000);
        return true;
    }
    double v = (y - (cy - hh)) / (2 * hh);
    if (body > -2.6) {
        out = Mix(p.rimTop, p.rimBottom, v);
        return true;
    }
    out = Mix(Hex(0x323232), Hex(0x0E0E0E), v);

    const double seamY = 17.5;
    if (std::fabs(y - seamY) < 0.75 || (y < seamY && std::fabs(x - cx) < 0.75)) out = p.seam;
    if (RoundRect(x, y, cx, 10.5, 2.6, 4.4, 2.6) < 0) out = Mix(p.wheel, p.rimBottom, (y - 6.1) / 12);

    double light = std::hypot(x - cx, y - 31) - 8.2;
    if (light < 0) {
        out = light > -1.2 ? p.lightRing : Mix(p.lightCentre, p.lightEdge, std::hypot(x - 22.2, y - 29.2) / 8);
        // A small glint up and left.
        if (std::hypot(x - 21.4, y - 28.4) < 1.7) out = Mix(out, Hex(0xFFFFFF), 0.55);
    }
    return true;
}

void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// One image of the icon file: BITMAPINFOHEADER (height doubled for the mask), the colour
// rows bottom-up, then the AND mask rows bottom-up, each padded to 32 bits.
std::vector<uint8_t> IconImage(const std::vector<uint32_t>& px, int size)
{
    std::vector<uint8_t> b;
    int maskStride = ((size + 31) / 32) * 4;
    uint32_t colourBytes = uint32_t(size * size * 4), maskBytes = uint32_t(maskStride * size);
    Put32(b, 40);
    Put32(b, uint32_t(size));
    Put32(b, uint32_t(size * 2));
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, 0);
    Put32(b, colourBytes + maskBytes);
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) Put32(b, px[size_t(y * size + x)]);
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(maskStride), 0);
        for (int x = 0; x < size; ++x)
            if ((px[size_t(y * size + x)] >> 24) == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

}  // namespace

std::vector<uint32_t> DrawTrayIcon(TrayIconKind kind, int size)
{
    Palette p = PaletteFor(kind);
    std::vector<uint32_t> px(size_t(size * size));
    const double unit = kGrid / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, bl = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    Rgb c;
                    if (!Sample(p, (x + (sx + 0.5) / kSamples) * unit, (y + (sy + 0.5) / kSamples) * unit, c))
                        continue;
                    r += c.r;
                    g += c.g;
                    bl += c.b;
                    ++covered;
                }
            }
            if (!covered) continue;
            auto channel = [covered](double sum) { return uint32_t(std::lround(sum / covered)) & 0xFF; };
            uint32_t alpha = uint32_t(covered * 255 / (kSamples * kSamples));
            px[size_t(y * size + x)] = (alpha << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(bl);
        }
    }
    return px;
}

std::vector<uint8_t> MakeTrayIconFile(TrayIconKind kind)
{
    const int count = int(sizeof(kTrayIconSizes) / sizeof(kTrayIconSizes[0]));
    std::vector<std::vector<uint8_t>> images;
    for (int size : kTrayIconSizes) images.push_back(IconImage(DrawTrayIcon(kind, size), size));

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, uint16_t(count));
    uint32_t offset = uint32_t(6 + 16 * count);
    for (int i = 0; i < count; ++i) {
        file.push_back(uint8_t(kTrayIconSizes[i]));
        file.push_back(uint8_t(kTrayIconSizes[i]));
        file.push_back(0);  // no palette
        file.push_back(0);
        Put16(file, 1);   // planes
        Put16(file, 32);  // bits per pixel
        Put32(file, uint32_t(images[size_t(i)].size()));
        Put32(file, offset);
        offset += uint32_t(images[size_t(i)].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
    return file;
}
