#include "Backdrops.h"

ShapeFn RoundedWindow(float radius)
{
    return [radius](const WindowSpec& w) { return RoundedShape(w, radius); };
}

void DialogBackdrop(Canvas& c, const WindowSpec& w, int)
{
    ChromeStyle style;
    DrawChrome(c, w.shape(w), style);
    float y = 6.5f + style.titleHeight;
    DrawGem(c, 18, y, 4);
    DrawGem(c, (float)w.w - 18, y, 4);
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
    Canvas back(c.W(), c.H(), Hex(pal::kList));
    c.Paste(back, 0, 0, c.W(), c.H(), 0, 0);
    DrawGem(c, 7.5f, 7.5f, 3.6f);
}
