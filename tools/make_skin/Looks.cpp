#include "Looks.h"
#include <algorithm>

Field RoundedShape(const WindowSpec& w, float radius)
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
        DrawField(c, r, Hex(pal::kField), 3);
        return;
    case Look::Edit:
        DrawField(c, r, Hex(pal::kEdit), 2);
        return;
    case Look::List:
        DrawField(c, r, Hex(pal::kList), 2);
        return;
    default:
        ButtonFace(c, r, 4, s, false);
        return;
    }
}
