#include "Mouse.h"
#include "Looks.h"
#include <algorithm>

namespace {

// Design units: x from the centre line, y from the front edge; the mouse is 404 long.
Path Body(const MousePlacement& m, float dx = 0, float dy = 0)
{
    auto P = [&](float x, float y) { return m.At(x + dx, y + dy); };
    Path p;
    auto M = [&](float x, float y) { PointF q = P(x, y); p.MoveTo(q.x, q.y); };
    auto C = [&](float x1, float y1, float x2, float y2, float x3, float y3) {
        PointF a = P(x1, y1), b = P(x2, y2), c = P(x3, y3);
        p.CubicTo(a.x, a.y, b.x, b.y, c.x, c.y);
    };
    M(0, 0);
    C(60, 0, 108, 28, 115, 78);
    C(122, 128, 128, 198, 125, 258);
    C(122, 348, 70, 404, 0, 404);
    C(-70, 404, -115, 373, -120, 328);
    C(-124, 298, -152, 262, -138, 228);
    C(-124, 180, -120, 118, -115, 78);
    C(-108, 28, -60, 0, 0, 0);
    p.Close();
    return p;
}

struct Key {
    float x, y, rx, ry;
};
// Buttons 3..11 (1 and 2 are the two halves of the front).
const Key kKeys[] = {
    {0, 72, 7, 34},       // 3: the wheel
    {0, 125, 8, 7},       // 4
    {0, 145, 8, 7},       // 5
    {0, 196, 10, 10},     // 6
    {-104, 150, 9, 22},   // 7
    {-108, 200, 9, 22},   // 8
    {-117, 246, 8, 14},   // 9
    {-120, 280, 8, 14},   // 10
    {-108, 318, 9, 9},    // 11
};

// The wheel is a rounded bar; every other button an ellipse.
Field KeyField(const Box& box, const MousePlacement& m, const Key& k, float grow = 0)
{
    PointF c = m.At(k.x, k.y);
    float rx = k.rx * m.scale + grow, ry = k.ry * m.scale + grow;
    if (&k == &kKeys[0]) return RoundRectField(box, {c.x - rx, c.y - ry, c.x + rx, c.y + ry}, rx);
    return EllipseField(box, c.x, c.y, rx, ry);
}

}  // namespace

PointF MouseButtonAnchor(const MousePlacement& m, int button)
{
    // High on the two halves, so the right button's line passes above the wheel's.
    if (button == 1) return m.At(-55, 50);
    if (button == 2) return m.At(55, 50);
    if (button >= 3 && button <= 11) return m.At(kKeys[button - 3].x, kKeys[button - 3].y);
    return m.At(0, 0);
}

Path MouseOutline(const MousePlacement& m)
{
    return Body(m);
}

RectF MouseBounds(const MousePlacement& m)
{
    PointF a = m.At(-152, 0), b = m.At(128, 404);
    return {a.x, a.y, b.x, b.y};
}

void DrawMouse(Canvas& c, const MousePlacement& m)
{
    const float s = m.scale;
    Box box = Box::Around(MouseBounds(m), 40 * s + 4);
    RectF bounds = MouseBounds(m);

    Field shadow = PathField(box, Body(m, 5, 9));
    Glow(c, shadow, 22 * s, Hex(0x000000), 0.75f);
    Fill(c, shadow, Solid(Hex(0x000000)), 0.6f);

    Field body = PathField(box, Body(m));
    PointF light = m.At(-25, 150);
    Fill(c, body, Grain(Radial(light, 260 * s, Hex(0x4a4a4a), Hex(0x121212)), 1.2f, 21));
    // The two main buttons: a slightly lighter shell over the front.
    Path front;
    {
        PointF a = m.At(-200, -20), b = m.At(200, -20), q = m.At(200, 150), d = m.At(0, 172), e = m.At(-200, 150);
        front.MoveTo(a.x, a.y).LineTo(b.x, b.y).LineTo(q.x, q.y).QuadTo(d.x, d.y + 12 * s, e.x, e.y).Close();
    }
    Field shell = Intersect(body, PathField(box, front));
    Fill(c, shell, VGrad(bounds.t, Hex(0x3c3c3c), m.At(0, 170).y, Hex(0x1c1c1c)), 0.65f);
    Bevel(c, body, 10 * s, 0.4f);

    // Seams: the line between the buttons and the palm, and the channel of the wheel.
    Path seams;
    {
        PointF e = m.At(-125, 152), d = m.At(0, 172), q = m.At(125, 152);
        seams.MoveTo(e.x, e.y).QuadTo(d.x, d.y + 12 * s, q.x, q.y);
        PointF l0 = m.At(-11, 4), l1 = m.At(-11, 162), r0 = m.At(11, 4), r1 = m.At(11, 162);
        seams.MoveTo(l0.x, l0.y).LineTo(l1.x, l1.y);
        seams.MoveTo(r0.x, r0.y).LineTo(r1.x, r1.y);
    }
    Field seamField = Intersect(StrokeField(box, seams, 2.2f * s), Offset(body, -2));
    Fill(c, seamField, Solid(Hex(0x000000)), 0.85f);
    Path channel;
    {
        PointF a = m.At(-10, 2), b = m.At(10, 163);
        channel.MoveTo(a.x, a.y).LineTo(b.x, a.y).LineTo(b.x, b.y).LineTo(a.x, b.y).Close();
    }
    Fill(c, Intersect(PathField(box, channel), body), VGrad(bounds.t, Hex(0x0a0a0a), m.At(0, 163).y, Hex(0x141414)));

    // A gold pinstripe along the rim.
    Outline(c, Offset(body, -5 * s), 1.0f, Linear(m.At(-130, 0), Hex(pal::kTrimLight), m.At(130, 404), Hex(pal::kTrimDark)), 0.55f);
    Outline(c, body, 1.6f, Solid(Hex(0x000000)));

    // The wheel, the buttons behind it and on the thumb side.
    for (const Key& k : kKeys) {
        bool wheel = &k == &kKeys[0];
        Field well = KeyField(box, m, k, 2.0f * s);
        Fill(c, well, Solid(Hex(0x050505)), 0.9f);
        Field key = KeyField(box, m, k);
        PointF kc = m.At(k.x, k.y);
        if (wheel) {
            Fill(c, key, Linear({kc.x - k.rx * s, 0}, Hex(0x161616), {kc.x + k.rx * s, 0}, Hex(0x3a3a3a)));
            for (float y = -30; y <= 30; y += 5) {
                PointF a = m.At(k.x - 6, k.y + y), b = m.At(k.x + 6, k.y + y);
                Path ridge;
                ridge.MoveTo(a.x, a.y).LineTo(b.x, b.y);
                Fill(c, Intersect(StrokeField(box, ridge, 1.2f * s), key), Solid(Hex(0x050505)), 0.8f);
            }
        } else {
            Fill(c, key, Radial({kc.x - k.rx * s * 0.4f, kc.y - k.ry * s * 0.5f}, (k.rx + k.ry) * s, Hex(0x4a4a4a), Hex(0x161616)));
        }
        Bevel(c, key, 3 * s, 0.3f);
        Outline(c, Offset(key, -0.5f), 1.0f, Solid(Hex(pal::kTrim)), 0.8f);
    }

    // The light on the palm: a chevron pointing forward, and the emblem above it.
    Path strip;
    {
        PointF a = m.At(-46, 374), b = m.At(0, 344), q = m.At(46, 374);
        strip.MoveTo(a.x, a.y).LineTo(b.x, b.y).LineTo(q.x, q.y);
    }
    Field stripField = StrokeField(box, strip, 3.0f * s);
    Glow(c, stripField, 10 * s, Hex(0xffa020), 0.45f);
    Fill(c, stripField, Solid(Hex(0xffd070)));
    PointF gem = m.At(0, 290);
    DrawGem(c, gem.x, gem.y, 9 * s);
}
