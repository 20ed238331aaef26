#include "Backdrops.h"
#include "Glyphs.h"
#include <algorithm>

ShapeFn RoundedWindow(float radius)
{
    return [radius](const WindowPlan& w) { return RoundedShape(w, radius); };
}

void DialogBackdrop(Canvas& c, const WindowPlan& w, int)
{
    ChromeStyle style;
    DrawChrome(c, w.shape(w), style);
    float y = 6.5f + style.titleHeight;
    DrawGem(c, 18, y, 4);
    DrawGem(c, (float)w.w - 18, y, 4);
}

ShapeFn PanelShape(Edge straight, float radius)
{
    return [straight, radius](const WindowPlan& w) {
        Box all{0, 0, w.w, w.h};
        float W = (float)w.w, H = (float)w.h;
        RectF half = straight == Edge::Left ? RectF{0, 0, W / 2, H}
                     : straight == Edge::Right ? RectF{W / 2, 0, W, H}
                                               : RectF{0, 0, W, H / 2};
        return Union(RoundRectField(all, {0, 0, W, H}, radius), RoundRectField(all, half, 0));
    };
}

Backdrop PanelBackdrop(Edge straight, int titleHeight)
{
    return [straight, titleHeight](Canvas& c, const WindowPlan& w, int) {
        ChromeStyle style;
        style.titleHeight = titleHeight;
        // The frame is drawn round a shape that runs on past the straight edge, so along
        // that edge there is none: the body reaches the edge, and the frame's other sides
        // end there against the main window's frame.
        float W = (float)w.w, H = (float)w.h, run = 2 * style.radius;
        RectF past = straight == Edge::Left ? RectF{-run, 0, W, H} : straight == Edge::Right ? RectF{0, 0, W + run, H} : RectF{0, -run, W, H};
        DrawChrome(c, RoundRectField(Box::Of(c), past, style.radius), style);
        if (titleHeight > 0) {
            float y = 6.5f + titleHeight;
            DrawGem(c, 18, y, 4);
            DrawGem(c, W - 18, y, 4);
        }
    };
}

ShapeFn MainShape(float radius, int left, int right, int bottom)
{
    return [=](const WindowPlan& w) {
        return RoundRectField(Box{0, 0, w.w, w.h}, {(float)left, 0, (float)(w.w - right), (float)(w.h - bottom)}, radius);
    };
}

Backdrop MainBackdrop(MousePlacement mouse, RectF deck)
{
    return [mouse, deck](Canvas& c, const WindowPlan& w, int) {
        ChromeStyle style;
        style.titleHeight = 44;
        Field shape = w.shape(w);
        DrawChrome(c, shape, style);
        // A soft light on the stage around the mouse.
        Field body = Offset(shape, -7);
        Fill(c, Intersect(body, RoundRectField(Box::Of(c), {0, 52, (float)w.w, deck.t - 4}, 0)),
             Radial({mouse.cx, mouse.top + 190 * mouse.scale}, 380, Hex(0x303030), Hex(0x121212)), 0.6f);
        DrawLettering(c, L"THARNIC EDITION", w.w / 2.0f, 35, 13, 1.7f);
        DrawPlate(c, deck, 8);
        DrawMouse(c, mouse);
        // Callout lines from each button plate to its button.
        Box all = Box::Of(c);
        for (int n = 1; n <= 11; ++n) {
            const Entry* e = w.Find(L"MOUSE_BUTTON_" + std::to_wstring(n));
            if (!e) continue;
            bool left = e->x + e->w / 2 < mouse.cx;
            PointF start{left ? (float)(e->x + e->w - 2) : (float)(e->x + 2), e->y + e->h / 2.0f};
            PointF knee{start.x + (left ? 16.0f : -16.0f), start.y};
            PointF end = MouseButtonAnchor(mouse, n);
            Path p;
            p.MoveTo(start.x, start.y).LineTo(knee.x, knee.y).LineTo(end.x, end.y);
            Field line = StrokeField(all, p, 1.3f);
            Glow(c, line, 3, Hex(0x000000), 0.6f);
            Fill(c, line, Solid(Hex(0xb8923c)));
            Field dot = EllipseField(all, end.x, end.y, 3.2f, 3.2f);
            Glow(c, dot, 5, Hex(pal::kGold), 0.45f);
            Fill(c, dot, Radial({end.x - 1, end.y - 1}, 4, Hex(0xfff0c0), Hex(0xc8901c)));
        }
    };
}

Canvas PrintSheet(int w, int h, const std::vector<RectF>& slots, MousePlacement mouse)
{
    Canvas c(w, h);
    Box all = Box::Of(c);
    Fill(c, RoundRectField(all, {0, 0, (float)w, (float)h}, 0), Grain(VGrad(0, Hex(0x1e1e1e), (float)h, Hex(0x101010)), 1.0f, 9));
    Outline(c, RoundRectField(all, {4, 4, w - 4.0f, h - 4.0f}, 6), 1.2f, Solid(Hex(pal::kTrim)));
    Outline(c, RoundRectField(all, {7, 7, w - 7.0f, h - 7.0f}, 4), 0.8f, Solid(Hex(pal::kTrimDark)));
    DrawLettering(c, L"THARNIC EDITION", 366, 22, 9, 1.2f);
    // The character block: portrait at (13, 16), 64 x 64, and its text field beside it.
    Field block = RoundRectField(all, {10, 13, 159, 83}, 4);
    Fill(c, block, Solid(Hex(0x0a0a0a)));
    Outline(c, block, 1.0f, Solid(Hex(pal::kTrimDark)));
    Fill(c, RoundRectField(all, {13, 16, 77, 80}, 0), Radial({45, 36}, 46, Hex(0x2b2b2b), Hex(0x0e0e0e)));
    Fill(c, RoundRectField(all, {78, 16, 156, 80}, 0), Solid(Hex(0x191919)));
    DrawMouse(c, mouse);
    for (size_t i = 0; i < slots.size(); ++i) {
        RectF r = slots[i];
        Field plate = RoundRectField(all, r.Inset(-1.5f), 4);
        Fill(c, plate, Solid(Hex(0x0c0c0c)));
        Outline(c, plate, 1.0f, Solid(Hex(0x6a5425)));
        // The number badge fits in the 17 pixels between two slots.
        float cx = r.l - 8.5f, cy = (r.t + r.b) / 2;
        Field badge = EllipseField(all, cx, cy, 6.2f, 6.2f);
        Fill(c, badge, VGrad(cy - 6, Hex(0x2a2a2a), cy + 6, Hex(0x0c0c0c)));
        Outline(c, badge, 1.0f, Solid(Hex(pal::kTrim)));
        std::wstring n = std::to_wstring(i + 1);
        float th = n.size() > 1 ? 5.0f : 6.5f;
        Fill(c, StrokeField(all, TextPath(n, cx - TextWidth(n, th) / 2, cy + th / 2, th), 1.1f), Solid(Hex(pal::kTrimLight)));
        PointF a = MouseButtonAnchor(mouse, (int)i + 1);
        Fill(c, EllipseField(all, a.x, a.y, 2, 2), Solid(Hex(pal::kGold)));
    }
    return c;
}

Canvas NoPortrait(int w, int h)
{
    Canvas c(w, h);
    Box all = Box::Of(c);
    Fill(c, RoundRectField(all, {0, 0, (float)w, (float)h}, 0), Radial({w / 2.0f, h * 0.35f}, w * 0.8f, Hex(0x363636), Hex(0x080808)));
    Field f = Union(EllipseField(all, w / 2.0f, h * 0.36f, w * 0.16f, h * 0.19f),
                    RoundRectField(all, {w * 0.16f, h * 0.64f, w * 0.84f, h * 1.3f}, w * 0.3f));
    Fill(c, f, VGrad(h * 0.15f, Hex(0xc8962a), (float)h, Hex(0x3a3a3a)));
    Outline(c, RoundRectField(all, {0.5f, 0.5f, w - 0.5f, h - 0.5f}, 0), 1.0f, Solid(Hex(0xc8962a)));
    return c;
}

void DrawPopup(Canvas& c)
{
    Box all = Box::Of(c);
    Fill(c, RoundRectField(all, {0, 0, (float)c.W(), (float)c.H()}, 0), Solid(Hex(0x000000)));
    for (int y = 20; y < c.H(); y += 20) Fill(c, RoundRectField(all, {4, y - 0.5f, c.W() - 4.0f, y + 0.5f}, 0), Solid(Hex(0x1c1c1c)));
    Outline(c, RoundRectField(all, {0.5f, 0.5f, c.W() - 0.5f, c.H() - 0.5f}, 0), 1.0f, Solid(Hex(pal::kTrim)));
}

void DrawFolderHeader(Canvas& c, bool open)
{
    Box all = Box::Of(c);
    RectF r{1, 1, 171, 20};
    Field f = RoundRectField(all, r, 0);
    Fill(c, f, open ? VGrad(r.t, Hex(0x4a3a16), r.b, Hex(0x1e1806)) : VGrad(r.t, Hex(0x343434), r.b, Hex(0x181818)));
    Fill(c, RoundRectField(all, {r.l, r.t, r.r, r.t + 1}, 0), Solid(Hex(0xffffff)), 0.12f);
    Fill(c, RoundRectField(all, {r.l, r.b - 1, r.r, r.b}, 0), Solid(Hex(open ? pal::kGold : pal::kTrim)));
    std::wstring sign = open ? L"-" : L"+";
    Fill(c, StrokeField(all, TextPath(sign, 157 - TextWidth(sign, 9) / 2, 10.5f + 4.5f, 9), 1.6f), Solid(Hex(pal::kTrimLight)));
}

void DrawSmallButton(Canvas& c)
{
    Entry e = Ctl(L"BUTTON", 0, 0, c.W(), c.H(), L"", Look::Push);
    Fill(c, RoundRectField(Box::Of(c), {0, 0, (float)c.W(), (float)c.H()}, 0), Solid(Hex(0x000000)));
    DrawControlLook(c, e, State::Normal);
}

void DrawColorChart(Canvas& c)
{
    const int hues = c.W() - 20;
    for (int y = 0; y < c.H(); ++y) {
        float t = (float)y / (c.H() - 1);
        for (int x = 0; x < c.W(); ++x) {
            Rgb col;
            if (x >= hues + 2) {
                float v = 255 * (1 - t);
                col = Rgb{v, v, v};
            } else if (x >= hues) {
                col = Hex(0x000000);
            } else {
                // Hue in six linear sectors, then white above the middle row and black below.
                float hpos = 6.0f * x / hues;
                int sector = (int)hpos;
                float f = hpos - sector;
                float q = 255 * (1 - f), u = 255 * f;
                switch (sector) {
                case 0: col = {255, u, 0}; break;
                case 1: col = {q, 255, 0}; break;
                case 2: col = {0, 255, u}; break;
                case 3: col = {0, q, 255}; break;
                case 4: col = {u, 0, 255}; break;
                default: col = {255, 0, q}; break;
                }
                col = t < 0.5f ? Mix(Hex(0xffffff), col, t / 0.5f) : Mix(col, Hex(0x000000), (t - 0.5f) / 0.5f);
            }
            c.At(x, y) = col;
        }
    }
}

namespace {

void ScrollArrow(Canvas& c, RectF cell, int dir, int row)
{
    // dir: 0 up, 1 down, 2 left, 3 right
    Box box = Box::Around(cell, 0);
    Field f = RoundRectField(box, cell.Inset(0.5f), 3);
    Rgb face0 = row == 2 ? Hex(0x4a3a14) : (row == 1 ? Hex(0x3c3c3c) : Hex(0x2c2c2c));
    Rgb face1 = row == 2 ? Hex(0x2a200a) : (row == 1 ? Hex(0x222222) : Hex(0x1a1a1a));
    Fill(c, f, VGrad(cell.t, face0, cell.b, face1));
    Outline(c, Offset(f, -0.5f), 1.0f, Solid(row == 0 ? Hex(0x4a3d20) : Hex(pal::kTrim)));
    float cx = (cell.l + cell.r) / 2, cy = (cell.t + cell.b) / 2, k = 3.0f;
    Path p;
    switch (dir) {
    case 0: p.MoveTo(cx, cy - k + 0.5f).LineTo(cx + k, cy + k * 0.6f).LineTo(cx - k, cy + k * 0.6f).Close(); break;
    case 1: p.MoveTo(cx, cy + k - 0.5f).LineTo(cx - k, cy - k * 0.6f).LineTo(cx + k, cy - k * 0.6f).Close(); break;
    case 2: p.MoveTo(cx - k + 0.5f, cy).LineTo(cx + k * 0.6f, cy - k).LineTo(cx + k * 0.6f, cy + k).Close(); break;
    default: p.MoveTo(cx + k - 0.5f, cy).LineTo(cx - k * 0.6f, cy + k).LineTo(cx - k * 0.6f, cy - k).Close(); break;
    }
    Rgb sign = row == 0 ? Hex(pal::kTrim) : (row == 1 ? Hex(0xffffff) : Hex(pal::kGold));
    Fill(c, PathField(box, p), Solid(sign));
}

// Track: the same in every row along the bar's axis, so it tiles without seams.
void ScrollTrack(Canvas& c, RectF cell, bool vertical)
{
    for (int i = 0; i < 13; ++i) {
        float t = (i + 0.5f) / 13.0f;
        float edge = t < 0.5f ? t : 1 - t;
        Rgb col = Mix(Hex(0x060606), Hex(0x121212), edge < 0.2f ? edge / 0.2f : 1.0f);
        for (int j = 0; j < 13; ++j) {
            int x = (int)cell.l + (vertical ? i : j), y = (int)cell.t + (vertical ? j : i);
            c.At(x, y) = col;
        }
    }
}

// Thumb: a pill whose middle row (vertical) or column (horizontal) is uniform, since the
// bar stretches the thumb by tiling its middle.
void ScrollThumb(Canvas& c, RectF cell, bool vertical, int row)
{
    Box box = Box::Around(cell, 0);
    RectF body = vertical ? RectF{cell.l + 2, cell.t + 0.5f, cell.r - 2, cell.b - 0.5f}
                          : RectF{cell.l + 0.5f, cell.t + 2, cell.r - 0.5f, cell.b - 2};
    Field f = RoundRectField(box, body, 4.5f);
    Rgb a = row == 2 ? Hex(0xc79a2a) : (row == 1 ? Hex(0x5a5a5a) : Hex(0x444444));
    Rgb b = row == 2 ? Hex(0x7a5a14) : (row == 1 ? Hex(0x383838) : Hex(0x2a2a2a));
    PointF p0 = vertical ? PointF{body.l, 0} : PointF{0, body.t};
    PointF p1 = vertical ? PointF{body.r, 0} : PointF{0, body.b};
    Fill(c, f, Linear(p0, a, p1, b));
    Outline(c, Offset(f, -0.5f), 1.0f, Solid(row == 0 ? Hex(0x6a5425) : Hex(pal::kTrimLight)));
}

}  // namespace

void DrawScrollBarParts(Canvas& c)
{
    for (int row = 0; row < 3; ++row) {
        auto cell = [&](int col) {
            return RectF{(float)col * 13, (float)row * 13, (float)col * 13 + 13, (float)row * 13 + 13};
        };
        for (int col : {3, 7}) ScrollTrack(c, cell(col), col == 3);
        ScrollArrow(c, cell(0), 0, row);
        ScrollArrow(c, cell(1), 1, row);
        ScrollThumb(c, cell(2), true, row);
        ScrollArrow(c, cell(4), 2, row);
        ScrollArrow(c, cell(5), 3, row);
        ScrollThumb(c, cell(6), false, row);
        Canvas corner(13, 13, Hex(0x0c0c0c));
        c.Paste(corner, 0, 0, 13, 13, 8 * 13, row * 13);
    }
}

void DrawBullet(Canvas& c)
{
    const uint32_t px[3][3] = {{0x7a5812, 0xc8962a, 0x7a5812}, {0xc8962a, 0xffe08a, 0xc8962a}, {0x7a5812, 0xc8962a, 0x7a5812}};
    for (int y = 0; y < 3 && y < c.H(); ++y)
        for (int x = 0; x < 3 && x < c.W(); ++x) c.At(x, y) = Hex(px[y][x]);
}

void DrawArrow(Canvas& c, bool up)
{
    static const char* rows[9] = {"...#...", "..###..", ".#####.", "#######", "..###..", "..###..", "..###..", "..###..", "..###.."};
    for (int y = 0; y < 9 && y < c.H(); ++y)
        for (int x = 0; x < 7 && x < c.W(); ++x)
            c.At(x, y) = rows[up ? y : 8 - y][x] == '#' ? Hex(0x000000) : Hex(0xffffff);
}

void DrawMouseIcon(Canvas& color, Canvas& alpha, bool lit, uint32_t light)
{
    const float size = (float)color.W();
    // The mouse is 404 by 280 design units; it fills the square's height.
    MousePlacement m{size * 0.52f, size * 0.03f, size * 0.94f / 404};
    Box all = Box::Of(color);
    Field body = PathField(all, MouseOutline(m));
    // Colours run a pixel past the edge, so the alpha alone makes the smooth edge.
    Field wide = Offset(body, 1.5f);
    Rgb top = lit ? Hex(0x5a5a5a) : Hex(0x6a6a6a), bottom = lit ? Hex(0x141414) : Hex(0x2a2a2a);
    Fill(color, wide, Radial(m.At(-25, 120), size * 0.8f, top, bottom));
    if (size >= 32) Bevel(color, body, size / 16, 0.35f);
    Rgb rim = lit ? Hex(pal::kTrimLight) : Hex(0x9a9a9a);
    float pen = size >= 32 ? size / 24 : 1.0f;
    if (size >= 24) InnerRing(color, body, pen, Solid(rim), 0.9f);
    // The channel of the wheel and the seam behind the buttons.
    Path seams;
    PointF a = m.At(0, 10), b = m.At(0, 165), l = m.At(-118, 150), r = m.At(118, 150), d = m.At(0, 178);
    seams.MoveTo(a.x, a.y).LineTo(b.x, b.y);
    seams.MoveTo(l.x, l.y).QuadTo(d.x, d.y, r.x, r.y);
    Fill(color, Intersect(StrokeField(all, seams, std::max(1.0f, size / 20)), Offset(body, -1)), Solid(Hex(0x000000)), 0.8f);
    // The light: a chevron on the palm.
    Path chevron;
    PointF c0 = m.At(-60, 360), c1 = m.At(0, 318), c2 = m.At(60, 360);
    chevron.MoveTo(c0.x, c0.y).LineTo(c1.x, c1.y).LineTo(c2.x, c2.y);
    Field lightField = Intersect(StrokeField(all, chevron, std::max(1.4f, size / 11)), Offset(body, -1));
    Rgb lightColor = lit ? Hex(light) : Hex(0x3a3a3a);
    if (lit) Glow(color, lightField, size / 8, lightColor, 0.6f);
    Fill(color, lightField, Solid(lit ? Mix(lightColor, Hex(0xffffff), 0.25f) : lightColor));
    for (int y = 0; y < alpha.H(); ++y)
        for (int x = 0; x < alpha.W(); ++x) {
            float v = 255 * Coverage(body.At(x, y));
            alpha.At(x, y) = Rgb{v, v, v};
        }
}
