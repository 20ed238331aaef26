#include "Looks.h"
#include "Glyphs.h"
#include <algorithm>

Field RoundedShape(const WindowPlan& w, float radius)
{
    Box all{0, 0, w.w, w.h};
    return RoundRectField(all, {0, 0, (float)w.w, (float)w.h}, radius);
}

void DrawChrome(Canvas& c, const Field& shape, const ChromeStyle& style)
{
    // Graphite frame with a light upper-left edge, a gold inline, then the body.
    Fill(c, shape, Grain(VGrad(0, Hex(0x343434), (float)c.H(), Hex(0x161616)), 1.5f, 11));
    Bevel(c, shape, 4, 0.45f);
    Field inline_ = Offset(shape, -4.5f);
    Outline(c, inline_, 1.3f, VGrad(0, Hex(pal::kTrimLight), (float)c.H(), Hex(pal::kTrimDark)));
    Field body = Offset(shape, -6.5f);
    Fill(c, body, Grain(VGrad(0, Hex(pal::kBodyTop), (float)c.H(), Hex(pal::kBodyBottom)), 1.2f, 3));
    if (style.titleHeight > 0) {
        RectF band{0, 0, (float)c.W(), 6.5f + style.titleHeight};
        Field bandField = Intersect(body, RoundRectField(Box::Of(c), band, 0));
        Fill(c, bandField, VGrad(band.t, Hex(0x2e2e2e), band.b, Hex(0x1a1a1a)));
        DrawRule(c, 24, (float)c.W() - 24, band.b);
    }
    InnerShade(c, body, 7, Hex(0x000000), 0.55f);
    InnerRing(c, shape, 1.2f, Solid(Hex(pal::kRim)));
}

void DrawRule(Canvas& c, float x0, float x1, float y)
{
    float cx = (x0 + x1) / 2, rx = (x1 - x0) / 2;
    RectF r{x0, y - 4, x1, y + 4};
    Field lens = EllipseField(Box::Around(r, 8), cx, y, rx, 0.75f);
    Glow(c, lens, 5, Hex(pal::kTrim), 0.25f);
    Fill(c, lens, Solid(Hex(pal::kTrimLight)));
    // A dark line just below makes the rule read as an engraved edge.
    Field below = EllipseField(Box::Around(r, 8), cx, y + 1.5f, rx * 0.96f, 0.6f);
    Fill(c, below, Solid(Hex(0x000000)), 0.6f);
}

void DrawGem(Canvas& c, float cx, float cy, float r)
{
    Path p;
    p.MoveTo(cx, cy - r).LineTo(cx + r, cy).LineTo(cx, cy + r).LineTo(cx - r, cy).Close();
    Field f = PathField(Box::Around({cx - r, cy - r, cx + r, cy + r}, 10), p);
    Glow(c, f, 6, Hex(pal::kTrim), 0.35f);
    Fill(c, f, Linear({cx - r, cy - r}, Hex(0xfff0b0), {cx + r, cy + r}, Hex(0x8a6414)));
    Bevel(c, f, 2, 0.4f);
}

void DrawPlate(Canvas& c, RectF r, float radius)
{
    Box box = Box::Around(r, 12);
    Field f = RoundRectField(box, r, radius);
    Glow(c, f, 6, Hex(0x000000), 0.5f);
    Fill(c, f, Grain(VGrad(r.t, Hex(0x252525), r.b, Hex(0x171717)), 1.0f, 5));
    Outline(c, Offset(f, -0.5f), 1.0f, VGrad(r.t, Hex(0x6b5a36), r.b, Hex(0x3a3020)));
    Bevel(c, Offset(f, -1.0f), 3, 0.18f);
}

void DrawField(Canvas& c, RectF r, Rgb inside, float radius)
{
    RectF outer = r.Inset(-4);
    Box box = Box::Around(outer, 8);
    Field frame = RoundRectField(box, outer, radius + 3);
    Fill(c, frame, VGrad(outer.t, Hex(0x070707), outer.b, Hex(0x141414)));
    // The lower-right lip catches the light, the upper-left falls into shadow.
    Bevel(c, frame, 2.5f, -0.35f);
    Outline(c, frame, 1.0f, Solid(Hex(0x3a3a3a)), 0.55f);
    Field inner = RoundRectField(box, r.Inset(-1), radius);
    Fill(c, inner, Solid(inside));
    InnerShade(c, RoundRectField(box, r.Inset(-1), radius), 3, Hex(0x000000), 0.25f);
    // The text area itself stays one flat colour, so runtime texts and controls match it.
    Fill(c, RoundRectField(box, r, 0), Solid(inside));
}

namespace {

// The face of a rounded button in a state. Everything that changes with the state stays
// inside r: a button shows its pictures cut at its rectangle, so a hover glow that ran
// past it would end in a hard edge.
void ButtonFace(Canvas& c, RectF r, float radius, State s, bool strong)
{
    const float margin = 3;
    RectF face = r.Inset(margin);
    Box box = Box::Around(r, 10);
    Field f = RoundRectField(box, face, radius);
    Rgb top = Hex(0x363636), bottom = Hex(0x1a1a1a), border = Hex(strong ? 0x8a6c2a : 0x6a5425);
    Glow(c, f, margin, Hex(0x000000), 0.7f);
    if (s == State::Over) {
        top = Hex(0x474747);
        bottom = Hex(0x232323);
        border = Hex(pal::kTrimLight);
        Glow(c, f, margin, Hex(pal::kGold), 0.55f);
    } else if (s == State::Down) {
        top = Hex(0x111111);
        bottom = Hex(0x2a2a2a);
        border = Hex(pal::kGold);
        Glow(c, f, margin, Hex(pal::kTrim), 0.35f);
    } else if (s == State::Disabled) {
        top = Hex(0x242424);
        bottom = Hex(0x1a1a1a);
        border = Hex(0x3a3a3a);
    }
    Fill(c, f, VGrad(face.t, top, face.b, bottom));
    if (s == State::Down) {
        InnerShade(c, f, 5, Hex(0x000000), 0.7f);
    } else if (s != State::Disabled) {
        // A soft sheen over the upper half.
        Field sheen = Intersect(Offset(f, -1.5f), RoundRectField(box, {face.l, face.t, face.r, face.t + face.H() * 0.5f}, 0));
        Fill(c, sheen, VGrad(face.t, Hex(0xffffff), face.t + face.H() * 0.5f, Hex(0x707070)), 0.07f);
        Bevel(c, Offset(f, -1.0f), 2, 0.22f);
    }
    Outline(c, Offset(f, -0.6f), 1.2f, Solid(border));
}

Path CrossPath(float cx, float cy, float k)
{
    Path p;
    p.MoveTo(cx - k, cy - k).LineTo(cx + k, cy + k);
    p.MoveTo(cx + k, cy - k).LineTo(cx - k, cy + k);
    return p;
}

Path QuestionPath(float cx, float cy, float k)
{
    Path p;
    p.MoveTo(cx - k * 0.9f, cy - k * 0.55f)
        .CubicTo(cx - k * 0.9f, cy - k * 1.45f, cx + k * 0.95f, cy - k * 1.45f, cx + k * 0.95f, cy - k * 0.6f)
        .CubicTo(cx + k * 0.95f, cy + k * 0.05f, cx, cy - k * 0.05f, cx, cy + k * 0.45f);
    return p;
}

// A round button with a drawn sign.
void RoundButton(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    const float margin = 2.5f;
    float cx = (r.l + r.r) / 2, cy = (r.t + r.b) / 2, rad = std::min(r.W(), r.H()) / 2 - margin;
    Box box = Box::Around(r, 10);
    Field f = EllipseField(box, cx, cy, rad, rad);
    Rgb face0 = Hex(0x3a3a3a), face1 = Hex(0x161616), ring = Hex(pal::kTrim), sign = Hex(pal::kTrimLight);
    Glow(c, f, margin, Hex(0x000000), 0.7f);
    if (s == State::Over) {
        face0 = Hex(0x4a4a4a);
        face1 = Hex(0x202020);
        ring = Hex(pal::kTrimLight);
        sign = Hex(0xffffff);
        Glow(c, f, margin, Hex(pal::kGold), 0.55f);
    } else if (s == State::Down) {
        face0 = Hex(0x101010);
        face1 = Hex(0x2a2a2a);
        ring = Hex(pal::kGold);
        sign = Hex(pal::kGold);
    } else if (s == State::Disabled) {
        ring = Hex(0x444444);
        sign = Hex(0x5a5a5a);
    }
    Fill(c, f, VGrad(r.t, face0, r.b, face1));
    if (s == State::Down) InnerShade(c, f, 4, Hex(0x000000), 0.6f);
    else Bevel(c, Offset(f, -1.0f), 2, 0.25f);
    Outline(c, Offset(f, -0.6f), 1.2f, Solid(ring));
    float k = rad * 0.38f;
    float pen = rad < 9 ? 1.6f : 2.0f;
    if (e.look == Look::Close) {
        Fill(c, StrokeField(box, CrossPath(cx, cy, k), pen), Solid(sign));
    } else if (e.look == Look::Minimize) {
        Path p;
        p.MoveTo(cx - k * 1.1f, cy + k * 0.6f).LineTo(cx + k * 1.1f, cy + k * 0.6f);
        Fill(c, StrokeField(box, p, pen), Solid(sign));
    } else {
        Fill(c, StrokeField(box, QuestionPath(cx, cy, k * 1.05f), pen), Solid(sign));
        Fill(c, EllipseField(box, cx, cy + k * 1.15f, pen * 0.6f, pen * 0.6f), Solid(sign));
    }
}

void CheckBox(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect().Inset(2);
    Box box = Box::Around(r, 10);
    Field f = RoundRectField(box, r, 3);
    Rgb ring = s == State::Over ? Hex(pal::kTrimLight) : (s == State::Disabled ? Hex(0x444444) : Hex(pal::kTrim));
    if (s == State::Over) Glow(c, f, 2, Hex(pal::kGold), 0.5f);
    Fill(c, f, VGrad(r.t, Hex(0x080808), r.b, Hex(0x1c1c1c)));
    InnerShade(c, f, 3, Hex(0x000000), 0.6f);
    Outline(c, Offset(f, -0.6f), 1.2f, Solid(ring));
    if (s == State::Down) {
        float w = r.W(), h = r.H();
        Path p;
        p.MoveTo(r.l + w * 0.22f, r.t + h * 0.52f).LineTo(r.l + w * 0.43f, r.t + h * 0.74f).LineTo(r.l + w * 0.8f, r.t + h * 0.27f);
        Field tick = StrokeField(box, p, std::max(1.8f, w * 0.14f));
        Fill(c, tick, Solid(Hex(pal::kGold)));
    }
}

void RadioLight(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    float cx = (r.l + r.r) / 2, cy = (r.t + r.b) / 2, rad = std::min(r.W(), r.H()) / 2 - 2;
    Box box = Box::Around(r, 10);
    Field f = EllipseField(box, cx, cy, rad, rad);
    if (s == State::Over) Glow(c, f, 2, Hex(pal::kGold), 0.5f);
    Fill(c, f, VGrad(r.t, Hex(0x060606), r.b, Hex(0x1e1e1e)));
    Outline(c, Offset(f, -0.6f), 1.2f, Solid(s == State::Over ? Hex(pal::kTrimLight) : Hex(pal::kTrim)));
    Field dot = EllipseField(box, cx, cy, rad * 0.5f, rad * 0.5f);
    if (s == State::Down) {
        Glow(c, dot, rad * 0.5f, Hex(pal::kGold), 0.6f);
        Fill(c, dot, Radial({cx - rad * 0.15f, cy - rad * 0.2f}, rad * 0.6f, Hex(0xfff4c0), Hex(0xd79b00)));
    } else {
        Fill(c, dot, Solid(Hex(0x2a2414)));
    }
}

// The number at the end of an entry's name (MOUSE_BUTTON_7 -> "7").
std::wstring TrailingNumber(const std::wstring& name)
{
    size_t i = name.size();
    while (i > 0 && name[i - 1] >= L'0' && name[i - 1] <= L'9') --i;
    return name.substr(i);
}

void DrawNumber(Canvas& c, const std::wstring& text, float cx, float cy, float height, float pen, Rgb color)
{
    float w = TextWidth(text, height);
    Box box = Box::Around({cx - w, cy - height, cx + w, cy + height}, 6);
    Fill(c, StrokeField(box, TextPath(text, cx - w / 2, cy + height / 2, height), pen), Solid(color));
}

// A pill or rounded face with the state colours shared by the plates and tabs.
struct FaceColors {
    Rgb top, bottom, border, sign;
};

FaceColors Colors(State s)
{
    switch (s) {
    case State::Over:
        return {Hex(0x434343), Hex(0x1f1f1f), Hex(pal::kTrimLight), Hex(0xffffff)};
    case State::Down:
        return {Hex(0x5e4712), Hex(0x2a1f08), Hex(pal::kGold), Hex(0xfff0c0)};
    case State::Disabled:
        return {Hex(0x1e1e1e), Hex(0x171717), Hex(0x363636), Hex(0x505050)};
    default:
        return {Hex(0x2e2e2e), Hex(0x151515), Hex(0x6a5425), Hex(pal::kTrimLight)};
    }
}

Field Face(Canvas& c, RectF face, float radius, State s, const Box& box)
{
    Field f = RoundRectField(box, face, radius);
    FaceColors col = Colors(s);
    Glow(c, f, 2.5f, Hex(0x000000), 0.7f);
    if (s == State::Over) Glow(c, f, 2.5f, Hex(pal::kGold), 0.5f);
    if (s == State::Down) Glow(c, f, 2.5f, Hex(pal::kGold), 0.35f);
    Fill(c, f, VGrad(face.t, col.top, face.b, col.bottom));
    if (s == State::Down) {
        InnerShade(c, f, 4, Hex(0x000000), 0.45f);
    } else if (s != State::Disabled) {
        Bevel(c, Offset(f, -1.0f), 2, 0.2f);
    }
    Outline(c, Offset(f, -0.6f), 1.2f, Solid(col.border));
    return f;
}

void MousePlate(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 4);
    RectF face = r.Inset(2);
    Face(c, face, face.H() / 2, s, box);
    // The badge with the button's number sits in the 26 pixels the caption leaves free.
    float cx = r.l + 14, cy = (r.t + r.b) / 2, rad = face.H() / 2 - 2.5f;
    Field badge = EllipseField(box, cx, cy, rad, rad);
    FaceColors col = Colors(s);
    bool lit = s == State::Down;
    Fill(c, badge, lit ? VGrad(cy - rad, Hex(0xffe08a), cy + rad, Hex(0xb07a10)) : VGrad(cy - rad, Hex(0x0c0c0c), cy + rad, Hex(0x222222)));
    Outline(c, Offset(badge, -0.5f), 1.0f, Solid(s == State::Disabled ? col.border : Hex(pal::kTrim)));
    std::wstring n = TrailingNumber(e.name);
    float h = n.size() > 1 ? 8.0f : 9.0f;
    DrawNumber(c, n, cx, cy, h, 1.5f, lit ? Hex(0x241800) : col.sign);
}

void ProfileKey(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 4);
    // The program paints the profile's light colour over the bottom three rows.
    RectF face{r.l + 2, r.t + 2, r.r - 2, r.b - 4};
    Face(c, face, 5, s, box);
    FaceColors col = Colors(s);
    DrawNumber(c, TrailingNumber(e.name), (face.l + face.r) / 2, (face.t + face.b) / 2, 12, 1.9f, col.sign);
}

void Tab(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 4);
    RectF face = r.Inset(2);
    bool vertical = r.H() > r.W();
    Face(c, face, std::min(face.W(), face.H()) / 2, s, box);
    // Grip marks near both ends of a side tab.
    FaceColors col = Colors(s);
    for (int end = 0; end < (vertical ? 2 : 0); ++end)
        for (int k = 0; k < 3; ++k) {
            float along = 12 + k * 5.0f;
            float cx = vertical ? (face.l + face.r) / 2 : (end ? face.r - along : face.l + along);
            float cy = vertical ? (end ? face.b - along : face.t + along) : (face.t + face.b) / 2;
            Fill(c, EllipseField(box, cx, cy, 1.3f, 1.3f), Solid(col.border));
        }
}

void FlatBar(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect().Inset(1.5f);
    Box box = Box::Around(r, 4);
    Field f = RoundRectField(box, r, 5);
    if (s == State::Normal || s == State::Disabled) {
        Outline(c, Offset(f, -0.5f), 1.0f, Solid(Hex(0x4a3c1c)), 0.7f);
        return;
    }
    Fill(c, f, VGrad(r.t, Hex(s == State::Down ? 0x111111 : 0x303030), r.b, Hex(s == State::Down ? 0x222222 : 0x1c1c1c)));
    Outline(c, Offset(f, -0.6f), 1.2f, Solid(s == State::Down ? Hex(pal::kGold) : Hex(pal::kTrimLight)));
}

void Silhouette(Canvas& c, const Box& box, float cx, float top, float size, Rgb color)
{
    Field head = EllipseField(box, cx, top + size * 0.3f, size * 0.19f, size * 0.22f);
    Path shoulders;
    shoulders.MoveTo(cx - size * 0.42f, top + size)
        .CubicTo(cx - size * 0.42f, top + size * 0.66f, cx - size * 0.2f, top + size * 0.55f, cx, top + size * 0.55f)
        .CubicTo(cx + size * 0.2f, top + size * 0.55f, cx + size * 0.42f, top + size * 0.66f, cx + size * 0.42f, top + size)
        .Close();
    Field f = Union(head, PathField(box, shoulders));
    Fill(c, f, VGrad(top, Mix(color, Hex(0xffffff), 0.12f), top + size, color));
}

void CharacterCard(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 4);
    Field outer = RoundRectField(box, r.Inset(1), 7);
    FaceColors col = Colors(s);
    if (s == State::Over) Glow(c, outer, 2, Hex(pal::kGold), 0.5f);
    Fill(c, outer, VGrad(r.t, Hex(0x262626), r.b, Hex(0x121212)));
    Outline(c, Offset(outer, -0.6f), 1.2f, Solid(col.border));
    // The portrait goes to (5, 4) at 70 x 70; the texts below it, centred on x 50.
    RectF well{r.l + 5, r.t + 4, r.l + 75, r.t + 74};
    Field frame = RoundRectField(box, well.Inset(-2), 3);
    Fill(c, frame, Solid(Hex(0x070707)));
    Outline(c, frame, 1.0f, Solid(col.border), 0.9f);
    Field inside = RoundRectField(box, well, 1);
    Fill(c, inside, Radial({(well.l + well.r) / 2, well.t + 24}, 50, Hex(0x2b2b2b), Hex(0x0e0e0e)));
    Silhouette(c, box, (well.l + well.r) / 2, well.t + 10, 60, s == State::Disabled ? Hex(0x202020) : Hex(0x3a3328));
    // Three gems beside the portrait: level, class and realm lines below are the card's.
    for (int k = 0; k < 3; ++k) DrawGem(c, r.l + 88, r.t + 18 + k * 20.0f, s == State::Down ? 4.0f : 3.2f);
    RectF panel{r.l + 4, r.t + 84, r.r - 4, r.b - 4};
    Field p = RoundRectField(box, panel, 4);
    Fill(c, p, Solid(Hex(0x0f0f0f)));
    Outline(c, p, 1.0f, Solid(Hex(0x2c2c2c)));
    if (s == State::Down) InnerShade(c, outer, 5, Hex(0x000000), 0.5f);
}

void Switch(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect().Inset(2);
    Box box = Box::Around(r, 4);
    Field track = RoundRectField(box, r, r.H() / 2);
    bool on = s == State::Down;
    Glow(c, track, 2, Hex(0x000000), 0.7f);
    Fill(c, track, on ? VGrad(r.t, Hex(0x7a5a12), r.b, Hex(0xd9a32a)) : VGrad(r.t, Hex(0x060606), r.b, Hex(0x1e1e1e)));
    InnerShade(c, track, 3, Hex(0x000000), 0.5f);
    Outline(c, Offset(track, -0.6f), 1.2f, Solid(s == State::Over ? Hex(pal::kTrimLight) : Hex(pal::kTrim)));
    float kr = r.H() / 2 - 2.5f;
    float kx = on ? r.r - 2.5f - kr : r.l + 2.5f + kr, ky = (r.t + r.b) / 2;
    Field knob = EllipseField(box, kx, ky, kr, kr);
    Glow(c, knob, 2, Hex(0x000000), 0.5f);
    Fill(c, knob, VGrad(ky - kr, Hex(on ? 0xfff4cc : 0x6a6a6a), ky + kr, Hex(on ? 0xc89530 : 0x2a2a2a)));
    Outline(c, Offset(knob, -0.5f), 1.0f, Solid(Hex(0x000000)), 0.6f);
}

void DownTriangle(Canvas& c, const Box& box, float cx, float cy, float k, Rgb color)
{
    Path p;
    p.MoveTo(cx - k, cy - k * 0.55f).LineTo(cx + k, cy - k * 0.55f).LineTo(cx, cy + k * 0.6f).Close();
    Fill(c, PathField(box, p), Solid(color));
}

void DropButton(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 4);
    Face(c, r.Inset(2), 5, s, box);
    FaceColors col = Colors(s);
    float x = r.r - 26;
    Fill(c, RoundRectField(box, {x, r.t + 6, x + 1, r.b - 6}, 0), Solid(Hex(0x000000)), 0.7f);
    Fill(c, RoundRectField(box, {x + 1, r.t + 6, x + 2, r.b - 6}, 0), Solid(col.border), 0.5f);
    DownTriangle(c, box, r.r - 13, (r.t + r.b) / 2, 4.5f, col.sign);
}

void ColorWell(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 4);
    FaceColors col = Colors(s);
    Field f = RoundRectField(box, r, 2);
    Fill(c, f, VGrad(r.t, col.top, r.b, col.bottom));
    // The program paints the colour over (1, 1) to (w - 21, h - 1).
    Fill(c, RoundRectField(box, {r.l + 1, r.t + 1, r.r - 21, r.b - 1}, 0), Solid(Hex(0x0a0a0a)));
    Outline(c, Offset(f, -0.5f), 1.0f, Solid(col.border));
    Fill(c, RoundRectField(box, {r.r - 21, r.t + 1, r.r - 20, r.b - 1}, 0), Solid(col.border), 0.6f);
    DownTriangle(c, box, r.r - 10.5f, (r.t + r.b) / 2, 4.5f, col.sign);
}

void Track(Canvas& c, const Entry& e, State s, bool vertical)
{
    RectF r = e.Rect();
    Box box = Box::Around(r, 2);
    Field groove = RoundRectField(box, r.Inset(0.5f), std::min(r.W(), r.H()) / 2 - 0.5f);
    Fill(c, groove, vertical ? Linear({r.l, 0}, Hex(0x050505), {r.r, 0}, Hex(0x191919)) : VGrad(r.t, Hex(0x050505), r.b, Hex(0x191919)));
    InnerShade(c, groove, 3, Hex(0x000000), 0.6f);
    bool full = s == State::Down;
    if (full) {
        Field bar = Offset(groove, -2.0f);
        Paint gold = vertical ? Linear({r.l, 0}, Hex(0xb07c14), {(r.l + r.r) / 2, 0}, Hex(0xffe08a))
                              : VGrad(r.t, Hex(0xffe59a), r.b, Hex(0x9c6c10));
        Fill(c, bar, gold);
        Fill(c, Offset(groove, -3.5f), vertical ? VGrad(r.t, Hex(0xffd45a), r.b, Hex(0xa87818)) : Linear({r.l, 0}, Hex(0xa87818), {r.r, 0}, Hex(0xffd45a)), 0.35f);
    }
    // Ten steps marked along the track.
    for (int k = 1; k < 10; ++k) {
        float t = k / 10.0f;
        RectF tick = vertical ? RectF{r.l + 3, r.b - t * r.H() - 0.5f, r.r - 3, r.b - t * r.H() + 0.5f}
                              : RectF{r.l + t * r.W() - 0.5f, r.t + 3, r.l + t * r.W() + 0.5f, r.b - 3};
        Fill(c, RoundRectField(box, tick, 0), Solid(full ? Hex(0x5a3c00) : Hex(0x3a3a3a)), 0.8f);
    }
    Outline(c, groove, 1.0f, Solid(Hex(0x3c3423)), 0.8f);
}

}  // namespace

void DrawControlLook(Canvas& c, const Entry& e, State s)
{
    RectF r = e.Rect();
    switch (e.look) {
    case Look::None:
        return;
    case Look::Push:
        ButtonFace(c, r, 5, s, false);
        return;
    case Look::Command:
        ButtonFace(c, r, r.H() / 2 - 3, s, true);
        return;
    case Look::Close:
    case Look::Minimize:
    case Look::Help:
        RoundButton(c, e, s);
        return;
    case Look::Check:
        CheckBox(c, e, s);
        return;
    case Look::Radio:
        RadioLight(c, e, s);
        return;
    case Look::Text:
        // The window draws its text from the rectangle's corner: the field leaves a margin.
        DrawField(c, r.Inset(-6), Hex(pal::kField), 3);
        return;
    case Look::Edit:
        DrawField(c, r, Hex(0xffffff), 2);
        return;
    case Look::Dark:
        DrawField(c, r.Inset(-6), Hex(pal::kEdit), 3);
        return;
    case Look::List:
        DrawField(c, r, Hex(pal::kList), 2);
        return;
    case Look::Tab:
        Tab(c, e, s);
        return;
    case Look::Bar:
        FlatBar(c, e, s);
        return;
    case Look::MouseButton:
        MousePlate(c, e, s);
        return;
    case Look::Profile:
        ProfileKey(c, e, s);
        return;
    case Look::Card:
        CharacterCard(c, e, s);
        return;
    case Look::Toggle:
        Switch(c, e, s);
        return;
    case Look::Arrow:
        DropButton(c, e, s);
        return;
    case Look::Swatch:
        ColorWell(c, e, s);
        return;
    case Look::Slider:
        Track(c, e, s, false);
        return;
    case Look::SliderV:
        Track(c, e, s, true);
        return;
    }
}
